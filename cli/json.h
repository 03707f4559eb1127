#pragma once

// The command line's JSON documents, for scripts that would rather not parse
// text. Counts are decimal strings, since they run far past the 2^53 that a
// JSON number keeps exactly in most readers; so are percents, which keep the
// 17 significant digits of the CSV text only as long as nobody reads them
// into a double.

#include "dice/dice.h"
#include "dice/versus.h"

#include <span>
#include <string>

namespace cli
{

struct Named {
    std::string expression;
    const dice::Distribution *distribution = nullptr;
};

// {"rolls": [...]}, one object per roll with its totals and statistics.
std::string RollsJson(std::span<const Named> rolls);

struct Pair {
    std::string first;
    std::string second;
    dice::Versus versus;
};

// {"pairs": [...]}, the wins, ties and losses of each pair.
std::string PairsJson(std::span<const Pair> pairs);

} // namespace cli
