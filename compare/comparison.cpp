#include "compare/comparison.h"

#include "compare/plot_end.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace compare
{

std::size_t Stretch::Totals() const
{
    return static_cast<std::size_t>(highest - lowest + 1);
}

std::vector<Stretch> Stretches(std::vector<Stretch> ranges)
{
    std::sort(ranges.begin(), ranges.end(), [](const Stretch &a, const Stretch &b) {
        return std::pair { a.lowest, a.highest } < std::pair { b.lowest, b.highest };
    });
    std::vector<Stretch> stretches;
    for (const Stretch &range : ranges) {
        if (!stretches.empty()) {
            Stretch &last = stretches.back();
            const std::int64_t gap = range.lowest - last.highest - 1;
            const std::int64_t a = last.highest - last.lowest + 1;
            const std::int64_t b = range.highest - range.lowest + 1;
            if (gap <= 0 || (4 * gap <= a + b && std::max(a, b) <= 8 * std::min(a, b))) {
                last.highest = std::max(last.highest, range.highest);
                continue;
            }
        }
        stretches.push_back(range);
    }
    return stretches;
}

std::vector<double> TotalWidths(std::span<const Stretch> stretches, double room)
{
    double spans = 0.0;
    for (const Stretch &stretch : stretches)
        spans += static_cast<double>(stretch.Totals());
    const double least = spans / (2.0 * static_cast<double>(stretches.size()));
    double weights = 0.0;
    for (const Stretch &stretch : stretches)
        weights += std::max(least, static_cast<double>(stretch.Totals()));
    std::vector<double> widths;
    for (const Stretch &stretch : stretches) {
        const auto totals = static_cast<double>(stretch.Totals());
        widths.push_back(room * std::max(least, totals) / weights / totals);
    }
    return widths;
}

Likeliest LikeliestToReach(std::span<const PlottedRoll> rolls, const Target &target)
{
    Likeliest best;
    for (std::size_t i = 0; i < rolls.size(); ++i) {
        if (rolls[i].roll->Labelled())
            continue;
        const dice::Distribution &distribution = rolls[i].roll->distribution;
        const mpz_class part = TargetOutcomes(distribution, target);
        const int order = cmp(part * best.whole, best.part * distribution.outcomes);
        if (best.rolls.empty() || order > 0) {
            best.rolls.clear();
            best.part = part;
            best.whole = distribution.outcomes;
        }
        if (best.rolls.empty() || order >= 0)
            best.rolls.push_back(i);
    }
    return best;
}

void Comparison::SetRolls(std::vector<PlottedRoll> rolls)
{
    m_rolls = std::move(rolls);
    m_labelled = 0;
    m_lowest = 0;
    m_highest = -1;
    std::vector<Stretch> ranges;
    std::vector<PlottedShares> shares;
    for (const PlottedRoll &plotted : m_rolls) {
        if (plotted.roll->Labelled()) {
            ++m_labelled;
            continue;
        }
        ranges.push_back({ plotted.roll->distribution.lowest, plotted.roll->distribution.Highest() });
        shares.push_back({ plotted.roll->distribution.lowest,
            plotted.roll->percents[static_cast<std::size_t>(View::Exactly)],
            !plotted.roll->statistics.unbounded });
    }
    m_ranges = ranges;
    m_lastShown = LastShown(shares);
    m_plotEnd = m_lastShown.empty() ? -1 : *std::max_element(m_lastShown.begin(), m_lastShown.end());
    if (!ranges.empty()) {
        m_lowest = std::numeric_limits<std::int64_t>::max();
        m_highest = std::numeric_limits<std::int64_t>::min();
        for (const Stretch &range : ranges) {
            m_lowest = std::min(m_lowest, range.lowest);
            m_highest = std::max(m_highest, range.highest);
        }
    }
    m_stretches = Stretches(std::move(ranges));
}

void Comparison::SetTarget(const compare::Target &target)
{
    m_target = target;
}

void Comparison::SetView(View view)
{
    m_view = view;
}

const std::vector<PlottedRoll> &Comparison::Rolls() const
{
    return m_rolls;
}

std::size_t Comparison::TotalsRolls() const
{
    return m_rolls.size() - m_labelled;
}

std::size_t Comparison::LabelledRolls() const
{
    return m_labelled;
}

const Target &Comparison::Target() const
{
    return m_target;
}

View Comparison::ViewShown() const
{
    return m_view;
}

std::int64_t Comparison::Lowest() const
{
    return m_lowest;
}

std::int64_t Comparison::Highest() const
{
    return m_highest;
}

const std::vector<Stretch> &Comparison::AxisStretches() const
{
    return m_stretches;
}

std::int64_t Comparison::PlotEnd() const
{
    return m_plotEnd;
}

std::vector<Stretch> Comparison::PlotStretches(std::optional<std::int64_t> cursor) const
{
    std::vector<Stretch> ranges = m_ranges;
    for (std::size_t i = 0; i < ranges.size(); ++i)
        ranges[i].highest = std::min(ranges[i].highest, std::max(m_lastShown[i], cursor.value_or(m_lastShown[i])));
    return Stretches(std::move(ranges));
}

std::size_t Comparison::TotalsShown() const
{
    std::size_t count = 0;
    for (const Stretch &stretch : m_stretches)
        count += stretch.Totals();
    return count;
}

std::optional<std::size_t> Comparison::IndexOf(std::int64_t total) const
{
    std::size_t before = 0;
    for (const Stretch &stretch : m_stretches) {
        if (total >= stretch.lowest && total <= stretch.highest)
            return before + static_cast<std::size_t>(total - stretch.lowest);
        before += stretch.Totals();
    }
    return std::nullopt;
}

std::optional<std::int64_t> Comparison::TotalAt(std::size_t index) const
{
    for (const Stretch &stretch : m_stretches) {
        if (index < stretch.Totals())
            return stretch.lowest + static_cast<std::int64_t>(index);
        index -= stretch.Totals();
    }
    return std::nullopt;
}

Likeliest Comparison::LikeliestToReach() const
{
    return compare::LikeliestToReach(m_rolls, m_target);
}

} // namespace compare
