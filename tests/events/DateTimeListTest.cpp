#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/DateTimeList.h"

using namespace testing_support;

TEST(TDateTimeList, AddDateCutsToTheMinuteAndRefusesEqualDates)
{
    TDateTimeList list;
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 42, 500), false, at(2008, 1, 2, 10, 15, 42)), 0);
    EXPECT_EQ(std::pair(list.GetItem(0)->DateTime, list.GetItem(0)->NotificationTime),
              std::pair(at(2008, 1, 2, 10, 15), at(2008, 1, 2, 10, 15, 42)));
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 59), false, 0), -1);
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 59), true, 0), 1);
    EXPECT_EQ(StripSeconds(at(1899, 12, 29, 6, 0, 30)), at(1899, 12, 29, 6, 0)); // before day 0 too
    for (int bad : {-1, 2}) {
        EXPECT_EQ(messageOf<EListError>([&] { list.GetItem(bad); }), QString("List index out of bounds (%1)").arg(bad));
        EXPECT_THROW(list.Delete(bad), EListError);
    }
    EXPECT_EQ(list.GetCount(), 2);

    const TDateTime day = at(2008, 1, 2); // dates less than a millisecond apart are equal
    EXPECT_EQ(std::tuple(CompareDateTimes(day, day + 0.9 * OneMillisecond), CompareDateTimes(day, day + OneMillisecond),
                         CompareDateTimes(day + OneMillisecond, day)),
              std::tuple(0, -1, 1));
}
