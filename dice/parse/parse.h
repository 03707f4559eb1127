#pragma once

// Reads one roll of the dice notation: terms, groups and functions.

#include "dice/notation/expression.h"

#include <string_view>

namespace dice
{

// Throws ParseError for text that is not an expression.
Expression ParseRoll(std::string_view text);

} // namespace dice
