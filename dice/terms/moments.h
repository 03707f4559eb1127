#pragma once

// Closed moments of terms of exploding dice.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <optional>

namespace dice::detail
{

// The mean and variance of an unbounded term before its sign, tail included,
// where they have a closed form: a sum or count of dice that keeps them all.
std::optional<Moments> TermMoments(const Term &term, const dice::StopToken &stop);

} // namespace dice::detail
