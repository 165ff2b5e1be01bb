#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/DateTimeList.h"

using namespace testing_support;

// Adding, refusing and index errors of the list show in the event and file tests.
TEST(TDateTimeList, DatesAreHeldToTheMinuteAndCompareToTheMillisecond)
{
    TDateTimeList list;
    list.AddDate(at(2008, 1, 2, 10, 15, 42, 500), false, at(2008, 1, 2, 10, 15, 42));
    EXPECT_EQ(std::pair(list.GetItem(0)->DateTime, list.GetItem(0)->NotificationTime),
              std::pair(at(2008, 1, 2, 10, 15), at(2008, 1, 2, 10, 15, 42)));
    EXPECT_EQ(StripSeconds(at(1899, 12, 29, 6, 0, 30)), at(1899, 12, 29, 6, 0)); // before day 0 too
    const TDateTime day = at(2008, 1, 2); // dates less than a millisecond apart are equal
    EXPECT_EQ(std::tuple(CompareDateTimes(day, day + 0.9 * OneMillisecond), CompareDateTimes(day, day + OneMillisecond),
                         CompareDateTimes(day + OneMillisecond, day)),
              std::tuple(0, -1, 1));
}
