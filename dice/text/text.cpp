#include "dice/text/text.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace dice
{

namespace
{

// part * 100 * 10^decimals / whole, rounded to a whole number, halves to even.
mpz_class ScaledPercent(const mpz_class &part, const mpz_class &whole, long decimals)
{
    mpz_class numerator = part * 100;
    mpz_class denominator = whole;
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, static_cast<unsigned long>(decimals < 0 ? -decimals : decimals));
    if (decimals >= 0)
        numerator *= power;
    else
        denominator *= power;
    mpz_class quotient;
    mpz_class rest;
    mpz_tdiv_qr(quotient.get_mpz_t(), rest.get_mpz_t(), numerator.get_mpz_t(), denominator.get_mpz_t());
    const int half = cmp(2 * rest, denominator);
    if (half > 0 || (half == 0 && mpz_odd_p(quotient.get_mpz_t())))
        ++quotient;
    return quotient;
}

// Digits with a point put in this many places from the right.
std::string WithPoint(std::string digits, std::size_t decimals)
{
    if (decimals == 0)
        return digits;
    if (digits.size() <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - decimals, 1, '.');
    return digits;
}

// The faces that explode, in words, or empty where that is the top face alone.
std::string ExplodeWords(const Term &term)
{
    const std::vector<std::int64_t> faces = term.Faces();
    const std::int64_t top = *std::max_element(faces.begin(), faces.end());
    const Compare &point = term.explodeOn;
    if (term.explode == Explode::None || point.kind == Compare::Kind::None)
        return {};
    if (std::all_of(faces.begin(), faces.end(), [&](std::int64_t face) { return point.Meets(face) == (face == top); }))
        return {};
    const std::string value = std::to_string(point.value);
    switch (point.kind) {
    case Compare::Kind::Equal:
        return "explodes on " + value;
    case Compare::Kind::NotEqual:
        return "explodes on every face but " + value;
    case Compare::Kind::Greater:
        return "explodes on " + std::to_string(point.value + 1) + " or more";
    case Compare::Kind::GreaterEqual:
        return "explodes on " + value + " or more";
    case Compare::Kind::Less:
        return "explodes on " + std::to_string(point.value - 1) + " or less";
    case Compare::Kind::LessEqual:
        return "explodes on " + value + " or less";
    case Compare::Kind::None:
        break;
    }
    return {};
}

// How a term's dice are written, to tell them apart in a note.
std::string DiceName(const Term &term)
{
    return std::to_string(term.dice) + "d"
        + (term.fudge                ? "F"
                : term.faces.empty() ? std::to_string(term.sides)
                                     : "{...}");
}

} // namespace

std::string ExplodeNote(const Expression &expression)
{
    std::vector<std::pair<std::string, std::string>> notes;
    ForEachTerm(expression, [&](const Term &term) {
        if (term.dice > 0) {
            if (std::string words = ExplodeWords(term); !words.empty())
                notes.emplace_back(DiceName(term), std::move(words));
        }
    });
    const bool alike =
        std::all_of(notes.begin(), notes.end(), [&](const auto &note) { return note.second == notes.front().second; });
    if (notes.empty() || alike)
        return notes.empty() ? std::string() : notes.front().second;
    std::string text;
    for (const auto &[dice, words] : notes)
        text += (text.empty() ? "" : "; ") + dice + " " + words;
    return text;
}

std::string TableField(const std::string &text, char separator)
{
    if (text.find_first_of(std::string { separator, '"', '\r', '\n' }) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string FixedDecimal(const mpq_class &value, int decimals)
{
    // The percentage scale is undone by two more decimals' worth of division.
    const mpz_class magnitude = abs(value.get_num());
    std::string digits = ScaledPercent(magnitude, value.get_den() * 100, decimals).get_str();
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string text(value < 0 && !zero ? "-" : "");
    text += WithPoint(digits, static_cast<std::size_t>(decimals));
    return text;
}

std::string RootDecimal(const mpq_class &square, int decimals)
{
    // floor(sqrt(x)) is floor(sqrt(floor(x))); the root rounds up when
    // x > (r + 1/2)^2, that is 4x > (2r + 1)^2, and a root exactly halfway
    // would be rational, so it can be told by equality.
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, 2 * static_cast<unsigned long>(decimals));
    const mpz_class numerator = square.get_num() * power;
    const mpz_class &denominator = square.get_den();
    const mpz_class whole = numerator / denominator;
    mpz_class root;
    mpz_sqrt(root.get_mpz_t(), whole.get_mpz_t());
    const mpz_class odd = 2 * root + 1;
    const int half = cmp(4 * numerator, odd * odd * denominator);
    if (half > 0 || (half == 0 && mpz_odd_p(root.get_mpz_t())))
        ++root;
    return WithPoint(root.get_str(), static_cast<std::size_t>(decimals));
}

mpz_class RangeOutcomes(const Distribution &distribution, std::int64_t first, std::int64_t last)
{
    mpz_class sum;
    const std::int64_t from = std::max(first, distribution.lowest);
    const std::int64_t to = std::min(last, distribution.Highest());
    for (std::int64_t total = from; total <= to; ++total)
        sum += distribution.counts[static_cast<std::size_t>(total - distribution.lowest)];
    if (last == std::numeric_limits<std::int64_t>::max() && first <= distribution.Highest() + 1)
        sum += distribution.tail;
    return sum;
}

std::string FixedPercent(const mpz_class &part, const mpz_class &whole, int decimals)
{
    return WithPoint(ScaledPercent(part, whole, decimals).get_str(), static_cast<std::size_t>(decimals));
}

std::string TablePercent(const mpz_class &part, const mpz_class &whole)
{
    return FixedPercent(part, whole, 9) + "%";
}

std::string SignificantPercent(const mpz_class &part, const mpz_class &whole, int digits)
{
    if (part == 0)
        return "0";
    // The decimal exponent of the first digit: a guess from the lengths of
    // the two numbers, put right by the rounded value's own length.
    const mpz_class numerator = part * 100;
    long exponent = static_cast<long>(mpz_sizeinbase(numerator.get_mpz_t(), 10))
        - static_cast<long>(mpz_sizeinbase(whole.get_mpz_t(), 10));
    std::string text;
    for (;;) {
        text = ScaledPercent(part, whole, digits - 1 - exponent).get_str();
        const auto length = static_cast<long>(text.size());
        if (length == digits)
            break;
        exponent += length - digits;
    }
    if (exponent >= -6 && exponent < digits) {
        const long decimals = std::max(0L, static_cast<long>(digits) - 1 - exponent);
        return WithPoint(text, static_cast<std::size_t>(decimals));
    }
    // Far from 1 the plain form would run to hundreds of zeros.
    return text.substr(0, 1) + "." + text.substr(1) + "e" + std::to_string(exponent);
}

namespace
{

// The heading cells of one column, as RollsTableText writes them.
std::string Headings(const Column &column, bool alone, char separator)
{
    const std::string unit = column.distribution->weighted ? "weights" : "outcomes";
    if (alone)
        return separator + unit + separator + "percent";
    return separator + TableField(column.heading + " " + unit, separator) + separator
        + TableField(column.heading + " percent", separator);
}

} // namespace

std::string RollsTableText(std::span<const Column> columns, char separator, std::string_view lineEnd)
{
    std::string text = "total";
    std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
    std::int64_t highest = std::numeric_limits<std::int64_t>::min();
    for (const Column &column : columns) {
        text += Headings(column, columns.size() == 1, separator);
        lowest = std::min(lowest, column.distribution->lowest);
        highest = std::max(highest, column.distribution->Highest());
    }
    text += lineEnd;
    static const mpz_class none;
    bool unbounded = false;
    for (std::int64_t total = lowest; !columns.empty() && total <= highest; ++total) {
        text += std::to_string(total);
        for (const Column &column : columns) {
            const Distribution &distribution = *column.distribution;
            unbounded = unbounded || distribution.Unbounded();
            if (total > distribution.Highest() && distribution.Unbounded()) {
                // Past its listing, an unbounded roll's weights are not known one by one.
                text += std::string(2, separator);
                continue;
            }
            const bool reached = total >= distribution.lowest && total <= distribution.Highest();
            const mpz_class &count =
                reached ? distribution.counts[static_cast<std::size_t>(total - distribution.lowest)] : none;
            text += separator + count.get_str() + separator + SignificantPercent(count, distribution.outcomes, 17);
        }
        text += lineEnd;
    }
    if (!unbounded)
        return text;
    // The remainder above the last row, where a roll has no highest total.
    text += '>';
    text += std::to_string(highest);
    for (const Column &column : columns) {
        const Distribution &distribution = *column.distribution;
        if (distribution.Highest() < highest && distribution.Unbounded()) {
            text += std::string(2, separator);
            continue;
        }
        text += separator + distribution.tail.get_str() + separator
            + SignificantPercent(distribution.tail, distribution.outcomes, 17);
    }
    text += lineEnd;
    return text;
}

std::vector<std::string> AllLabels(std::span<const Column> columns)
{
    std::vector<std::string> all;
    for (const Column &column : columns) {
        for (const std::string &label : column.distribution->labels) {
            if (std::find(all.begin(), all.end(), label) == all.end())
                all.push_back(label);
        }
    }
    return all;
}

std::string LabelsTableText(std::span<const Column> columns, char separator, std::string_view lineEnd)
{
    std::string text = "label";
    for (const Column &column : columns)
        text += Headings(column, columns.size() == 1, separator);
    text += lineEnd;
    static const mpz_class none;
    for (const std::string &label : AllLabels(columns)) {
        text += TableField(label, separator);
        for (const Column &column : columns) {
            const Distribution &distribution = *column.distribution;
            const auto found = std::find(distribution.labels.begin(), distribution.labels.end(), label);
            const mpz_class &count = found == distribution.labels.end()
                ? none
                : distribution.counts[static_cast<std::size_t>(found - distribution.labels.begin())];
            text += separator + count.get_str() + separator + SignificantPercent(count, distribution.outcomes, 17);
        }
        text += lineEnd;
    }
    return text;
}

} // namespace dice
