#pragma once

// The two kinds of number a count of a pool runs in. Every weight the count
// holds is a part of the pool's denominator, so where that denominator is
// below 2^127 machine integers hold them all and GMP is needed only past it.

#include "dice/value/wide.h"

#include <gmpxx.h>

#include <cstdint>
#include <type_traits>

namespace dice::pools::detail
{

__extension__ typedef unsigned __int128 Wide;

inline bool FitsWide(const mpz_class &denominator)
{
    return mpz_sizeinbase(denominator.get_mpz_t(), 2) <= 127;
}

inline bool IsZero(Wide x)
{
    return x == 0;
}

inline bool IsZero(const mpz_class &x)
{
    return mpz_sgn(x.get_mpz_t()) == 0;
}

inline void AddProduct(Wide &sum, Wide a, Wide b)
{
    sum += a * b;
}

inline void AddProduct(mpz_class &sum, const mpz_class &a, const mpz_class &b)
{
    mpz_addmul(sum.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
}

inline void Multiply(Wide &product, Wide a, Wide b)
{
    product = a * b;
}

inline void Multiply(mpz_class &product, const mpz_class &a, const mpz_class &b)
{
    mpz_mul(product.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
}

// Only for a number known to fit; a larger one wraps, as the unused
// entries of a table may.
template <class Number> Number FromMpz(const mpz_class &x)
{
    if constexpr (std::is_same_v<Number, mpz_class>) {
        return x;
    } else {
        const mpz_class high = x >> 64;
        return (static_cast<Wide>(LowWord(high)) << 64) | LowWord(x);
    }
}

inline mpz_class ToMpz(Wide x)
{
    mpz_class value = BigUnsigned(static_cast<std::uint64_t>(x >> 64));
    value <<= 64;
    value += BigUnsigned(static_cast<std::uint64_t>(x));
    return value;
}

inline mpz_class ToMpz(const mpz_class &x)
{
    return x;
}

} // namespace dice::pools::detail
