#pragma once

// A computed table kept apart from the roll state, for the views beside the
// window's text: the roll, the outcome count of each total in ascending order
// and the number of outcomes. The roll state changes again on the next
// Compute, even on one that is rejected, so whatever shows a table works on a
// copy taken when the table was written.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rollstats
{

struct Table {
    std::int32_t dice = 0;
    std::int16_t sides = 0;
    std::int16_t modifier = 0;
    // Entry i counts the outcomes of the total FirstTotal() + i.
    std::vector<double> counts;
    double totalOutcomes = 0.0;

    bool Empty() const;
    std::int32_t FirstTotal() const;
    std::int32_t LastTotal() const;
    // "3d6", "3d6+1", "3d6-2".
    std::string Roll() const;
};

// The table the last BuildDistribution and ComputeTotalOutcomes left for
// this many dice.
Table TakeTable(std::int32_t dice);

// The outcomes whose totals lie from entry first to entry last. The counts
// are added in ascending order of totals, as the window adds them for its
// labels, so the sum is theirs to the last bit.
double RangeOutcomes(const Table &table, std::size_t first, std::size_t last);

// The outcomes of rolling each total or more, and each total or less; the
// counts themselves are those of rolling it exactly.
std::vector<double> OutcomesAtLeast(const Table &table);
std::vector<double> OutcomesAtMost(const Table &table);

} // namespace rollstats
