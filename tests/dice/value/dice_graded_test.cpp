// Sums and keeps of exploding dice counted total by total, against the plain
// power and keep of the same die: the shares of every listed total and of the
// tail must agree exactly, whether the counts fit machine words or not,
// whether the products go pair by pair or packed, and whatever step is
// claimed for the explosions.
#include "dice/dice.h"
#include "dice/terms/die.h"
#include "dice/terms/keep.h"
#include "dice/terms/keeptail.h"
#include "dice/terms/plain.h"
#include "dice/value/graded.h"
#include "dice/value/weights.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct Case {
    std::string die; // one die of the pool
    int dice;
    std::int64_t through;
    unsigned long base; // the equally likely outcomes of a roll
    std::int64_t step; // the least an explosion adds
};

class GradedSum : public testing::TestWithParam<Case>
{
};

mpq_class Share(const mpz_class &part, const mpz_class &whole)
{
    mpq_class share(part, whole);
    share.canonicalize();
    return share;
}

void ExpectSameShares(const dice::Distribution &graded, const dice::Distribution &plain)
{
    ASSERT_EQ(graded.lowest, plain.lowest);
    ASSERT_EQ(graded.counts.size(), plain.counts.size());
    for (std::size_t i = 0; i < plain.counts.size(); ++i)
        EXPECT_EQ(Share(graded.counts[i], graded.outcomes), Share(plain.counts[i], plain.outcomes)) << "total " << i;
    EXPECT_EQ(Share(graded.tail, graded.outcomes), Share(plain.tail, plain.outcomes));
}

TEST_P(GradedSum, AgreesWithThePlainPower)
{
    const Case &c = GetParam();
    const dice::Expression one = dice::Parse(c.die);
    const std::stop_token stop;
    const dice::Distribution die = dice::detail::CountTerm(one.terms[0], c.through, stop);
    const dice::Distribution plain = dice::detail::SumOfAlike(die, c.dice, c.through, stop);

    const auto graded = dice::detail::GradedPower(die, c.dice, c.through, mpz_class(c.base), c.step, stop);
    ASSERT_TRUE(graded.has_value()) << "the die is not counted total by total";
    ExpectSameShares(*graded, plain);
    // A claimed step the explosions do not keep to costs width, never exactness.
    for (const std::int64_t wrong : { std::int64_t { 1 }, c.step + 1, 3 * c.step }) {
        const auto loose = dice::detail::GradedPower(die, c.dice, c.through, mpz_class(c.base), wrong, stop);
        if (loose)
            ExpectSameShares(*loose, plain);
    }
}

INSTANTIATE_TEST_SUITE_P(Pools,
    GradedSum,
    testing::Values(Case { "1d6!", 3, 60, 6, 6 },
        Case { "1d6!", 7, 90, 6, 6 }, // every bit of the power
        Case { "1d6!", 100, 115, 6, 6 }, // counts past a machine word, pair by pair
        Case { "1d6!", 30, 400, 6, 6 }, // packed
        Case { "1d6!p", 5, 80, 6, 5 }, // extra rolls count one less
        Case { "1d4!!", 6, 70, 4, 4 }, // compounding
        Case { "1d10!!", 12, 300, 10, 10 }, // packed, a chunk of ten
        Case { "1d8!>=7", 4, 90, 8, 7 }, // two faces explode
        Case { "1d6!=6>=5", 12, 40, 6, 1 }, // counted: an explosion adds a success
        Case { "1d{1,1,2,3}!", 5, 50, 4, 3 }, // a repeated face
        Case { "1d6min3!", 4, 70, 6, 6 })); // a raised first roll

struct KeepCase {
    std::string pool;
    std::int64_t through;
};

class GradedKeep : public testing::TestWithParam<KeepCase>
{
};

TEST_P(GradedKeep, AgreesWithThePlainKeep)
{
    const KeepCase &c = GetParam();
    const dice::Term term = dice::Parse(c.pool).terms[0];
    dice::Term one = term;
    one.dice = 1;
    one.kept = 1;
    one.pick = dice::Pick::All;
    const std::stop_token stop;
    // Listed as the count lists a die for the keep: far enough for one die to make every total.
    const dice::Distribution die = dice::detail::CountTerm(one, c.through, stop);
    ExpectSameShares(
        dice::detail::Keep(die, term, c.through, stop, true), dice::detail::Keep(die, term, c.through, stop, false));
}

INSTANTIATE_TEST_SUITE_P(Pools,
    GradedKeep,
    testing::Values(KeepCase { "3d6!!kh2", 40 },
        KeepCase { "4d4!!kh1", 30 },
        KeepCase { "5d4!!kh3", 45 }, // blocks a few levels deep
        KeepCase { "6d10!!kh3", 120 }, // packed
        KeepCase { "4d6!!>=5kh2", 40 }, // two faces explode
        KeepCase { "3d{1,1,2,3}!!kh2", 25 }, // a repeated face
        KeepCase { "4d6min3!!kh2", 40 }, // a raised first roll
        KeepCase { "9d4!!kh2", 70 }, // many dice above the kept, parts from six levels added
        KeepCase { "12d6!!kh5", 150 }, // counts past a machine word
        KeepCase { "6d4!!kh5", 60 }, // one die dropped
        KeepCase { "5d6!!pkh2", 50 }, // extra rolls count one less
        KeepCase { "20d10!!kh10", 125 }, // plain keeps a block up counted only in part
        KeepCase { "30d4!!kh3", 60 }, // many dice above a block, weighed together
        KeepCase { "8d8!!>=7kh4", 90 })); // the die above a block multiplied in, not summed

} // namespace

// What a keep holds past its listing, bounded from the listing's remainder,
// against a listing far deeper: the bounds must hold what the deeper listing
// shows past the same total, however close to the first total they are taken.
TEST(KeptTail, BoundsHoldWhatADeeperListingShows)
{
    const std::stop_token stop;
    for (const char *pool : { "3d4!!kh2", "4d6!!kh2", "5d3!!kh3", "6d4!!kl2", "4d6!!>=5kh2", "5d6!!pkh2" }) {
        const dice::Term term = dice::Parse(pool).terms[0];
        dice::Term one = term;
        one.dice = 1;
        one.kept = 1;
        one.pick = dice::Pick::All;
        const std::int64_t deepest = 40 * term.kept * term.sides;
        const dice::Distribution deep =
            dice::detail::Keep(dice::detail::CountTerm(one, deepest, stop), term, deepest, stop);
        const std::int64_t low = dice::detail::CountTerm(one, 0, stop).lowest;
        const std::int64_t shift = low * term.kept;
        ASSERT_LT(Share(deep.tail, deep.outcomes), mpq_class(1, 1000000000) / 1000000000 / 1000000000);
        int bounded = 0;
        for (std::int64_t past = 1; past <= 4 * term.sides * term.kept; ++past) {
            const dice::Distribution die = dice::detail::CountTerm(one, past + shift, stop);
            dice::Distribution kept = dice::detail::Keep(die, term, past + shift, stop);
            dice::detail::Cut(kept, past - 1 + shift);
            const auto bounds = dice::detail::KeptTailBounds(term, kept, low, past, stop);
            if (!bounds)
                continue;
            ++bounded;
            mpz_class first = deep.tail * (deep.Highest() + 1 - shift);
            mpz_class second = first * (deep.Highest() + 1 - shift);
            for (std::int64_t total = past + shift; total <= deep.Highest(); ++total) {
                const mpz_class &weight = deep.counts[static_cast<std::size_t>(total - deep.lowest)];
                first += weight * (total - shift);
                second += weight * (total - shift) * (total - shift);
            }
            EXPECT_GE(bounds->first, Share(first, deep.outcomes)) << pool << " past " << past;
            EXPECT_GE(bounds->second, Share(second, deep.outcomes)) << pool << " past " << past;
        }
        EXPECT_GT(bounded, 0) << pool;
    }
}

// The ends of a keep's moments, worked by hand: half the chance listed at
// 3, half at 4 or past it, adding at most 100 and 10000 to the first and
// second moments about 3. The mean lies from 7/2 to 103; the least second
// moment, 1/2, is below the greatest mean squared, and a variance is never
// below 0, nor above 10000 less the least mean squared.
TEST(KeptTail, MomentEndsFromTheListingAndWhatLiesPastIt)
{
    dice::Distribution kept;
    kept.lowest = 3;
    kept.counts = { 1 };
    kept.outcomes = 2;
    kept.tail = 1;
    const dice::Moments ends = dice::detail::KeptMomentBounds(kept, 3, 1, 100, 10000);
    EXPECT_EQ(ends.meanLow, mpq_class(7, 2));
    EXPECT_EQ(ends.meanHigh, 103);
    EXPECT_EQ(ends.varianceLow, 0);
    EXPECT_EQ(ends.varianceHigh, mpq_class(39999, 4));
}

// The first totals of a plain keep, counted alone, against the whole keep:
// small and wide counts, by the lowest kept face and by the highest dropped.
TEST(FirstKept, AgreesWithTheWholeKeep)
{
    const struct {
        const char *pool;
        std::size_t totals;
    } cases[] = { { "4d6kh3", 5 },
        { "20d30kh10", 40 },
        { "10d20kh9", 30 },
        { "30d50kh2", 20 },
        { "60d99kh30", 500 },
        { "100d99kh50", 1444 },
        { "5d4kh2", 100 } };
    for (const auto &[pool, totals] : cases) {
        const dice::Term term = dice::Parse(pool).terms[0];
        const dice::Distribution whole = dice::detail::CountPlain({ term }, {});
        const dice::Distribution first = dice::detail::FirstKept(term, totals, {});
        EXPECT_EQ(first.lowest, whole.lowest) << pool;
        EXPECT_EQ(first.outcomes, whole.outcomes) << pool;
        ASSERT_EQ(first.counts.size(), std::min(totals, whole.counts.size())) << pool;
        for (std::size_t i = 0; i < first.counts.size(); ++i)
            EXPECT_EQ(first.counts[i], whole.counts[i]) << pool << " total " << i;
    }
}
