#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"

using namespace testing_support;

namespace {

// The arguments of a view, with the defaults of an unfiltered one.
struct Filter {
    QStringList categories{};
    bool useCategories = false;
    TDateTime from = at(2008, 1, 1);
    TDateTime to = at(2008, 12, 31);
    bool showDisabled = false;
    bool showRepeats = true;
    bool low = false, normal = false, high = false, highest = false;
};

// Appends the view's rows to items; gives all rows that items then holds.
Rows view(const TEventList& list, const Filter& f, TListViewEventItems& items)
{
    list.GetEventView(f.categories, f.useCategories, f.from, f.to, f.showDisabled, f.showRepeats, f.low, f.normal,
                      f.high, f.highest, items);
    return rowsOf(items);
}

Rows view(const TEventList& list, const Filter& f)
{
    TListViewEventItems items;
    return view(list, f, items);
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
    // Whole days with both ends included.
    const TDateTime from = at(2008, 5, 1, 10, 0), to = at(2008, 5, 31, 8, 0);
    const QStringList someCategories = {"BIRTHDAYS", "fête"};

    const struct {
        const char* name;
        Filter filter;
        Rows rows;
    } cases[] = {
        // Event order; within an event the start row, then the repeats in the order held.
        {"no filter", {.from = from, .to = to}, {{0, -1}, {0, 0}, {0, 1}, {2, 1}, {3, -1}}},
        {"disabled shown",
         {.from = from, .to = to, .showDisabled = true},
         {{0, -1}, {0, 0}, {0, 1}, {1, -1}, {1, 0}, {2, 1}, {3, -1}}},
        {"no repeats", {.from = from, .to = to, .showRepeats = false}, {{0, -1}, {3, -1}}},
        {"only high", {.from = from, .to = to, .high = true}, {{2, 1}}},
        {"low and highest", {.from = from, .to = to, .low = true, .highest = true}, {{0, -1}, {0, 0}, {0, 1}, {3, -1}}},
        {"categories unused",
         {.categories = someCategories, .from = from, .to = to},
         {{0, -1}, {0, 0}, {0, 1}, {2, 1}, {3, -1}}},
        {"categories ignoring case",
         {.categories = someCategories, .useCategories = true, .from = from, .to = to},
         {{0, -1}, {0, 0}, {0, 1}, {3, -1}}},
        {"a disabled event's category",
         {.categories = {"general"}, .useCategories = true, .from = from, .to = to, .showDisabled = true},
         {{1, -1}, {1, 0}}},
        {"no category ticked", {.useCategories = true, .from = from, .to = to}, {}},
        {"one day", {.from = at(2008, 5, 31, 12, 0), .to = at(2008, 5, 31, 12, 0)}, {{3, -1}}},
        {"from after to", {.from = to, .to = from}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view(list, c.filter), c.rows) << c.name;

    // A view grows until it is cleared.
    TListViewEventItems items;
    const Filter one{.from = at(2008, 6, 1), .to = at(2008, 6, 1)};
    view(list, one, items);
    EXPECT_EQ(view(list, one, items), (Rows{{2, 0}, {5, -1}, {2, 0}, {5, -1}}));
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
    const TListViewEventItem noEvent(5, -1), noDate(1, 0), beforeTheFirst(-1, -1);
    EXPECT_EQ(messageOf([&] { list.GetEventViewDateTime(&noEvent); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (5)2");
    EXPECT_EQ(messageOf([&] { list.GetEventViewDateTime(&noDate); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (0)2");
    EXPECT_EQ(messageOf([&] { list.SetEventViewDateTime(&beforeTheFirst, at(2009, 1, 1)); }),
              "Exception in: \"TEventList.SetEventViewDateTime\"\r\nList index out of bounds (-1)2");
    EXPECT_EQ(list.GetEvent(1)->GetStartDate(), at(2008, 5, 2));
}

TEST(SortEventView, GivesTheExchangeSortsOrder)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1, 10, 0));
    addEvent(list, at(2008, 5, 1, 10, 0));
    addEvent(list, at(2008, 5, 1, 9, 0));
    TListViewEventItems items;
    view(list, {}, items);
    list.SortEventView(items);
    EXPECT_EQ(rowsOf(items), (Rows{{2, -1}, {1, -1}, {0, -1}})) << "the exchanges reverse the equal rows";

    // Many rows with ties and near-ties, against the exchange sort that reads the dates at every comparison.
    std::mt19937 random(7);
    const auto someDate = [&] { return at(2008, 5, 2) + random() % 20 / 24.0 + random() % 3 * 0.6 * OneMillisecond; };
    for (int i = 0; i < 150; ++i)
        addEvent(list, someDate(), {someDate(), someDate()});
    TEventList::ClearEventView(items);
    view(list, {}, items);
    std::shuffle(items.begin(), items.end(), random);
    Rows expected = rowsOf(items);
    const auto dateOf = [&](std::pair<int, int> row) {
        const TListViewEventItem item(row.first, row.second);
        return list.GetEventViewDateTime(&item);
    };
    for (size_t i = 0; i + 1 < expected.size(); ++i)
        for (size_t j = i + 1; j < expected.size(); ++j)
            if (CompareDateTimes(dateOf(expected[i]), dateOf(expected[j])) > 0)
                std::swap(expected[i], expected[j]);
    list.SortEventView(items);
    EXPECT_EQ(rowsOf(items), expected);

    items.push_back(std::make_unique<TListViewEventItem>(0, 4));
    EXPECT_EQ(messageOf([&] { list.SortEventView(items); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (4)153");
}
