#include "cli/output.h"

#include "cli/json.h"
#include "dice/limits.h"
#include "dice/text/text.h"
#include "dice/value/versus.h"

#include <algorithm>

namespace cli
{

namespace
{

// What a roll's counts are out of: its throws, where they are equally
// likely, or else the common denominator of its weights.
std::string Denominator(const dice::Distribution &roll)
{
    if (roll.weighted)
        return "weights out of " + roll.outcomes.get_str();
    return roll.outcomes.get_str() + (roll.outcomes == 1 ? " outcome" : " outcomes");
}

std::string HeadingLine(const std::string &heading, const dice::Distribution &roll, const std::string &note)
{
    return heading + ": " + Denominator(roll) + (note.empty() ? "" : ", " + note) + "\n";
}

// The text is read by a person: totals that cannot come are left out, and
// an unbounded roll ends at the last total whose share shows a digit, the
// line above it holding all the rest exactly.
std::string Block(const std::string &heading, const dice::Distribution &roll, const std::string &note)
{
    const dice::Statistics statistics = dice::Summarize(roll);
    std::string text = HeadingLine(heading, roll, note);
    const auto count = [&](std::int64_t total) -> const mpz_class & {
        return roll.counts[static_cast<std::size_t>(total - roll.lowest)];
    };
    std::int64_t last = roll.Highest();
    if (statistics.unbounded) {
        const std::string nothing = dice::TablePercent(0, 1);
        while (last > roll.lowest && dice::TablePercent(count(last), roll.outcomes) == nothing)
            --last;
    }
    for (std::int64_t total = roll.lowest; total <= last; ++total) {
        if (count(total) != 0)
            text += "P(" + std::to_string(total) + ") = " + dice::TablePercent(count(total), roll.outcomes) + "\n";
    }
    if (statistics.unbounded) {
        const mpz_class rest = dice::RangeOutcomes(roll, last + 1, INT64_MAX);
        text += "P(>" + std::to_string(last) + ") = " + dice::TablePercent(rest, roll.outcomes) + "\n";
    }
    text += "Lowest: " + std::to_string(statistics.lowest) + "\n";
    text += "Highest: " + (statistics.unbounded ? std::string("unbounded") : std::to_string(statistics.highest)) + "\n";
    text += "Mean: " + dice::FixedDecimal(statistics.mean, 9);
    if (statistics.exact && statistics.mean.get_den() != 1)
        text += " (" + statistics.mean.get_str() + ")";
    text += "\nStandard deviation: " + dice::RootDecimal(statistics.variance, 9) + "\n";
    text += "Most likely:";
    for (std::size_t i = 0; i < statistics.mostLikely.size(); ++i)
        text += (i == 0 ? " " : ", ") + std::to_string(statistics.mostLikely[i]);
    return text + "\n";
}

// Labels are listed as their roll wrote them, which is the order its author
// reads them in, a label that cannot come included: that it cannot is an
// answer too. They have no order among themselves, so no lowest, highest,
// mean or spread.
std::string LabelsBlock(const std::string &heading, const dice::Distribution &roll, const std::string &note)
{
    std::string text = HeadingLine(heading, roll, note);
    for (std::size_t i = 0; i < roll.labels.size(); ++i)
        text += "P(" + roll.labels[i] + ") = " + dice::TablePercent(roll.counts[i], roll.outcomes) + "\n";
    text += "Most likely:";
    const std::vector<std::string> likeliest = MostLikelyLabels(roll);
    for (std::size_t i = 0; i < likeliest.size(); ++i)
        text += (i == 0 ? " " : ", ") + likeliest[i];
    return text + "\n";
}

std::string Quoted(const std::string &expression)
{
    // Appended, not added up: g++ 12 warns falsely of "'" + text.
    std::string quoted(1, '\'');
    quoted += Shortened(expression);
    return quoted += '\'';
}

std::string Fraction(const mpz_class &part, const mpz_class &whole)
{
    mpq_class fraction(part, whole);
    fraction.canonicalize();
    return fraction.get_num().get_str() + "/" + fraction.get_den().get_str();
}

// Each roll against every later one, in the order given; the reverse of a
// pair is the same pair with wins and losses swapped. Where two unbounded
// rolls both pass their listings the order of their totals is known of
// neither: the percents are then the sure shares, and the exact line and the
// table give the undecided share, less than 10^-30, that lies above them.
std::string VersusOutput(const Request &request, const std::vector<dice::Distribution> &rolls)
{
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i < rolls.size(); ++i) {
        for (std::size_t j = i + 1; j < rolls.size(); ++j)
            pairs.push_back({ request.expressions[i],
                request.expressions[j],
                dice::Against(rolls[i], rolls[j]),
                rolls[i].weighted || rolls[j].weighted });
    }
    if (request.layout == Layout::Json)
        return PairsJson(pairs);
    std::string text;
    const char separator = request.layout == Layout::Csv ? ',' : '\t';
    if (request.layout != Layout::Blocks) {
        for (const char *heading : { "first",
                 "second",
                 "wins percent",
                 "ties percent",
                 "loses percent",
                 "wins",
                 "ties",
                 "loses",
                 "undecided" })
            text += (text.empty() ? "" : std::string(1, separator)) + heading;
        text += '\n';
    }
    for (const Pair &pair : pairs) {
        const dice::Versus &v = pair.versus;
        if (request.layout == Layout::Blocks) {
            text += pair.first + " vs " + pair.second + ": wins " + dice::TablePercent(v.wins, v.outcomes) + ", ties "
                + dice::TablePercent(v.ties, v.outcomes) + ", loses " + dice::TablePercent(v.loses, v.outcomes) + "\n";
            text += "  exactly " + Fraction(v.wins, v.outcomes) + ", " + Fraction(v.ties, v.outcomes) + ", "
                + Fraction(v.loses, v.outcomes);
            if (v.undecided != 0)
                text += "; undecided " + Fraction(v.undecided, v.outcomes);
            text += '\n';
            continue;
        }
        text += dice::TableField(pair.first, separator) + separator + dice::TableField(pair.second, separator);
        for (const mpz_class *share : { &v.wins, &v.ties, &v.loses })
            text += separator + dice::SignificantPercent(*share, v.outcomes, 17);
        for (const mpz_class *share : { &v.wins, &v.ties, &v.loses, &v.undecided })
            text += separator + Fraction(*share, v.outcomes);
        text += '\n';
    }
    return text;
}

std::optional<std::int64_t> Given(std::int64_t end)
{
    return end == INT64_MIN || end == INT64_MAX ? std::nullopt : std::optional(end);
}

} // namespace

// An expression as the progress line names it: short enough for one line.
std::string Shortened(const std::string &expression)
{
    constexpr std::size_t most = 40;
    if (expression.size() <= most)
        return expression;
    std::size_t cut = most - 3;
    while (cut > 0 && (static_cast<unsigned char>(expression[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character of several bytes
    return expression.substr(0, cut) + "...";
}

std::vector<std::string> MostLikelyLabels(const dice::Distribution &roll)
{
    std::vector<std::string> likeliest;
    const auto most = std::max_element(roll.counts.begin(), roll.counts.end());
    for (std::size_t i = 0; i < roll.labels.size(); ++i) {
        if (roll.counts[i] == *most)
            likeliest.push_back(roll.labels[i]);
    }
    return likeliest;
}

std::optional<std::string> Refusal(const Request &request, const std::vector<bool> &labelled)
{
    const auto first = std::find(labelled.begin(), labelled.end(), true);
    if (first == labelled.end())
        return std::nullopt;
    const std::string named = Quoted(request.expressions[static_cast<std::size_t>(first - labelled.begin())]);
    if (request.versus) {
        return "--versus sets totals against each other, but " + named
            + " gives labels, which are neither higher nor lower than another roll's";
    }
    if (request.first)
        return request.range + " counts totals, but " + named + " gives labels, which have no order to count from";
    const auto totals = std::find(labelled.begin(), labelled.end(), false);
    if (totals == labelled.end() || request.layout == Layout::Blocks || request.layout == Layout::Json)
        return std::nullopt;
    return std::string(request.layout == Layout::Csv ? "--csv" : "--tsv")
        + " cannot put labels and totals in one table (" + named + " gives labels, "
        + Quoted(request.expressions[static_cast<std::size_t>(totals - labelled.begin())])
        + " totals): give them in separate runs";
}

std::optional<std::int64_t> Through(const Request &request, const std::vector<dice::Distribution> &rolls, std::size_t i)
{
    const dice::Distribution &roll = rolls[i];
    if (!roll.Unbounded())
        return std::nullopt;
    if (!request.first) {
        // One roll set against another is told apart exactly only where each
        // unbounded one is listed as far as the other's listing reaches.
        if ((request.layout == Layout::Blocks || request.layout == Layout::Json) && !request.versus)
            return std::nullopt;
        std::int64_t farthest = roll.Highest();
        for (const dice::Distribution &other : rolls)
            farthest = std::max(farthest, other.Highest());
        return farthest > roll.Highest() ? std::optional(farthest) : std::nullopt;
    }
    const std::int64_t needed = *request.last == INT64_MAX ? *request.first - 1 : *request.last;
    if (needed <= roll.Highest())
        return std::nullopt;
    const mpz_class least = dice::RangeOutcomes(roll, *request.first, roll.Highest());
    if (request.layout == Layout::Blocks
        && dice::TablePercent(least, roll.outcomes) == dice::TablePercent(least + roll.tail, roll.outcomes))
        return std::nullopt;
    return needed;
}

std::int64_t Reach(const dice::Distribution &roll)
{
    return std::max(roll.Highest() - roll.lowest + 1, dice::maxListedPast);
}

std::string Output(
    const Request &request, const std::vector<dice::Distribution> &rolls, const std::vector<std::string> &notes)
{
    if (request.versus)
        return VersusOutput(request, rolls);
    if (request.layout == Layout::Json && request.first) {
        std::vector<Chance> chances;
        for (std::size_t i = 0; i < rolls.size(); ++i) {
            chances.push_back(
                { request.expressions[i], &rolls[i], dice::RangeOutcomes(rolls[i], *request.first, *request.last) });
        }
        return ChancesJson(Given(*request.first), Given(*request.last), chances);
    }
    if (request.layout == Layout::Json) {
        std::vector<Named> named;
        for (std::size_t i = 0; i < rolls.size(); ++i)
            named.push_back({ request.expressions[i], &rolls[i] });
        return RollsJson(named);
    }
    std::string text;
    if (request.first) {
        // One expression keeps the bare line that scripts read; several are
        // told apart by their expressions.
        const bool several = rolls.size() > 1;
        const char separator = request.layout == Layout::Csv ? ',' : '\t';
        if (several && request.layout != Layout::Blocks)
            text = std::string("expression") + separator + "percent\n";
        for (std::size_t i = 0; i < rolls.size(); ++i) {
            const dice::Distribution &roll = rolls[i];
            const mpz_class part = dice::RangeOutcomes(roll, *request.first, *request.last);
            if (request.layout == Layout::Blocks) {
                text += (several ? request.expressions[i] + ": " : "") + dice::TablePercent(part, roll.outcomes);
            } else {
                text += several ? dice::TableField(request.expressions[i], separator) + separator : "";
                text += dice::SignificantPercent(part, roll.outcomes, 17);
            }
            text += '\n';
        }
        return text;
    }
    if (request.layout == Layout::Blocks) {
        for (std::size_t i = 0; i < rolls.size(); ++i) {
            if (i > 0)
                text += '\n';
            const auto write = rolls[i].Labelled() ? LabelsBlock : Block;
            text += write(request.expressions[i], rolls[i], notes[i]);
        }
        return text;
    }
    std::vector<dice::Column> columns;
    for (std::size_t i = 0; i < rolls.size(); ++i)
        columns.push_back({ request.expressions[i], &rolls[i] });
    // Refusal has made sure that the rolls are all of labels or all of totals.
    const auto write = rolls.front().Labelled() ? dice::LabelsTableText : dice::RollsTableText;
    return write(columns, request.layout == Layout::Csv ? ',' : '\t', "\n");
}

} // namespace cli