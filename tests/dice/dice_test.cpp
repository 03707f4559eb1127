#include "dice/dice.h"
#include "dice/text/text.h"
#include "tests/dice/every_throw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace
{

using dicetest::Counts;
using dicetest::ThrowByThrow;

Counts Listed(const dice::Distribution &distribution)
{
    Counts counts;
    for (std::size_t i = 0; i < distribution.counts.size(); ++i) {
        if (distribution.counts[i] != 0)
            counts[distribution.lowest + static_cast<std::int64_t>(i)] = distribution.counts[i];
    }
    return counts;
}

// Convolution of rolls counted throw by throw: the sum of independent rolls.
Counts Plus(const Counts &a, const Counts &b, int sign)
{
    Counts sum;
    for (const auto &[x, p] : a) {
        for (const auto &[y, q] : b)
            sum[x + sign * y] += p * q;
    }
    return sum;
}

// Keeps the highest by a walk down the faces that tracks the kept sum, with
// the number of dice placed so far: slow, but independent of the engine.
Counts Walked(int n, int sides, int kept)
{
    std::vector<mpz_class> binomial(static_cast<std::size_t>((n + 1) * (n + 1)));
    for (int r = 0; r <= n; ++r) {
        for (int k = 0; k <= r; ++k)
            binomial[static_cast<std::size_t>(r * (n + 1) + k)] = k == 0 || k == r
                ? mpz_class(1)
                : binomial[static_cast<std::size_t>((r - 1) * (n + 1) + k - 1)]
                    + binomial[static_cast<std::size_t>((r - 1) * (n + 1) + k)];
    }
    std::map<std::pair<int, int>, mpz_class> states { { { 0, 0 }, 1 } };
    for (int face = sides; face >= 1; --face) {
        std::map<std::pair<int, int>, mpz_class> next;
        for (const auto &[state, ways] : states) {
            const auto [placed, sum] = state;
            for (int c = 0; placed + c <= n; ++c) {
                const int counted = std::max(0, std::min(c, kept - placed));
                next[{ placed + c, sum + counted * face }] +=
                    ways * binomial[static_cast<std::size_t>((n - placed) * (n + 1) + c)];
            }
        }
        states = std::move(next);
    }
    Counts counts;
    for (const auto &[state, ways] : states) {
        if (state.first == n)
            counts[state.second] += ways;
    }
    return counts;
}

std::string Form(int n, int sides, bool fudge, const char *pick, int k)
{
    return std::to_string(n) + "d" + (fudge ? "F" : std::to_string(sides)) + pick + std::to_string(k);
}

} // namespace

TEST(DiceCounts, EveryKeepAndDropOfSmallPoolsMatchesEveryThrow)
{
    for (int n = 1; n <= 5; ++n) {
        for (int sides = 2; sides <= 6; ++sides) {
            for (const bool fudge : { false, true }) {
                if (fudge && sides != 3)
                    continue;
                for (int k = 1; k <= n; ++k) {
                    const Counts highest = ThrowByThrow(n, sides, dice::Pick::Highest, k, fudge ? -2 : 0);
                    const Counts lowest = ThrowByThrow(n, sides, dice::Pick::Lowest, k, fudge ? -2 : 0);
                    const std::pair<std::string, const Counts *> forms[] = {
                        { Form(n, sides, fudge, "kh", k), &highest },
                        { Form(n, sides, fudge, "k", k), &highest },
                        { Form(n, sides, fudge, "kl", k), &lowest },
                        { Form(n, sides, fudge, "dl", n - k), &highest },
                        { Form(n, sides, fudge, "dh", n - k), &lowest },
                    };
                    for (const auto &[text, expected] : forms) {
                        const dice::Distribution distribution = dice::Evaluate(dice::Parse(text));
                        EXPECT_EQ(Listed(distribution), *expected) << text;
                        EXPECT_EQ(distribution.outcomes, mpz_class(static_cast<unsigned long>(std::pow(sides, n))))
                            << text;
                    }
                }
            }
        }
    }
}

TEST(DiceCounts, MixedSumsMatchEveryThrow)
{
    const auto roll = [](int n, int sides, bool fudge) {
        return ThrowByThrow(n, sides, dice::Pick::Highest, n, fudge ? -2 : 0);
    };
    const Counts three { { 3, 1 } };
    const Counts minusTwo { { -2, 1 } };
    const struct {
        const char *text;
        Counts expected;
    } cases[] = {
        { "1d8+2d6+3", Plus(Plus(roll(1, 8, false), roll(2, 6, false), 1), three, 1) },
        { "2d6-1d4", Plus(roll(2, 6, false), roll(1, 4, false), -1) },
        { "-1d4 + 2dF", Plus(Plus(Counts { { 0, 1 } }, roll(1, 4, false), -1), roll(2, 3, true), 1) },
        { "3d6kh2 - 2d4kl1 - 2",
            Plus(Plus(ThrowByThrow(3, 6, dice::Pick::Highest, 2), ThrowByThrow(2, 4, dice::Pick::Lowest, 1), -1),
                minusTwo,
                1) },
        { "4dF + 1d2 - 3d3", Plus(Plus(roll(4, 3, true), roll(1, 2, false), 1), roll(3, 3, false), -1) },
        { "1d6 - 2dF", Plus(roll(1, 6, false), roll(2, 3, true), -1) },
        { "2d5dl1+1d3-2d2dh1",
            Plus(Plus(ThrowByThrow(2, 5, dice::Pick::Highest, 1), roll(1, 3, false), 1),
                ThrowByThrow(2, 2, dice::Pick::Lowest, 1),
                -1) },
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(Listed(dice::Evaluate(dice::Parse(text))), expected) << text;
}

TEST(DiceCounts, LargerKeepsMatchAWalkOverTheFaces)
{
    // Pools past 64 and 128 bits, keeping few or nearly all of the dice.
    const struct {
        int n, sides, kept;
    } cases[] = { { 20, 30, 10 }, { 12, 100, 3 }, { 30, 20, 5 }, { 30, 20, 28 }, { 25, 40, 24 }, { 9, 50, 1 } };
    for (const auto &[n, sides, kept] : cases) {
        const std::string text = Form(n, sides, false, "kh", kept);
        const dice::Distribution distribution = dice::Evaluate(dice::Parse(text));
        EXPECT_EQ(Listed(distribution), Walked(n, sides, kept)) << text;
    }
}

TEST(DiceCounts, CountsAddUpToEveryOutcomeOfLargeRolls)
{
    for (const char *text : { "50d1000", "60d100kh30", "100d6dl1", "30d100-20d20kh10+7", "40d%kl39", "99dF+1d1000" }) {
        const dice::Distribution distribution = dice::Evaluate(dice::Parse(text));
        mpz_class sum;
        for (const mpz_class &count : distribution.counts) {
            ASSERT_GT(count, 0) << text;
            sum += count;
        }
        EXPECT_EQ(sum, distribution.outcomes) << text;
    }
}

TEST(DiceStatistics, MeanSpreadAndTiesAreExact)
{
    const struct {
        const char *text;
        const char *mean;
        const char *variance;
        std::vector<std::int64_t> mostLikely;
    } cases[] = {
        { "2d6", "7", "35/6", { 7 } },
        { "1d8+2d6+3", "29/2", "133/12", { 14, 15 } },
        { "2d20kh1", "553/40", "35511/1600", { 20 } },
        { "-1d4", "-5/2", "5/4", { -4, -3, -2, -1 } },
        { "4dF+10", "10", "8/3", { 10 } },
    };
    for (const auto &[text, mean, variance, mostLikely] : cases) {
        const dice::Statistics statistics = dice::Summarize(dice::Evaluate(dice::Parse(text)));
        EXPECT_EQ(statistics.mean, mpq_class(mean)) << text;
        EXPECT_EQ(statistics.variance, mpq_class(variance)) << text;
        EXPECT_EQ(statistics.mostLikely, mostLikely) << text;
    }
}

TEST(DiceText, PercentsRoundTheExactFractionHalfToEven)
{
    const struct {
        long part, whole;
        const char *fixed9, *significant17;
    } cases[] = {
        { 1, 6, "16.666666667", "16.666666666666667" },
        { 1, 1, "100.000000000", "100.00000000000000" },
        { 0, 7, "0.000000000", "0" },
        { 1, 68719476736, "0.000000001", "1.4551915228366852e-9" },
        { 1, 200000000000, "0.000000000", "5.0000000000000000e-10" },
        { 3, 2000000000000, "0.000000000", "1.5000000000000000e-10" },
        { 1, 400000000000, "0.000000000", "2.5000000000000000e-10" },
        { 15, 1000000000000, "0.000000002", "1.5000000000000000e-9" },
        { 25, 1000000000000, "0.000000002", "2.5000000000000000e-9" },
        { 1, 100000, "0.001000000", "0.0010000000000000000" },
        // The least share written out plainly, then the first with an exponent.
        { 1, 100000000, "0.000001000", "0.0000010000000000000000" },
        { 1, 1000000000, "0.000000100", "1.0000000000000000e-7" },
    };
    for (const auto &[part, whole, fixed9, significant17] : cases) {
        EXPECT_EQ(dice::FixedPercent(part, whole, 9), fixed9) << part << "/" << whole;
        EXPECT_EQ(dice::SignificantPercent(part, whole, 17), significant17) << part << "/" << whole;
    }
}

TEST(DiceParse, RejectsWhatIsNotAnExpressionAndPointsAtIt)
{
    const struct {
        std::string text;
        std::size_t position;
    } cases[] = {
        { "", 0 },
        { "   ", 3 },
        { "d", 1 },
        { "0d6", 0 },
        { "1d1", 2 },
        { "1d0", 2 },
        { "101d6", 0 },
        { "1d1001", 2 },
        { "3d6kh0", 5 },
        { "3d6kh4", 5 },
        { "3d6dl3", 5 },
        { "2d20kh3", 6 },
        { "1d6+", 4 },
        { "++1", 1 },
        { "1e3d6", 1 },
        { "1d6^2", 3 },
        { "1d6d2", 3 },
        { "4d101kh3", 2 },
        { "1000001", 0 },
        { "5 + 99999999999999999999999999", 4 },
        { "1d6 + \xc3\xa9", 6 },
        { "1d6\n", 3 },
        { "60d6+41d6", 5 },
        { "1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21", 51 },
    };
    for (const auto &[text, position] : cases) {
        try {
            dice::Parse(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const dice::ParseError &error) {
            EXPECT_EQ(error.Position(), position) << text << ": " << error.what();
            const std::string shown = dice::ErrorText(text, error);
            EXPECT_EQ(shown.find('\n'), shown.rfind('\n')) << shown;
        }
    }
    try {
        dice::Parse("2d20kh3");
    } catch (const dice::ParseError &error) {
        EXPECT_EQ(dice::ErrorText("2d20kh3", error), "2d20kh3: cannot keep 3 of 2 dice\n      ^");
    }
}

TEST(DiceParse, SpellingsOfOneRollCountAlike)
{
    const std::pair<const char *, const char *> cases[] = {
        { "4D6KH3", "4d6kh3" },
        { "d%", "1d100" },
        { " 2 d 20 kl 1 +  5 ", "2d20kl1+5" },
        { "3d6dl0", "3d6" },
        { "3d6kh3", "3d6" },
        { "-1d6+7", "1d6" },
        { "+dF", "1d3-2" },
        { "1000000-1000000", "0" },
        { "dF.1", "d{-1,0,0,0,0,1}" },
    };
    for (const auto &[text, same] : cases) {
        const dice::Distribution a = dice::Evaluate(dice::Parse(text));
        const dice::Distribution b = dice::Evaluate(dice::Parse(same));
        EXPECT_EQ(a.lowest, b.lowest) << text;
        EXPECT_EQ(a.counts, b.counts) << text;
    }
}

TEST(DiceCounts, AStopRequestCancelsTheCount)
{
    std::stop_source source;
    source.request_stop();
    for (const char *text : { "4d6kh3", "100d100kh50", "100d100dl1", "100d1000", "50d100kh25-50d100" })
        EXPECT_THROW(dice::Evaluate(dice::Parse(text), source.get_token()), dice::Cancelled) << text;
}

// A request that comes while the count runs ends it too: each of these takes
// many milliseconds, far longer than the request takes to come.
TEST(DiceCounts, AStopRequestDuringTheCountCancelsIt)
{
    // A busy machine may not wake the stopper before a count ends, so a count
    // that finishes first is tried again; one that never stops fails.
    for (const char *text : { "100d1000", "100d100kh50" }) {
        const dice::Expression expression = dice::Parse(text);
        bool cancelled = false;
        for (int attempt = 0; attempt < 50 && !cancelled; ++attempt) {
            std::stop_source source;
            std::jthread stopper([&source] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                source.request_stop();
            });
            try {
                dice::Evaluate(expression, source.get_token());
            } catch (const dice::Cancelled &) {
                cancelled = true;
            }
        }
        EXPECT_TRUE(cancelled) << text;
    }
}
