#include "numtext/parse.h"

#include "runtime/errors.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace numtext
{

namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t SkipDigits(std::string_view text, std::size_t &pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos - start;
}

// from_chars reports overflow and underflow alike, so the text itself decides:
// the decimal position of its first significant digit, exponent included, is
// positive only for a value too large. Saturating keeps absurd exponents sane.
bool IsTooLarge(std::string_view number)
{
    constexpr long long limit = 1'000'000'000'000LL;
    std::size_t pos = 0;
    while (pos < number.size() && (number[pos] == '0' || number[pos] == '.'))
        ++pos;
    long long magnitude = 0;
    const std::size_t point = number.find('.');
    std::size_t mantissaEnd = number.find_first_of("eE");
    if (mantissaEnd == std::string_view::npos)
        mantissaEnd = number.size();
    const std::size_t intEnd = point < mantissaEnd ? point : mantissaEnd;
    if (pos < intEnd)
        magnitude = static_cast<long long>(intEnd - pos);
    else
        magnitude = -static_cast<long long>(pos - intEnd - 1);

    long long exponent = 0;
    if (mantissaEnd < number.size()) {
        std::size_t e = mantissaEnd + 1;
        const bool negative = number[e] == '-';
        if (number[e] == '+' || number[e] == '-')
            ++e;
        for (; e < number.size() && exponent < limit; ++e)
            exponent = exponent * 10 + (number[e] - '0');
        if (negative)
            exponent = -exponent;
    }
    return magnitude + exponent > 0;
}

// Ties go to the even neighbour. Working on the magnitude keeps a - floor(a)
// exact, so no rounding mode is involved.
double RoundHalfEven(double value)
{
    const double magnitude = std::fabs(value);
    double whole = std::floor(magnitude);
    const double fraction = magnitude - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return std::copysign(whole, value);
}

template <typename Int> Int ToWhole(std::string_view text)
{
    const double rounded = RoundHalfEven(ToDouble(text));
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw runtime::OverflowError("number out of range");
    return static_cast<Int>(rounded);
}

} // namespace

// Accepted, with optional spaces or tabs around it:
//   [+|-] digits [. digits] [(e|E) [+|-] digits]
// with at least one mantissa digit, so "2." and ".5" pass but "." does not.
// Thousands separators, currency signs and hex or octal prefixes are refused
// so that what passes here always converts.
bool IsNumeric(std::string_view text)
{
    const std::string_view s = TrimBlanks(text);
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        ++pos;
    std::size_t digits = SkipDigits(s, pos);
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        digits += SkipDigits(s, pos);
    }
    if (digits == 0)
        return false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
            ++pos;
        if (SkipDigits(s, pos) == 0)
            return false;
    }
    return pos == s.size();
}

double ToDouble(std::string_view text)
{
    if (!IsNumeric(text))
        throw runtime::ConversionError("not a number");
    std::string_view s = TrimBlanks(text);
    const bool negative = s.front() == '-';
    if (s.front() == '+' || s.front() == '-')
        s.remove_prefix(1);

    double value = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (IsTooLarge(s))
            throw runtime::OverflowError("number too large");
        value = 0.0;
    } else if (ec != std::errc() || end != s.data() + s.size()) {
        throw runtime::ConversionError("not a number");
    }
    return negative ? -value : value;
}

std::int32_t ToInt32(std::string_view text)
{
    return ToWhole<std::int32_t>(text);
}

std::int16_t ToInt16(std::string_view text)
{
    return ToWhole<std::int16_t>(text);
}

} // namespace numtext
