#pragma once

// Rolls weighed total by total, for sums of many exploding dice.

#include "dice/value/distribution.h"
#include "dice/value/stop.h"
#include "dice/value/weights.h"

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace dice::detail
{

// A roll weighed total by total: the share of total lowest + i is
// counts[i] / W^(rolls + i / step), for the W and step of its Grading.
struct Graded {
    std::int64_t lowest = 0;
    long rolls = 0;
    std::vector<mpz_class> counts;
    bool tail = false; // some of the roll lies past the listing
};

// The last total of the sum of two graded rolls that both list far enough
// to know, through `through`.
std::int64_t LastKnownOfSum(const Graded &a, const Graded &b, std::int64_t through);

// Rolls of dice whose every roll has W equally likely outcomes and whose
// explosions add at least `step`: a total of theirs takes a roll more per
// `step` at most, so graded counts stay about as large as numbers of ways.
class Grading
{
public:
    Grading(const mpz_class &base, std::int64_t step)
        : m_base(base)
        , m_step(static_cast<std::size_t>(step))
    {
    }

    // The roll graded; empty where its denominator is not a power of W.
    std::optional<Graded> Grade(const Distribution &measure);

    // The sum of two independent rolls, listed as Product lists it.
    Graded Product(const Graded &a, const Graded &b, std::int64_t through, const dice::StopToken &stop);

    // The listed shares over W^exponent, with no tail.
    Distribution Ungraded(const Graded &graded, long exponent);

    long Chunk(std::size_t i) const;
    std::size_t Step() const
    {
        return m_step;
    }
    const mpz_class &Power(std::size_t exponent);

private:
    mpz_class m_base;
    std::size_t m_step;
    std::vector<mpz_class> m_powers;
};

// Power for a die whose rolls have `base` equally likely outcomes each and
// whose explosions add at least `step`, counted total by total over the
// powers of `base` its totals need; the result has Power's shares, over a
// power of `base` that may be smaller than Power's denominator.
// Empty where the die's denominator is not a power of `base` or counting so
// saves little.
std::optional<Distribution> GradedPower(const Distribution &die,
    int n,
    std::int64_t through,
    const mpz_class &base,
    std::int64_t step,
    const dice::StopToken &stop);

} // namespace dice::detail
