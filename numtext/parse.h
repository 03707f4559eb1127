#pragma once

// Reading numbers from the text of the input fields. IsNumeric decides whether
// a text is a number at all; the conversions then read it, rounding to the
// nearest whole number with halves going to the even one, and throw
// runtime::OverflowError when the value lies outside the target range, or
// runtime::ConversionError when a text is not a number. Decimal point is "."
// whatever the user's locale.

#include <cstdint>
#include <string_view>

namespace numtext
{

bool IsNumeric(std::string_view text);

std::int32_t ToInt32(std::string_view text);
std::int16_t ToInt16(std::string_view text);
double ToDouble(std::string_view text);

} // namespace numtext
