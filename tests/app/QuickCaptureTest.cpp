// The quick capture with a fake desktop, and how copied text becomes a title and notes.
#include <QClipboard>
#include <QMessageBox>

#include "AppTestSupport.h"
#include "app/CapturedText.h"
#include "platform/gui/ActiveWindow.h"
#include "platform/gui/KeySynthesizer.h"

namespace {

class FakeActiveWindow : public ActiveWindowQuery {
public:
    WId activeWindow() override { return Active; }
    WId Active = 0;
};

class RecordingKeys : public KeySynthesizer {
public:
    bool sendKeys(const std::vector<SyntheticKey>& Keys) override
    {
        for (const SyntheticKey& key : Keys)
            Typed << QString("%1%2").arg(QKeySequence(key.Key).toString(), key.Pressed ? "+" : "-");
        return Accepted;
    }
    QStringList Typed;
    bool Accepted = true;
};

class QuickCapture : public app_testing::MainWindowTest {
protected:
    void SetUp() override
    {
        start();
        window->FActiveWindow.reset(active = new FakeActiveWindow);
        window->FKeySynthesizer.reset(typed = new RecordingKeys);
    }

    FakeActiveWindow* active = nullptr;
    RecordingKeys* typed = nullptr;
};

const QStringList CopyKeys{"Control-", "Shift-", "E-", "Control+", "C+", "C-", "Control-"};

TEST_F(QuickCapture, TheHotKeyCopiesFromAnotherProgramsWindowOnly)
{
    active->Active = 0x2a00007; // another program's
    window->tmrResetClipboardViewer->start();
    QTest::qWait(300); // the hotkey comes part-way through the timer's second
    window->WMHotKey();
    EXPECT_EQ(typed->Typed, CopyKeys) << "the held keys go up, then Ctrl+C";
    EXPECT_TRUE(window->FExpectClipboard);
    EXPECT_GT(window->tmrResetClipboardViewer->remainingTime(), 900) << "the copy has a whole second";
    QTest::qWait(1100);
    EXPECT_FALSE(window->FExpectClipboard) << "the reset timer's tick ends the wait";

    typed->Typed.clear();
    for (WId none : {WId(0), window->winId()}) {
        active->Active = none;
        window->WMHotKey();
        EXPECT_EQ(typed->Typed, QStringList()) << "no window, or our own";
        EXPECT_FALSE(window->FExpectClipboard);
    }

    active->Active = 0x2a00007;
    typed->Accepted = false;
    window->WMHotKey();
    EXPECT_FALSE(window->FExpectClipboard) << "keys the desktop refused copy nothing";
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
    EXPECT_EQ(typed->Typed, QStringList());
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
        QGuiApplication::clipboard()->setText("copied meanwhile");
        QTest::qWait(50);
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
