#pragma once

#include "dice/dice.h"

#include <cstdint>
#include <optional>
#include <stop_token>

namespace dice::detail
{

// Keeps the term's highest or lowest dice of a weighted die, then sums or
// counts them, through `through` at least where the term reaches. Dice that
// explode are weighed total by total unless `graded` is false.
Distribution Keep(
    const Distribution &die, const Term &term, std::int64_t through, const std::stop_token &stop, bool graded = true);

} // namespace dice::detail

namespace dice::detail
{

// Upper bounds on what a keep of `term` adds to its first and second moments
// from `past` on, every value taken less `low` (the die's lowest), given the
// keep `kept` listed up to past - 1 + term.kept * low and its exact remainder.
// Empty where the dice do not lend themselves to it.
struct TailBounds {
    mpq_class first;
    mpq_class second;
};
std::optional<TailBounds> KeptTailBounds(
    const Term &term, const Distribution &kept, std::int64_t low, std::int64_t past, const std::stop_token &stop);

} // namespace dice::detail
