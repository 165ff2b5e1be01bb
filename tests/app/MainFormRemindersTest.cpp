// The main window's reminder check, the pop-up's callbacks into it, and saving with backups.
#include <QMessageBox>
#include <QScopeGuard>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <ctime>

#include <QScopeGuard>

#include "AppTestSupport.h"
#include "PlatformFakes.h"
#include "dialogs/EventNotify.h"

using testing_support::at;
using testing_support::FileSizeLimit;
using testing_support::readFile;
using testing_support::Rows;
using testing_support::rowsOf;

namespace {

// Every write past a FileSizeLimit gets one SIGXFSZ.
volatile std::sig_atomic_t writesPastTheLimit = 0;
void countWritePastTheLimit(int)
{
    writesPastTheLimit = writesPastTheLimit + 1;
}

// An empty event file of its own; the timers stopped, each test drives check and save.
class MainFormReminders : public app_testing::MainWindowTest {
protected:
    MainFormReminders()
    {
        clock.set(today(9, 0));
        TfrmEventNotify::setSlideStepDelay(0);
        TfrmEventNotify::setClickGuard(0);
        QFile::remove(fileName);
        start({fileName});
        window->tmrCheckEvents->stop();
        window->tmrSave->stop();
        useEvents({});
        list = window->FEventList.get();
        list->Modified = false;
        messages.clear();
    }
    ~MainFormReminders() override
    {
        TfrmEventNotify::setSlideStepDelay(3);
        TfrmEventNotify::setClickGuard(1000);
    }

    TEvent& add(TestEvent event)
    {
        event.reminder = true;
        TEvent& added = *list->GetEvent(event.addTo(*list));
        list->Modified = false;
        return added;
    }
    TfrmEventNotify& popUp() { return *window->FNotifyForm; }
    static TDateTime today(int hour, int minute) { return at(2026, 3, 10, hour, minute); }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    const QString fileName = folder + "my.list.events";
    TEventList* list = nullptr;
};

TEST_F(MainFormReminders, ADueEventWithoutThePopUpFlagIsNotifiedAndDismissedAtTheCheck)
{
    TEvent& bins = add({.when = today(9, 5), .description = "bins", .commands = "echo bins"});
    TEvent& stretch = add({.when = today(12, 0), .description = "stretch", .repeats = {today(8, 30)}});
    // Three dates due: acting on one row must not shift the next.
    TEvent& pills = add(
        {.when = today(8, 0), .description = "pills", .repeats = {today(8, 30), today(9, 0), at(2026, 3, 11, 8, 0)}});
    window->RefreshEventView();

    window->tmrCheckEventsTimer();
    EXPECT_EQ(sounds.Played.size(), 5);
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_EQ(shell.contents()[0], "echo bins\n");
    EXPECT_FALSE(bins.Enabled) << "nothing more due: dismissed";
    EXPECT_TRUE(stretch.Enabled && pills.Enabled);
    EXPECT_EQ(stretch.RepeatedDates->GetCount(), 0);
    EXPECT_EQ(pills.GetStartDate(), at(2026, 3, 11, 8, 0)) << "tomorrow's date is left, not notified";
    EXPECT_EQ(pills.RepeatedDates->GetCount(), 0);
    EXPECT_TRUE(list->Modified) << "the dismissals must reach the file";
    EXPECT_TRUE(window->tmrCheckEvents->isActive()) << "the check switches itself on again";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
    EXPECT_EQ(model->rowCount(), 2) << "the list shows the dismissals at once";
}

TEST_F(MainFormReminders, PopUpRemindersStayInOrderUntilTheButtonsActOnThem)
{
    TEvent& first = add({.when = today(8, 0), .description = "first", .popUp = true, .repeats = {today(8, 30)}});
    add({.when = today(12, 0), .description = "not a pop-up"});
    TEvent& second = add({.when = today(9, 5), .description = "second", .popUp = true, .commands = "echo run"});
    for (int check = 0; check < 2; ++check) {
        window->tmrCheckEventsTimer();
        EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (Rows{{0, -1}, {0, 0}, {2, -1}}));
        EXPECT_TRUE(popUp().isVisible());
    }
    EXPECT_TRUE(first.Enabled) << "the check never dismisses a pop-up reminder";
    EXPECT_FALSE(list->Modified);

    // Each button acts on the one shown; the display moves on to the same index.
    ASSERT_EQ(popUp().lblEventDesc->text(), "first");
    QTest::mouseClick(popUp().btnSnooze, Qt::LeftButton);
    EXPECT_EQ(first.StartDateItem->NotificationTime, today(9, 5));
    EXPECT_FALSE(list->Modified) << "a snooze is not saved by itself";
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (Rows{{0, 0}, {2, -1}}));

    ASSERT_EQ(popUp().lblEventDesc->text(), "second");
    QTest::mouseClick(popUp().btnExecute, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_FALSE(second.Enabled);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(rowsOf(popUp().FExpiredEvents), (Rows{{0, 0}}));

    ASSERT_EQ(popUp().lblEventDesc->text(), "first");
    QTest::mouseClick(popUp().btnDismiss, Qt::LeftButton);
    EXPECT_EQ(first.RepeatedDates->GetCount(), 0);
    EXPECT_TRUE(first.Enabled) << "its snoozed start is still to come";
    EXPECT_FALSE(popUp().isVisible()) << "nothing due: the pop-up slides out";
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    EXPECT_TRUE(QFile::exists(fileName));
}

// The clock read as the system gives it, in UTC, and turned into local time in zones
// with daylight saving: each reminder comes once, across both changes of the clocks
// and across the system clock's own jumps. The zones' rules are spelt out, so that
// no time zone files are needed.
TEST_F(MainFormReminders, EachReminderComesOnceAcrossDaylightSavingAndClockJumps)
{
    const char* const berlin = "CET-1CEST,M3.5.0,M10.5.0/3";
    const char* const newYork = "EST5EDT,M3.2.0,M11.1.0";
    const auto utc = [](int month, int day, int hour) {
        return QDateTime(QDate(2026, month, day), QTime(hour, 0), Qt::UTC).toMSecsSinceEpoch();
    };
    constexpr qint64 Minute = 60'000, Hour = 60 * Minute;
    constexpr TDateTime OneMinute = Minute * OneMillisecond;
    const struct {
        const char* name;
        const char* zone;
        qint64 from;                  // UTC
        int jumpAt = -1;              // the minute after which the system clock jumps
        qint64 jump = 0;              // by this
    } runs[] = {
        {"Berlin, spring forward", berlin, utc(3, 29, 0)},
        {"Berlin, fall back", berlin, utc(10, 25, 0)},
        {"New York, spring forward", newYork, utc(3, 8, 6)},
        {"New York, fall back", newYork, utc(11, 1, 5)},
        {"Berlin, 3 hours ahead into summer time", berlin, utc(3, 29, 0), 30, 3 * Hour},
        {"Berlin, 1 hour back in the repeated hour", berlin, utc(10, 25, 0), 90, -Hour},
        {"New York, 3 hours ahead", newYork, utc(11, 1, 5), 100, 3 * Hour},
        {"New York, 1 hour back across the change", newYork, utc(11, 1, 5), 70, -Hour},
    };
    constexpr int Minutes = 240; // of checks, one a minute

    const QByteArray zoneBefore = qgetenv("TZ");
    const auto restoreZone = qScopeGuard([&] {
        if (zoneBefore.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", zoneBefore);
        tzset();
    });
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        qputenv("TZ", run.zone);
        tzset();
        clearNowForTests();
        const auto clockAt = [&](int minute) {
            return run.from + minute * Minute + (run.jumpAt >= 0 && minute > run.jumpAt ? run.jump : 0);
        };
        setUtcNowForTests(clockAt(Minutes));
        const TDateTime last = Now() - 5 * OneMinute;
        setUtcNowForTests(clockAt(0));
        const TDateTime first = Now() + 20 * OneMinute;
        ASSERT_LT(first, last);

        // Every ten minutes of the wall clock, through the hour that is skipped or
        // repeated: an event each, and one event with all those dates.
        while (list->Count() > 0)
            list->DeleteEvent(0);
        std::vector<TDateTime> dates;
        for (TDateTime date = first; date < last; date += 10 * OneMinute)
            dates.push_back(date);
        for (const TDateTime date : dates)
            add({.when = date, .description = "single"});
        add({.when = dates.front(), .description = "repeated",
             .repeats = std::vector<TDateTime>(dates.begin() + 1, dates.end())});
        sounds.Played.clear();

        for (int minute = 0; minute <= Minutes; ++minute) {
            setUtcNowForTests(clockAt(minute));
            window->tmrCheckEventsTimer();
        }
        EXPECT_EQ(sounds.Played.size(), 2 * dates.size());
        for (int i = 0; i < list->Count(); ++i)
            EXPECT_FALSE(list->GetEvent(i)->Enabled) << formatDateTime("hh:nn", list->GetEvent(i)->GetStartDate());
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
}

TEST_F(MainFormReminders, AFailingRowIsReportedOnceAndTheRestOfTheCheckGoesOn)
{
    TEvent& failing = add({.when = today(9, 1), .description = "cannot launch", .commands = "echo never"});
    failing.AudioNotify = false;
    TEvent& plain = add({.when = today(9, 2), .description = "plain"});
    TEvent& popUpEvent = add({.when = today(9, 3), .description = "pop-up", .popUp = true, .commands = "echo pop"});
    {
        FailingTempFileNamer noNames;
        window->tmrCheckEventsTimer();
        EXPECT_FALSE(plain.Enabled) << "the other rows are acted on";
        EXPECT_TRUE(popUp().isVisible() && failing.Enabled) << "the failed occurrence stays due";
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("unable to get temp file name")) << messages[0];
        window->tmrCheckEventsTimer();
        EXPECT_EQ(messages.size(), 1) << "the same failure is not reported again";
        QTest::mouseClick(popUp().btnExecute, Qt::LeftButton);
        ASSERT_EQ(messages.size(), 2);
        EXPECT_TRUE(messages[1].startsWith("Exception in: \"TfrmEventNotify.btnExecuteClick\"")) << messages[1];
        EXPECT_TRUE(popUpEvent.Enabled);
    }
    window->tmrCheckEventsTimer();
    ASSERT_TRUE(waitUntil([this] { return shell.contents().size() == 1; }));
    EXPECT_FALSE(failing.Enabled) << "tried again, launched and dismissed";
}

TEST_F(MainFormReminders, EachSaveAfterTheFirstKeepsABackupAndNoSaveGoesWithoutOne)
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
    // Within the same millisecond the backup is replaced; later saves add one file each.
    window->SaveEvents();
    clock.set(at(2026, 12, 6, 3, 4, 6));
    window->SaveEvents();
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files).size(), 2);

    // A file where the backup folder should be (root can't get past it either).
    QDir(folder + "Backup").removeRecursively();
    testing_support::writeFile(folder + "Backup", "in the way");
    const QByteArray saved = readFile(fileName);
    list->Modified = true;
    EXPECT_EQ(testing_support::messageOf([this] { window->SaveEvents(); }),
              "Exception in: \"TfrmQuillet.MakeBackup\"\r\nUnable to create backup folder: \"" + folder + "Backup/\"");
    EXPECT_EQ(readFile(fileName), saved);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    window->tmrSaveTimer();
    clock.set(at(2026, 12, 6, 3, 4, 6, 500));
    window->tmrSaveTimer();
    EXPECT_EQ(messages, QStringList()) << "the save's caller reports it, the timed save not again";

    // A backup file that can't be written, twice: one report until a save succeeds.
    QFile::remove(folder + "Backup");
    const auto blockBackupAt = [this](TDateTime when, const QString& stamp) {
        clock.set(when);
        QDir().mkpath(folder + "Backup/my.list_" + stamp + ".events/x");
        window->tmrSaveTimer();
    };
    blockBackupAt(at(2026, 12, 6, 3, 4, 7, 67), "20261206_030407067");
    blockBackupAt(at(2026, 12, 6, 3, 4, 9, 67), "20261206_030409067");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Unable to create backup file: \"" + folder +
                                     "Backup/my.list_20261206_030407067.events\""))
        << messages[1];
    EXPECT_EQ(readFile(fileName), saved);
    clock.set(at(2026, 12, 6, 3, 5));
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    list->Modified = true;
    blockBackupAt(at(2026, 12, 6, 3, 6), "20261206_030600000");
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(MainFormReminders, ASaveThatKeepsFailingBacksUpTheFileOnce)
{
    add({.when = at(2026, 12, 24, 9, 0), .description = "first"});
    window->SaveEvents();
    const QByteArray saved = readFile(fileName);
    for (int i = 0; i < 100; ++i)
        add({.when = at(2026, 12, 24, 10, 0), .description = "more"});
    list->Modified = true;
    {
        FileSizeLimit limit(saved.size() + 1000);
        for (int second = 0; second < 10; ++second) {
            clock.set(at(2026, 12, 6, 3, 4, second));
            window->tmrSaveTimer();
        }
    }
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files), QStringList{"my.list_20261206_030400000.events"});
    EXPECT_EQ(readFile(fileName), saved);
    EXPECT_EQ(messages.size(), 1);

    clock.set(at(2026, 12, 6, 3, 4, 15)); // the pause after the fourth failure
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified);
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files).size(), 1) << "that content was copied already";
    list->Modified = true;
    clock.set(at(2026, 12, 6, 3, 5));
    window->tmrSaveTimer();
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files).size(), 2);
}

TEST_F(MainFormReminders, AFailingSaveIsShownOnceAndTriedAgainAfterGrowingPauses)
{
    add({.when = at(2026, 12, 24, 9, 0), .description = "first"});
    window->SaveEvents();
    const rlim_t room = readFile(fileName).size() + 1000;
    for (int i = 0; i < 100; ++i)
        add({.when = at(2026, 12, 24, 10, 0), .description = "more"});
    const TDateTime start = at(2026, 12, 6, 3, 0);
    const auto second = [start](int count) { return start + count * 1000 * OneMillisecond; };
    // The save timer ticking every second from First to Last: the seconds it tried to save at.
    const auto savesBetween = [&](int first, int last) {
        QList<int> seconds;
        for (int count = first; count <= last; ++count) {
            const int before = writesPastTheLimit;
            clock.set(second(count));
            window->tmrSaveTimer();
            if (writesPastTheLimit != before)
                seconds << count;
        }
        return seconds;
    };

    {
        FileSizeLimit limit(room);
        std::signal(SIGXFSZ, countWritePastTheLimit);
        // A command's save fails: the command shows it, the timed save not again.
        clock.set(second(0));
        list->Modified = true;
        reportingErrors([this] { window->SaveEvents(); });
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].endsWith("File too large")) << messages[0];
        EXPECT_EQ(savesBetween(1, 600), QList<int>({1, 3, 7, 15, 31, 63, 123, 183, 243, 303, 363, 423, 483, 543}))
            << "after 1, 2, 4 ... at most 60 seconds";
        EXPECT_EQ(messages.size(), 1);

        // A new change of the user's is tried at once; the pauses go on from where they were.
        list->GetEvent(0)->Enabled = false;
        window->DoNotifyEventsChanged();
        EXPECT_EQ(savesBetween(601, 700), QList<int>({601, 661}));
    }
    clock.set(second(721));
    window->tmrSaveTimer();
    EXPECT_FALSE(list->Modified) << "saved once the disk takes it";

    // After a success the pauses start again from one second, and a new failure is shown.
    add({.when = at(2026, 12, 24, 11, 0), .description = "later"});
    list->Modified = true;
    {
        FileSizeLimit limit(room);
        std::signal(SIGXFSZ, countWritePastTheLimit);
        EXPECT_EQ(savesBetween(722, 730), QList<int>({722, 723, 725, 729}));
    }
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(MainFormReminders, ABackupInterruptedMidCopyLeavesNothingUnderABackupName)
{
    // A file smaller than the write buffer, then one larger.
    for (const int count : {1, 200}) {
        while (list->Count() < count)
            add({.when = at(2026, 12, 24, 10, 0), .description = "an event among many"});
        window->SaveEvents();
        QDir(folder + "Backup").removeRecursively();
        const QByteArray saved = readFile(fileName);
        list->Modified = true;
        QString failure;
        {
            FileSizeLimit limit(saved.size() / 2);
            failure = testing_support::messageOf([this] { window->SaveEvents(); });
        }
        // The system's reason is named, also for a write cut short.
        EXPECT_TRUE(failure.contains("Unable to create backup file")) << count << failure;
        EXPECT_TRUE(failure.endsWith(".events\". File too large")) << count << failure;
        EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files | QDir::Hidden), QStringList()) << count;
        EXPECT_EQ(readFile(fileName), saved);
    }
}

TEST_F(MainFormReminders, ANamedPipeAtTheEventFilesPathIsNeitherWaitedForNorReplaced)
{
    add({.when = at(2026, 12, 24, 9, 0), .description = "one"});
    QFile::remove(fileName);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fileName).constData(), 0600), 0);
    list->Modified = true;
    const QString failure = testing_support::messageOf([this] { window->SaveEvents(); });
    EXPECT_TRUE(failure.contains("Unable to create backup file")) << failure;
    EXPECT_TRUE(failure.endsWith("It is not a regular file.")) << failure;
    EXPECT_TRUE(QFileInfo(fileName).isFile() == false && QFileInfo::exists(fileName)) << "still the pipe";
    EXPECT_TRUE(list->Modified);
    QFile::remove(fileName);
}

TEST_F(MainFormReminders, TheDamagedOriginalIsKeptEvenWhenItsContentWasCopiedBefore)
{
    add({.when = at(2026, 12, 24, 9, 0), .description = "one"});
    window->SaveEvents();
    clock.set(at(2026, 12, 6, 3, 4, 5));
    window->MakeBackup(fileName);
    const QString kept = window->FBackups.keepDamagedOriginal(fileName, at(2026, 12, 6, 3, 4, 6));
    EXPECT_EQ(kept, folder + "Backup/my.list_20261206_030406000.events");
    window->MakeBackup(fileName);
    EXPECT_EQ(readFile(kept), readFile(fileName));
    window->MakeBackup(fileName);
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files).size(), 2) << "kept once, then skipped again";
}

} // namespace

// An event file that others may change could hold their commands: those run only once
// the user has seen them and said yes, asked once at the start. No keeps them off for
// this run, the occurrences due, and the file as it is.
class SharedEventFile : public app_testing::MainWindowTest {};

TEST_F(SharedEventFile, ItsCommandsRunOnlyAfterTheUsersYes)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file to a group";
    constexpr gid_t DaemonsGroup = 1; // daemon's own, daemon its other member
    TfrmEventNotify::setSlideStepDelay(0);
    const auto restoreDelay = qScopeGuard([] { TfrmEventNotify::setSlideStepDelay(3); });
    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    const QString events = folder + "events/Team.events";
    ASSERT_TRUE(QDir().mkpath(folder + "events"));
    TEventList team;
    TestEvent{.when = at(2024, 6, 12, 8, 5), .description = "Wipe", .reminder = true, .commands = "rm -rf ~\necho done"}
        .addTo(team);
    TestEvent{
        .when = at(2024, 6, 12, 8, 5), .description = "Mail", .reminder = true, .popUp = true, .commands = "mail x"}
        .addTo(team);
    TestEvent{.when = at(2024, 6, 12, 8, 5), .description = "Plain", .reminder = true}.addTo(team);
    team.SaveToFile(events);
    ASSERT_EQ(::chown(QFile::encodeName(events).constData(), 0, DaemonsGroup), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(events).constData(), 0664), 0);

    QString question;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->objectName() == "dlgConfirm") {
            question = box->text();
            screenshot(*box, "shared-file-commands");
            box->button(answer)->click();
        }
    });
    answerer.start(10);
    for (const QMessageBox::StandardButton given : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(given == QMessageBox::Yes ? "yes" : "no");
        answer = given;
        question.clear();
        start({events});
        window->tmrCheckEvents->stop();
        window->tmrSave->stop();
        EXPECT_EQ(question,
                  "The event file \"" + events +
                      "\" may also be changed by daemon. Its events run these commands at their reminder:"
                      "\r\n\r\nWipe:\r\n    rm -rf ~\r\n    echo done\r\nMail:\r\n    mail x\r\n\r\n"
                      "Run them? No keeps them off until Quillet starts again, and leaves the file as it is.");
        window->tmrCheckEventsTimer();
        EXPECT_EQ(window->FNotifyForm->lblEventDesc->text(), "Mail");
        TEvent* wipe = window->FEventList->GetEvent(0);
        if (given == QMessageBox::No) {
            EXPECT_FALSE(window->FNotifyForm->btnExecute->isEnabled());
            window->tmrCheckEventsTimer();
            EXPECT_TRUE(wipe->Enabled) << "its occurrence stays due";
            EXPECT_FALSE(window->FEventList->GetEvent(2)->Enabled) << "an event without commands goes on as ever";
            window->SaveEvents();
            EXPECT_TRUE(shell.opens().empty());
            EXPECT_TRUE(window->FEventList->GetEvent(1)->ExecuteFile && wipe->ExecuteFile);
            const QByteArray written = readFile(events);
            EXPECT_EQ(written.count("<ExecuteFile>-1</ExecuteFile>"), 2) << "the file keeps them on";
            EXPECT_EQ(written.count("rm -rf ~"), 1);
        } else {
            EXPECT_TRUE(window->FNotifyForm->btnExecute->isEnabled());
            ASSERT_TRUE(waitUntil([&] { return shell.contents() == QStringList{"rm -rf ~\necho done\n"}; }));
            EXPECT_FALSE(wipe->Enabled) << "run and dismissed";
        }
    }
}
