#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/Easter.h"
#include "events/Exceptions.h"

namespace {

struct EasterCase {
    int year;
    bool orthodox;
    int month;
    int day;
};

void PrintTo(const EasterCase &c, std::ostream *os)
{
    *os << (c.orthodox ? "Orthodox " : "Western ") << c.year;
}

class EasterDates : public testing::TestWithParam<EasterCase> {};

} // namespace

TEST_P(EasterDates, FallOnTheExpectedSundayAtMidnight)
{
    const EasterCase &c = GetParam();
    const TDateTime easter = GetEasterDate(static_cast<std::uint16_t>(c.year), c.orthodox);
    EXPECT_EQ(toQDate(easter), QDate(c.year, c.month, c.day));
    EXPECT_EQ(timeOf(easter), 0.0);
}

INSTANTIATE_TEST_SUITE_P(CommonYears, EasterDates,
                         testing::Values(EasterCase{2008, false, 3, 23}, EasterCase{2010, false, 4, 4},
                                         EasterCase{2024, false, 3, 31}, EasterCase{2025, false, 4, 20},
                                         EasterCase{2008, true, 4, 27}, EasterCase{2010, true, 4, 4},
                                         EasterCase{2024, true, 5, 5}, EasterCase{2025, true, 4, 20}));

// The first and last year of every span of the Orthodox table: one day too few or
// too many there moves Easter off its Sunday.
INSTANTIATE_TEST_SUITE_P(
    OrthodoxTableBoundaries, EasterDates,
    testing::Values(EasterCase{1582, true, 4, 25}, EasterCase{1699, true, 4, 19}, EasterCase{1700, true, 4, 11},
                    EasterCase{1799, true, 4, 28}, EasterCase{1800, true, 4, 20}, EasterCase{1899, true, 4, 30},
                    EasterCase{1900, true, 4, 22}, EasterCase{2099, true, 4, 12}, EasterCase{2100, true, 5, 2},
                    EasterCase{2199, true, 4, 21}, EasterCase{2200, true, 4, 6}, EasterCase{2299, true, 4, 23},
                    EasterCase{2300, true, 4, 15}, EasterCase{2499, true, 5, 3}, EasterCase{2500, true, 4, 25},
                    EasterCase{2599, true, 4, 14}, EasterCase{2600, true, 5, 4}, EasterCase{2699, true, 4, 16},
                    EasterCase{2700, true, 5, 6}, EasterCase{2899, true, 4, 26}, EasterCase{2900, true, 4, 18},
                    EasterCase{2999, true, 5, 5}, EasterCase{3000, true, 4, 20}, EasterCase{3099, true, 5, 7},
                    EasterCase{3100, true, 4, 29}, EasterCase{3299, true, 4, 19}, EasterCase{3300, true, 5, 9},
                    EasterCase{3399, true, 4, 28}));

// Outside the table the Julian calendar's date is given as it stands.
INSTANTIATE_TEST_SUITE_P(OrthodoxOutsideTheTable, EasterDates,
                         testing::Values(EasterCase{1, true, 3, 27}, EasterCase{1581, true, 3, 26},
                                         EasterCase{3400, true, 4, 24}, EasterCase{9999, true, 4, 15}));

INSTANTIATE_TEST_SUITE_P(WesternFarYears, EasterDates,
                         testing::Values(EasterCase{1, false, 4, 1}, EasterCase{1583, false, 4, 10},
                                         EasterCase{2100, false, 3, 28}, EasterCase{9999, false, 3, 28}));

TEST(GetEasterDate, IsASundayInEveryYearOfTheCalendarReform)
{
    for (int year = 1583; year <= 3399; ++year) {
        const TDateTime western = GetEasterDate(static_cast<std::uint16_t>(year), false);
        const TDateTime orthodox = GetEasterDate(static_cast<std::uint16_t>(year), true);
        ASSERT_EQ(dayOfTheWeek(western), 7) << year;
        ASSERT_EQ(dayOfTheWeek(orthodox), 7) << year;
        ASSERT_LE(western, orthodox) << year;
    }
}

TEST(GetEasterDate, YearsTheCalendarCannotHoldRaiseTheEncodeError)
{
    for (const int year : {0, 10000, 65535}) {
        for (const bool orthodox : {false, true}) {
            try {
                GetEasterDate(static_cast<std::uint16_t>(year), orthodox);
                ADD_FAILURE() << "no error for " << year;
            } catch (const QuilletError &error) {
                EXPECT_EQ(error.message(), QStringLiteral("Invalid argument to date encode"));
            }
        }
    }
}
