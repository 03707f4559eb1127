#pragma once

// The exact roll of a question. A let is answered by reading what follows
// 'in' once per throw of what it names (for dice, once per multiset of
// faces), each reading weighed by that throw's weight; every other form is
// counted as a roll from its parts, which are independent.

#include "dice/questions/question.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>

namespace dice::detail
{

// Lists an unbounded answer through `through` at least, as EvaluateRoll does.
Distribution Answer(const Question &question, const dice::StopToken &stop, std::int64_t through);

} // namespace dice::detail
