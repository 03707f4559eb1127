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

} // namespace numtext
