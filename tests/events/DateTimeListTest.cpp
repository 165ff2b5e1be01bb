#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/DateTimeList.h"

using namespace testing_support;

TEST(TDateTimeList, AddDateCutsToTheMinuteAndRefusesEqualDates)
{
    TDateTimeList list;
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 42, 500), false, at(2008, 1, 2, 10, 15, 42)), 0);
    EXPECT_EQ(list.GetItem(0)->DateTime, at(2008, 1, 2, 10, 15));
    EXPECT_EQ(list.GetItem(0)->NotificationTime, at(2008, 1, 2, 10, 15, 42));
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 59), false, 0), -1);
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 59), true, 0), 1);
    EXPECT_EQ(list.GetItem(1)->DateTime, list.GetItem(0)->DateTime);
    EXPECT_EQ(list.IndexOf(at(2008, 1, 2, 10, 15, 30)), -1);
    EXPECT_EQ(list.IndexOf(at(2008, 1, 2, 10, 15)), 0);
    EXPECT_EQ(StripSeconds(at(1899, 12, 29, 6, 0, 30)), at(1899, 12, 29, 6, 0)); // before day 0 too

    for (int bad : {-1, 2}) {
        EXPECT_EQ(messageOf<EListError>([&] { list.GetItem(bad); }), QString("List index out of bounds (%1)").arg(bad));
        EXPECT_THROW(list.Delete(bad), EListError);
    }
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(TDateTimeList, RemoveDateTakesEveryEqualDateAndCopyToDropsTheCounters)
{
    TDateTimeList list;
    for (int i = 0; i < 3; ++i)
        list.AddDate(at(2008, 5, 1), true, 0);
    list.AddDate(at(2008, 4, 1), false, at(2008, 3, 30));
    list.GetItem(3)->NotificationCount = 3;
    list.GetItem(3)->ExecuteCount = 2;
    list.RemoveDate(at(2008, 5, 1));

    TDateTimeList dest;
    dest.AddDate(at(2008, 6, 1), false, 0);
    list.CopyTo(dest, false);
    dest.Sort();
    ASSERT_EQ(dest.GetCount(), 2);
    const TDateTimeItem& copy = *dest.GetItem(0);
    EXPECT_EQ(std::tuple(copy.DateTime, copy.NotificationTime, copy.NotificationCount, copy.ExecuteCount),
              std::tuple(at(2008, 4, 1), at(2008, 3, 30), 0, 0));
}

TEST(TDateTimeList, DatesLessThanAMillisecondApartCompareEqual)
{
    TDateTimeItem a, b;
    a.DateTime = at(2008, 1, 2);
    b.DateTime = a.DateTime + 0.9 * OneMillisecond;
    EXPECT_EQ(CompareDateTimeItems(a, b), 0);
    b.DateTime = a.DateTime + 1.0 * OneMillisecond;
    EXPECT_EQ(CompareDateTimeItems(a, b), -1);
    EXPECT_EQ(CompareDateTimeItems(b, a), 1);
}
