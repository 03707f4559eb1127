// The count of each node of an expression tree. A listed weight is always
// exact; what a node cannot know exactly from its operands' listings it
// leaves in its tail, and every tail closes its roll's weights to its
// denominator. Operands are independent, so their denominators multiply.

#include "dice/evaluate/nodes.h"

#include "dice/bounds/bounds.h"
#include "dice/evaluate/evaluate.h"
#include "dice/evaluate/listing.h"
#include "dice/terms/die.h"
#include "dice/terms/keep.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace dice::detail
{

namespace
{

Moments MomentsOf(const Distribution &roll)
{
    return roll.tail == 0 ? ExactMoments(roll) : *roll.moments;
}

mpz_class Weight(const Distribution &roll, std::int64_t total)
{
    if (total < roll.lowest || total > roll.Highest())
        return 0;
    return roll.counts[static_cast<std::size_t>(total - roll.lowest)];
}

// Weights gathered total by total into a bounded roll.
class Tally
{
public:
    Tally(std::int64_t lowest, std::int64_t highest, mpz_class outcomes)
    {
        m_roll.lowest = lowest;
        m_roll.counts.resize(static_cast<std::size_t>(highest - lowest + 1));
        m_roll.outcomes = std::move(outcomes);
    }

    void Add(std::int64_t total, const mpz_class &a, const mpz_class &b)
    {
        mpz_addmul(
            m_roll.counts[static_cast<std::size_t>(total - m_roll.lowest)].get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
    }

    Distribution Done()
    {
        Trim(m_roll);
        Reduce(m_roll);
        return std::move(m_roll);
    }

private:
    Distribution m_roll;
};

Distribution Sum(const Node &node, std::int64_t through, const dice::StopToken &stop)
{
    // Each part is listed as far as the others' lowest totals leave room for.
    std::vector<Bounds> bounds;
    std::int64_t least = 0;
    if (!node.terms.empty()) {
        bounds.push_back(TermsBounds(node.terms));
        least += bounds.back().lowest;
    }
    for (std::size_t i = 0; i < node.operands.size(); ++i) {
        Bounds part = NodeBounds(node.operands[i]);
        if (node.signs[i] < 0)
            part.lowest = -*part.highest;
        bounds.push_back(part);
        least += part.lowest;
    }
    std::vector<Distribution> parts;
    std::size_t at = 0;
    if (!node.terms.empty()) {
        Expression flat;
        flat.terms = node.terms;
        parts.push_back(EvaluateRoll(flat, stop, Far(through, least - bounds[at++].lowest)));
    }
    for (std::size_t i = 0; i < node.operands.size(); ++i, ++at) {
        parts.push_back(Value(node.operands[i], Far(through, least - bounds[at].lowest), stop));
        if (node.signs[i] < 0)
            Negate(parts.back());
    }
    // A partial sum is listed as far as the parts still to come leave room
    // for: cut at the sum's own last total, it would lose what a part below
    // zero brings back down.
    Distribution total = parts.front();
    total.moments.reset();
    std::int64_t restLowest = least - bounds.front().lowest;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        restLowest -= bounds[i].lowest;
        total = SumOfRolls(total, parts[i], Far(through, restLowest), stop);
    }
    if (total.tail == 0) {
        Trim(total);
        Reduce(total);
        return total;
    }
    // The variances of independent parts add, as their means do.
    Moments moments = MomentsOf(parts.front());
    for (std::size_t i = 1; i < parts.size(); ++i)
        moments = Plus(moments, MomentsOf(parts[i]));
    total.moments = moments;
    return total;
}

// Products, divisions and abs take operands with a highest total, listed whole.
Distribution Arithmetic(const Node &node, const dice::StopToken &stop)
{
    const Bounds bounds = NodeBounds(node);
    const Distribution a = Value(node.operands[0], *NodeBounds(node.operands[0]).highest, stop);
    if (node.kind == Node::Kind::Abs) {
        Tally tally(bounds.lowest, *bounds.highest, a.outcomes);
        for (std::size_t i = 0; i < a.counts.size(); ++i) {
            const std::int64_t x = a.lowest + static_cast<std::int64_t>(i);
            tally.Add(x < 0 ? -x : x, a.counts[i], 1);
        }
        return tally.Done();
    }
    const Distribution b = Value(node.operands[1], *NodeBounds(node.operands[1]).highest, stop);
    Tally tally(bounds.lowest, *bounds.highest, a.outcomes * b.outcomes);
    for (std::size_t i = 0; i < a.counts.size(); ++i) {
        Check(stop);
        if (a.counts[i] == 0)
            continue;
        const std::int64_t x = a.lowest + static_cast<std::int64_t>(i);
        for (std::size_t j = 0; j < b.counts.size(); ++j) {
            if (b.counts[j] == 0)
                continue;
            const std::int64_t y = b.lowest + static_cast<std::int64_t>(j);
            tally.Add(
                node.kind == Node::Kind::Product ? x * y : Rounded(x, y, node.rounding), a.counts[i], b.counts[j]);
        }
    }
    return tally.Done();
}

// How many members meet the compare point, less those that meet the
// failure point. Each member is listed past both points: every total above
// its listing meets each alike, as a die's do.
Distribution CountMembers(const Node &group, const dice::StopToken &stop)
{
    Term points;
    points.success = group.success;
    points.failure = group.failure;
    std::int64_t past = group.success.value;
    if (group.failure.kind != Compare::Kind::None)
        past = std::max(past, group.failure.value);
    Distribution count = Point(0);
    for (const Node &member : group.operands) {
        const Distribution scored = Counted(Value(member, past + 1, stop), points);
        count = SumOfRolls(count, scored, std::numeric_limits<std::int64_t>::max() / 4, stop);
    }
    Trim(count);
    Reduce(count);
    return count;
}

// The weight at or below each total, as far as a member's listing tells it.
mpz_class AtMost(const Distribution &member, std::int64_t total)
{
    if (total < member.lowest)
        return 0;
    mpz_class sum;
    const std::int64_t last = std::min(total, member.Highest());
    for (std::int64_t v = member.lowest; v <= last; ++v)
        sum += member.counts[static_cast<std::size_t>(v - member.lowest)];
    if (total > member.Highest())
        sum += member.tail;
    return sum;
}

// The highest or lowest one of the members: the chance that the highest is
// at most v is the product of each member's chance of being at most v, and
// likewise that the lowest is above v. A member's tail lies above its
// listing, so each total is listed only while every member's listing
// reaches it.
Distribution KeepOne(const std::vector<Distribution> &members, bool highest, std::int64_t through)
{
    std::int64_t low = highest ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    std::int64_t last = through;
    std::int64_t top = highest ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    mpz_class outcomes = 1;
    bool unbounded = false;
    for (const Distribution &member : members) {
        low = highest ? std::max(low, member.lowest) : std::min(low, member.lowest);
        unbounded = unbounded || member.tail != 0;
        if (member.tail != 0)
            last = std::min(last, member.Highest());
        else
            top = highest ? std::max(top, member.Highest()) : std::min(top, member.Highest());
        outcomes *= member.outcomes;
    }
    // The highest is past every bounded member's highest only when all are
    // bounded; the lowest is at most any bounded member's highest.
    const bool anyBounded =
        top != std::numeric_limits<std::int64_t>::min() && top != std::numeric_limits<std::int64_t>::max();
    if (anyBounded && (!highest || !unbounded))
        last = std::min(last, top);
    Distribution result;
    result.lowest = low;
    result.outcomes = outcomes;
    // Running sums of each member, so that each total costs one product per member.
    std::vector<mpz_class> below(members.size());
    for (std::size_t m = 0; m < members.size(); ++m)
        below[m] = AtMost(members[m], low - 1);
    mpz_class before;
    mpz_class now;
    for (std::int64_t v = low; v <= last; ++v) {
        now = 1;
        before = 1;
        for (std::size_t m = 0; m < members.size(); ++m) {
            const mpz_class &whole = members[m].outcomes;
            const mpz_class after = below[m] + Weight(members[m], v);
            if (highest) {
                before *= below[m];
                now *= after;
            } else {
                before *= whole - below[m];
                now *= whole - after;
            }
            below[m] = after;
        }
        result.counts.push_back(highest ? now - before : before - now);
    }
    result.tail = result.outcomes - Mass(result);
    Trim(result);
    return result;
}

void Scale(Distribution &poly, const mpz_class &by)
{
    for (mpz_class &weight : poly.counts)
        weight *= by;
}

void AddPoly(Distribution &into, const Distribution &poly)
{
    if (poly.counts.empty())
        return;
    if (into.counts.empty()) {
        into = poly;
        return;
    }
    AddInto(into, poly);
}

// A member's weights about a total t: beyond it on the kept side, as a roll
// of their own; on it; and on the other side, where a member in its tail
// lies when keeping the lowest.
struct Sides {
    Distribution beyond;
    mpz_class on;
    mpz_class other;
};

Sides SidesOf(const Distribution &member, std::int64_t t, bool highest)
{
    Sides sides;
    sides.beyond.outcomes = 1;
    for (std::size_t i = 0; i < member.counts.size(); ++i) {
        const std::int64_t v = member.lowest + static_cast<std::int64_t>(i);
        if (v == t)
            continue;
        if ((v > t) == highest) {
            if (sides.beyond.counts.empty())
                sides.beyond.lowest = v;
            sides.beyond.counts.resize(static_cast<std::size_t>(v - sides.beyond.lowest + 1));
            sides.beyond.counts.back() = member.counts[i];
        } else {
            sides.other += member.counts[i];
        }
    }
    if (!highest)
        sides.other += member.tail;
    sides.on = Weight(member, t);
    return sides;
}

// One more member taken into the sums of the members beyond t, state[a][e],
// a of them beyond and e (at most K) on t.
void TakeMember(const std::vector<std::vector<Distribution>> &state,
    std::vector<std::vector<Distribution>> &next,
    const Sides &sides,
    const dice::StopToken &stop)
{
    const std::size_t k = state.size();
    for (auto &row : next)
        std::fill(row.begin(), row.end(), Distribution());
    for (std::size_t a = 0; a < k; ++a) {
        for (std::size_t e = 0; e <= k; ++e) {
            const Distribution &from = state[a][e];
            if (from.counts.empty())
                continue;
            if (sides.other != 0) {
                Distribution part = from;
                Scale(part, sides.other);
                AddPoly(next[a][e], part);
            }
            if (sides.on != 0) {
                Distribution part = from;
                Scale(part, sides.on);
                AddPoly(next[a][std::min(e + 1, k)], part);
            }
            if (a + 1 < k && !sides.beyond.counts.empty())
                AddPoly(
                    next[a + 1][e], SumOfRolls(from, sides.beyond, std::numeric_limits<std::int64_t>::max() / 4, stop));
        }
    }
}

// The kept members by the K-th of them in order, t: a members beyond it on
// the kept side (a < K), at least K - a on it, the rest on the other side.
// Given t the members are apart, so one pass over them gathers the sums of
// those beyond, for each a and each count on t up to K. A member's tail lies
// above its listing: when keeping the highest, a member there is kept or
// lies below K kept ones, so the sum is past what is listed and the throw
// is left to the tail; when keeping the lowest, such a member is dropped, or
// the sum is past the listing again.
Distribution KeepSome(
    const std::vector<Distribution> &members, bool highest, int kept, std::int64_t through, const dice::StopToken &stop)
{
    std::int64_t low = std::numeric_limits<std::int64_t>::max();
    std::int64_t high = std::numeric_limits<std::int64_t>::min();
    mpz_class outcomes = 1;
    for (const Distribution &member : members) {
        low = std::min(low, member.lowest);
        high = std::max(high, member.Highest());
        outcomes *= member.outcomes;
    }
    const auto k = static_cast<std::size_t>(kept);
    Distribution result;
    result.outcomes = outcomes;
    // Kept across totals, so that each total does not allocate its own.
    std::vector<std::vector<Distribution>> state(k, std::vector<Distribution>(k + 1));
    std::vector<std::vector<Distribution>> next = state;
    for (std::int64_t t = low; t <= high; ++t) {
        Check(stop);
        bool any = false;
        for (const Distribution &member : members)
            any = any || Weight(member, t) != 0;
        if (!any)
            continue;
        for (auto &row : state)
            std::fill(row.begin(), row.end(), Distribution());
        state[0][0] = Point(0);
        for (const Distribution &member : members) {
            TakeMember(state, next, SidesOf(member, t, highest), stop);
            std::swap(state, next);
        }
        for (std::size_t a = 0; a < k; ++a) {
            for (std::size_t e = k - a; e <= k; ++e) {
                Distribution part = state[a][e];
                if (part.counts.empty())
                    continue;
                part.lowest += static_cast<std::int64_t>(k - a) * t;
                part.tail = 0;
                AddPoly(result, part);
            }
        }
    }
    Cut(result, through);
    result.outcomes = outcomes;
    result.tail = outcomes;
    for (const mpz_class &weight : result.counts)
        result.tail -= weight;
    Trim(result);
    return result;
}

// Bounds on the moments of a keep among members that have no highest total.
// The keep less its lowest total, c, is never above a sum S that is never
// below 0. Keeping the highest, S is every member less its own lowest: each
// kept one lies above its own lowest by no more than its part of S, and the
// kept ones' lowest add up to no more than c, the K highest. Keeping the
// lowest, the kept totals add up to no more than those of any K members, so
// S is the sum of K of them less c, which their lowest add up to or pass.
// Either way a member far from the others does not loosen the bound by its
// distance from them, and beyond the listing the keep contributes no more
// than S does beyond the same total. S's moments are bounded from above by
// the members' own; the listed part is exact, and the tail is at least its
// chance times the first total past the listing, which is at least 0.
Moments KeepMoments(
    const Node &group, const std::vector<Distribution> &members, const Distribution &kept, const dice::StopToken &stop)
{
    const bool highest = group.pick == Pick::Highest;
    std::vector<Bounds> bounds;
    std::vector<std::int64_t> lows;
    for (const Node &member : group.operands) {
        bounds.push_back(NodeBounds(member));
        lows.push_back(bounds.back().lowest);
    }
    const auto k = static_cast<std::size_t>(group.kept);
    if (highest)
        std::sort(lows.rbegin(), lows.rend());
    else
        std::sort(lows.begin(), lows.end());
    std::int64_t keptShift = 0;
    for (std::size_t i = 0; i < k; ++i)
        keptShift += lows[i];
    // Keeping the lowest, the K members listed least far are summed: their
    // tails are the lightest, and a bounded one ends S's tail.
    std::vector<std::size_t> summed(bounds.size());
    for (std::size_t i = 0; i < summed.size(); ++i)
        summed[i] = i;
    if (!highest) {
        std::stable_sort(summed.begin(), summed.end(), [&](std::size_t a, std::size_t b) {
            return std::pair(bounds[a].guess, bounds[a].lowest) < std::pair(bounds[b].guess, bounds[b].lowest);
        });
        summed.resize(k);
        std::sort(summed.begin(), summed.end());
    }
    // The lowest of S's parts, summed.
    std::int64_t least = 0;
    for (const std::size_t i : summed)
        least += bounds[i].lowest;
    const std::int64_t sumShift = highest ? least : keptShift;
    // A keep that lists nothing ends below its lowest total.
    const std::int64_t past = std::max<std::int64_t>(kept.Highest() + 1 - keptShift, 0);
    const std::int64_t sumThrough = past - 1 + sumShift;

    Distribution every = Point(0);
    mpq_class sumMean;
    mpq_class sumVariance;
    // A partial sum is listed as far as the members still to come leave
    // room for: cut at S's own last total, it would lose what a member far
    // below the others brings back down.
    std::int64_t restLowest = least;
    for (const std::size_t i : summed) {
        // The members as the keep listed them, where they reach far enough.
        const std::int64_t needed = sumThrough - (least - bounds[i].lowest);
        const Distribution member = members[i].tail == 0 || members[i].Highest() >= needed
            ? members[i]
            : Value(group.operands[i], needed, stop);
        const Moments moments = MomentsOf(member);
        sumMean += moments.meanHigh;
        sumVariance += moments.varianceHigh;
        restLowest -= bounds[i].lowest;
        every = SumOfRolls(every, member, Far(sumThrough, restLowest), stop);
    }
    return KeptBelowSum(kept, keptShift, past, every, sumShift, sumMean, sumVariance);
}

Distribution Group(const Node &group, std::int64_t through, const dice::StopToken &stop)
{
    if (group.success.kind != Compare::Kind::None)
        return CountMembers(group, stop);
    const bool highest = group.pick == Pick::Highest;
    std::vector<Bounds> bounds;
    for (const Node &member : group.operands)
        bounds.push_back(NodeBounds(member));
    std::vector<Distribution> members;
    for (std::size_t i = 0; i < group.operands.size(); ++i)
        members.push_back(Value(group.operands[i], MemberThrough(group, bounds, i, through), stop));
    // Members alike are dice of one kind, which the keep of dice places face
    // by face far faster than members apart.
    const bool alike = std::all_of(members.begin(), members.end(), [&](const Distribution &member) {
        return member.lowest == members[0].lowest && member.counts == members[0].counts
            && member.tail == members[0].tail && member.outcomes == members[0].outcomes;
    });
    Distribution kept;
    if (group.kept > 1 && alike && !members[0].counts.empty()) {
        Term pool;
        pool.dice = static_cast<int>(members.size());
        pool.kept = group.kept;
        pool.pick = group.pick;
        kept = Keep(members[0], pool, through, stop);
    } else {
        kept = group.kept == 1 ? KeepOne(members, highest, through)
                               : KeepSome(members, highest, group.kept, through, stop);
    }
    if (kept.tail == 0) {
        Reduce(kept);
        return kept;
    }
    kept.moments = KeepMoments(group, members, kept, stop);
    return kept;
}

} // namespace

Distribution Value(const Node &node, std::int64_t through, const dice::StopToken &stop)
{
    Check(stop);
    const Bounds bounds = NodeBounds(node);
    if (bounds.highest)
        through = *bounds.highest;
    switch (node.kind) {
    case Node::Kind::Sum:
        return Sum(node, through, stop);
    case Node::Kind::Product:
    case Node::Kind::Divide:
    case Node::Kind::Abs:
        return Arithmetic(node, stop);
    case Node::Kind::Group:
        if (node.pick == Pick::All && node.success.kind == Compare::Kind::None) {
            Node sum;
            sum.operands = node.operands;
            sum.signs.assign(node.operands.size(), 1);
            return Sum(sum, through, stop);
        }
        return Group(node, through, stop);
    }
    return {};
}

Distribution EvaluateTree(const Node &root, std::int64_t through, const dice::StopToken &stop)
{
    const Bounds bounds = NodeBounds(root);
    if (bounds.highest)
        return Value(root, *bounds.highest, stop);
    return ListedFar(bounds, through, [&](std::int64_t last) { return Listing { Value(root, last, stop), {} }; });
}

} // namespace dice::detail
