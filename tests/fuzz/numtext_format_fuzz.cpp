// Doubles from the bytes through the four display patterns and the general
// number text, an int32 through the integer text. Every text must have its
// pattern's shape and read back to the value within the pattern's rounding.

#include "numtext/patterns.h"
#include "runtime/errors.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace
{

[[noreturn]] void Fail(const char *what, double value, const std::string &text)
{
    std::fprintf(stderr, "violated: %s for %a, text \"%s\"\n", what, value, text.c_str());
    __builtin_trap();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t CountDigits(std::string_view text, std::size_t &pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos - start;
}

struct Shape {
    std::string_view pattern;
    std::string_view before;
    std::string_view after;
    int minDecimals;
    int maxDecimals;
    bool percent;
};

constexpr Shape shapes[] = {
    { "P(####0) = ", "P(", ") = ", 0, 0, false },
    { "##0.000000000%", "", "%", 9, 9, true },
    { "#0.0%", "", "%", 1, 1, true },
    { "###0.0#", "", "", 1, 2, false },
};

// before [-] whole [. decimals] after, with no superfluous leading zero, no
// trailing zero in an optional place and no minus sign on a shown zero.
void CheckPattern(const Shape &shape, double value, const std::string &text)
{
    const std::string_view s(text);
    if (!s.starts_with(shape.before) || !s.ends_with(shape.after)
        || s.size() < shape.before.size() + shape.after.size())
        Fail("literal parts", value, text);
    const std::string_view number = s.substr(shape.before.size(), s.size() - shape.before.size() - shape.after.size());
    std::size_t pos = 0;
    const bool minus = !number.empty() && number[0] == '-';
    if (minus)
        ++pos;
    const std::size_t wholeStart = pos;
    const std::size_t whole = CountDigits(number, pos);
    if (whole == 0 || (whole > 1 && number[wholeStart] == '0'))
        Fail("whole digits", value, text);
    std::size_t decimals = 0;
    if (pos < number.size() && number[pos] == '.') {
        ++pos;
        decimals = CountDigits(number, pos);
        if (decimals == 0)
            Fail("point without decimals", value, text);
    }
    if (pos != number.size() || decimals < static_cast<std::size_t>(shape.minDecimals)
        || decimals > static_cast<std::size_t>(shape.maxDecimals))
        Fail("decimal places", value, text);
    if (decimals > static_cast<std::size_t>(shape.minDecimals) && number.back() == '0')
        Fail("trailing zero in an optional place", value, text);

    const bool allZero = number.find_first_of("123456789") == std::string_view::npos;
    if (minus != (value < 0 && !allZero))
        Fail("minus sign", value, text);

    // Long double holds 100 times any double exactly and reads the digits back
    // to 64 bits, so the only slack needed beyond half a unit is relative.
    const std::string digits(number);
    const long double shown = std::strtold(digits.c_str(), nullptr);
    const long double scaled = static_cast<long double>(value) * (shape.percent ? 100 : 1);
    const long double halfUnit = 0.5L * std::pow(10.0L, -shape.maxDecimals);
    if (std::fabs(shown - scaled) > halfUnit * (1 + 1e-12L) + std::fabs(scaled) * 1e-17L)
        Fail("value not rounded to the shown places", value, text);
}

void CheckGeneral(double value, const std::string &text)
{
    const std::string_view s(text);
    std::size_t pos = s.starts_with('-') ? 1 : 0;
    std::size_t significant = 0;
    bool leading = true;
    bool point = false;
    for (; pos < s.size() && (IsDigit(s[pos]) || (s[pos] == '.' && !point)); ++pos) {
        if (s[pos] == '.') {
            point = true;
            continue;
        }
        leading = leading && s[pos] == '0';
        if (!leading)
            ++significant;
    }
    const std::size_t mantissaEnd = pos;
    if (mantissaEnd == 0 || !IsDigit(s[mantissaEnd - 1]) || !IsDigit(s[s.starts_with('-') ? 1 : 0]))
        Fail("general mantissa", value, text);
    if (point && s[mantissaEnd - 1] == '0')
        Fail("general trailing zero", value, text);
    if (pos < s.size()) {
        if (s.size() - pos < 4 || s[pos] != 'E' || (s[pos + 1] != '+' && s[pos + 1] != '-'))
            Fail("general exponent", value, text);
        pos += 2;
        if (CountDigits(s, pos) < 2 || pos != s.size())
            Fail("general exponent digits", value, text);
    }
    if (significant > 15)
        Fail("more than 15 significant digits", value, text);
    // Read back wider than double: 15 digits of the largest double exceed it.
    const long double back = std::strtold(text.c_str(), nullptr);
    if (std::fabs(back - value) > std::fabs(static_cast<long double>(value)) * 1e-14L)
        Fail("general text does not read back", value, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    unsigned char bytes[sizeof(double) + sizeof(std::int32_t)] = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    double value;
    std::int32_t whole;
    std::memcpy(&value, bytes, sizeof value);
    std::memcpy(&whole, bytes + sizeof value, sizeof whole);

    for (const Shape &shape : shapes) {
        if (std::isfinite(value)) {
            CheckPattern(shape, value, numtext::FormatPattern(value, shape.pattern));
            continue;
        }
        try {
            numtext::FormatPattern(value, shape.pattern);
            Fail("a value that is not finite was formatted", value, std::string(shape.pattern));
        } catch (const runtime::FloatingPointError &) {
        }
    }

    if (std::isfinite(value)) {
        CheckGeneral(value, numtext::GeneralNumberText(value));
    } else {
        try {
            numtext::GeneralNumberText(value);
            Fail("a value that is not finite was written", value, "GeneralNumberText");
        } catch (const runtime::FloatingPointError &) {
        }
    }

    const std::string integer = numtext::IntegerText(whole);
    char *end = nullptr;
    errno = 0;
    const long long back = std::strtoll(integer.c_str(), &end, 10);
    const std::size_t firstDigit = integer.starts_with('-') ? 1 : 0;
    if (errno != 0 || *end != '\0' || back != whole || integer.empty() || !IsDigit(integer[firstDigit])
        || (integer.size() > firstDigit + 1 && integer[firstDigit] == '0'))
        Fail("integer text", whole, integer);
    return 0;
}
