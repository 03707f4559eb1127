#include "compare/plot_end.h"

#include <algorithm>

namespace compare
{

std::vector<std::int64_t> LastShown(std::span<const PlottedShares> rolls)
{
    double tallest = 0.0;
    for (const PlottedShares &roll : rolls) {
        for (const double share : roll.exactly)
            tallest = std::max(tallest, share);
    }
    std::vector<std::int64_t> ends;
    for (const PlottedShares &roll : rolls) {
        auto last = static_cast<std::int64_t>(roll.exactly.size()) - 1;
        // A roll with no visible mark at all still shows where it begins.
        while (!roll.bounded && last > 0 && roll.exactly[static_cast<std::size_t>(last)] < tallest * kVisibleShare)
            --last;
        ends.push_back(roll.lowest + std::max<std::int64_t>(last, 0));
    }
    return ends;
}

} // namespace compare
