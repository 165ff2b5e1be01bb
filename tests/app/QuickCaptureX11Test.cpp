// The quick capture for real: openbox manages the display as on a desktop, a second
// program holds selected text, and Ctrl+Shift+E is pressed through XTest.
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>

#include <optional>

#include "ManagedMainWindowTest.h"
#include "SelectedTextProgram.h"
#include "XClip.h"
#include "dialogs/EditEvent.h"
#include "platform/gui/ClipboardWatcher.h"
#include "platform/gui/HotKey.h"

using testing_support::copyWithXclip;
using testing_support::pasteWithXclip;
using testing_support::readFile;
using testing_support::SelectedTextProgram;
using Copies = SelectedTextProgram::Copies;

namespace {

// What the edit dialog showed when it opened.
struct Opened {
    QString Title;
    QString Notes;
    QString Category;
    bool Active = false;
};

class QuickCaptureX11 : public app_testing::ManagedMainWindowTest {
protected:
    void SetUp() override
    {
        ManagedMainWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(messages, QStringList()) << "the hotkey is ours";
        window->ShowMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Presses Ctrl+Shift+E as the user does.
    void pressHotKey()
    {
        QSignalSpy pressed(window->FHotKey.get(), &HotKey::pressed);
        ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+shift+e"}), 0);
        ASSERT_TRUE(pressed.wait(5000));
    }
    // Watches for the edit dialog; notes what it shows and closes it with Done.
    void confirmEditDialog()
    {
        auto* watch = new QTimer(window.get());
        QObject::connect(watch, &QTimer::timeout, [this, watch] {
            auto* dialog = qobject_cast<TfrmEditEvent*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            watch->stop();
            const bool active = QTest::qWaitFor([dialog] { return dialog->isActiveWindow(); }, 5000);
            opened =
                Opened{dialog->edtEvent->text(), dialog->FEvent->Notes, dialog->cboCategory->currentText(), active};
            QProcess::execute("import", {"-window", "root", QDir::temp().filePath("quillet-quick-capture.png")});
            dialog->btnDone->click();
        });
        watch->start(20);
    }
    // Once the reset timer has ticked, no copy is the capture's any more.
    void waitForResetTick()
    {
        QSignalSpy tick(window->tmrResetClipboardViewer, &QTimer::timeout);
        ASSERT_TRUE(tick.wait(10000));
    }
    // Copies Text with xclip and waits until the window has heard of it.
    void copyElsewhere(const QByteArray& Text)
    {
        QSignalSpy changed(window->FClipboardWatcher.get(), &ClipboardWatcher::changed);
        ASSERT_TRUE(copyWithXclip(Text));
        ASSERT_TRUE(changed.wait(5000));
    }

    std::optional<Opened> opened;
};

TEST_F(QuickCaptureX11, SelectedTextInAnotherProgramBecomesANewEvent)
{
    window->clstCategories->findItems("Business", Qt::MatchExactly).first()->setCheckState(Qt::Checked);
    const int eventsBefore = window->FEventList->Count();
    const QString firstLine = "Call the plumber about the leaking kitchen tap before Friday";
    SelectedTextProgram other(firstLine + "\nnumber in the phone book\n");
    ASSERT_NE(other.window(), 0u);
    ASSERT_TRUE(other.activate());

    confirmEditDialog();
    pressHotKey();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.has_value(); }, 10000)) << "no edit dialog";
    EXPECT_EQ(opened->Title, firstLine.left(50) + "...");
    EXPECT_EQ(opened->Notes, firstLine + "\r\nnumber in the phone book\r\n");
    EXPECT_EQ(opened->Category, "Business");
    EXPECT_TRUE(opened->Active) << "the dialog comes to the front over the other program";

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->FEventList->Count() == eventsBefore + 1; }));
    EXPECT_EQ(window->FEventList->GetEvent(eventsBefore)->Description, firstLine.left(50) + "...");
    EXPECT_TRUE(readFile(window->FFileName).contains("Call the plumber")) << "added and saved";
}

// Tk keeps the clipboard across copies and announces no new owner; Qt and GTK
// programs take it afresh each time. Either way each press is a capture, also
// of the same line selected again.
TEST_F(QuickCaptureX11, EachPressCapturesWhatIsSelectedWhateverHoldsTheClipboard)
{
    const int eventsBefore = window->FEventList->Count();
    int captured = 0;
    for (const auto how : {Copies::KeepTheClipboard, Copies::TakeTheClipboard}) {
        SCOPED_TRACE(how == Copies::KeepTheClipboard ? "keeps the clipboard" : "takes it each copy");
        SelectedTextProgram other("", true, how);
        ASSERT_NE(other.window(), 0u);
        for (const QString text : {"Buy stamps", "Water the plants", "Water the plants"}) {
            ASSERT_TRUE(other.select(text + "\n"));
            ASSERT_TRUE(other.activate());
            opened.reset();
            confirmEditDialog();
            pressHotKey();
            ASSERT_TRUE(QTest::qWaitFor([&] { return opened.has_value(); }, 10000))
                << "no dialog for " << text.toStdString();
            EXPECT_EQ(opened->Title, text);
            EXPECT_EQ(opened->Notes, text + "\r\n");
            ASSERT_TRUE(QTest::qWaitFor([&] { return window->FEventList->Count() == eventsBefore + captured + 1; }));
            ++captured;
        }
    }
}

TEST_F(QuickCaptureX11, OnlyACopyThatTheHotKeyAskedForBeforeTheTickIsCaptured)
{
    confirmEditDialog();
    copyElsewhere("copied without the hotkey");
    EXPECT_FALSE(opened.has_value()) << "no edit dialog";

    // The other program has nothing selected: Ctrl+C copies nothing, what the
    // user had copied stays, and a copy made after the tick is not the capture's.
    SelectedTextProgram other("nothing selected", false);
    ASSERT_TRUE(other.activate());
    pressHotKey();
    EXPECT_TRUE(window->FExpectClipboard);
    waitForResetTick();
    EXPECT_FALSE(window->FExpectClipboard);
    EXPECT_EQ(pasteWithXclip(), "copied without the hotkey");
    copyElsewhere("copied later");
    EXPECT_FALSE(opened.has_value()) << "no edit dialog";
}

TEST_F(QuickCaptureX11, TheHotKeyDoesNothingWhileQuilletsOwnWindowIsActive)
{
    confirmEditDialog();
    SelectedTextProgram other("selected elsewhere");
    ASSERT_TRUE(QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(window->winId())}) == 0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    pressHotKey();
    EXPECT_FALSE(window->FExpectClipboard);
    waitForResetTick();
    EXPECT_FALSE(opened.has_value()) << "no edit dialog";
}

} // namespace
