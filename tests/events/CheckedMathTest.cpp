#include <gtest/gtest.h>

#include <climits>

#include "TestSupport.h"
#include "events/CheckedMath.h"

TEST(CheckedMath, RaisesInsteadOfWrapping)
{
    EXPECT_EQ(checkedAdd(INT_MAX - 1, 1), INT_MAX);
    EXPECT_THROW(checkedAdd(INT_MAX, 1), EIntOverflow);
    EXPECT_THROW(checkedSub(INT_MIN, 1), EIntOverflow);
    EXPECT_THROW(checkedMul(1 << 20, 1 << 12), EIntOverflow);
    try {
        checkedAdd(INT_MAX, 1);
    } catch (const EIntOverflow& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Integer overflow"));
    }
}

TEST(CheckedMath, NarrowingRaisesARangeCheckError)
{
    EXPECT_EQ(checkedNarrow<std::uint8_t>(255), 255);
    EXPECT_THROW(checkedNarrow<std::uint8_t>(256), ERangeError);
    EXPECT_THROW(checkedNarrow<std::uint32_t>(-1), ERangeError);
    EXPECT_THROW(checkedNarrow<std::int32_t>(3e9), ERangeError);
    try {
        checkedNarrow<std::int8_t>(200);
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Range check error"));
    }
}

TEST(Exceptions, WrapperTextsHaveThreeForms)
{
    EXPECT_EQ(exceptionIn("TEventList.GetEventView"), QStringLiteral("Exception in: \"TEventList.GetEventView\""));
    EXPECT_EQ(exceptionIn("TEvent.Snooze", QStringLiteral("boom")),
              QStringLiteral("Exception in: \"TEvent.Snooze\"\r\nboom"));
    EXPECT_EQ(exceptionIn("TEventList.GetEventViewDateTime", QStringLiteral("List index out of bounds (3)"), 12),
              QStringLiteral("Exception in: \"TEventList.GetEventViewDateTime\"\r\nList index out of bounds (3)12"));
    try {
        wrapExceptions("X.Y", [] { throw EListError(7); });
    } catch (const QuilletError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Exception in: \"X.Y\"\r\nList index out of bounds (7)"));
    }
}
