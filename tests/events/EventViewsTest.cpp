#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace testing_support;

namespace {

// The arguments of a view, with the defaults of an unfiltered one.
struct Filter {
    QStringList categories{};
    bool useCategories = false;
    TDateTime from = at(2008, 5, 1, 10, 0); // whole days: the times don't count
    TDateTime to = at(2008, 5, 31, 8, 0);
    bool showDisabled = false;
    bool showRepeats = true;
    bool low = false, normal = false, high = false, highest = false;
};

// Appends the view's rows to items and gives all rows that items then holds.
Rows view(const TEventList& list, const Filter& f, TListViewEventItems& items)
{
    list.GetEventView(f.categories, f.useCategories, f.from, f.to, f.showDisabled, f.showRepeats, f.low, f.normal,
                      f.high, f.highest, items);
    return rowsOf(items);
}

void addEvent(TEventList& list, TDateTime start, std::initializer_list<TDateTime> repeats = {},
              const QString& category = "General", TEventImportance importance = eiNormal)
{
    TEvent event;
    event.SetStartDate(start);
    for (const TDateTime date : repeats)
        event.RepeatedDates->AddDate(date, true, 0);
    event.Category = category;
    event.Importance = importance;
    list.AddEvent(event);
}

} // namespace

TEST(GetEventView, CombinesItsFilters)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1), {at(2008, 5, 20), at(2008, 5, 2)}, "Birthdays", eiLow);
    addEvent(list, at(2008, 5, 1), {at(2008, 5, 2)}, "General", eiNormal);
    addEvent(list, at(2008, 4, 1), {at(2008, 6, 1), at(2008, 5, 3)}, "holidays", eiHigh);
    addEvent(list, at(2008, 5, 31, 23, 59), {}, "Fête", eiHighest);
    addEvent(list, at(2008, 4, 30, 23, 59));
    addEvent(list, at(2008, 6, 1));
    list.GetEvent(1)->Enabled = false;
    const QStringList some = {"BIRTHDAYS", "fête"};
    const struct {
        const char* name;
        Filter filter;
        Rows rows;
    } cases[] = {
        // Event order; within an event the start row, then the repeats in the order held.
        {"no filter", {}, {{0, -1}, {0, 0}, {0, 1}, {2, 1}, {3, -1}}},
        {"disabled shown", {.showDisabled = true}, {{0, -1}, {0, 0}, {0, 1}, {1, -1}, {1, 0}, {2, 1}, {3, -1}}},
        {"no repeats", {.showRepeats = false}, {{0, -1}, {3, -1}}},
        {"only high", {.high = true}, {{2, 1}}},
        {"low and highest", {.low = true, .highest = true}, {{0, -1}, {0, 0}, {0, 1}, {3, -1}}},
        {"categories unused", {.categories = some}, {{0, -1}, {0, 0}, {0, 1}, {2, 1}, {3, -1}}},
        {"categories ignoring case", {.categories = some, .useCategories = true}, {{0, -1}, {0, 0}, {0, 1}, {3, -1}}},
        {"a disabled event's category",
         {.categories = {"general"}, .useCategories = true, .showDisabled = true},
         {{1, -1}, {1, 0}}},
        {"no category ticked", {.useCategories = true}, {}},
        {"one day", {.from = at(2008, 6, 1, 12, 0), .to = at(2008, 6, 1, 12, 0)}, {{2, 0}, {5, -1}}},
        {"from after to", {.from = at(2008, 5, 31), .to = at(2008, 5, 1)}, {}},
    };
    for (const auto& c : cases) {
        TListViewEventItems items;
        EXPECT_EQ(view(list, c.filter, items), c.rows) << c.name;
    }

    TListViewEventItems items;
    view(list, {.showRepeats = false}, items);
    EXPECT_EQ(view(list, {.showRepeats = false}, items), (Rows{{0, -1}, {3, -1}, {0, -1}, {3, -1}}))
        << "a view grows until it is cleared";
    TEventList::ClearEventView(items);
    EXPECT_TRUE(items.empty());
}

TEST(EventViewDateTime, ReadsAndWritesTheOccurrenceExactly)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1), {at(2008, 6, 1), at(2008, 7, 1)});
    addEvent(list, at(2008, 5, 2));
    list.Modified = false;
    const TListViewEventItem start(0, -1), second(0, 1);
    EXPECT_EQ(list.GetEventViewDateTime(&second), at(2008, 7, 1));
    EXPECT_EQ(list.GetEventViewDateTime(nullptr), 0.0);
    // Seconds are kept, the dates are not re-sorted and nothing counts as modified.
    list.SetEventViewDateTime(&second, at(2008, 5, 20, 10, 15, 42));
    list.SetEventViewDateTime(&start, at(2008, 8, 1, 9, 0, 30));
    list.SetEventViewDateTime(nullptr, at(2009, 1, 1));
    const TEvent& event = *list.GetEvent(0);
    EXPECT_EQ(event.GetStartDate(), at(2008, 8, 1, 9, 0, 30));
    EXPECT_EQ(event.RepeatedDates->GetItem(0)->DateTime, at(2008, 6, 1));
    EXPECT_EQ(event.RepeatedDates->GetItem(1)->DateTime, at(2008, 5, 20, 10, 15, 42));
    EXPECT_FALSE(list.Modified);

    // Rows naming no occurrence fail with the event count.
    const TListViewEventItem noEvent(5, -1), noDate(1, 0);
    EXPECT_EQ(messageOf([&] { list.GetEventViewDateTime(&noEvent); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (5)2");
    EXPECT_EQ(messageOf([&] { list.SetEventViewDateTime(&noDate, at(2009, 1, 1)); }),
              "Exception in: \"TEventList.SetEventViewDateTime\"\r\nList index out of bounds (0)2");
    EXPECT_EQ(list.GetEvent(1)->GetStartDate(), at(2008, 5, 2));
}

TEST(SortEventView, ExchangesRowsAMillisecondOrMoreApart)
{
    const auto sorted = [](std::initializer_list<TDateTime> starts) {
        TEventList list;
        for (const TDateTime start : starts)
            addEvent(list, start);
        TListViewEventItems items;
        view(list, {.from = at(2008, 5, 1), .to = at(2008, 5, 1)}, items);
        list.SortEventView(items);
        return rowsOf(items);
    };
    const TDateTime ten = at(2008, 5, 1, 10, 0);
    EXPECT_EQ(sorted({ten, ten, at(2008, 5, 1, 9, 0)}), (Rows{{2, -1}, {1, -1}, {0, -1}})) << "equal rows reversed";
    EXPECT_EQ(sorted({ten + 0.9 * OneMillisecond, ten, ten + 3 * OneMillisecond, ten + 1.5 * OneMillisecond}),
              (Rows{{0, -1}, {1, -1}, {3, -1}, {2, -1}}));

    TEventList list;
    addEvent(list, at(2008, 5, 1));
    TListViewEventItems items;
    items.push_back(std::make_unique<TListViewEventItem>(0, -1));
    items.push_back(std::make_unique<TListViewEventItem>(0, 4));
    EXPECT_EQ(messageOf([&] { list.SortEventView(items); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (4)1");
}
