#pragma once

#include <cstddef>

namespace rollstats
{

// out[a] = in[a] * weights[0] + in[a + 1] * weights[1] + ... for a below count,
// each sum accumulated from 0.0 with the weight index ascending, so every entry
// is rounded exactly as a plain double loop would round it. Reads in[0] up to
// in[count + taps - 2].
void Convolve(const double *in, const double *weights, std::size_t taps, double *out, std::size_t count);

} // namespace rollstats
