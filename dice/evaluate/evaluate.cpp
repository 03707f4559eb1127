// The roll of a whole expression: plain dice by the counts of outcomes, the
// others as weighted rolls, all added. A roll that explodes is counted
// through some total, and again through one twice as far, until less than
// 10^-15 of the chance lies above what is listed.

#include "dice/die.h"
#include "dice/keep.h"
#include "dice/rules.h"
#include "dice/text.h"
#include "dice/throws.h"
#include "dice/tree.h"
#include "dice/weights.h"

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
bool AsPlain(Term &term, std::int64_t &shift, const std::stop_token &stop)
{
    if (term.Plain())
        return true;
    if (term.explode != Explode::None || term.success.kind != Compare::Kind::None)
        return false;
    Term single = term;
    single.dice = 1;
    single.kept = 1;
    single.pick = Pick::All;
    const Distribution die = detail::CountTerm(single, 0, stop);
    if (die.counts.size() < 2 || die.counts.size() > 1000 || die.tail != 0)
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
bool Closed(const Term &term)
{
    return term.pick == Pick::All && term.explode != Explode::None && !detail::TermReach(term).highest;
}

// The sum of a roll and a part of it. A certain total only moves the part,
// which is then taken over rather than copied.
Distribution Added(const Distribution &total, Distribution &&part, std::int64_t last, const std::stop_token &stop)
{
    if (total.counts.size() == 1 && total.counts[0] == 1 && total.outcomes == 1 && total.tail == 0) {
        part.lowest += total.lowest;
        detail::Cut(part, last);
        return std::move(part);
    }
    return detail::Product(total, part, last, stop);
}

mpq_class Share(const mpz_class &part, const mpz_class &whole)
{
    mpq_class share(part, whole);
    share.canonicalize();
    return share;
}

} // namespace

// The mean and variance of a roll with no tail.
Moments detail::ExactMoments(const Distribution &roll)
{
    mpz_class first;
    mpz_class second;
    for (std::size_t i = 0; i < roll.counts.size(); ++i) {
        const mpz_class total = roll.lowest + static_cast<long>(i);
        first += total * roll.counts[i];
        second += total * total * roll.counts[i];
    }
    const mpq_class mean = Share(first, roll.outcomes);
    const mpq_class variance = Share(second, roll.outcomes) - mean * mean;
    return { mean, mean, variance, variance };
}

namespace
{

using detail::ExactMoments;
using detail::Plus;
using detail::Settled;

// Bounds on the moments of a keep among dice that explode. With every value
// v taken as v - low >= 0, the kept dice X add up to no more than all the
// dice S, so beyond the listing X contributes no more than S does beyond the
// same total; S's moments are exact. The listed part is exact, and the tail
// is at least its chance times the first total past the listing.
Moments KeptBounds(const Term &term, const Distribution &kept, const std::stop_token &stop)
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
    const auto [sumFirst, sumSecond] = detail::SumsBelow(every, sumShift, past);
    const mpq_class sumMean = sum.meanLow - sumShift;
    const mpq_class beyondFirst = sumMean - Share(sumFirst, every.outcomes);
    const mpq_class beyondSecond = sum.varianceLow + sumMean * sumMean - Share(sumSecond, every.outcomes);

    return detail::KeptMomentBounds(kept, keptShift, past, beyondFirst, beyondSecond);
}

} // namespace

bool detail::Settled(const Moments &moments)
{
    // Closed forms have equal ends, which need no printing to compare.
    if (moments.meanLow == moments.meanHigh && moments.varianceLow == moments.varianceHigh)
        return true;
    // Where the exact value is itself a tie of the ninth decimal, as the
    // mean 16.3137109375 of {1d6!, 2d4, 45-2d40}dl1 is, its ends round apart
    // however far the roll is listed. Ends that agree to 30 decimals are
    // taken as one value: the midpoint printed is then the tie's rounding,
    // unless the exact value lies off the tie by less than 10^-30.
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, 30);
    const mpq_class close(1, power);
    const bool mean = moments.meanHigh - moments.meanLow < close
        || FixedDecimal(moments.meanLow, 9) == FixedDecimal(moments.meanHigh, 9);
    const bool variance = moments.varianceHigh - moments.varianceLow < close
        || RootDecimal(moments.varianceLow, 9) == RootDecimal(moments.varianceHigh, 9);
    return mean && variance;
}

Moments detail::Plus(const Moments &a, const Moments &b)
{
    return {
        a.meanLow + b.meanLow, a.meanHigh + b.meanHigh, a.varianceLow + b.varianceLow, a.varianceHigh + b.varianceHigh
    };
}

// The first total above which less than 10^-15 of the chance lies, if the
// listing reaches it.
std::optional<std::int64_t> detail::LastListed(const Distribution &roll)
{
    // A weight w holds 10^-15 of the chance or more where w 10^15 >= outcomes,
    // that is where w reaches outcomes / 10^15 rounded up.
    mpz_class least;
    mpz_ui_pow_ui(least.get_mpz_t(), 10, 15);
    mpz_cdiv_q(least.get_mpz_t(), roll.outcomes.get_mpz_t(), least.get_mpz_t());
    mpz_class above = roll.tail;
    if (above >= least)
        return std::nullopt;
    std::int64_t last = roll.Highest();
    for (std::size_t i = roll.counts.size(); i-- > 1;) {
        mpz_add(above.get_mpz_t(), above.get_mpz_t(), roll.counts[i].get_mpz_t());
        if (above >= least)
            break;
        --last;
    }
    return last;
}

namespace
{

// log10 of a share, for guessing only.
double Log10(const mpz_class &part, const mpz_class &whole)
{
    long partExponent = 0;
    long wholeExponent = 0;
    const double partMantissa = mpz_get_d_2exp(&partExponent, part.get_mpz_t());
    const double wholeMantissa = mpz_get_d_2exp(&wholeExponent, whole.get_mpz_t());
    return std::log10(partMantissa / wholeMantissa)
        + static_cast<double>(partExponent - wholeExponent) * std::log10(2.0);
}

// Where to list through next: the remainder's fall over the last quarter
// of the listing, carried on until it would be below 10^-15, and a little
// more; at most twice as far, since the fall of the body of a roll says
// little about that of its tail.
} // namespace

std::int64_t detail::Further(const Distribution &roll, std::int64_t least, std::int64_t last)
{
    const std::int64_t doubled = least + 2 * (last - least + 1);
    const std::int64_t back = (roll.Highest() - roll.lowest) / 4;
    if (back < 4 || roll.tail == 0)
        return doubled;
    mpz_class earlier = roll.tail;
    for (std::int64_t i = 0; i < back; ++i)
        earlier += roll.counts[roll.counts.size() - 1 - static_cast<std::size_t>(i)];
    const double now = Log10(roll.tail, roll.outcomes);
    const double fall = (Log10(earlier, roll.outcomes) - now) / static_cast<double>(back);
    if (!(fall > 1e-3))
        return doubled;
    // The listing may end short of `last` by a fixed distance, where a term
    // taken away reaches less far down than its bounds say: the step is
    // added to `last`, not to the listing's end, so that it is not lost.
    const double more = (now + 15.0) / fall * 1.15 + 8.0;
    // Once less than 10^-15 lies past the listing, only the bounds on the
    // moments are left to settle, and how much further that takes is not
    // known: each count then lists a quarter further at least, so that a far
    // end takes a few counts and not hundreds of 8 totals each.
    const std::int64_t step = now > -15.0 ? 8 : std::max<std::int64_t>(8, (last - least + 1) / 4);
    return std::clamp(last + static_cast<std::int64_t>(std::min(more, 1e7)), last + step, doubled);
}

Distribution Evaluate(const Expression &expression, std::stop_token stop)
{
    return Evaluate(expression, stop, INT64_MIN);
}

namespace
{

Distribution Counted(const Expression &expression, const std::stop_token &stop, std::int64_t through)
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
        closed.push_back(Closed(term));
    }
    std::int64_t guess = roll.Highest();
    for (const Term &term : weighted)
        guess += term.sign > 0 ? TermListing(term) : -detail::TermReach(term).lowest;
    std::int64_t last = std::max(through, unbounded ? std::max(guess, least + 16) : most);
    for (;;) {
        Distribution total = roll;
        // Only the moments of a term not closed need its own listing.
        std::vector<Distribution> parts(weighted.size());
        for (std::size_t i = 0; i < weighted.size(); ++i) {
            Distribution part = detail::CountTerm(weighted[i], last - (least - lowest[i]), stop);
            if (weighted[i].sign < 0)
                detail::Negate(part);
            if (closed[i]) {
                total = Added(total, std::move(part), last, stop);
            } else {
                total = detail::Product(total, part, last, stop);
                parts[i] = std::move(part);
            }
        }
        if (total.tail == 0) {
            detail::Trim(total);
            detail::Reduce(total);
            return total;
        }
        const std::optional<std::int64_t> cut = detail::LastListed(total);
        if (cut) {
            Moments moments = ExactMoments(roll);
            for (std::size_t i = 0; i < weighted.size(); ++i) {
                const bool listedWhole = !closed[i] && parts[i].tail == 0;
                std::optional<Moments> term =
                    listedWhole ? ExactMoments(parts[i]) : detail::TermMoments(weighted[i], stop);
                moments = Plus(moments, term ? *term : KeptBounds(weighted[i], parts[i], stop));
            }
            if (Settled(moments)) {
                detail::Cut(total, std::max(*cut, through));
                detail::Trim(total);
                total.moments = moments;
                detail::Reduce(total);
                return total;
            }
        }
        last = detail::Further(total, least, last);
    }
}

} // namespace

Distribution Evaluate(const Expression &expression, std::stop_token stop, std::int64_t through)
{
    Distribution roll = Counted(expression, stop, through);
    if (const std::optional<mpz_class> throws = detail::Throws(expression))
        detail::OverThrows(roll, *throws);
    else
        roll.weighted = true;
    return roll;
}

} // namespace dice
