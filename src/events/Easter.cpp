#include "Easter.h"

namespace {

// The anonymous Gregorian computus (Meeus/Jones/Butcher).
TDateTime westernEaster(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int n = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = n / 4;
    const int k = n % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int monthAndDay = h + l - 7 * m + 114;
    return encodeDate(year, monthAndDay / 31, monthAndDay % 31 + 1);
}

// Days by which the Julian calendar lags behind the Gregorian one in March and April.
// Outside these years nothing is added and the Julian date stands as it is.
int julianLag(int year)
{
    struct Span {
        int first;
        int last;
        int days;
    };
    static constexpr Span spans[] = {
        {1582, 1699, 10}, {1700, 1799, 11}, {1800, 1899, 12}, {1900, 2099, 13}, {2100, 2199, 14},
        {2200, 2299, 15}, {2300, 2499, 16}, {2500, 2599, 17}, {2600, 2699, 18}, {2700, 2899, 19},
        {2900, 2999, 20}, {3000, 3099, 21}, {3100, 3299, 22}, {3300, 3399, 23},
    };
    for (const Span& span : spans)
        if (span.first <= year && year <= span.last)
            return span.days;
    return 0;
}

// Meeus's Julian algorithm, moved into the Gregorian calendar.
TDateTime orthodoxEaster(int year)
{
    const int a = year % 19;
    const int i = (19 * a + 15) % 30;
    const int j = (year + year / 4 + i) % 7;
    const int l = i - j; // -6 .. 29
    const int month = 3 + (l + 40) / 44;
    const int day = l + 28 - 31 * (month / 4);
    return encodeDate(year, month, day) + julianLag(year);
}

} // namespace

TDateTime GetEasterDate(std::uint16_t Year, bool Orthodox)
{
    return Orthodox ? orthodoxEaster(Year) : westernEaster(Year);
}
