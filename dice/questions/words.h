#pragma once

// The words of questions about rolls: keywords, pool functions, and what
// a name may be.

#include "dice/parse/hints.h"
#include "dice/pools/pool.h"

#include <optional>
#include <string_view>

namespace dice::detail
{

bool IsWordCharacter(char c); // a letter of either case, a digit or _

bool IsKeyword(std::string_view word); // lower case
std::optional<pools::Reading::Function> PoolFunction(std::string_view word); // lower case
bool IsRollFunction(std::string_view word); // floor, ceil, round, abs, max, min

// Why a word cannot be a name, as ReservedName numbers it, or none.
std::optional<int> ReservedBecause(std::string_view word); // lower case

// Whether the text asks a question of its rolls rather than names one roll:
// a keyword, a label, a pool function or Nd( anywhere outside a label.
bool AsksQuestion(std::string_view text);

} // namespace dice::detail
