#pragma once

// Plain dice, counted throw by throw, with their keeps and drops.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstddef>
#include <vector>

namespace dice::detail
{

// Numbers and dice of equal faces with nothing but keep or drop, counted
// throw by throw: weights are numbers of equally likely outcomes.
Distribution CountPlain(const std::vector<Term> &terms, const dice::StopToken &stop);

// The first `totals` totals of one such term that keeps the highest of its
// dice, counted as CountPlain counts them; the rest are left out, not tail.
Distribution FirstKept(const Term &term, std::size_t totals, const dice::StopToken &stop);

} // namespace dice::detail
