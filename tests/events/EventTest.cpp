#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/Event.h"
#include "events/EventList.h"
#include "platform/ProgramFolder.h"

using testing_support::at;
using testing_support::ClockOverride;

TEST(TEvent, ANewEventHasTheDefaults)
{
    TEvent event;
    EXPECT_TRUE(event.Enabled);
    EXPECT_EQ(event.Importance, eiNormal);
    EXPECT_FALSE(event.HasReminder());
    EXPECT_EQ(event.GetStartDate(), 0.0);
    EXPECT_FALSE(event.HasRepeatedEvents());
    EXPECT_EQ(event.AfterReminderJob, arDoNothing);
    EXPECT_FALSE(event.PopUpNotify || event.AudioNotify || event.ExecuteFile || event.ShowOnCalendar);
}

TEST(TEvent, CopyKeepsTheDestinationsStartCountersAndCleansRepeatedDates)
{
    TEvent source;
    source.SetStartDate(at(2008, 3, 10, 14, 0));
    source.StartDateItem->NotificationTime = at(2008, 3, 10, 13, 50);
    source.StartDateItem->NotificationCount = 5;
    source.RepeatedDates->AddDate(at(2008, 3, 17, 10, 15), false, 0);
    source.RepeatedDates->AddDate(at(2008, 3, 17, 10, 15, 30), true, 0);
    source.RepeatedDates->GetItem(0)->DateTime = at(2008, 3, 17, 10, 15, 42); // written directly
    source.Description = QStringLiteral("Dentist");
    source.CmdsToExecute = QStringLiteral("echo hi");
    source.Importance = eiHighest;

    TEvent dest;
    dest.StartDateItem->NotificationCount = 2;
    dest.StartDateItem->ExecuteCount = 1;
    TDateTimeList* oldList = dest.RepeatedDates.get();
    TEvent::Copy(source, dest);

    EXPECT_EQ(dest.GetStartDate(), at(2008, 3, 10, 14, 0));
    EXPECT_EQ(dest.StartDateItem->NotificationTime, at(2008, 3, 10, 13, 50));
    EXPECT_EQ(dest.StartDateItem->NotificationCount, 2);
    EXPECT_EQ(dest.StartDateItem->ExecuteCount, 1);
    EXPECT_NE(dest.RepeatedDates.get(), oldList);
    ASSERT_EQ(dest.RepeatedDates->GetCount(), 1);
    EXPECT_EQ(dest.RepeatedDates->GetItem(0)->DateTime, at(2008, 3, 17, 10, 15));
    EXPECT_EQ(dest.Description, source.Description);
    EXPECT_EQ(dest.CmdsToExecute, source.CmdsToExecute);
    EXPECT_EQ(dest.Importance, eiHighest);
}

TEST(TEvent, SetEnabledRecalculatesOnlyOnAChange)
{
    ClockOverride clock(at(2008, 3, 10, 13, 0));
    TEvent event;
    event.SetStartDate(at(2008, 3, 10, 14, 0));
    event.AlarmType = 1;
    event.AlarmParam = -10;
    event.StartDateItem->NotificationCount = 4;
    event.SetEnabled(true);
    EXPECT_EQ(event.StartDateItem->NotificationCount, 4);
    EXPECT_EQ(event.StartDateItem->NotificationTime, 0.0);

    event.SetEnabled(false);
    EXPECT_EQ(event.StartDateItem->NotificationCount, 0);
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 13, 50));
}

TEST(TEvent, AlarmTimesFollowTypeAndSignedOffset)
{
    TEvent event;
    const TDateTime date = at(2008, 3, 10, 14, 0);
    EXPECT_EQ(event.GetAlarmTime(date), 0.0);
    event.AlarmType = 1;
    event.AlarmParam = -15;
    EXPECT_EQ(event.GetAlarmTime(date), at(2008, 3, 10, 13, 45));
    event.AlarmType = 2;
    event.AlarmParam = 3;
    EXPECT_EQ(event.GetAlarmTime(date), at(2008, 3, 10, 17, 0));
    event.AlarmType = 3;
    event.AlarmParam = 2;
    EXPECT_EQ(event.GetAlarmTime(date), at(2008, 3, 12, 14, 0));
    event.AlarmType = 4;
    EXPECT_TRUE(event.HasReminder());
    EXPECT_EQ(event.GetAlarmTime(date), 0.0);
}

TEST(TEvent, NotificationTimesAreTheAlarmTimeOrNow)
{
    TEvent event;
    event.SetStartDate(at(2008, 3, 10, 14, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 17, 14, 0), false, 0);
    event.AlarmType = 1;
    event.AlarmParam = -10;
    {
        ClockOverride clock(at(2008, 3, 10, 13, 0));
        event.RecalculateNoticationTimes();
        EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 13, 50));
        EXPECT_EQ(event.RepeatedDates->GetItem(0)->NotificationTime, at(2008, 3, 17, 13, 50));
    }
    ClockOverride clock(at(2008, 3, 10, 15, 0));
    event.RecalculateNoticationTimes();
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 15, 0));

    event.AlarmType = 0;
    event.RecalculateNoticationTimes();
    EXPECT_EQ(event.RepeatedDates->GetItem(0)->NotificationTime, at(2008, 3, 10, 15, 0));
}

TEST(TEvent, WillFallOnDateLooksAtRepeatsOnlyAfterTheStart)
{
    TEvent event;
    event.SetStartDate(at(2008, 3, 10, 14, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 17, 9, 0), false, 0);
    event.RepeatedDates->AddDate(at(2008, 3, 1, 9, 0), false, 0);
    bool isRepeat = true;
    EXPECT_TRUE(event.WillFallOnDate(at(2008, 3, 10, 1, 0), isRepeat));
    EXPECT_FALSE(isRepeat);
    EXPECT_TRUE(event.WillFallOnDate(at(2008, 3, 17), isRepeat));
    EXPECT_TRUE(isRepeat);
    EXPECT_FALSE(event.WillFallOnDate(at(2008, 3, 11), isRepeat));
    EXPECT_FALSE(event.WillFallOnDate(at(2008, 3, 1), isRepeat)); // before the start: never found
    event.Enabled = false;
    EXPECT_FALSE(event.WillFallOnDate(at(2008, 3, 10), isRepeat));
    EXPECT_FALSE(isRepeat);
}

TEST(TEvent, SetValuesCutsTheStartAndTurnsTheSoundOn)
{
    TEvent event;
    event.SetValues(at(2008, 3, 10, 14, 0, 42), true, 30, QStringLiteral("Work"), QStringLiteral("Meeting"), 2, -1);
    EXPECT_EQ(event.GetStartDate(), at(2008, 3, 10, 14, 0));
    EXPECT_TRUE(event.UseTime && event.AudioNotify);
    EXPECT_EQ(event.Duration, 30u);
    EXPECT_EQ(event.GetAlarmTime(event.GetStartDate()), at(2008, 3, 10, 13, 0));
    EXPECT_EQ(event.StartDateItem->NotificationTime, 0.0);
}

TEST(TEvent, FileNamesBesideTheProgram)
{
    TEvent event;
    EXPECT_EQ(event.GetAlarmSoundFile(), QString());
    event.AlarmSound = QStringLiteral("chime");
    EXPECT_EQ(event.GetAlarmSoundFile(), programFolder() + QStringLiteral("chime.wav"));
    EXPECT_EQ(GetTmpFolder(), programFolder() + QStringLiteral("tmp/"));
    EXPECT_TRUE(programFolder().endsWith(QLatin1Char('/')));
}

TEST(TEvent, ImportanceOrderAndText)
{
    EXPECT_EQ(CompareImportance(eiHighest, eiLow), -1);
    EXPECT_EQ(CompareImportance(eiLow, eiHigh), 1);
    EXPECT_EQ(CompareImportance(eiHigh, eiHigh), 0);
    TEvent event;
    event.Importance = eiHighest;
    EXPECT_EQ(event.GetImportanceText(), QStringLiteral("Highest"));
}
