#include "rollstats/outcomes.h"

#include "rollstats/rollstats.h"
#include "runtime/checked.h"

namespace rollstats
{

using runtime::Add;
using runtime::Sub;

std::int32_t CountIndexOfFaceTotal(std::int32_t faceTotal, std::int32_t dice)
{
    return Sub<std::int32_t>(Add<std::int32_t>(faceTotal, 1), dice);
}

double OutcomesOfFaceTotal(std::int32_t faceTotal, std::int32_t dice)
{
    return Counts[CountIndexOfFaceTotal(faceTotal, dice)];
}

std::int16_t LastItem()
{
    return runtime::Narrow<std::int16_t>(Sub<std::int32_t>(Counts.Upper(), 1));
}

double OutcomesFromItemToItem(std::int16_t first, std::int16_t last)
{
    double sum = 0.0;
    for (std::int16_t item = first; item <= last; item = Add<std::int16_t>(item, 1))
        sum = runtime::Finite(sum + Counts[item + 1]);
    return sum;
}

} // namespace rollstats
