#pragma once

// The exact roll of one roll of the notation: an expression that asks no
// question of its throws.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>

namespace dice
{

// Lists totals through `through` at least, where the roll reaches that far:
// --at-least and the like need totals past the listed ones.
Distribution EvaluateRoll(const Expression &expression, dice::StopToken stop = {});
Distribution EvaluateRoll(const Expression &expression, dice::StopToken stop, std::int64_t through);

} // namespace dice
