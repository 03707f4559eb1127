// The modifiers beyond keep and drop against a model that rolls every die
// one way at a time: every face, every chain of explosions to a stated depth
// and every reroll, with exact fractions. The model knows the chance of each
// total below the least total a cut chain had reached; those must agree
// exactly, and the engine's remainder must close the sum.
#include "dice/dice.h"
#include "dice/text/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

struct Outcome {
    std::vector<std::int64_t> dice; // the values keep and count see
    mpq_class chance;
    bool cut = false; // an explosion was left unrolled: the values are lower bounds
};

dice::Compare Or(const dice::Compare &point, std::int64_t value)
{
    return point.kind == dice::Compare::Kind::None ? dice::Compare { dice::Compare::Kind::Equal, value } : point;
}

// Every way one roll and the explosions after it come out, as the rolls'
// values in order, with at most `depth` more rolls.
std::vector<Outcome> Rolls(const dice::Term &t, bool first, int depth)
{
    const std::vector<std::int64_t> faces = t.Faces();
    const std::int64_t top = *std::max_element(faces.begin(), faces.end());
    const dice::Compare explode = Or(t.explodeOn, top);
    std::vector<Outcome> out;
    for (const std::int64_t face : faces) {
        const mpq_class chance(1, static_cast<unsigned long>(faces.size()));
        std::int64_t value = face;
        if (first && t.hasMinimum && value < t.minimum)
            value = t.minimum;
        if (first && t.hasMaximum && value > t.maximum)
            value = t.maximum;
        const std::int64_t checked = value;
        if (!first && t.penetrate)
            --value;
        if (t.explode == dice::Explode::None || !explode.Meets(checked)) {
            out.push_back({ { value }, chance, false });
        } else if (depth == 0) {
            out.push_back({ { value }, chance, true });
        } else {
            for (Outcome rest : Rolls(t, false, depth - 1)) {
                rest.dice.insert(rest.dice.begin(), value);
                rest.chance *= chance;
                out.push_back(rest);
            }
        }
    }
    return out;
}

// Whether every value from v up meets the point alike.
bool Beyond(const dice::Compare &point, std::int64_t v)
{
    return point.kind == dice::Compare::Kind::None || v > point.value;
}

// One die: its rolls, added into one value with !!, then each value rerolled.
std::vector<Outcome> OneDie(const dice::Term &t, int depth)
{
    const std::vector<std::int64_t> faces = t.Faces();
    const dice::Compare point = Or(t.rerollOn, *std::min_element(faces.begin(), faces.end()));
    std::vector<Outcome> out;
    for (Outcome chain : Rolls(t, true, depth)) {
        if (t.explode == dice::Explode::Compound) {
            std::int64_t sum = 0;
            for (const std::int64_t v : chain.dice)
                sum += v;
            chain.dice = { sum };
            // Cut short past every point, a die is rerolled, or counted, as
            // the whole chain would be.
            const bool rerolled = t.reroll != dice::Reroll::None && point.Meets(sum);
            const bool counted = t.success.kind != dice::Compare::Kind::None && t.pick == dice::Pick::All
                && Beyond(t.success, sum) && Beyond(t.failure, sum);
            if (chain.cut && Beyond(point, sum) && (rerolled || counted))
                chain.cut = false;
        }
        std::vector<Outcome> ways { { {}, chain.chance, chain.cut } };
        for (const std::int64_t v : chain.dice) {
            std::vector<std::int64_t> values { v };
            if (t.reroll != dice::Reroll::None && point.Meets(v)) {
                values.clear();
                for (const std::int64_t face : faces) {
                    if (t.reroll == dice::Reroll::Once || !point.Meets(face))
                        values.push_back(face);
                }
            }
            std::vector<Outcome> next;
            for (const Outcome &way : ways) {
                for (const std::int64_t value : values) {
                    Outcome more = way;
                    more.dice.push_back(value);
                    more.chance /= static_cast<unsigned long>(values.size());
                    next.push_back(more);
                }
            }
            ways = next;
        }
        out.insert(out.end(), ways.begin(), ways.end());
    }
    return out;
}

constexpr std::int64_t noCut = std::numeric_limits<std::int64_t>::max();

struct Model {
    std::map<std::int64_t, mpq_class> exact;
    std::int64_t cutLow = noCut;
    mpq_class cutChance;
    mpq_class whole;
};

// Every throw of a term of dice, kept, counted or summed.
Model Enumerate(const dice::Term &t, int depth)
{
    const std::vector<Outcome> die = OneDie(t, depth);
    std::vector<Outcome> throws { { {}, 1, false } };
    for (int i = 0; i < t.dice; ++i) {
        std::vector<Outcome> next;
        for (const Outcome &so : throws) {
            for (const Outcome &one : die) {
                Outcome both = so;
                both.dice.insert(both.dice.end(), one.dice.begin(), one.dice.end());
                both.chance *= one.chance;
                both.cut = both.cut || one.cut;
                next.push_back(both);
            }
        }
        throws = next;
    }
    Model model;
    for (Outcome &each : throws) {
        std::sort(each.dice.begin(), each.dice.end());
        if (t.pick == dice::Pick::Highest)
            std::reverse(each.dice.begin(), each.dice.end());
        const std::size_t kept = t.pick == dice::Pick::All ? each.dice.size() : static_cast<std::size_t>(t.kept);
        std::int64_t total = 0;
        for (std::size_t i = 0; i < kept; ++i) {
            const std::int64_t v = each.dice[i];
            if (t.success.kind == dice::Compare::Kind::None)
                total += v;
            else
                total += (t.success.Meets(v) ? 1 : 0) - (t.failure.Meets(v) ? 1 : 0);
        }
        model.whole += each.chance;
        if (each.cut) {
            // A chain that goes on may still end on a failure.
            const std::int64_t failures = t.failure.kind == dice::Compare::Kind::None ? 0 : t.dice;
            model.cutLow = std::min(model.cutLow, total - failures);
            model.cutChance += each.chance;
        } else
            model.exact[total] += each.chance;
    }
    return model;
}

// The least total of a model, cut chains included.
std::int64_t Least(const Model &model)
{
    return std::min(model.exact.begin()->first, model.cutLow);
}

// Every throw of a sum of terms, each with its sign. A term taken away has
// a highest total, as the parser insists, so none of its chains are cut.
Model Summed(const dice::Expression &expression, int depth)
{
    Model sum;
    sum.exact[0] = 1;
    sum.whole = 1;
    for (const dice::Term &t : expression.terms) {
        Model term;
        if (t.dice == 0) {
            term.exact[t.number] = 1;
            term.whole = 1;
        } else {
            term = Enumerate(t, depth);
        }
        EXPECT_TRUE(t.sign > 0 || term.cutChance == 0);
        Model next;
        next.whole = sum.whole * term.whole;
        next.cutChance = next.whole;
        for (const auto &[x, p] : sum.exact) {
            for (const auto &[y, q] : term.exact) {
                next.exact[x + t.sign * y] += p * q;
                next.cutChance -= p * q;
            }
        }
        const std::int64_t least = t.sign > 0 ? Least(term) : -term.exact.rbegin()->first;
        if (sum.cutLow != noCut)
            next.cutLow = sum.cutLow + least;
        if (term.cutLow != noCut)
            next.cutLow = std::min(next.cutLow, Least(sum) + term.cutLow);
        sum = next;
    }
    return sum;
}

mpq_class Share(const mpz_class &part, const mpz_class &whole)
{
    mpq_class share(part, whole);
    share.canonicalize();
    return share;
}

// The engine against the model, exactly below the first cut total, and its
// listing closed by the remainder and ended by the 10^-15 rule.
void ExpectAgrees(const std::string &text, int depth)
{
    SCOPED_TRACE(text);
    const dice::Expression expression = dice::Parse(text);
    ASSERT_FALSE(expression.tree);
    const Model model = Summed(expression, depth);
    ASSERT_EQ(model.whole, 1);
    const dice::Distribution roll = dice::Evaluate(expression);

    mpz_class listed;
    for (const mpz_class &weight : roll.counts)
        listed += weight;
    EXPECT_EQ(listed + roll.tail, roll.outcomes);
    EXPECT_EQ(roll.Unbounded(), roll.tail != 0);
    if (roll.Unbounded()) {
        EXPECT_LT(Share(roll.tail, roll.outcomes), mpq_class(1, 1000000000000000));
        EXPECT_GE(Share(roll.tail + roll.counts.back(), roll.outcomes), mpq_class(1, 1000000000000000));
    }

    // Where cut chains may end anywhere, a total's chance lies between the
    // model's and the model's with every cut chain added.
    for (const auto &[total, chance] : model.exact) {
        if (total > roll.Highest())
            break;
        const mpq_class got = total < roll.lowest
            ? mpq_class(0)
            : Share(roll.counts[static_cast<std::size_t>(total - roll.lowest)], roll.outcomes);
        EXPECT_GE(got, chance) << "total " << total;
        EXPECT_LE(got, chance + model.cutChance) << "total " << total;
    }

    int compared = 0;
    const std::int64_t below = std::min(model.cutLow, roll.Highest() + 1);
    for (std::int64_t total = std::min(roll.lowest, model.exact.begin()->first); total < below; ++total) {
        const auto found = model.exact.find(total);
        const mpq_class expected = found == model.exact.end() ? mpq_class(0) : found->second;
        const bool listedHere = total >= roll.lowest && total <= roll.Highest();
        const mpq_class got =
            listedHere ? Share(roll.counts[static_cast<std::size_t>(total - roll.lowest)], roll.outcomes) : 0;
        EXPECT_EQ(got, expected) << "total " << total;
        ++compared;
    }
    EXPECT_TRUE(compared > 0 || model.cutLow <= model.exact.begin()->first);
    if (model.cutLow == noCut) {
        EXPECT_FALSE(roll.Unbounded());
    }
}

// The mean and variance of the listed totals alone, the tail left out.
std::pair<mpq_class, mpq_class> ListedMoments(const dice::Distribution &roll)
{
    mpz_class first;
    mpz_class second;
    for (std::size_t i = 0; i < roll.counts.size(); ++i) {
        const mpz_class total = roll.lowest + static_cast<long>(i);
        first += total * roll.counts[i];
        second += total * total * roll.counts[i];
    }
    const mpq_class mean = Share(first, roll.outcomes);
    return { mean, Share(second, roll.outcomes) - mean * mean };
}

} // namespace

TEST(DiceModifiers, ExplosionsMatchEveryChainToADepth)
{
    const std::pair<const char *, int> cases[] = {
        { "1d6!", 6 },
        { "2d4!", 4 },
        { "3d3!", 3 },
        { "1d4!!", 6 },
        { "2d4!!", 4 },
        { "1d6!p", 5 },
        { "2d4!!p", 4 },
        { "1d6!>=5", 4 },
        { "2d4!<2", 4 },
        { "1d6!p<3", 5 },
        { "2d6min2!", 3 },
        { "1d6max5!", 2 },
        { "2d4min4!", 4 },
        { "2d{1,1,2,3}!", 4 },
        { "d{0,1}!=0", 12 },
        { "1d4!p=1", 8 },
        { "2d4!!p>=3", 4 },
        { "2d10!!1min3", 2 },
        // Rerolls that meet the high values of !! dice, whose remainder
        // above the listing meets them too.
        { "1d4!!ro>=4", 6 },
        { "2d4!!ro<>2", 3 },
    };
    for (const auto &[text, depth] : cases)
        ExpectAgrees(text, depth);
}

// A minimum or maximum that moves every face off the explode point leaves
// dice that never explode: they have a highest total, may be multiplied,
// and are counted at once however high their faces lie.
TEST(DiceModifiers, DiceThatNeverExplodeHaveAHighestTotal)
{
    const dice::Distribution far = dice::Evaluate(dice::Parse("4d10!!1min 43100"));
    EXPECT_FALSE(far.Unbounded());
    EXPECT_EQ(far.lowest, 172400);
    EXPECT_EQ(far.counts.size(), 1U);
    const dice::Distribution doubled = dice::Evaluate(dice::Parse("2*1d6max5!"));
    EXPECT_FALSE(doubled.Unbounded());
    EXPECT_EQ(doubled.lowest, 2);
    EXPECT_EQ(doubled.Highest(), 10);
}

TEST(DiceModifiers, RerollsFloorsCeilingsAndFacesMatchEveryThrow)
{
    const char *cases[] = { "2d6ro<3",
        "1d6r=1",
        "2d4r<3",
        "1d6ro=6",
        "2d6r>4",
        "2d6min3",
        "3d4max2",
        "3d4min2max3",
        "d{0,0,1,1,2,3}",
        "3d{1,1,2,3}",
        "2dF.1",
        "3d{-2,0,5}",
        "2dF.2",
        "1d20ro=1",
        "2d{-3,-3,4}ro=-3" };
    for (const char *text : cases)
        ExpectAgrees(text, 0);
}

TEST(DiceModifiers, CountsAndKeepsAmongWeightedDiceMatchEveryThrow)
{
    const std::pair<const char *, int> cases[] = {
        { "3d6>=5", 0 },
        { "4d6>=5f1", 0 },
        { "3d6<3", 0 },
        { "3d6<>4", 0 },
        { "3d6!>=5", 3 },
        { "2d10!=10>=8f1", 3 },
        { "3d6!=6>=5", 3 },
        { "3d4!!=4>=5", 3 },
        { "3d4!!=4>=5f1", 3 },
        { "2d6!r=1", 3 },
        { "2d6!ro<3>=4", 3 },
        { "4d6r=1kh3", 0 },
        { "3d4!!kh2", 3 },
        { "3d4!!kl2", 3 },
        { "5d3!!kh2", 3 },
        { "3d{0,1,1,3}kh2", 0 },
        { "3d{0,1,1,3}kl1", 0 },
        { "4d{-2,0,5}dl3", 0 },
        { "4d4ro<2dl1", 0 },
        { "3d4min2kl1", 0 },
        { "3d6!!kh1>=5", 2 },
        { "3d4!!r<2kh2", 3 },
        { "3dF.1kh2>=0", 0 },
        // Counts whose points every value past a !! die's listing meets.
        { "2d4!!=4<>5", 3 },
        { "3d6!!=6<3f>=6", 3 },
    };
    for (const auto &[text, depth] : cases)
        ExpectAgrees(text, depth);
}

// Faults: a term taken away counted as added, or moved by its lowest face
// the wrong way; weighted terms and ones that explode added short of where
// each is known.
TEST(DiceModifiers, SumsOfModifiedTermsMatchEveryThrow)
{
    const std::pair<const char *, int> cases[] = {
        { "10-2d6ro<3", 0 },
        { "-4d{2,3,4,5}kh3", 0 },
        { "20-3d{1,1,2,3}kl2-2dF.1", 0 },
        { "1d4r1-1d4ro4+2d6min3", 0 },
        { "2d4+1d6!", 6 },
        { "1d6!-1d4ro4+3", 6 },
        { "1d4!!+3d6>=5-2", 5 },
    };
    for (const auto &[text, depth] : cases)
        ExpectAgrees(text, depth);
}

// Fault: modifiers applied in the order written rather than the fixed one.
TEST(DiceModifiers, OrderWrittenDoesNotMatter)
{
    const std::pair<const char *, const char *> cases[] = {
        { "4d6kh3r=1", "4d6r=1kh3" },
        { "3d6>=5!", "3d6!=6>=5" },
        { "2d6r=1min2", "2d6min2r=1" },
        { "8d10>=8!10f1", "8d10!=10>=8f1" },
        { "4d6rokh3", "4d6ro=1kh3" },
        { "4d6sakh3cs=6", "4d6kh3" },
        { "2dF.2", "2dF" },
    };
    for (const auto &[text, same] : cases) {
        const dice::Distribution a = dice::Evaluate(dice::Parse(text));
        const dice::Distribution b = dice::Evaluate(dice::Parse(same));
        EXPECT_EQ(a.lowest, b.lowest) << text;
        EXPECT_EQ(a.counts, b.counts) << text;
        EXPECT_EQ(a.outcomes, b.outcomes) << text;
        EXPECT_EQ(a.tail, b.tail) << text;
    }
}

// Fault: a sum of exploding dice counted wrongly from the one die, past
// where every chain can be rolled out. Dice added one term at a time are
// multiplied out listing by listing; a term of n dice is counted from the
// n-th power of the die's generating function, or where its numbers are too
// large for that (10d6!) by products of the die's listing.
TEST(DiceModifiers, PoolsOfExplodingDiceMatchTheirDiceAddedOneByOne)
{
    const std::pair<const char *, const char *> cases[] = {
        { "3d6!", "1d6!+1d6!+1d6!" },
        { "10d6!", "5d6!+5d6!" },
        { "4d10!!", "1d10!!+1d10!!+2d10!!" },
        { "3d6!=6>=5f1", "1d6!=6>=5f1+1d6!=6>=5f1+1d6!=6>=5f1" },
        { "2d6min2!p", "1d6min2!p+1d6min2!p" },
        { "4d{0,1,1,3}!", "2d{0,1,1,3}!+2d{0,1,1,3}!" },
    };
    for (const auto &[pool, added] : cases) {
        SCOPED_TRACE(pool);
        const dice::Distribution a = dice::Evaluate(dice::Parse(pool));
        const dice::Distribution b = dice::Evaluate(dice::Parse(added));
        EXPECT_EQ(a.lowest, b.lowest);
        EXPECT_EQ(a.counts, b.counts);
        EXPECT_EQ(a.outcomes, b.outcomes);
        EXPECT_EQ(a.tail, b.tail);
        EXPECT_GT(a.counts.size(), 20U);
        const dice::Statistics statistics = dice::Summarize(a);
        EXPECT_TRUE(statistics.exact);
        EXPECT_EQ(statistics.mean, dice::Summarize(b).mean);
    }
}

// Closed forms worked by hand: a die that explodes on its top face m is
// m K + R, K geometric with ratio 1/m and R even on 1 to m - 1.
TEST(DiceModifiers, UnboundedStatisticsAreExactWhereClosed)
{
    const struct {
        const char *text;
        const char *mean;
        const char *variance;
    } cases[] = {
        { "1d6!", "21/5", "266/25" },
        { "1d10!", "55/9", "1540/81" },
        { "2d6!+3", "57/5", "532/25" },
        { "1d6!!", "21/5", "266/25" },
        { "8d10!=10>=8f1", "16/9", "" },
        { "2d6! - 1d4", "59/10", "" },
    };
    for (const auto &[text, mean, variance] : cases) {
        const dice::Statistics statistics = dice::Summarize(dice::Evaluate(dice::Parse(text)));
        EXPECT_TRUE(statistics.unbounded) << text;
        EXPECT_TRUE(statistics.exact) << text;
        EXPECT_EQ(statistics.mean, mpq_class(mean)) << text;
        if (*variance != '\0') {
            EXPECT_EQ(statistics.variance, mpq_class(variance)) << text;
        }
    }
}

// Fault: a closed form that mixes up the first roll with the extra ones, or
// the rolls that stop with those that explode. Where they differ (a floor or
// ceiling on the first roll, penetration, counts with failures, rerolls in
// the chain) the exact moments must agree with those of a listing whose
// leftover is below 10^-40, to far more digits than are printed.
TEST(DiceModifiers, ClosedMomentsAgreeWithAFarListing)
{
    const std::pair<const char *, std::int64_t> cases[] = {
        { "2d6min3!", 360 },
        { "1d6max5!", 330 },
        { "1d6!p", 330 },
        { "2d{0,1,1,3}!", 420 },
        { "3d6!=6>=5f1", 70 },
        { "2d6!r=1", 360 },
        { "1d8!!min4", 400 },
        { "1d6!!r<3", 360 },
    };
    const mpq_class close(1, 1000000000000000000);
    for (const auto &[text, through] : cases) {
        SCOPED_TRACE(text);
        const dice::Expression expression = dice::Parse(text);
        const dice::Statistics statistics = dice::Summarize(dice::Evaluate(expression));
        EXPECT_TRUE(statistics.exact);
        const dice::Distribution far = dice::Evaluate(expression, {}, through);
        ASSERT_LT(Share(far.tail, far.outcomes), mpq_class(1, 1000000000000000000) / 1000000000000000000 / 10000);
        const auto [mean, variance] = ListedMoments(far);
        EXPECT_LT(abs(statistics.mean - mean), close / 1000000) << statistics.mean.get_str();
        EXPECT_LT(abs(statistics.variance - variance), close) << statistics.variance.get_str();
    }
}

// Where no closed form is known, the printed digits must be those of a far
// longer listing, whose leftover is below 10^-40.
TEST(DiceModifiers, BoundedStatisticsOfKeptExplosionsHoldToNineDecimals)
{
    for (const char *text :
        { "3d6!!kh2", "4d4!!kl2", "2d10!!kh1+1d6", "6d10!!kh3", "5d6!!pkh2", "8d4!!dl5", "12d10!!kh4" }) {
        const dice::Expression expression = dice::Parse(text);
        const dice::Statistics statistics = dice::Summarize(dice::Evaluate(expression));
        EXPECT_FALSE(statistics.exact) << text;
        const dice::Distribution far = dice::Evaluate(expression, {}, 500);
        const auto [mean, variance] = ListedMoments(far);
        ASSERT_LT(Share(far.tail, far.outcomes), mpq_class(1, 1000000000) / 1000000000 / 1000000000 / 1000000000);
        EXPECT_EQ(dice::FixedDecimal(statistics.mean, 9), dice::FixedDecimal(mean, 9)) << text;
        EXPECT_EQ(dice::RootDecimal(statistics.variance, 9), dice::RootDecimal(variance, 9)) << text;
    }
}

// Each refused form, with its message and the caret under what it is about.
TEST(DiceModifiers, RefusedFormsSayWhyAndWhere)
{
    std::string hundredOne = "d{1";
    for (int face = 2; face <= 101; ++face) {
        hundredOne += ',';
        hundredOne += static_cast<char>('0' + face % 7);
    }
    hundredOne += "}";
    const std::pair<std::string, const char *> cases[] = {
        { "1d6!>=1", "1d6!>=1: every face explodes: the die would roll forever\n   ^" },
        { "1d6r<7", "1d6r<7: every face is rerolled: the die would roll forever\n   ^" },
        { "d{3,3}!", "d{3,3}!: every face explodes: the die would roll forever\n      ^" },
        { "1d6!!!", "1d6!!!: '!' is given twice: a term takes one of each kind of modifier\n     ^" },
        { "4d6kh3kl1", "4d6kh3kl1: 'kl' is a second keep or drop: a term takes only one\n      ^" },
        { "5d10>=8>=9", "5d10>=8>=9: '>=9' is given twice: a term takes one of each kind of modifier\n       ^" },
        { "2d6r1ro2", "2d6r1ro2: 'ro' is given twice: a term takes one of each kind of modifier\n     ^" },
        { "d{}", "d{}: a die needs at least one face between '{' and '}'\n  ^" },
        { "d{1,}", "d{1,}: unexpected '}': expected a face\n    ^" },
        { "d{1,2", "d{1,2: missing '}' after the faces\n     ^" },
        { "d{1;2}", "d{1;2}: unexpected ';': expected ',' or '}'\n   ^" },
        { "2d6>=", "2d6>=: missing a number to compare with\n     ^" },
        { "8d10>=8f", "8d10>=8f: missing a number to compare with\n        ^" },
        { "4d6f1", "4d6f1: 'f' counts failures after a success count, such as >=8f1\n   ^" },
        { "4d6!kh3",
            "4d6!kh3: keep and drop cannot pick among the extra dice of '!': use '!!' to add them into their die\n"
            "    ^" },
        { "d{-1,0,1}!<0",
            "d{-1,0,1}!<0: an exploding die that takes away from the total would leave it no lowest value\n"
            "         ^" },
        { "3d6!=6>=7f6",
            "3d6!=6>=7f6: an exploding die that takes away from the total would leave it no lowest value\n   ^" },
        { "1d101!", "1d101!: a die that explodes has at most 100 faces\n  ^" },
        { "10-1d6!", "10-1d6!: a roll with no highest total cannot be taken away\n   ^" },
        { "1+100d{-1000000,1000000}", "1+100d{-1000000,1000000}: the totals would span more than 2000000 values\n  ^" },
        { "d{1,1000000}!", "d{1,1000000}!: the totals would span more than 2000000 values\n^" },
        // -1000000 to 1000000 is one value too many, alone or made up by a sum.
        { "d{-1000000,1000000}", "d{-1000000,1000000}: the totals would span more than 2000000 values\n^" },
        { "d{-999999,999999}+d{0,2}",
            "d{-999999,999999}+d{0,2}: the totals would span more than 2000000 values\n                  ^" },
        { "d{1000001}", "d{1000001}: the number is too large: at most 1000000\n  ^" },
        { "2d6!!=6>=200", "2d6!!=6>=200: a die that explodes is counted or rerolled only up to 142\n       ^" },
        { hundredOne, "" },
    };
    for (const auto &[text, shown] : cases) {
        try {
            dice::Parse(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const dice::ParseError &error) {
            if (*shown != '\0') {
                EXPECT_EQ(dice::ErrorText(text, error), shown);
            } else {
                EXPECT_EQ(error.Code(), dice::ErrorCode::TooManyFaces);
                EXPECT_EQ(error.Position(), text.rfind(',') + 1);
            }
        }
    }
    for (const char *text : { "d{-999999,1000000}", "d{-999999,999999}+d{0,1}" })
        EXPECT_NO_THROW(dice::Parse(text)) << text << " spans exactly 2000000 values";
    EXPECT_NO_THROW(dice::Parse("2d6!!=6>=142")) << "142 is as far as a compare point of 2d6!! may lie";
    // Built by hand past the parser, a die that would explode forever is
    // refused by the count rather than counted without end.
    dice::Expression forever;
    forever.terms.resize(1);
    forever.terms[0].dice = 1;
    forever.terms[0].sides = 6;
    forever.terms[0].kept = 1;
    forever.terms[0].explode = dice::Explode::Each;
    forever.terms[0].explodeOn = { dice::Compare::Kind::Greater, 0 };
    EXPECT_THROW(dice::Evaluate(forever), std::invalid_argument);
}

// Forms that may be refused but are counted exactly: an explosion that can
// add nothing ends with certainty all the same.
TEST(DiceModifiers, ExplosionsThatMayAddNothingEndExactly)
{
    const dice::Distribution zero = dice::Evaluate(dice::Parse("d{0,1}!=0"));
    EXPECT_EQ(zero.lowest, 1);
    EXPECT_EQ(zero.counts, std::vector<mpz_class> { 1 });
    EXPECT_EQ(zero.outcomes, 1);
    EXPECT_FALSE(zero.Unbounded());
    // A first roll of 1 or 2 goes on, an extra 1 adds 0 and goes on, an
    // extra 3 adds 2 and stops: 3 is a first 3, or a first 1, any number of
    // 1s and a 3: 1/6 + 1/6 * (1/6) / (1 - 1/6) = 1/6 + 1/30.
    const dice::Distribution penetrating = dice::Evaluate(dice::Parse("1d6!p<3"));
    EXPECT_EQ(penetrating.lowest, 3);
    EXPECT_EQ(Share(penetrating.counts[0], penetrating.outcomes), mpq_class(1, 6) + mpq_class(1, 30));
}
