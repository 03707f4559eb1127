#pragma once

// One counted roll of the Compare window and what is read from it: the share
// of each total in percent for the plot, the chance of reaching the target,
// and the figures of its row in the statistics table. Every text is rounded
// once from exact values; the doubles only place points on the plot. A roll
// whose results are labels has no totals to reach or to average: what is read
// from it is the share of each label.

#include "compare/view.h"
#include "dice/dice.h"
#include "dice/value/stop.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace compare
{

// The total the rolls are measured against, and how: at least, at most or
// exactly it.
struct Target {
    std::int64_t total = 15;
    View sense = View::AtLeast;

    bool operator==(const Target &) const = default;
};

struct RollResult {
    // As typed, without the outer spaces.
    std::string expression;
    dice::Distribution distribution;
    dice::Statistics statistics;
    // For each total from the lowest, its chance in percent of being thrown
    // exactly, at least and at most, in the order of View. For a labelled
    // roll only the first is filled: each label's chance, in its order.
    std::array<std::vector<double>, 3> percents;

    bool Labelled() const;
};

// part / whole, also where either is beyond the range of a double.
double Share(const mpz_class &part, const mpz_class &whole);

// The outcomes that throw the target in its sense.
mpz_class TargetOutcomes(const dice::Distribution &distribution, const Target &target);

// Each total's chance in percent, in the order of View.
std::array<std::vector<double>, 3> Percents(const dice::Distribution &distribution);

// Counts one roll; a stop request ends it with dice::Cancelled.
RollResult CountRoll(const std::string &text, const dice::Expression &expression, dice::StopToken stop);

// What is read from a roll already counted.
RollResult ReadRoll(std::string text, dice::Distribution distribution);

// Each label of a labelled roll with its chance in percent to this many
// decimals, in the order the roll names them: "strong hit 27.78%, weak hit
// 44.44%, miss 27.78%".
std::string LabelShares(const dice::Distribution &distribution, int decimals);

// A decimal without its trailing zeros, nor its point when nothing follows
// it: "11.5000" is "11.5", "7.0000" is "7".
std::string WithoutTrailingZeros(std::string decimal);

// The cells of a roll's line in the statistics table: the roll, its lowest
// and highest totals, mean and standard deviation to up to four decimals
// ("11.5", "1.0312", "2.958"), and the chance of the target.
std::array<std::string, 6> StatisticsRow(const RollResult &roll, const Target &target);

} // namespace compare
