#pragma once

// How far a roll with no highest total is listed, shared by the count of a
// sum of terms and that of a node: through a total, then further until less
// than 10^-15 of the chance lies past the listing and the bounds on its
// moments round alike.

#include "dice/bounds/bounds.h"
#include "dice/value/distribution.h"

#include <cstdint>
#include <functional>
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

// Bounds on the moments of a keep listed as `kept`, its totals taken less
// `keptShift` never above a sum S that is never below 0: past the listing,
// from `past` on, the keep adds to each moment no more than S adds there.
// `sum` is S listed through past - 1 at least, its totals taken less
// `sumShift`; `mean` and `variance` are S's own, or bounds on them from above.
Moments KeptBelowSum(const Distribution &kept,
    std::int64_t keptShift,
    std::int64_t past,
    const Distribution &sum,
    std::int64_t sumShift,
    const mpq_class &mean,
    const mpq_class &variance);

// A roll counted through a total. Bounding its moments can cost more than
// the count, so they are asked for only once little enough of the chance
// lies past the listing; with no way to bound them given, the roll's own
// are taken.
struct Listing {
    Distribution roll;
    std::function<std::optional<Moments>()> moments;
};

// A roll counted by `count` through ever further totals, from a first one
// that `reach` (its lowest, highest and guess) and `through` give, until
// nothing lies past the listing, or less than 10^-15 does and the bounds on
// its moments settle; it is then cut there, or at `through` if further.
Distribution ListedFar(
    const Bounds &reach, std::int64_t through, const std::function<Listing(std::int64_t last)> &count);

} // namespace dice::detail
