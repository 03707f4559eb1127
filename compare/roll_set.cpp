#include "compare/roll_set.h"

#include "dice/notation/utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace compare
{

namespace
{

constexpr std::array<View, 3> kViews { View::AtLeast, View::AtMost, View::Exactly };

std::string_view Trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The setting's keyword where the line is one: letters, then a colon.
std::optional<std::string_view> Keyword(std::string_view line)
{
    std::size_t end = 0;
    while (end < line.size() && ((line[end] >= 'a' && line[end] <= 'z') || (line[end] >= 'A' && line[end] <= 'Z')))
        ++end;
    const std::string_view rest = Trimmed(line.substr(end));
    if (end == 0 || rest.empty() || rest.front() != ':')
        return std::nullopt;
    return line.substr(0, end);
}

// A view's name at the start of text, and what follows it.
std::optional<std::pair<View, std::string_view>> LeadingView(std::string_view text)
{
    const std::string lower = Lower(text);
    for (const View view : kViews) {
        const std::string name = ViewName(view);
        const bool whole = lower.size() == name.size() || lower[name.size()] == ' ' || lower[name.size()] == '\t';
        if (lower.compare(0, name.size(), name) == 0 && whole)
            return std::pair { view, Trimmed(text.substr(name.size())) };
    }
    return std::nullopt;
}

Target ReadTarget(std::string_view value, std::size_t line)
{
    const auto sensed = LeadingView(value);
    if (!sensed || sensed->second.empty())
        throw RollSetError(line, RollSetError::Fault::BadTarget);
    std::string_view digits = sensed->second;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    std::int64_t total = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), total);
    if (digits.empty() || end != digits.data() + digits.size() || error != std::errc() || total < -kLargestTarget
        || total > kLargestTarget) {
        throw RollSetError(line, RollSetError::Fault::BadTotal, std::string(sensed->second));
    }
    return { total, sensed->first };
}

void CheckText(std::string_view text, std::size_t line)
{
    for (std::size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const std::size_t length = dice::utf8::Next(text, at, code);
        if (length == 0)
            throw RollSetError(line, RollSetError::Fault::NotText);
        at += length;
    }
}

} // namespace

namespace
{

std::string Explained(RollSetError::Fault fault, const std::string &detail)
{
    using Fault = RollSetError::Fault;
    switch (fault) {
    case Fault::NotText:
        return "the line is not UTF-8 text";
    case Fault::BadTarget:
        return "a target is 'at least', 'at most' or 'exactly' and a total, such as 'target: at least 15'";
    case Fault::BadTotal:
        return "the target's total '" + detail + "' is not a whole number from " + std::to_string(-kLargestTarget)
            + " to " + std::to_string(kLargestTarget);
    case Fault::BadView:
        return "a view is 'exactly', 'at least' or 'at most'";
    case Fault::SecondTarget:
        return "a second target";
    case Fault::SecondView:
        return "a second view";
    default:
        return "'" + detail + ":' is no setting; a file has 'target:' and 'view:'";
    }
}

} // namespace

RollSetError::RollSetError(std::size_t line, Fault fault, std::string detail)
    : std::runtime_error("line " + std::to_string(line) + ": " + Explained(fault, detail))
    , m_line(line)
    , m_fault(fault)
    , m_detail(std::move(detail))
{
}

std::size_t RollSetError::Line() const
{
    return m_line;
}

RollSetError::Fault RollSetError::Kind() const
{
    return m_fault;
}

const std::string &RollSetError::Detail() const
{
    return m_detail;
}

std::string ViewName(View view)
{
    switch (view) {
    case View::AtLeast:
        return "at least";
    case View::AtMost:
        return "at most";
    default:
        return "exactly";
    }
}

RollSet ReadRollSet(std::string_view text)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom)
        text.remove_prefix(bom.size());
    RollSet set;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        CheckText(line, number);
        line = Trimmed(line);
        if (!line.empty() && line.front() == '#' && set.rolls.empty() && !set.target && !set.view)
            set.heading.emplace_back(line);
        if (line.empty() || line.front() == '#')
            continue;
        const std::optional<std::string_view> keyword = Keyword(line);
        if (!keyword) {
            set.rolls.emplace_back(line);
            continue;
        }
        const std::string name = Lower(*keyword);
        const std::string_view value = Trimmed(Trimmed(line.substr(keyword->size())).substr(1));
        if (name == "target") {
            if (set.target)
                throw RollSetError(number, RollSetError::Fault::SecondTarget);
            set.target = ReadTarget(value, number);
        } else if (name == "view") {
            if (set.view)
                throw RollSetError(number, RollSetError::Fault::SecondView);
            const auto view = LeadingView(value);
            if (!view || !view->second.empty())
                throw RollSetError(number, RollSetError::Fault::BadView);
            set.view = view->first;
        } else {
            throw RollSetError(number, RollSetError::Fault::UnknownSetting, std::string(*keyword));
        }
    }
    return set;
}

bool ReadsAsRoll(std::string_view roll)
{
    roll = Trimmed(roll);
    return !roll.empty() && roll.front() != '#' && !Keyword(roll)
        && roll.find_first_of("\r\n") == std::string_view::npos;
}

std::string WriteRollSet(const RollSet &set)
{
    std::string text;
    for (const std::string &comment : set.heading) {
        if (comment.starts_with('#') && comment.find_first_of("\r\n") == std::string::npos)
            text += comment + "\n";
    }
    if (text.empty())
        text = "# Pipwright rolls\n";
    if (set.target)
        text += "target: " + ViewName(set.target->sense) + " " + std::to_string(set.target->total) + "\n";
    if (set.view)
        text += "view: " + ViewName(*set.view) + "\n";
    for (const std::string &roll : set.rolls) {
        const std::string_view trimmed = Trimmed(roll);
        if (trimmed.empty())
            continue;
        if (!ReadsAsRoll(trimmed))
            throw std::invalid_argument("'" + std::string(trimmed) + "' would not read back as a roll");
        text.append(trimmed).push_back('\n');
    }
    return text;
}

} // namespace compare
