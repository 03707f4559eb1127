#pragma once

// The dice notation's way in: a roll of the notation alone, or a question
// about rolls, read and counted alike for every caller.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>
#include <string_view>

namespace dice
{

// Throws ParseError for text that is neither.
Expression Parse(std::string_view text);

// Lists totals through `through` at least, where the roll reaches that far:
// --at-least and the like need totals past the listed ones.
Distribution Evaluate(const Expression &expression, dice::StopToken stop = {});
Distribution Evaluate(const Expression &expression, dice::StopToken stop, std::int64_t through);

} // namespace dice
