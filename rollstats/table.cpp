#include "rollstats/table.h"

#include "rollstats/rollstats.h"

namespace rollstats
{

bool Table::Empty() const
{
    return counts.empty();
}

std::int32_t Table::FirstTotal() const
{
    return dice + modifier;
}

std::int32_t Table::LastTotal() const
{
    return FirstTotal() + static_cast<std::int32_t>(counts.size()) - 1;
}

std::string Table::Roll() const
{
    std::string roll = std::to_string(dice) + "d" + std::to_string(sides);
    if (modifier > 0)
        roll += "+";
    if (modifier != 0)
        roll += std::to_string(modifier);
    return roll;
}

Table TakeTable(std::int32_t dice)
{
    Table table;
    table.dice = dice;
    table.sides = Sides;
    table.modifier = Modifier;
    const auto entries = static_cast<std::size_t>(dice) * static_cast<std::size_t>(Sides - 1) + 1;
    table.counts.reserve(entries);
    for (std::size_t k = 1; k <= entries; ++k)
        table.counts.push_back(Counts[static_cast<std::int32_t>(k)]);
    table.totalOutcomes = TotalOutcomes;
    return table;
}

double RangeOutcomes(const Table &table, std::size_t first, std::size_t last)
{
    double sum = 0.0;
    for (std::size_t i = first; i <= last; ++i)
        sum = sum + table.counts[i];
    return sum;
}

std::vector<double> OutcomesAtLeast(const Table &table)
{
    const std::size_t n = table.counts.size();
    std::vector<double> outcomes(n);
    // Summed afresh: running down from the top would add in the other order.
    for (std::size_t i = 0; i < n; ++i)
        outcomes[i] = RangeOutcomes(table, i, n - 1);
    return outcomes;
}

std::vector<double> OutcomesAtMost(const Table &table)
{
    std::vector<double> outcomes(table.counts.size());
    double sum = 0.0;
    // A running sum adds in the same order as a fresh one from the first total.
    for (std::size_t i = 0; i < table.counts.size(); ++i) {
        sum = sum + table.counts[i];
        outcomes[i] = sum;
    }
    return outcomes;
}

} // namespace rollstats
