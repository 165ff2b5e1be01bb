#pragma once

#include <limits>
#include <type_traits>
#include <utility>

#include "Exceptions.h"

// Integer arithmetic that raises instead of wrapping around.

template <typename T>
T checkedAdd(T a, T b)
{
    T result;
    if (__builtin_add_overflow(a, b, &result))
        throw EIntOverflow();
    return result;
}

template <typename T>
T checkedSub(T a, T b)
{
    T result;
    if (__builtin_sub_overflow(a, b, &result))
        throw EIntOverflow();
    return result;
}

template <typename T>
T checkedMul(T a, T b)
{
    T result;
    if (__builtin_mul_overflow(a, b, &result))
        throw EIntOverflow();
    return result;
}

// A narrowing conversion that raises when the value does not fit its target.
template <typename To, typename From>
To checkedNarrow(From value)
{
    static_assert(std::is_integral_v<To>);
    if constexpr (std::is_floating_point_v<From>) {
        if (!(value >= static_cast<From>(std::numeric_limits<To>::min()) &&
              value <= static_cast<From>(std::numeric_limits<To>::max())))
            throw ERangeError();
        return static_cast<To>(value);
    } else {
        if (!std::in_range<To>(value))
            throw ERangeError();
        return static_cast<To>(value);
    }
}
