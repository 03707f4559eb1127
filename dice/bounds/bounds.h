#pragma once

// Expressions beyond terms joined by + and -: products, divisions, abs,
// groups that keep or count their members. Each node is counted from its
// operands' rolls, which are independent. A node whose operands all have a
// highest total is counted whole and exactly. A node that has none is
// listed through a given total, its weight above that kept exactly in the
// tail, as a sum of terms is; that holds for sums, and for keeps and counts
// among members, whose counts in evaluate/nodes.cpp say why. Products, divisions and
// abs of such a roll are refused by the parser, and so is taking it away.

#include "dice/limits.h"
#include "dice/notation/expression.h"
#include "dice/value/stop.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace dice::detail
{

// The totals a node can reach: `highest` is empty where it has none, and
// `span` is then an estimate from above of how far it is listed, `guess` a
// guess at its last listed total for a first count likely to list far enough.
// `pushed` is how far past its own guess the roll with no highest total
// inside that is listed furthest gets listed, when the node is listed
// through its guess: the totals beside such a roll, or a compare point past
// it, make it listed further, with ever longer denominators.
struct Bounds {
    std::int64_t lowest = 0;
    std::optional<std::int64_t> highest;
    std::int64_t span = 0;
    std::int64_t guess = 0;
    std::int64_t pushed = 0;
};

// through - by, held where products' bounds are held.
inline std::int64_t Far(std::int64_t through, std::int64_t by)
{
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max() / 4;
    return std::clamp(through - by, -most, most);
}

// A span counts the distance from the lowest total to the highest, so the
// totals number one more: 0 to 2 spans 2 and holds 3.
inline bool SpansTooMany(std::int64_t span)
{
    return span + 1 > maxSpan;
}

Bounds TermsBounds(const std::vector<Term> &terms);
Bounds NodeBounds(const Node &node);

// How far member `i` of a group that keeps members is listed, the group
// being listed through `through`; `members` are the members' bounds.
std::int64_t MemberThrough(const Node &group, const std::vector<Bounds> &members, std::size_t i, std::int64_t through);

// floor, ceil or round of n / d, d not 0.
std::int64_t Rounded(std::int64_t n, std::int64_t d, Node::Rounding rounding);

} // namespace dice::detail
