#include "dice/bounds/bounds.h"
#include "dice/bounds/rules.h"
#include "dice/terms/die.h"
#include "dice/value/weights.h"

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

// How far past its lowest a part is listed when listed through its guess.
std::int64_t Extent(const Bounds &part)
{
    return std::min(part.highest.value_or(part.guess) - part.lowest, far);
}

// A part of a sum with no highest total is listed as far past its own
// guess as the other parts reach past their lowest.
std::int64_t PushedInSum(const std::vector<Bounds> &parts)
{
    std::int64_t whole = 0;
    for (const Bounds &part : parts)
        whole = std::min(whole + Extent(part), far);
    std::int64_t pushed = 0;
    for (const Bounds &part : parts)
        pushed = std::max(pushed, part.pushed + (part.highest ? 0 : whole - Extent(part)));
    return pushed;
}

// A member with no highest total is listed through `through` where that
// lies past its own guess.
std::int64_t PushedTo(const Bounds &member, std::int64_t through)
{
    return member.pushed + (member.highest ? 0 : std::max<std::int64_t>(through - member.guess, 0));
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
    if (group.success.kind != Compare::Kind::None) {
        // Each member is listed just past the compare points.
        std::int64_t past = group.success.value;
        if (group.failure.kind != Compare::Kind::None)
            past = std::max(past, group.failure.value);
        Bounds count = Exactly(group.failure.kind == Compare::Kind::None ? 0 : -n, n);
        for (const Bounds &member : members)
            count.pushed = std::max(count.pushed, PushedTo(member, past + 1));
        return count;
    }
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
    if (group.pick == Pick::All) {
        bounds.pushed = PushedInSum(members);
        return bounds;
    }
    for (std::size_t i = 0; i < members.size(); ++i)
        bounds.pushed = std::max(bounds.pushed, PushedTo(members[i], MemberThrough(group, members, i, bounds.guess)));
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

std::int64_t MemberThrough(const Node &group, const std::vector<Bounds> &members, std::size_t i, std::int64_t through)
{
    // A kept member lies at most as far above the other kept ones' lowest
    // as the listing leaves room for. Keeping the highest, those are at
    // least the K - 1 highest lowest of the others, and a dropped member
    // lies below K kept ones: it is at most the K-th highest of the others'
    // highest, and at most a K-th of the listing.
    std::int64_t unitLow = std::numeric_limits<std::int64_t>::max();
    for (const Bounds &member : members)
        unitLow = std::min(unitLow, member.lowest);
    const auto k = static_cast<std::size_t>(group.kept);
    if (group.pick != Pick::Highest || k < 2)
        return Far(through, static_cast<std::int64_t>(group.kept - 1) * unitLow);
    std::vector<std::int64_t> lows;
    std::vector<std::int64_t> highs;
    for (std::size_t j = 0; j < members.size(); ++j) {
        if (j == i)
            continue;
        lows.push_back(members[j].lowest);
        highs.push_back(members[j].highest.value_or(std::numeric_limits<std::int64_t>::max()));
    }
    std::sort(lows.rbegin(), lows.rend());
    std::sort(highs.rbegin(), highs.rend());
    std::int64_t others = 0;
    for (std::size_t j = 0; j + 1 < k; ++j)
        others += lows[j];
    const std::int64_t dropped = std::min(Rounded(through, group.kept, Node::Rounding::Floor), highs[k - 1]);
    return std::max(Far(through, others), dropped);
}

std::int64_t Rounded(std::int64_t n, std::int64_t d, Node::Rounding rounding)
{
    switch (rounding) {
    case Node::Rounding::Floor:
        return FloorDivide(n, d);
    case Node::Rounding::Ceil:
        return -FloorDivide(-n, d);
    case Node::Rounding::Round: {
        // Halves go away from zero, as online dice rollers round: -5/2 to -3,
        // 5/2 to 3, so that round(-A / B) is -round(A / B).
        const std::int64_t magnitude = (2 * (n < 0 ? -n : n) + (d < 0 ? -d : d)) / (2 * (d < 0 ? -d : d));
        return (n < 0) != (d < 0) ? -magnitude : magnitude;
    }
    }
    return 0;
}

Bounds TermsBounds(const std::vector<Term> &terms)
{
    Bounds bounds;
    bounds.highest = 0;
    std::vector<Bounds> parts;
    for (const Term &term : terms) {
        if (term.dice == 0) {
            bounds.lowest += term.sign * term.number;
            bounds.guess += term.sign * term.number;
            if (bounds.highest)
                *bounds.highest += term.sign * term.number;
            continue;
        }
        const Reach reach = TermReach(term);
        parts.push_back({ reach.lowest, reach.highest, TermSpan(term), TermListing(term) });
        AddPart(bounds, parts.back(), term.sign);
    }
    CloseSum(bounds);
    bounds.pushed = PushedInSum(parts);
    return bounds;
}

Bounds NodeBounds(const Node &node)
{
    switch (node.kind) {
    case Node::Kind::Sum: {
        Bounds bounds = TermsBounds(node.terms);
        std::vector<Bounds> parts { bounds };
        for (std::size_t i = 0; i < node.operands.size(); ++i) {
            parts.push_back(NodeBounds(node.operands[i]));
            AddPart(bounds, parts.back(), node.signs[i]);
        }
        CloseSum(bounds);
        bounds.pushed = PushedInSum(parts);
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
        Bounds bounds = Exactly(lowest, highest);
        bounds.pushed = std::max(a.pushed, b.pushed);
        return bounds;
    }
    case Node::Kind::Abs: {
        const Bounds a = NodeBounds(node.operands[0]);
        const std::int64_t high = a.highest.value_or(far);
        Bounds bounds = Exactly(0, std::max(-a.lowest, high));
        if (a.lowest >= 0)
            bounds = Exactly(a.lowest, high);
        else if (high <= 0)
            bounds = Exactly(-high, -a.lowest);
        bounds.pushed = a.pushed;
        return bounds;
    }
    case Node::Kind::Group:
        return GroupBounds(node);
    }
    return {};
}

} // namespace dice::detail
