#include "dice/parse/scan.h"

#include "dice/limits.h"
#include "dice/parse/hints.h"

#include <string>

namespace dice::detail
{

int ReadSign(std::string_view text, std::size_t &at)
{
    if (at >= text.size() || (text[at] != '-' && text[at] != '+'))
        return 1;
    const int sign = text[at] == '-' ? -1 : 1;
    ++at;
    SkipSpaces(text, at);
    return sign;
}

std::int64_t ReadDigits(std::string_view text, std::size_t &at, ErrorCode missing)
{
    const auto digit = [&] { return at < text.size() && IsDigit(text[at]); };
    if (!digit())
        throw ParseError(missing, at, {}, std::string(text.substr(at, at < text.size() ? 1 : 0)));
    const std::size_t start = at;
    std::int64_t value = 0;
    while (digit()) {
        value = value * 10 + (text[at] - '0');
        if (value > maxNumber)
            throw ParseError(ErrorCode::NumberTooLarge, start);
        ++at;
    }
    return value;
}

bool ReadTimes(std::string_view text, std::size_t &at, bool divides)
{
    const auto next = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    if (next(at) == '/' && !divides)
        throw ParseError(ErrorCode::Division, at);
    if (next(at) == '^')
        throw ParseError(ErrorCode::NotAPower, at, {}, "^");
    if (next(at) != '*')
        return false;
    if (next(at + 1) == '*')
        throw ParseError(ErrorCode::NotAPower, at, {}, "**");
    ++at;
    return true;
}

Node::Rounding RoundingOf(std::string_view word)
{
    return word == "floor" ? Node::Rounding::Floor : word == "ceil" ? Node::Rounding::Ceil : Node::Rounding::Round;
}

void ReadDivide(std::string_view text, std::size_t &at, std::string_view word)
{
    SkipSpaces(text, at);
    if (at >= text.size() || text[at] != '/')
        throw ParseError(ErrorCode::ExpectedDivision, at, {}, std::string(word));
    ++at;
    SkipSpaces(text, at);
}

Compare::Kind ReadOperator(std::string_view text, std::size_t &at)
{
    const char first = at < text.size() ? text[at] : '\0';
    const char second = at + 1 < text.size() ? text[at + 1] : '\0';
    if (first == '<' && second == '>') {
        at += 2;
        return Compare::Kind::NotEqual;
    }
    if ((first == '<' || first == '>') && second == '=') {
        at += 2;
        return first == '<' ? Compare::Kind::LessEqual : Compare::Kind::GreaterEqual;
    }
    if (first != '<' && first != '>' && first != '=')
        return Compare::Kind::None;
    ++at;
    return first == '<' ? Compare::Kind::Less : first == '>' ? Compare::Kind::Greater : Compare::Kind::Equal;
}

} // namespace dice::detail
