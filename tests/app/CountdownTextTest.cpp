// The countdown column's text at the edges of its rules.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/CountdownText.h"

using testing_support::at;
using testing_support::ClockOverride;

namespace {

struct CountdownCase {
    const char* name;
    TDateTime now;
    TDateTime when;
    bool allowDayNames;
    const char* expected;
};

const TDateTime Noon = at(2024, 6, 12, 12);

const CountdownCase Cases[] = {
    {"all-day event today", Noon, at(2024, 6, 12), true, "Today"},
    {"all-day event yesterday", Noon, at(2024, 6, 11), true, "Yesterday"},
    {"all-day event tomorrow", Noon, at(2024, 6, 13), true, "Tomorrow"},
    {"all-day event in two days", Noon, at(2024, 6, 14), true, " 1 days, 12 hrs"},
    {"timed event earlier today", Noon, at(2024, 6, 12), false, "-12 hrs"},
    {"timed event yesterday", Noon, at(2024, 6, 11), false, "-1 days, 12 hrs"},
    {"timed event tomorrow", Noon, at(2024, 6, 13), false, " 12 hrs"},
    {"400 days ahead", Noon, Noon + 400, false, " 1 yrs, 1 mths"},
    {"400 days ago", Noon, Noon - 400, false, "-1 yrs, 1 mths"},
    {"a zero unit is skipped", at(2023, 3, 1), at(2024, 3, 5), false, " 1 yrs, 4 days"},
    {"hours and minutes", Noon, at(2024, 6, 12, 14, 30, 15), false, " 2 hrs, 30 mins"},
    {"90 seconds ahead", Noon, at(2024, 6, 12, 12, 1, 30), false, " 1 mins"},
    {"30 seconds ago", Noon, at(2024, 6, 12, 11, 59, 30), false, "-30 secs"},
    {"45 seconds ahead", Noon, at(2024, 6, 12, 12, 0, 45), false, " 45 secs"},
    {"exactly now", Noon, Noon, false, "-0 secs"},
    {"exactly now, all day", at(2024, 6, 12), at(2024, 6, 12), true, "Today"},
    // A month from 31 January ends on 29 February, which leaves two days to 2 March.
    {"month end clamped", at(2024, 1, 31, 10), at(2024, 3, 2, 10), false, " 1 mths, 2 days"},
    // A calendar month from 1 January passes 31 January 12:00; the count goes on away from it.
    {"month step past the occurrence", at(2024, 1, 1), at(2024, 1, 31, 12), false, " 1 mths, 12 hrs"},
};

class CountdownTextTest : public ::testing::TestWithParam<CountdownCase> {};

TEST_P(CountdownTextTest, MatchesTheRule)
{
    const CountdownCase& c = GetParam();
    ClockOverride clock(c.now);
    EXPECT_EQ(GetCountdownText(c.when, c.allowDayNames), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Edges, CountdownTextTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<CountdownCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

} // namespace
