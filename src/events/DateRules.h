#pragma once

#include <array>
#include <cstdint>

#include "DateTimeList.h"

// The date rules of the repeated-dates editor. Each appends to a list the dates
// of its rule between the whole dates of StartDate and EndDate (both included),
// refusing dates the list already holds to the minute. Every date but the hourly
// ones gets StartDate's hour and minute. No rule goes past 31 December 9999.

// Monday .. Sunday.
using WeekDayChoices = std::array<bool, 7>;
// The 1st .. 5th week of a month (days 1-7, 8-14, 15-21, 22-28, 29-31), then its last seven days.
using MonthWeekChoices = std::array<bool, 6>;
// Days 1 .. 31 of a month, then the last day of the month.
using MonthDayChoices = std::array<bool, 32>;

// On each day with a checked week day: the times from FromTime to ToTime (their
// times of day, swapped when FromTime is later), every Hours hours and Minutes minutes.
void addHourlyDates(TDateTime StartDate, TDateTime EndDate, const WeekDayChoices& Days, std::uint16_t Hours,
                    std::uint16_t Minutes, TDateTime FromTime, TDateTime ToTime, TDateTimeList& List);

// Every Days-th day from the start; a Saturday or Sunday that is ignored is skipped, not replaced.
void addDailyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Days, bool IgnoreSaturdays,
                   bool IgnoreSundays, TDateTimeList& List);

// Every Weeks-th week from the start's week: on the checked week days, or on the
// start's own week day when none is checked. Days before the start are never added.
void addWeeklyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Weeks, const WeekDayChoices& Days,
                    TDateTimeList& List);

// In the start's month and every Months-th month after it: the checked week days
// that fall in a checked week of the month.
void addWeeklyOnTheDates(TDateTime StartDate, TDateTime EndDate, const MonthWeekChoices& Weeks,
                         std::uint16_t Months, const WeekDayChoices& Days, TDateTimeList& List);

// In the start's month and every Months-th month after it: the chosen days of the
// month; an ignored Saturday or Sunday is dropped, not moved.
void addMonthlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Months, const MonthDayChoices& MonthDays,
                     bool IgnoreSaturdays, bool IgnoreSundays, TDateTimeList& List);

// Every Years-th year from the start (each step from the previous date, so 29
// February stays 28 February after its first step), or, with UseDaysFromEaster,
// Easter Sunday plus DaysFromEaster days in the start's year and every Years-th year after.
void addYearlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t Years, bool UseDaysFromEaster,
                    std::int32_t DaysFromEaster, bool Orthodox, TDateTimeList& List);
