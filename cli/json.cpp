#include "cli/json.h"

#include "cli/output.h"
#include "dice/text/text.h"
#include "dice/value/distribution.h"
#include "dice/value/statistics.h"

#include <nlohmann/json.hpp>

namespace cli
{

namespace
{

// Keys in the order written, so that a reader sees the expression first.
using Json = nlohmann::ordered_json;

// Always p/q, 1/1 and 0/1 included, so that a reader needs one rule.
std::string Fraction(const mpq_class &value)
{
    return value.get_num().get_str() + "/" + value.get_den().get_str();
}

const char *Unit(bool weighted)
{
    return weighted ? "weights" : "outcomes";
}

Json Share(const mpz_class &part, const mpz_class &whole, bool weighted)
{
    mpq_class fraction(part, whole);
    fraction.canonicalize();
    return Json { { Unit(weighted), part.get_str() },
        { "fraction", Fraction(fraction) },
        { "percent", dice::SignificantPercent(part, whole, 17) } };
}

// Named by label in the roll's order; labels have no order among
// themselves, so no ends and no statistics but the most likely.
Json LabelsRoll(const Named &named)
{
    const dice::Distribution &roll = *named.distribution;
    Json labels = Json::array();
    for (std::size_t i = 0; i < roll.labels.size(); ++i) {
        Json label = { { "label", roll.labels[i] } };
        label.update(Share(roll.counts[i], roll.outcomes, roll.weighted));
        labels.push_back(std::move(label));
    }
    return Json {
        { "expression", named.expression },
        { Unit(roll.weighted), roll.outcomes.get_str() },
        { "labels", std::move(labels) },
        { "mostLikely", MostLikelyLabels(roll) },
    };
}

Json Roll(const Named &named)
{
    const dice::Distribution &roll = *named.distribution;
    if (roll.Labelled())
        return LabelsRoll(named);
    const dice::Statistics statistics = dice::Summarize(roll);
    Json totals = Json::array();
    for (std::size_t i = 0; i < roll.counts.size(); ++i) {
        Json total = { { "total", roll.lowest + static_cast<std::int64_t>(i) } };
        total.update(Share(roll.counts[i], roll.outcomes, roll.weighted));
        totals.push_back(std::move(total));
    }
    Json remainder = nullptr;
    if (roll.Unbounded()) {
        remainder = { { "above", roll.Highest() } };
        remainder.update(Share(roll.tail, roll.outcomes, roll.weighted));
    }
    // An unbounded roll's mean may be known only to within rounding: then
    // there is no fraction to give, only the decimals the text output shows.
    Json summary = {
        { "exact", statistics.exact },
        { "mean", statistics.exact ? Json(Fraction(statistics.mean)) : Json(nullptr) },
        { "variance", statistics.exact ? Json(Fraction(statistics.variance)) : Json(nullptr) },
        { "meanDecimal", dice::FixedDecimal(statistics.mean, 9) },
        { "standardDeviation", dice::RootDecimal(statistics.variance, 9) },
        { "mostLikely", statistics.mostLikely },
    };
    return Json {
        { "expression", named.expression },
        { Unit(roll.weighted), roll.outcomes.get_str() },
        { "lowest", roll.lowest },
        { "highest", roll.Unbounded() ? Json(nullptr) : Json(roll.Highest()) },
        { "totals", std::move(totals) },
        { "remainder", std::move(remainder) },
        { "statistics", std::move(summary) },
    };
}

} // namespace

std::string RollsJson(std::span<const Named> rolls)
{
    Json list = Json::array();
    for (const Named &named : rolls)
        list.push_back(Roll(named));
    return Json { { "rolls", std::move(list) } }.dump(2) + "\n";
}

std::string ChancesJson(
    std::optional<std::int64_t> first, std::optional<std::int64_t> last, std::span<const Chance> rolls)
{
    Json list = Json::array();
    for (const Chance &chance : rolls) {
        const dice::Distribution &roll = *chance.distribution;
        list.push_back({
            { "expression", chance.expression },
            { Unit(roll.weighted), roll.outcomes.get_str() },
            { "chance", Share(chance.part, roll.outcomes, roll.weighted) },
        });
    }
    const auto end = [](const std::optional<std::int64_t> &total) { return total ? Json(*total) : Json(nullptr); };
    return Json { { "range", { { "from", end(first) }, { "to", end(last) } } }, { "rolls", std::move(list) } }.dump(2)
        + "\n";
}

std::string PairsJson(std::span<const Pair> pairs)
{
    Json list = Json::array();
    for (const Pair &pair : pairs) {
        const dice::Versus &versus = pair.versus;
        list.push_back({
            { "first", pair.first },
            { "second", pair.second },
            { Unit(pair.weighted), versus.outcomes.get_str() },
            { "wins", Share(versus.wins, versus.outcomes, pair.weighted) },
            { "ties", Share(versus.ties, versus.outcomes, pair.weighted) },
            { "loses", Share(versus.loses, versus.outcomes, pair.weighted) },
            { "undecided",
                versus.undecided == 0 ? Json(nullptr) : Share(versus.undecided, versus.outcomes, pair.weighted) },
        });
    }
    return Json { { "pairs", std::move(list) } }.dump(2) + "\n";
}

} // namespace cli
