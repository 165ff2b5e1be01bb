// Views of the event list, and the HTML page that exports one.
#include <QTemporaryDir>

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

} // namespace

TEST(GetEventView, CombinesItsFilters)
{
    TEventList list;
    addEvent(list, at(2008, 5, 1), {at(2008, 5, 20), at(2008, 5, 2)}, "Birthdays", eiLow);
    addEvent(list, at(2008, 5, 1), {at(2008, 5, 2)}, "General", eiNormal).Enabled = false;
    addEvent(list, at(2008, 4, 1), {at(2008, 6, 1), at(2008, 5, 3)}, "holidays", eiHigh);
    addEvent(list, at(2008, 5, 31, 23, 59), {}, "Fête", eiHighest);
    addEvent(list, at(2008, 4, 30, 23, 59));
    addEvent(list, at(2008, 6, 1));
    const QStringList some = {"BIRTHDAYS", "fête"};
    const std::tuple<const char*, Filter, Rows> cases[] = {
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
    for (const auto& [name, filter, rows] : cases) {
        TListViewEventItems items;
        EXPECT_EQ(view(list, filter, items), rows) << name;
    }
}

TEST(EventViewDateTime, ReadsAndWritesTheOccurrenceExactly)
{
    TEventList list;
    const TEvent& event = addEvent(list, at(2008, 5, 1), {at(2008, 6, 1), at(2008, 7, 1)});
    addEvent(list, at(2008, 5, 2));
    list.Modified = false;
    const TListViewEventItem start(0, -1), second(0, 1), noEvent(5, -1), noDate(1, 0);
    EXPECT_EQ(list.GetEventViewDateTime(&second), at(2008, 7, 1));
    EXPECT_EQ(list.GetEventViewDateTime(nullptr), 0.0);
    // Seconds are kept, the dates are not re-sorted and nothing counts as modified.
    list.SetEventViewDateTime(&second, at(2008, 5, 20, 10, 15, 42));
    list.SetEventViewDateTime(&start, at(2008, 8, 1, 9, 0, 30));
    list.SetEventViewDateTime(nullptr, at(2009, 1, 1));
    EXPECT_EQ(event.GetStartDate(), at(2008, 8, 1, 9, 0, 30));
    EXPECT_EQ(std::pair(event.RepeatedDates->GetItem(0)->DateTime, event.RepeatedDates->GetItem(1)->DateTime),
              std::pair(at(2008, 6, 1), at(2008, 5, 20, 10, 15, 42)));
    EXPECT_FALSE(list.Modified);
    // Rows naming no occurrence fail with the event count.
    EXPECT_EQ(messageOf([&] { list.GetEventViewDateTime(&noEvent); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (5)2");
    EXPECT_EQ(messageOf([&] { list.SetEventViewDateTime(&noDate, at(2009, 1, 1)); }),
              "Exception in: \"TEventList.SetEventViewDateTime\"\r\nList index out of bounds (0)2");
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
}

TEST(ExportToHTML, WritesTheRowsInDateOrderWithTheirTextsEscaped)
{
    TEventList list;
    TEvent& later = addEvent(list, at(2008, 5, 1, 9, 30), {at(2008, 3, 1, 8, 0)});
    later.Description = "Later";
    later.UseTime = true;
    TEvent& dinner = addEvent(list, at(2008, 4, 1, 14, 5), {}, "R&D <team>", eiHighest);
    dinner.Description = "Dinner\r\nwith <Anna> & Bob\nsame line";
    dinner.Enabled = false;
    TListViewEventItems items;
    for (const auto& [eventIndex, dateIndex] : {std::pair{0, -1}, {1, -1}, {0, 0}})
        items.push_back(std::make_unique<TListViewEventItem>(eventIndex, dateIndex));
    QTemporaryDir folder;
    const QString file = folder.filePath("events.html");
    list.ExportToHTML(items, "My <b>title</b>", "View: Today", "now\r\n<br><a href=\"x\">link</a>", file);
    EXPECT_EQ(rowsOf(items), (Rows{{0, 0}, {1, -1}, {0, -1}})) << "the caller's view is left sorted too";

    const auto row = [](const char* state, const char* importance, const QString& when, const char* text,
                        const char* category) {
        return QString("<tr class=\"%1Row\">\r\n<td class=\"importance\">\r\n%2\r\n</td>\r\n<td class=\"when\">\r\n"
                       "%3\r\n</td>\r\n<td class=\"event\">\r\n%4\r\n</td>\r\n<td class=\"category\">\r\n%5\r\n"
                       "</td>\r\n</tr>\r\n")
            .arg(state, importance, when, text, category);
    };
    // The title, header and footer are the caller's markup; only dates with a time show it.
    const QString expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
        "<title>Quillet - Events</title>\r\n<link rel=\"stylesheet\" type=\"text/css\" href=\"styles.css\">\r\n"
        "</head>\r\n<body>\r\n<table class=\"events\">\r\n"
        "<tr class=\"title\">\r\n<td colspan=4>\r\nMy <b>title</b>\r\n</td>\r\n</tr>\r\n"
        "<tr class=\"header\">\r\n<td colspan=4>\r\nView: Today\r\n</td>\r\n</tr>\r\n"
        "<tr>\r\n<td class=\"ColHeader\">!</td>\r\n<td class=\"ColHeader\">When</td>\r\n"
        "<td class=\"ColHeader\">Event</td>\r\n<td class=\"ColHeader\">Category</td>\r\n</tr>\r\n" +
        row("Enabled", "Normal", formatDateTime("yyyy, dd mmm (ddd), t", at(2008, 3, 1, 8, 0)), "Later", "General") +
        row("Disabled", "Highest", formatDateTime("yyyy, dd mmm (ddd)", at(2008, 4, 1)),
            "Dinner<br>with &lt;Anna&gt; &amp; Bob\nsame line", "R&amp;D &lt;team&gt;") +
        row("Enabled", "Normal", formatDateTime("yyyy, dd mmm (ddd), t", at(2008, 5, 1, 9, 30)), "Later", "General") +
        "<tr class=\"footer\">\r\n<td colspan=4>\r\nnow\r\n<br><a href=\"x\">link</a>\r\n</td>\r\n</tr>\r\n"
        "</table>\r\n</body>\r\n</html>\r\n";
    // A byte-order mark tells a browser opening the local file that it is UTF-8.
    const QByteArray bytes = readFile(file);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString page = QString::fromUtf8(bytes.mid(3));
    EXPECT_EQ(page.split("\r\n"), expected.split("\r\n"));
    EXPECT_TRUE(page.contains("\r\n2008, 01 ")) << "the when cell starts with the year and the day";

    // A row naming no date fails before anything is written, and so does the sort it passes through.
    items.push_back(std::make_unique<TListViewEventItem>(0, 3));
    EXPECT_EQ(messageOf([&] { list.ExportToHTML(items, "T", "H", "F", file); }),
              "Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (3)2");
    EXPECT_EQ(readFile(file), bytes);
}
