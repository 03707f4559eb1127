#pragma once

// The test programs' model of a pool of dice: every throw counted one at a
// time, with nothing of the engine's.

#include "dice/dice.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace dicetest
{

using Counts = std::map<std::int64_t, mpz_class>;

// Every throw of n dice showing 1 to `sides`, each face moved by `faceShift`
// (-2 for Fudge dice), the highest or lowest `kept` summed, plus `add`.
inline Counts ThrowByThrow(int n, int sides, dice::Pick pick, int kept, int faceShift = 0, int add = 0)
{
    Counts counts;
    std::vector<int> shown(static_cast<std::size_t>(n), 1);
    for (std::size_t i = 0; i < shown.size();) {
        std::vector<int> sorted = shown;
        std::sort(sorted.begin(), sorted.end());
        if (pick == dice::Pick::Highest)
            std::reverse(sorted.begin(), sorted.end());
        int sum = add;
        for (int k = 0; k < kept; ++k)
            sum += sorted[static_cast<std::size_t>(k)] + faceShift;
        ++counts[sum];
        for (i = 0; i < shown.size() && ++shown[i] > sides; ++i)
            shown[i] = 1;
    }
    return counts;
}

// One die's values and their chances, and what each die of a throw shows.
using Die = std::vector<std::pair<std::int64_t, mpq_class>>;
using Throw = std::vector<std::int64_t>;

// The chance of each total that `total` gives, over every throw of the dice.
inline std::map<std::int64_t, mpq_class> EveryThrow(
    const std::vector<Die> &dice, const std::function<std::int64_t(const Throw &)> &total)
{
    std::map<std::int64_t, mpq_class> chances;
    std::vector<std::size_t> at(dice.size(), 0);
    for (;;) {
        Throw shown;
        mpq_class chance = 1;
        for (std::size_t i = 0; i < at.size(); ++i) {
            shown.push_back(dice[i][at[i]].first);
            chance *= dice[i][at[i]].second;
        }
        chances[total(shown)] += chance;
        std::size_t i = 0;
        while (i < at.size() && ++at[i] == dice[i].size())
            at[i++] = 0;
        if (i == at.size())
            return chances;
    }
}

} // namespace dicetest
