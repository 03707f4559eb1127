#include "dice/evaluate/listing.h"

#include "dice/limits.h"
#include "dice/text/text.h"
#include "dice/value/weights.h"
#include "dice/value/wide.h"

#include <algorithm>
#include <cmath>

namespace dice
{

Moments detail::ExactMoments(const Distribution &roll)
{
    mpz_class first;
    mpz_class second;
    for (std::size_t i = 0; i < roll.counts.size(); ++i) {
        const mpz_class total = Big(roll.lowest + static_cast<std::int64_t>(i));
        first += total * roll.counts[i];
        second += total * total * roll.counts[i];
    }
    mpq_class mean(first, roll.outcomes);
    mean.canonicalize();
    mpq_class square(second, roll.outcomes);
    square.canonicalize();
    const mpq_class variance = square - mean * mean;
    return { mean, mean, variance, variance };
}

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
    // Far below any printed digit, and far above what two bounds that settle
    // in a few counts still differ by.
    constexpr unsigned long tieDigits = 30;
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, tieDigits);
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

std::optional<std::int64_t> detail::LastListed(const Distribution &roll)
{
    // A weight w holds 10^-15 of the chance or more where w 10^15 >= outcomes,
    // that is where w reaches outcomes / 10^15 rounded up.
    mpz_class least;
    mpz_ui_pow_ui(least.get_mpz_t(), 10, static_cast<unsigned long>(cutDigits));
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

} // namespace

// Where to list through next: the remainder's fall over the last quarter
// of the listing, carried on until it would be below 10^-15, and a little
// more; at most twice as far, since the fall of the body of a roll says
// little about that of its tail.
std::int64_t detail::NextListing(const Distribution &roll, std::int64_t least, std::int64_t last)
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
    const double more = (now + cutDigits) / fall * 1.15 + 8.0;
    // Once less than 10^-15 lies past the listing, only the bounds on the
    // moments are left to settle, and how much further that takes is not
    // known: each count then lists a quarter further at least, so that a far
    // end takes a few counts and not hundreds of 8 totals each.
    const std::int64_t step = now > -cutDigits ? 8 : std::max<std::int64_t>(8, (last - least + 1) / 4);
    // A guess from a fall that is barely there would run past any span.
    constexpr double mostMore = 1e7;
    return std::clamp(last + static_cast<std::int64_t>(std::min(more, mostMore)), last + step, doubled);
}

Moments detail::KeptBelowSum(const Distribution &kept,
    std::int64_t keptShift,
    std::int64_t past,
    const Distribution &sum,
    std::int64_t sumShift,
    const mpq_class &mean,
    const mpq_class &variance)
{
    const auto [listedFirst, listedSecond] = SumsBelow(sum, sumShift, past);
    mpq_class first(listedFirst, sum.outcomes);
    first.canonicalize();
    mpq_class second(listedSecond, sum.outcomes);
    second.canonicalize();
    // S beyond the listing: its whole first and second moments, less the
    // listed part.
    const mpq_class shiftedMean = mean - Big(sumShift);
    const mpq_class beyondFirst = shiftedMean - first;
    const mpq_class beyondSecond = variance + shiftedMean * shiftedMean - second;
    return KeptMomentBounds(kept, keptShift, past, beyondFirst, beyondSecond);
}

Distribution detail::ListedFar(
    const Bounds &reach, std::int64_t through, const std::function<Listing(std::int64_t last)> &count)
{
    std::int64_t last =
        std::max(through, reach.highest ? *reach.highest : std::max(reach.guess, reach.lowest + firstListing));
    for (;;) {
        Listing listing = count(last);
        Distribution &roll = listing.roll;
        if (roll.tail == 0) {
            // A roll listed whole has exact moments of its own, which bounds
            // left on it by an operand would only blur.
            roll.moments.reset();
            Trim(roll);
            Reduce(roll);
            return std::move(roll);
        }
        if (const std::optional<std::int64_t> cut = LastListed(roll)) {
            const std::optional<Moments> moments = listing.moments ? listing.moments() : roll.moments;
            if (moments && Settled(*moments)) {
                Cut(roll, std::max(*cut, through));
                Trim(roll);
                roll.moments = moments;
                Reduce(roll);
                return std::move(roll);
            }
        }
        last = NextListing(roll, reach.lowest, last);
    }
}

} // namespace dice
