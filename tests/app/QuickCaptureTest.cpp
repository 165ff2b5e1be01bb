// The quick capture with a fake desktop, and how copied text becomes a title and notes.
#include <QLineEdit>
#include <QMessageBox>

#include "AppTestSupport.h"
#include "app/CapturedText.h"
#include "dialogs/EditEvent.h"
#include "platform/gui/ActiveWindow.h"
#include "platform/gui/ClipboardWatcher.h"
#include "platform/gui/KeySynthesizer.h"

namespace {

class FakeActiveWindow : public ActiveWindowQuery {
public:
    WId activeWindow() override { return Active; }
    WId Active = 0;
};

// What the capture did to the desktop, in order.
using DesktopLog = QStringList;

class RecordingKeys : public KeySynthesizer {
public:
    explicit RecordingKeys(DesktopLog& Log) : FLog(Log) {}
    bool sendKeys(const std::vector<SyntheticKey>& Keys) override
    {
        for (const SyntheticKey& key : Keys)
            FLog << QString("%1%2").arg(QKeySequence(key.Key).toString(), key.Pressed ? "+" : "-");
        return Accepted;
    }
    bool Accepted = true;

private:
    DesktopLog& FLog;
};

class FakeClipboard : public ClipboardWatcher {
public:
    explicit FakeClipboard(DesktopLog& Log) : FLog(Log) {}
    QString text() const override { return Text; }
    void takeOver() override { FLog << "clipboard taken"; }
    // Another program copies Copied.
    void copy(const QString& Copied)
    {
        Text = Copied;
        systemChanged();
    }
    QString Text;

private:
    DesktopLog& FLog;
};

class QuickCapture : public app_testing::MainWindowTest {
protected:
    void SetUp() override
    {
        start();
        window->FActiveWindow.reset(active = new FakeActiveWindow);
        window->FKeySynthesizer.reset(keys = new RecordingKeys(desktop));
        auto fake = std::make_unique<FakeClipboard>(desktop);
        clipboard = fake.get();
        window->useClipboardWatcher(std::move(fake));
    }
    // Confirms each edit dialog that opens from now on, noting in opened its
    // title and notes as it opened.
    void confirmEditDialogs()
    {
        auto* watch = new QTimer(window.get());
        QObject::connect(watch, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<TfrmEditEvent*>(QApplication::activeModalWidget())) {
                opened << dialog->edtEvent->text() + " | " + dialog->FEvent->Notes;
                dialog->btnDone->click();
            }
        });
        watch->start(10);
    }
    void waitForResetTick()
    {
        QSignalSpy tick(window->tmrResetClipboardViewer, &QTimer::timeout);
        ASSERT_TRUE(tick.wait(10000));
    }

    DesktopLog desktop;
    QStringList opened;
    FakeActiveWindow* active = nullptr;
    RecordingKeys* keys = nullptr;
    FakeClipboard* clipboard = nullptr;
};

const QStringList CopyKeys{"Control-", "Shift-", "E-", "Control+", "C+", "C-", "Control-"};

TEST_F(QuickCapture, TheHotKeyCopiesFromAnotherProgramsWindowOnly)
{
    active->Active = 0x2a00007; // another program's
    window->tmrResetClipboardViewer->stop();
    window->WMHotKey();
    EXPECT_EQ(desktop, QStringList{"clipboard taken"} + CopyKeys)
        << "the clipboard is ours before the copy; the held keys go up, then Ctrl+C";
    EXPECT_TRUE(window->FExpectClipboard);
    EXPECT_TRUE(window->tmrResetClipboardViewer->isActive()) << "the copy has a whole tick of its own";
    waitForResetTick();
    EXPECT_FALSE(window->FExpectClipboard) << "the reset timer's tick ends the wait";

    desktop.clear();
    for (WId none : {WId(0), window->winId()}) {
        active->Active = none;
        window->WMHotKey();
        EXPECT_EQ(desktop, QStringList()) << "no window, or our own";
        EXPECT_FALSE(window->FExpectClipboard);
    }

    active->Active = 0x2a00007;
    keys->Accepted = false;
    window->WMHotKey();
    EXPECT_FALSE(window->FExpectClipboard) << "keys the desktop refused copy nothing";
}

TEST_F(QuickCapture, EachCopyTheHotKeyAskedForOpensOneDialog)
{
    active->Active = 0x2a00007;
    const int eventsBefore = window->FEventList->Count();
    confirmEditDialogs();
    struct Step {
        bool hotKey;
        QString copied;
        bool tickBetween = false; // the reset timer ticks between the hotkey and the copy
    };
    for (const Step& step : std::vector<Step>{{true, "Buy stamps"},
                                              {true, "Water the plants\nthe ones upstairs"},
                                              {true, "Water the plants\nthe ones upstairs"}, // the same again
                                              {false, "copied without the hotkey"},
                                              {true, "copied after the tick", true},
                                              {true, ""}}) {
        if (step.hotKey)
            window->WMHotKey();
        if (step.tickBetween)
            waitForResetTick();
        clipboard->copy(step.copied);
    }
    clipboard->copy("a second copy of the same press"); // the capture took the first
    EXPECT_EQ(opened, QStringList({"Buy stamps | Buy stamps\r\n",
                                   "Water the plants | Water the plants\r\nthe ones upstairs\r\n",
                                   "Water the plants | Water the plants\r\nthe ones upstairs\r\n"}));
    EXPECT_EQ(window->FEventList->Count(), eventsBefore + 3);
}

TEST_F(QuickCapture, TheHotKeyDoesNothingWhileADialogOfOursIsOpen)
{
    active->Active = 0x2a00007; // the user went to another program meanwhile
    QMessageBox question(QMessageBox::Question, "Quillet", "Delete?", QMessageBox::Yes | QMessageBox::No, window.get());
    QTimer::singleShot(0, [&] {
        window->WMHotKey();
        question.reject();
    });
    question.exec();
    EXPECT_EQ(desktop, QStringList());
    EXPECT_FALSE(window->FExpectClipboard);
}

TEST_F(QuickCapture, ACopyWhileADialogOfOursIsOpenOpensNoSecondDialog)
{
    const int eventsBefore = window->FEventList->Count();
    QMessageBox question(QMessageBox::Question, "Quillet", "Delete?", QMessageBox::Yes | QMessageBox::No, window.get());
    bool editDialogOpened = false;
    QTimer::singleShot(0, [&] {
        window->FExpectClipboard = true;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog != &question) {
                editDialogOpened = true;
                dialog->close();
            }
        });
        clipboard->copy("copied meanwhile");
        question.reject();
    });
    question.exec();
    EXPECT_FALSE(editDialogOpened);
    EXPECT_FALSE(window->FExpectClipboard) << "the copy was the capture's";
    EXPECT_EQ(window->FEventList->Count(), eventsBefore);
}

TEST(CapturedText, TheFirstLineIsCutToFiftyCharactersAndEveryLineEndsWithCrLf)
{
    const QString fifty(50, 'x');
    EXPECT_EQ(capturedTitle({fifty}), fifty);
    EXPECT_EQ(capturedTitle({fifty + "y"}), fifty + "...");
    EXPECT_EQ(capturedTitle({}), "");

    // Characters, not bytes nor UTF-16 units: nothing is split.
    const QString accented = QString(49, 'a') + QString::fromUtf8("e\u0301") + "z"; // é as e + combining accent
    EXPECT_EQ(capturedTitle({accented}), QString(49, 'a') + QString::fromUtf8("e\u0301") + "...");
    const QString umlauts = QString(50, QChar(0xFC));
    EXPECT_EQ(capturedTitle({umlauts}), umlauts);
    const QString clefs = QString::fromUtf8("\U0001D11E").repeated(51);
    EXPECT_EQ(capturedTitle({clefs}), QString::fromUtf8("\U0001D11E").repeated(50) + "...");

    struct Case {
        QString copied;
        QStringList lines;
    };
    for (const Case& c : std::vector<Case>{{"one\r\ntwo", {"one", "two"}},
                                           {"one\rtwo\n", {"one", "two"}},
                                           {"\nafter a break", {"", "after a break"}},
                                           {"one\n\n", {"one", ""}},
                                           {QString("cut") + QChar(0) + "hidden", {"cut"}},
                                           {"", {}}})
        EXPECT_EQ(capturedLines(c.copied), c.lines) << c.copied;
    EXPECT_EQ(capturedNotes({"one", "two"}), "one\r\ntwo\r\n");
    EXPECT_EQ(capturedNotes({"", "after a break"}), "\r\nafter a break\r\n");
}

} // namespace
