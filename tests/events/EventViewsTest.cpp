#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

#include <random>
#include <utility>
#include <vector>

using testing_support::at;

namespace {

using Rows = std::vector<std::pair<int, int>>; // (EventIndex, DateIndex) of each row

Rows rowsOf(const TListViewEventItems &items)
{
    Rows rows;
    for (const auto &item : items)
        rows.emplace_back(item->EventIndex, item->DateIndex);
    return rows;
}

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

void appendView(const TEventList &list, const Filter &f, TListViewEventItems &items)
{
    list.GetEventView(f.categories, f.useCategories, f.from, f.to, f.showDisabled, f.showRepeats, f.low, f.normal,
                      f.high, f.highest, items);
}

Rows view(const TEventList &list, const Filter &f)
{
    TListViewEventItems items;
    appendView(list, f, items);
    return rowsOf(items);
}

int addEvent(TEventList &list, TDateTime start, std::initializer_list<TDateTime> repeats = {},
             const QString &category = QStringLiteral("General"), TEventImportance importance = eiNormal)
{
    TEvent event;
    event.SetStartDate(start);
    for (const TDateTime date : repeats)
        event.RepeatedDates->AddDate(date, true, 0);
    event.Category = category;
    event.Importance = importance;
    return list.AddEvent(event);
}

QString messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const QuilletError &error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST(GetEventView, TakesWholeDaysWithBothEndsIncluded)
{
    TEventList list;
    addEvent(list, at(2008, 3, 9, 23, 59));
    addEvent(list, at(2008, 3, 10, 0, 0));
    addEvent(list, at(2008, 3, 12, 23, 59, 59, 999));
    addEvent(list, at(2008, 3, 13, 0, 0));
    addEvent(list, at(2008, 3, 10, 23, 59));

    Filter f;
    f.from = at(2008, 3, 10, 15, 0);
    f.to = at(2008, 3, 12, 8, 0);
    EXPECT_EQ(view(list, f), Rows({{1, -1}, {2, -1}, {4, -1}}));

    f.from = f.to = at(2008, 3, 10, 12, 30);
    EXPECT_EQ(view(list, f), Rows({{1, -1}, {4, -1}}));

    f.from = at(2008, 3, 12);
    f.to = at(2008, 3, 10);
    EXPECT_EQ(view(list, f), Rows());
}

TEST(GetEventView, CombinesItsFilters)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1), {at(2008, 5, 20), at(2008, 5, 2)}, QStringLiteral("Birthdays"), eiLow);
    addEvent(list, at(2008, 5, 1), {at(2008, 5, 2)}, QStringLiteral("General"), eiNormal);
    addEvent(list, at(2008, 4, 1), {at(2008, 6, 1), at(2008, 5, 3)}, QStringLiteral("holidays"), eiHigh);
    addEvent(list, at(2008, 5, 31, 23, 59), {}, QStringLiteral("Fête"), eiHighest);
    list.GetEvent(1)->Enabled = false;
    const TDateTime from = at(2008, 5, 1, 10, 0);
    const TDateTime to = at(2008, 5, 31, 8, 0);
    const QStringList someCategories = {QStringLiteral("BIRTHDAYS"), QStringLiteral("fête")};

    const struct {
        const char *name;
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
         {.categories = {QStringLiteral("general")},
          .useCategories = true,
          .from = from,
          .to = to,
          .showDisabled = true},
         {{1, -1}, {1, 0}}},
        {"no category ticked", {.useCategories = true, .from = from, .to = to}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(view(list, c.filter), c.rows);
    }
}

TEST(GetEventView, AppendsToTheRowsAlreadyThereUntilCleared)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1));
    TListViewEventItems items;
    TEventList::ClearEventView(items);
    EXPECT_TRUE(items.empty());

    appendView(list, Filter(), items);
    appendView(list, Filter(), items);
    EXPECT_EQ(rowsOf(items), Rows({{0, -1}, {0, -1}}));
    EXPECT_NE(items[0].get(), items[1].get());

    TEventList::ClearEventView(items);
    EXPECT_TRUE(items.empty());
}

TEST(EventViewDateTime, ReadsAndWritesTheOccurrenceExactly)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1), {at(2008, 6, 1), at(2008, 7, 1)});
    list.Modified = false;
    const TListViewEventItem start(0, -1);
    const TListViewEventItem second(0, 1);

    EXPECT_EQ(list.GetEventViewDateTime(&start), at(2008, 5, 1));
    EXPECT_EQ(list.GetEventViewDateTime(&second), at(2008, 7, 1));
    EXPECT_EQ(list.GetEventViewDateTime(nullptr), 0.0);

    // Seconds are kept, the dates are not re-sorted and nothing counts as modified.
    list.SetEventViewDateTime(&second, at(2008, 5, 20, 10, 15, 42));
    list.SetEventViewDateTime(&start, at(2008, 8, 1, 9, 0, 30));
    list.SetEventViewDateTime(nullptr, at(2009, 1, 1));
    const TEvent *event = list.GetEvent(0);
    EXPECT_EQ(event->GetStartDate(), at(2008, 8, 1, 9, 0, 30));
    EXPECT_EQ(event->RepeatedDates->GetItem(0)->DateTime, at(2008, 6, 1));
    EXPECT_EQ(event->RepeatedDates->GetItem(1)->DateTime, at(2008, 5, 20, 10, 15, 42));
    EXPECT_FALSE(list.Modified);
}

TEST(EventViewDateTime, RowsNamingNoOccurrenceFailWithTheEventCount)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1), {at(2008, 6, 1)});
    addEvent(list, at(2008, 5, 2));
    const TListViewEventItem noEvent(5, -1);
    const TListViewEventItem noDate(1, 0);

    EXPECT_EQ(messageOf([&] { list.GetEventViewDateTime(&noEvent); }),
              QStringLiteral("Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (5)2"));
    EXPECT_EQ(messageOf([&] { list.GetEventViewDateTime(&noDate); }),
              QStringLiteral("Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (0)2"));
    EXPECT_EQ(messageOf([&] { list.SetEventViewDateTime(&noDate, at(2009, 1, 1)); }),
              QStringLiteral("Exception in: \"TEventList.SetEventViewDateTime\"\r\nList index out of bounds (0)2"));
    const TListViewEventItem beforeTheFirst(-1, -1);
    EXPECT_EQ(messageOf([&] { list.SetEventViewDateTime(&beforeTheFirst, at(2009, 1, 1)); }),
              QStringLiteral("Exception in: \"TEventList.SetEventViewDateTime\"\r\nList index out of bounds (-1)2"));
    EXPECT_EQ(list.GetEvent(0)->GetStartDate(), at(2008, 5, 1));
    EXPECT_EQ(list.GetEvent(1)->GetStartDate(), at(2008, 5, 2));
}

TEST(SortEventView, ExchangesEqualRowsAsTheExchangeSortDoes)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1, 10, 0));
    addEvent(list, at(2008, 5, 1, 10, 0));
    addEvent(list, at(2008, 5, 1, 9, 0));
    TListViewEventItems items;
    appendView(list, Filter(), items);

    list.SortEventView(items);
    EXPECT_EQ(rowsOf(items), Rows({{2, -1}, {1, -1}, {0, -1}}));
}

TEST(SortEventView, TreatsLessThanAMillisecondAsEqual)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1, 10, 0) + 0.9 * OneMillisecond);
    addEvent(list, at(2008, 5, 1, 10, 0));
    addEvent(list, at(2008, 5, 1, 10, 0) + 3 * OneMillisecond);
    addEvent(list, at(2008, 5, 1, 10, 0) + 1.5 * OneMillisecond);
    TListViewEventItems items;
    appendView(list, Filter(), items);

    list.SortEventView(items);
    EXPECT_EQ(rowsOf(items), Rows({{0, -1}, {1, -1}, {3, -1}, {2, -1}}));
}

// Many rows with ties and near-ties, against the exchange sort that reads the
// dates at every comparison.
TEST(SortEventView, GivesTheExchangeSortsOrderForManyRows)
{
    TEventList list;
    std::mt19937 random(7);
    const TDateTime base = at(2008, 5, 1);
    const auto someDate = [&] { return base + random() % 20 / 24.0 + random() % 3 * 0.6 * OneMillisecond; };
    for (int i = 0; i < 150; ++i)
        addEvent(list, someDate(), {someDate(), someDate()});
    Filter f;
    f.from = f.to = base;
    TListViewEventItems items;
    appendView(list, f, items);
    std::shuffle(items.begin(), items.end(), random);

    Rows expected = rowsOf(items);
    const auto dateOfRow = [&](const std::pair<int, int> &row) {
        const TListViewEventItem item(row.first, row.second);
        return list.GetEventViewDateTime(&item);
    };
    for (size_t i = 0; i + 1 < expected.size(); ++i)
        for (size_t j = i + 1; j < expected.size(); ++j)
            if (CompareDateTimes(dateOfRow(expected[i]), dateOfRow(expected[j])) > 0)
                std::swap(expected[i], expected[j]);

    list.SortEventView(items);
    EXPECT_EQ(rowsOf(items), expected);
}

TEST(SortEventView, PassesOnTheFailureToReadARow)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1));
    TListViewEventItems items;
    items.push_back(std::make_unique<TListViewEventItem>(0, -1));
    items.push_back(std::make_unique<TListViewEventItem>(0, 4));

    EXPECT_EQ(messageOf([&] { list.SortEventView(items); }),
              QStringLiteral("Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (4)1"));
}
