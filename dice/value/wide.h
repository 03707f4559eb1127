#pragma once

// Whole numbers of 64 bits into and out of GMP. GMP's own conversions take a
// C long, which has 64 bits on the machines the program is built for natively
// but 32 in WebAssembly; there these go through GMP's 64-bit limbs instead,
// with the same results.

#include <gmp.h>
#include <gmpxx.h>

#include <cstdint>

namespace dice
{

inline mpz_class BigUnsigned(std::uint64_t value)
{
    if constexpr (sizeof(unsigned long) >= sizeof(std::uint64_t)) {
        return mpz_class(static_cast<unsigned long>(value));
    } else {
        mpz_class big;
        mpz_import(big.get_mpz_t(), 1, -1, sizeof value, 0, 0, &value);
        return big;
    }
}

inline mpz_class Big(std::int64_t value)
{
    if constexpr (sizeof(long) >= sizeof(std::int64_t)) {
        return mpz_class(static_cast<long>(value));
    } else {
        const mpz_class magnitude =
            BigUnsigned(value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
        return value < 0 ? mpz_class(-magnitude) : magnitude;
    }
}

// The lowest 64 bits of the magnitude, as mpz_get_ui reads them where a long
// has 64 bits.
inline std::uint64_t LowWord(const mpz_class &value)
{
    if constexpr (sizeof(unsigned long) >= sizeof(std::uint64_t)) {
        return mpz_get_ui(value.get_mpz_t());
    } else {
        static_assert(GMP_NUMB_BITS == 64, "a limb holds the 64 bits");
        return mpz_size(value.get_mpz_t()) == 0 ? 0 : mpz_getlimbn(value.get_mpz_t(), 0);
    }
}

// A value known to lie in the range of an int64_t.
inline std::int64_t Small(const mpz_class &value)
{
    if constexpr (sizeof(long) >= sizeof(std::int64_t)) {
        return value.get_si();
    } else {
        const std::uint64_t magnitude = LowWord(value);
        return sgn(value) < 0 ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    }
}

} // namespace dice
