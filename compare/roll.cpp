#include "compare/roll.h"

#include "dice/notation/expression.h"
#include "dice/questions/questions.h"
#include "dice/text/text.h"
#include "dice/value/distribution.h"
#include "dice/value/statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace compare
{

double Share(const mpz_class &part, const mpz_class &whole)
{
    if (sgn(whole) == 0)
        return 0.0;
    long partExponent = 0;
    long wholeExponent = 0;
    const double a = mpz_get_d_2exp(&partExponent, part.get_mpz_t());
    const double b = mpz_get_d_2exp(&wholeExponent, whole.get_mpz_t());
    return std::ldexp(a / b, static_cast<int>(partExponent - wholeExponent));
}

mpz_class TargetOutcomes(const dice::Distribution &distribution, const Target &target)
{
    std::int64_t first = target.total;
    std::int64_t last = target.total;
    // An unbounded roll's remainder lies above its listing, so at least a
    // total takes it in; past the listing the remainder is under 10^-15, too
    // little to move the nine decimals shown whether it is counted or not.
    if (target.sense == View::AtLeast)
        last = std::numeric_limits<std::int64_t>::max();
    else if (target.sense == View::AtMost)
        first = std::min(target.total, distribution.lowest);
    return dice::RangeOutcomes(distribution, first, last);
}

std::array<std::vector<double>, 3> Percents(const dice::Distribution &distribution)
{
    std::array<std::vector<double>, 3> percents;
    const auto &counts = distribution.counts;
    const mpz_class &whole = distribution.outcomes;
    const std::size_t size = counts.size();
    auto &[exactly, atLeast, atMost] = percents;
    exactly.resize(size);
    atLeast.resize(size);
    atMost.resize(size);
    mpz_class sum;
    for (std::size_t i = 0; i < size; ++i) {
        exactly[i] = Share(counts[i], whole) * 100;
        sum += counts[i];
        atMost[i] = Share(sum, whole) * 100;
    }
    sum = distribution.tail;
    for (std::size_t i = size; i-- > 0;) {
        sum += counts[i];
        atLeast[i] = Share(sum, whole) * 100;
    }
    return percents;
}

bool RollResult::Labelled() const
{
    return distribution.Labelled();
}

RollResult CountRoll(const std::string &text, const dice::Expression &expression, dice::StopToken stop)
{
    RollResult result = ReadRoll(text, dice::Evaluate(expression, stop));
    if (stop.stop_requested())
        throw dice::Cancelled();
    return result;
}

RollResult ReadRoll(std::string text, dice::Distribution distribution)
{
    RollResult result;
    result.expression = std::move(text);
    result.distribution = std::move(distribution);
    if (result.Labelled()) {
        // The labels' places in their list are no totals: a mean or a
        // chance of "at least" over them would mean nothing.
        result.percents[static_cast<std::size_t>(View::Exactly)] = Percents(result.distribution)[0];
        return result;
    }
    result.statistics = dice::Summarize(result.distribution);
    result.percents = Percents(result.distribution);
    return result;
}

std::string LabelShares(const dice::Distribution &distribution, int decimals)
{
    std::string text;
    for (std::size_t i = 0; i < distribution.labels.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += distribution.labels[i] + ' '
            + dice::FixedPercent(distribution.counts[i], distribution.outcomes, decimals) + '%';
    }
    return text;
}

std::string WithoutTrailingZeros(std::string decimal)
{
    if (decimal.find('.') == std::string::npos)
        return decimal;
    while (decimal.ends_with('0'))
        decimal.pop_back();
    if (decimal.ends_with('.'))
        decimal.pop_back();
    return decimal;
}

std::array<std::string, 6> StatisticsRow(const RollResult &roll, const Target &target)
{
    const dice::Statistics &statistics = roll.statistics;
    return { roll.expression,
        std::to_string(statistics.lowest),
        statistics.unbounded ? std::string("unbounded") : std::to_string(statistics.highest),
        WithoutTrailingZeros(dice::FixedDecimal(statistics.mean, 4)),
        WithoutTrailingZeros(dice::RootDecimal(statistics.variance, 4)),
        dice::TablePercent(TargetOutcomes(roll.distribution, target), roll.distribution.outcomes) };
}

} // namespace compare
