#include "dice/pools/fold.h"
#include "dice/pools/rules.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <limits>

namespace dice::pools
{

namespace
{

using detail::Layout;

template <class Rule>
std::vector<mpz_class> Folded(
    const Layout &layout, const Rule &rule, bool rising, int slots, const dice::StopToken &stop)
{
    const auto size = static_cast<std::size_t>(slots);
    if (!detail::FitsWide(layout.denominator))
        return detail::Fold<mpz_class>(layout, rule, rising, size, stop);
    std::vector<mpz_class> weights;
    for (const detail::Wide weight : detail::Fold<detail::Wide>(layout, rule, rising, size, stop))
        weights.push_back(detail::ToMpz(weight));
    return weights;
}

// The roll whose result `value(slot)` has the slot's weight; values rise with slots.
template <class Value>
Distribution Listed(const std::vector<mpz_class> &weights, Value value, const mpz_class &outcomes)
{
    Distribution roll;
    roll.outcomes = outcomes;
    std::size_t first = 0;
    while (first < weights.size() && weights[first] == 0)
        ++first;
    std::size_t end = weights.size();
    while (end > first && weights[end - 1] == 0)
        --end;
    if (first == end)
        return roll;
    roll.lowest = value(first);
    roll.counts.resize(static_cast<std::size_t>(value(end - 1) - roll.lowest + 1));
    for (std::size_t slot = first; slot < end; ++slot)
        roll.counts[static_cast<std::size_t>(value(slot) - roll.lowest)] = weights[slot];
    return roll;
}

// A die meets the point or not, whatever the others show: each kind's count
// of dice that meet it is binomial, and the kinds' counts add.
Distribution Matching(const Pool &pool, const Compare &point, const dice::StopToken &stop)
{
    Distribution sum = dice::detail::Point(0);
    for (const Kind &kind : detail::MergedKinds(pool)) {
        mpz_class meet;
        mpz_class miss;
        for (std::size_t i = 0; i < kind.faces.size(); ++i)
            (point.Meets(kind.faces[i]) ? meet : miss) += kind.weights[i];
        Distribution one;
        one.outcomes = dice::detail::PowerOf(meet + miss, kind.count);
        for (int k = 0; k <= kind.count; ++k) {
            one.counts.push_back(dice::detail::Binomial(kind.count, k) * dice::detail::PowerOf(meet, k)
                * dice::detail::PowerOf(miss, kind.count - k));
        }
        sum = dice::detail::SumOfRolls(sum, one, std::numeric_limits<std::int64_t>::max(), stop);
    }
    dice::detail::Trim(sum);
    return sum;
}

} // namespace

Distribution Read(const Pool &pool, const Reading &reading, const dice::StopToken &stop)
{
    using Function = Reading::Function;
    if (reading.function == Function::Count)
        return Matching(pool, reading.point, stop);
    const Layout layout = detail::LayOut(pool);
    const int dice = layout.dice;
    if (dice == 0)
        return dice::detail::Point(0);
    const auto number = [](std::size_t slot) { return static_cast<std::int64_t>(slot); };
    if (reading.function == Function::LargestCount)
        return Listed(Folded(layout, detail::MostAlike { dice }, true, dice + 1, stop), number, layout.denominator);
    if (reading.function == Function::Sets) {
        const detail::SetsOf rule { dice, reading.k };
        return Listed(Folded(layout, rule, true, rule.States(), stop), number, layout.denominator);
    }
    if (reading.function == Function::LargestStraight) {
        const int most = std::min(dice, static_cast<int>(layout.faces.size()));
        return Listed(Folded(layout, detail::LongestRun { most }, true, most + 1, stop), number, layout.denominator);
    }
    // A position, counted from the nearer end so that the count stops sooner.
    const int k = reading.function == Function::Highest ? 1 : reading.function == Function::Lowest ? dice : reading.k;
    const int fromLowest = dice - k + 1;
    const bool rising = fromLowest < k;
    const detail::KthFromEnd rule { dice, rising ? fromLowest : k };
    const auto face = [&](std::size_t slot) { return layout.faces[slot]; };
    return Listed(Folded(layout, rule, rising, static_cast<int>(layout.faces.size()), stop), face, layout.denominator);
}

} // namespace dice::pools
