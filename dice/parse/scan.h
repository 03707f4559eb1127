#pragma once

// Small readings of the notation's text that the notation's reader and the
// questions' reader both make, each from a place `at` that it moves past
// what it reads.

#include "dice/notation/errors.h"
#include "dice/notation/expression.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dice::detail
{

// Past any spaces and tabs; inline, as it is asked between nearly all parts.
inline void SkipSpaces(std::string_view text, std::size_t &at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
}

// A + or - and the spaces after it: -1 for -, else 1, reading nothing
// where neither stands at `at`.
int ReadSign(std::string_view text, std::size_t &at);

// Digits, stopped once they exceed the largest number any part may have;
// ParseError `missing` where no digit stands at `at`.
std::int64_t ReadDigits(std::string_view text, std::size_t &at, ErrorCode missing);

// Past a '*' that joins one more unit to a product; false, with `at`
// left, where the product ends. A '/' is refused unless `divides` (floor,
// ceil and round divide), and so are '^' and '**': totals stay whole.
bool ReadTimes(std::string_view text, std::size_t &at, bool divides);

// How the function `word` (floor, ceil or round) rounds its quotient.
Node::Rounding RoundingOf(std::string_view word);

// Past the '/' of that function's division and any spaces either side;
// ParseError where no '/' stands there.
void ReadDivide(std::string_view text, std::size_t &at, std::string_view word);

// <, <=, >, >=, = or <>; Kind::None, with `at` left, where none stands there.
Compare::Kind ReadOperator(std::string_view text, std::size_t &at);

} // namespace dice::detail
