#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace testing_support;

namespace {

TEvent eventAt(TDateTime start, std::initializer_list<TDateTime> repeats = {})
{
    TEvent event;
    event.SetStartDate(start);
    for (TDateTime date : repeats)
        event.RepeatedDates->AddDate(date, false, 0);
    return event;
}

} // namespace

TEST(TEvent, CopyKeepsTheDestinationsCountersAndCleansRepeatedDates)
{
    TEvent source = eventAt(at(2008, 3, 10, 14, 0), {at(2008, 3, 17, 10, 15)});
    source.RepeatedDates->AddDate(at(2008, 3, 17, 10, 15, 30), true, 0);
    source.RepeatedDates->GetItem(0)->DateTime = at(2008, 3, 17, 10, 15, 42); // written directly
    source.RepeatedDates->GetItem(0)->NotificationCount = 3;
    source.StartDateItem->NotificationTime = at(2008, 3, 10, 13, 50);
    source.StartDateItem->NotificationCount = 5;
    source.Description = "Dentist";
    TEvent dest = eventAt(0, {at(2009, 1, 1)});
    dest.StartDateItem->NotificationCount = 2;
    TEvent::Copy(source, dest);
    const TDateTimeItem& start = *dest.StartDateItem;
    EXPECT_EQ(std::tuple(start.DateTime, start.NotificationTime, start.NotificationCount, dest.Description),
              std::tuple(at(2008, 3, 10, 14, 0), at(2008, 3, 10, 13, 50), 2, source.Description));
    ASSERT_EQ(dest.RepeatedDates->GetCount(), 1);
    const TDateTimeItem& repeat = *dest.RepeatedDates->GetItem(0);
    EXPECT_EQ(std::pair(repeat.DateTime, repeat.NotificationCount), std::pair(at(2008, 3, 17, 10, 15), 0));
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
    event.SetValues(at(2008, 3, 10, 14, 0, 42), true, 30, "Work", "Meeting", 2, -1);
    EXPECT_EQ(std::tuple(event.GetStartDate(), event.UseTime, event.AudioNotify, event.StartDateItem->NotificationTime),
              std::tuple(at(2008, 3, 10, 14, 0), true, true, 0.0));
    EXPECT_EQ(event.GetAlarmTime(event.GetStartDate()), at(2008, 3, 10, 13, 0));
    EXPECT_EQ(std::tuple(CompareImportance(eiHighest, eiLow), CompareImportance(eiLow, eiHigh),
                         CompareImportance(eiHigh, eiHigh)),
              std::tuple(-1, 1, 0));
}

TEST(TEvent, NotificationTimesAreTheAlarmTimeOrNow)
{
    TEvent event = eventAt(at(2008, 3, 10, 14, 0), {at(2008, 3, 17, 14, 0)});
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

TEST(TEventList, HoldsCopiesOfEventsAndCategoriesUniqueIgnoringCase)
{
    TEventList list;
    TEvent event = eventAt(at(2008, 5, 1));
    event.Description = "Dentist";
    EXPECT_EQ(list.AddEvent(event), 0);
    EXPECT_TRUE(list.Modified);
    EXPECT_TRUE(list.HasEventWithDescription(event));
    event.Description = "dentist";
    EXPECT_EQ(std::pair(list.GetEvent(0)->Description, list.GetEvent(1)),
              std::pair(QString("Dentist"), static_cast<TEvent*>(nullptr)));
    EXPECT_FALSE(list.HasEventWithDescription(event));
    list.AddCategory("General");
    list.Modified = false;
    EXPECT_EQ(std::pair(list.AddCategory("Birthdays"), list.AddCategory("gENERAL")), std::pair(1, 0));
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(list.Categories, QStringList({"General", "Birthdays"}));
}

TEST(TEventList, DeletingAnOccurrenceMovesTheNextDateIntoTheStart)
{
    TEventList list;
    TEvent& stored = *list.GetEvent(list.AddEvent(eventAt(at(2008, 4, 1), {at(2008, 5, 1), at(2008, 6, 1)})));
    stored.RepeatedDates->GetItem(0)->NotificationTime = at(2008, 4, 30);
    stored.RepeatedDates->GetItem(0)->NotificationCount = 2;
    list.DeleteOccurrence({0, -1});
    const TDateTimeItem& start = *stored.StartDateItem;
    EXPECT_EQ(std::tuple(start.DateTime, start.NotificationTime, start.NotificationCount),
              std::tuple(at(2008, 5, 1), at(2008, 4, 30), 2));
    ASSERT_EQ(stored.RepeatedDates->GetCount(), 1);
    list.DeleteOccurrence({0, 0});
    EXPECT_FALSE(stored.HasRepeatedEvents());
    list.Dissmiss({0, -1});
    EXPECT_FALSE(stored.Enabled) << "dismissing the last occurrence disables the event";
    list.DeleteOccurrence({0, -1});
    EXPECT_EQ(list.Count(), 0);
}

TEST(TEventList, RowsNamingNoOccurrenceChangeNothing)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 4, 1)));
    // A row past the events only marks the list modified.
    for (const auto& change : std::vector<std::function<void()>>{[&] { list.DeleteEvent(1); },
                                                                 [&] {
                                                                     list.DeleteOccurrence({5, -1});
                                                                 },
                                                                 [&] {
                                                                     list.Dissmiss({-1, 0});
                                                                 }}) {
        list.Modified = false;
        change();
        EXPECT_TRUE(list.Modified);
    }
    EXPECT_THROW(list.DeleteEvent(-1), EListError);
    list.Modified = false;
    EXPECT_EQ(messageOf([&] {
                  list.DeleteOccurrence({0, 3});
              }),
              "Exception in: \"TEventList.DeleteOccurrence\"\r\nList index out of bounds (3)");
    EXPECT_THROW(list.Dissmiss({0, 0}), QuilletError);
    EXPECT_FALSE(list.Modified);
    EXPECT_TRUE(list.Count() == 1 && list.GetEvent(0)->Enabled);
}

TEST(TEventList, CalendarMarksNeedShownEnabledEvents)
{
    TEventList list;
    TEvent event = eventAt(at(2008, 4, 1, 9, 0), {at(2008, 3, 25)}); // a repeat before the start never counts
    list.AddEvent(event);                                            // not shown on the calendar
    event.ShowOnCalendar = true;
    event.Enabled = false;
    list.AddEvent(event);
    EXPECT_FALSE(list.DateHasEventForCalendar(at(2008, 4, 1)));
    event.Enabled = true;
    event.RepeatedDates->AddDate(at(2008, 4, 8), false, 0);
    list.AddEvent(event);
    EXPECT_TRUE(list.DateHasEventForCalendar(at(2008, 4, 1)));
    EXPECT_TRUE(list.DateHasEventForCalendar(at(2008, 4, 8, 23, 0)));
    EXPECT_FALSE(list.DateHasEventForCalendar(at(2008, 4, 2)) || list.DateHasEventForCalendar(at(2008, 3, 25)));
}
