// The event commands through the real window: new, edit, delete, menu, enable, move.
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>

#include <functional>
#include <optional>

#include "AppTestSupport.h"
#include "PlatformFakes.h"
#include "app/About.h"
#include "app/GetTextDialog.h"
#include "app/InfoDialog.h"
#include "controls/CalendarX.h"
#include "dialogs/DatePicker.h"
#include "dialogs/EditEvent.h"
#include "dialogs/EventNotify.h"
#include "dialogs/RepeatedEventEditor.h"

using testing_support::at;
using testing_support::readFile;
using testing_support::Rows;
using testing_support::rowsOf;

namespace {

// What a modal window that opened during a command saw and did.
struct ModalVisit {
    bool opened = false;
    QString text, buttons; // a message box's text and buttons, left to right
    bool checkRunning = false;
};

class EventCommands : public app_testing::MainWindowTest {
protected:
    EventCommands()
    {
        testing_support::writeFile(folder + "default.wav", "RIFF");
        TfrmEventNotify::setSlideStepDelay(0);
        start();
        window->tmrSave->stop();
        useEvents({});
        list = window->FEventList.get();
        window->SaveEvents();
        QDir(folder + "Backup").removeRecursively();
        messages.clear();
    }
    ~EventCommands() override
    {
        QFile::remove(folder + "default.wav");
        TfrmEventNotify::setSlideStepDelay(3);
    }

    // The next modal window of type T gets Act, which must close it.
    template <class T> std::shared_ptr<ModalVisit> onModal(std::function<void(T&)> Act)
    {
        auto visit = std::make_shared<ModalVisit>();
        QTimer::singleShot(0, window.get(), [this, visit, Act] {
            auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!modal)
                return;
            visit->opened = true;
            visit->checkRunning = window->tmrCheckEvents->isActive();
            if constexpr (std::is_same_v<T, QMessageBox>) {
                visit->text = modal->text();
                QList<QAbstractButton*> buttons = modal->buttons();
                std::sort(buttons.begin(), buttons.end(),
                          [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
                QStringList captions;
                for (QAbstractButton* button : buttons)
                    captions << button->text();
                visit->buttons = captions.join(' ') + " (default " + modal->defaultButton()->text() + ")";
            }
            Act(*modal);
        });
        return visit;
    }
    // The edit dialog that opens next gets Act, then Done (or Cancel).
    std::shared_ptr<ModalVisit> onEditDialog(std::function<void(TfrmEditEvent&)> Act, bool done = true)
    {
        return onModal<TfrmEditEvent>([Act, done](TfrmEditEvent& dialog) {
            if (Act)
                Act(dialog);
            QTest::mouseClick(done ? dialog.btnDone : dialog.btnCancel, Qt::LeftButton);
        });
    }
    std::shared_ptr<ModalVisit> answer(QMessageBox::StandardButton Answer, std::function<void()> Meanwhile = {})
    {
        return onModal<QMessageBox>([Answer, Meanwhile](QMessageBox& box) {
            if (Meanwhile)
                Meanwhile();
            QTest::mouseClick(box.button(Answer), Qt::LeftButton);
        });
    }

    void selectRow(int row) { window->vstEvents->setCurrentIndex(model->index(row, EventViewModel::ColWhen)); }
    // Backups are named after the clock.
    void aSecondLater() { clock.set(Now() + 1.0 / 86400); }
    int backups() const { return QDir(folder + "Backup").entryList(QDir::Files).size(); }
    QByteArray savedFile() const { return readFile(folder + "Events.events"); }
    void restart()
    {
        start();
        list = window->FEventList.get();
    }
    static QStringList minutesOf(const TEvent& event)
    {
        QStringList texts;
        for (TDateTime date : datesOf(event))
            texts << formatDateTime("yyyy-mm-dd hh:nn", date + OneMillisecond);
        return texts;
    }
    static std::vector<TDateTime> datesOf(const TEvent& event)
    {
        std::vector<TDateTime> dates{event.GetStartDate()};
        for (int i = 0; i < event.RepeatedDates->GetCount(); ++i)
            dates.push_back(event.RepeatedDates->GetItem(i)->DateTime);
        return dates;
    }

    // The part of each calendar in sight is what it paints afresh: no stale marks.
    void expectCalendarsAsPainted(const char* after)
    {
        QApplication::processEvents();
        const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
        const QRect strip(window->ScrollBox1->viewport()->mapTo(window.get(), QPoint()),
                          window->ScrollBox1->viewport()->size());
        for (TCalendarX* calendar :
             {window->CalendarX1, window->CalendarX2, window->CalendarX3, window->CalendarX4, window->CalendarX5}) {
            const QRect place(calendar->mapTo(window.get(), QPoint()), calendar->size());
            const QRect shown = place.intersected(strip);
            if (shown.isEmpty())
                continue;
            const QImage fresh = calendar->grab().toImage().convertToFormat(screen.format());
            EXPECT_TRUE(screen.copy(shown) == fresh.copy(shown.translated(-place.topLeft())))
                << after << ": " << calendar->objectName().toStdString();
        }
    }

    // Imports FileName from the test's folder through the real menu item, answering its
    // file dialog and the results as the user's clicks would.
    void importAnsweringDialogs(const QString& FileName)
    {
        QTimer answerDialogs;
        QObject::connect(&answerDialogs, &QTimer::timeout, [this, FileName] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == window->OpenDialog1) {
                window->OpenDialog1->setDirectory(folder);
                window->OpenDialog1->findChild<QLineEdit*>("fileNameEdit")->setText(FileName);
                static_cast<QDialog*>(window->OpenDialog1)->accept(); // as its own button does
            } else if (auto* info = qobject_cast<TfrmInfoDialog*>(modal)) {
                info->accept();
            }
        });
        answerDialogs.start(10);
        window->mnuitmImport->trigger();
    }

    TEventList* list = nullptr;
    RecordingSoundPlayer sounds;
};

TEST_F(EventCommands, NewOpensTheDialogOnTheSelectedDayFromEveryPlace)
{
    clock.set(at(2024, 6, 12, 8, 41, 33));
    window->CalendarX1->SetSelectedDate(at(2024, 6, 14));
    window->CalendarXDateChanged(window->CalendarX1);

    const std::vector<std::pair<const char*, std::function<void()>>> places = {
        {"tool bar", [this] { QTest::mouseClick(window->tbtnNewEvent, Qt::LeftButton); }},
        {"main menu", [this] { window->mnuitmNewEvent->trigger(); }},
        {"tray menu", [this] { window->pmnuitmAddNewEvent->trigger(); }},
        {"Ctrl+N", [this] {
             QApplication::setActiveWindow(window.get()); // short-cuts work only while it is active
             QTest::keyClick(window->vstEvents, Qt::Key_N, Qt::ControlModifier);
         }},
        {"calendar", [this] { window->CalendarX2->OnDblClickDate(window->CalendarX2); }},
    };
    ASSERT_TRUE(window->tbtnNewEvent->isVisible());
    for (const auto& [place, trigger] : places) {
        const QByteArray before = savedFile();
        const auto visit = onEditDialog([](TfrmEditEvent& dialog) {
            EXPECT_EQ(dialog.edtEvent->text(), "New Event");
            EXPECT_EQ(dialog.dtpStartDate->DateTime(), at(2024, 6, 14, 8, 41));
            EXPECT_EQ(dialog.sedtAlarmMinB4->value(), -5);
        }, false);
        trigger();
        EXPECT_TRUE(visit->opened) << place;
        EXPECT_FALSE(visit->checkRunning) << place;
        EXPECT_TRUE(window->tmrCheckEvents->isActive()) << place;
        EXPECT_EQ(list->Count(), 0) << place << ": Cancel adds nothing";
        EXPECT_EQ(savedFile(), before) << place << ": and saves nothing";
    }

    onEditDialog([](TfrmEditEvent& dialog) {
        dialog.edtEvent->setText("Pick up the parcel");
        dialog.cboCategory->setEditText("Errands");
    });
    window->actNewEvent->trigger();
    ASSERT_EQ(list->Count(), 1);
    const TEvent& added = *list->GetEvent(0);
    EXPECT_EQ(added.Description, "Pick up the parcel");
    EXPECT_EQ(added.GetStartDate(), at(2024, 6, 14, 8, 41));
    EXPECT_EQ(added.AlarmType, 1);
    EXPECT_EQ(added.AlarmParam, -5);
    EXPECT_TRUE(list->Categories.contains("Errands"));
    EXPECT_FALSE(list->Modified) << "saved at once";
    EXPECT_EQ(shownDescriptions(), QStringList{"Pick up the parcel"});
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

TEST_F(EventCommands, ANewEventTakesTheFirstTickedCategoryElseTheSelectedOneAfterTheFirst)
{
    QListWidget* categories = window->clstCategories;
    ASSERT_GE(categories->count(), 3);
    const auto categoryOfNew = [this] {
        QString category;
        onEditDialog([&category](TfrmEditEvent& dialog) { category = dialog.cboCategory->currentText(); }, false);
        window->actNewEvent->trigger();
        return category;
    };
    EXPECT_EQ(categoryOfNew(), "General") << "nothing ticked or selected";
    categories->setCurrentRow(0);
    EXPECT_EQ(categoryOfNew(), "General") << "the first item counts as no choice";
    categories->setCurrentRow(2);
    EXPECT_EQ(categoryOfNew(), categories->item(2)->text());
    categories->item(1)->setCheckState(Qt::Checked);
    categories->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(categoryOfNew(), categories->item(0)->text()) << "the first ticked in list order";
}

TEST_F(EventCommands, EditChangesTheEventAndSavesAlsoAfterCancel)
{
    useEvents({{.when = at(2024, 6, 12, 9), .description = "Standup"},
               {.when = at(2024, 6, 13, 9), .description = "Review"}});
    window->SaveEvents();
    QDir(folder + "Backup").removeRecursively();

    auto visit = onEditDialog({});
    window->actEditEvent->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(visit->opened);
    EXPECT_EQ(backups(), 0);

    selectRow(1); // Enter edits
    visit = onEditDialog([](TfrmEditEvent& dialog) {
        EXPECT_EQ(dialog.edtEvent->text(), "Review");
        dialog.edtEvent->setText("Code review");
    });
    QTest::keyClick(window->vstEvents, Qt::Key_Return);
    ASSERT_TRUE(visit->opened);
    EXPECT_FALSE(visit->checkRunning) << "no reminder check while the dialog holds the event";
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
    EXPECT_EQ(list->GetEvent(1)->Description, "Code review");
    EXPECT_TRUE(savedFile().contains("Code review"));
    EXPECT_EQ(backups(), 1);
    EXPECT_EQ(shownDescriptions(), QStringList({"Standup", "Code review"}));
    EXPECT_EQ(selectedRow(), -1) << "the refresh leaves no row selected";

    aSecondLater(); // a double click edits too; Cancel still writes the file
    selectRow(0);
    visit = onEditDialog([](TfrmEditEvent& dialog) { dialog.edtEvent->setText("discarded"); }, false);
    const QRect cell = window->vstEvents->visualRect(model->index(0, EventViewModel::ColEvent));
    QTest::mouseDClick(window->vstEvents->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(visit->opened);
    EXPECT_EQ(list->GetEvent(0)->Description, "Standup");
    EXPECT_EQ(backups(), 2);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

TEST_F(EventCommands, EnterAndDeleteActOnlyOnTheReleaseOfAPressTheListReceived)
{
    useEvents({{.when = at(2024, 6, 20, 9), .description = "Yoga"}});
    // Enter closes the About box and the delete question ("No") on its press.
    int edits = 0, questions = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<TfrmEditEvent*>(modal)) {
            ++edits;
            dialog->btnCancel->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++questions;
            QTest::keyPress(box, Qt::Key_Return);
        } else if (auto* about = qobject_cast<TfrmAbout*>(modal)) {
            QTest::keyPress(about, Qt::Key_Return);
        }
    });
    closer.start(10);
    const auto releaseInList = [this](Qt::Key key) {
        QTest::keyRelease(window->vstEvents, key);
        QApplication::processEvents();
    };

    selectRow(0);
    window->About1Click();
    releaseInList(Qt::Key_Return);
    EXPECT_EQ(edits, 0) << "the release of the About box's Enter";
    window->actDeleteSelectedEvent->trigger();
    ASSERT_EQ(questions, 1);
    selectRow(0);
    releaseInList(Qt::Key_Return);
    EXPECT_EQ(edits, 0) << "the release of the question's Enter";
    releaseInList(Qt::Key_Delete);
    EXPECT_EQ(questions, 1) << "a lone release";

    QTest::keyClick(window->vstEvents, Qt::Key_Return);
    EXPECT_EQ(edits, 1);
    selectRow(0);
    QTest::keyClick(window->vstEvents, Qt::Key_Delete);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(list->Count(), 1) << "both questions answered No";
}

// Enter held down as an X server without detectable auto-repeat sends it: its press,
// then, after the repeat delay, pairs of release and press at one time each, marked as
// auto-repeats (Qt leaves a pair unmarked when its press comes in late), then its
// release. Each event goes to the window that has the keyboard then: an open dialog,
// else the list. An unmarked pair's release looks let go and edits; its late press
// and all that follow must not reach the dialog that opened.
TEST_F(EventCommands, AHeldEnterEditsOnceAndOnlyWhenHeldOnTheList)
{
    useEvents({{.when = at(2024, 6, 20, 9), .description = "Yoga"}});
    struct Case {
        const char* name;
        std::function<void()> open; // the window the press closes, none for the list
        int unmarkedPairs; // the first ones
        int edits;
    };
    const std::function<void()> about = [this] { window->About1Click(); };
    const std::function<void()> question = [this] { window->actDeleteSelectedEvent->trigger(); };
    for (const Case& held : std::initializer_list<Case>{{"on the list", {}, 0, 1},
                                                        {"on the list, a late press", {}, 1, 1},
                                                        {"on the list, every press late", {}, 4, 1},
                                                        {"on the About box's OK", about, 0, 0},
                                                        {"on the About box's OK, a late press", about, 1, 0},
                                                        {"on the About box's OK, every press late", about, 4, 0},
                                                        {"on the question's No", question, 0, 0},
                                                        {"on the question's No, a late press", question, 1, 0},
                                                        {"on the question's No, every press late", question, 4, 0}}) {
        std::vector<std::pair<QEvent::Type, quint64>> keys{{QEvent::KeyPress, 1000}};
        for (quint64 time = 1660; time <= 1780; time += 40)
            keys.insert(keys.end(), {{QEvent::KeyRelease, time}, {QEvent::KeyPress, time}});
        keys.push_back({QEvent::KeyRelease, 2000});
        std::size_t sent = 0, sentWhenEditOpened = 0;
        bool sending = false;
        int edits = 0, confirmed = 0;
        QPointer<QWidget> lastEdit;
        QTimer keyboard; // sends each key from the event loop that runs then, a dialog's too
        QObject::connect(&keyboard, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* edit = qobject_cast<TfrmEditEvent*>(modal); edit && edit != lastEdit) {
                lastEdit = edit;
                ++edits;
                sentWhenEditOpened = sent;
                QObject::connect(edit, &QDialog::accepted, [&confirmed] { ++confirmed; });
            }
            if (sending)
                return;
            if (sent == keys.size()) {
                if (modal)
                    qobject_cast<QDialog*>(modal)->reject();
                return;
            }
            const auto [type, time] = keys[sent];
            const bool repeat = time > 1000 && time < 2000 && time >= 1660 + 40 * quint64(held.unmarkedPairs);
            QWidget* target = modal ? (modal->focusWidget() ? modal->focusWidget() : modal) : window->vstEvents;
            sending = true;
            QTimer::singleShot(0, target, [&, target, type, time, repeat] {
                QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, "\r", repeat);
                key.setTimestamp(time);
                ++sent;
                sending = false;
                QApplication::sendEvent(target, &key);
            });
        });
        selectRow(0);
        window->vstEvents->setFocus();
        keyboard.start(2);
        if (held.open)
            held.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return sent == keys.size() && !QApplication::activeModalWidget(); }));
        // The list acts on the release that it takes for the key let go.
        EXPECT_TRUE(QTest::qWaitFor([&] { return edits == held.edits && !QApplication::activeModalWidget(); }));
        keyboard.stop();
        QApplication::processEvents();

        EXPECT_EQ(edits, held.edits) << held.name;
        EXPECT_EQ(confirmed, 0) << held.name << ": no repeat reaches the edit dialog's Done";
        if (held.edits && held.unmarkedPairs == 0) {
            EXPECT_EQ(sentWhenEditOpened, keys.size()) << held.name << ": edits when let go";
        }
        EXPECT_EQ(list->Count(), 1) << held.name;
    }
}

TEST_F(EventCommands, DeleteAsksAndActsOnTheAnswer)
{
    const TDateTime start = at(2024, 6, 12, 9), second = at(2024, 6, 19, 9), third = at(2024, 6, 26, 9);
    useEvents({{.when = start, .description = "Repeated", .repeats = {second, third}},
               {.when = at(2024, 6, 13, 10), .description = "Single"}});
    window->SaveEvents();
    QDir(folder + "Backup").removeRecursively();
    const QByteArray saved = savedFile();
    ASSERT_EQ(shownDescriptions(), QStringList({"Repeated", "Single", "Repeated", "Repeated"}));

    selectRow(3);
    auto visit = answer(QMessageBox::Cancel);
    window->actDeleteSelectedEvent->trigger();
    EXPECT_EQ(visit->text, "This event is repeated, would you lke to delete all repeated events too?");
    EXPECT_EQ(visit->buttons, "Yes No Cancel (default No)");
    EXPECT_FALSE(visit->checkRunning) << "no reminder check under the question";
    selectRow(1);
    visit = answer(QMessageBox::No);
    QTest::keyClick(window->vstEvents, Qt::Key_Delete);
    EXPECT_EQ(visit->text, "Are you sure?");
    EXPECT_EQ(visit->buttons, "Yes No (default No)");
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(savedFile(), saved);
    EXPECT_EQ(backups(), 0);
    EXPECT_TRUE(window->tmrCheckEvents->isActive());

    selectRow(3); // No removes that occurrence alone
    answer(QMessageBox::No);
    window->actDeleteSelectedEvent->trigger();
    EXPECT_EQ(datesOf(*list->GetEvent(0)), (std::vector<TDateTime>{start, second}));
    EXPECT_EQ(backups(), 1);
    EXPECT_EQ(shownDescriptions(), QStringList({"Repeated", "Single", "Repeated"}));

    aSecondLater();
    selectRow(2);
    answer(QMessageBox::Yes);
    window->actDeleteSelectedEvent->trigger();
    EXPECT_EQ(shownDescriptions(), QStringList{"Single"});
    aSecondLater();
    selectRow(0);
    answer(QMessageBox::Yes);
    window->mnuitmDeleteEvent->trigger();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(backups(), 3);
    EXPECT_FALSE(savedFile().contains("Single"));

    visit = answer(QMessageBox::Yes);
    window->actDeleteSelectedEvent->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(visit->opened);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

TEST_F(EventCommands, ADeleteQuestionActsOnTheOccurrenceItAskedAboutAfterACheckRebuiltTheRows)
{
    // A check under the question dismisses the due start and rebuilds the rows.
    const TDateTime due = at(2024, 6, 12, 8, 0), noon = at(2024, 6, 12, 12, 0), evening = at(2024, 6, 12, 18, 0);
    const auto reset = [&] {
        useEvents({{.when = due, .description = "Pills", .reminder = true, .repeats = {noon, evening}}});
        list->GetEvent(0)->StartDateItem->NotificationTime = due;
        ASSERT_EQ(shownDescriptions().size(), 3);
    };
    const auto checkNow = [this] { window->tmrCheckEventsTimer(); };

    reset();
    selectRow(2); // the evening
    answer(QMessageBox::No, checkNow);
    window->actDeleteSelectedEvent->trigger();
    EXPECT_EQ(datesOf(*list->GetEvent(0)), std::vector<TDateTime>{noon}) << "the evening went, not another date";

    reset(); // the occurrence asked about is the one the check dismissed
    selectRow(0);
    answer(QMessageBox::No, checkNow);
    window->actDeleteSelectedEvent->trigger();
    EXPECT_EQ(datesOf(*list->GetEvent(0)), (std::vector<TDateTime>{noon, evening}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

TEST_F(EventCommands, TheRowMenuOffersWhatTheSelectedRowAllows)
{
    useEvents({{.when = at(2024, 6, 12, 9), .description = "On"},
               {.when = at(2024, 6, 13, 9), .description = "Off", .enabled = false}});
    window->mnuitmOnlyEnabledEvents->setChecked(false);
    window->RefreshEventView();
    QMenu* menu = window->pmnuEventFunctions;
    const auto state = [&](bool open) {
        if (open)
            menu->popup(window->vstEvents->mapToGlobal(QPoint(40, 40)));
        QApplication::processEvents();
        QStringList items;
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                items << item->text() + (item->isEnabled() ? "" : " (off)");
        menu->close();
        return items.join(", ");
    };
    EXPECT_EQ(state(true), "Edit (off), Move (off), Enable (off), Delete");
    EXPECT_TRUE(menu->actions().first()->font().bold()) << "Edit is the default item";
    selectRow(0);
    EXPECT_EQ(state(true), "Edit, Move, Disable, Delete");
    selectRow(1);
    EXPECT_EQ(state(true), "Edit, Move, Enable, Delete");

    window->vstEvents->clearSelection(); // a right click selects the row
    const QRect cell = window->vstEvents->visualRect(model->index(0, EventViewModel::ColEvent));
    QTest::mouseClick(window->vstEvents->viewport(), Qt::RightButton, {}, cell.center());
    emit window->vstEvents->customContextMenuRequested(cell.center());
    QApplication::processEvents();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(state(false), "Edit, Move, Disable, Delete");
}

TEST_F(EventCommands, EnableAndDisableReachTheFileThroughTheSaveTimer)
{
    useEvents({{.when = at(2024, 6, 20, 9), .description = "Gym", .reminder = true}});
    window->SaveEvents();
    selectRow(0);
    window->pmnuEventFunctionsPopup();
    ASSERT_EQ(window->mnuitmEnableEvent->text(), "Disable");
    window->mnuitmEnableEvent->trigger();
    EXPECT_FALSE(list->GetEvent(0)->Enabled);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(shownDescriptions(), QStringList()) << "only enabled events are shown";

    window->tmrSaveTimer();
    restart();
    ASSERT_EQ(list->Count(), 1);
    EXPECT_FALSE(list->GetEvent(0)->Enabled);

    window->mnuitmOnlyEnabledEvents->setChecked(false);
    window->RefreshEventView();
    selectRow(0);
    window->mnuitmEnableEvent->trigger();
    EXPECT_TRUE(list->GetEvent(0)->Enabled);
    EXPECT_EQ(list->GetEvent(0)->StartDateItem->NotificationTime, at(2024, 6, 20, 8, 45));
}

TEST_F(EventCommands, MoveShiftsTheOccurrenceItsReminderAndReachesTheFile)
{
    const TDateTime threeDaysAgo = at(2024, 6, 9, 18, 30);
    useEvents({{.when = threeDaysAgo, .description = "Call mum", .reminder = true},
               {.when = at(2024, 2, 28, 7, 0), .description = "Leap", .reminder = true,
                .repeats = {at(2025, 2, 28, 7, 0)}}});
    window->SaveEvents();
    TEvent& call = *list->GetEvent(0);
    call.StartDateItem->NotificationCount = 1; // it had reminded at its old date
    ASSERT_EQ(shownDescriptions(), QStringList({"Leap", "Call mum", "Leap"}));

    selectRow(1);
    window->mnuitmMoveToToday->trigger();
    EXPECT_EQ(call.GetStartDate(), at(2024, 6, 12, 18, 30));
    EXPECT_EQ(call.StartDateItem->NotificationTime, at(2024, 6, 12, 18, 15));
    EXPECT_EQ(call.StartDateItem->NotificationCount, 0);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(selectedRow(), 1);

    window->mnuitmMoveFwd1Day->trigger();
    EXPECT_EQ(call.GetStartDate(), at(2024, 6, 13, 18, 30));

    selectRow(0); // a week after 28 February: 6 March in a leap year, else 7 March
    window->mnuitmMoveFwd1Week->trigger();
    selectRow(2);
    window->mnuitmMoveFwd1Week->trigger();
    const TEvent& leap = *list->GetEvent(1);
    EXPECT_EQ(datesOf(leap), (std::vector<TDateTime>{at(2024, 3, 6, 7, 0), at(2025, 3, 7, 7, 0)}));
    EXPECT_EQ(leap.RepeatedDates->GetItem(0)->NotificationTime, at(2025, 3, 7, 6, 45));
    EXPECT_EQ(shownDescriptions(), QStringList({"Leap", "Call mum", "Leap"})) << "not refreshed yet";

    window->tmrSaveTimer();
    restart();
    EXPECT_EQ(minutesOf(*list->GetEvent(0)), QStringList{"2024-06-13 18:30"});
    EXPECT_EQ(minutesOf(*list->GetEvent(1)), QStringList({"2024-03-06 07:00", "2025-03-07 07:00"}));
}

TEST_F(EventCommands, TheCalendarsShowEveryChangeOfTheEventsAtOnce)
{
    window->ShowMainWindow();
    QApplication::setActiveWindow(window.get()); // for Ctrl+N
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    expectCalendarsAsPainted("start");
    const auto newEvent = [this](const char* place, TDateTime day, const std::function<void()>& trigger) {
        window->CalendarX1->SetSelectedDate(day);
        const auto visit = onEditDialog({});
        trigger();
        ASSERT_TRUE(visit->opened) << place;
        expectCalendarsAsPainted(place);
    };
    newEvent("New by Ctrl+N", at(2024, 6, 3), [this] { QTest::keyClick(window->vstEvents, Qt::Key_N, Qt::ControlModifier); });
    newEvent("New from the tray", at(2024, 6, 4), [this] { window->pmnuitmAddNewEvent->trigger(); });
    TCalendarX* july = window->CalendarX2;
    const auto visit = onEditDialog({});
    QTest::mouseDClick(july, Qt::LeftButton, {}, {3 * july->GetColWidth() + 5, july->GetHeaderHeight() + 5});
    ASSERT_TRUE(visit->opened);
    expectCalendarsAsPainted("New by a double click");
    ASSERT_EQ(list->Count(), 3);

    selectRow(0); // all events: the 3rd, the 4th, in July
    onEditDialog([](TfrmEditEvent& dialog) { dialog.chkShowOnCalendar->setChecked(false); });
    window->actEditEvent->trigger();
    expectCalendarsAsPainted("Edit");

    selectRow(1);
    answer(QMessageBox::Yes);
    window->actDeleteSelectedEvent->trigger();
    expectCalendarsAsPainted("Delete");

    useEvents({{.when = at(2024, 6, 20, 9), .description = "Swim", .onCalendar = true}});
    selectRow(0);
    window->mnuitmEnableEvent->trigger();
    expectCalendarsAsPainted("Disable");
    window->mnuitmOnlyEnabledEvents->trigger(); // disabled events too
    selectRow(0);
    window->mnuitmEnableEvent->trigger();
    expectCalendarsAsPainted("Enable");

    selectRow(0);
    for (QAction* move : {window->mnuitmMoveFwd1Day, window->mnuitmMoveFwd1Week, window->mnuitmMoveToToday}) {
        move->trigger();
        expectCalendarsAsPainted(move->objectName().toUtf8().constData());
    }

    selectRow(0);
    onEditDialog([this](TfrmEditEvent& dialog) {
        onModal<TfrmRepeatedEventEditor>([](TfrmRepeatedEventEditor& form) {
            form.pcBRD->setCurrentWidget(form.tsDaily);
            form.dtpEndDate->SetDateTime(at(2024, 6, 16));
            QTest::mouseClick(form.btnAddDates, Qt::LeftButton);
            QTest::mouseClick(form.btnDone, Qt::LeftButton);
        });
        QTest::mouseClick(dialog.btnRepeated, Qt::LeftButton);
    });
    window->actEditEvent->trigger();
    ASSERT_GT(list->GetEvent(0)->RepeatedDates->GetCount(), 0);
    expectCalendarsAsPainted("Repeated dates");

    TEventList other;
    TestEvent{.when = at(2024, 6, 27, 9), .description = "Imported", .onCalendar = true}.addTo(other);
    other.SaveToFile(folder + "other.events");
    importAnsweringDialogs("other.events");
    ASSERT_EQ(list->Count(), 2);
    expectCalendarsAsPainted("Import");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');

    // A first start: the window shows the days of the events it starts with.
    window.reset();
    QFile::remove(folder + "Events.events");
    restart();
    window->ShowMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    expectCalendarsAsPainted("first start");
}

TEST_F(EventCommands, TheReminderCheckStaysOffUntilTheLastNestedDialogCloses)
{
    useEvents({{.when = at(2024, 6, 20, 9), .description = "Outer"}});
    selectRow(0);
    std::shared_ptr<ModalVisit> inner;
    bool offAfterInner = false;
    const auto outer = onEditDialog([&](TfrmEditEvent&) {
        inner = onEditDialog({}, false);
        window->pmnuitmAddNewEvent->trigger();
        offAfterInner = !window->tmrCheckEvents->isActive();
    });
    window->actEditEvent->trigger();
    ASSERT_TRUE(outer->opened);
    ASSERT_TRUE(inner && inner->opened);
    EXPECT_TRUE(offAfterInner) << "the outer dialog is still open";
    EXPECT_TRUE(window->tmrCheckEvents->isActive());

    window->pauseReminderCheck();
    window->tmrCheckEventsTimer();
    EXPECT_FALSE(window->tmrCheckEvents->isActive());
    window->resumeReminderCheck();
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
}

TEST_F(EventCommands, ThePopUpsEditButtonEditsTheReminderOnShow)
{
    clock.set(at(2024, 6, 12, 9, 0));
    useEvents({{.when = at(2024, 6, 12, 9, 5), .description = "Dentist", .reminder = true, .popUp = true}});
    list->Modified = false;
    window->tmrCheckEventsTimer();
    TfrmEventNotify& popUp = *window->FNotifyForm;
    ASSERT_EQ(popUp.lblEventDesc->text(), "Dentist");
    ASSERT_TRUE(popUp.btnEditEvent->isEnabled());

    const auto visit = onEditDialog([&](TfrmEditEvent& dialog) {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        EXPECT_EQ(dialog.pos(), QPoint(screen.width() - dialog.width() - 50,
                                       screen.height() - popUp.height() - dialog.height() - 50));
        EXPECT_FALSE(popUp.tmrCycleEvents->isActive());
        dialog.edtEvent->setText("Dentist at ten");
    });
    TfrmEventNotify::setClickGuard(0); // the reminder has just come up
    QTest::mouseClick(popUp.btnEditEvent, Qt::LeftButton);
    TfrmEventNotify::setClickGuard(1000);
    ASSERT_TRUE(visit->opened);
    EXPECT_FALSE(visit->checkRunning) << "no reminder check while the pop-up's dialog is open";
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
    EXPECT_EQ(list->GetEvent(0)->Description, "Dentist at ten");
    EXPECT_TRUE(list->Modified) << "the save timer writes it";
    EXPECT_EQ(shownDescriptions(), QStringList{"Dentist at ten"});
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

// Every change of the events made from the main window: what the pop-up shows at
// once, before any check, with four pop-up reminders due and "A" on show.
TEST_F(EventCommands, ThePopUpFollowsEveryChangeOfTheEventsAtOnce)
{
    const auto select = [this](const QString& description) {
        const int row = shownDescriptions().indexOf(description);
        ASSERT_GE(row, 0) << description.toStdString();
        selectRow(row);
    };
    const auto deleteEvent = [this, select](const QString& description) {
        select(description);
        const auto visit = answer(QMessageBox::Yes);
        window->actDeleteSelectedEvent->trigger();
        EXPECT_TRUE(visit->opened) << description.toStdString() << " " << shownDescriptions().join(",").toStdString();
    };
    const auto editEvent = [this, select](const QString& description, std::function<void(TfrmEditEvent&)> act) {
        select(description);
        onEditDialog(act);
        window->actEditEvent->trigger();
    };
    TEventList other;
    TestEvent{.when = at(2024, 6, 12, 7, 30), .description = "I", .reminder = true, .popUp = true}.addTo(other);
    other.SaveToFile(folder + "other.events");

    struct Change {
        const char* name;
        std::function<void()> make;
        QString count, description; // an empty count: the pop-up has slid out
    };
    const std::vector<Change> changes = {
        {"delete the one on show", [&] { deleteEvent("A"); }, "1 / 3", "B"},
        {"delete another", [&] { deleteEvent("C"); }, "1 / 3", "A"},
        {"delete all but one",
         [&] {
             for (const char* name : {"B", "C", "D"})
                 deleteEvent(name);
         },
         "1 / 1", "A"},
        {"delete all",
         [&] {
             for (const char* name : {"A", "B", "C", "D"})
                 deleteEvent(name);
         },
         "", ""},
        {"disable the one on show",
         [&] {
             select("A");
             window->mnuitmEnableEvent->trigger();
         },
         "1 / 3", "B"},
        {"disable another in the dialog",
         [&] { editEvent("D", [](TfrmEditEvent& dialog) { dialog.chkEnabled->setChecked(false); }); }, "1 / 3", "A"},
        {"rename the one on show",
         [&] { editEvent("A", [](TfrmEditEvent& dialog) { dialog.edtEvent->setText("A2"); }); }, "1 / 4", "A2"},
        {"move the one on show",
         [&] {
             select("A");
             window->mnuitmMoveFwd1Week->trigger();
         },
         "1 / 3", "B"},
        {"a new event due at once",
         [&] {
             onEditDialog([](TfrmEditEvent& dialog) { dialog.edtEvent->setText("N"); });
             window->actNewEvent->trigger();
         },
         "1 / 5", "A"},
        {"import one due",
         [&] {
             importAnsweringDialogs("other.events");
         },
         "1 / 5", "A"},
    };
    TfrmEventNotify& popUp = *window->FNotifyForm;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        std::vector<TestEvent> events;
        for (const char* name : {"A", "B", "C", "D"})
            events.push_back({.when = at(2024, 6, 12, 7, 0), .description = name, .reminder = true, .popUp = true});
        useEvents({});
        window->tmrCheckEventsTimer(); // slides out
        useEvents(events);
        window->tmrCheckEventsTimer();
        ASSERT_EQ(popUp.lblEventCount->text(), "1 / 4");
        ASSERT_EQ(popUp.lblEventDesc->text(), "A");

        change.make();
        EXPECT_EQ(popUp.lblEventCount->text(), change.count);
        EXPECT_EQ(popUp.lblEventDesc->text(), change.description);
        EXPECT_EQ(popUp.isVisible(), !change.count.isEmpty());
        screenshot(popUp, QString("popup-follows-%1").arg(&change - changes.data()));
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

// Texts as an import or a paste brings them: past QLineEdit's own 32,767 characters.
TEST_F(EventCommands, EveryStoredTextFieldKeepsEveryCharacterOfAPaste)
{
    const QString pasted = QString("paste ").repeated(7000) + "end";
    QApplication::clipboard()->setText(pasted);
    const auto paste = [](QLineEdit* field) {
        field->selectAll();
        field->paste();
    };
    const auto answerText = [this, paste] {
        onModal<TfrmGetText>([paste](TfrmGetText& dialog) {
            paste(dialog.edtAnswer);
            QTest::mouseClick(dialog.btnDone, Qt::LeftButton);
        });
    };
    struct Field {
        const char* name;
        std::function<QString()> pasteAndStore; // what was stored
    };
    const std::vector<Field> fields = {
        {"the title",
         [&] {
             onEditDialog([&](TfrmEditEvent& dialog) { paste(dialog.edtEvent); });
             window->actNewEvent->trigger();
             return list->GetEvent(list->Count() - 1)->Description;
         }},
        {"the category",
         [&] {
             onEditDialog([&](TfrmEditEvent& dialog) { paste(dialog.cboCategory->lineEdit()); });
             window->actNewEvent->trigger();
             return list->GetEvent(list->Count() - 1)->Category;
         }},
        {"a new category",
         [&] {
             answerText();
             window->sbtnCatAdd->click();
             return list->Categories.value(list->Categories.indexOf(pasted));
         }},
        {"a renamed category",
         [&] {
             window->clstCategories->setCurrentRow(0);
             answerText();
             window->clstCategoriesDblClick();
             return list->Categories.value(list->Categories.indexOf(pasted));
         }},
    };
    for (const Field& field : fields) {
        list->Categories = QStringList{"General"};
        window->fillCategories();
        EXPECT_EQ(field.pasteAndStore().size(), pasted.size()) << field.name;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

TEST_F(EventCommands, RepeatedDatesBuiltInTheEditorRemindAfterARestart)
{
    useEvents({{.when = at(2024, 6, 12, 9), .description = "Stretch", .reminder = true}});
    selectRow(0);
    std::shared_ptr<ModalVisit> editor;
    const auto visit = onEditDialog([&](TfrmEditEvent& dialog) {
        editor = onModal<TfrmRepeatedEventEditor>([](TfrmRepeatedEventEditor& form) {
            form.pcBRD->setCurrentWidget(form.tsDaily);
            form.dtpEndDate->SetDateTime(at(2024, 6, 15));
            QTest::mouseClick(form.btnAddDates, Qt::LeftButton);
            form.lstRepeatedDates->setCurrentIndex(form.lstRepeatedDates->model()->index(2, 0));
            QTest::mouseClick(form.btnDeleteSelectedDates, Qt::LeftButton);
            QTest::mouseClick(form.btnDone, Qt::LeftButton);
        });
        QTest::mouseClick(dialog.btnRepeated, Qt::LeftButton);
    });
    window->actEditEvent->trigger();
    ASSERT_TRUE(visit->opened);
    ASSERT_TRUE(editor && editor->opened);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');

    restart();
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(minutesOf(*list->GetEvent(0)), QStringList({"2024-06-12 09:00", "2024-06-13 09:00", "2024-06-15 09:00"}));
    for (const auto& [day, reminders] : std::vector<std::pair<int, size_t>>{{12, 1}, {13, 2}, {14, 2}, {15, 3}}) {
        clock.set(at(2024, 6, day, 8, 46));
        window->tmrCheckEventsTimer();
        EXPECT_EQ(sounds.Played.size(), reminders) << "on the " << day << "th";
    }
}

} // namespace
