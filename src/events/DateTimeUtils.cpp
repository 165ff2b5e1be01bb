#include "DateTimeUtils.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>

#include "Exceptions.h"

using namespace date_math;

namespace {

constexpr int EpochOffset = 25569; // 1970-01-01 as a day count

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// A date at midnight with a time of day added; before 1899-12-30 the fraction
// still counts forward, so it is taken away from the negative day.
TDateTime withTimeOfDay(TDateTime date, TDateTime time)
{
    return date >= 0 ? date + time : date - time;
}

[[noreturn]] void throwEncodeError()
{
    throw EConvertError(QStringLiteral("Invalid argument to date encode"));
}

std::optional<TDateTime>& nowOverride()
{
    static std::optional<TDateTime> now;
    return now;
}

std::optional<std::int64_t>& utcNowOverride()
{
    static std::optional<std::int64_t> now;
    return now;
}

// Changed with each clock a test sets: the zone may have changed with it.
std::atomic<int> clockGeneration{0};

} // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool tryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    result = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                                 EpochOffset);
    return true;
}

TDateTime encodeDate(int year, int month, int day)
{
    TDateTime result = 0;
    if (!tryEncodeDate(year, month, day, result))
        throwEncodeError();
    return result;
}

TDateTime encodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / MSecs;
}

TDateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    const TDateTime date = encodeDate(year, month, day); // a bad date is reported before a bad time
    return withTimeOfDay(date, encodeTime(hour, minute, second, msec));
}

void decodeDate(TDateTime value, int& year, int& month, int& day)
{
    civilFromDays(dayOfMSecs(toMSecs(value)) - EpochOffset, year, month, day);
}

void decodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    std::int64_t rest = toMSecs(value) % MSecs;
    if (rest < 0)
        rest += MSecs;
    msec = static_cast<int>(rest % 1000);
    rest /= 1000;
    second = static_cast<int>(rest % 60);
    rest /= 60;
    minute = static_cast<int>(rest % 60);
    hour = static_cast<int>(rest / 60);
}

TDateTime dateOf(TDateTime value) { return std::trunc(value); }

TDateTime timeOf(TDateTime value) { return std::fabs(value - std::trunc(value)); }

bool isSameDay(TDateTime a, TDateTime b) { return std::trunc(a) == std::trunc(b); }



TDateTime incMonth(TDateTime value, int count)
{
    int year = 0, month = 0, day = 0;
    decodeDate(value, year, month, day);
    const long long months = static_cast<long long>(year) * 12 + (month - 1) + count;
    const long long newYear = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int newMonth = static_cast<int>(months - newYear * 12) + 1;
    if (newYear < 1 || newYear > 9999)
        throwEncodeError();
    const int newDay = std::min(day, daysInMonth(static_cast<int>(newYear), newMonth));
    return withTimeOfDay(encodeDate(static_cast<int>(newYear), newMonth, newDay), timeOf(value));
}

TDateTime incYear(TDateTime value, int count) { return incMonth(value, count * 12); }

int dayOfTheWeek(TDateTime value)
{
    int year = 0, month = 0, day = 0;
    decodeDate(value, year, month, day);
    const std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    // 1970-01-01 was a Thursday (4).
    return static_cast<int>(((days % 7) + 7 + 3) % 7) + 1;
}



TDateTime julianDateToDateTime(double julian)
{
    TDateTime result = 0;
    if (!tryJulianDateToDateTime(julian, result))
        throw EConvertError(QStringLiteral("%1 Julian cannot be represented as a DateTime")
                                .arg(QString::number(julian, 'f', 2)));
    return result;
}

TDateTime Now()
{
    if (nowOverride())
        return *nowOverride();
    // Asking for the local time re-reads the time zone each time, which would make
    // reading a large event file (a clock reading per date) several times slower.
    // Offsets from UTC change only on whole seconds, so the offset is taken once
    // per second of UTC time.
    thread_local std::int64_t offsetSecond = -1;
    thread_local std::int64_t offsetMSecs = 0;
    thread_local int offsetGeneration = -1;
    const std::int64_t utcMSecs = utcNowOverride() ? *utcNowOverride() : QDateTime::currentMSecsSinceEpoch();
    const std::int64_t second = utcMSecs / 1000;
    if (second != offsetSecond || offsetGeneration != clockGeneration) {
        offsetMSecs = QDateTime::fromSecsSinceEpoch(second).offsetFromUtc() * std::int64_t{1000};
        offsetSecond = second;
        offsetGeneration = clockGeneration;
    }
    return fromMSecs(utcMSecs + offsetMSecs + EpochOffset * MSecs);
}

TDateTime Date() { return dateOf(Now()); }

void setNowForTests(TDateTime now) { nowOverride() = now; }

void setUtcNowForTests(std::int64_t MSecsSinceEpoch)
{
    utcNowOverride() = MSecsSinceEpoch;
    ++clockGeneration;
}

void clearNowForTests()
{
    nowOverride().reset();
    utcNowOverride().reset();
    ++clockGeneration;
}

QDate toQDate(TDateTime value)
{
    int year = 0, month = 0, day = 0;
    decodeDate(value, year, month, day);
    return QDate(year, month, day);
}

TDateTime fromQDate(const QDate& date) { return encodeDate(date.year(), date.month(), date.day()); }

QDateTime toQDateTime(TDateTime value)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(value, hour, minute, second, msec);
    return QDateTime(toQDate(value), QTime(hour, minute, second, msec));
}

TDateTime fromQDateTime(const QDateTime& value)
{
    return withTimeOfDay(fromQDate(value.date()), value.time().msecsSinceStartOfDay() / MSecsPerDay);
}

namespace {

QChar separatorIn(const QString& format, QChar fallback)
{
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    return fallback;
}

QString twoDigits(int value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); }

// The long time pattern without the time zone that Qt's long form adds.
QString longTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return format.trimmed();
}

int countRun(const QString& pattern, int i)
{
    const QChar c = pattern[i].toLower();
    int n = 0;
    while (i + n < pattern.size() && pattern[i + n].toLower() == c)
        ++n;
    return n;
}

} // namespace

QString formatDateTime(const QString& pattern, TDateTime value)
{
    const QLocale locale = QLocale::system();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    decodeDate(value, year, month, day);
    decodeTime(value, hour, minute, second, msec);
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msec);
    const bool hasAmPm = pattern.contains(QLatin1String("am/pm"), Qt::CaseInsensitive) ||
                         pattern.contains(QLatin1String("a/p"), Qt::CaseInsensitive) ||
                         pattern.contains(QLatin1String("ampm"), Qt::CaseInsensitive);
    const int shownHour = hasAmPm ? (hour % 12 == 0 ? 12 : hour % 12) : hour;

    QString out;
    bool afterHour = false;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const QChar lower = c.toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = pattern.indexOf(c, i + 1);
            const int stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (pattern.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += hour < 12 ? locale.amText() : locale.pmText();
            i += 5;
            continue;
        }
        if (pattern.mid(i, 4).compare(QLatin1String("ampm"), Qt::CaseInsensitive) == 0) {
            out += hour < 12 ? locale.amText() : locale.pmText();
            i += 4;
            continue;
        }
        if (pattern.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            out += QLatin1String(hour < 12 ? "a" : "p");
            i += 3;
            continue;
        }
        const int n = countRun(pattern, i);
        if (lower == QLatin1Char('d')) {
            if (n == 1)
                out += QString::number(day);
            else if (n == 2)
                out += twoDigits(day);
            else if (n == 3)
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (n == 4)
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (n == 5)
                out += locale.toString(date, QLocale::ShortFormat);
            else
                out += locale.toString(date, QLocale::LongFormat);
            i += n;
        } else if (lower == QLatin1Char('m')) {
            if (afterHour && n <= 2) {
                out += n == 1 ? QString::number(minute) : twoDigits(minute);
                afterHour = false;
            } else if (n == 1)
                out += QString::number(month);
            else if (n == 2)
                out += twoDigits(month);
            else if (n == 3)
                out += locale.monthName(month, QLocale::ShortFormat);
            else
                out += locale.monthName(month, QLocale::LongFormat);
            i += n;
        } else if (lower == QLatin1Char('y')) {
            out += n <= 2 ? twoDigits(year % 100) : QString::number(year).rightJustified(4, QLatin1Char('0'));
            i += n;
        } else if (lower == QLatin1Char('h')) {
            out += n == 1 ? QString::number(shownHour) : twoDigits(shownHour);
            afterHour = true;
            i += n;
            continue;
        } else if (lower == QLatin1Char('n')) {
            out += n == 1 ? QString::number(minute) : twoDigits(minute);
            i += n;
        } else if (lower == QLatin1Char('s')) {
            out += n == 1 ? QString::number(second) : twoDigits(second);
            i += n;
        } else if (lower == QLatin1Char('z')) {
            out += n < 3 ? QString::number(msec) : QString::number(msec).rightJustified(3, QLatin1Char('0'));
            i += n;
        } else if (lower == QLatin1Char('t')) {
            out += n == 1 ? locale.toString(time, locale.timeFormat(QLocale::ShortFormat))
                          : locale.toString(time, longTimeFormat(locale));
            i += n;
        } else if (c == QLatin1Char('/')) {
            out += separatorIn(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
            ++i;
        } else if (c == QLatin1Char(':')) {
            out += separatorIn(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
            ++i;
        } else {
            out += c;
            ++i;
        }
        if (c.isLetter())
            afterHour = false; // only separators may stand between an hour and its "m"
    }
    return out;
}
