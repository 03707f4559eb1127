#pragma once

// The totals each form of a question can reach, known before any count:
// the reader refuses by them what would take too long or has no highest
// total where one is needed.

#include "dice/questions/question.h"

#include <cstdint>

namespace dice::detail
{

// a * b, or `cap` where that is more; both at least 0.
std::int64_t CappedProduct(std::int64_t a, std::int64_t b, std::int64_t cap);

// The ways to choose k of n, or `cap` where that is more.
std::int64_t CappedBinomial(std::int64_t n, std::int64_t k, std::int64_t cap);

// Sets a Roll's reach from its expression, and its pool shape where it is
// dice that a pool function can read.
void SetRollReach(Form &form);

// Sets the reach of any other form from its operands' reach; throws
// ParseError where a total could pass the limits.
void SetReach(Form &form);

} // namespace dice::detail
