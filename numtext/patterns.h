#pragma once

// Writing numbers as text. FormatPattern renders a value through a numeric
// picture such as "P(####0) = " or "##0.000000000%": "#" is an optional digit,
// "0" a required one, "." the decimal point, "%" scales by 100 and shows
// itself, anything else is shown as it stands. Integer digits are never cut.

#include <cstdint>
#include <string>
#include <string_view>

namespace numtext
{

std::string FormatPattern(double value, std::string_view pattern);

// Plain decimal digits with a leading "-" for negative values.
std::string IntegerText(std::int32_t value);

// At most 15 significant digits, no trailing zeros; exponent form far from 1.
std::string GeneralNumberText(double value);

// A share of outcomes, outcomes / total, through a pattern, and as general
// number text of its percentage. While both counts are whole numbers below
// 2^53 they are exact, and the text rounds the exact fraction, so an exact
// half such as 5335 of 10000 at one decimal rounds as any other half does;
// beyond that the text rounds the quotient in doubles.
std::string FormatShare(double outcomes, double total, std::string_view pattern);
std::string GeneralPercentText(double outcomes, double total);

} // namespace numtext
