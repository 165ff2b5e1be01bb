// The quick capture for real: openbox manages the display as on a desktop, a second
// program holds selected text, and Ctrl+Shift+E is pressed through XTest.
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>

#include <optional>

#include "ManagedMainWindowTest.h"
#include "SelectedTextProgram.h"
#include "dialogs/EditEvent.h"
#include "platform/gui/HotKey.h"

using testing_support::readFile;
using testing_support::SelectedTextProgram;

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
            QTest::qWait(200); // the window manager's turn to activate it
            opened = Opened{dialog->edtEvent->text(), dialog->FEvent->Notes, dialog->cboCategory->currentText(),
                            dialog->isActiveWindow()};
            QProcess::execute("import", {"-window", "root", QDir::temp().filePath("quillet-quick-capture.png")});
            dialog->btnDone->click();
        });
        watch->start(20);
    }
    static void copyWithXclip(const QByteArray& text)
    {
        QProcess xclip;
        xclip.start("xclip", {"-selection", "clipboard"});
        xclip.write(text);
        xclip.closeWriteChannel();
        ASSERT_TRUE(xclip.waitForFinished(5000));
    }
    // Lets more than a tick of the reset timer pass (a coarse timer may be 5% late):
    // whatever the capture would do has had its time.
    void settle() { QTest::qWait(1500); }

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

TEST_F(QuickCaptureX11, OnlyACopyThatTheHotKeyAskedForWithinASecondIsCaptured)
{
    confirmEditDialog();
    copyWithXclip("copied without the hotkey");
    settle();

    // The other program has nothing selected: Ctrl+C copies nothing, and a copy
    // made more than a second later is not the capture's.
    SelectedTextProgram other("nothing selected", false);
    ASSERT_TRUE(other.activate());
    pressHotKey();
    EXPECT_TRUE(window->FExpectClipboard);
    settle();
    EXPECT_FALSE(window->FExpectClipboard);
    copyWithXclip("copied later");
    settle();
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
    settle();
    EXPECT_FALSE(opened.has_value()) << "no edit dialog";
}

} // namespace
