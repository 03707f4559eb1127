#include "numtext/table_text.h"

#include <array>
#include <charconv>
#include <system_error>

namespace numtext
{

namespace
{

// Writes a number with std::to_chars, which ignores the locale.
template <typename... Format> void Append(std::string &text, Format... format)
{
    // Large enough for the integer digits of the largest double.
    std::array<char, 400> digits;
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), format...);
    if (written.ec == std::errc())
        text.append(digits.data(), static_cast<std::size_t>(written.ptr - digits.data()));
}

} // namespace

std::string TableText(std::int32_t firstTotal,
    std::span<const double> counts,
    double totalOutcomes,
    char separator,
    std::string_view lineEnd)
{
    std::string text;
    text.reserve((counts.size() + 1) * 64);
    text.append("total").append(1, separator).append("outcomes").append(1, separator).append("percent");
    text.append(lineEnd);
    std::int64_t total = firstTotal;
    for (const double count : counts) {
        Append(text, total++);
        text.append(1, separator);
        // Fixed with no decimals writes every digit of the integer a double holds.
        Append(text, count, std::chars_format::fixed, 0);
        text.append(1, separator);
        const double percent = count / totalOutcomes * 100;
        Append(text, percent, std::chars_format::general, 17);
        text.append(lineEnd);
    }
    return text;
}

} // namespace numtext
