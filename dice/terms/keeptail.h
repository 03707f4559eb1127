#pragma once

// How far the remainder of a keep of exploding dice can reach.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <gmpxx.h>

#include <cstdint>
#include <optional>

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
    const Term &term, const Distribution &kept, std::int64_t low, std::int64_t past, const dice::StopToken &stop);

} // namespace dice::detail
