// Every text the results print, for every roll the window admits, against
// exact integer arithmetic: the ways to throw each total multiplied out in 128
// bits, each percentage rounded from the exact fraction, half to even. While
// all outcomes number below 2^53 the counts are exact doubles and every text
// must be the exactly rounded one; above, within one unit of its last digit.
#include "numtext/results.h"
#include "rollstats/outcomes.h"
#include "rollstats/rollstats.h"
#include "tests/reference/exact_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace rollstats;

namespace
{

using reference::Exact;

// A share of all outcomes as a percentage, scaled by 10^decimals: the whole
// part and what is left over, in units of 1 / total.
struct Scaled {
    Exact whole;
    Exact rest;
    int decimals;
};

Scaled Percentage(Exact outcomes, Exact total, int decimals)
{
    Scaled s { outcomes * 100 / total, outcomes * 100 % total, 0 };
    while (s.decimals < decimals) {
        s.rest *= 10;
        s.whole = s.whole * 10 + s.rest / total;
        s.rest %= total;
        ++s.decimals;
    }
    return s;
}

// The same percentage scaled up to its first 15 significant digits.
Scaled FifteenDigits(Exact outcomes, Exact total)
{
    Scaled s = Percentage(outcomes, total, 0);
    while (s.whole < Exact { 100000000000000 })
        s = Percentage(outcomes, total, s.decimals + 1);
    return s;
}

Exact RoundedHalfToEven(const Scaled &s, Exact total)
{
    const Exact twice = 2 * s.rest;
    return s.whole + (twice > total || (twice == total && s.whole % 2 == 1));
}

// Whether a text shows the exact percentage to within one unit of the ninth
// decimal, beyond the half unit of its last digit when it rounds elsewhere
// than there (the labels).
bool CloseEnough(Exact shown, const Scaled &exact, Exact total, bool roundsElsewhere)
{
    // The distance, whole units plus a fraction over total.
    const bool above = shown > exact.whole;
    const Exact apart = above ? shown - exact.whole - 1 : exact.whole - shown;
    const Exact fraction = above ? total - exact.rest : exact.rest;
    const Exact half = roundsElsewhere ? 1 : 0;
    const int ninth = std::min(exact.decimals - 9, 30);
    if (ninth < 0) {
        Exact scale = 1;
        for (int i = ninth; i < 0; ++i)
            scale *= 10;
        return apart == 0 && fraction * 2 * scale <= total * (half * scale + 2);
    }
    Exact oneUnit = 1;
    for (int i = 0; i < ninth; ++i)
        oneUnit *= 10;
    return apart < oneUnit || (apart == oneUnit && 2 * fraction <= half * total);
}

// A printed percentage such as "2.777777778%", "100%" or "2.9E-28%", in units
// of 10^-decimals; false when it has more digits than those units hold.
bool Units(const std::string &text, int decimals, Exact &digits)
{
    digits = 0;
    int scale = decimals;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'E' && text[i] != '%'; ++i) {
        if (text[i] == '.') {
            afterPoint = true;
            continue;
        }
        digits = digits * 10 + static_cast<unsigned>(text[i] - '0');
        scale -= afterPoint;
    }
    if (i < text.size() && text[i] == 'E')
        scale += std::stoi(text.substr(i + 1));
    if (scale < 0)
        return false;
    while (scale-- > 0)
        digits *= 10;
    return true;
}

// Decimals of the percentage the text rounds to; none for the 15 significant
// digits of a tooltip.
constexpr int kSignificant = -1;

::testing::AssertionResult Agrees(const std::string &shown, Exact outcomes, Exact total, int decimals)
{
    const bool exactDoubles = total < (Exact { 1 } << 53);
    Scaled exact = decimals == kSignificant ? FifteenDigits(outcomes, total) : Percentage(outcomes, total, decimals);
    // Just below a power of ten, fifteen digits reach one decimal further.
    if (decimals == kSignificant && !exactDoubles)
        exact = Percentage(outcomes, total, exact.decimals + 1);
    Exact units = 0;
    if (Units(shown, exact.decimals, units)
        && (exactDoubles ? units == RoundedHalfToEven(exact, total) : CloseEnough(units, exact, total, decimals != 9)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << shown << " for " << reference::Decimal(outcomes) << " of "
                                         << reference::Decimal(total) << " outcomes, exactly "
                                         << reference::Decimal(exact.whole) << " + " << reference::Decimal(exact.rest)
                                         << "/" << reference::Decimal(total) << " units of 10^-" << exact.decimals
                                         << " percent";
}

} // namespace

TEST(PrintedResults, EveryLineAndPickOfEveryAdmittedRollAgreeWithExactCounts)
{
    int rolls = 0;
    for (const int sides : { 2, 3, 4, 5, 6, 8, 10, 12, 20, 30, 100 }) {
        std::vector<Exact> ways { 1 };
        Exact total = 1;
        for (int dice = 1; dice <= (sides == 100 ? 10 : 20); ++dice, ++rolls) {
            ways = reference::AddDie(ways, sides);
            total *= static_cast<Exact>(sides);

            Sides = static_cast<std::int16_t>(sides);
            SeedRollState();
            BuildDistribution(static_cast<std::int16_t>(dice));
            ComputeTotalOutcomes(dice);
            const auto items = static_cast<std::int16_t>(ways.size());
            SCOPED_TRACE(std::to_string(dice) + "d" + std::to_string(sides));
            ASSERT_EQ(LastItem(), items - 1);

            // Centred on zero, so that the totals run through negative ones.
            const int modifier = -(dice * (sides + 1)) / 2;
            const std::string prefix = "P(" + std::to_string(dice + modifier) + ") = ";
            for (std::int32_t t = dice; t <= dice * sides; ++t) {
                const std::string line = numtext::TableLine(t + modifier, OutcomesOfFaceTotal(t, dice), TotalOutcomes);
                const std::string label = "P(" + std::to_string(t + modifier) + ") = ";
                ASSERT_EQ(line.substr(0, label.size()), label);
                ASSERT_TRUE(Agrees(line.substr(label.size()), ways[static_cast<std::size_t>(t - dice)], total, 9))
                    << "total " << t;
            }

            // Picks at both ends, next to them and in the middle, in every
            // combination: crossing, equal and ordered.
            const std::set<std::int16_t> picks { 0,
                static_cast<std::int16_t>(std::min(1, items - 1)),
                static_cast<std::int16_t>(items / 2),
                static_cast<std::int16_t>(std::max(0, items - 2)),
                static_cast<std::int16_t>(items - 1) };
            const auto outcomes = [&](std::int16_t first, std::int16_t last) {
                Exact sum = 0;
                for (auto k = first; k <= last; ++k)
                    sum += ways[static_cast<std::size_t>(k)];
                return sum;
            };
            const auto check = [&](std::int16_t first, std::int16_t last) {
                const double shown = OutcomesFromItemToItem(first, last);
                const Exact want = outcomes(first, last);
                EXPECT_TRUE(Agrees(numtext::PercentCaption(shown, TotalOutcomes), want, total, 1))
                    << first << " to " << last;
                EXPECT_TRUE(Agrees(numtext::PercentToolTip(shown, TotalOutcomes), want, total, kSignificant))
                    << first << " to " << last;
            };
            for (const std::int16_t atLeast : picks) {
                check(atLeast, LastItem());
                check(0, atLeast);
                for (const std::int16_t atMost : picks)
                    check(std::min(atLeast, atMost), std::max(atLeast, atMost));
            }
        }
    }
    EXPECT_EQ(rolls, 210);
}
