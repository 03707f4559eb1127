#pragma once

// Counts of a roll as the coefficients of a polynomial in x, where x^t stands
// for the total t. The counting works modulo 2^(64 * width): with the width
// chosen so that every true count is below that power, the residue is the
// count itself, however large the differences and sums in between grew or
// how far below zero they went. So the counting needs only additions,
// subtractions and multiplications, which wrap.
//
// While every count of a pool fits in 64 or 128 bits the slots are machine
// integers; past that they are GMP limbs, a fixed number per slot.

#include "dice/value/stop.h"

#include <gmp.h>
#include <gmpxx.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace dice::detail
{

static_assert(GMP_NUMB_BITS == 64, "slots are laid out in 64-bit limbs");

__extension__ typedef unsigned __int128 Uint128;

// Below this many products of counts a plain loop is quicker than laying
// the counts out in slots.
inline constexpr std::size_t smallProduct = 256;

// Slot values laid out as one big integer, width limbs per slot, lowest
// total first: this is also the form GMP multiplies.
struct Packed {
    std::int64_t lowest = 0;
    std::size_t size = 0;
    std::size_t width = 1;
    std::vector<mp_limb_t> limbs;
};

// The counts of the sum of two independent rolls laid out alike.
Packed Convolve(const Packed &a, const Packed &b, const dice::StopToken &stop);

template <typename Word> class NativeSeries
{
public:
    using Number = Word;

    NativeSeries(std::size_t size, std::size_t)
        : m_slots(size)
    {
    }

    std::size_t Size() const
    {
        return m_slots.size();
    }

    void Add(std::size_t at, const Word &value)
    {
        m_slots[at] += value;
    }

    void AddProduct(std::size_t at, const Word &a, const Word &b, bool negative)
    {
        const Word product = a * b;
        m_slots[at] += negative ? Word(0) - product : product;
    }

    // Multiplies by 1 / (1 - x): every slot becomes the sum of those up to it.
    void Accumulate()
    {
        for (std::size_t i = 1; i < m_slots.size(); ++i)
            m_slots[i] += m_slots[i - 1];
    }

    // Multiplies by 1 - x^shift.
    void SubtractShifted(std::size_t shift)
    {
        for (std::size_t i = m_slots.size(); i-- > shift;)
            m_slots[i] -= m_slots[i - shift];
    }

    void CopySlot(std::size_t at, mp_limb_t *out) const
    {
        const Word value = m_slots[at];
        for (std::size_t i = 0; i < sizeof(Word) / sizeof(mp_limb_t); ++i)
            out[i] = static_cast<mp_limb_t>(value >> (64 * i));
    }

private:
    std::vector<Word> m_slots;
};

class BigSeries
{
public:
    using Number = mpz_class;

    BigSeries(std::size_t size, std::size_t width)
        : m_size(size)
        , m_width(width)
        , m_limbs(size * width)
    {
    }

    std::size_t Size() const
    {
        return m_size;
    }

    void Add(std::size_t at, const mpz_class &value)
    {
        AddSigned(at, value.get_mpz_t(), false);
    }

    void AddProduct(std::size_t at, const mpz_class &a, const mpz_class &b, bool negative)
    {
        // A factor of one limb is multiplied straight into the slot: most
        // factors are binomials that small, and a product of its own would
        // cost a pass and often an allocation more.
        mpz_srcptr big = a.get_mpz_t();
        mpz_srcptr small = b.get_mpz_t();
        if (mpz_size(small) > mpz_size(big))
            std::swap(big, small);
        if (mpz_size(small) == 1 && mpz_sgn(big) > 0 && mpz_sgn(small) > 0) {
            AddTimesLimb(at, big, mpz_getlimbn(small, 0), negative);
            return;
        }
        mpz_mul(m_product.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
        AddSigned(at, m_product.get_mpz_t(), negative);
    }

    void Accumulate()
    {
        const auto width = static_cast<mp_size_t>(m_width);
        for (std::size_t i = 1; i < m_size; ++i)
            mpn_add_n(Slot(i), Slot(i), Slot(i - 1), width);
    }

    void SubtractShifted(std::size_t shift)
    {
        const auto width = static_cast<mp_size_t>(m_width);
        for (std::size_t i = m_size; i-- > shift;)
            mpn_sub_n(Slot(i), Slot(i), Slot(i - shift), width);
    }

    void CopySlot(std::size_t at, mp_limb_t *out) const
    {
        std::copy_n(m_limbs.data() + at * m_width, m_width, out);
    }

private:
    mp_limb_t *Slot(std::size_t at)
    {
        return m_limbs.data() + at * m_width;
    }

    // Adds or subtracts the value modulo 2^(64 * width): only its lowest
    // limbs matter, and the carry out of the slot is dropped.
    void AddSigned(std::size_t at, mpz_srcptr value, bool negative)
    {
        const std::size_t size = std::min(mpz_size(value), m_width);
        if (size == 0)
            return;
        const mp_limb_t *limbs = mpz_limbs_read(value);
        const auto width = static_cast<mp_size_t>(m_width);
        if (negative != (mpz_sgn(value) < 0))
            mpn_sub(Slot(at), Slot(at), width, limbs, static_cast<mp_size_t>(size));
        else
            mpn_add(Slot(at), Slot(at), width, limbs, static_cast<mp_size_t>(size));
    }

    // Adds or subtracts value * factor for a positive value, modulo
    // 2^(64 * width) as AddSigned does.
    void AddTimesLimb(std::size_t at, mpz_srcptr value, mp_limb_t factor, bool negative)
    {
        const std::size_t size = std::min(mpz_size(value), m_width);
        const mp_limb_t *limbs = mpz_limbs_read(value);
        mp_limb_t *slot = Slot(at);
        const auto used = static_cast<mp_size_t>(size);
        const mp_limb_t carry =
            negative ? mpn_submul_1(slot, limbs, used, factor) : mpn_addmul_1(slot, limbs, used, factor);
        if (size == m_width)
            return;
        const auto rest = static_cast<mp_size_t>(m_width - size);
        if (negative)
            mpn_sub_1(slot + size, slot + size, rest, carry);
        else
            mpn_add_1(slot + size, slot + size, rest, carry);
    }

    std::size_t m_size;
    std::size_t m_width;
    std::vector<mp_limb_t> m_limbs;
    mpz_class m_product;
};

} // namespace dice::detail
