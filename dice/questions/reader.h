#pragma once

// Reads a question about rolls: the notation with let, if, labels, Nd(A)
// and pool functions. Each part that asks nothing of the others is read as
// a roll of the notation, with the checks every roll has.

#include "dice/questions/question.h"

#include <string_view>

namespace dice::detail
{

// Throws ParseError for text that is not a question.
Question ReadQuestion(std::string_view text);

} // namespace dice::detail
