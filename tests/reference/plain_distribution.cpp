#include "tests/reference/plain_distribution.h"

#include "rollstats/rollstats.h"
#include "runtime/checked.h"

namespace reference
{

using namespace rollstats;
using runtime::Add;
using runtime::Mul;
using runtime::Sub;

void BuildDistributionPlain(std::int16_t n)
{
    if (n > 1)
        BuildDistributionPlain(Sub<std::int16_t>(n, 1));
    const std::int16_t s = Sides;

    const std::int32_t u = Counts.Upper();
    Scratch.Resize(1, Add<std::int32_t>(u, Mul<std::int16_t>(2, Sub<std::int16_t>(s, 1))));
    for (std::int32_t i = 1; i <= Scratch.Upper(); ++i)
        Scratch[i] = 0.0;
    for (std::int32_t i = s; i <= Sub<std::int32_t>(Add<std::int32_t>(u, s), 1); ++i)
        Scratch[i] = Counts[i - s + 1];

    const std::int16_t w = Add<std::int16_t>(Mul<std::int16_t>(Sub<std::int16_t>(n, 1), Sub<std::int16_t>(s, 1)), s);
    Counts.Resize(1, w);
    for (std::int32_t a = 1; a <= w; ++a)
        Counts[a] = 0.0;

    // The loop every count is defined by, over raw memory so that the
    // benchmark compares loop orders, not bounds checks. Both arrays start at
    // index 1, hence the offsets.
    double *counts = Counts.Range(1, w).data();
    const double *scratch = Scratch.Range(1, Scratch.Upper()).data();
    const double *weights = FaceWeights.Range(0, s - 1).data();
    for (std::int32_t a = 1; a <= w; ++a) {
        for (std::int32_t j = 0; j <= s - 1; ++j)
            counts[a - 1] = scratch[a + j - 1] * weights[j] + counts[a - 1];
        runtime::Finite(counts[a - 1]);
    }
}

} // namespace reference
