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

// The editor hands its whole result through CopyTo: duplicates refused as AddDate
// refuses them, in the source's order, with notification times and without counters.
TEST(TDateTimeList, CopyToRefusesWhatDestHoldsAndRepeatsInTheSource)
{
    TDateTimeList source;
    for (TDateTime date : {at(2008, 1, 3, 9), at(2008, 1, 2, 9), at(2008, 1, 3, 9), at(2008, 1, 4, 9)})
        source.AddDate(date, true, date - 1);
    source.GetItem(1)->NotificationCount = 3;
    TDateTimeList dest;
    dest.AddDate(at(2008, 1, 4, 9, 0, 30), false, 0);
    source.CopyTo(dest, false);
    ASSERT_EQ(dest.GetCount(), 3);
    EXPECT_EQ(std::tuple(dest.GetItem(1)->DateTime, dest.GetItem(2)->DateTime),
              std::tuple(at(2008, 1, 3, 9), at(2008, 1, 2, 9)));
    EXPECT_EQ(std::tuple(dest.GetItem(2)->NotificationTime, dest.GetItem(2)->NotificationCount),
              std::tuple(at(2008, 1, 1, 9), 0));
    source.CopyTo(dest, true);
    EXPECT_EQ(dest.GetCount(), 7);
}
