#pragma once

// What the command line writes of rolls already counted, in each of its
// forms, apart from reading the arguments and counting: a Distribution from
// anywhere is written as the program writes it.

#include "dice/dice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli
{

enum class Layout { Blocks, Csv, Tsv, Json };

struct Request {
    Layout layout = Layout::Blocks;
    std::optional<std::int64_t> first; // the chance of a range alone, when set
    std::optional<std::int64_t> last;
    std::string range; // the option that asked for the range, as given
    bool versus = false;
    std::vector<std::string> expressions;
};

// An expression as the progress line names it: short enough for one line.
std::string Shortened(const std::string &expression);

// The labels of a roll of labels that have its largest weight, in the
// order the roll lists them.
std::vector<std::string> MostLikelyLabels(const dice::Distribution &roll);

// Why the request cannot be answered for these rolls, where it cannot. A
// roll of labels has no order among its results, so no range of them and no
// higher or lower than another roll's; nor do labels and totals share the
// rows of one table. `labelled` says of each of the request's rolls, or of
// the first of them read so far, whether it gives labels.
std::optional<std::string> Refusal(const Request &request, const std::vector<bool> &labelled);

// How far an unbounded roll must be listed past its last listed total for
// the request, if at all. A table of several rolls, and rolls set against
// each other, list each as far as the farthest; a chance of a range needs
// every total up to it, except where the remainder, at its least and its
// most, rounds to the same nine decimals.
std::optional<std::int64_t> Through(
    const Request &request, const std::vector<dice::Distribution> &rolls, std::size_t i);

// How far past its last listed total an unbounded roll may be listed. Each
// total further costs more than the last, as its weight's denominator grows:
// as far as the parser lets a roll be listed past its end, or as far again
// as the roll already spans.
std::int64_t Reach(const dice::Distribution &roll);

// The whole output for the rolls of the request's expressions, in their
// order; notes[i] is what the heading of rolls[i] adds, if anything.
std::string Output(
    const Request &request, const std::vector<dice::Distribution> &rolls, const std::vector<std::string> &notes);

} // namespace cli
