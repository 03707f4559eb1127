#pragma once

// Sums of exploding dice from their chains' generating function.

#include "dice/terms/die.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <optional>

namespace dice::detail
{

// The sum of n dice each of whose chains `parts` describes, listed through
// `through`, counted from their generating function in machine words; empty
// where its numbers might not fit them.
std::optional<Distribution> ChainSum(const ChainParts &parts, int n, std::int64_t through, const dice::StopToken &stop);

} // namespace dice::detail
