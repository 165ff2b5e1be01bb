#include "DateRules.h"

#include <algorithm>

#include "DistinctDateAppender.h"
#include "Easter.h"

namespace {

constexpr TDateTime FirstSupportedDay = -693593.0; // 0001-01-01
constexpr TDateTime LastSupportedDay = 2958465.0;  // 9999-12-31
constexpr int LastSupportedYear = 9999;

int minuteOfDay(TDateTime value)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(value, hour, minute, second, msec);
    return hour * 60 + minute;
}

// The whole days of a rule's range, the time of day its dates get, and the list
// they go to. Days are whole day counts, so adding days is plain addition.
class RuleRun {
public:
    RuleRun(TDateTime startDate, TDateTime endDate, TDateTimeList& list)
        : first(std::max(dateOf(startDate), FirstSupportedDay)),
          last(std::min(dateOf(endDate), LastSupportedDay)),
          startMinute(minuteOfDay(startDate)),
          appender(list)
    {
    }

    void addIfInRange(TDateTime day)
    {
        if (first <= day && day <= last)
            appender.add(incMinute(day, startMinute));
    }
    void addAt(TDateTime day, int minute) { appender.add(incMinute(day, minute)); }

    const TDateTime first;
    const TDateTime last;

private:
    const int startMinute; // the start's time of day, in minutes after midnight
    DistinctDateAppender appender;
};

bool anyChecked(const auto& choices)
{
    return std::find(choices.begin(), choices.end(), true) != choices.end();
}

bool isIgnored(TDateTime day, bool ignoreSaturdays, bool ignoreSundays)
{
    const int weekDay = dayOfTheWeek(day);
    return (weekDay == 6 && ignoreSaturdays) || (weekDay == 7 && ignoreSundays);
}

// Visits each day from the first on in the first day's month, then every
// monthStep-th month after it, until the last day: visit(day, dayOfMonth, monthLength).
template <typename Visit> void forEachDayOfEveryNthMonth(const RuleRun& run, int monthStep, Visit visit)
{
    int year = 0, month = 0, fromDay = 0;
    decodeDate(run.first, year, month, fromDay);
    for (;;) {
        const int length = daysInMonth(year, month);
        const TDateTime monthStart = encodeDate(year, month, 1);
        for (int n = fromDay; n <= length; ++n) {
            const TDateTime day = monthStart + (n - 1);
            if (day > run.last)
                return;
            visit(day, n, length);
        }
        fromDay = 1;
        const int months = month - 1 + monthStep;
        year += months / 12;
        month = months % 12 + 1;
        if (year > LastSupportedYear)
            return;
    }
}

} // namespace

void addHourlyDates(TDateTime StartDate, TDateTime EndDate, const WeekDayChoices& Days, std::uint16_t Hours,
                    std::uint16_t Minutes, TDateTime FromTime, TDateTime ToTime, TDateTimeList& List)
{
    if (Hours == 0 && Minutes == 0)
        return;
    RuleRun run(StartDate, EndDate, List);
    int from = minuteOfDay(FromTime);
    int to = minuteOfDay(ToTime);
    if (from > to)
        std::swap(from, to);
    const int step = Hours * 60 + Minutes;
    for (TDateTime day = run.first; day <= run.last; ++day) {
        if (!Days[static_cast<size_t>(dayOfTheWeek(day) - 1)])
            continue;
        for (int minute = from; minute <= to; minute += step)
            run.addAt(day, minute);
    }
}

void addDailyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Days, bool IgnoreSaturdays,
                   bool IgnoreSundays, TDateTimeList& List)
{
    if (Days == 0)
        return;
    RuleRun run(StartDate, EndDate, List);
    for (TDateTime day = run.first; day <= run.last; day += Days)
        if (!isIgnored(day, IgnoreSaturdays, IgnoreSundays))
            run.addIfInRange(day);
}

void addWeeklyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Weeks, const WeekDayChoices& Days,
                    TDateTimeList& List)
{
    if (Weeks == 0)
        return;
    RuleRun run(StartDate, EndDate, List);
    const int step = 7 * Weeks;
    if (!anyChecked(Days)) {
        for (TDateTime day = run.first; day <= run.last; day += step)
            run.addIfInRange(day);
        return;
    }
    // From the Monday of the start's week; the range test drops its days before the start.
    for (TDateTime monday = run.first - (dayOfTheWeek(run.first) - 1); monday <= run.last; monday += step)
        for (int k = 0; k < 7; ++k)
            if (Days[static_cast<size_t>(k)])
                run.addIfInRange(monday + k);
}

void addWeeklyOnTheDates(TDateTime StartDate, TDateTime EndDate, const MonthWeekChoices& Weeks,
                         std::uint16_t Months, const WeekDayChoices& Days, TDateTimeList& List)
{
    if (Months == 0 || !anyChecked(Weeks) || !anyChecked(Days))
        return;
    RuleRun run(StartDate, EndDate, List);
    forEachDayOfEveryNthMonth(run, Months, [&](TDateTime day, int n, int length) {
        const bool inCheckedWeek = (Weeks[0] && n <= 7) || (Weeks[1] && 8 <= n && n <= 14) ||
                                   (Weeks[2] && 15 <= n && n <= 21) || (Weeks[3] && 22 <= n && n <= 28) ||
                                   (Weeks[4] && 29 <= n) || (Weeks[5] && length - 6 <= n);
        if (inCheckedWeek && Days[static_cast<size_t>(dayOfTheWeek(day) - 1)])
            run.addIfInRange(day);
    });
}

void addMonthlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Months, const MonthDayChoices& MonthDays,
                     bool IgnoreSaturdays, bool IgnoreSundays, TDateTimeList& List)
{
    if (Months == 0 || !anyChecked(MonthDays))
        return;
    RuleRun run(StartDate, EndDate, List);
    forEachDayOfEveryNthMonth(run, Months, [&](TDateTime day, int n, int length) {
        const bool chosen = MonthDays[static_cast<size_t>(n - 1)] || (n == length && MonthDays[31]);
        if (chosen && !isIgnored(day, IgnoreSaturdays, IgnoreSundays))
            run.addIfInRange(day);
    });
}

void addYearlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Years, bool UseDaysFromEaster,
                    std::int32_t DaysFromEaster, bool Orthodox, TDateTimeList& List)
{
    if (Years == 0)
        return;
    RuleRun run(StartDate, EndDate, List);
    if (run.first > run.last)
        return;
    int year = 0, month = 0, day = 0;
    decodeDate(run.first, year, month, day);

    if (UseDaysFromEaster) {
        // Whole days added as numbers: an offset beyond the supported years simply
        // lands outside the range.
        for (; year <= LastSupportedYear; year += Years) {
            const TDateTime date = GetEasterDate(static_cast<std::uint16_t>(year), Orthodox) + DaysFromEaster;
            if (date > run.last)
                break;
            run.addIfInRange(date);
        }
        return;
    }

    for (TDateTime date = run.first; date <= run.last;) {
        run.addIfInRange(date);
        year += Years;
        if (year > LastSupportedYear)
            break;
        day = std::min(day, daysInMonth(year, month)); // a clamped day stays clamped
        date = encodeDate(year, month, day);
    }
}
