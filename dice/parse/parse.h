#pragma once

// Reads the dice notation.

#include "dice/notation/expression.h"

#include <string_view>

namespace dice
{

// Throws ParseError for text that is not an expression.
Expression Parse(std::string_view text);

} // namespace dice
