#pragma once

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>
#include <optional>

namespace dice::detail
{

// Keeps the term's highest or lowest dice of a weighted die, then sums or
// counts them, through `through` at least where the term reaches. Dice that
// explode are weighed total by total unless `graded` is false.
Distribution Keep(
    const Distribution &die, const Term &term, std::int64_t through, const dice::StopToken &stop, bool graded = true);

} // namespace dice::detail
