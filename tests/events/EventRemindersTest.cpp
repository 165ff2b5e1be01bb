#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <limits>

#include "PlatformFakes.h"
#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"
#include "platform/ProgramFolder.h"

using testing_support::at;
using testing_support::ClockOverride;

namespace {

// An enabled event with a reminder 10 minutes ahead of each occurrence.
TEvent reminderEvent(TDateTime start, TEventImportance importance = eiNormal)
{
    TEvent event;
    event.SetStartDate(start);
    event.AlarmType = 1;
    event.AlarmParam = -10;
    event.Importance = importance;
    return event;
}

struct Row {
    int EventIndex;
    int DateIndex;
    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << '(' << row.EventIndex << ',' << row.DateIndex << ')';
}

std::vector<Row> expiredRows(const TEventList &list)
{
    TListViewEventItems items;
    list.GetExpiredEvents(items);
    std::vector<Row> rows;
    for (const auto &item : items)
        rows.push_back({item->EventIndex, item->DateIndex});
    return rows;
}

class Reminders : public ::testing::Test {
protected:
    ~Reminders() override { CleanTmpFolder(); }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    ClockOverride clock{at(2008, 3, 10, 9, 0)};
};

const TListViewEventItem startRow(0, -1);

} // namespace

TEST_F(Reminders, GetExpiredEventsListsEveryDueOccurrenceStartFirst)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 30));
    event.RepeatedDates->AddDate(at(2008, 3, 10, 9, 40), false, 0);
    event.RepeatedDates->AddDate(at(2008, 3, 10, 9, 50), false, 0);
    event.RepeatedDates->AddDate(at(2008, 3, 11, 9, 0), false, 0);
    list.AddEvent(event);
    list.GetEvent(0)->RecalculateNoticationTimes(); // 09:20, 09:30, 09:40 and the next day

    EXPECT_TRUE(expiredRows(list).empty());
    clock.set(at(2008, 3, 10, 9, 20));
    EXPECT_EQ(expiredRows(list), (std::vector<Row>{{0, -1}}));
    clock.set(at(2008, 3, 10, 9, 45));
    EXPECT_EQ(expiredRows(list), (std::vector<Row>{{0, -1}, {0, 0}, {0, 1}}));
    // Still due at the next check: a notification action doesn't move the time on.
    EXPECT_EQ(expiredRows(list).size(), 3u);

    TListViewEventItems items;
    items.push_back(std::make_unique<TListViewEventItem>(7, 7));
    clock.set(at(2008, 3, 10, 9, 0));
    list.GetExpiredEvents(items);
    EXPECT_TRUE(items.empty()) << "earlier rows are released first";
}

TEST_F(Reminders, AStartWithoutNotificationTimeIsNotDueButARepeatedDateIs)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 1, 9, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 2, 9, 0), false, 0);
    list.AddEvent(event);
    EXPECT_EQ(expiredRows(list), (std::vector<Row>{{0, 0}}));
}

TEST_F(Reminders, DisabledEventsAndEventsWithoutReminderAreNeverDue)
{
    TEventList list;
    TEvent noReminder = reminderEvent(at(2008, 3, 1));
    noReminder.AlarmType = 0;
    noReminder.StartDateItem->NotificationTime = at(2008, 3, 1);
    noReminder.RepeatedDates->AddDate(at(2008, 3, 2), false, at(2008, 3, 2));
    list.AddEvent(noReminder);
    TEvent disabled = reminderEvent(at(2008, 3, 1));
    disabled.Enabled = false;
    disabled.StartDateItem->NotificationTime = at(2008, 3, 1);
    list.AddEvent(disabled);
    EXPECT_TRUE(expiredRows(list).empty());
    EXPECT_FALSE(list.GetEvent(0)->NeedsNotificationNow(startRow));
    EXPECT_FALSE(list.GetEvent(1)->DateNeedsNotificationNow(at(2008, 3, 1)));
}

TEST_F(Reminders, AnEventLoadedAfterItsAlarmTimeIsDueAtTheFirstCheck)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 14, 0));
    clock.set(at(2008, 3, 10, 13, 0));
    event.RecalculateNoticationTimes();
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 13, 50));
    EXPECT_FALSE(event.NeedsNotificationNow(startRow));

    clock.set(at(2008, 3, 10, 15, 0));
    event.RecalculateNoticationTimes();
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 15, 0));
    EXPECT_TRUE(event.NeedsNotificationNow(startRow));
}

TEST_F(Reminders, SoundsPerOccurrenceFollowTheImportance)
{
    struct Case {
        TEventImportance importance;
        std::vector<bool> soundAfter; // after 0, 1, 2, ... reminders
    };
    const Case cases[] = {
        {eiLow, {true, false, false}},
        {eiNormal, {true, false, false}},
        {eiHigh, {true, true, true, false, false}},
        {eiHighest, {true, true, true, true, true, true}},
    };
    for (const Case &c : cases) {
        TEvent event = reminderEvent(at(2008, 3, 10), c.importance);
        event.AudioNotify = true;
        for (size_t count = 0; count < c.soundAfter.size(); ++count) {
            EXPECT_EQ(event.RequiresAudioNotification(startRow), c.soundAfter[count])
                << "importance " << int(c.importance) << " after " << count;
            event.IncNotificationCount(startRow);
        }
        event.AudioNotify = false;
        EXPECT_FALSE(event.RequiresAudioNotification(startRow));
    }
}

TEST_F(Reminders, LaunchesAreCountedForEachOccurrence)
{
    TEvent event = reminderEvent(at(2008, 3, 10));
    event.RepeatedDates->AddDate(at(2008, 3, 11), false, 0);
    const TListViewEventItem repeatRow(0, 0);
    EXPECT_FALSE(event.RequiresFileExecNotification(startRow)) << "ExecuteFile is off";
    event.ExecuteFile = true;
    EXPECT_FALSE(event.RequiresFileExecNotification(startRow)) << "no launches allowed";
    event.ExecuteFileXTimes = 1;
    EXPECT_TRUE(event.RequiresFileExecNotification(startRow));
    event.IncExecuteCount(startRow);
    EXPECT_FALSE(event.RequiresFileExecNotification(startRow));
    EXPECT_TRUE(event.RequiresFileExecNotification(repeatRow));
    EXPECT_EQ(event.GetExecuteCount(repeatRow), 0);
    event.ExecuteFileXTimes = -1;
    EXPECT_FALSE(event.RequiresFileExecNotification(repeatRow));
}

TEST_F(Reminders, CountsRaiseInsteadOfWrappingAround)
{
    TEvent event = reminderEvent(at(2008, 3, 10));
    event.StartDateItem->NotificationCount = std::numeric_limits<std::int32_t>::max();
    event.StartDateItem->ExecuteCount = std::numeric_limits<std::int32_t>::max();
    try {
        event.IncNotificationCount(startRow);
        FAIL() << "no exception";
    } catch (const QuilletError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Integer overflow"));
    }
    EXPECT_THROW(event.IncExecuteCount(startRow), EIntOverflow);
}

TEST_F(Reminders, AHighOccurrenceSoundsAtThreeChecksAndIsDismissedWithTheThird)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0), eiHigh);
    event.AudioNotify = true;
    event.AlarmSound = QStringLiteral("Bells");
    bool dismissed = true;
    for (int check = 1; check <= 2; ++check) {
        event.DoNotificationAction(startRow, true, true, dismissed);
        EXPECT_FALSE(dismissed);
        EXPECT_EQ(event.GetNotificationCount(startRow), check);
        EXPECT_TRUE(event.Enabled);
    }
    event.DoNotificationAction(startRow, true, true, dismissed);
    EXPECT_TRUE(dismissed);
    EXPECT_FALSE(event.Enabled) << "an event without further dates is disabled";
    EXPECT_EQ(event.GetNotificationCount(startRow), 0) << "disabling resets the start counters";
    EXPECT_EQ(sounds.Played, QStringList(3, programFolder() + QStringLiteral("Bells.wav")));
    EXPECT_EQ(shell.openCount(), 0);
}

TEST_F(Reminders, EachImportanceIsDismissedAfterItsLastSound)
{
    struct Case {
        TEventImportance importance;
        bool audio;
        int actionsUntilDismissed; // 0: never within ten
        int sounds;
    };
    const Case cases[] = {
        {eiLow, true, 1, 1}, {eiNormal, true, 1, 1}, {eiHighest, true, 0, 10}, {eiHighest, false, 1, 0}};
    for (const Case &c : cases) {
        RecordingSoundPlayer played;
        TEvent event = reminderEvent(at(2008, 3, 10, 9, 0), c.importance);
        event.AudioNotify = c.audio;
        int actions = 0;
        bool dismissed = false;
        while (!dismissed && actions < 10) {
            event.DoNotificationAction(startRow, true, true, dismissed);
            ++actions;
        }
        EXPECT_EQ(dismissed ? actions : 0, c.actionsUntilDismissed) << "importance " << int(c.importance);
        EXPECT_EQ(played.Played.size(), c.sounds) << "importance " << int(c.importance);
        for (const QString &name : played.Played)
            EXPECT_TRUE(name.isEmpty()) << "no AlarmSound: the default alert";
    }
}

TEST_F(Reminders, ALaunchIsMadeAndCountedBeforeTheDismissal)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 11, 9, 0), false, 0);
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 2;
    event.CmdsToExecute = QStringLiteral("true");
    list.AddEvent(event);
    TEvent &stored = *list.GetEvent(0);
    const TListViewEventItem repeatRow(0, 0);

    bool dismissed = true;
    stored.DoNotificationAction(repeatRow, true, true, dismissed);
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(stored.GetExecuteCount(repeatRow), 1);
    EXPECT_EQ(stored.GetExecuteCount(startRow), 0);
    ASSERT_TRUE(waitUntil([&] { return shell.openCount() == 1; }));

    stored.DoNotificationAction(repeatRow, true, true, dismissed);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(stored.RepeatedDates->GetCount(), 0) << "the repeated date ended";
    EXPECT_TRUE(stored.RequiresFileExecNotification(startRow)) << "the start has launches of its own";
    ASSERT_TRUE(waitUntil([&] { return shell.openCount() == 2; }));
    EXPECT_TRUE(sounds.Played.isEmpty());
    EXPECT_TRUE(waitUntil([] { return !QDir(GetTmpFolder()).exists(); }));
}

TEST_F(Reminders, WithoutLaunchesAllowedTheOccurrenceOnlySoundsAndCounts)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.AudioNotify = true;
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 1;
    event.CmdsToExecute = QStringLiteral("true");
    bool dismissed = true;
    for (int i = 0; i < 3; ++i) {
        event.DoNotificationAction(startRow, true, false, dismissed);
        EXPECT_FALSE(dismissed) << "a launch is still due";
    }
    event.DoNotificationAction(startRow, false, false, dismissed); // as the pop-up does
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(event.GetNotificationCount(startRow), 4);
    EXPECT_EQ(event.GetExecuteCount(startRow), 0);
    EXPECT_EQ(sounds.Played.size(), 1);
    EXPECT_EQ(shell.openCount(), 0);
}

TEST_F(Reminders, AnEmptyCommandListCountsALaunchWithoutStartingOne)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 1;
    bool dismissed = false;
    event.DoNotificationAction(startRow, true, true, dismissed);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(shell.openCount(), 0);
    const QStringList left = QDir(GetTmpFolder()).entryList(QDir::Files);
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left[0].startsWith(QLatin1String("~qv")) && left[0].endsWith(QLatin1String(".tmp")));
    EXPECT_EQ(QFileInfo(GetTmpFolder() + left[0]).size(), 0);
}

TEST_F(Reminders, AFailedLaunchLeavesTheCountsForTheNextCheck)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 1;
    event.CmdsToExecute = QStringLiteral("true");
    bool dismissed = true;
    {
        FailingTempFileNamer failing;
        try {
            event.DoNotificationAction(startRow, true, true, dismissed);
            FAIL() << "no exception";
        } catch (const QuilletError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("unable to get temp file name to execute commands"));
        }
    }
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(event.GetNotificationCount(startRow), 0);
    EXPECT_EQ(event.GetExecuteCount(startRow), 0);
    EXPECT_TRUE(event.Enabled);

    event.DoNotificationAction(startRow, true, true, dismissed);
    EXPECT_TRUE(dismissed);
    EXPECT_TRUE(waitUntil([&] { return shell.openCount() == 1; }));
    EXPECT_TRUE(waitUntil([] { return !QDir(GetTmpFolder()).exists(); }));
}

TEST_F(Reminders, SnoozeRestartsTheOccurrence)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0), eiHigh);
    event.AudioNotify = true;
    event.RepeatedDates->AddDate(at(2008, 3, 11, 9, 0), false, 0);
    list.AddEvent(event);
    TEvent &stored = *list.GetEvent(0);
    stored.RecalculateNoticationTimes(); // start due now, the repeat tomorrow at 08:50
    list.Modified = false;
    bool dismissed = false;
    stored.DoNotificationAction(startRow, true, true, dismissed);
    stored.DoNotificationAction(startRow, true, true, dismissed);
    stored.IncNotificationCount(TListViewEventItem(0, 0));

    list.Snooze(startRow, 10);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(stored.StartDateItem->NotificationTime, at(2008, 3, 10, 9, 10));
    EXPECT_EQ(stored.GetNotificationCount(startRow), 0);
    EXPECT_EQ(stored.GetNotificationCount(TListViewEventItem(0, 0)), 1) << "the repeated date keeps its state";
    EXPECT_EQ(stored.RepeatedDates->GetItem(0)->NotificationTime, at(2008, 3, 11, 8, 50));
    EXPECT_TRUE(expiredRows(list).empty());

    clock.set(at(2008, 3, 10, 9, 10));
    for (int check = 1; check <= 3; ++check) {
        ASSERT_EQ(expiredRows(list), (std::vector<Row>{{0, -1}}));
        stored.DoNotificationAction(startRow, true, true, dismissed);
    }
    EXPECT_EQ(sounds.Played.size(), 5) << "two before the snooze, three after";
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(stored.GetStartDate(), at(2008, 3, 11, 9, 0)) << "the repeated date became the start";
}

TEST_F(Reminders, SnoozeOnARepeatedRowAndWithNegativeMinutes)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 12, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 11, 12, 0), false, 0);
    list.AddEvent(event);
    TEvent &stored = *list.GetEvent(0);
    stored.RecalculateNoticationTimes();
    stored.IncNotificationCount(startRow);
    const TListViewEventItem repeatRow(0, 0);
    stored.IncNotificationCount(repeatRow);
    stored.IncExecuteCount(repeatRow);

    list.Snooze(repeatRow, -1);
    EXPECT_EQ(stored.GetNotificationCount(repeatRow), 0);
    EXPECT_EQ(stored.GetExecuteCount(repeatRow), 0);
    EXPECT_EQ(stored.GetNotificationCount(startRow), 1);
    EXPECT_EQ(stored.StartDateItem->NotificationTime, at(2008, 3, 10, 11, 50));
    EXPECT_EQ(expiredRows(list), (std::vector<Row>{{0, 0}})) << "due at once";
}

TEST_F(Reminders, SnoozeFailuresCarryTheWrapperTexts)
{
    TEventList list;
    list.AddEvent(reminderEvent(at(2008, 3, 10)));
    try {
        list.Snooze(TListViewEventItem(5, -1), 10);
        FAIL() << "no exception";
    } catch (const QuilletError &error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Exception in: \"TEventList.Snooze\"\r\nList index out of bounds (5)"));
    }
    try {
        list.GetEvent(0)->Snooze(TListViewEventItem(0, 3), 10);
        FAIL() << "no exception";
    } catch (const QuilletError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Exception in: \"TEvent.Snooze\"\r\n"
                                                  "Exception in: \"TEvent.ResetNotificationCount\"\r\n"
                                                  "List index out of bounds (3)"));
    }
}

TEST_F(Reminders, DismissEndsOnlyTheOccurrence)
{
    TEventList list;
    TEvent single = reminderEvent(at(2008, 3, 10, 9, 0));
    single.StartDateItem->NotificationTime = at(2008, 3, 10, 8, 50);
    list.AddEvent(single);
    TEvent repeated = reminderEvent(at(2008, 3, 10, 9, 0));
    repeated.StartDateItem->NotificationTime = at(2008, 3, 10, 8, 50);
    repeated.RepeatedDates->AddDate(at(2008, 3, 12, 9, 0), false, at(2008, 3, 12, 8, 50));
    repeated.RepeatedDates->AddDate(at(2008, 3, 13, 9, 0), false, at(2008, 3, 13, 8, 50));
    list.AddEvent(repeated);
    list.Modified = false;
    list.GetEvent(0)->IncNotificationCount(startRow);

    list.GetEvent(0)->Dismiss(startRow);
    EXPECT_FALSE(list.GetEvent(0)->Enabled);
    EXPECT_EQ(list.GetEvent(0)->GetNotificationCount(startRow), 0);

    TEvent &stored = *list.GetEvent(1);
    stored.Dismiss(TListViewEventItem(1, 1));
    ASSERT_EQ(stored.RepeatedDates->GetCount(), 1);
    EXPECT_EQ(stored.RepeatedDates->GetItem(0)->DateTime, at(2008, 3, 12, 9, 0));

    stored.Dismiss(TListViewEventItem(1, -1));
    EXPECT_EQ(stored.GetStartDate(), at(2008, 3, 12, 9, 0));
    EXPECT_EQ(stored.StartDateItem->NotificationTime, at(2008, 3, 12, 8, 50));
    EXPECT_FALSE(stored.HasRepeatedEvents());
    EXPECT_TRUE(expiredRows(list).empty()) << "not due until the moved date's own time";
    clock.set(at(2008, 3, 12, 8, 50));
    EXPECT_EQ(expiredRows(list), (std::vector<Row>{{1, -1}}));
    EXPECT_FALSE(list.Modified) << "an event can't mark its list modified";
}
