#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace testing_support;

TEST(TEvent, CopyKeepsTheDestinationsCountersAndCleansRepeatedDates)
{
    TEventList list;
    TEvent& source = addEvent(list, at(2008, 3, 10, 14, 0), {at(2008, 3, 17, 10, 15), at(2008, 3, 18)});
    TDateTimeItem& repeat = *source.RepeatedDates->GetItem(0);
    repeat.DateTime = at(2008, 3, 18, 0, 0, 42); // written directly: seconds, and the minute of the next date
    repeat.NotificationCount = 3;
    source.StartDateItem->NotificationTime = at(2008, 3, 10, 13, 50);
    TEvent& dest = addEvent(list, 0, {at(2009, 1, 1)});
    dest.StartDateItem->NotificationCount = 2;
    TEvent::Copy(source, dest);
    const TDateTimeItem& start = *dest.StartDateItem;
    EXPECT_EQ(std::tuple(start.DateTime, start.NotificationTime, start.NotificationCount),
              std::tuple(at(2008, 3, 10, 14, 0), at(2008, 3, 10, 13, 50), 2));
    ASSERT_EQ(dest.RepeatedDates->GetCount(), 1);
    const TDateTimeItem& copied = *dest.RepeatedDates->GetItem(0);
    EXPECT_EQ(std::pair(copied.DateTime, copied.NotificationCount), std::pair(at(2008, 3, 18), 0));
}

TEST(TEvent, AlarmTimesFollowTheTypeAndTheSignedOffset)
{
    TEvent event;
    for (auto [type, param, alarm] : {std::tuple{0, 5, 0.0},
                                      {1, -15, at(2008, 3, 10, 13, 45)},
                                      {2, 3, at(2008, 3, 10, 17, 0)},
                                      {3, 2, at(2008, 3, 12, 14, 0)},
                                      {4, 2, 0.0}}) {
        event.AlarmType = static_cast<std::uint8_t>(type);
        event.AlarmParam = param;
        EXPECT_EQ(event.GetAlarmTime(at(2008, 3, 10, 14, 0)), alarm) << type;
        EXPECT_EQ(event.HasReminder(), type != 0) << type;
    }
}

TEST(TEvent, EnablingRecalculatesTheRemindersOnlyWhenItChangesSomething)
{
    ClockOverride clock(at(2008, 3, 10, 13, 0));
    TEventList list;
    TEvent& event = addEvent(list, at(2008, 3, 10, 14, 0), {at(2008, 3, 9)});
    event.AlarmType = 1;
    event.AlarmParam = -10;
    event.StartDateItem->NotificationCount = 4;
    const TDateTimeItem& start = *event.StartDateItem;
    event.SetEnabled(true);
    EXPECT_EQ(std::pair(start.NotificationCount, start.NotificationTime), std::pair(4, 0.0));
    event.SetEnabled(false);
    EXPECT_EQ(std::pair(start.NotificationCount, start.NotificationTime), std::pair(0, at(2008, 3, 10, 13, 50)));
    EXPECT_EQ(event.RepeatedDates->GetItem(0)->NotificationTime, Now()) << "a passed alarm is due now";
}

TEST(TEventList, DeletingOrDismissingEndsTheOccurrenceOfTheRow)
{
    TEventList list;
    TEvent& stored = addEvent(list, at(2008, 4, 1), {at(2008, 5, 1)});
    list.Modified = false;
    list.DeleteOccurrence({5, -1});
    EXPECT_TRUE(list.Modified) << "a row past the events only marks the list modified";
    EXPECT_THROW(list.DeleteEvent(-1), EListError);
    list.Modified = false;
    EXPECT_EQ(messageOf([&] { list.DeleteOccurrence(TListViewEventItem(0, 3)); }),
              "Exception in: \"TEventList.DeleteOccurrence\"\r\nList index out of bounds (3)");
    EXPECT_FALSE(list.Modified);
    list.DeleteOccurrence({0, -1});
    EXPECT_EQ(std::pair(stored.GetStartDate(), stored.HasRepeatedEvents()), std::pair(at(2008, 5, 1), false))
        << "the next date moved into the start";
    EXPECT_THROW(list.Dissmiss({0, 0}), QuilletError);
    list.Dissmiss({0, -1});
    EXPECT_FALSE(stored.Enabled) << "dismissing the last occurrence disables the event";
    list.DeleteOccurrence({0, -1});
    EXPECT_EQ(list.Count(), 0) << "deleting it deletes the event";
}
