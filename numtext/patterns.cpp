#include "numtext/patterns.h"

#include "runtime/errors.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace numtext
{

namespace
{

// Room for the 309 integer digits of the largest double, sign and point.
constexpr int wholeDigitsRoom = 320;

// The general number text keeps this many significant digits and writes
// decimal exponents from the lowest to the highest below plainly, others in
// exponent form.
constexpr int generalSignificantDigits = 15;
constexpr int generalLowestPlainExponent = -5;
constexpr int generalHighestPlainExponent = generalSignificantDigits - 1;

struct Picture {
    std::string_view before;
    std::string_view after;
    std::size_t minWholeDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool percent = false;
};

Picture ReadPicture(std::string_view pattern)
{
    Picture picture;
    const std::size_t first = pattern.find_first_of("#0");
    if (first == std::string_view::npos) {
        picture.before = pattern;
        return picture;
    }
    const std::size_t last = pattern.find_last_of("#0");
    picture.before = pattern.substr(0, first);
    picture.after = pattern.substr(last + 1);
    picture.percent = pattern.find('%') != std::string_view::npos;
    bool inDecimals = false;
    for (const char c : pattern.substr(first, last - first + 1)) {
        if (c == '.') {
            inDecimals = true;
        } else if (!inDecimals) {
            if (c == '0')
                ++picture.minWholeDigits;
        } else if (c == '0' || c == '#') {
            ++picture.maxDecimals;
            if (c == '0')
                ++picture.minDecimals;
        }
    }
    return picture;
}

// Digits of |value| rounded once, exactly and ties to even, at the given
// decimal place. libstdc++'s fixed to_chars works on the exact binary value.
std::string FixedDigits(double value, int decimals)
{
    std::vector<char> buffer(static_cast<std::size_t>(wholeDigitsRoom + decimals));
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), std::fabs(value), std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string FormatPattern(double value, std::string_view pattern)
{
    if (!std::isfinite(value))
        throw runtime::FloatingPointError("cannot format a value that is not finite");
    const Picture picture = ReadPicture(pattern);
    if (picture.before.size() == pattern.size())
        return std::string(pattern);

    // Scaling by 100 happens on the digits, since multiplying the double
    // would round before the pattern rounds.
    const int shift = picture.percent ? 2 : 0;
    const std::string digits = FixedDigits(value, picture.maxDecimals + shift);
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    whole += fraction.substr(0, static_cast<std::size_t>(shift));
    fraction.erase(0, static_cast<std::size_t>(shift));

    std::size_t leadingZeros = 0;
    while (whole.size() - leadingZeros > picture.minWholeDigits && whole[leadingZeros] == '0')
        ++leadingZeros;
    whole.erase(0, leadingZeros);
    while (fraction.size() > static_cast<std::size_t>(picture.minDecimals) && fraction.back() == '0')
        fraction.pop_back();

    const bool isZero = (whole + fraction).find_first_not_of('0') == std::string::npos;
    std::string text(picture.before);
    if (value < 0 && !isZero)
        text += '-';
    text += whole;
    if (!fraction.empty())
        text += '.' + fraction;
    text += picture.after;
    return text;
}

std::string IntegerText(std::int32_t value)
{
    return std::to_string(value);
}

std::string GeneralNumberText(double value)
{
    if (!std::isfinite(value))
        throw runtime::FloatingPointError("cannot format a value that is not finite");
    if (value == 0.0)
        return "0";

    // One rounding to 15 significant digits, then the decimal exponent of the
    // rounded value chooses the notation.
    char buffer[32];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, value, std::chars_format::scientific, generalSignificantDigits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = scientific.find('e');
    int exponent = 0;
    std::size_t exponentStart = e + 1;
    if (scientific[exponentStart] == '+')
        ++exponentStart;
    std::from_chars(scientific.data() + exponentStart, scientific.data() + scientific.size(), exponent);
    const bool negative = value < 0;
    std::string mantissa(scientific.substr(negative ? 1 : 0, e - (negative ? 1 : 0)));
    mantissa.erase(1, 1);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent >= generalLowestPlainExponent && exponent <= generalHighestPlainExponent) {
        if (exponent < 0) {
            text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
        } else {
            const auto wholeDigits = static_cast<std::size_t>(exponent + 1);
            if (mantissa.size() < wholeDigits)
                mantissa.append(wholeDigits - mantissa.size(), '0');
            text += mantissa.substr(0, wholeDigits);
            if (mantissa.size() > wholeDigits)
                text += '.' + mantissa.substr(wholeDigits);
        }
        return text;
    }
    text += mantissa.substr(0, 1);
    if (mantissa.size() > 1)
        text += '.' + mantissa.substr(1);
    const int magnitude = std::abs(exponent);
    text += exponent < 0 ? "E-" : "E+";
    if (magnitude < 10)
        text += '0';
    return text + std::to_string(magnitude);
}

} // namespace numtext
