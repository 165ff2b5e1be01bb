#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <cmath>
#include <cstdint>

// Date-times are days since 1899-12-30 00:00 in local time; the fraction is the
// time of day. Before that day the value is negative and its fraction still
// counts forward from midnight (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr double OneMillisecond = 1.0 / MSecsPerDay;
constexpr double MinDateTime = -693593.0;        // 0001-01-01
constexpr double MaxDateTime = 2958465.99999999; // 9999-12-31 23:59:59.999

// Encoding raises EConvertError "Invalid argument to date encode" for dates
// outside years 1-9999 or days that do not exist, and for invalid times.
TDateTime encodeDate(int year, int month, int day);
TDateTime encodeTime(int hour, int minute, int second, int msec);
TDateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);
bool tryEncodeDate(int year, int month, int day, TDateTime& result);
void decodeDate(TDateTime value, int& year, int& month, int& day);
void decodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);
int daysInMonth(int year, int month);
bool isLeapYear(int year);

TDateTime dateOf(TDateTime value); // midnight of the value's day
TDateTime timeOf(TDateTime value); // the time of day, 0 <= result < 1
bool isSameDay(TDateTime a, TDateTime b);

// The arithmetic under the conversions below, here so that a loop over many
// dates (reading the event file) runs it without a call per step.
namespace date_math {

constexpr std::int64_t MSecs = 86400000;

// A value on a continuous time line (days; -0.75 is 1899-12-29 06:00).
inline double toLinear(TDateTime value)
{
    if (value >= 0)
        return value;
    const double day = std::trunc(value);
    return day + std::fabs(value - day);
}

inline TDateTime fromLinear(double linear)
{
    if (linear > 0)
        return linear; // the day and its fraction add up to the value exactly
    const double day = std::floor(linear);
    const double time = linear - day;
    return day >= 0 ? day + time : day - time;
}

// Whole milliseconds on the time line.
inline std::int64_t toMSecs(TDateTime value)
{
    // std::llround, without the library call for the values that dates have:
    // below 2^52 the fraction of a double is exact.
    const double msecs = toLinear(value) * MSecs;
    if (!(std::fabs(msecs) < 4503599627370496.0))
        return std::llround(msecs);
    auto whole = static_cast<std::int64_t>(msecs);
    const double fraction = msecs - static_cast<double>(whole);
    if (fraction >= 0.5)
        ++whole;
    else if (fraction <= -0.5)
        --whole;
    return whole;
}

// The day of a millisecond on the time line, counted from 1899-12-30 (rounded down).
inline std::int64_t dayOfMSecs(std::int64_t msecs)
{
    return msecs >= 0 ? msecs / MSecs : -((-msecs + MSecs - 1) / MSecs);
}

// The fraction of a day that each whole minute of it is, divided out once:
// dates are mostly whole minutes, and a division is the slowest step here.
inline constexpr std::array<double, 1440> MinuteFractions = [] {
    std::array<double, 1440> fractions{};
    for (size_t minute = 0; minute < fractions.size(); ++minute)
        fractions[minute] = static_cast<double>(minute * 60000) / MSecs;
    return fractions;
}();

// Milliseconds into a day (0 to MSecs - 1) as a fraction of the day.
inline double dayFraction(std::int64_t rest)
{
    if (rest % 60000 == 0)
        return MinuteFractions[static_cast<size_t>(rest / 60000)];
    return static_cast<double>(rest) / MSecs;
}

inline TDateTime fromMSecs(std::int64_t msecs)
{
    const std::int64_t day = dayOfMSecs(msecs);
    const std::int64_t rest = msecs - day * MSecs;
    return fromLinear(static_cast<double>(day) + dayFraction(rest));
}

} // namespace date_math

// The value as whole milliseconds on a continuous time line, and back.
inline std::int64_t toMilliseconds(TDateTime value) { return date_math::toMSecs(value); }
inline TDateTime fromMilliseconds(std::int64_t msecs) { return date_math::fromMSecs(msecs); }

inline TDateTime incMilliSecond(TDateTime value, std::int64_t count)
{
    return date_math::fromMSecs(date_math::toMSecs(value) + count);
}
inline TDateTime incMinute(TDateTime value, std::int64_t count) { return incMilliSecond(value, count * 60000); }
inline TDateTime incHour(TDateTime value, std::int64_t count) { return incMilliSecond(value, count * 3600000); }
inline TDateTime incDay(TDateTime value, std::int64_t count) { return incMilliSecond(value, count * date_math::MSecs); }
// Keeps the day of the month, clamped to the target month's length, and the time of day.
TDateTime incMonth(TDateTime value, int count);
TDateTime incYear(TDateTime value, int count);

// 1 = Monday ... 7 = Sunday.
int dayOfTheWeek(TDateTime value);

// The astronomical Julian date: the value + 2415018.5. The reverse raises
// EConvertError "%f Julian cannot be represented as a DateTime" outside years 1-9999.
inline double dateTimeToJulianDate(TDateTime value) { return date_math::toLinear(value) + 2415018.5; }
TDateTime julianDateToDateTime(double julian);
inline bool tryJulianDateToDateTime(double julian, TDateTime& result)
{
    const double linear = julian - 2415018.5;
    if (!std::isfinite(linear) || linear < MinDateTime || linear >= MaxDateTime + OneMillisecond)
        return false;
    result = date_math::fromLinear(linear);
    return true;
}

// The program's one clock. Tests set it instead of sleeping.
TDateTime Now();
TDateTime Date(); // today at 00:00
void setNowForTests(TDateTime now);
// The clock reads this UTC time instead of the system's, and turns it into local
// time as it turns the system's (in the zone TZ names); a time set by
// setNowForTests comes first.
void setUtcNowForTests(std::int64_t MSecsSinceEpoch);
void clearNowForTests(); // ends both

QDateTime toQDateTime(TDateTime value);
TDateTime fromQDateTime(const QDateTime& value);
QDate toQDate(TDateTime value);
TDateTime fromQDate(const QDate& date);

// Formats with the classic pattern letters, names and separators taken from the
// user's regional settings (QLocale::system()):
//   d dd ddd dddd ddddd (short date) dddddd (long date)  m mm mmm mmmm  yy yyyy
//   h hh n nn s ss z zzz  t (short time) tt (long time)  am/pm a/p ampm
//   / (date separator) : (time separator) "text" 'text'
// An "m" right after an hour is the minute.
QString formatDateTime(const QString& pattern, TDateTime value);
