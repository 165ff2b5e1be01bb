#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <utility>

#include "PlatformFakes.h"
#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"
#include "platform/ProgramFolder.h"

using testing_support::at;
using testing_support::ClockOverride;

namespace {

const TListViewEventItem startRow(0, -1);
const TListViewEventItem repeatRow(0, 0);

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

// The expired rows as (event, date) pairs.
std::vector<std::pair<int, int>> expiredRows(const TEventList& list)
{
    TListViewEventItems items;
    list.GetExpiredEvents(items);
    std::vector<std::pair<int, int>> rows;
    for (const auto& item : items)
        rows.emplace_back(item->EventIndex, item->DateIndex);
    return rows;
}

QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const QuilletError& error) {
        return error.message();
    }
    return QStringLiteral("(no exception)");
}

class Reminders : public ::testing::Test {
protected:
    ~Reminders() override { CleanTmpFolder(); }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    ClockOverride clock{at(2008, 3, 10, 9, 0)};
};

using Rows = std::vector<std::pair<int, int>>;

} // namespace

TEST_F(Reminders, GetExpiredEventsListsEveryDueOccurrenceStartFirst)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 30));
    for (int minute : {40, 50})
        event.RepeatedDates->AddDate(at(2008, 3, 10, 9, minute), false, 0);
    list.AddEvent(event);
    list.GetEvent(0)->RecalculateNoticationTimes(); // due at 09:20, 09:30 and 09:40

    EXPECT_EQ(expiredRows(list), Rows{});
    clock.set(at(2008, 3, 10, 9, 20));
    EXPECT_EQ(expiredRows(list), (Rows{{0, -1}}));
    clock.set(at(2008, 3, 10, 9, 45));
    EXPECT_EQ(expiredRows(list), (Rows{{0, -1}, {0, 0}, {0, 1}}));

    TListViewEventItems items;
    items.push_back(std::make_unique<TListViewEventItem>(7, 7));
    clock.set(at(2008, 3, 10, 9, 0));
    list.GetExpiredEvents(items);
    EXPECT_TRUE(items.empty()) << "earlier rows are released first";
}

TEST_F(Reminders, OnlyEnabledEventsWithAReminderAndATimeSetForTheStartAreDue)
{
    TEventList list;
    TEvent unset = reminderEvent(at(2008, 3, 1)); // notification times still 0
    unset.RepeatedDates->AddDate(at(2008, 3, 2), false, 0);
    list.AddEvent(unset);
    TEvent noReminder = reminderEvent(at(2008, 3, 1));
    noReminder.AlarmType = 0;
    noReminder.StartDateItem->NotificationTime = at(2008, 3, 1);
    list.AddEvent(noReminder);
    TEvent disabled = reminderEvent(at(2008, 3, 1));
    disabled.Enabled = false;
    disabled.RepeatedDates->AddDate(at(2008, 3, 2), false, at(2008, 3, 2));
    list.AddEvent(disabled);
    EXPECT_EQ(expiredRows(list), (Rows{{0, 0}})) << "a repeated date has no test against 0";
}

TEST_F(Reminders, AHighOccurrenceSoundsAtThreeChecksAndIsDismissedWithTheThird)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0), eiHigh);
    event.AudioNotify = true;
    event.AlarmSound = QStringLiteral("Bells");
    bool dismissed = true;
    for (int check = 1; check <= 3; ++check) {
        event.DoNotificationAction(startRow, true, true, dismissed);
        EXPECT_EQ(dismissed, check == 3) << "check " << check;
    }
    EXPECT_FALSE(event.Enabled) << "an event without further dates is disabled";
    EXPECT_EQ(event.GetNotificationCount(startRow), 0) << "disabling resets the start counters";
    EXPECT_EQ(sounds.Played, QStringList(3, programFolder() + QStringLiteral("Bells.wav")));
}

TEST_F(Reminders, EachImportanceIsDismissedAfterItsLastSound)
{
    struct Case {
        TEventImportance importance;
        bool audio;
        int actionsUntilDismissed; // 0: never within ten
        qsizetype sounds;
    };
    for (const Case& c : {Case{eiLow, true, 1, 1}, Case{eiNormal, true, 1, 1}, Case{eiHighest, true, 0, 10},
                          Case{eiHighest, false, 1, 0}}) {
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
        EXPECT_EQ(played.Played, QStringList(c.sounds, QString())) << "no AlarmSound: the default alert";
    }
}

TEST_F(Reminders, LaunchesAreMadeAndCountedPerOccurrenceBeforeTheDismissal)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 11, 9, 0), false, 0);
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 2;
    event.CmdsToExecute = QStringLiteral("true");
    list.AddEvent(event);
    TEvent& stored = *list.GetEvent(0);

    bool dismissed = true;
    stored.DoNotificationAction(repeatRow, true, true, dismissed);
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(stored.GetExecuteCount(repeatRow), 1);
    stored.DoNotificationAction(repeatRow, true, true, dismissed);
    EXPECT_TRUE(dismissed);
    EXPECT_FALSE(stored.HasRepeatedEvents()) << "the repeated date ended";
    EXPECT_EQ(stored.GetExecuteCount(startRow), 0) << "the start has launches of its own";
    EXPECT_TRUE(waitUntil([&] { return shell.openCount() == 2 && !QDir(GetTmpFolder()).exists(); }));
    EXPECT_TRUE(sounds.Played.isEmpty());
}

TEST_F(Reminders, WithoutLaunchesAllowedTheOccurrenceOnlySoundsAndCounts)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.AudioNotify = true;
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 1;
    event.CmdsToExecute = QStringLiteral("true");
    bool dismissed = true;
    event.DoNotificationAction(startRow, true, false, dismissed);
    EXPECT_FALSE(dismissed) << "a launch is still due";
    event.DoNotificationAction(startRow, false, false, dismissed); // as the pop-up does
    EXPECT_EQ(event.GetNotificationCount(startRow), 2);
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
    const QStringList left = QDir(GetTmpFolder()).entryList({QStringLiteral("~qv*.tmp")}, QDir::Files);
    EXPECT_EQ(left.size(), 1) << "the empty temporary file waits for the clean-up";
}

TEST_F(Reminders, AFailedLaunchLeavesTheCountsForTheNextCheck)
{
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 1;
    event.CmdsToExecute = QStringLiteral("true");
    bool dismissed = true;
    {
        ScriptedTempFileNamer failing([](auto&&...) { return QString(); });
        EXPECT_EQ(messageOf([&] { event.DoNotificationAction(startRow, true, true, dismissed); }),
                  QStringLiteral("unable to get temp file name to execute commands"));
    }
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(event.GetNotificationCount(startRow), 0);
    EXPECT_EQ(event.GetExecuteCount(startRow), 0);

    event.DoNotificationAction(startRow, true, true, dismissed);
    EXPECT_TRUE(dismissed);
    EXPECT_TRUE(waitUntil([&] { return shell.openCount() == 1 && !QDir(GetTmpFolder()).exists(); }));
}

TEST_F(Reminders, SnoozeRestartsOnlyTheOccurrenceOfTheRow)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0), eiHigh);
    event.AudioNotify = true;
    event.RepeatedDates->AddDate(at(2008, 3, 11, 9, 0), false, 0);
    list.AddEvent(event);
    TEvent& stored = *list.GetEvent(0);
    stored.RecalculateNoticationTimes(); // the start is due now, the repeat tomorrow at 08:50
    list.Modified = false;
    bool dismissed = false;
    stored.DoNotificationAction(startRow, true, true, dismissed);
    stored.DoNotificationAction(startRow, true, true, dismissed);
    stored.IncNotificationCount(repeatRow);

    list.Snooze(startRow, 10);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(stored.StartDateItem->NotificationTime, at(2008, 3, 10, 9, 10));
    EXPECT_EQ(stored.GetNotificationCount(repeatRow), 1) << "the repeated date keeps its state";
    EXPECT_EQ(expiredRows(list), Rows{});

    clock.set(at(2008, 3, 10, 9, 10));
    for (int check = 1; check <= 3; ++check) {
        ASSERT_EQ(expiredRows(list), (Rows{{0, -1}}));
        stored.DoNotificationAction(startRow, true, true, dismissed);
    }
    EXPECT_EQ(sounds.Played.size(), 5) << "two before the snooze, three after";
    EXPECT_EQ(stored.GetStartDate(), at(2008, 3, 11, 9, 0)) << "the dismissal made the repeated date the start";

    clock.set(at(2008, 3, 10, 12, 0));
    list.Snooze(startRow, -1);
    EXPECT_EQ(expiredRows(list), (Rows{{0, -1}})) << "a negative snooze is due at once";
}

TEST_F(Reminders, FailuresCarryTheWrapperTexts)
{
    TEventList list;
    list.AddEvent(reminderEvent(at(2008, 3, 10)));
    EXPECT_EQ(messageOf([&] { list.Snooze(TListViewEventItem(5, -1), 10); }),
              QStringLiteral("Exception in: \"TEventList.Snooze\"\r\nList index out of bounds (5)"));
    EXPECT_EQ(messageOf([&] { list.Snooze(TListViewEventItem(0, 3), 10); }),
              QStringLiteral("Exception in: \"TEventList.Snooze\"\r\n"
                             "Exception in: \"TEvent.Snooze\"\r\n"
                             "Exception in: \"TEvent.ResetNotificationCount\"\r\n"
                             "List index out of bounds (3)"));
    list.GetEvent(0)->StartDateItem->NotificationCount = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(messageOf([&] { list.GetEvent(0)->IncNotificationCount(startRow); }), QStringLiteral("Integer overflow"));
}

TEST_F(Reminders, DismissMovesTheNextDateIntoTheStartWithItsOwnState)
{
    TEventList list;
    TEvent event = reminderEvent(at(2008, 3, 10, 9, 0));
    event.StartDateItem->NotificationTime = at(2008, 3, 10, 8, 50);
    event.RepeatedDates->AddDate(at(2008, 3, 12, 9, 0), false, at(2008, 3, 12, 8, 50));
    event.RepeatedDates->AddDate(at(2008, 3, 13, 9, 0), false, at(2008, 3, 13, 8, 50));
    list.AddEvent(event);
    list.Modified = false;
    TEvent& stored = *list.GetEvent(0);

    stored.Dismiss(TListViewEventItem(0, 1));
    ASSERT_EQ(stored.RepeatedDates->GetCount(), 1);
    stored.Dismiss(startRow);
    EXPECT_EQ(stored.GetStartDate(), at(2008, 3, 12, 9, 0));
    EXPECT_FALSE(stored.HasRepeatedEvents());
    EXPECT_EQ(expiredRows(list), Rows{}) << "not due until the moved date's own time";
    clock.set(at(2008, 3, 12, 8, 50));
    EXPECT_EQ(expiredRows(list), (Rows{{0, -1}}));
    stored.Dismiss(startRow);
    EXPECT_FALSE(stored.Enabled);
    EXPECT_FALSE(list.Modified) << "an event can't mark its list modified";
}
