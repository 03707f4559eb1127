#pragma once

// Weighted rolls as the new modifiers build them: a Distribution read as a
// measure, whose listed weights and tail need not add up to its denominator
// while a die is put together (the part of a die that explodes, say). Every
// operation lists exactly what its inputs let it know exactly, and keeps the
// rest in the tail.

#include "dice/dice.h"

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

namespace dice::detail
{

void Check(const std::stop_token &stop);

// Numbers and dice of equal faces with nothing but keep or drop, counted
// throw by throw: weights are numbers of equally likely outcomes.
Distribution CountPlain(const std::vector<Term> &terms, const std::stop_token &stop);

// The first `totals` totals of one such term that keeps the highest of its
// dice, counted as CountPlain counts them; the rest are left out, not tail.
Distribution FirstKept(const Term &term, std::size_t totals, const std::stop_token &stop);

// The listed weights and the tail.
mpz_class Mass(const Distribution &measure);

// One total, certain.
Distribution Point(std::int64_t total);

// The sum of two independent rolls. It lists every total through `through`
// that both list far enough to know; the rest of the product is tail.
Distribution Product(const Distribution &a, const Distribution &b, std::int64_t through, const std::stop_token &stop);

// The sum of n independent rolls alike.
Distribution Power(const Distribution &a, int n, std::int64_t through, const std::stop_token &stop);

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
    Graded Product(const Graded &a, const Graded &b, std::int64_t through, const std::stop_token &stop);

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
    const std::stop_token &stop);

// The same shares over a denominator that is a multiple of the old one.
void Rescale(Distribution &measure, const mpz_class &denominator);

// Adds b's weights into a; both have the same denominator.
void AddInto(Distribution &a, const Distribution &b);

// Every total turned to its negative; the roll must have no tail.
void Negate(Distribution &measure);

// Drops zero weights from the ends: from the top only where nothing lies above.
void Trim(Distribution &measure);

// Moves every weight above `last` into the tail.
void Cut(Distribution &measure, std::int64_t last);

// Divides the weights, tail and denominator by their greatest common divisor.
void Reduce(Distribution &measure);

// The first and second moments of the listed totals below `past`, each
// total taken less `shift`, as sums of weights over the denominator.
struct ListedSums {
    mpz_class first;
    mpz_class second;
};
ListedSums SumsBelow(const Distribution &measure, std::int64_t shift, std::int64_t past);

// Bounds on the moments of a keep listed as `kept`, its totals taken less
// `shift`: what lies past the listing, from `past` on, adds at least its
// chance times `past` to the first moment (times `past` squared to the
// second) and at most `beyondFirst` and `beyondSecond`.
Moments KeptMomentBounds(const Distribution &kept,
    std::int64_t shift,
    std::int64_t past,
    const mpq_class &beyondFirst,
    const mpq_class &beyondSecond);

} // namespace dice::detail
