#include "rollstats/convolve.h"

#include <algorithm>

namespace rollstats
{

namespace
{

// Entries per block: enough independent sums to keep the adders busy, few
// enough that the running sums of a block stay in vector registers.
constexpr std::size_t kBlock = 24;

// The weight loop runs inside a block of outputs rather than the other way
// round: a block's running sums stay in registers while the inputs stream past,
// and the sums of neighbouring outputs go through the vector lanes side by side.
// No sum is reassociated, so the results are bit for bit those of the plain loop.
// A weight of 1.0 leaves every double as it is, so with unit weights the
// multiplications are left out, halving the work.
// Inlined into every target version of Convolve, so it is compiled for each.
template <bool kUnitWeights>
[[gnu::always_inline]] inline void ConvolveBlocks(
    const double *in, const double *weights, std::size_t taps, double *out, std::size_t count)
{
    std::size_t a = 0;
    for (; a + kBlock <= count; a += kBlock) {
        double sums[kBlock] = {};
        for (std::size_t j = 0; j < taps; ++j) {
            const double *window = in + a + j;
            const double weight = weights[j];
            for (std::size_t k = 0; k < kBlock; ++k)
                sums[k] = (kUnitWeights ? window[k] : window[k] * weight) + sums[k];
        }
        std::copy(sums, sums + kBlock, out + a);
    }
    for (; a < count; ++a) {
        double sum = 0.0;
        for (std::size_t j = 0; j < taps; ++j)
            sum = in[a + j] * weights[j] + sum;
        out[a] = sum;
    }
}

} // namespace

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx512f", "avx2", "default")))
#endif
void Convolve(const double *in, const double *weights, std::size_t taps, double *out, std::size_t count)
{
    if (std::all_of(weights, weights + taps, [](double w) { return w == 1.0; }))
        ConvolveBlocks<true>(in, weights, taps, out, count);
    else
        ConvolveBlocks<false>(in, weights, taps, out, count);
}

} // namespace rollstats
