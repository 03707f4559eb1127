// Pools read by position and by matches against a model that throws every
// die every way, one ordered throw at a time, weighs each throw by the
// product of its faces' weights and reads it with nothing of the engine's.
#include "dice/limits.h"
#include "dice/pools/pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace
{

using dice::pools::Kind;
using dice::pools::Pool;
using dice::pools::Reading;
using Function = Reading::Function;
using Faces = std::vector<std::int64_t>;

// Each multiset shown, faces rising, and the weight of the throws showing it.
using Shown = std::map<Faces, mpz_class>;

Kind Die(int count, Faces faces, std::vector<int> weights = {})
{
    Kind kind { count, faces, {} };
    for (std::size_t i = 0; i < faces.size(); ++i)
        kind.weights.emplace_back(weights.empty() ? 1 : weights[i]);
    return kind;
}

Faces Sides(int sides)
{
    Faces faces;
    for (int face = 1; face <= sides; ++face)
        faces.push_back(face);
    return faces;
}

Shown EveryThrow(const Pool &pool)
{
    std::vector<const Kind *> dice;
    for (const Kind &kind : pool.kinds)
        dice.insert(dice.end(), static_cast<std::size_t>(kind.count), &kind);
    Shown shown;
    std::vector<std::size_t> at(dice.size(), 0);
    for (std::size_t carry = 0; carry < dice.size() || shown.empty();) {
        Faces faces;
        mpz_class weight = 1;
        for (std::size_t i = 0; i < dice.size(); ++i) {
            faces.push_back(dice[i]->faces[at[i]]);
            weight *= dice[i]->weights[at[i]];
        }
        std::sort(faces.begin(), faces.end());
        shown[faces] += weight;
        for (carry = 0; carry < dice.size() && ++at[carry] == dice[carry]->faces.size(); ++carry)
            at[carry] = 0;
    }
    return shown;
}

std::int64_t ModelRead(const Faces &faces, const Reading &reading)
{
    std::map<std::int64_t, int> alike;
    for (const std::int64_t face : faces)
        ++alike[face];
    Faces falling = faces;
    std::sort(falling.begin(), falling.end(), std::greater<>());
    std::int64_t value = 0;
    std::map<std::int64_t, std::int64_t> runTo;
    for (const auto &[face, n] : alike) {
        switch (reading.function) {
        case Function::Count:
            value += reading.point.Meets(face) ? n : 0;
            break;
        case Function::LargestCount:
            value = std::max<std::int64_t>(value, n);
            break;
        case Function::Sets:
            value += n >= reading.k ? 1 : 0;
            break;
        case Function::LargestStraight:
            runTo[face] = runTo.count(face - 1) != 0 ? runTo[face - 1] + 1 : 1;
            value = std::max(value, runTo[face]);
            break;
        default:
            break;
        }
    }
    if (reading.function == Function::Highest)
        return alike.rbegin()->first;
    if (reading.function == Function::Lowest)
        return alike.begin()->first;
    if (reading.function == Function::Nth)
        return falling[static_cast<std::size_t>(reading.k - 1)];
    return value;
}

using Roll = std::map<std::int64_t, mpz_class>;

Roll Model(const Shown &shown, const Reading &reading)
{
    Roll roll;
    for (const auto &[faces, weight] : shown)
        roll[ModelRead(faces, reading)] += weight;
    return roll;
}

// The results of nonzero weight.
Roll Listed(const dice::Distribution &distribution)
{
    Roll roll;
    for (std::size_t i = 0; i < distribution.counts.size(); ++i) {
        if (distribution.counts[i] != 0)
            roll[distribution.lowest + static_cast<std::int64_t>(i)] = distribution.counts[i];
    }
    return roll;
}

std::vector<Reading> Readings(int dice)
{
    using Is = dice::Compare::Kind;
    std::vector<Reading> readings { { Function::Highest, 1, {} },
        { Function::Lowest, 1, {} },
        { Function::LargestCount, 1, {} },
        { Function::LargestStraight, 1, {} },
        { Function::Count, 1, { Is::GreaterEqual, 3 } },
        { Function::Count, 1, { Is::Equal, 0 } },
        { Function::Count, 1, { Is::NotEqual, 1 } } };
    for (int k = 1; k <= dice + 1; ++k) {
        if (k <= dice)
            readings.push_back({ Function::Nth, k, {} });
        readings.push_back({ Function::Sets, k, {} });
    }
    return readings;
}

std::string Name(const Reading &reading)
{
    const char *names[] = { "highest", "lowest", "nth", "count", "largest count", "sets", "largest straight" };
    return std::string(names[static_cast<int>(reading.function)]) + " k=" + std::to_string(reading.k)
        + " point=" + std::to_string(reading.point.value);
}

struct Case {
    std::string name;
    Pool pool;
};

std::vector<Case> Pools()
{
    std::vector<Case> cases;
    for (int n = 1; n <= 5; ++n)
        cases.push_back({ std::to_string(n) + "d6", { { Die(n, Sides(6)) } } });
    cases.push_back({ "4dF", { { Die(4, { -1, 0, 1 }) } } });
    cases.push_back({ "weighted 1 2 3", { { Die(4, { 1, 2, 3 }, { 1, 2, 3 }) } } });
    cases.push_back({ "d{1,3,5,6}", { { Die(4, { 1, 3, 5, 6 }) } } });
    // The totals of 2d6 as one die: unequal weights, eleven faces.
    cases.push_back(
        { "2d6 totals", { { Die(3, { 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 }, { 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1 }) } } });
    cases.push_back({ "d4 and weighted 3-6", { { Die(2, Sides(4)), Die(2, { 3, 4, 5, 6 }, { 1, 1, 2, 3 }) } } });
    // Kinds alike given apart, beside one that shares only some faces.
    cases.push_back({ "d6 d6 d{0,2,4,6} d6",
        { { Die(1, Sides(6)), Die(1, Sides(6)), Die(2, { 0, 2, 4, 6 }), Die(1, Sides(6)) } } });
    // Denominators either side of the 2^127 past which machine integers no
    // longer hold them, and one die's weights past 64 bits.
    Kind heavy = Die(3, { 1, 2, 4 });
    heavy.weights = { mpz_class(1) << 41, mpz_class(3), (mpz_class(1) << 41) - 7 };
    cases.push_back({ "weights near 2^42", { { heavy } } });
    heavy.weights[0] <<= 20;
    cases.push_back({ "weights near 2^62", { { heavy, Die(1, { 2, 3 }, { 1, 5 }) } } });
    heavy.count = 1;
    heavy.weights[2] <<= 60;
    cases.push_back({ "weights past 2^64", { { heavy, Die(1, { 2, 3 }, { 1, 5 }) } } });
    return cases;
}

TEST(DicePools, ReadingsMatchEveryThrow)
{
    for (const Case &c : Pools()) {
        const Shown shown = EveryThrow(c.pool);
        mpz_class total;
        for (const auto &[faces, weight] : shown)
            total += weight;
        ASSERT_EQ(dice::pools::Denominator(c.pool), total) << c.name;
        for (const Reading &reading : Readings(static_cast<int>(shown.begin()->first.size()))) {
            for (const auto &[faces, weight] : shown) {
                EXPECT_EQ(dice::pools::ReadThrow(faces, reading), ModelRead(faces, reading))
                    << c.name << ", " << Name(reading);
            }
            const dice::Distribution roll = dice::pools::Read(c.pool, reading, {});
            const Roll model = Model(shown, reading);
            EXPECT_EQ(Listed(roll), model) << c.name << ", " << Name(reading);
            // Nothing of zero weight at either end.
            EXPECT_EQ(roll.lowest, model.begin()->first) << c.name << ", " << Name(reading);
            EXPECT_EQ(roll.Highest(), model.rbegin()->first) << c.name << ", " << Name(reading);
            EXPECT_EQ(roll.outcomes, total) << c.name << ", " << Name(reading);
            EXPECT_EQ(roll.tail, 0);
            EXPECT_FALSE(roll.weighted);
        }
    }
}

TEST(DicePools, MultisetsMatchEveryThrowAndTheirCount)
{
    for (const Case &c : Pools()) {
        const Shown shown = EveryThrow(c.pool);
        const std::vector<dice::pools::Multiset> listed = dice::pools::Multisets(c.pool, {});
        Shown found;
        mpz_class sum;
        for (const dice::pools::Multiset &multiset : listed) {
            EXPECT_TRUE(std::is_sorted(multiset.faces.begin(), multiset.faces.end())) << c.name;
            found[multiset.faces] += multiset.weight;
            sum += multiset.weight;
        }
        EXPECT_EQ(found.size(), listed.size()) << c.name << ": a multiset listed twice";
        EXPECT_EQ(found, shown) << c.name;
        EXPECT_EQ(sum, dice::pools::Denominator(c.pool)) << c.name;
        const auto count = static_cast<std::int64_t>(listed.size());
        const std::int64_t bound = dice::pools::MultisetCount(c.pool, 1000000);
        if (c.pool.kinds.size() == 1)
            EXPECT_EQ(bound, count) << c.name;
        else
            EXPECT_GE(bound, count) << c.name;
        EXPECT_EQ(dice::pools::MultisetCount(c.pool, count - 1), count - 1) << c.name;
    }
    // One kind's count needs no listing: 100 dice of 6 faces show C(105, 5).
    EXPECT_EQ(dice::pools::MultisetCount({ { Die(100, Sides(6)) } }, 1LL << 40), 96560646);
}

// The most kinds of one die each a pool may have, each unlike the others,
// and one more; kinds alike count once however many are given.
TEST(DicePools, KindsUpToTheLimitOfStates)
{
    Pool pool;
    while ((2LL << pool.kinds.size()) <= dice::maxPoolStates) {
        const auto i = static_cast<std::int64_t>(pool.kinds.size());
        pool.kinds.push_back(Die(1, { i, i + 1 }, { 1, static_cast<int>(i) + 1 }));
    }
    const Shown shown = EveryThrow(pool);
    for (const Reading &reading : { Reading { Function::LargestStraight, 1, {} }, Reading { Function::Nth, 5, {} } })
        EXPECT_EQ(Listed(dice::pools::Read(pool, reading, {})), Model(shown, reading)) << Name(reading);
    Pool alike { { pool.kinds.begin(), pool.kinds.begin() + 10 } };
    alike.kinds.insert(alike.kinds.end(), 3, pool.kinds[0]);
    EXPECT_NO_THROW(dice::pools::Read(alike, { Function::Highest, 1, {} }, {}));
    pool.kinds.push_back(Die(1, { 0, 1 }, { 1, 2 }));
    EXPECT_THROW(dice::pools::Read(pool, { Function::Highest, 1, {} }, {}), std::length_error);
}

TEST(DicePools, CountsStopWhenAsked)
{
    std::stop_source source;
    source.request_stop();
    const Pool pool { { Die(20, Sides(10)) } };
    EXPECT_THROW(dice::pools::Read(pool, { Function::LargestCount, 1, {} }, source.get_token()), dice::Cancelled);
    EXPECT_THROW(dice::pools::Multisets(pool, source.get_token()), dice::Cancelled);
}

} // namespace
