#include "dice/parse/hints.h"

#include "dice/limits.h"

#include <algorithm>
#include <iterator>

namespace dice::detail
{

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string Squeezed(std::string_view text)
{
    std::string squeezed;
    std::copy_if(text.begin(), text.end(), std::back_inserter(squeezed), [](char c) { return c != ' ' && c != '\t'; });
    return squeezed;
}

// A whole number and nothing else, no larger than a part may be.
std::optional<std::int64_t> Whole(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text = Trimmed(text.substr(1));
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > maxNumber)
            return std::nullopt;
    }
    return negative ? -value : value;
}

bool IsVersus(const std::string &word)
{
    return word == "vs" || word == "versus";
}

// Empty for <>, which no one option asks for.
std::string Threshold(Compare::Kind kind, std::int64_t number)
{
    switch (kind) {
    case Compare::Kind::GreaterEqual:
        return "--at-least " + std::to_string(number);
    case Compare::Kind::Greater:
        return "--at-least " + std::to_string(number + 1);
    case Compare::Kind::LessEqual:
        return "--at-most " + std::to_string(number);
    case Compare::Kind::Less:
        return "--at-most " + std::to_string(number - 1);
    case Compare::Kind::Equal:
        return "--between " + std::to_string(number) + " " + std::to_string(number);
    default:
        return {};
    }
}

} // namespace dice::detail
