#include "compare/head_to_head.h"

#include "dice/text/text.h"
#include "dice/value/distribution.h"

#include <optional>
#include <utility>

namespace compare
{

namespace
{

dice::Versus Reversed(const dice::Versus &versus)
{
    dice::Versus reversed = versus;
    std::swap(reversed.wins, reversed.loses);
    return reversed;
}

// Where `before` has the pair of these very results, its index.
std::optional<std::size_t> Known(const HeadToHead *before, const RollResult *row, const RollResult *column)
{
    if (!before)
        return std::nullopt;
    std::optional<std::size_t> rowAt;
    std::optional<std::size_t> columnAt;
    for (std::size_t i = 0; i < before->rolls.size(); ++i) {
        if (before->rolls[i].get() == row)
            rowAt = i;
        if (before->rolls[i].get() == column)
            columnAt = i;
    }
    if (!rowAt || !columnAt)
        return std::nullopt;
    return *rowAt * before->rolls.size() + *columnAt;
}

} // namespace

HeadToHead FaceOff(
    std::vector<std::shared_ptr<const RollResult>> rolls, const HeadToHead *before, const dice::StopToken &stop)
{
    HeadToHead table;
    table.rolls = std::move(rolls);
    const std::size_t size = table.rolls.size();
    table.cells.resize(size * size);
    for (std::size_t row = 0; row < size; ++row) {
        for (std::size_t column = row; column < size; ++column) {
            const RollResult &first = *table.rolls[row];
            const RollResult &second = *table.rolls[column];
            if (const auto known = Known(before, &first, &second)) {
                table.cells[row * size + column] = before->cells[*known];
            } else {
                if (stop.stop_requested())
                    throw dice::Cancelled();
                table.cells[row * size + column] = dice::Against(first.distribution, second.distribution);
            }
            table.cells[column * size + row] = Reversed(table.cells[row * size + column]);
        }
    }
    return table;
}

std::string HeadToHeadText(const HeadToHead &table, char separator, std::string_view lineEnd)
{
    std::string text = "beats";
    for (const auto &roll : table.rolls)
        text += separator + dice::TableField(roll->expression, separator);
    text += lineEnd;
    for (std::size_t row = 0; row < table.rolls.size(); ++row) {
        text += dice::TableField(table.rolls[row]->expression, separator);
        for (std::size_t column = 0; column < table.rolls.size(); ++column) {
            const dice::Versus &versus = table.Cell(row, column);
            text += separator + dice::SignificantPercent(versus.wins, versus.outcomes, 17);
        }
        text += lineEnd;
    }
    return text;
}

} // namespace compare
