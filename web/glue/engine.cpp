// The page's engine: the Compare window's arithmetic and the command line's
// texts, called from a Web Worker with JSON in and JSON out. Every number the
// page shows is written here, by the same code the window and the command
// line use, so that the page cannot round differently from either.

#include "cli/output.h"
#include "compare/comparison.h"
#include "compare/head_to_head.h"
#include "compare/roll.h"
#include "dice/dice.h"
#include "dice/text/text.h"

#include <nlohmann/json.hpp>

#include <emscripten/emscripten.h>

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{

using compare::View;
using nlohmann::json;

// What one box's text came to: a counted roll, or why not.
struct Counted {
    std::shared_ptr<const compare::RollResult> result;
    std::optional<dice::Expression> expression;
    json error; // null, or {position, at, message} for a parse error, {message} for a failed count
};

struct State {
    std::map<std::string, Counted> counted; // by the text as typed
    compare::Comparison shown;
    std::shared_ptr<const compare::HeadToHead> headToHead;
    std::vector<std::string> texts; // of the shown rolls, as typed
    std::string reply;
};

State &Engine()
{
    static State state;
    return state;
}

View ViewNamed(const std::string &name)
{
    return name == "atLeast" ? View::AtLeast : name == "atMost" ? View::AtMost : View::Exactly;
}

std::string Trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The place of a byte offset among the UTF-16 units a browser counts in.
std::size_t Utf16Index(const std::string &text, std::size_t bytes)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < bytes && i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

const Counted &Count(const std::string &typed)
{
    State &state = Engine();
    if (const auto found = state.counted.find(typed); found != state.counted.end())
        return found->second;
    Counted counted;
    try {
        // Parsed as typed, spaces and all, so that an error's place counts the
        // characters the user sees; the roll is named without the outer spaces.
        counted.expression = dice::Parse(typed);
        counted.result =
            std::make_shared<const compare::RollResult>(compare::CountRoll(Trimmed(typed), *counted.expression, {}));
    } catch (const dice::ParseError &error) {
        counted.result.reset();
        counted.error = { { "position", error.Position() },
            { "at", Utf16Index(typed, error.Position()) },
            { "message", dice::ErrorMessage(error) } };
    } catch (const std::exception &error) {
        counted.result.reset();
        counted.error = { { "message", error.what() } };
    }
    return state.counted.emplace(typed, std::move(counted)).first->second;
}

json RollJson(const compare::RollResult &roll, std::size_t row, const compare::Target &target)
{
    json out = { { "row", row }, { "expression", roll.expression }, { "labelled", roll.Labelled() } };
    const dice::Distribution &distribution = roll.distribution;
    if (roll.Labelled()) {
        out["labels"] = distribution.labels;
        out["shares"] = compare::LabelShares(distribution, 2);
        out["exactShares"] = compare::LabelShares(distribution, 9);
        return out;
    }
    const auto cells = compare::StatisticsRow(roll, target);
    out["cells"] = std::vector<std::string>(cells.begin(), cells.end());
    out["unbounded"] = roll.statistics.unbounded;
    out["lowest"] = distribution.lowest;
    out["count"] = distribution.counts.size();
    return out;
}

json LikeliestJson(const compare::Comparison &shown)
{
    const compare::Likeliest best = shown.LikeliestToReach();
    return { { "rolls", best.rolls },
        { "percent", sgn(best.part) == 0 ? "" : dice::TablePercent(best.part, best.whole) } };
}

json HeadToHeadJson(const compare::HeadToHead &table)
{
    json rows = json::array();
    for (std::size_t row = 0; row < table.rolls.size(); ++row) {
        json cells = json::array();
        for (std::size_t column = 0; column < table.rolls.size(); ++column) {
            const dice::Versus &v = table.Cell(row, column);
            cells.push_back({ { "shown", dice::FixedPercent(v.wins, v.outcomes, 2) + '%' },
                { "wins", dice::TablePercent(v.wins, v.outcomes) },
                { "ties", dice::TablePercent(v.ties, v.outcomes) },
                { "loses", dice::TablePercent(v.loses, v.outcomes) },
                { "undecided", v.undecided == 0 ? "" : dice::TablePercent(v.undecided, v.outcomes) } });
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

// As the plot's cursor reads each roll at a total: "P(>= 12) = 9.5%".
json Readouts(std::int64_t total, View view)
{
    json readouts = json::array();
    const char *relation = view == View::AtLeast ? ">= " : view == View::AtMost ? "<= " : "";
    for (const compare::PlottedRoll &plotted : Engine().shown.Rolls()) {
        if (plotted.roll->Labelled()) {
            readouts.push_back("");
            continue;
        }
        const dice::Distribution &distribution = plotted.roll->distribution;
        const mpz_class part = compare::TargetOutcomes(distribution, { total, view });
        readouts.push_back("P(" + std::string(relation) + std::to_string(static_cast<std::int32_t>(total))
            + ") = " + dice::TablePercent(part, distribution.outcomes));
    }
    return readouts;
}

std::string Compare(const json &request)
{
    State &state = Engine();
    const compare::Target target { request.at("target").get<std::int64_t>(), ViewNamed(request.at("sense")) };
    json rows = json::array();
    json rolls = json::array();
    std::vector<compare::PlottedRoll> plotted;
    std::vector<std::shared_ptr<const compare::RollResult>> totals;
    std::map<std::string, Counted> kept;
    state.texts.clear();
    const auto typed = request.at("rolls").get<std::vector<std::string>>();
    for (std::size_t row = 0; row < typed.size(); ++row) {
        if (Trimmed(typed[row]).empty()) {
            rows.push_back(nullptr);
            continue;
        }
        const Counted &counted = Count(typed[row]);
        kept.emplace(typed[row], counted);
        rows.push_back(counted.error);
        if (!counted.result)
            continue;
        plotted.push_back({ row, counted.result });
        rolls.push_back(RollJson(*counted.result, row, target));
        state.texts.push_back(typed[row]);
        if (!counted.result->Labelled())
            totals.push_back(counted.result);
    }
    // Only the rolls still typed are kept: a shared link of eight slow rolls
    // must not leave every older text's counts behind.
    state.counted = std::move(kept);
    state.shown.SetRolls(std::move(plotted));
    state.shown.SetTarget(target);
    state.shown.SetView(ViewNamed(request.at("view")));
    state.headToHead =
        std::make_shared<const compare::HeadToHead>(compare::FaceOff(totals, state.headToHead.get(), {}));

    json stretches = json::array();
    for (const compare::Stretch &stretch : state.shown.AxisStretches())
        stretches.push_back({ stretch.lowest, stretch.highest });
    json reply = { { "rows", rows },
        { "rolls", rolls },
        { "lowest", state.shown.Lowest() },
        { "highest", state.shown.Highest() },
        { "stretches", stretches },
        { "widths", compare::TotalWidths(state.shown.AxisStretches(), 1.0) },
        { "likeliest", LikeliestJson(state.shown) },
        { "headToHead", HeadToHeadJson(*state.headToHead) } };
    if (request.contains("cursor") && request["cursor"].is_number_integer())
        reply["readouts"] = Readouts(request["cursor"].get<std::int64_t>(), state.shown.ViewShown());
    return reply.dump();
}

// The command line's --csv of the rolls of one kind, each unbounded roll
// listed as far as the farthest, as the command line lists them.
std::string CsvOf(const std::vector<const Counted *> &rolls, std::string &error)
{
    cli::Request request;
    request.layout = cli::Layout::Csv;
    std::vector<dice::Distribution> distributions;
    for (const Counted *counted : rolls) {
        request.expressions.push_back(counted->result->expression);
        distributions.push_back(counted->result->distribution);
    }
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t i = 0; i < distributions.size(); ++i) {
            const std::optional<std::int64_t> through = cli::Through(request, distributions, i);
            if (!through)
                continue;
            const dice::Distribution &roll = distributions[i];
            const std::int64_t reach = cli::Reach(roll);
            if (*through - roll.Highest() > reach) {
                error = request.expressions[i] + ": totals more than " + std::to_string(reach)
                    + " past its last listed total " + std::to_string(roll.Highest()) + " are not counted";
                return {};
            }
            distributions[i] = dice::Evaluate(*rolls[i]->expression, {}, *through);
            moved = true;
        }
    }
    return cli::Output(request, distributions, std::vector<std::string>(distributions.size()));
}

// What Copy Table puts on the clipboard: the totals as `pipwright-cli --csv`
// writes them, the labels as it writes theirs, then the head-to-head table,
// as the window copies them.
std::string Csv()
{
    State &state = Engine();
    std::vector<const Counted *> totals;
    std::vector<const Counted *> labelled;
    for (const std::string &text : state.texts) {
        const Counted &counted = state.counted.at(text);
        (counted.result->Labelled() ? labelled : totals).push_back(&counted);
    }
    std::string error;
    std::string text;
    if (!totals.empty())
        text = CsvOf(totals, error);
    if (!labelled.empty() && error.empty())
        text += (text.empty() ? "" : "\n") + CsvOf(labelled, error);
    if (!error.empty())
        return json { { "error", error } }.dump();
    if (state.headToHead && !state.headToHead->rolls.empty())
        text += "\n" + compare::HeadToHeadText(*state.headToHead, ',', "\n");
    return json { { "csv", text } }.dump();
}

const char *Reply(std::string text)
{
    Engine().reply = std::move(text);
    return Engine().reply.c_str();
}

template <typename Work> const char *Answer(Work work)
{
    try {
        return Reply(work());
    } catch (const std::exception &error) {
        return Reply(json { { "error", error.what() } }.dump());
    }
}

} // namespace

extern "C" {

// Counts one box's text, ahead of pw_compare, so that the page can say which
// roll is counting; {} or the error.
EMSCRIPTEN_KEEPALIVE const char *pw_count(const char *typed)
{
    return Answer([&] {
        const Counted &counted = Count(typed);
        return counted.error.is_null() ? std::string("{}") : counted.error.dump();
    });
}

// {"rolls": [texts], "target": 15, "sense": "atLeast", "view": "exactly",
// "cursor": 12 or null}: everything the page shows of them.
EMSCRIPTEN_KEEPALIVE const char *pw_compare(const char *request)
{
    return Answer([&] { return Compare(json::parse(request)); });
}

// Each shown roll's chance at a total, in a view, as the cursor reads it.
EMSCRIPTEN_KEEPALIVE const char *pw_readouts(double total, const char *view)
{
    return Answer([&] { return Readouts(static_cast<std::int64_t>(total), ViewNamed(view)).dump(); });
}

EMSCRIPTEN_KEEPALIVE const char *pw_csv()
{
    return Answer(Csv);
}

// Where the plot's percents of the shown roll at `index` lie in the engine's
// memory, `count` doubles for a view (0 exactly, 1 at least, 2 at most):
// tens of thousands of numbers are read far faster so than written out as
// text and parsed again.
EMSCRIPTEN_KEEPALIVE const double *pw_percents(int index, int view)
{
    const auto &rolls = Engine().shown.Rolls();
    return rolls[static_cast<std::size_t>(index)].roll->percents[static_cast<std::size_t>(view)].data();
}
}
