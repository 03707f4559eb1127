#pragma once

// Each roll of the Compare window against each other, the row's roll first:
// the exact chance that its total is higher, the same, or lower. A roll
// against itself is against a second, independent throw of it.

#include "compare/roll.h"
#include "dice/value/stop.h"
#include "dice/value/versus.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace compare
{

struct HeadToHead {
    std::vector<std::shared_ptr<const RollResult>> rolls;
    // Row by row: rolls[row] against rolls[column] at row * size + column.
    std::vector<dice::Versus> cells;

    const dice::Versus &Cell(std::size_t row, std::size_t column) const
    {
        return cells[row * rolls.size() + column];
    }
};

// Every pair of the rolls. Pairs of rolls that `before` also held, the very
// same results, are taken from it rather than counted again, so an edit to
// one roll counts only its own row and column. A stop request ends it with
// dice::Cancelled.
HeadToHead FaceOff(
    std::vector<std::shared_ptr<const RollResult>> rolls, const HeadToHead *before, const dice::StopToken &stop);

// "beats", then a column per roll headed with its expression; then a row per
// roll, its expression and its chance to beat each column's roll in percent
// to 17 significant digits, as the totals table writes a percent.
std::string HeadToHeadText(const HeadToHead &table, char separator, std::string_view lineEnd);

} // namespace compare
