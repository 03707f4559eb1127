#pragma once

// Texts of exact results. Every share is rounded once, from the exact
// fraction of two counts, halves to even, with '.' as the decimal point
// whatever the locale.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dice
{

// The outcomes whose totals lie from first to last, both included; totals
// outside the distribution count nothing. A range that runs to the largest
// int64 takes in an unbounded roll's remainder, which is right where it also
// takes in every total above the listed ones.
mpz_class RangeOutcomes(const Distribution &distribution, std::int64_t first, std::int64_t last);

// part / whole as a percentage with this many decimals, without the sign:
// "16.666666667" for 1 of 6 at nine decimals.
std::string FixedPercent(const mpz_class &part, const mpz_class &whole, int decimals);

// part / whole as the probability table writes a share, to nine decimals with
// its sign: "16.666666667%".
std::string TablePercent(const mpz_class &part, const mpz_class &whole);

// part / whole as a percentage to this many significant digits: "16.666666666666667".
std::string SignificantPercent(const mpz_class &part, const mpz_class &whole, int digits);

// A signed value to this many decimals: "-3.500000000".
std::string FixedDecimal(const mpq_class &value, int decimals);

// The square root of a value that is not negative, to this many decimals.
std::string RootDecimal(const mpq_class &square, int decimals);

// Where the expression's dice explode, in words, where that is more than a
// die's top face: "explodes on 5 or more" for 12d6!>=5, which a player may
// have typed meaning that sixes explode and fives and sixes count. Dice that
// explode at different points are each named. Empty where every die that
// explodes does so on its top face alone.
std::string ExplodeNote(const Expression &expression);

// One column pair of a table of several rolls: the roll's counts, headed
// with its expression as typed.
struct Column {
    std::string heading;
    const Distribution *distribution = nullptr;
};

// A field of a CSV or TSV table, quoted when it holds the separator, a quote
// or a line end.
std::string TableField(const std::string &text, char separator);

// "total", then "outcomes" ("weights" where the roll is weighted) and
// "percent" for each column headed with its heading, then one row per total from the lowest to the highest of all the
// columns; a total a roll cannot reach has 0 outcomes. Outcomes are the exact
// integers in full, percents the exact fraction to 17 significant digits.
// Where a roll is unbounded a last row ">T", T the last total of the table,
// holds each roll's remainder above T; rolls evaluated through the same T
// fill every cell, one listed less far leaves its cells past its listing empty.
std::string RollsTableText(std::span<const Column> columns, char separator, std::string_view lineEnd);

// The same table for rolls whose results are labels: "label" heads the
// first column, and the rows are every column's labels, each once, in the
// order the columns first name them. A label a roll does not name has 0
// outcomes there. Every column must be labelled.
std::string LabelsTableText(std::span<const Column> columns, char separator, std::string_view lineEnd);

// The labels of all the rolls, each once, in the order they first name them.
std::vector<std::string> AllLabels(std::span<const Column> columns);

} // namespace dice
