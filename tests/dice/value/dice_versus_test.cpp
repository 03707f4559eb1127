#include "dice/dice.h"
#include "dice/value/versus.h"
#include "tests/dice/every_throw.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace
{

// Each total of a roll and its chance.
using Chances = std::map<std::int64_t, mpq_class>;

struct Roll {
    std::string text;
    Chances chances;
    bool unbounded = false;
};

mpq_class Share(const mpz_class &part, const mpz_class &whole)
{
    mpq_class share(part, whole);
    share.canonicalize();
    return share;
}

Chances Plain(int n, int sides, dice::Pick pick, int kept, int add)
{
    const dicetest::Counts counts = dicetest::ThrowByThrow(n, sides, pick, kept, 0, add);
    mpz_class whole;
    for (const auto &[total, count] : counts)
        whole += count;
    Chances chances;
    for (const auto &[total, count] : counts)
        chances[total] = Share(count, whole);
    return chances;
}

// n dice of one die's chances, summed, plus `add`.
Chances Summed(const Chances &die, int n, std::int64_t add)
{
    Chances sum { { add, 1 } };
    for (int i = 0; i < n; ++i) {
        Chances next;
        for (const auto &[x, p] : sum) {
            for (const auto &[y, q] : die)
                next[x + y] += p * q;
        }
        sum = next;
    }
    return sum;
}

} // namespace

// Weighted dice and one that explodes among them, as --versus sets them
// against each other: an unbounded roll listed as far as the other's
// listing. 1d6 rerolled once on 1 or 2 shows a face from 3 up at once or
// after the reroll, 1 or 2 only after it; 1d4!!ro>=4 rerolls every 4 and
// the rest of the chain with it. 1d4! is 4k + r, r from 1 to 3, with
// chance 4^-(k+1); past eight rolls it lies above every other roll here.
TEST(DiceVersus, SmallPairsMatchEveryPairOfThrows)
{
    using dice::Pick;
    Chances rerolled;
    for (int face = 1; face <= 6; ++face)
        rerolled[face] = mpq_class(face >= 3 ? 3 : 0, 18) + mpq_class(1, 18);
    const Chances noOnes { { 2, mpq_class(1, 3) }, { 3, mpq_class(1, 3) }, { 4, mpq_class(1, 3) } };
    const Chances listed { { 1, mpq_class(1, 2) }, { 2, mpq_class(1, 4) }, { 3, mpq_class(1, 4) } };
    const mpq_class belowFour = mpq_class(1, 4) + mpq_class(1, 16);
    const Chances compound { { 1, belowFour }, { 2, belowFour }, { 3, belowFour }, { 4, mpq_class(1, 16) } };
    Chances exploding;
    mpq_class left = 1; // the chance that the die rolls again
    for (int k = 0; k < 8; ++k) {
        for (int r = 1; r <= 3; ++r)
            exploding[4 * k + r] = left / 4;
        left /= 4;
    }
    exploding[1000] = left;
    const std::vector<Roll> rolls = {
        { "1d6", Plain(1, 6, Pick::All, 1, 0) },
        { "2d6-3", Plain(2, 6, Pick::All, 2, -3) },
        { "3d4kh2", Plain(3, 4, Pick::Highest, 2, 0) },
        { "3d4kl1+2", Plain(3, 4, Pick::Lowest, 1, 2) },
        { "2d20kh1+5", Plain(2, 20, Pick::Highest, 1, 5) },
        { "1d20+8", Plain(1, 20, Pick::All, 1, 8) },
        { "4", Plain(1, 1, Pick::All, 1, 3) },
        { "2d6ro<3", Summed(rerolled, 2, 0) },
        { "2d4r1-1", Summed(noOnes, 2, -1) },
        { "3d{1,1,2,3}", Summed(listed, 3, 0) },
        { "1d4!!ro>=4+6", Summed(compound, 1, 6) },
        { "1d4!+1", Summed(exploding, 1, 1), true },
    };
    for (const Roll &a : rolls) {
        for (const Roll &b : rolls) {
            if (a.unbounded && b.unbounded)
                continue;
            mpq_class wins;
            mpq_class ties;
            mpq_class loses;
            for (const auto &[x, p] : a.chances) {
                for (const auto &[y, q] : b.chances)
                    (x > y ? wins : x == y ? ties : loses) += p * q;
            }
            const dice::Distribution first = dice::Evaluate(dice::Parse(a.text));
            const dice::Distribution second = dice::Evaluate(dice::Parse(b.text));
            const dice::Versus versus =
                dice::Against(dice::Evaluate(dice::Parse(a.text), {}, dice::VersusThrough(first, second)),
                    dice::Evaluate(dice::Parse(b.text), {}, dice::VersusThrough(second, first)));
            const std::string pair = a.text + " vs " + b.text;
            EXPECT_EQ(Share(versus.wins, versus.outcomes), wins) << pair;
            EXPECT_EQ(Share(versus.ties, versus.outcomes), ties) << pair;
            EXPECT_EQ(Share(versus.loses, versus.outcomes), loses) << pair;
            EXPECT_EQ(versus.undecided, 0) << pair;
        }
    }
}

TEST(DiceVersus, AnExplodingRollAgainstABoundedOneIsExactEitherWayRound)
{
    // 1d6! against 1d4+2: a first 6 goes on to 7 or more and always wins;
    // otherwise 4 beats 3, 5 beats 3 and 4, and 3, 4, 5 tie. A six never
    // stands alone, so 6 ties with nothing.
    dice::Distribution exploding = dice::Evaluate(dice::Parse("1d6!"));
    const dice::Distribution bounded = dice::Evaluate(dice::Parse("1d4+2"));
    const dice::Versus forward = dice::Against(exploding, bounded);
    EXPECT_EQ(Share(forward.wins, forward.outcomes), mpq_class(7, 24));
    EXPECT_EQ(Share(forward.ties, forward.outcomes), mpq_class(1, 8));
    EXPECT_EQ(Share(forward.loses, forward.outcomes), mpq_class(7, 12));
    EXPECT_EQ(forward.undecided, 0);
    const dice::Versus backward = dice::Against(bounded, exploding);
    EXPECT_EQ(backward.wins, forward.loses);
    EXPECT_EQ(backward.loses, forward.wins);
    EXPECT_EQ(backward.ties, forward.ties);

    // Against a roll that reaches past the listing, the weights there are
    // needed one by one: listed too short, the pairs past it stay undecided,
    // and the shares bracket those of the longer listing.
    const dice::Distribution high = dice::Evaluate(dice::Parse("1d100+20"));
    ASSERT_LT(exploding.Highest(), high.Highest());
    const dice::Versus shortForward = dice::Against(exploding, high);
    const dice::Versus shortBackward = dice::Against(high, exploding);
    exploding = dice::Evaluate(dice::Parse("1d6!"), {}, dice::VersusThrough(exploding, high));
    const dice::Versus far = dice::Against(exploding, high);
    EXPECT_EQ(far.undecided, 0);
    EXPECT_EQ(far.wins + far.ties + far.loses, far.outcomes);
    EXPECT_GT(shortForward.undecided, 0);
    EXPECT_EQ(shortBackward.undecided, shortForward.undecided);
    for (const auto &[part, whole] : { std::pair { &shortForward.wins, &far.wins },
             { &shortForward.ties, &far.ties },
             { &shortForward.loses, &far.loses },
             { &shortBackward.loses, &far.wins } }) {
        const mpq_class low = Share(*part, shortForward.outcomes);
        const mpq_class exact = Share(*whole, far.outcomes);
        EXPECT_LE(low, exact);
        EXPECT_GE(low + Share(shortForward.undecided, shortForward.outcomes), exact);
    }
}

TEST(DiceVersus, TwoUnboundedRollsLeaveOnlyTailAgainstTailUndecided)
{
    for (const auto &[a, b] : { std::pair { "1d6!", "1d6!" }, { "1d6!", "2d4!!" }, { "1d10!p", "1d8!+3" } }) {
        dice::Distribution first = dice::Evaluate(dice::Parse(a));
        dice::Distribution second = dice::Evaluate(dice::Parse(b));
        const std::int64_t through = dice::VersusThrough(first, second);
        first = dice::Evaluate(dice::Parse(a), {}, through);
        second = dice::Evaluate(dice::Parse(b), {}, through);
        const dice::Versus versus = dice::Against(first, second);
        const dice::Versus reversed = dice::Against(second, first);
        EXPECT_EQ(versus.undecided, first.tail * second.tail) << a << " vs " << b;
        EXPECT_GT(versus.undecided, 0) << a << " vs " << b;
        // Less than 10^-15 of each roll lies in its tail, so far less of the pair.
        EXPECT_LT(Share(versus.undecided, versus.outcomes), mpq_class(1, mpz_class("1000000000000000000000000000000")));
        EXPECT_EQ(versus.wins + versus.ties + versus.loses + versus.undecided, versus.outcomes);
        EXPECT_EQ(versus.wins, reversed.loses) << a << " vs " << b;
        EXPECT_EQ(versus.ties, reversed.ties) << a << " vs " << b;
        if (std::string(a) == b) {
            EXPECT_EQ(versus.wins, versus.loses);
        }
    }
}

TEST(DiceVersus, TheIssuesAttackAgainstAnArmour)
{
    const dice::Versus versus =
        dice::Against(dice::Evaluate(dice::Parse("2d20kh1+5")), dice::Evaluate(dice::Parse("1d20+8")));
    EXPECT_EQ(Share(versus.wins, versus.outcomes), mpq_class(493, 1000));
    EXPECT_EQ(Share(versus.ties, versus.outcomes), mpq_class(391, 8000));
    EXPECT_EQ(Share(versus.loses, versus.outcomes), mpq_class(733, 1600));
}

// A head-to-head table sets each roll against the very same distribution:
// 2d6 ties itself in the sum of its squared counts, 146 of 1296 pairs, and
// wins the rest half the time.
TEST(DiceVersus, ARollAgainstItselfWinsAsOftenAsItLoses)
{
    const dice::Distribution roll = dice::Evaluate(dice::Parse("2d6"));
    const dice::Versus versus = dice::Against(roll, roll);
    EXPECT_EQ(versus.outcomes, 1296);
    EXPECT_EQ(versus.ties, 146);
    EXPECT_EQ(versus.wins, 575);
    EXPECT_EQ(versus.loses, 575);
    EXPECT_EQ(versus.undecided, 0);
}
