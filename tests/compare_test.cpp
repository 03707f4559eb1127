// The Compare window's arithmetic without a window: shares against hand
// counts, the target in each sense at and beyond a roll's ends, the likeliest
// roll with ties, the totals axis cut into stretches and walked through,
// each roll against each, the plot's axis ending where chances stop showing,
// and rolls whose results are labels kept off the axis and the target.
#include "compare/comparison.h"
#include "compare/head_to_head.h"
#include "compare/roll.h"

#include <gtest/gtest.h>

#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace
{

using compare::Stretch;
using compare::View;

std::shared_ptr<const compare::RollResult> Counted(const std::string &text)
{
    return std::make_shared<const compare::RollResult>(compare::CountRoll(text, dice::Parse(text), {}));
}

std::vector<compare::PlottedRoll> Plotted(const std::vector<std::string> &texts)
{
    std::vector<compare::PlottedRoll> rolls;
    for (const std::string &text : texts)
        rolls.push_back({ rolls.size(), Counted(text) });
    return rolls;
}

TEST(CompareRollTest, PercentsInEachView)
{
    const auto percents = compare::Percents(Counted("1d4")->distribution);
    EXPECT_EQ(percents[static_cast<int>(View::Exactly)], std::vector<double>({ 25, 25, 25, 25 }));
    EXPECT_EQ(percents[static_cast<int>(View::AtLeast)], std::vector<double>({ 100, 75, 50, 25 }));
    EXPECT_EQ(percents[static_cast<int>(View::AtMost)], std::vector<double>({ 25, 50, 75, 100 }));
    // 2d6: the ends of the cumulative views are certain, the middle is 6 of 36.
    const auto dice2 = compare::Percents(Counted("2d6")->distribution);
    EXPECT_DOUBLE_EQ(dice2[0][5], 100.0 / 6);
    EXPECT_EQ(dice2[1].front(), 100.0);
    EXPECT_EQ(dice2[2].back(), 100.0);
    EXPECT_DOUBLE_EQ(dice2[1][1], 3500.0 / 36);
}

TEST(CompareRollTest, SharesBeyondDoubles)
{
    mpz_class big;
    mpz_ui_pow_ui(big.get_mpz_t(), 2, 3000);
    EXPECT_EQ(compare::Share(big, big * 4), 0.25);
    EXPECT_EQ(compare::Share(3, 0), 0.0);
    EXPECT_EQ(compare::Share(0, big), 0.0);
}

TEST(CompareRollTest, TargetOutcomesAtAndBeyondTheEnds)
{
    const dice::Distribution roll = Counted("2d6")->distribution;
    const struct {
        compare::Target target;
        int outcomes;
    } cases[] = {
        { { 10, View::AtLeast }, 6 },
        { { 3, View::AtMost }, 3 },
        { { 7, View::Exactly }, 6 },
        { { 12, View::AtLeast }, 1 },
        { { 13, View::AtLeast }, 0 },
        { { 1, View::AtLeast }, 36 },
        { { 1, View::AtMost }, 0 },
        { { 2, View::AtMost }, 1 },
        { { 40, View::AtMost }, 36 },
        { { 1, View::Exactly }, 0 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(compare::TargetOutcomes(roll, c.target), c.outcomes)
            << c.target.total << " sense " << static_cast<int>(c.target.sense);
}

// 1d6! throws 1 to 5 at 1/6 each and nothing else below 7; its remainder lies
// above the listing and belongs to every "at least" within it.
TEST(CompareRollTest, UnboundedRollsCountTheirRemainder)
{
    const auto roll = Counted("1d6!");
    const dice::Distribution &distribution = roll->distribution;
    ASSERT_TRUE(distribution.Unbounded());
    const mpz_class &whole = distribution.outcomes;
    EXPECT_EQ(compare::TargetOutcomes(distribution, { 1, View::AtLeast }), whole);
    EXPECT_EQ(6 * compare::TargetOutcomes(distribution, { 7, View::AtLeast }), whole);
    EXPECT_EQ(6 * compare::TargetOutcomes(distribution, { 6, View::AtMost }), 5 * whole);
    EXPECT_EQ(compare::Percents(distribution)[static_cast<int>(View::AtLeast)].front(), 100.0);
    const auto row = compare::StatisticsRow(*roll, { 7, View::AtLeast });
    EXPECT_EQ(row[1], "1");
    EXPECT_EQ(row[2], "unbounded");
    EXPECT_EQ(row[3], "4.2");
    EXPECT_EQ(row[5], "16.666666667%");
}

TEST(CompareRollTest, StatisticsRow)
{
    const auto row = compare::StatisticsRow(*Counted("3d6+1"), { 15, View::AtLeast });
    EXPECT_EQ(row[0], "3d6+1");
    EXPECT_EQ(row[1], "4");
    EXPECT_EQ(row[2], "19");
    EXPECT_EQ(row[3], "11.5");
    EXPECT_EQ(row[4], "2.958");
    // 35 of 216 throws of 3d6 reach 14.
    EXPECT_EQ(row[5], "16.203703704%");
    // Rounded once from the exact values, halves to even.
    const struct {
        const char *roll;
        const char *mean, *deviation;
    } rounded[] = {
        { "1d6-10", "-6.5", "1.7078" },
        // 33/32 is 1.03125.
        { "5d2kl1", "1.0312", "0.174" },
        // 2 - 1/1024 and sqrt(1023)/1024.
        { "10d2kh1", "1.999", "0.0312" },
        // -1/32 and sqrt(31)/32.
        { "5d2kl1-2", "-0.9688", "0.174" },
        { "7", "7", "0" },
        { "1d2-1", "0.5", "0.5" },
    };
    for (const auto &r : rounded) {
        const auto cells = compare::StatisticsRow(*Counted(r.roll), {});
        EXPECT_EQ(cells[3], r.mean) << r.roll;
        EXPECT_EQ(cells[4], r.deviation) << r.roll;
    }
    EXPECT_EQ(compare::WithoutTrailingZeros("100"), "100");
    EXPECT_EQ(compare::WithoutTrailingZeros("-0.0500"), "-0.05");
}

// 2d6+1 in the moves of a PbtA game: 10 of 36 throws reach 10, a strong
// hit; 16 more reach 7; the other 10 miss.
std::shared_ptr<const compare::RollResult> Moves()
{
    dice::Distribution moves;
    moves.labels = { "strong hit", "weak hit", "miss" };
    moves.counts = { 10, 16, 10 };
    moves.outcomes = 36;
    return std::make_shared<const compare::RollResult>(compare::ReadRoll("moves", moves));
}

TEST(CompareLabelsTest, SharesInTheLabelsOrder)
{
    const auto moves = Moves();
    ASSERT_TRUE(moves->Labelled());
    EXPECT_EQ(compare::LabelShares(moves->distribution, 2), "strong hit 27.78%, weak hit 44.44%, miss 27.78%");
    EXPECT_EQ(compare::LabelShares(moves->distribution, 9),
        "strong hit 27.777777778%, weak hit 44.444444444%, miss 27.777777778%");
    EXPECT_DOUBLE_EQ(moves->percents[static_cast<int>(View::Exactly)][1], 1600.0 / 36);
}

TEST(CompareLabelsTest, StayOffTheAxisAndTheTarget)
{
    compare::Comparison shown;
    std::vector<compare::PlottedRoll> rolls = Plotted({ "1d4+10" });
    rolls.insert(rolls.begin(), { 1, Moves() });
    shown.SetRolls(rolls);
    EXPECT_EQ(shown.TotalsRolls(), 1U);
    EXPECT_EQ(shown.LabelledRolls(), 1U);
    EXPECT_EQ(shown.Lowest(), 11);
    EXPECT_EQ(shown.Highest(), 14);
    EXPECT_EQ(shown.AxisStretches(), std::vector<Stretch>({ { 11, 14 } }));
    // The labels' places 0 to 2 would throw "at least 0" always, as 1d4+10 does.
    shown.SetTarget({ 0, View::AtLeast });
    EXPECT_EQ(shown.LikeliestToReach().rolls, std::vector<std::size_t>({ 1 }));
    EXPECT_EQ(shown.IndexOf(0), std::nullopt);

    shown.SetRolls({ { 0, Moves() } });
    EXPECT_EQ(shown.TotalsShown(), 0U);
    EXPECT_LT(shown.Highest(), shown.Lowest());
    EXPECT_TRUE(shown.LikeliestToReach().rolls.empty());
}

TEST(CompareLikeliestTest, NamesTheBestAndEveryTie)
{
    const struct {
        std::vector<std::string> rolls;
        compare::Target target;
        std::vector<std::size_t> best;
        int part, whole;
    } cases[] = {
        { { "2d20kh1", "1d20+5" }, { 15, View::AtLeast }, { 1 }, 11, 20 },
        { { "2d20kh1", "1d20+5" }, { 1, View::AtMost }, { 0 }, 1, 400 },
        { { "1d6", "2d6kl1", "1d6" }, { 4, View::AtLeast }, { 0, 2 }, 1, 2 },
        { { "2d6kl1", "1d6", "1d6" }, { 4, View::AtLeast }, { 1, 2 }, 1, 2 },
        { { "1d4", "1d4" }, { 9, View::AtLeast }, { 0, 1 }, 0, 1 },
    };
    for (const auto &c : cases) {
        const auto rolls = Plotted(c.rolls);
        const compare::Likeliest best = compare::LikeliestToReach(rolls, c.target);
        EXPECT_EQ(best.rolls, c.best) << c.rolls[0] << " " << c.target.total;
        mpq_class chance(best.part, best.whole);
        chance.canonicalize();
        EXPECT_EQ(chance, mpq_class(c.part, c.whole)) << c.rolls[0] << " " << c.target.total;
    }
}

TEST(CompareAxisTest, CutsTotalsIntoStretches)
{
    const struct {
        std::vector<Stretch> ranges;
        std::vector<Stretch> stretches;
    } cases[] = {
        { { { 101, 106 }, { 1, 4 } }, { { 1, 4 }, { 101, 106 } } },
        { { { 2, 12 }, { 1, 12 } }, { { 1, 12 } } },
        // Touching ranges share a stretch, however unlike.
        { { { 1, 4 }, { 5, 400 } }, { { 1, 400 } } },
        // A gap of a quarter of both together is bridged...
        { { { 1, 6 }, { 10, 15 } }, { { 1, 15 } } },
        // ...one more total is not.
        { { { 1, 6 }, { 11, 16 } }, { { 1, 6 }, { 11, 16 } } },
        // A small gap beside a roll more than eight times as wide is kept.
        { { { 1, 4 }, { 7, 39 } }, { { 1, 4 }, { 7, 39 } } },
        { { { 1, 4 }, { 7, 38 } }, { { 1, 38 } } },
        { { { 1, 4 }, { 50, 60 }, { 3, 8 } }, { { 1, 8 }, { 50, 60 } } },
        // A roll inside another's range leaves the wider one's end.
        { { { 3, 6 }, { 1, 12 } }, { { 1, 12 } } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(compare::Stretches(c.ranges), c.stretches) << c.ranges.size() << " from " << c.ranges[0].lowest;
}

TEST(CompareAxisTest, NarrowStretchKeepsHalfItsFairShare)
{
    const std::vector<Stretch> even { { 1, 4 }, { 11, 16 } };
    EXPECT_EQ(compare::TotalWidths(even, 100), std::vector<double>({ 10, 10 }));
    // 4 totals beside 1000: the narrow one is drawn as 251 totals wide.
    const std::vector<Stretch> apart { { 1, 4 }, { 101, 1100 } };
    const auto widths = compare::TotalWidths(apart, 1251);
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_DOUBLE_EQ(widths[0] * 4, 251);
    EXPECT_DOUBLE_EQ(widths[1] * 1000, 1000);
}

TEST(CompareAxisTest, CursorWalksOverTheBreak)
{
    compare::Comparison shown;
    shown.SetRolls(Plotted({ "1d6+100", "1d4" }));
    EXPECT_EQ(shown.Lowest(), 1);
    EXPECT_EQ(shown.Highest(), 106);
    ASSERT_EQ(shown.AxisStretches().size(), 2u);
    EXPECT_EQ(shown.TotalsShown(), 10u);
    const struct {
        std::int64_t total;
        std::optional<std::size_t> index;
    } cases[] = { { 1, 0 },
        { 4, 3 },
        { 5, std::nullopt },
        { 100, std::nullopt },
        { 101, 4 },
        { 106, 9 },
        { 107, std::nullopt },
        { 0, std::nullopt } };
    for (const auto &c : cases) {
        EXPECT_EQ(shown.IndexOf(c.total), c.index) << c.total;
        if (c.index) {
            EXPECT_EQ(shown.TotalAt(*c.index), c.total);
        }
    }
    EXPECT_EQ(shown.TotalAt(10), std::nullopt);
    shown.SetRolls({});
    EXPECT_LT(shown.Highest(), shown.Lowest());
    EXPECT_EQ(shown.TotalsShown(), 0u);
}

TEST(CompareAxisTest, PlotEndsWhereChancesStopShowingButNotBeforeABoundedRoll)
{
    compare::Comparison shown;
    // 1d4!! throws 17 to 19 with 1/1024 each, a thousandth of its tallest
    // mark of 1/4 or more; 21 to 23 with 1/4096, less.
    shown.SetRolls(Plotted({ "1d4!!" }));
    EXPECT_EQ(shown.PlotEnd(), 19);
    EXPECT_GT(shown.Highest(), 40);
    // The cursor still walks every listed total.
    EXPECT_EQ(shown.TotalAt(shown.TotalsShown() - 1), shown.Highest());
    EXPECT_EQ(shown.PlotStretches(), std::vector<Stretch>({ { 1, 19 } }));
    // A bounded roll is shown to its highest total, however unlikely.
    shown.SetRolls(Plotted({ "1d4!!", "10d6" }));
    EXPECT_EQ(shown.PlotEnd(), 60);
    shown.SetRolls(Plotted({ "1d4!!", "1d6+200" }));
    EXPECT_EQ(shown.PlotStretches(), std::vector<Stretch>({ { 1, 19 }, { 201, 206 } }));
}

} // namespace

bool Same(const dice::Versus &a, const dice::Versus &b)
{
    return a.wins == b.wins && a.ties == b.ties && a.loses == b.loses && a.undecided == b.undecided
        && a.outcomes == b.outcomes;
}

TEST(CompareHeadToHeadTest, CountsNewPairsAndTakesKnownOnesInAnyOrder)
{
    const auto advantage = Counted("2d20kh1");
    const auto plain = Counted("1d20");
    const auto armour = Counted("10+1d6");
    compare::HeadToHead before = compare::FaceOff({ advantage, plain }, nullptr, {});
    // Marked, so that a pair taken from `before` shows where it came from.
    before.cells[1].undecided = 7;
    before.cells[2].undecided = 7;
    const compare::HeadToHead after = compare::FaceOff({ plain, armour, advantage }, &before, {});
    ASSERT_EQ(after.cells.size(), 9U);
    EXPECT_EQ(after.Cell(2, 0).undecided, 7);
    EXPECT_EQ(after.Cell(0, 2).undecided, 7);
    // The pair as it is counted, wins and losses swapped the other way round.
    dice::Versus counted = dice::Against(advantage->distribution, plain->distribution);
    EXPECT_EQ(after.Cell(2, 0).wins, counted.wins);
    EXPECT_EQ(after.Cell(2, 0).loses, counted.loses);
    EXPECT_EQ(after.Cell(0, 2).wins, counted.loses);
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            if ((row == 0 && column == 2) || (row == 2 && column == 0))
                continue;
            EXPECT_TRUE(Same(after.Cell(row, column),
                dice::Against(after.rolls[row]->distribution, after.rolls[column]->distribution)))
                << row << ' ' << column;
        }
    }
    // A result counted again from the same text is another roll to the table.
    const compare::HeadToHead recounted = compare::FaceOff({ Counted("2d20kh1"), plain }, &before, {});
    EXPECT_EQ(recounted.Cell(0, 1).undecided, 0);
}

TEST(CompareHeadToHeadTest, TextQuotesRollsAndIsExact)
{
    // The better of two d2 is 2 in 3 of 4 throws. It beats a second such
    // roll, and 1d4, only with a 2 against a 1: 3 of 16. 1d4 beats it with a 3
    // or 4, or a 2 against a 1: 9 of 16; and another 1d4 in 6 of 16.
    const compare::HeadToHead table = compare::FaceOff({ Counted("{1d2, 1d2}kh1"), Counted("1d4") }, nullptr, {});
    EXPECT_EQ(compare::HeadToHeadText(table, ',', "\r\n"),
        "beats,\"{1d2, 1d2}kh1\",1d4\r\n"
        "\"{1d2, 1d2}kh1\",18.750000000000000,18.750000000000000\r\n"
        "1d4,56.250000000000000,37.500000000000000\r\n");
}
