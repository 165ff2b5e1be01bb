// The event list's keys pressed through XTest under openbox: Enter held down on another
// window closes it on the press, and its repeats and release then reach the list.
#include <QMessageBox>
#include <QPointer>
#include <QProcess>

#include "ManagedMainWindowTest.h"
#include "app/About.h"
#include "dialogs/EditEvent.h"

using testing_support::at;

namespace {

class EventListX11 : public app_testing::ManagedMainWindowTest {
protected:
    void SetUp() override
    {
        ManagedMainWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        window->tmrSave->stop();
        useEvents({{.when = at(2024, 6, 20, 9), .description = "Yoga"}});
        window->ShowMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // Each window that opens gets Enter held down past the key's repeat delay; edit
        // dialogs are counted, and cancelled once the key is up.
        QObject::connect(&watch, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<TfrmEditEvent*>(modal)) {
                if (dialog != lastEdit) {
                    lastEdit = dialog;
                    ++edits;
                    QObject::connect(dialog, &QDialog::accepted, [this] { ++confirmed; });
                }
                if (keys.state() == QProcess::NotRunning)
                    dialog->btnCancel->click();
            } else if (modal && modal != answered && modal->isActiveWindow()) {
                answered = modal;
                holdEnter();
            }
        });
        watch.start(20);
    }
    void TearDown() override
    {
        watch.stop();
        ManagedMainWindowTest::TearDown();
    }

    void holdEnter() { keys.start("xdotool", {"keydown", "Return", "sleep", "1", "keyup", "Return"}); }
    // The keys have gone up and Qt has handed their events out.
    void waitForKeys()
    {
        ASSERT_TRUE(keys.state() == QProcess::NotRunning || keys.waitForFinished(5000));
        QTest::qWait(300);
    }
    void focusRow()
    {
        window->vstEvents->setCurrentIndex(model->index(0, EventViewModel::ColWhen));
        window->vstEvents->setFocus();
    }

    QTimer watch;
    QProcess keys;
    QWidget* answered = nullptr;
    QPointer<QWidget> lastEdit;
    int edits = 0, confirmed = 0;
};

TEST_F(EventListX11, EnterOnAnotherWindowDoesNotEditTheSelectedRow)
{
    focusRow();
    window->About1Click();
    waitForKeys();
    EXPECT_EQ(edits, 0) << "Enter on the About box's OK";

    focusRow();
    window->actDeleteSelectedEvent->trigger();
    waitForKeys();
    EXPECT_EQ(window->FEventList->Count(), 1) << "Enter chose No";
    EXPECT_EQ(edits, 0) << "Enter on the delete question";

    focusRow();
    holdEnter();
    waitForKeys();
    EXPECT_EQ(edits, 1) << "Enter held in the list edits once";
    EXPECT_EQ(confirmed, 0) << "when let go: no repeat reaches the dialog's Done";
}

} // namespace
