#pragma once

// How far a roll with no highest total is listed, shared by the count of a
// sum of terms and that of a node: through a total, then further until less
// than 10^-15 of the chance lies past the listing and the bounds on its
// moments round alike.

#include "dice/value/distribution.h"

#include <cstdint>
#include <optional>

namespace dice::detail
{

// How far past its lowest total a roll with no highest total is listed at
// first, at the least: a die's first few totals, whose fall guides the next.
inline constexpr std::int64_t firstListing = 16;

// The mean and variance of a roll with no tail.
Moments ExactMoments(const Distribution &roll);
Moments Plus(const Moments &a, const Moments &b);
// Whether both ends of each moment print alike.
bool Settled(const Moments &moments);
// The first total above which less than 10^-15 of the chance lies, if the
// listing reaches it.
std::optional<std::int64_t> LastListed(const Distribution &roll);
// Where to list through next, the listing having been asked to reach `last`
// from `least`.
std::int64_t NextListing(const Distribution &roll, std::int64_t least, std::int64_t last);

} // namespace dice::detail
