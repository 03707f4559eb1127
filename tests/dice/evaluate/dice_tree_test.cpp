// Brackets, products, divisions, abs, max, min and groups against every
// throw of their dice, with exact fractions: each case names its dice and
// what a throw of them totals. Dice that explode are rolled to a depth past
// which less than a stated total is affected, and only the totals below it
// are compared; the engine's remainder must still close the sum.
#include "dice/dice.h"
#include "dice/limits.h"
#include "dice/text/text.h"
#include "tests/dice/every_throw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using dicetest::Die;
using dicetest::EveryThrow;
using dicetest::Throw;

Die D(int sides)
{
    Die die;
    for (int face = 1; face <= sides; ++face)
        die.push_back({ face, mpq_class(1, sides) });
    return die;
}

// A die that explodes on its top face, its chains cut after `depth` extra
// rolls and the cut ones set far above every compared total.
Die Exploding(int sides, int depth)
{
    Die die;
    mpq_class chance = 1;
    for (int roll = 0; roll <= depth; ++roll) {
        for (int face = 1; face < sides; ++face)
            die.push_back({ roll * sides + face, chance / sides });
        chance /= sides;
    }
    die.push_back({ 1000000, chance });
    return die;
}

std::int64_t FloorDiv(std::int64_t n, std::int64_t d)
{
    return n / d - (n % d != 0 && (n < 0) != (d < 0) ? 1 : 0);
}

// n / d to the nearest whole number, halves away from zero, as the C library
// rounds.
std::int64_t HalfAway(std::int64_t n, std::int64_t d)
{
    return std::lround(static_cast<double>(n) / static_cast<double>(d));
}

// The k highest (or lowest) of some values, summed.
std::int64_t Kept(std::vector<std::int64_t> values, int k, bool highest)
{
    std::sort(values.begin(), values.end());
    if (highest)
        std::reverse(values.begin(), values.end());
    std::int64_t sum = 0;
    for (int i = 0; i < k; ++i)
        sum += values[static_cast<std::size_t>(i)];
    return sum;
}

struct Case {
    const char *text;
    std::vector<Die> dice;
    std::function<std::int64_t(const Throw &)> total;
    std::optional<std::int64_t> below = std::nullopt; // compare only totals below this
};

} // namespace

// Faults each aims at: * after + and -, or right to left; round taking
// halves up, down or to even, on either sign of the quotient; a group keep that keeps dice instead of
// members; a count of members that counts dice; a divisor's sign lost.
TEST(DiceTree, EveryFormAgreesWithEveryThrow)
{
    const auto sum = [](const Throw &t, std::size_t from, std::size_t to) {
        std::int64_t s = 0;
        for (std::size_t i = from; i < to; ++i)
            s += t[i];
        return s;
    };
    // clang-format off: the formatter's releases lay these lambdas out differently
    const Case cases[] = {
        { "1d4+1d4*1d4", { D(4), D(4), D(4) }, [](const Throw &t) { return t[0] + t[1] * t[2]; } },
        { "1d4*1d4-1d6", { D(4), D(4), D(6) }, [](const Throw &t) { return t[0] * t[1] - t[2]; } },
        { "10-1d4*2*1d3", { D(4), D(3) }, [](const Throw &t) { return 10 - t[0] * 2 * t[1]; } },
        // The first two products sum above where the whole ends; the third
        // brings them back down, so the partial sum must not be cut there.
        { "1d4*20-1d4*3-1d4*50",
            { D(4), D(4), D(4) },
            [](const Throw &t) { return t[0] * 20 - t[1] * 3 - t[2] * 50; } },
        { "2*(2d6+3)", { D(6), D(6) }, [](const Throw &t) { return 2 * (t[0] + t[1] + 3); } },
        { "-(1d4-1d6)*1d3", { D(4), D(6), D(3) }, [](const Throw &t) { return -(t[0] - t[1]) * t[2]; } },
        { "round((1d4-1d4)/2)", { D(4), D(4) }, [](const Throw &t) { return HalfAway(t[0] - t[1], 2); } },
        { "round(-5/2)+10*round(1d6/-2)", { D(6) }, [](const Throw &t) { return -3 + 10 * HalfAway(t[0], -2); } },
        { "round((1d6-1d6)/(1d3+1))",
            { D(6), D(6), D(3) },
            [](const Throw &t) { return HalfAway(t[0] - t[1], t[2] + 1); } },
        { "floor((1d6-1d6)/3)", { D(6), D(6) }, [](const Throw &t) { return FloorDiv(t[0] - t[1], 3); } },
        { "ceil((1d6-1d6)/(1d2+1))",
            { D(6), D(6), D(2) },
            [](const Throw &t) { return -FloorDiv(t[1] - t[0], t[2] + 1); } },
        { "floor(2d20kh1/3)", { D(20), D(20) }, [](const Throw &t) { return std::max(t[0], t[1]) / 3; } },
        { "abs(1d6-1d6)-1", { D(6), D(6) }, [](const Throw &t) { return std::abs(t[0] - t[1]) - 1; } },
        // abs of a roll below zero never reaches 0, so it may divide.
        { "floor(12/abs(1d4-5))", { D(4) }, [](const Throw &t) { return FloorDiv(12, 5 - t[0]); } },
        { "max(1d4,1d6)+min(1d4,2d3)",
            { D(4), D(6), D(4), D(3), D(3) },
            [](const Throw &t) { return std::max(t[0], t[1]) + std::min(t[2], t[3] + t[4]); } },
        // Keeping one die of 2d4 would give at most 6 here; the member 2d4 reaches 8.
        { "{2d4, 1d6}kh1", { D(4), D(4), D(6) }, [&](const Throw &t) { return std::max(sum(t, 0, 2), t[2]); } },
        { "{1d4, 2d3, 1d6}kh2",
            { D(4), D(3), D(3), D(6) },
            [&](const Throw &t) {
                return Kept({ t[0], t[1] + t[2], t[3] }, 2, true);
            } },
        { "{1d4, 2d3, 1d6}kl2",
            { D(4), D(3), D(3), D(6) },
            [&](const Throw &t) {
                return Kept({ t[0], t[1] + t[2], t[3] }, 2, false);
            } },
        // Members alike, kept as dice of one kind.
        { "{1d4+1d3, 1d4+1d3, 1d4+1d3}kh2",
            { D(4), D(3), D(4), D(3), D(4), D(3) },
            [](const Throw &t) {
                return Kept({ t[0] + t[1], t[2] + t[3], t[4] + t[5] }, 2, true);
            } },
        { "{1d4-2, 1d4-2, 1d4-2}kl2",
            { D(4), D(4), D(4) },
            [](const Throw &t) {
                return Kept({ t[0] - 2, t[1] - 2, t[2] - 2 }, 2, false);
            } },
        { "{1d4!, 1d4!, 1d4!}kh2",
            { Exploding(4, 7), Exploding(4, 7), Exploding(4, 7) },
            [](const Throw &t) {
                return Kept({ t[0], t[1], t[2] }, 2, true);
            },
            28 },
        { "{1d4!, 1d4!, 1d4!}dh1",
            { Exploding(4, 7), Exploding(4, 7), Exploding(4, 7) },
            [](const Throw &t) {
                return Kept({ t[0], t[1], t[2] }, 2, false);
            },
            28 },
        { "{1d4, 1d4, 1d6, 1d3}dh1",
            { D(4), D(4), D(6), D(3) },
            [](const Throw &t) {
                return Kept({ t[0], t[1], t[2], t[3] }, 3, false);
            } },
        { "{1d4-1, 1d4, 1d6}d1",
            { D(4), D(4), D(6) },
            [](const Throw &t) {
                return Kept({ t[0] - 1, t[1], t[2] }, 2, true);
            } },
        { "{3d4kh2, 1d6+1}kh1+1",
            { D(4), D(4), D(4), D(6) },
            [](const Throw &t) {
                return std::max(Kept({ t[0], t[1], t[2] }, 2, true), t[3] + 1) + 1;
            } },
        { "{1d6, 1d4*2, 1d3}", { D(6), D(4), D(3) }, [](const Throw &t) { return t[0] + 2 * t[1] + t[2]; } },
        // A count of members, not of dice: 2d3 is one member.
        { "{2d3, 1d6, 1d4}>=4",
            { D(3), D(3), D(6), D(4) },
            [](const Throw &t) { return (t[0] + t[1] >= 4) + (t[2] >= 4) + (t[3] >= 4); } },
        { "{1d6, 1d6, 1d6}>4f<2",
            { D(6), D(6), D(6) },
            [](const Throw &t) {
                std::int64_t n = 0;
                for (const std::int64_t v : t)
                    n += (v > 4) - (v < 2);
                return n;
            } },
        { "{1d6>=4, 1d6>=4, 1d4}kh2",
            { D(6), D(6), D(4) },
            [](const Throw &t) {
                return Kept({ t[0] >= 4, t[1] >= 4, t[2] }, 2, true);
            } },
        { "max(1d6, 1d6) * 2 - {1d4, 1d4}kl1",
            { D(6), D(6), D(4), D(4) },
            [](const Throw &t) { return std::max(t[0], t[1]) * 2 - std::min(t[2], t[3]); } },
        // Members that explode, compared below the least total a cut chain gives.
        { "{1d4!, 1d4!}kh1",
            { Exploding(4, 7), Exploding(4, 7) },
            [](const Throw &t) { return std::max(t[0], t[1]); },
            28 },
        // A bounded member does not bound the highest of the others.
        { "{1d4!, 2, 1d3}kh1",
            { Exploding(4, 7), D(3) },
            [](const Throw &t) {
                return std::max({ t[0], std::int64_t { 2 }, t[1] });
            },
            28 },
        // A member far above the others: the one that explodes is listed
        // only as far as being kept beside it leaves room for.
        { "{1d4!, 20, 1d3, 1d2}kh3",
            { Exploding(4, 7), D(3), D(2) },
            [](const Throw &t) {
                return Kept({ t[0], 20, t[1], t[2] }, 3, true);
            },
            40 },
        { "{1d4!, 1d6}kl1", { Exploding(4, 7), D(6) }, [](const Throw &t) { return std::min(t[0], t[1]); } },
        // Keeping the lowest beside a member far above: the member that
        // explodes is kept only below it, and the keep has a highest total.
        { "{1d4!, 1d3, 30}kl2",
            { Exploding(4, 7), D(3) },
            [](const Throw &t) {
                return Kept({ t[0], t[1], 30 }, 2, false);
            } },
        { "{1d4!, 1d6!, 40}kl1",
            { Exploding(4, 10), Exploding(6, 7) },
            [](const Throw &t) {
                return std::min({ t[0], t[1], std::int64_t { 40 } });
            } },
        { "{1d4!, 1d4!, 1d3}kh2",
            { Exploding(4, 7), Exploding(4, 7), D(3) },
            [](const Throw &t) {
                return Kept({ t[0], t[1], t[2] }, 2, true);
            },
            28 },
        { "{1d4!, 1d4!, 1d3}kl2+{1d4!, 1d4}+1",
            { Exploding(4, 7), Exploding(4, 7), D(3), Exploding(4, 7), D(4) },
            [](const Throw &t) {
                return Kept({ t[0], t[1], t[2] }, 2, false) + t[3] + t[4] + 1;
            },
            28 },
        { "{1d4!, 1d4!}>=3",
            { Exploding(4, 7), Exploding(4, 7) },
            [](const Throw &t) { return (t[0] >= 3) + (t[1] >= 3); } },
    };
    // clang-format on
    for (const Case &c : cases) {
        const dice::Distribution roll = dice::Evaluate(dice::Parse(c.text));
        std::map<std::int64_t, mpq_class> expected = EveryThrow(c.dice, c.total);
        mpz_class listed = roll.tail;
        for (std::size_t i = 0; i < roll.counts.size(); ++i) {
            listed += roll.counts[i];
            const std::int64_t total = roll.lowest + static_cast<std::int64_t>(i);
            if (c.below && total >= *c.below)
                continue;
            mpq_class chance(roll.counts[i], roll.outcomes);
            chance.canonicalize();
            EXPECT_EQ(chance, expected[total]) << c.text << " at " << total;
            expected.erase(total);
        }
        EXPECT_EQ(listed, roll.outcomes) << c.text;
        // Where every throw is as likely as any other, the outcomes are the
        // throws a player counts, not a reduced denominator.
        mpz_class throws = 1;
        for (const Die &die : c.dice) {
            const bool even = std::all_of(die.begin(), die.end(), [&](const auto &face) {
                return face.second == mpq_class(1, static_cast<long>(die.size()));
            });
            throws = even ? mpz_class(throws * static_cast<long>(die.size())) : mpz_class(0);
        }
        if (throws != 0) {
            EXPECT_EQ(roll.outcomes, throws) << c.text;
        }
        for (const auto &[total, chance] : expected) {
            if (!c.below || total < *c.below) {
                EXPECT_EQ(chance, 0) << c.text << ": " << total << " not listed";
            }
        }
        EXPECT_EQ(roll.Unbounded(), c.below.has_value()) << c.text;
    }
}

// The statistics of an unbounded keep of members: a closed form for the
// mean of the larger of two 1d4!, from P(max > v) = 1 - F(v)^2 summed, and
// the printed digits' agreement with it.
TEST(DiceTree, UnboundedKeepsHaveTheirStatistics)
{
    const dice::Statistics max = dice::Summarize(dice::Evaluate(dice::Parse("{1d4!, 1d4!}kh1")));
    const dice::Statistics single = dice::Summarize(dice::Evaluate(dice::Parse("1d4!")));
    const dice::Statistics sum = dice::Summarize(dice::Evaluate(dice::Parse("{1d4!, 1d4!}")));
    EXPECT_TRUE(max.unbounded);
    EXPECT_EQ(single.mean, mpq_class(10, 3));
    EXPECT_EQ(sum.mean, mpq_class(20, 3));
    EXPECT_EQ(sum.variance, 2 * single.variance);
    // E[max] = E[a] + E[b] - E[min]; the min of two 1d4! is below 4 unless
    // both explode, so E[min] = sum over v of P(min >= v).
    const dice::Statistics min = dice::Summarize(dice::Evaluate(dice::Parse("{1d4!, 1d4!}kl1")));
    EXPECT_NEAR(max.mean.get_d() + min.mean.get_d(), 20.0 / 3, 1e-9);
    EXPECT_GT(max.mean, single.mean);
    EXPECT_LT(max.mean, sum.mean);
}

// Keeps of the lowest beside a far member, and beside one of a lighter tail
// above the other's lowest, against every throw of chains cut where that
// moves the moments by far less than 10^-25; a wrong bound misses by 10^-15.
TEST(DiceTree, KeepsOfTheLowestHoldTheMomentsOfEveryThrow)
{
    // The formatter's releases lay these lambdas out differently.
    // clang-format off
    const Case cases[] = {
        { "{1d4!, 1d4!+4000, 1d6}kl2",
            { Exploding(4, 60), Exploding(4, 60), D(6) },
            [](const Throw &t) { return Kept({ t[0], t[1] + 4000, t[2] }, 2, false); } },
        { "{1d100!, 1d4!+50}kl1",
            { Exploding(100, 3), Exploding(4, 60) },
            [](const Throw &t) { return std::min(t[0], t[1] + 50); } },
    };
    // clang-format on
    const mpq_class near(1, mpz_class("10000000000000000000000000"));
    for (const Case &c : cases) {
        mpq_class mean;
        mpq_class square;
        for (const auto &[total, chance] : EveryThrow(c.dice, c.total)) {
            mean += total * chance;
            square += total * total * chance;
        }
        const mpq_class variance = square - mean * mean;
        const dice::Distribution roll = dice::Evaluate(dice::Parse(c.text));
        ASSERT_TRUE(roll.moments) << c.text;
        EXPECT_TRUE(roll.moments->meanLow < mean + near && roll.moments->meanHigh > mean - near) << c.text;
        EXPECT_TRUE(roll.moments->varianceLow < variance + near && roll.moments->varianceHigh > variance - near)
            << c.text;
        const dice::Statistics statistics = dice::Summarize(roll);
        EXPECT_EQ(dice::FixedDecimal(statistics.mean, 9), dice::FixedDecimal(mean, 9)) << c.text;
        EXPECT_EQ(dice::RootDecimal(statistics.variance, 9), dice::RootDecimal(variance, 9)) << c.text;
    }
}

// A compare point far past an exploding member is still counted exactly, up
// to the listing limit. 1d6! is 6k + r, 0 < r < 6, with chance 6^-(k+1), so
// it reaches 10000 = 6 * 1666 + 4 with chance 2 / 6^1667 + 1 / 6^1667.
TEST(DiceTree, CountsExactlyFarPastAnExplodingMember)
{
    const dice::Distribution count = dice::Evaluate(dice::Parse("{1d6!, 1}>=10000"));
    ASSERT_EQ(count.lowest, 0);
    ASSERT_EQ(count.counts.size(), 2U);
    EXPECT_EQ(count.tail, 0);
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 6, 1666);
    mpq_class met(count.counts[1], count.outcomes);
    met.canonicalize();
    EXPECT_EQ(met, mpq_class(mpz_class(1), 2 * power));
}

// A mean that is itself a tie of the ninth decimal still ends its listing.
// The two highest of three sum to all three less the lowest, which lies
// below 9, so the mean is 21/5 + 5 + 4 - E[lowest] = 417631/25600, that is
// 16.3137109375 exactly, printed rounded up.
TEST(DiceTree, MeanOnATieOfTheNinthDecimalIsPrinted)
{
    const dice::Statistics statistics = dice::Summarize(dice::Evaluate(dice::Parse("{1d6!, 2d4, 45-2d40}dl1")));
    EXPECT_EQ(dice::FixedDecimal(statistics.mean, 9), "16.313710938");
    EXPECT_LT(abs(statistics.mean - mpq_class(417631, 25600)), mpq_class(1, 1000000000));
}

// A member far below the others is always dropped, so the keep is the sum
// of the others, listed as far and with the same statistics; its distance
// from them must not loosen the bounds on the keep's moments.
TEST(DiceTree, AMemberAlwaysDroppedLeavesTheSumOfTheOthers)
{
    const std::pair<const char *, const char *> cases[] = {
        { "{1d6!, 2d4, -1755}dl1", "1d6!+2d4" },
        { "{1d4!, 4d4, -855}dl1", "1d4!+4d4" },
        { "{-90, 1d8!!, 1d6!!}kh2", "1d8!!+1d6!!" },
    };
    const auto share = [](const mpz_class &weight, const mpz_class &outcomes) {
        mpq_class fraction(weight, outcomes);
        fraction.canonicalize();
        return fraction;
    };
    for (const auto &[keep, sum] : cases) {
        const dice::Distribution kept = dice::Evaluate(dice::Parse(keep));
        const dice::Distribution added = dice::Evaluate(dice::Parse(sum));
        ASSERT_EQ(kept.lowest, added.lowest) << keep;
        ASSERT_EQ(kept.counts.size(), added.counts.size()) << keep;
        for (std::size_t i = 0; i < kept.counts.size(); ++i)
            EXPECT_EQ(share(kept.counts[i], kept.outcomes), share(added.counts[i], added.outcomes)) << keep;
        const dice::Statistics keptStatistics = dice::Summarize(kept);
        const dice::Statistics addedStatistics = dice::Summarize(added);
        EXPECT_EQ(dice::FixedDecimal(keptStatistics.mean, 9), dice::FixedDecimal(addedStatistics.mean, 9)) << keep;
        EXPECT_EQ(dice::RootDecimal(keptStatistics.variance, 9), dice::RootDecimal(addedStatistics.variance, 9))
            << keep;
    }
}

// Every refused form: its code, its text and its caret.
TEST(DiceTree, RefusedFormsSayWhyAndWhere)
{
    using dice::ErrorCode;
    const struct {
        const char *text;
        ErrorCode code;
        const char *shown;
    } cases[] = {
        { "1d6/2",
            ErrorCode::Division,
            "1d6/2: '/' alone does not divide, since totals stay whole numbers: write floor(A / B), ceil(A / B) or "
            "round(A / B)\n   ^" },
        { "floor(1d6/(1d2-1))",
            ErrorCode::DivisorReachesZero,
            "floor(1d6/(1d2-1)): the divisor can be 0: its totals run from 0 to 1\n          ^" },
        { "round(1d6/1d{-1,1})",
            ErrorCode::DivisorReachesZero,
            "round(1d6/1d{-1,1}): the divisor can be 0: its totals run from -1 to 1\n          ^" },
        { "{1d6}kh2", ErrorCode::GroupSize, "{1d6}kh2: a group holds 2 to 20 members, separated by commas\n^" },
        { "{1d6,1d6}kh3", ErrorCode::CannotKeepMembers, "{1d6,1d6}kh3: cannot keep 3 of 2 members\n           ^" },
        { "{1d6,1d6}dl2", ErrorCode::CannotDropMembers, "{1d6,1d6}dl2: cannot drop 2 of 2 members\n           ^" },
        { "{1d6,1d6}>=3kh1",
            ErrorCode::KeepAndCount,
            "{1d6,1d6}>=3kh1: a group keeps or drops members, or counts them, not both\n            ^" },
        { "{4d6kh3, 4d6kh3}r<8",
            ErrorCode::NotAGroupModifier,
            "{4d6kh3, 4d6kh3}r<8: 'r' is not a modifier of a group: a group takes only keep, drop and counts, such as "
            "kh1 or >=8\n                ^" },
        // A comparison after a whole sum is the command line's option.
        { "2d20kh1 + 5 >= 15",
            ErrorCode::ComparedTotal,
            "2d20kh1 + 5 >= 15: compare the total with the option --at-least 15\n            ^" },
        { "(2d6)>15", ErrorCode::ComparedTotal, "(2d6)>15: compare the total with the option --at-least 16\n     ^" },
        { "(2d6)<-3", ErrorCode::ComparedTotal, "(2d6)<-3: compare the total with the option --at-most -4\n     ^" },
        { "(2d6)<=15", ErrorCode::ComparedTotal, "(2d6)<=15: compare the total with the option --at-most 15\n     ^" },
        { "(2d6) == 7",
            ErrorCode::ComparedTotal,
            "(2d6) == 7: compare the total with the option --between 7 7\n      ^" },
        { "(2d6)<>7",
            ErrorCode::ComparedTotal,
            "(2d6)<>7: compare the total with the option --at-least T, --at-most T or --between A B\n     ^" },
        // One roll compared with another, in the words of the command line.
        { "d20 > d20", ErrorCode::Versus, "d20 > d20: compare two rolls with pipwright-cli --versus d20 d20\n    ^" },
        { "1d20 > 1d20",
            ErrorCode::Versus,
            "1d20 > 1d20: compare two rolls with pipwright-cli --versus 1d20 1d20\n     ^" },
        { "1d20 vs 1d20",
            ErrorCode::Versus,
            "1d20 vs 1d20: compare two rolls with pipwright-cli --versus 1d20 1d20\n     ^" },
        { "2d6 + 3 > 1d8",
            ErrorCode::Versus,
            "2d6 + 3 > 1d8: compare two rolls with pipwright-cli --versus 2d6+3 1d8\n        ^" },
        { "(d20) vs. {d6,d6}kh1",
            ErrorCode::Versus,
            "(d20) vs. {d6,d6}kh1: compare two rolls with pipwright-cli --versus '(d20)' '{d6,d6}kh1'\n      ^" },
        { "(d20 > d20)", ErrorCode::Versus, "(d20 > d20): compare two rolls with pipwright-cli --versus A B\n     ^" },
        { "1d20,1d20",
            ErrorCode::CommaOutsideGroup,
            "1d20,1d20: ',' separates the members of a group: type {1d20,1d20}, or give the rolls as separate "
            "arguments\n    ^" },
        { "1d6, (",
            ErrorCode::CommaOutsideGroup,
            "1d6, (: ',' separates the members of a group: type {A, B}, or give the rolls as separate "
            "arguments\n   ^" },
        { "max(1d6)", ErrorCode::ArgumentCount, "max(1d6): max takes 2 rolls, not 1: write max(A, B)\n       ^" },
        { "abs(1d6, 2)", ErrorCode::ArgumentCount, "abs(1d6, 2): abs takes 1 roll, not 2: write abs(A)\n       ^" },
        { "min(1,2,3)", ErrorCode::ArgumentCount, "min(1,2,3): min takes 2 rolls, not 3: write min(A, B)\n       ^" },
        { "((((((((((1))))))))))",
            ErrorCode::TooDeep,
            "((((((((((1)))))))))): brackets, groups and functions nest at most 8 deep\n        ^" },
        { "2**3", ErrorCode::NotAPower, "2**3: '**' is not an operator: multiply with '*'\n ^" },
        { "2^3", ErrorCode::NotAPower, "2^3: '^' is not an operator: multiply with '*'\n ^" },
        { "(1d6+2", ErrorCode::ExpectedSymbol, "(1d6+2: missing ')'\n      ^" },
        { "floor(1d6/2*3)", ErrorCode::ExpectedSymbol, "floor(1d6/2*3): unexpected '*': expected ')'\n           ^" },
        { "floor(1d6+2/2)",
            ErrorCode::ExpectedDivision,
            "floor(1d6+2/2): floor takes one division, A / B: put a sum in brackets, as in floor((1d6+2) / 2)\n      "
            "   ^" },
        { "sqrt(4)",
            ErrorCode::NotAFunction,
            "sqrt(4): 'sqrt' is not a function such as floor, ceil, round, abs, max or min\n^" },
        { "2*1d6!",
            ErrorCode::UnboundedOperand,
            "2*1d6!: a roll that explodes has no highest total, so '*' cannot take it\n  ^" },
        { "abs(1d6!-2)",
            ErrorCode::UnboundedOperand,
            "abs(1d6!-2): a roll that explodes has no highest total, so 'abs' cannot take it\n    ^" },
        { "2-{1d6!,1d6}kh1",
            ErrorCode::UnboundedSubtracted,
            "2-{1d6!,1d6}kh1: a roll with no highest total cannot be taken away\n  ^" },
        { "ceil(6/-1d10!<2)",
            ErrorCode::UnboundedSubtracted,
            "ceil(6/-1d10!<2): a roll with no highest total cannot be taken away\n        ^" },
        { "floor(-1d6!/2)",
            ErrorCode::UnboundedSubtracted,
            "floor(-1d6!/2): a roll with no highest total cannot be taken away\n       ^" },
        { "1000000*1000000*1000000",
            ErrorCode::TotalTooLarge,
            "1000000*1000000*1000000: a total could lie beyond 1000000000000000 either way\n^" },
        { "1d1000*1d1000*1d3",
            ErrorCode::SpanTooLarge,
            "1d1000*1d1000*1d3: the totals would span more than 2000000 values\n^" },
        { "2*d{0,999999}+d{0,2}",
            ErrorCode::SpanTooLarge,
            "2*d{0,999999}+d{0,2}: the totals would span more than 2000000 values\n              ^" },
        { "{2d1000, 1d6, 1d4}dl1",
            ErrorCode::KeptSpanTooLarge,
            "{2d1000, 1d6, 1d4}dl1: keeping or dropping several members takes members whose totals span at most 1000 "
            "values, unless all are written alike\n                  ^" },
        { "{1d1000+d{0,1}, 1d6, 1d4}dl1",
            ErrorCode::KeptSpanTooLarge,
            "{1d1000+d{0,1}, 1d6, 1d4}dl1: keeping or dropping several members takes members whose totals span at "
            "most 1000 values, unless all are written alike\n                         ^" },
        // A roll that explodes, listed far past its own end by what is
        // beside it or compared with it.
        { "1d6!+11d1000",
            ErrorCode::ListedTooFar,
            "1d6!+11d1000: a roll that explodes would be listed 10989 totals past its own end: keep what is beside it "
            "or compared with it within 10000\n     ^" },
        { "{1d6!, 50000}kh1",
            ErrorCode::ListedTooFar,
            "{1d6!, 50000}kh1: a roll that explodes would be listed 49858 totals past its own end: keep what is "
            "beside it or compared with it within 10000\n^" },
        { "3+{2d4, 1d6!}>5000f20000",
            ErrorCode::ListedTooFar,
            "3+{2d4, 1d6!}>5000f20000: a roll that explodes would be listed 19859 totals past its own end: keep what "
            "is beside it or compared with it within 10000\n  ^" },
        { "{1d6!, 10143}kh1",
            ErrorCode::ListedTooFar,
            "{1d6!, 10143}kh1: a roll that explodes would be listed 10001 totals past its own end: keep what is "
            "beside it or compared with it within 10000\n^" },
        { "{1d6!, 9000}kh1 + 9d1000",
            ErrorCode::ListedTooFar,
            "{1d6!, 9000}kh1 + 9d1000: a roll that explodes would be listed 17849 totals past its own end: keep what "
            "is beside it or compared with it within 10000\n                  ^" },
        { "{1d6!, 5000, 6000}kh2",
            ErrorCode::KeptSpanTooLarge,
            "{1d6!, 5000, 6000}kh2: keeping or dropping several members takes members whose totals span at most 1000 "
            "values, unless all are written alike\n                  ^" },
        { "{1,2}>=", ErrorCode::ExpectedComparison, "{1,2}>=: missing a number to compare with\n       ^" },
        { "{1,2}f1",
            ErrorCode::FailureFirst,
            "{1,2}f1: 'f' counts failures after a success count, such as >=8f1\n     ^" },
    };
    for (const auto &[text, code, shown] : cases) {
        try {
            dice::Parse(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const dice::ParseError &error) {
            EXPECT_EQ(error.Code(), code) << text;
            EXPECT_EQ(dice::ErrorText(text, error), shown) << text;
        }
    }
    // A group of 21 members is refused at the 21st.
    std::string members = "{1";
    for (int i = 2; i <= dice::maxMembers + 1; ++i) {
        members += ',';
        members += std::to_string(i);
    }
    members += "}";
    try {
        dice::Parse(members);
        ADD_FAILURE() << "accepted " << members;
    } catch (const dice::ParseError &error) {
        EXPECT_EQ(error.Code(), ErrorCode::GroupSize);
        EXPECT_EQ(members.substr(error.Position(), 3), "21}");
    }
    // 10000 past its own end is as far as a roll that explodes is listed.
    EXPECT_NO_THROW(dice::Parse("{1d6!, 10142}kh1"));
    // Eight deep is still read.
    EXPECT_NO_THROW(dice::Parse("((((((((1))))))))"));
    EXPECT_NO_THROW(dice::Parse("max({(1),2},abs(floor(((3))/1)))"));
    // Members alike may span more: they are kept as dice are.
    EXPECT_NO_THROW(dice::Parse("{1d1000 ,1d1000, 1d1000}kh2"));
    // 1 to 1000 is exactly as many totals as an unlike member may have.
    EXPECT_NO_THROW(dice::Parse("{1d1000, 1d6, 1d4}dl1"));
    // 0 to 1999999 is exactly as many totals as a roll may have; the count
    // refuses the one more that a hand-built tree would bring.
    dice::Expression widest = dice::Parse("2*d{0,999999}+d{0,1}");
    ASSERT_TRUE(widest.tree);
    EXPECT_NO_THROW(dice::CheckExpression(widest));
    ASSERT_EQ(widest.tree->terms.size(), 1U);
    widest.tree->terms[0].faces.back() = 2;
    EXPECT_THROW(dice::CheckExpression(widest), std::invalid_argument);
    // A long product is no deeper than its brackets.
    EXPECT_NO_THROW(dice::Evaluate(dice::Parse("2*2*2*2*2*2*2*2*2*2*1d6")));
}

// Terms joined by + and -, in brackets or not, stay the terms the count of
// sums has always taken; anything else has its tree.
TEST(DiceTree, SumsOfTermsStayTerms)
{
    EXPECT_FALSE(dice::Parse("2d20kh1+5-1d4").tree);
    const dice::Expression bracketed = dice::Parse("(2d20kh1+5)-(1d4-1)");
    EXPECT_FALSE(bracketed.tree);
    ASSERT_EQ(bracketed.terms.size(), 4U);
    EXPECT_EQ(bracketed.terms[3].sign, 1);
    EXPECT_EQ(bracketed.terms[2].sign, -1);
    EXPECT_TRUE(dice::Parse("2*1d6").tree);
    // A tree built by hand outside the notation is refused by the count.
    dice::Node product;
    product.kind = dice::Node::Kind::Product;
    product.operands.resize(1);
    dice::Expression bad;
    bad.tree = product;
    EXPECT_THROW(dice::Evaluate(bad), std::invalid_argument);
}
