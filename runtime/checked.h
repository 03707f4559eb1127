#pragma once

// Checked arithmetic on 16- and 32-bit signed integers and on doubles: every
// operation either yields its exact (integers) or finite (doubles) result or
// throws, never wraps and never lets an infinity or NaN through.

#include "runtime/errors.h"

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <utility>

namespace runtime
{

template <typename T>
concept CheckedInt = std::same_as<T, std::int16_t> || std::same_as<T, std::int32_t>;

template <CheckedInt T> T Add(T a, T b)
{
    T r;
    if (__builtin_add_overflow(a, b, &r))
        throw OverflowError("integer overflow");
    return r;
}

template <CheckedInt T> T Sub(T a, T b)
{
    T r;
    if (__builtin_sub_overflow(a, b, &r))
        throw OverflowError("integer overflow");
    return r;
}

template <CheckedInt T> T Mul(T a, T b)
{
    T r;
    if (__builtin_mul_overflow(a, b, &r))
        throw OverflowError("integer overflow");
    return r;
}

// Narrows a wider integer, throwing when the value does not fit.
template <CheckedInt T, std::integral From> T Narrow(From value)
{
    if (!std::in_range<T>(value))
        throw OverflowError("integer overflow");
    return static_cast<T>(value);
}

// With finite operands a result that is not finite can only come from an
// invalid operation, a division by zero or an overflow.
inline double Finite(double result)
{
    if (!std::isfinite(result))
        throw FloatingPointError("floating-point error");
    return result;
}

inline double Div(double a, double b)
{
    if (b == 0.0)
        throw FloatingPointError("division by zero");
    return Finite(a / b);
}

} // namespace runtime
