// The main window's reminder check, the pop-up's callbacks into it, and saving with backups.
#include "AppTestSupport.h"
#include "PlatformFakes.h"
#include "dialogs/EventNotify.h"

using testing_support::at;
using testing_support::readFile;
using testing_support::Rows;
using testing_support::rowsOf;

namespace {

// The main window on an empty event file of its own, with the timers stopped so that
// each test drives the check and the save itself.
class MainFormReminders : public app_testing::MainWindowTest {
protected:
    MainFormReminders()
    {
        clock.set(at(2026, 3, 10, 9, 0));
        TfrmEventNotify::setSlideStepDelay(0);
        QFile::remove(fileName);
        start({fileName});
        window->tmrCheckEvents->stop();
        window->tmrSave->stop();
        useEvents({});
        list = window->FEventList.get();
        list->Modified = false;
        messages.clear();
    }
    ~MainFormReminders() override { TfrmEventNotify::setSlideStepDelay(3); }

    // Adds the event with a reminder, leaving the list unmodified.
    TEvent& add(TestEvent event)
    {
        event.reminder = true;
        TEvent& added = *list->GetEvent(event.addTo(*list));
        list->Modified = false;
        return added;
    }
    TfrmEventNotify& popUp() { return *window->FNotifyForm; }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    const QString fileName = folder + "my.list.events";
    TEventList* list = nullptr;
};

TEST_F(MainFormReminders, ADueEventWithoutThePopUpFlagIsNotifiedAndDismissedAtTheCheck)
{
    TEvent& event = add({.when = at(2026, 3, 10, 9, 5), .description = "take out the bins", .commands = "echo bins"});
    // Hours away, but its repeated date of 08:30 is due.
    TEvent& later =
        add({.when = at(2026, 3, 10, 12, 0), .description = "stretch", .repeats = {at(2026, 3, 10, 8, 30)}});
    window->RefreshEventView();
    ASSERT_EQ(model->rowCount(), 3);

    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 2);
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_EQ(shell.contents()[0], "echo bins\n");
    EXPECT_FALSE(event.Enabled) << "nothing more due: dismissed";
    EXPECT_TRUE(later.Enabled);
    EXPECT_EQ(later.RepeatedDates->GetCount(), 0);
    EXPECT_TRUE(list->Modified) << "the dismissals must reach the file";
    EXPECT_FALSE(popUp().isVisible());
    EXPECT_TRUE(window->tmrCheckEvents->isActive()) << "the check switches itself on again";
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(model->rowCount(), 1) << "the list shows the dismissals at once";

    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 2) << "nothing is due any more";
}

TEST_F(MainFormReminders, RowsOfOneEventAreActedOnWithoutShiftingEachOther)
{
    // Due at 08:00, 08:30 and 09:00; the date of the next day is not due yet.
    TEvent& event = add({.when = at(2026, 3, 10, 8, 0),
                         .description = "pills",
                         .repeats = {at(2026, 3, 10, 8, 30), at(2026, 3, 10, 9, 0), at(2026, 3, 11, 8, 0)}});
    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 3);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
    EXPECT_TRUE(event.Enabled);
    EXPECT_EQ(event.GetStartDate(), at(2026, 3, 11, 8, 0)) << "tomorrow's date is left, not notified";
    EXPECT_EQ(event.RepeatedDates->GetCount(), 0);
    EXPECT_EQ(event.StartDateItem->NotificationCount, 0);
}

TEST_F(MainFormReminders, PopUpRemindersEnterThePopUpInOrderAndStayWhileDue)
{
    TEvent& first = add(
        {.when = at(2026, 3, 10, 8, 0), .description = "first", .popUp = true, .repeats = {at(2026, 3, 10, 8, 30)}});
    add({.when = at(2026, 3, 10, 12, 0), .description = "not a pop-up"});
    add({.when = at(2026, 3, 10, 9, 5), .description = "second", .popUp = true});
    const Rows due{{0, -1}, {0, 0}, {2, -1}};
    for (int check = 0; check < 2; ++check) {
        window->tmrCheckEventsTimer();
        EXPECT_EQ(rowsOf(popUp().FExpiredEvents), due);
        EXPECT_TRUE(popUp().isVisible());
    }
    EXPECT_EQ(popUp().lblEventDesc->text(), "first");
    EXPECT_TRUE(first.Enabled) << "the check never dismisses a pop-up reminder";
    EXPECT_FALSE(list->Modified);

    // Once nothing is due any more the pop-up slides out.
    for (const auto& [event, date] : due)
        list->Snooze(TListViewEventItem(event, date), 60);
    window->tmrCheckEventsTimer();
    EXPECT_TRUE(popUp().FExpiredEvents.empty());
    EXPECT_FALSE(popUp().isVisible());
}

TEST_F(MainFormReminders, ThePopUpsButtonsChangeTheModelAndTheWindowRefillsTheList)
{
    TEvent& snoozed = add({.when = at(2026, 3, 10, 9, 1), .description = "snooze me", .popUp = true});
    TEvent& dismissed = add({.when = at(2026, 3, 10, 9, 2), .description = "dismiss me", .popUp = true});
    TEvent& executed =
        add({.when = at(2026, 3, 10, 9, 3), .description = "run me", .popUp = true, .commands = "echo run"});
    window->tmrCheckEventsTimer();
    ASSERT_EQ(popUp().lblEventDesc->text(), "snooze me");

    QTest::mouseClick(popUp().btnSnooze, Qt::LeftButton);
    EXPECT_EQ(snoozed.StartDateItem->NotificationTime, at(2026, 3, 10, 9, 5));
    EXPECT_FALSE(list->Modified) << "a snooze is not saved by itself";
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (Rows{{1, -1}, {2, -1}}));

    // The display moved on to index 1 of the refilled list.
    ASSERT_EQ(popUp().lblEventDesc->text(), "run me");
    QTest::mouseClick(popUp().btnExecute, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_FALSE(executed.Enabled);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (Rows{{1, -1}}));

    ASSERT_EQ(popUp().lblEventDesc->text(), "dismiss me");
    QTest::mouseClick(popUp().btnDismiss, Qt::LeftButton);
    EXPECT_FALSE(dismissed.Enabled);
    EXPECT_FALSE(popUp().isVisible());
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    EXPECT_TRUE(QFile::exists(fileName));
}

TEST_F(MainFormReminders, AFailingRowIsReportedOnceAndTheRestOfTheCheckGoesOn)
{
    TEvent& failing = add({.when = at(2026, 3, 10, 9, 1), .description = "cannot launch", .commands = "echo never"});
    failing.AudioNotify = false;
    TEvent& plain = add({.when = at(2026, 3, 10, 9, 2), .description = "plain"});
    add({.when = at(2026, 3, 10, 9, 3), .description = "pop-up", .popUp = true});
    {
        FailingTempFileNamer noNames;
        window->tmrCheckEventsTimer();
        EXPECT_FALSE(plain.Enabled) << "the other rows are acted on";
        EXPECT_TRUE(popUp().isVisible()) << "the pop-up is refreshed";
        EXPECT_TRUE(failing.Enabled) << "the failed occurrence stays due";
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("unable to get temp file name")) << messages[0];
        window->tmrCheckEventsTimer();
        EXPECT_EQ(messages.size(), 1) << "the same failure is not reported again";
    }
    window->tmrCheckEventsTimer();
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_FALSE(failing.Enabled) << "tried again, launched and dismissed";
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(MainFormReminders, EachSaveAfterTheFirstKeepsABackupOfThePreviousFile)
{
    add({.when = at(2026, 12, 24, 9, 0), .description = "one"});
    window->SaveEvents();
    EXPECT_FALSE(QDir(folder + "Backup").exists()) << "the first save makes no backup";
    const QByteArray firstVersion = readFile(fileName);

    add({.when = at(2026, 12, 24, 10, 0), .description = "two"});
    clock.set(at(2026, 12, 6, 3, 4, 5, 67));
    window->SaveEvents();
    EXPECT_EQ(readFile(folder + "Backup/my.list_20261206_030405067.events"), firstVersion);
    EXPECT_NE(readFile(fileName), firstVersion);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Within the same millisecond the backup is replaced; later saves add one file each.
    window->SaveEvents();
    clock.set(at(2026, 12, 6, 3, 4, 6));
    window->SaveEvents();
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files).size(), 2);

    // The backup's extension is always ".events"; only the last extension is dropped.
    window->FFileName = folder + "plan.txt";
    window->SaveEvents();
    window->SaveEvents();
    EXPECT_TRUE(QFile::exists(folder + "Backup/plan_20261206_030406000.events"));
}

TEST_F(MainFormReminders, ABackupThatCannotBeMadeKeepsTheEventFileAsItWas)
{
    add({.when = at(2026, 12, 24, 9, 0), .description = "one"});
    window->SaveEvents();
    const QByteArray saved = readFile(fileName);
    add({.when = at(2026, 12, 24, 10, 0), .description = "two"});
    list->Modified = true;

    // A file where the backup folder should be: no one can make the folder, root neither.
    testing_support::writeFile(folder + "Backup", "in the way");
    EXPECT_EQ(testing_support::messageOf([this] { window->SaveEvents(); }),
              "Exception in: \"TfrmQuillet.MakeBackup\"\r\nUnable to create backup folder: \"" + folder + "Backup/\"");
    EXPECT_EQ(readFile(fileName), saved);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The save timer keeps trying every second but reports the failure once.
    window->tmrSaveTimer();
    window->tmrSaveTimer();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Unable to create backup folder")) << messages[0];

    // A backup file that can't be written, at two moments: one situation, one report.
    QFile::remove(folder + "Backup");
    const auto blockBackupAt = [this](TDateTime when, const QString& stamp) {
        clock.set(when);
        QDir().mkpath(folder + "Backup/my.list_" + stamp + ".events/x");
        window->tmrSaveTimer();
    };
    blockBackupAt(at(2026, 12, 6, 3, 4, 5, 67), "20261206_030405067");
    blockBackupAt(at(2026, 12, 6, 3, 4, 6, 67), "20261206_030406067");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("Unable to create backup file: \"" + folder +
                                     "Backup/my.list_20261206_030405067.events\""))
        << messages[1];
    EXPECT_EQ(readFile(fileName), saved);

    // Once a save succeeds, a later failure is news again.
    clock.set(at(2026, 12, 6, 3, 5));
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    list->Modified = true;
    blockBackupAt(at(2026, 12, 6, 3, 6), "20261206_030600000");
    EXPECT_EQ(messages.size(), 3);
}

} // namespace
