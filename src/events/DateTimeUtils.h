#pragma once

#include <QDateTime>
#include <QString>

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

// The value as whole milliseconds on a continuous time line, and back.
std::int64_t toMilliseconds(TDateTime value);
TDateTime fromMilliseconds(std::int64_t msecs);

TDateTime incMilliSecond(TDateTime value, std::int64_t count);
TDateTime incMinute(TDateTime value, std::int64_t count);
TDateTime incHour(TDateTime value, std::int64_t count);
TDateTime incDay(TDateTime value, std::int64_t count);
// Keeps the day of the month, clamped to the target month's length, and the time of day.
TDateTime incMonth(TDateTime value, int count);
TDateTime incYear(TDateTime value, int count);

// 1 = Monday ... 7 = Sunday.
int dayOfTheWeek(TDateTime value);

// The astronomical Julian date: the value + 2415018.5. The reverse raises
// EConvertError "%f Julian cannot be represented as a DateTime" outside years 1-9999.
double dateTimeToJulianDate(TDateTime value);
TDateTime julianDateToDateTime(double julian);
bool tryJulianDateToDateTime(double julian, TDateTime& result);

// The program's one clock. Tests set it instead of sleeping.
TDateTime Now();
TDateTime Date(); // today at 00:00
void setNowForTests(TDateTime now);
void clearNowForTests();

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
