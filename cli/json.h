#pragma once

// The command line's JSON documents, for scripts that would rather not parse
// text. Counts are decimal strings, since they run far past the 2^53 that a
// JSON number keeps exactly in most readers; so are percents, which keep the
// 17 significant digits of the CSV text only as long as nobody reads them
// into a double. A roll whose dice explode or reroll names its counts
// "weights": they share a common denominator, but count no throws.

#include "dice/dice.h"
#include "dice/value/versus.h"

#include <cstdint>
#include <optional>
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

// The chance of one range of totals, for each roll.
struct Chance {
    std::string expression;
    const dice::Distribution *distribution = nullptr;
    mpz_class part; // the outcomes, or weights, of the totals in the range
};

// {"range": {"from": ..., "to": ...}, "rolls": [...]}, the chance of totals
// from `first` to `last` for each roll; an end that is not given is null.
std::string ChancesJson(
    std::optional<std::int64_t> first, std::optional<std::int64_t> last, std::span<const Chance> rolls);

struct Pair {
    std::string first;
    std::string second;
    dice::Versus versus;
    bool weighted = false; // either roll weighs its totals unequally
};

// {"pairs": [...]}, the wins, ties and losses of each pair.
std::string PairsJson(std::span<const Pair> pairs);

} // namespace cli
