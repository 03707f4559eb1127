#pragma once

#include <cstdint>

namespace reference
{

// The distribution build written out as directly as possible: one multiply-add
// at a time, output entry by output entry, each in the order that defines it.
// The tests compare the fast build against it bit for bit, and the benchmark
// times both. Works on the same roll state as rollstats::BuildDistribution.
void BuildDistributionPlain(std::int16_t n);

} // namespace reference
