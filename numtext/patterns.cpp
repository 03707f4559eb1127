#include "numtext/patterns.h"

#include "runtime/checked.h"
#include "runtime/errors.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>
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

int Shift(const Picture &picture)
{
    return picture.percent ? 2 : 0;
}

// Lays out digits of |value| rounded at the picture's last decimal, "12.345"
// for a percentage with one decimal, in the picture.
std::string Render(const Picture &picture, const std::string &digits, bool negative)
{
    // Scaling by 100 happens on the digits, since multiplying the double
    // would round before the pattern rounds.
    const int shift = Shift(picture);
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
    if (negative && !isZero)
        text += '-';
    text += whole;
    if (!fraction.empty())
        text += '.' + fraction;
    text += picture.after;
    return text;
}

// Significant digits and the decimal exponent of the first, as general
// number text writes them.
std::string GeneralText(bool negative, std::string mantissa, int exponent)
{
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

__extension__ typedef unsigned __int128 Exact;

// Counts of outcomes are whole doubles; below 2^53 each is exact.
bool IsExactCount(double count)
{
    return count >= 0 && count < 0x1p53 && count == std::floor(count);
}

Exact ToExact(double count)
{
    return static_cast<Exact>(static_cast<std::uint64_t>(count));
}

// More decimals than this could overflow 128 bits below.
constexpr int maxExactDecimals = 20;

struct Fraction {
    Exact numerator;
    Exact denominator;

    // The fraction times 10^decimals: its whole part and the rest over the
    // denominator, by long division.
    std::pair<Exact, Exact> Scaled(int decimals) const
    {
        Exact whole = numerator / denominator;
        Exact rest = numerator % denominator;
        for (int i = 0; i < decimals; ++i) {
            rest *= 10;
            whole = whole * 10 + rest / denominator;
            rest %= denominator;
        }
        return { whole, rest };
    }
};

Exact RoundedHalfToEven(Exact whole, Exact rest, Exact denominator)
{
    const Exact twice = 2 * rest;
    return whole + (twice > denominator || (twice == denominator && whole % 2 == 1) ? 1 : 0);
}

std::string Digits(Exact value)
{
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return text;
}

} // namespace

std::string FormatPattern(double value, std::string_view pattern)
{
    if (!std::isfinite(value))
        throw runtime::FloatingPointError("cannot format a value that is not finite");
    const Picture picture = ReadPicture(pattern);
    if (picture.before.size() == pattern.size())
        return std::string(pattern);
    return Render(picture, FixedDigits(value, picture.maxDecimals + Shift(picture)), value < 0);
}

std::string FormatShare(double outcomes, double total, std::string_view pattern)
{
    const double share = runtime::Div(outcomes, total);
    const Picture picture = ReadPicture(pattern);
    const int decimals = picture.maxDecimals + Shift(picture);
    if (!IsExactCount(outcomes) || !IsExactCount(total) || decimals > maxExactDecimals)
        return FormatPattern(share, pattern);
    if (picture.before.size() == pattern.size())
        return std::string(pattern);
    const Fraction fraction { ToExact(outcomes), ToExact(total) };
    const auto [whole, rest] = fraction.Scaled(decimals);
    std::string digits = Digits(RoundedHalfToEven(whole, rest, fraction.denominator));
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    if (decimals > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return Render(picture, digits, false);
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
    return GeneralText(negative, mantissa, exponent);
}

std::string GeneralPercentText(double outcomes, double total)
{
    const double percent = runtime::Finite(runtime::Div(outcomes, total) * 100);
    if (!IsExactCount(outcomes) || !IsExactCount(total) || percent >= 1e15)
        return GeneralNumberText(percent);
    if (outcomes == 0)
        return "0";
    // Scaled up until the whole part holds the first 15 significant digits.
    const Fraction fraction { ToExact(outcomes) * 100, ToExact(total) };
    Exact lowest = 1;
    for (int digit = 1; digit < generalSignificantDigits; ++digit)
        lowest *= 10;
    int decimals = 0;
    auto [whole, rest] = fraction.Scaled(0);
    while (whole < lowest)
        std::tie(whole, rest) = fraction.Scaled(++decimals);
    std::string mantissa = Digits(RoundedHalfToEven(whole, rest, fraction.denominator));
    // Rounding up may carry into a sixteenth digit, one more power of ten.
    const int exponent = static_cast<int>(mantissa.size()) - 1 - decimals;
    return GeneralText(false, mantissa, exponent);
}

} // namespace numtext
