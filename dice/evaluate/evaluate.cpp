// The roll of a whole expression: plain dice by the counts of outcomes, the
// others as weighted rolls, all added. A roll that explodes is counted
// through some total, and again through one twice as far, until less than
// 10^-15 of the chance lies above what is listed.

#include "dice/evaluate/evaluate.h"

#include "dice/limits.h"

#include "dice/bounds/bounds.h"
#include "dice/bounds/check.h"
#include "dice/bounds/rules.h"
#include "dice/evaluate/listing.h"
#include "dice/evaluate/nodes.h"
#include "dice/evaluate/throws.h"
#include "dice/terms/die.h"
#include "dice/terms/keep.h"
#include "dice/terms/keeptail.h"
#include "dice/terms/moments.h"
#include "dice/terms/plain.h"
#include "dice/text/text.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <cmath>

namespace dice
{

namespace
{

using detail::Reach;

// A term whose dice turn out equally likely on every face of a run of
// values, as 4d6r=1 does on 2 to 6, is counted as plain dice: their faces
// from 1, and `shift` added to each.
bool AsPlain(Term &term, std::int64_t &shift, const dice::StopToken &stop)
{
    if (term.Plain())
        return true;
    if (term.explode != Explode::None || term.success.kind != Compare::Kind::None)
        return false;
    // Faces rerolled away are listed with no weight: they are no faces.
    Distribution die = detail::CountTerm(term.OneDie(), 0, stop);
    detail::Trim(die);
    if (die.counts.size() < 2 || die.counts.size() > static_cast<std::size_t>(maxSides) || die.tail != 0)
        return false;
    for (const mpz_class &weight : die.counts) {
        if (weight != die.counts.front())
            return false;
    }
    shift = die.lowest - 1;
    Term plain;
    plain.sign = term.sign;
    plain.dice = term.dice;
    plain.sides = static_cast<int>(die.counts.size());
    plain.pick = term.pick;
    plain.kept = term.kept;
    term = plain;
    return true;
}

// Whether the term's moments come in closed form whatever its listing: a
// sum of dice that explode, unbounded, keeping them all, whose moments
// TermMoments always has.
bool HasClosedMoments(const Term &term)
{
    return term.pick == Pick::All && term.explode != Explode::None && !detail::TermReach(term).highest;
}

// The sum of a roll and a part of it. A certain total only moves the part,
// which is then taken over rather than copied.
Distribution Added(const Distribution &total, Distribution &&part, std::int64_t last, const dice::StopToken &stop)
{
    if (total.counts.size() == 1 && total.counts[0] == 1 && total.outcomes == 1 && total.tail == 0) {
        part.lowest += total.lowest;
        detail::Cut(part, last);
        return std::move(part);
    }
    return detail::SumOfRolls(total, part, last, stop);
}

} // namespace

namespace
{

using detail::ExactMoments;
using detail::Plus;

// Bounds on the moments of a keep among dice that explode. With every value
// v taken as v - low >= 0, the kept dice X add up to no more than all the
// dice S, so beyond the listing X contributes no more than S does beyond the
// same total; S's moments are exact. The listed part is exact, and the tail
// is at least its chance times the first total past the listing.
Moments KeptBounds(const Term &term, const Distribution &kept, const dice::StopToken &stop)
{
    Term all = term;
    all.pick = Pick::All;
    all.kept = all.dice;
    const Moments sum = *detail::TermMoments(all, stop);
    const std::int64_t unitLow = detail::TermReach(all).lowest / all.dice;
    const std::int64_t keptShift = unitLow * term.kept;
    const std::int64_t sumShift = unitLow * term.dice;
    const std::int64_t past = kept.Highest() + 1 - keptShift; // the first shifted total in the tail
    // The fall of the keep's own remainder, where it can be bounded, is far
    // closer than what all the dice hold past the same total.
    if (const auto tail = detail::KeptTailBounds(term, kept, unitLow, past, stop))
        return detail::KeptMomentBounds(kept, keptShift, past, tail->first, tail->second);

    const Distribution every = detail::CountTerm(all, past - 1 + sumShift, stop);
    return detail::KeptBelowSum(kept, keptShift, past, every, sumShift, sum.meanLow, sum.varianceLow);
}

} // namespace

Distribution EvaluateRoll(const Expression &expression, dice::StopToken stop)
{
    return EvaluateRoll(expression, stop, INT64_MIN);
}

namespace
{

Distribution Counted(const Expression &expression, const dice::StopToken &stop, std::int64_t through)
{
    CheckExpression(expression);
    detail::Check(stop);
    if (expression.tree)
        return detail::EvaluateTree(*expression.tree, through, stop);
    // The rolls of before, as fast as before.
    if (std::all_of(expression.terms.begin(), expression.terms.end(), [](const Term &term) { return term.Plain(); }))
        return detail::CountPlain(expression.terms, stop);
    std::vector<Term> plain;
    std::vector<Term> weighted;
    std::int64_t offset = 0;
    for (Term term : expression.terms) {
        std::int64_t shift = 0;
        if (term.dice == 0 || AsPlain(term, shift, stop)) {
            offset += term.sign * shift * (term.pick == Pick::All ? term.dice : term.kept);
            plain.push_back(term);
        } else {
            weighted.push_back(term);
        }
    }
    Distribution roll = detail::CountPlain(plain, stop);
    roll.lowest += offset;
    if (weighted.empty())
        return roll;

    // Each term's lowest total, signed, so that each is counted only as far
    // as the others leave room for.
    std::vector<std::int64_t> lowest;
    std::vector<bool> closed;
    std::int64_t least = roll.lowest;
    std::int64_t most = roll.Highest();
    bool unbounded = false;
    for (const Term &term : weighted) {
        const Reach reach = detail::TermReach(term);
        lowest.push_back(term.sign > 0 ? reach.lowest : -*reach.highest);
        least += lowest.back();
        if (reach.highest)
            most += term.sign > 0 ? *reach.highest : -reach.lowest;
        unbounded = unbounded || !reach.highest;
        closed.push_back(HasClosedMoments(term));
    }
    detail::Bounds reach;
    reach.lowest = least;
    if (!unbounded)
        reach.highest = most;
    reach.guess = roll.Highest();
    for (const Term &term : weighted)
        reach.guess += term.sign > 0 ? TermListing(term) : -detail::TermReach(term).lowest;
    return detail::ListedFar(reach, through, [&](std::int64_t last) {
        detail::Listing listing { roll, {} };
        Distribution &total = listing.roll;
        // Only the moments of a term not closed need its own listing.
        std::vector<Distribution> parts(weighted.size());
        for (std::size_t i = 0; i < weighted.size(); ++i) {
            Distribution part = detail::CountTerm(weighted[i], last - (least - lowest[i]), stop);
            if (weighted[i].sign < 0)
                detail::Negate(part);
            if (closed[i]) {
                total = Added(total, std::move(part), last, stop);
            } else {
                total = detail::SumOfRolls(total, part, last, stop);
                parts[i] = std::move(part);
            }
        }
        listing.moments = [&, parts = std::move(parts)] {
            Moments moments = ExactMoments(roll);
            for (std::size_t i = 0; i < weighted.size(); ++i) {
                const bool listedWhole = !closed[i] && parts[i].tail == 0;
                std::optional<Moments> term =
                    listedWhole ? ExactMoments(parts[i]) : detail::TermMoments(weighted[i], stop);
                moments = Plus(moments, term ? *term : KeptBounds(weighted[i], parts[i], stop));
            }
            return std::optional(moments);
        };
        return listing;
    });
}

} // namespace

Distribution EvaluateRoll(const Expression &expression, dice::StopToken stop, std::int64_t through)
{
    Distribution roll = Counted(expression, stop, through);
    if (const std::optional<mpz_class> throws = detail::Throws(expression))
        detail::OverThrows(roll, *throws);
    else
        roll.weighted = true;
    return roll;
}

} // namespace dice
