#include "dice/tree.h"
#include "dice/die.h"
#include "dice/rules.h"
#include "dice/weights.h"

#include <algorithm>
#include <limits>

namespace dice::detail
{

namespace
{

// Bounds of products are held within these, so that the parser can refuse
// what lies past maxTotal without overflowing.
constexpr std::int64_t far = std::numeric_limits<std::int64_t>::max() / 4;

std::int64_t HeldProduct(std::int64_t x, std::int64_t y)
{
    std::int64_t product = 0;
    if (__builtin_mul_overflow(x, y, &product))
        return (x < 0) != (y < 0) ? -far : far;
    return std::clamp(product, -far, far);
}

std::int64_t FloorDivide(std::int64_t n, std::int64_t d)
{
    std::int64_t q = n / d;
    if (n % d != 0 && (n < 0) != (d < 0))
        --q;
    return q;
}

Bounds Exactly(std::int64_t lowest, std::int64_t highest)
{
    return { lowest, highest, highest - lowest, highest };
}

// The members' lowest and highest totals, each sorted; one with no highest
// is taken as `far`.
struct Sorted {
    std::vector<std::int64_t> lowest;
    std::vector<std::int64_t> highest;
    std::vector<std::int64_t> guess;
};

Sorted SortedBounds(const std::vector<Bounds> &members)
{
    Sorted sorted;
    for (const Bounds &member : members) {
        sorted.lowest.push_back(member.lowest);
        sorted.highest.push_back(member.highest.value_or(far));
        sorted.guess.push_back(member.guess);
    }
    std::sort(sorted.lowest.begin(), sorted.lowest.end());
    std::sort(sorted.highest.begin(), sorted.highest.end());
    std::sort(sorted.guess.begin(), sorted.guess.end());
    return sorted;
}

Bounds GroupBounds(const Node &group)
{
    std::vector<Bounds> members;
    std::int64_t span = 0;
    for (const Node &member : group.operands) {
        members.push_back(NodeBounds(member));
        span += members.back().span;
    }
    const auto n = static_cast<std::int64_t>(members.size());
    if (group.success.kind != Compare::Kind::None)
        return Exactly(group.failure.kind == Compare::Kind::None ? 0 : -n, n);
    // The kept members' sum is at least the sum of as many least lowest
    // totals on the kept side, and at most that of the highest.
    const Sorted sorted = SortedBounds(members);
    const bool highest = group.pick == Pick::Highest;
    const auto kept = static_cast<std::size_t>(group.kept);
    Bounds bounds;
    std::optional<std::int64_t> top = 0;
    for (std::size_t i = 0; i < kept; ++i) {
        const std::size_t at = highest ? sorted.lowest.size() - 1 - i : i;
        bounds.lowest += sorted.lowest[at];
        bounds.guess += sorted.guess[at];
        const std::int64_t high = sorted.highest[at];
        top = top && high != far ? std::optional(*top + high) : std::nullopt;
    }
    bounds.highest = top;
    bounds.span = top ? *top - bounds.lowest : span;
    bounds.guess = top ? *top : bounds.guess;
    return bounds;
}

// A part added to a sum, or taken away from it.
void AddPart(Bounds &bounds, const Bounds &part, int sign)
{
    bounds.span += part.span;
    if (sign > 0) {
        bounds.guess += part.guess;
        bounds.lowest += part.lowest;
        bounds.highest = bounds.highest && part.highest ? std::optional(*bounds.highest + *part.highest) : std::nullopt;
    } else {
        // The parser takes away only parts with a highest total.
        bounds.guess -= part.lowest;
        bounds.lowest -= part.highest.value_or(far);
        if (bounds.highest)
            *bounds.highest -= part.lowest;
    }
}

// A sum with a highest total spans exactly its totals and is listed whole.
void CloseSum(Bounds &bounds)
{
    if (bounds.highest) {
        bounds.span = *bounds.highest - bounds.lowest;
        bounds.guess = *bounds.highest;
    }
}

} // namespace

std::int64_t Rounded(std::int64_t n, std::int64_t d, Node::Rounding rounding)
{
    switch (rounding) {
    case Node::Rounding::Floor:
        return FloorDivide(n, d);
    case Node::Rounding::Ceil:
        return -FloorDivide(-n, d);
    case Node::Rounding::Round:
        // floor(n / d + 1/2): halves go up, -5/2 to -2.
        return FloorDivide(2 * n + d, 2 * d);
    }
    return 0;
}

Bounds TermsBounds(const std::vector<Term> &terms)
{
    Bounds bounds;
    bounds.highest = 0;
    for (const Term &term : terms) {
        if (term.dice == 0) {
            bounds.lowest += term.sign * term.number;
            bounds.guess += term.sign * term.number;
            if (bounds.highest)
                *bounds.highest += term.sign * term.number;
            continue;
        }
        const Reach reach = TermReach(term);
        AddPart(bounds, { reach.lowest, reach.highest, TermSpan(term), TermListing(term) }, term.sign);
    }
    CloseSum(bounds);
    return bounds;
}

Bounds NodeBounds(const Node &node)
{
    switch (node.kind) {
    case Node::Kind::Sum: {
        Bounds bounds = TermsBounds(node.terms);
        for (std::size_t i = 0; i < node.operands.size(); ++i)
            AddPart(bounds, NodeBounds(node.operands[i]), node.signs[i]);
        CloseSum(bounds);
        return bounds;
    }
    case Node::Kind::Product:
    case Node::Kind::Divide: {
        const Bounds a = NodeBounds(node.operands[0]);
        const Bounds b = NodeBounds(node.operands[1]);
        const std::int64_t aEnds[] = { a.lowest, a.highest.value_or(far) };
        const std::int64_t bEnds[] = { b.lowest, b.highest.value_or(far) };
        // Both are monotone in each operand where the divisor keeps its
        // sign, so the ends of the result lie at ends of the operands.
        std::int64_t lowest = far;
        std::int64_t highest = -far;
        for (const std::int64_t x : aEnds) {
            for (const std::int64_t y : bEnds) {
                std::int64_t value = 0;
                if (node.kind == Node::Kind::Product)
                    value = HeldProduct(x, y);
                else
                    value = y == 0 ? 0 : Rounded(x, y, node.rounding);
                lowest = std::min(lowest, value);
                highest = std::max(highest, value);
            }
        }
        return Exactly(lowest, highest);
    }
    case Node::Kind::Abs: {
        const Bounds a = NodeBounds(node.operands[0]);
        const std::int64_t high = a.highest.value_or(far);
        if (a.lowest >= 0)
            return Exactly(a.lowest, high);
        if (high <= 0)
            return Exactly(-high, -a.lowest);
        return Exactly(0, std::max(-a.lowest, high));
    }
    case Node::Kind::Group:
        return GroupBounds(node);
    }
    return {};
}

} // namespace dice::detail
