#pragma once

// The roll of a node: products, divisions, functions and groups of rolls.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>

namespace dice::detail
{

// A node's roll, listed through `through` at least where it reaches, with
// the moments of the whole roll where it has no highest total.
Distribution Value(const Node &node, std::int64_t through, const dice::StopToken &stop);

// The root of an expression, listed as Evaluate lists a sum of terms.
Distribution EvaluateTree(const Node &root, std::int64_t through, const dice::StopToken &stop);

} // namespace dice::detail
