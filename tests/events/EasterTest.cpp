#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/Easter.h"

namespace {

struct Day {
    int year, month, day;
};

void expectEasterSundays(bool orthodox, std::initializer_list<Day> days)
{
    for (const Day& d : days) {
        const TDateTime easter = GetEasterDate(static_cast<std::uint16_t>(d.year), orthodox);
        EXPECT_EQ(toQDate(easter), QDate(d.year, d.month, d.day)) << (orthodox ? "Orthodox" : "Western");
        EXPECT_EQ(timeOf(easter), 0.0);
    }
}

} // namespace

TEST(GetEasterDate, FallsOnTheKnownSundayAtMidnight)
{
    expectEasterSundays(false, {{2008, 3, 23},
                                {2010, 4, 4},
                                {2024, 3, 31},
                                {2025, 4, 20},
                                {1, 4, 1},
                                {1583, 4, 10},
                                {2100, 3, 28},
                                {9999, 3, 28}});
    // Then the first and last year of every span of the table of added days; outside
    // the table the Julian calendar's date stands as it is.
    expectEasterSundays(true,
                        {{2008, 4, 27}, {2010, 4, 4},  {2024, 5, 5},  {2025, 4, 20}, {1582, 4, 25}, {1699, 4, 19},
                         {1700, 4, 11}, {1799, 4, 28}, {1800, 4, 20}, {1899, 4, 30}, {1900, 4, 22}, {2099, 4, 12},
                         {2100, 5, 2},  {2199, 4, 21}, {2200, 4, 6},  {2299, 4, 23}, {2300, 4, 15}, {2499, 5, 3},
                         {2500, 4, 25}, {2599, 4, 14}, {2600, 5, 4},  {2699, 4, 16}, {2700, 5, 6},  {2899, 4, 26},
                         {2900, 4, 18}, {2999, 5, 5},  {3000, 4, 20}, {3099, 5, 7},  {3100, 4, 29}, {3299, 4, 19},
                         {3300, 5, 9},  {3399, 4, 28}, {1, 3, 27},    {1581, 3, 26}, {3400, 4, 24}, {9999, 4, 15}});
    for (const int year : {0, 10000, 65535}) // years the calendar can't hold, for both rules
        EXPECT_EQ(testing_support::messageOf([&] { GetEasterDate(static_cast<std::uint16_t>(year), year > 0); }),
                  "Invalid argument to date encode")
            << year;
}
