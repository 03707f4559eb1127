#pragma once

// The statistics of a roll, exact where its listing allows.

#include "dice/value/distribution.h"

#include <gmpxx.h>

#include <cstdint>
#include <vector>

namespace dice
{

struct Statistics {
    std::int64_t lowest = 0;
    std::int64_t highest = 0; // the last listed total when unbounded
    bool unbounded = false;
    bool exact = true; // mean and variance exact; otherwise within rounding to nine decimals
    mpq_class mean;
    mpq_class variance;
    double standardDeviation = 0.0;
    std::vector<std::int64_t> mostLikely; // every tie, lowest first
};

Statistics Summarize(const Distribution &distribution);

} // namespace dice
