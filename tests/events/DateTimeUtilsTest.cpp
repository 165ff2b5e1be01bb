#include <gtest/gtest.h>

#include <QRegularExpression>

#include "TestSupport.h"
#include "events/DateTimeUtils.h"
#include "events/Exceptions.h"

using testing_support::at;

TEST(DateTimeUtils, EncodesAndDecodesAroundTheEpoch)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(encodeDate(2008, 3, 10), 39517.0);
    EXPECT_EQ(encodeDate(1, 1, 1), MinDateTime);
    EXPECT_EQ(encodeDate(9999, 12, 31), 2958465.0);
    EXPECT_DOUBLE_EQ(encodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);

    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, z = 0;
    decodeDate(-1.25, y, m, d);
    decodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(1899, 12, 29));
    EXPECT_EQ(h, 6);

    decodeTime(at(2024, 2, 29, 23, 59, 59, 999), h, n, s, z);
    EXPECT_EQ(std::vector<int>({h, n, s, z}), std::vector<int>({23, 59, 59, 999}));
}

TEST(DateTimeUtils, InvalidDatesRaiseTheEncodeError)
{
    for (auto [y, m, d] : {std::tuple{2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 13, 1}, {2024, 4, 31}}) {
        try {
            encodeDate(y, m, d);
            ADD_FAILURE() << y << "-" << m << "-" << d;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid argument to date encode"));
        }
    }
}

TEST(DateTimeUtils, MonthArithmeticClampsTheDayAndKeepsTheTime)
{
    EXPECT_EQ(incMonth(at(2024, 1, 31, 10, 30), 1), at(2024, 2, 29, 10, 30));
    EXPECT_EQ(incMonth(at(2023, 1, 31), 1), at(2023, 2, 28));
    EXPECT_EQ(incMonth(at(2024, 12, 31), 2), at(2025, 2, 28));
    EXPECT_EQ(incMonth(at(2024, 3, 31), -1), at(2024, 2, 29));
    EXPECT_EQ(incYear(at(2024, 2, 29), 1), at(2025, 2, 28));
    EXPECT_EQ(incMonth(at(2024, 5, 15), -17), at(2022, 12, 15));
}

TEST(DateTimeUtils, MinuteHourAndDayArithmeticIsExactToTheMillisecond)
{
    EXPECT_EQ(incMinute(at(2008, 3, 10, 14, 0), -10), at(2008, 3, 10, 13, 50));
    EXPECT_EQ(incHour(at(2008, 3, 10, 23, 0), 2), at(2008, 3, 11, 1, 0));
    EXPECT_EQ(incDay(at(2008, 2, 28), 2), at(2008, 3, 1));
    EXPECT_EQ(incMinute(at(1899, 12, 30, 0, 5), -10), at(1899, 12, 29, 23, 55));
}

TEST(DateTimeUtils, WeekDaysRunFromMondayToSunday)
{
    EXPECT_EQ(dayOfTheWeek(at(2026, 12, 7)), 1); // Monday
    EXPECT_EQ(dayOfTheWeek(at(2026, 12, 6, 23, 59)), 7);
    EXPECT_EQ(dayOfTheWeek(at(1899, 12, 30)), 6);
    EXPECT_EQ(dayOfTheWeek(at(1, 1, 1)), 1);
}

TEST(DateTimeUtils, JulianDatesRoundTripWithinAMillisecond)
{
    EXPECT_DOUBLE_EQ(dateTimeToJulianDate(0), 2415018.5);
    EXPECT_DOUBLE_EQ(dateTimeToJulianDate(at(2000, 1, 1, 12)), 2451545.0);
    for (TDateTime value : {at(2008, 3, 10, 14, 0, 42, 123), at(1, 1, 1), at(9999, 12, 31, 23, 59, 59, 999),
                            at(1850, 6, 1, 6, 30)})
        EXPECT_NEAR(julianDateToDateTime(dateTimeToJulianDate(value)), value, OneMillisecond) << value;

    try {
        julianDateToDateTime(1.0);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("Julian cannot be represented as a DateTime")));
    }
}

TEST(DateTimeUtils, TheClockCanBeSetByTests)
{
    {
        testing_support::ClockOverride clock(at(2030, 5, 1, 8, 0));
        EXPECT_EQ(Now(), at(2030, 5, 1, 8, 0));
        EXPECT_EQ(Date(), at(2030, 5, 1));
    }
    EXPECT_NEAR(Now(), fromQDateTime(QDateTime::currentDateTime()), 1.0 / 1440);
}

TEST(DateTimeUtils, FormatsClassicPatterns)
{
    const TDateTime value = at(2008, 3, 9, 14, 5, 7, 42);
    EXPECT_EQ(formatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), value),
              QStringLiteral("2008-03-09 14:05:07.042"));
    EXPECT_EQ(formatDateTime(QStringLiteral("d/m/yy"), value).remove(QRegularExpression("[^0-9]")),
              QStringLiteral("9308"));
    EXPECT_EQ(formatDateTime(QStringLiteral("hh:mm"), value), QStringLiteral("14:05"));
    EXPECT_EQ(formatDateTime(QStringLiteral("h:nn am/pm"), value), QStringLiteral("2:05 ") + QLocale::system().pmText());
    EXPECT_EQ(formatDateTime(QStringLiteral("ddd"), value), QLocale::system().dayName(7, QLocale::ShortFormat));
    EXPECT_EQ(formatDateTime(QStringLiteral("mmm"), value), QLocale::system().monthName(3, QLocale::ShortFormat));
    EXPECT_EQ(formatDateTime(QStringLiteral("'mm' yyyy"), value), QStringLiteral("mm 2008"));
    EXPECT_FALSE(formatDateTime(QStringLiteral("dddddd tt"), value).isEmpty());
}
