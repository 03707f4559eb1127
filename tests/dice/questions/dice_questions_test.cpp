// Questions about rolls against every throw of their dice, with exact
// fractions. Each case lists every die the text throws, names included once,
// and what one throw of all of them gives: the model knows nothing of how
// the engine reads a let, a condition or a pool.
#include "dice/dice.h"
#include "dice/text/text.h"
#include "tests/dice/every_throw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{

using dicetest::Die;
using dicetest::EveryThrow;
using dicetest::Throw;

Die D(int sides, int from = 1)
{
    Die die;
    for (int face = from; face < from + sides; ++face)
        die.push_back({ face, mpq_class(1, sides) });
    return die;
}

const Die dF = D(3, -1);

std::vector<Die> Dice(int n, const Die &die)
{
    return std::vector<Die>(static_cast<std::size_t>(n), die);
}

std::vector<Die> Joined(std::vector<Die> a, const std::vector<Die> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Case {
    const char *text;
    std::vector<Die> dice;
    std::function<std::int64_t(const Throw &)> total;
};

std::map<std::int64_t, mpq_class> Engine(const dice::Distribution &roll)
{
    std::map<std::int64_t, mpq_class> chances;
    for (std::size_t i = 0; i < roll.counts.size(); ++i) {
        if (roll.counts[i] != 0)
            chances[roll.lowest + static_cast<std::int64_t>(i)] = mpq_class(roll.counts[i], roll.outcomes);
    }
    for (auto &[total, chance] : chances)
        chance.canonicalize();
    return chances;
}

// The k-th highest of t[from, to).
std::int64_t Nth(const Throw &t, std::size_t from, std::size_t to, std::size_t k)
{
    std::vector<std::int64_t> part(
        t.begin() + static_cast<std::ptrdiff_t>(from), t.begin() + static_cast<std::ptrdiff_t>(to));
    std::sort(part.rbegin(), part.rend());
    return part[k - 1];
}

std::int64_t LargestCount(const Throw &t)
{
    std::int64_t most = 0;
    for (const std::int64_t face : t)
        most = std::max<std::int64_t>(most, std::count(t.begin(), t.end(), face));
    return most;
}

std::int64_t Straight(const Throw &t)
{
    const std::set<std::int64_t> shown(t.begin(), t.end());
    std::int64_t best = 0;
    for (const std::int64_t face : shown) {
        std::int64_t run = 1;
        while (shown.count(face + run))
            ++run;
        best = std::max(best, run);
    }
    return best;
}

} // namespace

// Faults each aims at: a name read twice as two throws; an inner let's name
// read from the outer; a later name not seeing an earlier one; a condition
// reading a count of dice for a total; 'and' binding looser than 'or'; nth
// counting from the lowest; a straight counting a repeated face twice; a
// whole throw rerolled and renormalised wrongly; a keep of throws keeping dice.
TEST(DiceQuestions, EveryFormAgreesWithEveryThrow)
{
    // clang-format off
    const Case cases[] = {
        { "let atk = 1d20 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0",
            { D(20), D(8), D(8), D(8) },
            [](const Throw &t) { return t[0] == 20 ? t[1] + t[2] + 3 : t[0] + 5 >= 15 ? t[3] + 3 : 0; } },
        { "let atk = 2d20kh1 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0",
            { D(20), D(20), D(8), D(8), D(8) },
            [](const Throw &t) {
                const std::int64_t atk = std::max(t[0], t[1]);
                return atk == 20 ? t[2] + t[3] + 3 : atk + 5 >= 15 ? t[4] + 3 : 0;
            } },
        { "let x = 1d6 in x * x + x - 1d4", { D(6), D(4) }, [](const Throw &t) { return t[0] * t[0] + t[0] - t[1]; } },
        { "let x = 1d4 in (let x = 1d6 in x) * 10 + x", { D(4), D(6) }, [](const Throw &t) { return t[1] * 10 + t[0]; } },
        { "let a = 1d6, b = a + 1d4 in b * 10 + a", { D(6), D(4) },
            [](const Throw &t) { return (t[0] + t[1]) * 10 + t[0]; } },
        { "if 2d6 >= 8 then 1 else 0", { D(6), D(6) }, [](const Throw &t) { return t[0] + t[1] >= 8 ? 1 : 0; } },
        { "if (3d6>=5) = 2 then 1 else 0", Dice(3, D(6)),
            [](const Throw &t) { return (t[0] >= 5) + (t[1] >= 5) + (t[2] >= 5) == 2 ? 1 : 0; } },
        { "if 1d6 <> 3 and not 1d4 >= 2 or 1d8 < 3 then 1 else 0", { D(6), D(4), D(8) },
            [](const Throw &t) { return (t[0] != 3 && !(t[1] >= 2)) || t[2] < 3 ? 1 : 0; } },
        { "if 1d10 = 1d10 or 1d6 <= 2 and 1d6 > 4 then 1d4 else 1d3 * 2", { D(10), D(10), D(6), D(6), D(4), D(3) },
            [](const Throw &t) { return t[0] == t[1] || (t[2] <= 2 && t[3] > 4) ? t[4] : t[5] * 2; } },
        { "if 1d20 + 7 >= 1d20 + 5 then 1 else 0", { D(20), D(20) }, [](const Throw &t) { return t[0] + 7 >= t[1] + 5 ? 1 : 0; } },
        { "let att = 3d6, def = 2d6 in (if highest(att) > highest(def) then 0 else 1) + "
          "(if nth(2, att) > nth(2, def) then 0 else 1)",
            Dice(5, D(6)),
            [](const Throw &t) {
                return (Nth(t, 0, 3, 1) > Nth(t, 3, 5, 1) ? 0 : 1) + (Nth(t, 0, 3, 2) > Nth(t, 3, 5, 2) ? 0 : 1);
            } },
        { "nth(2, 4d6)", Dice(4, D(6)), [](const Throw &t) { return Nth(t, 0, 4, 2); } },
        { "lowest({1d4, 1d6, 2d3})", { D(4), D(6), D(3), D(3) },
            [](const Throw &t) { return std::min({ t[0], t[1], t[2] + t[3] }); } },
        { "highest(3d6r1) + count(-1, 4dF)", Joined(Dice(3, D(5, 2)), Dice(4, dF)),
            [](const Throw &t) { return Nth(t, 0, 3, 1) + std::count(t.begin() + 3, t.end(), -1); } },
        { "largest_straight(4d6) * 10 + largest_count(4d6)", Dice(8, D(6)),
            [](const Throw &t) {
                return Straight(Throw(t.begin(), t.begin() + 4)) * 10 + LargestCount(Throw(t.begin() + 4, t.end()));
            } },
        { "let p = 5d4 in sets(2, p) * 10 + count(>=3, p)", Dice(5, D(4)),
            [](const Throw &t) {
                std::int64_t pairs = 0;
                for (std::int64_t face = 1; face <= 4; ++face)
                    pairs += std::count(t.begin(), t.end(), face) >= 2;
                return pairs * 10 + std::count_if(t.begin(), t.end(), [](std::int64_t f) { return f >= 3; });
            } },
        { "3d(2d4kh1)kh1 - 2d(1d4)", Dice(8, D(4)),
            [](const Throw &t) {
                return std::max({ std::max(t[0], t[1]), std::max(t[2], t[3]), std::max(t[4], t[5]) }) - t[6] - t[7];
            } },
        { "3d(1d6+1d4)>=7", Joined(Dice(3, D(6)), Dice(3, D(4))),
            [](const Throw &t) { return (t[0] + t[3] >= 7) + (t[1] + t[4] >= 7) + (t[2] + t[5] >= 7); } },
        { "let x = 1d3 in 2d(x + 1d4)kl1", { D(3), D(4), D(4) },
            [](const Throw &t) { return std::min(t[0] + t[1], t[0] + t[2]); } },
        // Certain once its names are bound, and their throws weighted.
        { "let p = 3d6r1, q = 1d{1,1,2} in if not highest(p) > 4 * q then abs(q - lowest(p)) "
          "else max(floor(nth(2, p) / q), 3)",
            Joined(Dice(3, D(5, 2)), { { { 1, mpq_class(2, 3) }, { 2, mpq_class(1, 3) } } }),
            [](const Throw &t) {
                const std::int64_t q = t[3];
                if (Nth(t, 0, 3, 1) <= 4 * q)
                    return std::abs(q - Nth(t, 0, 3, 3));
                return std::max<std::int64_t>(Nth(t, 0, 3, 2) / q, 3);
            } },
        // A whole throw rerolled once where it is 2: kept as it fell, or
        // thrown again and kept whatever it shows.
        { "1d(1d3)ro2", { D(3), D(3) }, [](const Throw &t) { return t[0] == 2 ? t[1] : t[0]; } },
        // None of the throws kept, the highest as the lowest: once a crash.
        { "2d(1d4)kh0", Dice(2, D(4)), [](const Throw &) { return std::int64_t { 0 }; } },
        { "3d(1d3)d3", Dice(3, D(3)), [](const Throw &) { return std::int64_t { 0 }; } },
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Engine(dice::Evaluate(dice::Parse(c.text))), EveryThrow(c.dice, c.total));
    }
}

// A let's weights add up in machine integers while its names' denominators
// multiply to below 2^127, and in GMP past it: 6^49 fits, 6^50 does not.
TEST(DiceQuestions, LetsEitherSideOfMachineWeights)
{
    for (const char *dice : { "24d6", "25d6" }) {
        const std::string let = std::string("let x = 1d(") + dice + "), y = 1d(25d6) in if x > y then 1 else 0";
        const std::string apart = std::string("if ") + dice + " > 25d6 then 1 else 0";
        EXPECT_EQ(Engine(dice::Evaluate(dice::Parse(let))), Engine(dice::Evaluate(dice::Parse(apart)))) << let;
    }
}

// Rerolled again and again while below 8: the chances of 8 and up, each
// over all of them, never the old chances of the totals left.
TEST(DiceQuestions, WholeThrowRerolledWhileBelow)
{
    const dice::Distribution roll = dice::Evaluate(dice::Parse("1d(3d4)r<8"));
    std::map<std::int64_t, mpq_class> model;
    mpq_class kept;
    for (int a = 1; a <= 4; ++a)
        for (int b = 1; b <= 4; ++b)
            for (int c = 1; c <= 4; ++c)
                if (a + b + c >= 8) {
                    model[a + b + c] += mpq_class(1, 64);
                    kept += mpq_class(1, 64);
                }
    for (auto &[total, chance] : model)
        chance /= kept;
    EXPECT_EQ(Engine(roll), model);
    EXPECT_TRUE(roll.weighted);
}

// Labels in the order written, never by chance; weights that count the
// throws where they do.
TEST(DiceQuestions, LabelsComeInTheOrderWritten)
{
    const dice::Distribution pbta = dice::Evaluate(
        dice::Parse(R"(let t = 2d6+1 in if t >= 10 then "strong hit" else if t >= 7 then "weak hit" else "miss")"));
    EXPECT_EQ(pbta.labels, (std::vector<std::string> { "strong hit", "weak hit", "miss" }));
    EXPECT_EQ(pbta.counts, (std::vector<mpz_class> { 10, 16, 10 }));
    EXPECT_EQ(pbta.outcomes, 36);
    EXPECT_FALSE(pbta.weighted);

    const dice::Distribution blades = dice::Evaluate(dice::Parse(
        R"(let pool = 4d6 in if count(6, pool) >= 2 then "critical" else if highest(pool) = 6 then "success" )"
        R"(else if highest(pool) >= 4 then "partial" else "failure")"));
    // Two sixes or more; one six; a highest of 4 or 5; else 1 to 3 only.
    EXPECT_EQ(blades.counts, (std::vector<mpz_class> { 1296 - 625 - 4 * 125, 4 * 125, 625 - 81, 81 }));
    EXPECT_EQ(blades.outcomes, 1296);

    const dice::Distribution ironsworn = dice::Evaluate(
        dice::Parse(R"(let act = min(1d6 + 2, 10), c1 = 1d10, c2 = 1d10 in if act > c1 and act > c2 then "strong hit" )"
                    R"(else if act > c1 or act > c2 then "weak hit" else "miss")"));
    mpz_class strong;
    mpz_class weak;
    for (int a = 1; a <= 6; ++a)
        for (int c1 = 1; c1 <= 10; ++c1)
            for (int c2 = 1; c2 <= 10; ++c2) {
                const bool one = a + 2 > c1;
                const bool two = a + 2 > c2;
                strong += one && two;
                weak += one != two;
            }
    EXPECT_EQ(ironsworn.counts, (std::vector<mpz_class> { strong, weak, 600 - strong - weak }));
    EXPECT_EQ(ironsworn.outcomes, 600);
}

// A branch that explodes keeps its tail: listed totals exact, the rest held
// exactly above them, and the mean from the closed form of the die.
TEST(DiceQuestions, BranchThatExplodes)
{
    const dice::Distribution roll = dice::Evaluate(dice::Parse("if 1d2 = 1 then 1d6! else 0"));
    const auto chances = Engine(roll);
    EXPECT_EQ(chances.at(0), mpq_class(1, 2));
    EXPECT_EQ(chances.at(5), mpq_class(1, 12));
    EXPECT_EQ(chances.count(6), 0U);
    EXPECT_EQ(chances.at(9), mpq_class(1, 72));
    EXPECT_GT(roll.tail, 0);
    mpz_class listed;
    for (const mpz_class &count : roll.counts)
        listed += count;
    EXPECT_EQ(listed + roll.tail, roll.outcomes);
    const dice::Statistics summary = dice::Summarize(roll);
    EXPECT_EQ(dice::FixedDecimal(summary.mean, 9), "2.100000000");
}
