// Keys held down through XTest under openbox, past the X server's repeat delay, on
// every kind of window: each acts once, in the window where it went down; the window
// below or the one that opens never takes the key's repeats or its release.
#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>

#include <xcb/xcb.h>

#include <memory>
#include <set>

#include "ManagedMainWindowTest.h"
#include "app/About.h"
#include "app/InfoDialog.h"
#include "dialogs/EditEvent.h"
#include "dialogs/RepeatedEventEditor.h"
#include "platform/gui/X11Keyboard.h"

using testing_support::at;

namespace {

// Counts the keys the X server sends, before Qt hands them to a window or drops them.
class ServerKeys : public QAbstractNativeEventFilter {
public:
    explicit ServerKeys(std::function<void()> released) : FReleased(std::move(released))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~ServerKeys() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const int type = static_cast<xcb_generic_event_t*>(message)->response_type & ~0x80;
        presses += type == XCB_KEY_PRESS;
        if (type == XCB_KEY_RELEASE) {
            ++releases;
            FReleased();
        }
        return false;
    }
    int presses = 0, releases = 0;

private:
    std::function<void()> FReleased;
};

QString windowName(QWidget* window)
{
    if (qobject_cast<TfrmEditEvent*>(window))
        return "Details";
    if (qobject_cast<TfrmRepeatedEventEditor*>(window))
        return "Repeats";
    if (qobject_cast<TfrmAbout*>(window))
        return "About";
    if (qobject_cast<TfrmInfoDialog*>(window))
        return "Results";
    if (qobject_cast<QFileDialog*>(window))
        return "Open";
    if (qobject_cast<QMessageBox*>(window))
        return "Question";
    return window->metaObject()->className();
}

// Where a key is held: Open starts from the main window (and may wait in a dialog's
// loop); Ready is asked at each look with the window on top and readies it, and names
// the widget to hold the key on once it is there.
struct Place {
    std::function<void()> open;
    std::function<QWidget*(QWidget* top)> ready;
};

class HeldKeys : public app_testing::ManagedMainWindowTest {
protected:
    void SetUp() override
    {
        ManagedMainWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        window->tmrSave->stop();
        useEvents({{.when = at(2024, 6, 20, 9), .description = "Yoga"}});
        TEventList withCommand; // its import ends with a question
        TestEvent{.when = at(2024, 6, 21, 8), .description = "Backup", .commands = "true"}.addTo(withCommand);
        withCommand.SaveToFile(folder + "other.events");
        window->ShowMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QObject::connect(&look, &QTimer::timeout, [this] { lookAgain(); });
    }
    void TearDown() override
    {
        look.stop();
        if (keys.state() != QProcess::NotRunning) {
            keys.kill();
            keys.waitForFinished();
            QProcess::execute("xdotool", {"keyup", heldKeys}); // for the tests after this one
        }
        ManagedMainWindowTest::TearDown();
    }

    // Holds Keys (xdotool's names) on the place's widget for 1.2 s; returns what
    // happened meanwhile: the windows that opened ("+Details") and closed ("Details
    // done", "Question No"), the server's first release of a key ("let go"), Check's
    // word on the windows at the end, and what stays open.
    QString hold(const Place& place, const QString& keyNames, const std::function<QString()>& check = {})
    {
        heldKeys = keyNames;
        current = &place;
        checked = check;
        happened.clear();
        seen.clear();
        closing.clear();
        phase = Phase::Readying;
        sinceStart.start();
        // Below every window, the list is ready to edit on a release of Enter.
        window->vstEvents->setCurrentIndex(model->index(0, EventViewModel::ColWhen));
        window->vstEvents->setFocus();
        look.start(10);
        QTimer::singleShot(0, window.get(), [&place] { place.open(); });
        EXPECT_TRUE(QTest::qWaitFor([this] { return phase == Phase::Done; }, 20000)) << keyNames;
        look.stop();
        return happened.join(", ");
    }

    Place list()
    {
        return {[] {}, [this](QWidget* top) -> QWidget* { return top ? nullptr : window->vstEvents; }};
    }
    // A new event with its title typed, on the widget Pick chooses.
    Place details(std::function<QWidget*(TfrmEditEvent*)> pick)
    {
        return {[this] { window->actNewEvent->trigger(); },
                [pick](QWidget* top) -> QWidget* {
                    auto* details = qobject_cast<TfrmEditEvent*>(top);
                    if (!details)
                        return nullptr;
                    details->edtEvent->setText("Tea");
                    return pick(details);
                }};
    }
    // The repeated-dates editor over a new event's details.
    Place repeats(std::function<QWidget*(TfrmRepeatedEventEditor*)> pick)
    {
        auto clicked = std::make_shared<QPointer<QWidget>>();
        return {[this] { window->actNewEvent->trigger(); },
                [pick, clicked](QWidget* top) -> QWidget* {
                    if (auto* details = qobject_cast<TfrmEditEvent*>(top); details && *clicked != details) {
                        *clicked = details;
                        details->edtEvent->setText("Tea");
                        QTimer::singleShot(0, details->btnRepeated, &QPushButton::click);
                    }
                    auto* editor = qobject_cast<TfrmRepeatedEventEditor*>(top);
                    return editor ? pick(editor) : nullptr;
                }};
    }
    // The file dialog of an import, the file named, or the import's results.
    Place import(bool results)
    {
        auto accepted = std::make_shared<QPointer<QWidget>>();
        return {[this] { window->mnuitmImport->trigger(); },
                [this, results, accepted](QWidget* top) -> QWidget* {
                    if (auto* open = qobject_cast<QFileDialog*>(top); open && *accepted != open) {
                        auto* name = open->findChild<QLineEdit*>("fileNameEdit");
                        if (name->text() != "other.events") {
                            open->setDirectory(folder);
                            name->setText("other.events");
                        }
                        if (!results)
                            return name;
                        *accepted = open;
                        QTimer::singleShot(0, open, &QDialog::accept);
                    }
                    auto* info = qobject_cast<TfrmInfoDialog*>(top);
                    return results && info ? info->btnOk : nullptr;
                }};
    }
    Place about()
    {
        return {[this] { window->About1Click(); },
                [](QWidget* top) -> QWidget* {
                    auto* box = qobject_cast<TfrmAbout*>(top);
                    return box ? box->btnOK : nullptr;
                }};
    }
    Place question()
    {
        return {[this] { window->actDeleteSelectedEvent->trigger(); },
                [](QWidget* top) -> QWidget* {
                    auto* box = qobject_cast<QMessageBox*>(top);
                    return box ? box->defaultButton() : nullptr;
                }};
    }

    QStringList titles() const
    {
        QStringList shown;
        for (int i = 0; i < window->FEventList->Count(); ++i)
            shown << window->FEventList->GetEvent(i)->Description;
        return shown;
    }

private:
    enum class Phase { Readying, Holding, Closing, Done };

    void lookAgain()
    {
        QWidget* top = QApplication::activeModalWidget();
        if (top && seen.insert(top).second) {
            if (phase == Phase::Holding)
                happened << "+" + windowName(top);
            auto* dialog = qobject_cast<QDialog*>(top);
            QObject::connect(dialog, &QDialog::finished, [this, dialog = QPointer<QDialog>(dialog)](int result) {
                if (phase != Phase::Holding || !dialog)
                    return;
                auto* box = qobject_cast<QMessageBox*>(dialog);
                const QString answer = box ? (box->clickedButton() ? box->clickedButton()->text() : "closed")
                                           : (result == QDialog::Accepted ? "done" : "cancelled");
                happened << windowName(dialog) + " " + answer;
            });
        }
        // A row that never ends would keep its dialogs' loops, and the test, running.
        if (phase != Phase::Closing && phase != Phase::Done && sinceStart.elapsed() > 15000) {
            ADD_FAILURE() << heldKeys.toStdString() << " did not end: " << happened.join(", ").toStdString();
            phase = Phase::Closing;
        }
        switch (phase) {
        case Phase::Readying:
            if (QWidget* target = current->ready(top)) {
                target->activateWindow();
                target->setFocus();
                if (target->hasFocus() && QApplication::activeWindow() == target->window()) {
                    pressesBefore = server.presses;
                    releasesBefore = server.releases;
                    phase = Phase::Holding;
                    keys.start("xdotool", {"keydown", heldKeys, "sleep", "1.2", "keyup", heldKeys});
                }
            }
            break;
        case Phase::Holding:
            // One more look once the last release came: Qt has handed it out since.
            if (keys.state() == QProcess::NotRunning && server.releases > releasesBefore) {
                if (releasedSeen) {
                    EXPECT_GT(server.presses - pressesBefore, 5) << "the server repeats " << heldKeys;
                    if (checked)
                        happened << checked();
                    if (top)
                        happened << "open " + windowName(top);
                    phase = Phase::Closing;
                    releasedSeen = false;
                }
                releasedSeen = true;
            }
            break;
        case Phase::Closing:
            if (!top) {
                phase = Phase::Done;
            } else if (closing.insert(top).second) {
                QTimer::singleShot(0, top, [top] { static_cast<QDialog*>(top)->done(QDialog::Rejected); });
            }
            break;
        case Phase::Done:
            break;
        }
    }

    QTimer look;
    QElapsedTimer sinceStart;
    QProcess keys;
    ServerKeys server{[this] {
        if (phase == Phase::Holding && server.releases == releasesBefore + 1)
            happened << "let go";
    }};
    QString heldKeys;
    const Place* current = nullptr;
    std::function<QString()> checked;
    Phase phase = Phase::Done;
    QStringList happened;
    std::set<QWidget*> seen, closing;
    int pressesBefore = 0, releasesBefore = 0;
    bool releasedSeen = false;
};

TEST_F(HeldKeys, ActOnceInTheWindowWhereTheyWentDown)
{
    struct Row {
        const char* key;
        const char* where;
        Place place;
        const char* happens;
        int events; // in the list afterwards
    };
    const auto button = [](QPushButton* TfrmEditEvent::*member) {
        return [member](TfrmEditEvent* details) -> QWidget* { return details->*member; };
    };
    const auto editorButton = [](QPushButton* TfrmRepeatedEventEditor::*member) {
        return [member](TfrmRepeatedEventEditor* editor) -> QWidget* { return editor->*member; };
    };
    const Row rows[] = {
        {"Return", "the list", list(), "let go, +Details, open Details", 1},
        {"Escape", "the list", list(), "let go", 1},
        {"space", "the list", list(), "let go", 1},
        {"Return", "Details' Done", details(button(&TfrmEditEvent::btnDone)), "Details done, let go", 2},
        {"Escape", "Details' Done", details(button(&TfrmEditEvent::btnDone)), "Details cancelled, let go", 1},
        {"space", "Details' Done", details(button(&TfrmEditEvent::btnDone)), "let go, Details done", 2},
        {"Return", "Details' Cancel", details(button(&TfrmEditEvent::btnCancel)), "Details cancelled, let go", 1},
        {"Escape", "Details' Cancel", details(button(&TfrmEditEvent::btnCancel)), "Details cancelled, let go", 1},
        {"space", "Details' Cancel", details(button(&TfrmEditEvent::btnCancel)), "let go, Details cancelled", 1},
        {"Return", "Details' Repeated...", details(button(&TfrmEditEvent::btnRepeated)),
         "+Repeats, let go, open Repeats", 1},
        {"Escape", "Details' Repeated...", details(button(&TfrmEditEvent::btnRepeated)), "Details cancelled, let go",
         1},
        {"space", "Details' Repeated...", details(button(&TfrmEditEvent::btnRepeated)),
         "let go, +Repeats, open Repeats", 1},
        {"Return", "the editor's Done", repeats(editorButton(&TfrmRepeatedEventEditor::btnDone)),
         "let go, open Repeats", 1},
        {"Escape", "the editor's Done", repeats(editorButton(&TfrmRepeatedEventEditor::btnDone)),
         "Repeats cancelled, let go, open Details", 1},
        {"space", "the editor's Done", repeats(editorButton(&TfrmRepeatedEventEditor::btnDone)),
         "let go, Repeats done, open Details", 1},
        {"Return", "the editor's Cancel", repeats(editorButton(&TfrmRepeatedEventEditor::btnCancel)),
         "let go, open Repeats", 1},
        {"Escape", "the editor's Cancel", repeats(editorButton(&TfrmRepeatedEventEditor::btnCancel)),
         "Repeats cancelled, let go, open Details", 1},
        {"space", "the editor's Cancel", repeats(editorButton(&TfrmRepeatedEventEditor::btnCancel)),
         "let go, Repeats cancelled, open Details", 1},
        {"Return", "the delete question", question(), "Question No, let go", 1},
        {"Escape", "the delete question", question(), "Question No, let go", 1},
        {"space", "the delete question", question(), "let go, Question No", 1},
        {"Return", "About", about(), "About done, let go", 1},
        {"Escape", "About", about(), "About cancelled, let go", 1},
        {"space", "About", about(), "let go, About done", 1},
        // The results open from Enter on the file dialog, the question from the results.
        {"Return", "the import's file dialog", import(false), "Open done, +Results, let go, open Results", 2},
        {"Return", "the import's results", import(true), "Results done, +Question, let go, open Question", 2},
        {"Escape", "the import's results", import(true), "Results cancelled, +Question, let go, open Question", 2},
        {"space", "the import's results", import(true), "let go, Results done, +Question, open Question", 2},
    };
    for (const Row& row : rows) {
        useEvents({{.when = at(2024, 6, 20, 9), .description = "Yoga"}});
        EXPECT_EQ(hold(row.place, row.key).toStdString(), row.happens) << row.key << " on " << row.where;
        EXPECT_EQ(window->FEventList->Count(), row.events) << row.key << " on " << row.where;
    }
}

TEST_F(HeldKeys, ActAsOftenAsTheyRepeatInTheirOwnWindow)
{
    const auto lines = [this] {
        auto* details = qobject_cast<TfrmEditEvent*>(QApplication::activeModalWidget());
        if (details)
            screenshot(*details, "held-enter-in-notes");
        const int count = details ? details->memEventNote->blockCount() : 0;
        return count > 10 ? QString("many lines") : QString("%1 lines").arg(count);
    };
    const Place notes = details([](TfrmEditEvent* details) -> QWidget* { return details->memEventNote; });
    EXPECT_EQ(hold(notes, "Return", lines).toStdString(), "let go, many lines, open Details") << "Enter in Notes";
    EXPECT_EQ(hold(list(), "shift+Return").toStdString(), "let go, +Details, open Details")
        << "Shift+Enter on the list edits";

    // A server that repeats as pairs of release and press (Qt marks a pair as a repeat
    // only when its press is in by then): the list edits once, and no pair's press
    // reaches the dialog's Done. The hand-made rows without a display make the press late.
    ASSERT_TRUE(setDetectableAutoRepeat(false));
    const auto detectable = qScopeGuard([] { setDetectableAutoRepeat(true); });
    EXPECT_EQ(hold(list(), "Return").toStdString(), "let go, +Details, open Details") << "Enter as pairs";
    EXPECT_EQ(titles(), QStringList({"Yoga"}));
}

// The faults users met, under fluxbox as well.
class HeldKeysUnderFluxbox : public HeldKeys {
protected:
    HeldKeysUnderFluxbox()
    {
        managerProgram = "fluxbox";
        managerArguments.clear();
    }
};

TEST_F(HeldKeysUnderFluxbox, ActOnceInTheWindowWhereTheyWentDown)
{
    const auto editorButton = [](QPushButton* TfrmRepeatedEventEditor::*member) {
        return [member](TfrmRepeatedEventEditor* editor) -> QWidget* { return editor->*member; };
    };
    EXPECT_EQ(hold(repeats(editorButton(&TfrmRepeatedEventEditor::btnCancel)), "Escape").toStdString(),
              "Repeats cancelled, let go, open Details");
    EXPECT_EQ(hold(repeats(editorButton(&TfrmRepeatedEventEditor::btnDone)), "space").toStdString(),
              "let go, Repeats done, open Details");
    EXPECT_EQ(hold(about(), "Return").toStdString(), "About done, let go");
    EXPECT_EQ(hold(list(), "Return").toStdString(), "let go, +Details, open Details");
    EXPECT_EQ(titles(), QStringList({"Yoga"}));
}

// Ctrl+N opens the dialog at the press of N, and the window under the dialog gets no
// keys, so the release of N goes nowhere: N typed next is a new press all the same.
TEST_F(HeldKeys, ANewPressActsAsUsual)
{
    QProcess shortcut, typing;
    QString typed;
    bool closed = false;
    QElapsedTimer sinceTyped;
    QTimer look; // runs in the dialog's loop too
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* details = qobject_cast<TfrmEditEvent*>(QApplication::activeModalWidget());
        if (!details || !details->isActiveWindow() || !details->edtEvent->hasFocus())
            return;
        if (typing.arguments().isEmpty()) {
            typing.start("xdotool", {"type", "--delay", "50", "nun"});
        } else if (typing.state() == QProcess::NotRunning) {
            if (!sinceTyped.isValid())
                sinceTyped.start();
            if (details->edtEvent->text() == "nun" || sinceTyped.elapsed() > 5000) {
                typed = details->edtEvent->text();
                closed = true;
                details->reject();
            }
        }
    });
    look.start(10);
    shortcut.start("xdotool", {"key", "ctrl+n"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, 20000));
    EXPECT_EQ(typed.toStdString(), "nun");
}

} // namespace
