#pragma once

// What the Compare window shows at one moment: its valid rolls, each with the
// style of its row, the target they are measured against and the view of the
// plot. The window changes it; the plot and the table only read it, so every
// part of the window reads the same target.
//
// The totals axis of the plot is cut into stretches: rolls far apart, such as
// 1d4 and 100d100, each get a stretch of their own with a break between, so
// that neither shrinks to a few pixels. A cursor steps through the totals of
// every stretch in turn, over the breaks. The plot's axis may end before the
// last of them, where an exploding roll's chances stop being visible (see
// plot_end.h); the cursor still reaches every total listed.
//
// Rolls whose results are labels have no place on that axis: they are among
// the rolls, in their rows' order, but the axis, its cursor and the target
// are the totals rolls' alone.

#include "compare/roll.h"
#include "compare/view.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace compare
{

// A roll on the plot and the row whose colour, dash and marker it wears.
struct PlottedRoll {
    std::size_t style = 0;
    std::shared_ptr<const RollResult> roll;
};

// A stretch of the totals axis, both ends included.
struct Stretch {
    std::int64_t lowest = 0;
    std::int64_t highest = 0;

    std::size_t Totals() const;
    bool operator==(const Stretch &) const = default;
};

// The stretches of rolls spanning these ranges of totals, lowest first.
// Overlapping rolls share a stretch; so do neighbours whose gap is small
// beside them, unless one would be squeezed by the other.
std::vector<Stretch> Stretches(std::vector<Stretch> ranges);

// The width of one total in each stretch when together they have room: each
// stretch is as wide as its totals, but no narrower than half its fair share.
std::vector<double> TotalWidths(std::span<const Stretch> stretches, double room);

// The rolls likeliest to throw a target, by exact fractions, so that ties are
// ties and not rounding luck; part of whole is the chance of each. Labelled
// rolls throw no target.
struct Likeliest {
    std::vector<std::size_t> rolls;
    mpz_class part;
    mpz_class whole = 1;
};
Likeliest LikeliestToReach(std::span<const PlottedRoll> rolls, const Target &target);

class Comparison
{
public:
    void SetRolls(std::vector<PlottedRoll> rolls);
    void SetTarget(const compare::Target &target);
    void SetView(View view);

    const std::vector<PlottedRoll> &Rolls() const;
    // How many of the rolls have totals, and how many labels.
    std::size_t TotalsRolls() const;
    std::size_t LabelledRolls() const;
    const compare::Target &Target() const;
    View ViewShown() const;

    // The lowest and highest totals of all the totals rolls; highest is
    // below lowest when there are none.
    std::int64_t Lowest() const;
    std::int64_t Highest() const;
    const std::vector<Stretch> &AxisStretches() const;
    // The last total the plot's axis shows, and the stretches of the plot's
    // axis, which reach on to a cursor past their ends.
    std::int64_t PlotEnd() const;
    std::vector<Stretch> PlotStretches(std::optional<std::int64_t> cursor = std::nullopt) const;

    // Totals on the axis, and a total's place among them, stretch by stretch.
    std::size_t TotalsShown() const;
    std::optional<std::size_t> IndexOf(std::int64_t total) const;
    std::optional<std::int64_t> TotalAt(std::size_t index) const;

    Likeliest LikeliestToReach() const;

private:
    std::vector<PlottedRoll> m_rolls;
    std::size_t m_labelled = 0;
    compare::Target m_target;
    View m_view = View::Exactly;
    std::int64_t m_lowest = 0;
    std::int64_t m_highest = -1;
    std::vector<Stretch> m_stretches;
    std::vector<Stretch> m_ranges;
    std::vector<std::int64_t> m_lastShown;
    std::int64_t m_plotEnd = -1;
};

} // namespace compare
