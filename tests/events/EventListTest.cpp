#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

using testing_support::at;

namespace {

TEvent eventAt(TDateTime start, const QString& description = QStringLiteral("e"))
{
    TEvent event;
    event.SetStartDate(start);
    event.Description = description;
    return event;
}

} // namespace

TEST(TEventList, HoldsCopiesOfTheEventsAddedToIt)
{
    TEventList list;
    EXPECT_FALSE(list.Modified);
    TEvent event = eventAt(at(2008, 5, 1), QStringLiteral("first"));
    EXPECT_EQ(list.AddEvent(event), 0);
    EXPECT_TRUE(list.Modified);
    event.Description = QStringLiteral("changed");
    EXPECT_EQ(list.GetEvent(0)->Description, QStringLiteral("first"));
    EXPECT_EQ(list.AddEvent(event), 1);
    EXPECT_EQ(list.GetEvent(-1), nullptr);
    EXPECT_EQ(list.GetEvent(list.Count()), nullptr);
}

TEST(TEventList, CategoriesAreUniqueIgnoringCase)
{
    TEventList list;
    EXPECT_EQ(list.AddCategory(QStringLiteral("General")), 0);
    EXPECT_EQ(list.AddCategory(QStringLiteral("Birthdays")), 1);
    list.Modified = false;
    EXPECT_EQ(list.AddCategory(QStringLiteral("gENERAL")), 0);
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(list.Categories, QStringList({QStringLiteral("General"), QStringLiteral("Birthdays")}));
}

TEST(TEventList, DeleteEventPastTheEndOnlyMarksModified)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 5, 1)));
    list.Modified = false;
    list.DeleteEvent(1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Modified);
    EXPECT_THROW(list.DeleteEvent(-1), EListError);
    list.DeleteEvent(0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TEventList, DeleteOccurrenceMovesTheNextDateIntoTheStart)
{
    TEventList list;
    TEvent event = eventAt(at(2008, 4, 1));
    event.RepeatedDates->AddDate(at(2008, 5, 1), false, at(2008, 4, 30));
    event.RepeatedDates->AddDate(at(2008, 6, 1), false, 0);
    list.AddEvent(event);
    list.GetEvent(0)->RepeatedDates->GetItem(0)->NotificationCount = 2;

    list.DeleteOccurrence(TListViewEventItem(0, -1));
    TEvent* stored = list.GetEvent(0);
    EXPECT_EQ(stored->GetStartDate(), at(2008, 5, 1));
    EXPECT_EQ(stored->StartDateItem->NotificationTime, at(2008, 4, 30));
    EXPECT_EQ(stored->StartDateItem->NotificationCount, 2);
    ASSERT_EQ(stored->RepeatedDates->GetCount(), 1);
    EXPECT_EQ(stored->RepeatedDates->GetItem(0)->DateTime, at(2008, 6, 1));

    list.DeleteOccurrence(TListViewEventItem(0, 0));
    EXPECT_FALSE(stored->HasRepeatedEvents());
    list.DeleteOccurrence(TListViewEventItem(0, -1));
    EXPECT_EQ(list.Count(), 0);
}

TEST(TEventList, DismissingTheLastOccurrenceDisablesTheEvent)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 4, 1)));
    list.Dissmiss(TListViewEventItem(0, -1));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.GetEvent(0)->Enabled);
}

TEST(TEventList, RowsNamingNoEventChangeNothingButMarkModified)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 4, 1)));
    list.Modified = false;
    list.DeleteOccurrence(TListViewEventItem(5, -1));
    EXPECT_TRUE(list.Modified);
    list.Modified = false;
    list.Dissmiss(TListViewEventItem(-1, 0));
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(list.Count(), 1);
}

TEST(TEventList, ABadRepeatedRowIsReportedWithTheWrapperText)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 4, 1)));
    list.Modified = false;
    try {
        list.DeleteOccurrence(TListViewEventItem(0, 3));
        ADD_FAILURE();
    } catch (const QuilletError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Exception in: \"TEventList.DeleteOccurrence\"\r\nList index out of bounds (3)"));
    }
    EXPECT_FALSE(list.Modified);
    EXPECT_THROW(list.Dissmiss(TListViewEventItem(0, 0)), QuilletError);
}

TEST(TEventList, CalendarMarksNeedShownEnabledEvents)
{
    TEventList list;
    TEvent hidden = eventAt(at(2008, 4, 1, 9, 0));
    list.AddEvent(hidden);
    TEvent disabled = eventAt(at(2008, 4, 1, 9, 0));
    disabled.ShowOnCalendar = true;
    disabled.Enabled = false;
    list.AddEvent(disabled);
    EXPECT_FALSE(list.DateHasEventForCalendar(at(2008, 4, 1)));
    TEvent shown = eventAt(at(2008, 4, 1, 9, 0));
    shown.ShowOnCalendar = true;
    shown.RepeatedDates->AddDate(at(2008, 4, 8), false, 0);
    list.AddEvent(shown);
    EXPECT_TRUE(list.DateHasEventForCalendar(at(2008, 4, 1)));
    EXPECT_TRUE(list.DateHasEventForCalendar(at(2008, 4, 8, 23, 0)));
    EXPECT_FALSE(list.DateHasEventForCalendar(at(2008, 4, 2)));
}

TEST(TEventList, DescriptionsCompareExactly)
{
    TEventList list;
    list.AddEvent(eventAt(at(2008, 4, 1), QStringLiteral("Dentist")));
    EXPECT_TRUE(list.HasEventWithDescription(eventAt(0, QStringLiteral("Dentist"))));
    EXPECT_FALSE(list.HasEventWithDescription(eventAt(0, QStringLiteral("dentist"))));
}
