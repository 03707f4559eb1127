#include "dice/value/statistics.h"
#include "dice/value/distribution.h"
#include "dice/value/wide.h"

#include <cmath>

namespace dice
{

Statistics Summarize(const Distribution &distribution)
{
    Statistics statistics;
    statistics.lowest = distribution.lowest;
    statistics.highest = distribution.Highest();
    statistics.unbounded = distribution.Unbounded();

    // Moments about the lowest total keep the factors small.
    mpz_class first;
    mpz_class second;
    mpz_class weighted;
    const mpz_class *most = nullptr;
    for (std::size_t i = 0; i < distribution.counts.size(); ++i) {
        const mpz_class &count = distribution.counts[i];
        weighted = count * static_cast<unsigned long>(i);
        first += weighted;
        second += weighted * static_cast<unsigned long>(i);
        if (most == nullptr || count > *most) {
            most = &count;
            statistics.mostLikely.clear();
        }
        if (count == *most)
            statistics.mostLikely.push_back(distribution.lowest + static_cast<std::int64_t>(i));
    }
    mpq_class shift(first, distribution.outcomes);
    shift.canonicalize();
    mpq_class square(second, distribution.outcomes);
    square.canonicalize();
    statistics.mean = shift + mpq_class(Big(distribution.lowest));
    statistics.variance = square - shift * shift;
    if (distribution.moments) {
        // The listed totals leave out the tail: the whole roll's moments come
        // with the distribution, as one value or two ends alike to nine decimals.
        const Moments &moments = *distribution.moments;
        statistics.exact = moments.meanLow == moments.meanHigh && moments.varianceLow == moments.varianceHigh;
        statistics.mean = (moments.meanLow + moments.meanHigh) / 2;
        statistics.variance = (moments.varianceLow + moments.varianceHigh) / 2;
    }
    statistics.standardDeviation = std::sqrt(statistics.variance.get_d());
    return statistics;
}

} // namespace dice
