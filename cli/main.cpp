// pipwright-cli: the odds of dice expressions, for scripts. Everything is
// computed and written to one string first, so that a bad expression leaves
// nothing on standard output, and the only failure after that is writing.

#include "cli/output.h"
#include "cli/progress.h"
#include "compare/roll_set.h"
#include "dice/dice.h"
#include "dice/limits.h"
#include "dice/questions/question.h"
#include "dice/text/text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace
{

using cli::Layout;
using cli::Request;

constexpr std::string_view program = "pipwright-cli";

// The limits are the parser's own, so the help cannot drift from them.
std::string HelpText()
{
    using std::to_string;
    return R"(Usage: pipwright-cli [OPTION]... EXPR...
Print the exact odds of every total, or label, of each dice expression.

An expression adds and subtracts dice and whole numbers, for example
  4d6kh3      four six-sided dice, the highest three summed
  2d20kl1+5   the lower of two twenty-sided dice, plus 5
  1d8+2d6-1   mixed dice; d% is d100 and dF a die of -1, 0 and +1
Keep or drop with khK (or kK), klK, dhK and dlK (or dK) after NdS.
After the dice, in any order (applied as listed):
  minN, maxN  a first roll below N counts as N; above N as N
  !  !!  !p   explode: a die on its top face (or a compare point: !>=9)
              rolls again; !! adds the extra rolls into the die, p takes
              one off each extra roll
  r  ro       reroll a die on its lowest face (or r<3, ro=1): r until it
              is not, ro once
  >=N  fC     count the dice that meet N, less those that meet C:
              8d10!=10>=8f1; a compare point is =N, >N, >=N, <N, <=N, <>N
Faces of your own: d{0,1,1,2}; dF.1 has one -1, one +1 and four blanks.
Arithmetic and groups, * before + and -, with brackets:
  2*(2d6+3)          a product; floor((8d6)/2), ceil(A / B) and round(A / B)
                     divide (round takes halves away from zero; a bare / is
                     refused)
  abs(A), max(1d20, 1d20), min(A, B)
  {1d8!!, 1d6!!}kh1  a group of )"
        + to_string(dice::minMembers) + " to " + to_string(dice::maxMembers) + R"( members, summed; khK,
                     klK, dhK, dlK keep or drop members by their totals;
                     {A, B}>=N counts the members that meet N
  Brackets, groups and functions nest at most )"
        + to_string(dice::maxDepth) + R"( deep.
A roll that explodes is listed up to the first total T above which less
than 10^-15 of the chance lies; P(>T) holds that remainder exactly. What
is beside it or compared with it may list it at most )"
        + to_string(dice::maxListedPast) + R"( totals further.
A term has )"
        + to_string(dice::minDice) + " to " + to_string(dice::maxDice) + " dice of " + to_string(dice::minSides)
        + " to " + to_string(dice::maxSides) + " sides; keep and drop take dice of\nat most "
        + to_string(dice::maxPickSides) + " sides. An expression holds at most " + to_string(dice::maxDice)
        + " dice and " + to_string(dice::maxTerms) + " terms;\na number is at most " + to_string(dice::maxNumber) + R"(.
Questions, which may answer with labels in double quotes:
  let NAME = A in B   B, NAME standing for the same roll of A throughout
  if C then A else B  C compares with = <> < <= > >= and joins with and,
                      or and not
  let t = 2d6+1 in if t >= 10 then "strong hit" else if t >= 7
    then "weak hit" else "miss"
  let atk = 1d20 in if atk = 20 then 2d8+3 else if atk + 5 >= 15
    then 1d8+3 else 0
A label is 1 to )"
        + to_string(dice::maxLabelLength) + R"( characters, no '"'. A roll of labels lists P(label)
for each in the order written, then the most likely; it takes no range
or --versus, and shares a table only with other rolls of labels.
Pools, dice thrown together and read by position or by matches, P such as
5d6: highest(P), lowest(P), nth(K, P) (1 the highest), count(C, P) for a
compare point C such as >=5, largest_count(P) (the most alike),
sets(K, P) (sets of K or more alike) and largest_straight(P) (the longest
run of faces). Nd(A) is N throws of a bracketed roll, as one pool:
  6d(4d6kh3)kh1                      the best of six ability scores
  --at-least 2 'largest_count(5d6)'  two or more alike among five dice
  '6d(4d6kh3)=18'                    how many of six scores are 18

Options:
  --csv            one table: total (or label), then outcomes and percent
                   for each EXPR
  --tsv            the same table with tabs
  --json           one JSON document: every total's (or label's) outcomes,
                   fraction and percent, and the statistics, for each EXPR;
                   with a range below, that chance alone
  --versus         the chance that each EXPR's total beats, ties with and
                   loses to each later one's, for two or more EXPR
  --at-least T     only the chance of a total of T or more
  --at-most T      only the chance of a total of T or less
  --between A B    only the chance of a total from A to B (A <= B)
  --file FILE      the rolls of a .rolls file from Compare Rolls, as if
                   given here, one EXPR a line; its target asks for the
                   chance of the target alone (at least T as --at-least T,
                   at most T as --at-most T, exactly T as --between T T)
                   unless a range or --versus is given here
  -h, --help       show this help and exit
  --version        show the version and exit
An option's value may also follow an equals sign: --at-least=15.
With several EXPR, each chance is labelled with its EXPR, or, with --csv or
--tsv, written as a table of expression and percent.
Only one of --csv, --tsv and --json may be given. Counts and percents in
JSON are strings, so that no reader rounds them.
Where no die explodes or rerolls, the outcomes are the equally likely
throws; otherwise "weights out of N" names a common denominator, and the
tables' counts are weights. The text lists the totals that can come, and an
unbounded roll up to its last total that shows a digit.
On a terminal, a count that takes more than a second says so on standard
error until it ends; Ctrl+C stops it.

Exit status: 0 on success, 2 for a bad expression or usage, 1 when the
output cannot be written.
)";
}

struct UsageError {
    std::string what;
};

std::int64_t Total(std::string_view text)
{
    std::string_view digits = text;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    std::int64_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool whole = !digits.empty() && result.ptr == digits.data() + digits.size();
    if (whole && result.ec == std::errc::result_out_of_range) {
        throw UsageError { "'" + std::string(text) + "' is a whole number out of range (" + std::to_string(INT64_MIN)
            + " to " + std::to_string(INT64_MAX) + ")" };
    }
    if (!whole || result.ec != std::errc())
        throw UsageError { "'" + std::string(text) + "' is not a whole number" };
    return value;
}

// The set of rolls in a .rolls file; its rolls go where --file stood.
compare::RollSet ReadSetFile(const std::string &path)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code))
        throw UsageError { "cannot read " + path + ": it is a directory" };
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        throw UsageError { "cannot read " + path + ": " + std::strerror(errno) };
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        throw UsageError { "cannot read " + path };
    try {
        return compare::ReadRollSet(text.str());
    } catch (const compare::RollSetError &error) {
        throw UsageError { path + ": " + error.what() };
    }
}

Request ReadArguments(int argc, char **argv)
{
    Request request;
    bool range = false;
    std::optional<compare::Target> fileTarget;
    bool fileRead = false;
    bool options = true;
    std::string format; // the output format's option, once given
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!options || argument.substr(0, 2) != "--") {
            request.expressions.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            options = false;
            continue;
        }
        // --name=value stands for --name value; a second value, where one
        // is needed, still follows as its own argument.
        const std::size_t equals = argument.find('=');
        const std::string name(argument.substr(0, equals));
        std::optional<std::string_view> attached;
        if (equals != std::string_view::npos)
            attached = argument.substr(equals + 1);
        const auto totals = [&](std::size_t count) {
            std::vector<std::int64_t> values;
            if (attached)
                values.push_back(Total(*attached));
            while (values.size() < count) {
                if (i + 1 >= argc)
                    throw UsageError { name + " needs " + (count == 1 ? "a total" : "two totals") };
                values.push_back(Total(argv[++i]));
            }
            return values;
        };
        if (name == "--csv" || name == "--tsv" || name == "--json" || name == "--versus" || name == "--help"
            || name == "--version") {
            if (attached)
                throw UsageError { name + " takes no value" };
            if (name == "--versus") {
                request.versus = true;
            } else if (name == "--csv" || name == "--tsv" || name == "--json") {
                if (!format.empty() && format != name)
                    throw UsageError { format + " and " + name
                        + " cannot be given together: choose one output format" };
                format = name;
                request.layout = name == "--csv" ? Layout::Csv : name == "--tsv" ? Layout::Tsv : Layout::Json;
            }
        } else if (name == "--at-least" || name == "--at-most" || name == "--between") {
            if (range)
                throw UsageError { "only one of --at-least, --at-most and --between may be given" };
            range = true;
            request.range = name;
            request.first = INT64_MIN;
            request.last = INT64_MAX;
            if (name == "--at-least") {
                request.first = totals(1)[0];
            } else if (name == "--at-most") {
                request.last = totals(1)[0];
            } else {
                const std::vector<std::int64_t> values = totals(2);
                if (values[0] > values[1]) {
                    throw UsageError { "--between " + std::to_string(values[0]) + " " + std::to_string(values[1])
                        + ": the first total is greater than the second" };
                }
                request.first = values[0];
                request.last = values[1];
            }
        } else if (name == "--file") {
            if (fileRead)
                throw UsageError { "--file may be given once" };
            if (!attached && i + 1 >= argc)
                throw UsageError { "--file needs a file" };
            const compare::RollSet set = ReadSetFile(std::string(attached ? *attached : argv[++i]));
            fileRead = true;
            fileTarget = set.target;
            request.expressions.insert(request.expressions.end(), set.rolls.begin(), set.rolls.end());
        } else {
            throw UsageError { "unknown option " + name };
        }
    }
    // What the command line asks for itself comes before the file's target.
    if (fileTarget && !range && !request.versus) {
        request.range = "the target of --file";
        request.first = INT64_MIN;
        request.last = INT64_MAX;
        if (fileTarget->sense == compare::View::AtLeast) {
            request.first = fileTarget->total;
        } else if (fileTarget->sense == compare::View::AtMost) {
            request.last = fileTarget->total;
        } else {
            request.first = fileTarget->total;
            request.last = fileTarget->total;
        }
    }
    if (request.expressions.empty())
        throw UsageError { "no expression given" };
    if (range && request.versus)
        throw UsageError { "--versus cannot be given with --at-least, --at-most or --between" };
    if (request.versus && request.expressions.size() < 2)
        throw UsageError { "--versus needs at least two expressions" };
    return request;
}

// A usage error's message, and the status that ends the program for it.
int Refuse(const std::string &why)
{
    std::fprintf(
        stderr, "%s: %s\nTry '%s --help' for more information.\n", program.data(), why.c_str(), program.data());
    return 2;
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
        if (argument == "--help" || argument == "-h")
            return Write(HelpText());
        if (argument == "--version")
            return Write(std::string(program) + " " PIPWRIGHT_VERSION "\n");
    }

    Request request;
    try {
        request = ReadArguments(argc, argv);
    } catch (const UsageError &error) {
        return Refuse(error.what);
    }

    cli::Progress progress(cli::ProgressDelay());
    std::vector<dice::Distribution> rolls;
    std::vector<dice::Expression> parsed;
    std::vector<std::string> notes;
    std::vector<bool> labelled;
    for (const std::string &expression : request.expressions) {
        progress.Counting(cli::Shortened(expression));
        try {
            parsed.push_back(dice::Parse(expression));
            // Said as soon as the roll is read, before it or any later one
            // is counted: a question can take long.
            const std::shared_ptr<const dice::Question> &question = parsed.back().question;
            labelled.push_back(question && question->root.gives == dice::Gives::Labels);
            if (const std::optional<std::string> why = cli::Refusal(request, labelled)) {
                progress.Clear();
                return Refuse(*why);
            }
            rolls.push_back(dice::Evaluate(parsed.back()));
            notes.push_back(dice::ExplodeNote(parsed.back()));
        } catch (const dice::ParseError &error) {
            progress.Clear();
            std::fprintf(stderr, "%s\n", dice::ErrorText(expression, error).c_str());
            return 2;
        }
    }
    // A roll listed farther than asked moves the farthest listing on, which
    // the others then follow; in practice one round settles it.
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t i = 0; i < rolls.size(); ++i) {
            const std::optional<std::int64_t> through = cli::Through(request, rolls, i);
            if (!through)
                continue;
            const dice::Distribution &roll = rolls[i];
            const std::int64_t reach = cli::Reach(roll);
            if (*through - roll.Highest() > reach) {
                progress.Clear();
                std::fprintf(stderr,
                    "%s: %s: totals more than %lld past its last listed total %lld are not counted\n",
                    program.data(),
                    request.expressions[i].c_str(),
                    static_cast<long long>(reach),
                    static_cast<long long>(roll.Highest()));
                return 2;
            }
            progress.Counting(cli::Shortened(request.expressions[i]) + " through " + std::to_string(*through));
            rolls[i] = dice::Evaluate(parsed[i], {}, *through);
            moved = true;
        }
    }
    if (request.versus)
        progress.Counting("each roll against each");
    std::string output = cli::Output(request, rolls, notes);
    progress.Clear();
    return Write(output);
}
