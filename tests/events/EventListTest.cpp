#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace testing_support;

namespace {

TEvent eventAt(TDateTime start, const QString& description = "e")
{
    TEvent event;
    event.SetStartDate(start);
    event.Description = description;
    return event;
}

} // namespace

TEST(TEventList, HoldsCopiesOfEventsAndCategoriesUniqueIgnoringCase)
{
    TEventList list;
    TEvent event = eventAt(at(2008, 5, 1), "Dentist");
    EXPECT_EQ(list.AddEvent(event), 0);
    EXPECT_TRUE(list.Modified);
    event.Description = "changed";
    EXPECT_EQ(list.GetEvent(0)->Description, "Dentist");
    EXPECT_EQ(list.GetEvent(1), nullptr);
    EXPECT_TRUE(list.HasEventWithDescription(eventAt(0, "Dentist")));
    EXPECT_FALSE(list.HasEventWithDescription(eventAt(0, "dentist")));

    EXPECT_EQ(list.AddCategory("General"), 0);
    EXPECT_EQ(list.AddCategory("Birthdays"), 1);
    list.Modified = false;
    EXPECT_EQ(list.AddCategory("gENERAL"), 0);
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(list.Categories, QStringList({"General", "Birthdays"}));
}

TEST(TEventList, DeletingAnOccurrenceMovesTheNextDateIntoTheStart)
{
    TEventList list;
    TEvent event = eventAt(at(2008, 4, 1));
    event.RepeatedDates->AddDate(at(2008, 5, 1), false, at(2008, 4, 30));
    event.RepeatedDates->AddDate(at(2008, 6, 1), false, 0);
    list.AddEvent(event);
    list.AddEvent(eventAt(at(2008, 4, 2)));
    TEvent* stored = list.GetEvent(0);
    stored->RepeatedDates->GetItem(0)->NotificationCount = 2;

    list.DeleteOccurrence(TListViewEventItem(0, -1));
    const TDateTimeItem& start = *stored->StartDateItem;
    EXPECT_EQ(std::tuple(start.DateTime, start.NotificationTime, start.NotificationCount),
              std::tuple(at(2008, 5, 1), at(2008, 4, 30), 2));
    ASSERT_EQ(stored->RepeatedDates->GetCount(), 1);
    EXPECT_EQ(stored->RepeatedDates->GetItem(0)->DateTime, at(2008, 6, 1));
    list.DeleteOccurrence(TListViewEventItem(0, 0));
    EXPECT_FALSE(stored->HasRepeatedEvents());
    list.DeleteOccurrence(TListViewEventItem(0, -1));
    ASSERT_EQ(list.Count(), 1);

    list.Dissmiss(TListViewEventItem(0, -1));
    EXPECT_FALSE(list.GetEvent(0)->Enabled) << "dismissing the last occurrence disables the event";
    list.DeleteEvent(0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TEventList, RowsNamingNoOccurrenceChangeNothing)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 4, 1)));
    // A row past the events only marks the list modified.
    for (const auto& change : std::initializer_list<std::function<void()>>{[&] { list.DeleteEvent(1); },
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
    EXPECT_FALSE(list.Modified);
    EXPECT_THROW(list.Dissmiss({0, 0}), QuilletError);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.GetEvent(0)->Enabled);
}

TEST(TEventList, CalendarMarksNeedShownEnabledEvents)
{
    TEventList list;
    TEvent event = eventAt(at(2008, 4, 1, 9, 0));
    list.AddEvent(event); // not shown on the calendar
    event.ShowOnCalendar = true;
    event.Enabled = false;
    list.AddEvent(event);
    EXPECT_FALSE(list.DateHasEventForCalendar(at(2008, 4, 1)));
    event.Enabled = true;
    event.RepeatedDates->AddDate(at(2008, 4, 8), false, 0);
    list.AddEvent(event);
    EXPECT_TRUE(list.DateHasEventForCalendar(at(2008, 4, 1)));
    EXPECT_TRUE(list.DateHasEventForCalendar(at(2008, 4, 8, 23, 0)));
    EXPECT_FALSE(list.DateHasEventForCalendar(at(2008, 4, 2)));
}
