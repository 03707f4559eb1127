#pragma once

// Where a plot's totals axis ends. An exploding roll is listed until its
// chances fall to about 10^-15, a hundred totals past anything a plot can
// show, and an axis drawn to the end of that listing squeezes every other
// roll into its first fifth. So the axis ends past the last total whose share
// is at least a thousandth of the tallest mark of the plot, and never before
// the highest total of a bounded roll, whose whole range is always in view.
// Each exploding roll is cut where its own chances stop showing, so that one
// far above it, such as 1d6+200, does not drag its listing along.

#include <cstdint>
#include <span>
#include <vector>

namespace compare
{

inline constexpr double kVisibleShare = 1.0 / 1000;

// One roll's chance of throwing each total exactly, from its lowest, in any
// unit the other rolls of the plot share.
struct PlottedShares {
    std::int64_t lowest = 0;
    std::span<const double> exactly;
    bool bounded = true;
};

// The last total each roll shows; the axis ends at the greatest.
std::vector<std::int64_t> LastShown(std::span<const PlottedShares> rolls);

} // namespace compare
