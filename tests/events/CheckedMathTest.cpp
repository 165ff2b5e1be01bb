#include <gtest/gtest.h>

#include <climits>

#include "TestSupport.h"
#include "events/CheckedMath.h"

using testing_support::messageOf;

TEST(CheckedMath, RaisesInsteadOfWrapping)
{
    EXPECT_EQ(checkedAdd(INT_MAX - 1, 1), INT_MAX);
    EXPECT_EQ(messageOf<EIntOverflow>([] { checkedAdd(INT_MAX, 1); }), "Integer overflow");
    EXPECT_THROW(checkedSub(INT_MIN, 1), EIntOverflow);
    EXPECT_THROW(checkedMul(1 << 20, 1 << 12), EIntOverflow);
    EXPECT_EQ(checkedNarrow<std::uint8_t>(255), 255);
    EXPECT_EQ(messageOf<ERangeError>([] { checkedNarrow<std::int8_t>(200); }), "Range check error");
    EXPECT_THROW(checkedNarrow<std::uint32_t>(-1), ERangeError);
    // The other two forms of the wrapper text are checked where the model raises them.
    EXPECT_EQ(exceptionIn("TEventList.GetEventView"), "Exception in: \"TEventList.GetEventView\"");
}
