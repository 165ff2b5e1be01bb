#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"

using namespace testing_support;

TEST(DateTimeUtils, EncodesAndDecodesAroundTheEpoch)
{
    EXPECT_EQ(std::tuple(encodeDate(1900, 1, 1), encodeDate(1, 1, 1), encodeDate(9999, 12, 31)),
              std::tuple(2.0, MinDateTime, 2958465.0)); // 1900 had no 29 February
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6), -1.25);       // before day 0 the time still counts forward
    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, z = 0;
    decodeDate(-1.25, y, m, d);
    decodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(std::tuple(y, m, d, h), std::tuple(1899, 12, 29, 6));
    decodeTime(at(2024, 2, 29, 23, 59, 59, 999), h, n, s, z);
    EXPECT_EQ(std::tuple(h, n, s, z), std::tuple(23, 59, 59, 999));
    for (auto [year, month, day] : {std::tuple{2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 13, 1}, {2024, 4, 31}})
        EXPECT_EQ(messageOf<EConvertError>([&] { encodeDate(year, month, day); }), "Invalid argument to date encode")
            << year << "-" << month << "-" << day;
}

TEST(DateTimeUtils, ArithmeticClampsTheMonthsDayAndKeepsTheTime)
{
    EXPECT_EQ(incMonth(at(2024, 1, 31, 10, 30), 1), at(2024, 2, 29, 10, 30));
    EXPECT_EQ(incMonth(at(2024, 5, 15), -17), at(2022, 12, 15));
    EXPECT_EQ(incYear(at(2024, 2, 29), 1), at(2025, 2, 28));
    EXPECT_EQ(incMinute(at(1899, 12, 30, 0, 5), -10), at(1899, 12, 29, 23, 55));
    EXPECT_EQ(formatDateTime("yyyy-mm-dd hh:nn:ss.zzz hh:mm 'mm'", at(2008, 3, 9, 14, 5, 7, 42)),
              "2008-03-09 14:05:07.042 14:05 mm")
        << "after an hour \"mm\" is the minutes";
    // Monday is 1; 30 December 1899 was a Saturday.
    EXPECT_EQ(std::tuple(dayOfTheWeek(at(2026, 12, 7)), dayOfTheWeek(at(2026, 12, 6, 23, 59)),
                         dayOfTheWeek(at(1899, 12, 29, 6)), dayOfTheWeek(at(1, 1, 1))),
              std::tuple(1, 7, 5, 1));
}

TEST(DateTimeUtils, JulianDatesRoundTripWithinAMillisecond)
{
    for (TDateTime value :
         {at(2008, 3, 10, 14, 0, 42, 123), at(1, 1, 1), at(9999, 12, 31, 23, 59, 59, 999), at(1850, 6, 1, 6, 30)})
        EXPECT_NEAR(julianDateToDateTime(dateTimeToJulianDate(value)), value, OneMillisecond) << value;
    EXPECT_TRUE(messageOf<EConvertError>([] {
                    julianDateToDateTime(1.0);
                }).endsWith("Julian cannot be represented as a DateTime"));
}

// Whole minutes take their day fractions from a table: each must be the very
// quotient that the division gives for any other millisecond count.
TEST(DateTimeUtils, WholeMinutesGiveTheDividedDayFraction)
{
    volatile double millisecondsPerDay = 86400000.0; // divided at run time
    for (std::int64_t day : {-693593, -1, 0, 1, 45000, 2958465})
        for (std::int64_t minute = 0; minute < 1440; ++minute) {
            const std::int64_t rest = minute * 60000;
            const double fraction = static_cast<double>(rest) / millisecondsPerDay;
            // Before 1899-12-30 the fraction counts forward from the negative day.
            const double linear = static_cast<double>(day) + fraction;
            const double whole = std::floor(linear), time = linear - whole;
            const double expected = whole >= 0 ? whole + time : whole - time;
            ASSERT_EQ(fromMilliseconds(day * 86400000 + rest), expected) << day << " " << minute;
        }
}
