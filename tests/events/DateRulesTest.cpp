// The repeated-dates rules as tables: the first dates each gives, and how many.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

#include "TestSupport.h"
#include "events/DateRules.h"
#include "events/DistinctDateAppender.h"
#include "events/Easter.h"

using testing_support::at;

namespace {

using Rule = std::function<void(TDateTimeList&)>;

struct RuleCase {
    const char* name;
    Rule rule;
    std::vector<TDateTime> first; // the first dates, in the order added
    int count;
};

std::vector<TDateTime> datesOf(const TDateTimeList& list)
{
    std::vector<TDateTime> dates;
    for (int i = 0; i < list.GetCount(); ++i)
        dates.push_back(list.GetItem(i)->DateTime);
    return dates;
}

QString texts(const std::vector<TDateTime>& dates)
{
    QStringList lines;
    for (TDateTime date : dates)
        lines << formatDateTime("yyyy-mm-dd hh:nn:ss", date);
    return lines.join(", ");
}

void expectCases(const std::vector<RuleCase>& cases)
{
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TDateTimeList list;
        c.rule(list);
        std::vector<TDateTime> dates = datesOf(list);
        EXPECT_EQ(list.GetCount(), c.count) << texts(dates);
        dates.resize(std::min(dates.size(), c.first.size()));
        EXPECT_EQ(texts(dates), texts(c.first));
    }
}

const WeekDayChoices NoDays{};
constexpr WeekDayChoices Mondays{true, false, false, false, false, false, false};
constexpr WeekDayChoices Weekdays{true, true, true, true, true, false, false};
constexpr WeekDayChoices MondaysAndFridays{true, false, false, false, true, false, false};
constexpr WeekDayChoices Fridays{false, false, false, false, true, false, false};

MonthDayChoices monthDays(std::initializer_list<int> days, bool last = false)
{
    MonthDayChoices choices{};
    for (int day : days)
        choices[static_cast<size_t>(day - 1)] = true;
    choices[31] = last;
    return choices;
}

MonthWeekChoices week(int number) // 1..5, 6 = the last week
{
    MonthWeekChoices choices{};
    choices[static_cast<size_t>(number - 1)] = true;
    return choices;
}

const TDateTime LastDay = encodeDate(9999, 12, 31);

} // namespace

TEST(DateRules, Hourly)
{
    const TDateTime monday = at(2026, 1, 5, 10, 0); // its time of day plays no part
    expectCases({
        {"Mondays 09:00-17:00 every 2 h 30 min",
         [&](auto& l) { addHourlyDates(monday, at(2026, 1, 18), Mondays, 2, 30, at(2026, 1, 5, 9), at(2026, 1, 5, 17), l); },
         {at(2026, 1, 5, 9), at(2026, 1, 5, 11, 30), at(2026, 1, 5, 14), at(2026, 1, 5, 16, 30), at(2026, 1, 12, 9)}, 8},
        {"every 2 hours takes the window's end too",
         [&](auto& l) { addHourlyDates(monday, monday, Mondays, 2, 0, 9.0 / 24, 17.0 / 24, l); },
         {at(2026, 1, 5, 9), at(2026, 1, 5, 11), at(2026, 1, 5, 13), at(2026, 1, 5, 15), at(2026, 1, 5, 17)}, 5},
        {"a window from 20:00 to 04:00 runs from 04:00 to 20:00",
         [&](auto& l) { addHourlyDates(monday, monday, Mondays, 8, 0, 20.0 / 24, 1 + 4.0 / 24, l); },
         {at(2026, 1, 5, 4), at(2026, 1, 5, 12), at(2026, 1, 5, 20)}, 3},
        {"both steps zero", [&](auto& l) { addHourlyDates(monday, at(2026, 2, 1), Weekdays, 0, 0, 0.25, 0.75, l); }, {}, 0},
        {"a step longer than the window gives its start",
         [&](auto& l) { addHourlyDates(monday, at(2026, 1, 11), Weekdays, 10, 0, 9.0 / 24, 17.0 / 24, l); },
         {at(2026, 1, 5, 9), at(2026, 1, 6, 9)}, 5},
    });
}

TEST(DateRules, Daily)
{
    const TDateTime friday = at(2026, 1, 2, 7, 45, 30);
    expectCases({
        {"every 2 days from a Friday without Saturdays: the Saturday is dropped, not moved",
         [&](auto& l) { addDailyDates(friday, at(2026, 1, 12), 2, true, false, l); },
         {at(2026, 1, 2, 7, 45), at(2026, 1, 4, 7, 45), at(2026, 1, 6, 7, 45), at(2026, 1, 8, 7, 45),
          at(2026, 1, 12, 7, 45)}, 5},
        {"every day without weekends",
         [&](auto& l) { addDailyDates(at(2026, 1, 5, 9), at(2026, 1, 11, 23, 59), 1, true, true, l); },
         {at(2026, 1, 5, 9), at(2026, 1, 6, 9)}, 5},
        {"an end date before the start", [&](auto& l) { addDailyDates(friday, at(2026, 1, 1), 1, false, false, l); }, {}, 0},
    });
}

TEST(DateRules, Weekly)
{
    const TDateTime wednesday = at(2026, 1, 7, 13, 45);
    expectCases({
        {"no day checked: the start's own week day every 2 weeks",
         [&](auto& l) { addWeeklyDates(wednesday, at(2026, 2, 28), 2, NoDays, l); },
         {at(2026, 1, 7, 13, 45), at(2026, 1, 21, 13, 45), at(2026, 2, 4, 13, 45), at(2026, 2, 18, 13, 45)}, 4},
        {"the start's partial week gives its checked days from the start on",
         [&](auto& l) { addWeeklyDates(wednesday, at(2026, 1, 18), 1, MondaysAndFridays, l); },
         {at(2026, 1, 9, 13, 45), at(2026, 1, 12, 13, 45), at(2026, 1, 16, 13, 45)}, 3},
        {"a start on a Monday counts its own week whole",
         [&](auto& l) { addWeeklyDates(at(2026, 1, 5, 8), at(2026, 1, 11), 1, MondaysAndFridays, l); },
         {at(2026, 1, 5, 8), at(2026, 1, 9, 8)}, 2},
    });
}

TEST(DateRules, WeeklyOnThe)
{
    expectCases({
        {"last week's Friday is the 31st when it is a Friday",
         [](auto& l) { addWeeklyOnTheDates(at(2026, 7, 1, 9), at(2026, 7, 31), week(6), 1, Fridays, l); },
         {at(2026, 7, 31, 9)}, 1},
        {"fifth Mondays skip the months with four",
         [](auto& l) { addWeeklyOnTheDates(at(2026, 1, 1), at(2026, 12, 31), week(5), 1, Mondays, l); },
         {at(2026, 3, 30), at(2026, 6, 29), at(2026, 8, 31), at(2026, 11, 30)}, 4},
        {"first Mondays every 2 months from the start on",
         [](auto& l) { addWeeklyOnTheDates(at(2026, 1, 15), at(2026, 7, 31), week(1), 2, Mondays, l); },
         {at(2026, 3, 2), at(2026, 5, 4), at(2026, 7, 6)}, 3},
        {"no week checked", [](auto& l) { addWeeklyOnTheDates(at(2026, 1, 1), at(2026, 12, 31), {}, 1, Mondays, l); }, {}, 0},
        {"no day checked", [](auto& l) { addWeeklyOnTheDates(at(2026, 1, 1), at(2026, 12, 31), week(1), 1, NoDays, l); }, {}, 0},
    });
}

TEST(DateRules, Monthly)
{
    expectCases({
        {"days 10 and 20 every 3 months from 15 January",
         [](auto& l) { addMonthlyDates(at(2026, 1, 15, 8, 30), at(2026, 7, 31), 3, monthDays({10, 20}), false, false, l); },
         {at(2026, 1, 20, 8, 30), at(2026, 4, 10, 8, 30), at(2026, 4, 20, 8, 30), at(2026, 7, 10, 8, 30),
          at(2026, 7, 20, 8, 30)}, 5},
        {"day 31 only in the months that have it",
         [](auto& l) { addMonthlyDates(at(2026, 1, 1), at(2026, 12, 31), 1, monthDays({31}), false, false, l); },
         {at(2026, 1, 31), at(2026, 3, 31), at(2026, 5, 31)}, 7},
        {"\"Last\" gives every month's last day",
         [](auto& l) { addMonthlyDates(at(2024, 1, 1), at(2024, 12, 31), 1, monthDays({}, true), false, false, l); },
         {at(2024, 1, 31), at(2024, 2, 29), at(2024, 3, 31), at(2024, 4, 30)}, 12},
        {"a day chosen by number and as the last gives one date",
         [](auto& l) { addMonthlyDates(at(2026, 4, 1), at(2026, 4, 30), 1, monthDays({30}, true), false, false, l); },
         {at(2026, 4, 30)}, 1},
        {"an ignored Saturday is dropped",
         [](auto& l) { addMonthlyDates(at(2026, 1, 1), at(2026, 3, 31), 1, monthDays({3}), true, false, l); },
         {at(2026, 2, 3), at(2026, 3, 3)}, 2},
        {"nothing chosen", [](auto& l) { addMonthlyDates(at(2026, 1, 1), at(2026, 12, 31), 1, {}, false, false, l); }, {}, 0},
    });
}

TEST(DateRules, Yearly)
{
    expectCases({
        {"29 February becomes 28 February and stays there",
         [](auto& l) { addYearlyDates(at(2024, 2, 29, 10), at(2028, 12, 31), 1, false, 0, false, l); },
         {at(2024, 2, 29, 10), at(2025, 2, 28, 10), at(2026, 2, 28, 10), at(2027, 2, 28, 10), at(2028, 2, 28, 10)}, 5},
        {"120 days before Easter: the first is before the start, then one a year until the end",
         [](auto& l) { addYearlyDates(at(2024, 1, 1), at(2026, 12, 31), 1, true, -120, false, l); },
         {at(2024, 12, 21), at(2025, 12, 6), at(2026, 11, 28)}, 3},
        {"Orthodox Easter Sunday every year",
         [](auto& l) { addYearlyDates(at(2024, 1, 1), at(2025, 12, 31), 1, true, 0, true, l); },
         {at(2024, 5, 5), at(2025, 4, 20)}, 2},
    });
}

// Every rule stops at the year 9999 instead of raising.
TEST(DateRules, EndAtTheLastSupportedYear)
{
    constexpr int farAfter = std::numeric_limits<std::int32_t>::max();
    constexpr int farBefore = std::numeric_limits<std::int32_t>::min();
    expectCases({
        {"yearly", [](auto& l) { addYearlyDates(at(9995, 6, 1), LastDay, 3, false, 0, false, l); },
         {at(9995, 6, 1), at(9998, 6, 1)}, 2},
        {"yearly with a step past 9999", [](auto& l) { addYearlyDates(at(9000, 1, 1), LastDay, 9999, false, 0, false, l); },
         {at(9000, 1, 1)}, 1},
        {"Easter", [](auto& l) { addYearlyDates(at(9998, 1, 1), LastDay, 1, true, 0, false, l); },
         {GetEasterDate(9998, false), GetEasterDate(9999, false)}, 2},
        {"Easter far after", [&](auto& l) { addYearlyDates(at(2026, 1, 1), LastDay, 1, true, farAfter, false, l); }, {}, 0},
        {"Easter far before", [&](auto& l) { addYearlyDates(at(2026, 1, 1), LastDay, 1, true, farBefore, true, l); }, {}, 0},
        {"monthly", [](auto& l) { addMonthlyDates(at(9999, 1, 1), LastDay, 7, monthDays({1}), false, false, l); },
         {at(9999, 1, 1), at(9999, 8, 1)}, 2},
        {"on the...", [](auto& l) { addWeeklyOnTheDates(at(9999, 11, 1), LastDay, week(6), 1, Fridays, l); },
         {at(9999, 11, 26), at(9999, 12, 31)}, 2},
        {"weekly", [](auto& l) { addWeeklyDates(at(9999, 12, 20), LastDay + 0.5, 1, MondaysAndFridays, l); },
         {at(9999, 12, 20), at(9999, 12, 24), at(9999, 12, 27), at(9999, 12, 31)}, 4},
        {"daily", [](auto& l) { addDailyDates(at(9999, 12, 30), LastDay, 1, false, false, l); },
         {at(9999, 12, 30), at(9999, 12, 31)}, 2},
        {"hourly", [](auto& l) { addHourlyDates(at(9999, 12, 31), LastDay, Weekdays, 12, 0, 0, 23.99 / 24, l); },
         {at(9999, 12, 31, 0), at(9999, 12, 31, 12)}, 2},
    });
}

TEST(DateRules, RefuseWhatTheListHoldsToTheMinute)
{
    TDateTimeList list;
    list.AddDate(at(2026, 1, 6, 9, 0), false, 0);
    addDailyDates(at(2026, 1, 5, 9, 0, 59, 999), at(2026, 1, 8), 1, false, false, list);
    EXPECT_EQ(texts(datesOf(list)),
              texts({at(2026, 1, 6, 9), at(2026, 1, 5, 9), at(2026, 1, 7, 9), at(2026, 1, 8, 9)}))
        << "seconds dropped, the date already there left out, the order kept";
    addDailyDates(at(2026, 1, 5, 9, 0, 30), at(2026, 1, 8), 1, false, false, list);
    EXPECT_EQ(list.GetCount(), 4) << "the same rule again adds nothing";
    for (int i = 0; i < list.GetCount(); ++i)
        EXPECT_EQ(list.GetItem(i)->NotificationTime, 0);
}

TEST(DistinctDateAppender, FindsTheMinuteOnBothSidesOf1899)
{
    for (TDateTime minute : {at(1899, 12, 29, 6, 15), at(1899, 12, 30, 18, 0), at(1, 1, 1, 0, 1), at(9999, 12, 31, 23, 59)}) {
        SCOPED_TRACE(formatDateTime("yyyy-mm-dd hh:nn", minute).toStdString());
        TDateTimeList list;
        list.AddDate(minute, false, 0);
        DistinctDateAppender appender(list);
        EXPECT_EQ(appender.add(incMilliSecond(minute, 59999)), -1);
        EXPECT_EQ(appender.add(incMinute(minute, -1)), 1);
        EXPECT_EQ(appender.add(incMilliSecond(minute, 60000)), 2);
        EXPECT_EQ(appender.add(incMinute(minute, -1)), -1);
    }
}
