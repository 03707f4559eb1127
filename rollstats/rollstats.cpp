#include "rollstats/rollstats.h"

#include "rollstats/convolve.h"
#include "runtime/checked.h"

#include <algorithm>
#include <cmath>

namespace rollstats
{

using runtime::Add;
using runtime::Mul;
using runtime::Sub;

std::int16_t Sides = 0;
std::int16_t Modifier = 0;
BoundedArray FaceWeights;
BoundedArray Counts;
BoundedArray Scratch;
double TotalOutcomes = 0.0;

void SeedRollState()
{
    FaceWeights.Resize(0, Sub<std::int16_t>(Sides, 1));
    for (std::int32_t j = 0; j <= FaceWeights.Upper(); ++j)
        FaceWeights[j] = 1.0;
    Counts.Resize(0, 1);
    Counts[1] = 1.0;
}

void BuildDistribution(std::int16_t n)
{
    if (n > 1)
        BuildDistribution(Sub<std::int16_t>(n, 1));

    const std::int16_t s = Sides;
    const std::int16_t facesBelowTop = Sub<std::int16_t>(s, 1);

    // The old counts, with s - 1 zeros on either side. Resize zero-fills.
    const std::int32_t oldUpper = Counts.Upper();
    Scratch.Resize(1, Add<std::int32_t>(oldUpper, Mul<std::int16_t>(2, facesBelowTop)));
    const auto old = Counts.Range(1, oldUpper);
    const auto middle = Scratch.Range(s, Add<std::int32_t>(oldUpper, facesBelowTop));
    std::copy(old.begin(), old.end(), middle.begin());

    const std::int16_t width = Add<std::int16_t>(Mul<std::int16_t>(Sub<std::int16_t>(n, 1), facesBelowTop), s);
    Counts.Resize(1, width);

    // Entry A sums the window Scratch[A .. A + s - 1], weighted by face.
    const auto weights = FaceWeights.Range(0, facesBelowTop);
    const auto windows = Scratch.Range(1, Add<std::int32_t>(width, facesBelowTop));
    const auto sums = Counts.Range(1, width);
    Convolve(windows.data(), weights.data(), weights.size(), sums.data(), sums.size());

    // Every input is finite, so a sum that is not can only come from an
    // operation that was invalid or overflowed.
    if (!std::all_of(sums.begin(), sums.end(), [](double c) { return std::isfinite(c); }))
        throw runtime::FloatingPointError("floating-point error");
}

void ComputeTotalOutcomes(std::int32_t dice)
{
    TotalOutcomes = 1.0;
    for (std::int32_t i = 1; i <= dice; ++i)
        TotalOutcomes = runtime::Finite(static_cast<double>(Sides) * TotalOutcomes);
}

double AverageThrow(std::int32_t dice, std::int16_t sides, std::int16_t modifier)
{
    // Wide enough for any 16-bit number of sides: 32767 * 32768 / 2 < 2^31.
    // The 16-bit counter steps past sides once more, as a counted loop does,
    // so 32767 sides overflow it.
    std::int32_t faceSum = 0;
    for (std::int16_t i = 1; i <= sides; i = Add<std::int16_t>(i, 1))
        faceSum += i;
    return runtime::Finite(runtime::Div(faceSum, sides) * dice + modifier);
}

} // namespace rollstats
