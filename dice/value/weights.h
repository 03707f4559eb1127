#pragma once

// Weighted rolls as the new modifiers build them: a Distribution read as a
// measure, whose listed weights and tail need not add up to its denominator
// while a die is put together (the part of a die that explodes, say). Every
// operation lists exactly what its inputs let it know exactly, and keeps the
// rest in the tail.

#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace dice::detail
{

// base^exponent and the ways to choose k of n, for counts of dice.
mpz_class PowerOf(const mpz_class &base, long exponent);
mpz_class Binomial(long n, long k);

// The listed weights and the tail.
mpz_class Mass(const Distribution &measure);

// One total, certain.
Distribution Point(std::int64_t total);

// The sum of two independent rolls. It lists every total through `through`
// that both list far enough to know; the rest of the product is tail.
Distribution SumOfRolls(
    const Distribution &a, const Distribution &b, std::int64_t through, const dice::StopToken &stop);

// The sum of n independent rolls alike.
Distribution SumOfAlike(const Distribution &a, int n, std::int64_t through, const dice::StopToken &stop);

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
