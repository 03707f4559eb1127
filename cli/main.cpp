// pipwright-cli: the odds of dice expressions, for scripts. Everything is
// computed and written to one string first, so that a bad expression leaves
// nothing on standard output, and the only failure after that is writing.

#include "dice/dice.h"
#include "dice/text.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace
{

constexpr std::string_view program = "pipwright-cli";

constexpr std::string_view helpText = R"(Usage: pipwright-cli [OPTION]... EXPR...
Print the exact odds of every total of each dice expression.

An expression adds and subtracts dice and whole numbers, for example
  4d6kh3      four six-sided dice, the highest three summed
  2d20kl1+5   the lower of two twenty-sided dice, plus 5
  1d8+2d6-1   mixed dice; d% is d100 and dF a die of -1, 0 and +1
Keep or drop with khK (or kK), klK, dhK and dlK after NdS.

Options:
  --csv            one table: total, then outcomes and percent for each EXPR
  --tsv            the same table with tabs
  --at-least T     only the chance of a total of T or more
  --at-most T      only the chance of a total of T or less
  --between A B    only the chance of a total from A to B
  --help           show this help and exit
  --version        show the version and exit

Exit status: 0 on success, 2 for a bad expression or usage, 1 when the
output cannot be written.
)";

enum class Layout { Blocks, Csv, Tsv };

struct Request {
    Layout layout = Layout::Blocks;
    std::optional<std::int64_t> first; // the chance of a range alone, when set
    std::optional<std::int64_t> last;
    std::vector<std::string> expressions;
};

struct UsageError {
    std::string what;
};

std::int64_t Total(const char *text)
{
    const std::string_view view(text);
    std::int64_t value = 0;
    const auto result = std::from_chars(view.data(), view.data() + view.size(), value);
    if (view.empty() || result.ec != std::errc() || result.ptr != view.data() + view.size())
        throw UsageError { "'" + std::string(view) + "' is not a whole number" };
    return value;
}

Request ReadArguments(int argc, char **argv)
{
    Request request;
    bool range = false;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!options || argument.substr(0, 2) != "--") {
            request.expressions.emplace_back(argument);
            continue;
        }
        const auto value = [&](int count) {
            if (argc - i <= count)
                throw UsageError { std::string(argument) + " needs " + (count == 1 ? "a total" : "two totals") };
            return Total(argv[++i]);
        };
        if (argument == "--") {
            options = false;
        } else if (argument == "--csv" || argument == "--tsv") {
            request.layout = argument == "--csv" ? Layout::Csv : Layout::Tsv;
        } else if (argument == "--at-least" || argument == "--at-most" || argument == "--between") {
            if (range)
                throw UsageError { "only one of --at-least, --at-most and --between may be given" };
            range = true;
            request.first = INT64_MIN;
            request.last = INT64_MAX;
            if (argument == "--at-least") {
                request.first = value(1);
            } else if (argument == "--at-most") {
                request.last = value(1);
            } else {
                request.first = value(2);
                request.last = value(1);
            }
        } else {
            throw UsageError { "unknown option " + std::string(argument) };
        }
    }
    if (request.expressions.empty())
        throw UsageError { "no expression given" };
    return request;
}

std::string Block(const std::string &heading, const dice::Distribution &distribution)
{
    const dice::Statistics statistics = dice::Summarize(distribution);
    std::string text = heading + ": " + distribution.outcomes.get_str() + " outcomes\n";
    for (std::size_t i = 0; i < distribution.counts.size(); ++i) {
        const std::int64_t total = distribution.lowest + static_cast<std::int64_t>(i);
        text += "P(" + std::to_string(total)
            + ") = " + dice::TablePercent(distribution.counts[i], distribution.outcomes) + "\n";
    }
    text += "Lowest: " + std::to_string(statistics.lowest) + "\n";
    text += "Highest: " + std::to_string(statistics.highest) + "\n";
    text += "Mean: " + dice::FixedDecimal(statistics.mean, 9);
    if (statistics.mean.get_den() != 1)
        text += " (" + statistics.mean.get_str() + ")";
    text += "\nStandard deviation: " + dice::RootDecimal(statistics.variance, 9) + "\n";
    text += "Most likely:";
    for (std::size_t i = 0; i < statistics.mostLikely.size(); ++i)
        text += (i == 0 ? " " : ", ") + std::to_string(statistics.mostLikely[i]);
    return text + "\n";
}

std::string Output(const Request &request, const std::vector<dice::Distribution> &rolls)
{
    std::string text;
    if (request.first) {
        for (const dice::Distribution &roll : rolls) {
            const mpz_class part = dice::RangeOutcomes(roll, *request.first, *request.last);
            text += request.layout == Layout::Blocks ? dice::TablePercent(part, roll.outcomes)
                                                     : dice::SignificantPercent(part, roll.outcomes, 17);
            text += '\n';
        }
        return text;
    }
    if (request.layout == Layout::Blocks) {
        for (std::size_t i = 0; i < rolls.size(); ++i) {
            if (i > 0)
                text += '\n';
            text += Block(request.expressions[i], rolls[i]);
        }
        return text;
    }
    std::vector<dice::Column> columns;
    for (std::size_t i = 0; i < rolls.size(); ++i)
        columns.push_back({ request.expressions[i], &rolls[i] });
    return dice::RollsTableText(columns, request.layout == Layout::Csv ? ',' : '\t', "\n");
}

// Writes everything or says why not. A reader that went away is no error
// worth a message: SIGPIPE ends the process quietly, and where the caller
// ignores that signal the write fails with EPIPE and the program ends as
// quietly.
int Write(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            if (errno != EPIPE)
                std::fprintf(stderr, "%s: cannot write the output: %s\n", program.data(), std::strerror(errno));
            return 1;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break;
        if (argument == "--help")
            return Write(helpText);
        if (argument == "--version")
            return Write(std::string(program) + " " PIPWRIGHT_VERSION "\n");
    }

    Request request;
    try {
        request = ReadArguments(argc, argv);
    } catch (const UsageError &error) {
        std::fprintf(stderr,
            "%s: %s\nTry '%s --help' for more information.\n",
            program.data(),
            error.what.c_str(),
            program.data());
        return 2;
    }

    std::vector<dice::Distribution> rolls;
    for (const std::string &expression : request.expressions) {
        try {
            rolls.push_back(dice::Evaluate(dice::Parse(expression)));
        } catch (const dice::ParseError &error) {
            std::fprintf(stderr, "%s\n", dice::ErrorText(expression, error).c_str());
            return 2;
        }
    }
    return Write(Output(request, rolls));
}
