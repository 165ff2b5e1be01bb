#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/ProgramFolder.h"

using namespace testing_support;

TEST(TEvent, CopyKeepsTheDestinationsCountersAndCleansRepeatedDates)
{
    TEvent source;
    source.SetStartDate(at(2008, 3, 10, 14, 0));
    source.StartDateItem->NotificationTime = at(2008, 3, 10, 13, 50);
    source.StartDateItem->NotificationCount = 5;
    source.RepeatedDates->AddDate(at(2008, 3, 17, 10, 15), false, 0);
    source.RepeatedDates->AddDate(at(2008, 3, 17, 10, 15, 30), true, 0);
    source.RepeatedDates->GetItem(0)->DateTime = at(2008, 3, 17, 10, 15, 42); // written directly
    source.Description = "Dentist";
    source.Importance = eiHighest;

    TEvent dest;
    dest.StartDateItem->NotificationCount = 2;
    dest.RepeatedDates->AddDate(at(2009, 1, 1), false, 0);
    TEvent::Copy(source, dest);
    const TDateTimeItem& start = *dest.StartDateItem;
    EXPECT_EQ(std::tuple(start.DateTime, start.NotificationTime, start.NotificationCount),
              std::tuple(at(2008, 3, 10, 14, 0), at(2008, 3, 10, 13, 50), 2));
    ASSERT_EQ(dest.RepeatedDates->GetCount(), 1);
    EXPECT_EQ(dest.RepeatedDates->GetItem(0)->DateTime, at(2008, 3, 17, 10, 15));
    EXPECT_EQ(std::pair(dest.Description, dest.Importance), std::pair(source.Description, eiHighest));
}

TEST(TEvent, AlarmTimesFollowTheTypeAndTheSignedOffset)
{
    TEvent event;
    const TDateTime date = at(2008, 3, 10, 14, 0);
    for (auto [type, param, alarm] : {std::tuple{0, 5, 0.0},
                                      {1, -15, at(2008, 3, 10, 13, 45)},
                                      {2, 3, at(2008, 3, 10, 17, 0)},
                                      {3, 2, at(2008, 3, 12, 14, 0)},
                                      {4, 2, 0.0}}) {
        event.AlarmType = static_cast<std::uint8_t>(type);
        event.AlarmParam = param;
        EXPECT_EQ(event.GetAlarmTime(date), alarm) << type;
        EXPECT_EQ(event.HasReminder(), type != 0) << type;
    }

    event.SetValues(at(2008, 3, 10, 14, 0, 42), true, 30, "Work", "Meeting", 2, -1);
    EXPECT_EQ(event.GetStartDate(), at(2008, 3, 10, 14, 0));
    EXPECT_TRUE(event.UseTime && event.AudioNotify);
    EXPECT_EQ(event.GetAlarmTime(event.GetStartDate()), at(2008, 3, 10, 13, 0));
    EXPECT_EQ(event.StartDateItem->NotificationTime, 0.0) << "SetValues leaves the reminder to the caller";
}

TEST(TEvent, NotificationTimesAreTheAlarmTimeOrNow)
{
    TEvent event;
    event.SetStartDate(at(2008, 3, 10, 14, 0));
    event.RepeatedDates->AddDate(at(2008, 3, 17, 14, 0), false, 0);
    event.AlarmType = 1;
    event.AlarmParam = -10;
    ClockOverride clock(at(2008, 3, 10, 13, 0));
    event.RecalculateNoticationTimes();
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 13, 50));
    EXPECT_EQ(event.RepeatedDates->GetItem(0)->NotificationTime, at(2008, 3, 17, 13, 50));
    clock.set(at(2008, 3, 10, 15, 0));
    event.RecalculateNoticationTimes();
    EXPECT_EQ(event.StartDateItem->NotificationTime, at(2008, 3, 10, 15, 0)) << "a passed alarm is due now";

    // Enabling recalculates only when it changes something.
    event.StartDateItem->NotificationCount = 4;
    event.SetEnabled(true);
    EXPECT_EQ(event.StartDateItem->NotificationCount, 4);
    event.SetEnabled(false);
    EXPECT_EQ(event.StartDateItem->NotificationCount, 0);
    event.AlarmType = 0;
    event.SetEnabled(true);
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

TEST(TEvent, FilesLieBesideTheProgramAndImportanceOrdersHighestFirst)
{
    TEvent event;
    EXPECT_EQ(event.GetAlarmSoundFile(), QString());
    event.AlarmSound = "chime";
    EXPECT_EQ(event.GetAlarmSoundFile(), programFolder() + "chime.wav");
    EXPECT_EQ(GetTmpFolder(), programFolder() + "tmp/");

    EXPECT_EQ(CompareImportance(eiHighest, eiLow), -1);
    EXPECT_EQ(CompareImportance(eiLow, eiHigh), 1);
    EXPECT_EQ(CompareImportance(eiHigh, eiHigh), 0);
    event.Importance = eiHighest;
    EXPECT_EQ(event.GetImportanceText(), "Highest");
}
