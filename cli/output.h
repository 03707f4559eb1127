#pragma once

// What the command line writes of rolls already counted, in each of its
// forms, apart from reading the arguments and counting, so that rolls built
// by hand can be written as the program writes them.

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
    bool versus = false;
    std::vector<std::string> expressions;
};

// An expression as the progress line names it: short enough for one line.
std::string Shortened(const std::string &expression);

// The whole output for the rolls of the request's expressions, in their
// order; notes[i] is what the heading of rolls[i] adds, if anything.
std::string Output(
    const Request &request, const std::vector<dice::Distribution> &rolls, const std::vector<std::string> &notes);

} // namespace cli
