#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/DateTimeList.h"
#include "events/Exceptions.h"

using testing_support::at;

TEST(TDateTimeList, AddDateCutsToTheMinuteAndRefusesEqualDates)
{
    TDateTimeList list;
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 42, 500), false, at(2008, 1, 2, 10, 15, 42)), 0);
    EXPECT_EQ(list.GetItem(0)->DateTime, at(2008, 1, 2, 10, 15));
    EXPECT_EQ(list.GetItem(0)->NotificationTime, at(2008, 1, 2, 10, 15, 42));
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 59), false, 0), -1);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.AddDate(at(2008, 1, 2, 10, 15, 59), true, 0), 1);
    EXPECT_EQ(list.GetItem(1)->DateTime, list.GetItem(0)->DateTime);
    EXPECT_EQ(list.IndexOf(at(2008, 1, 2, 10, 15, 30)), -1);
    EXPECT_EQ(list.IndexOf(at(2008, 1, 2, 10, 15)), 0);
}

TEST(TDateTimeList, IndexesOutOfRangeRaiseAndChangeNothing)
{
    TDateTimeList list;
    list.AddDate(at(2008, 1, 2), false, 0);
    for (int bad : {-1, 1}) {
        try {
            list.GetItem(bad);
            ADD_FAILURE();
        } catch (const EListError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (%1)").arg(bad));
        }
        EXPECT_THROW(list.Delete(bad), EListError);
    }
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(TDateTimeList, RemoveDateTakesEveryEqualDate)
{
    TDateTimeList list;
    for (int i = 0; i < 3; ++i)
        list.AddDate(at(2008, 5, 1), true, 0);
    list.AddDate(at(2008, 6, 1), false, 0);
    list.RemoveDate(at(2008, 7, 1));
    EXPECT_EQ(list.GetCount(), 4);
    list.RemoveDate(at(2008, 5, 1));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetItem(0)->DateTime, at(2008, 6, 1));
}

TEST(TDateTimeList, CopyToAppendsDatesWithoutCounters)
{
    TDateTimeList source;
    source.AddDate(at(2008, 5, 1), false, at(2008, 4, 30));
    source.AddDate(at(2008, 6, 1), false, 0);
    source.GetItem(0)->NotificationCount = 3;
    source.GetItem(0)->ExecuteCount = 2;
    TDateTimeList dest;
    dest.AddDate(at(2008, 6, 1), false, 0);
    source.CopyTo(dest, false);
    ASSERT_EQ(dest.GetCount(), 2);
    EXPECT_EQ(dest.GetItem(1)->DateTime, at(2008, 5, 1));
    EXPECT_EQ(dest.GetItem(1)->NotificationTime, at(2008, 4, 30));
    EXPECT_EQ(dest.GetItem(1)->NotificationCount, 0);
    EXPECT_EQ(dest.GetItem(1)->ExecuteCount, 0);
}

TEST(TDateTimeList, SortsAscendingWithAMillisecondTolerance)
{
    TDateTimeList list;
    list.AddDate(at(2008, 1, 3), false, 0);
    list.AddDate(at(2008, 1, 2), false, 0);
    list.Sort();
    EXPECT_EQ(list.GetItem(0)->DateTime, at(2008, 1, 2));

    TDateTimeItem a, b;
    a.DateTime = at(2008, 1, 2);
    b.DateTime = a.DateTime + 0.9 * OneMillisecond;
    EXPECT_EQ(CompareDateTimeItems(a, b), 0);
    b.DateTime = a.DateTime + 1.0 * OneMillisecond;
    EXPECT_EQ(CompareDateTimeItems(a, b), -1);
    EXPECT_EQ(CompareDateTimeItems(b, a), 1);
}

TEST(TDateTimeList, StringFormRoundTripsAndStopsAtTheFirstEmptyDate)
{
    TDateTimeList list;
    EXPECT_EQ(list.SaveToString(), QString());
    list.AddDate(at(2008, 5, 1, 9, 30), false, 0);
    list.AddDate(at(2008, 6, 1), false, 0);
    const QString text = list.SaveToString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("<DATE>2454587.89583333")) ||
                text.startsWith(QStringLiteral("<DATE>2454587,89583333")))
        << text.toStdString();

    TDateTimeList back;
    back.LoadFromString(text, false);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_NEAR(back.GetItem(0)->DateTime, at(2008, 5, 1, 9, 30), OneMillisecond);
    EXPECT_EQ(back.GetItem(1)->DateTime, at(2008, 6, 1));

    TDateTimeList mixed;
    mixed.LoadFromString(QStringLiteral("<date>abc</date><DATE>2454588.5</DATE><DATE></DATE><DATE>2454600.5</DATE>"),
                         false);
    ASSERT_EQ(mixed.GetCount(), 1);
    EXPECT_EQ(mixed.GetItem(0)->DateTime, at(2008, 5, 2));

    TDateTimeList empty;
    empty.LoadFromString(QString(), false);
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(TDateTimeList, StripSecondsKeepsDateHourAndMinute)
{
    EXPECT_EQ(StripSeconds(at(2008, 1, 2, 10, 15, 42, 500)), at(2008, 1, 2, 10, 15));
    EXPECT_EQ(StripSeconds(at(1899, 12, 29, 6, 0, 30)), at(1899, 12, 29, 6, 0));
}
