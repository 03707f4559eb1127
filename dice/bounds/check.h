#pragma once

// The rules of the notation, checked again on an expression built by hand.

#include "dice/notation/expression.h"

namespace dice
{

// Throws std::invalid_argument for an expression the parser would never give,
// such as a term that keeps more dice than it has. Evaluate checks first.
void CheckExpression(const Expression &expression);

} // namespace dice
