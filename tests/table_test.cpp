#include "numtext/table_text.h"
#include "rollstats/rollstats.h"
#include "rollstats/table.h"
#include "tests/reference/exact_counts.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace
{

using reference::Decimal;
using reference::Exact;
using reference::ExactCounts;

rollstats::Table Computed(int dice, int sides, int modifier)
{
    rollstats::Sides = static_cast<std::int16_t>(sides);
    rollstats::Modifier = static_cast<std::int16_t>(modifier);
    rollstats::SeedRollState();
    rollstats::BuildDistribution(static_cast<std::int16_t>(dice));
    rollstats::ComputeTotalOutcomes(dice);
    return rollstats::TakeTable(dice);
}

std::vector<std::string> Split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.emplace_back(text.substr(at, end - at));
        if (end == std::string_view::npos)
            return parts;
        at = end + separator.size();
    }
}

std::string Csv(const rollstats::Table &table)
{
    return numtext::TableText(table.FirstTotal(), table.counts, table.totalOutcomes, ',', "\r\n");
}

TEST(TableTextTest, WritesHandCountedRolls)
{
    EXPECT_EQ(Csv(Computed(1, 2, 0)), "total,outcomes,percent\r\n1,1,50\r\n2,1,50\r\n");
    EXPECT_EQ(Csv(Computed(2, 2, 1)), "total,outcomes,percent\r\n3,1,25\r\n4,2,50\r\n5,1,25\r\n");
    const auto table = Computed(2, 3, -32768);
    EXPECT_EQ(numtext::TableText(table.FirstTotal(), table.counts, table.totalOutcomes, '\t', "\n"),
        "total\toutcomes\tpercent\n-32766\t1\t11.111111111111111\n-32765\t2\t22.222222222222221\n"
        "-32764\t3\t33.333333333333329\n-32763\t2\t22.222222222222221\n-32762\t1\t11.111111111111111\n");
}

// Every count in full and every percent read back to the same double, for
// rolls whose counts are all exact and for rolls with counts past 2^53, where
// the double held is written as the integer it is.
TEST(TableTextTest, WritesEveryCountInFull)
{
    const struct {
        int dice, sides, modifier;
        bool pastExactDoubles;
    } rolls[] = { { 3, 6, 1, false }, { 5, 100, -3, false }, { 10, 100, 0, true }, { 20, 30, 7, true } };
    const Exact exactLimit = Exact { 1 } << 53;
    for (const auto &roll : rolls) {
        const auto table = Computed(roll.dice, roll.sides, roll.modifier);
        const auto exact = ExactCounts(roll.dice, roll.sides);
        const auto lines = Split(Csv(table), "\r\n");
        ASSERT_EQ(lines.size(), exact.size() + 2) << roll.dice << "d" << roll.sides;
        EXPECT_EQ(lines.front(), "total,outcomes,percent");
        EXPECT_EQ(lines.back(), "");
        bool pastLimit = false;
        for (std::size_t i = 0; i < exact.size(); ++i) {
            const auto fields = Split(lines[i + 1], ",");
            ASSERT_EQ(fields.size(), 3u) << lines[i + 1];
            EXPECT_EQ(fields[0], std::to_string(roll.dice + roll.modifier + static_cast<int>(i)));
            if (exact[i] <= exactLimit) {
                EXPECT_EQ(fields[1], Decimal(exact[i])) << lines[i + 1];
            } else {
                pastLimit = true;
                EXPECT_EQ(fields[1], Decimal(static_cast<Exact>(table.counts[i]))) << lines[i + 1];
                // The double is the nearest or next to nearest to the count.
                const Exact held = static_cast<Exact>(table.counts[i]);
                const Exact error = held > exact[i] ? held - exact[i] : exact[i] - held;
                EXPECT_LE(error, exact[i] >> 50) << lines[i + 1];
            }
            double percent = 0.0;
            const auto read = std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), percent);
            EXPECT_EQ(read.ptr, fields[2].data() + fields[2].size()) << lines[i + 1];
            EXPECT_EQ(percent, table.counts[i] / table.totalOutcomes * 100) << lines[i + 1];
        }
        EXPECT_EQ(pastLimit, roll.pastExactDoubles) << roll.dice << "d" << roll.sides;
    }
}

TEST(TableTest, NamesTheRoll)
{
    EXPECT_EQ(Computed(3, 6, 1).Roll(), "3d6+1");
    EXPECT_EQ(Computed(1, 2, 0).Roll(), "1d2");
    EXPECT_EQ(Computed(2, 6, -32768).Roll(), "2d6-32768");
    EXPECT_EQ(Computed(2, 6, -32768).FirstTotal(), -32766);
    EXPECT_EQ(Computed(20, 30, 32767).LastTotal(), 33367);
}

} // namespace
