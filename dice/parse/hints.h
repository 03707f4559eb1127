#pragma once

// The plain characters of the notation, and what a newcomer types in place
// of it, read for the errors that answer with what to type instead.

#include "dice/notation/expression.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dice::detail
{

// ASCII only: anything else is refused before the notation is read. Both
// readers ask these of nearly every character, so they are inline.
inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool IsLetter(char c) // lower case
{
    return c >= 'a' && c <= 'z';
}

inline char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text without spaces and tabs at either end.
std::string_view Trimmed(std::string_view text);

// The text without any spaces or tabs.
std::string Squeezed(std::string_view text);

// A whole number and nothing else, no larger than a part may be.
std::optional<std::int64_t> Whole(std::string_view text);

// Whether a word sets one roll against another, as "vs".
bool IsVersus(const std::string &word);

// The command line's option that asks for the chance of a total compared
// with `number` so; empty for <>, which no one option asks for.
std::string Threshold(Compare::Kind kind, std::int64_t number);

} // namespace dice::detail
