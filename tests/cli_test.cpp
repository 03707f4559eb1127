// Runs the built pipwright-cli as a script would, through the shell.
#include "dice/limits.h"
#include "dice/text/text.h"
#include "numtext/results.h"
#include "rollstats/outcomes.h"
#include "rollstats/rollstats.h"

#include <gmpxx.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace
{

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A shell command line: what comes before the program, then its arguments,
// which may add redirections and pipes of their own.
Finished Cli(const std::string &arguments, const std::string &before = "")
{
    // CTest runs the cases of this file side by side: each has files of its own.
    const std::string base = ::testing::TempDir() + "pipwright_cli_"
        + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + std::to_string(getpid());
    const std::string command =
        "{ " + before + " '" PIPWRIGHT_CLI "' " + arguments + "; } >'" + base + ".out' 2>'" + base + ".err'";
    Finished run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(base + ".out");
    run.err = Slurp(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return run;
}

std::vector<std::vector<std::string>> CsvRows(const std::string &text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            fields.push_back(cell);
        rows.push_back(fields);
    }
    return rows;
}

std::string Reduced(const std::string &part, const std::string &whole)
{
    mpq_class share { mpz_class(part), mpz_class(whole) };
    share.canonicalize();
    return share.get_num().get_str() + "/" + share.get_den().get_str();
}

struct Screen {
    int status = -1; // as waitpid gives it
    std::string text; // every byte the program wrote to its terminal
};

// The program on a terminal of its own, its progress line shown at once;
// Ctrl+C is typed once that line appears, where `interrupt` says so.
Screen OnTerminal(const std::string &roll, bool interrupt)
{
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        termios modes {};
        tcgetattr(STDIN_FILENO, &modes);
        modes.c_oflag &= ~static_cast<tcflag_t>(OPOST); // line ends as written
        tcsetattr(STDIN_FILENO, TCSANOW, &modes);
        setenv("PIPWRIGHT_PROGRESS_AFTER_MS", "0", 1);
        execl(PIPWRIGHT_CLI, PIPWRIGHT_CLI, roll.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    Screen screen;
    bool typed = false;
    for (int waited = 0; waited < 600; ++waited) {
        pollfd ready { terminal, POLLIN, 0 };
        if (poll(&ready, 1, 100) == 0)
            continue;
        char bytes[4096];
        const ssize_t got = read(terminal, bytes, sizeof bytes);
        if (got <= 0)
            break; // the program has ended and closed its terminal
        screen.text.append(bytes, static_cast<std::size_t>(got));
        if (interrupt && !typed && screen.text.find("counting ") != std::string::npos) {
            typed = write(terminal, "\x03", 1) == 1;
        }
    }
    kill(child, SIGKILL); // in case it hangs: the test then fails, not CTest
    waitpid(child, &screen.status, 0);
    close(terminal);
    return screen;
}

} // namespace

TEST(Cli, LinesOfWindowRollsAreTheWindowsTableLines)
{
    using namespace rollstats;
    for (const int sides : { 2, 3, 4, 5, 6, 8, 10, 12, 20, 30, 100 }) {
        for (const int dice : { 1, 2, 7, 10, 20 }) {
            for (const int modifier : { 0, -32768, 32767, -(dice * (sides + 1)) / 2 }) {
                Sides = static_cast<std::int16_t>(sides);
                Modifier = static_cast<std::int16_t>(modifier);
                SeedRollState();
                BuildDistribution(static_cast<std::int16_t>(dice));
                ComputeTotalOutcomes(dice);
                if (TotalOutcomes >= 0x1p53)
                    continue;
                std::string table;
                for (std::int32_t t = dice; t <= dice * sides; ++t)
                    table += numtext::TableLine(t + modifier, OutcomesOfFaceTotal(t, dice), TotalOutcomes) + "\n";

                const std::string roll = std::to_string(dice) + "d" + std::to_string(sides) + (modifier < 0 ? "" : "+")
                    + std::to_string(modifier);
                const Finished run = Cli(roll);
                ASSERT_EQ(run.status, 0) << roll << run.err;
                const std::size_t first = run.out.find('\n') + 1;
                EXPECT_EQ(run.out.substr(first, table.size()), table) << roll;
            }
        }
    }
}

TEST(Cli, TablesAndRangesPrintExactly)
{
    const struct {
        const char *arguments;
        const char *out;
    } cases[] = {
        { "--csv 1d2 1d4-1",
            "total,1d2 outcomes,1d2 percent,1d4-1 outcomes,1d4-1 percent\n"
            "0,0,0,1,25.000000000000000\n"
            "1,1,50.000000000000000,1,25.000000000000000\n"
            "2,1,50.000000000000000,1,25.000000000000000\n"
            "3,0,0,1,25.000000000000000\n" },
        { "--tsv 3d6kh1",
            "total\toutcomes\tpercent\n1\t1\t0.46296296296296296\n2\t7\t3.2407407407407407\n"
            "3\t19\t8.7962962962962963\n4\t37\t17.129629629629630\n5\t61\t28.240740740740741\n"
            "6\t91\t42.129629629629630\n" },
        { "--at-least 4 1d6", "50.000000000%\n" },
        { "--at-most 1 1d6 1d4", "1d6: 16.666666667%\n1d4: 25.000000000%\n" },
        { "--csv --between 2 3 2d6", "8.3333333333333333\n" },
        { "-- -1d6+7", nullptr },
    };
    for (const auto &[arguments, out] : cases) {
        const Finished run = Cli(arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_EQ(run.err, "") << arguments;
        if (out != nullptr) {
            EXPECT_EQ(run.out, out) << arguments;
        }
    }
}

// 1d4! is 4K + R, K geometric with ratio 1/4 and R even on 1 to 3, so
// P(1d4! > 4k + r) = (4 - r) / 4^(k + 1): the first total with less than
// 10^-15 above it is 99, and 1 / 4^25 lies above it.
// The text is for people: it leaves out totals that cannot come and ends an
// unbounded roll at its last total that shows a digit, the line above it
// holding the rest. Tables keep every total, for spreadsheets.
TEST(Cli, UnboundedRollsEndWithTheirRemainder)
{
    const struct {
        const char *arguments;
        std::vector<const char *> lines;
        std::vector<const char *> absent = {};
    } cases[] = {
        { "'1d4!'",
            { "1d4!: weights out of 1125899906842624",
                "P(1) = 25.000000000%",
                "P(5) = 6.250000000%",
                "P(71) = 0.000000001%",
                "P(>71) = 0.000000001%",
                "Highest: unbounded",
                "Mean: 3.333333333 (10/3)" },
            { "P(4) = 0.000000000%", "P(73) = 0.000000000%", "P(99) = 0.000000000%", "P(>99) = 0.000000000%" } },
        { "--csv '1d4!'",
            { "total,weights,percent", "4,0,0", "99,1,8.8817841970012523e-14", ">99,1,8.8817841970012523e-14" } },
        { "--csv '1d4!' 1d2", { "99,1,8.8817841970012523e-14,0,0", ">99,1,8.8817841970012523e-14,0,0" } },
        { "--at-least 100 --csv '1d4!'", { "8.8817841970012523e-14" } },
        { "--at-least 101 --csv '1d4!'", { "8.8817841970012523e-14" } },
        { "--between 98 99 --csv '1d4!'", { "1.7763568394002505e-13" } },
        { "--at-most 99 '1d4!'", { "100.000000000%" } },
        { "'1d6r=1'", { "1d6r=1: weights out of 5", "P(2) = 20.000000000%", "Highest: 6" } },
        { "'2d6ro<2'", { "2d6ro<2: weights out of 1296", "Mean: 7.833333333 (47/6)" } },
        { "'2*1d6'",
            { "2*1d6: 6 outcomes", "P(2) = 16.666666667%", "P(12) = 16.666666667%" },
            { "P(3) = 0.000000000%" } },
        { "--csv '2*1d6'", { "3,0,0" } },
        // Sixes explode and fives and sixes count is 12d6!=6>=5; what was
        // typed explodes on fives too, which the first line says.
        { "'12d6!>=5'", {}, { "12d6!>=5: weights" } },
        { "'12d6!=6>=5'", { "P(0) = 0.770734663%" } },
        { "'1d6!>=5+1d8!>=7'", {} },
    };
    for (const auto &[arguments, lines, absent] : cases) {
        const Finished run = Cli(arguments);
        EXPECT_EQ(run.status, 0) << arguments << run.err;
        std::string out = "\n";
        out += run.out;
        for (const char *line : lines) {
            std::string wanted = "\n";
            wanted += line;
            wanted += '\n';
            EXPECT_NE(out.find(wanted), std::string::npos) << arguments << ": " << line;
        }
        for (const char *line : absent) {
            EXPECT_EQ(out.find(std::string("\n") + line + "\n"), std::string::npos) << arguments << ": " << line;
        }
    }
    const std::string first = [](const std::string &out) { return out.substr(0, out.find('\n')); }(
                                  Cli("'12d6!>=5'").out);
    EXPECT_EQ(first.substr(first.rfind(',')), ", explodes on 5 or more");
    EXPECT_NE(Cli("'1d6!>=5+1d8!>=7'").out.find(", 1d6 explodes on 5 or more; 1d8 explodes on 7 or more\n"),
        std::string::npos);
    EXPECT_EQ(Cli("'1d6!+2d8!>7'").out.find("explodes"), std::string::npos);
}

// A chance of a range is one answer in every format, exact however far past
// an unbounded roll's listing it lies. 1d4! above 4k + r, r from 1 to 3,
// is (4 - r) / 4^(k + 1), as the test above has it.
TEST(Cli, EveryFormatGivesTheSameChance)
{
    using nlohmann::json;
    for (const long first : { 100L, 101L, 236L, 300L, 2000L, 10099L }) {
        long k = (first - 1) / 4;
        long r = (first - 1) % 4;
        if (r == 0)
            r = 4, --k; // 4k is no total: above it is above 4(k - 1) + 3
        mpz_class power;
        mpz_ui_pow_ui(power.get_mpz_t(), 4, static_cast<unsigned long>(k + 1));
        mpq_class exact(4 - std::min(r, 3L), power);
        exact.canonicalize();
        const std::string at = "--at-least " + std::to_string(first) + " '1d4!'";
        const Finished text = Cli(at);
        const Finished csv = Cli("--csv " + at);
        const Finished document = Cli("--json " + at);
        ASSERT_EQ(text.status + csv.status + document.status, 0) << at << csv.err << document.err;
        const std::string percent = dice::SignificantPercent(exact.get_num(), exact.get_den(), 17);
        EXPECT_EQ(text.out, dice::TablePercent(exact.get_num(), exact.get_den()) + "\n") << at;
        EXPECT_EQ(csv.out, percent + "\n") << at;
        const json chance = json::parse(document.out).at("rolls").at(0).at("chance");
        EXPECT_EQ(chance.at("fraction"), exact.get_num().get_str() + "/" + exact.get_den().get_str()) << at;
        EXPECT_EQ(chance.at("percent"), percent) << at;
    }
    const json both = json::parse(Cli("--json --between 3 5 1d20 '1d6r=1'").out);
    EXPECT_EQ(both.at("range"), json({ { "from", 3 }, { "to", 5 } }));
    EXPECT_EQ(both.at("rolls").at(0),
        json({ { "expression", "1d20" },
            { "outcomes", "20" },
            { "chance", { { "outcomes", "3" }, { "fraction", "3/20" }, { "percent", "15.000000000000000" } } } }));
    EXPECT_EQ(both["rolls"].at(1).at("chance").at("weights"), "3");
    const json high = json::parse(Cli("--json --at-most 4 1d6").out);
    EXPECT_EQ(high.at("range"), json({ { "from", nullptr }, { "to", 4 } }));
}

TEST(Cli, ExitStatusSaysWhatWentWrong)
{
    const struct {
        const char *before;
        const char *arguments;
        int status;
        const char *err; // a part of the message on standard error
        bool out; // whether anything goes to standard output
    } cases[] = {
        { "", "4d6kh3", 0, "", true },
        { "", "--version", 0, "", true },
        { "", "--help", 0, "", true },
        { "", "2d20kh3", 2, "2d20kh3: cannot keep 3 of 2 dice\n      ^\n", false },
        { "", "1d6 1d6^2", 2, "1d6^2: '^' is not an operator", false },
        { "", "", 2, "no expression", false },
        { "", "--bogus 1d6", 2, "unknown option --bogus", false },
        { "", "1d6 --at-least", 2, "--at-least needs a total", false },
        { "", "--at-most x 1d6", 2, "'x' is not a whole number", false },
        { "", "--at-most 1 --at-least 2 1d6", 2, "only one of", false },
        { "", "--versus 1d6", 2, "--versus needs at least two expressions", false },
        { "", "--versus --at-least 3 1d6 1d8", 2, "--versus cannot be given with --at-least", false },
        { "", "--json --between 1 2 1d6", 0, "", true },
        { "", "--csv 1d6 --json", 2, "--csv and --json cannot be given together", false },
        { "", "--tsv --tsv 1d6", 0, "", true },
        { "", "--versus=1 1d6 1d8", 2, "--versus takes no value", false },
        { "", "--versus 1d6! 1d100+1000", 0, "", true },
        { "",
            "--versus 1d6! 1d100+20000",
            2,
            "totals more than 10000 past its last listed total 117 are not counted",
            false },
        // No progress line where standard error is no terminal, however long.
        { "PIPWRIGHT_PROGRESS_AFTER_MS=0", "'10d10!!kh5'", 0, "", true },
        { "", "100d100 >/dev/full", 1, "cannot write the output", false },
        // A reader that stops early: the program dies of SIGPIPE or, with the
        // signal ignored, sees EPIPE; either way it says nothing. The status
        // is the reader's.
        { "", "100d1000 | head -c 1", 0, "", true },
        { "trap '' PIPE;", "100d1000 | head -c 1", 0, "", true },
    };
    for (const auto &[before, arguments, status, err, out] : cases) {
        const Finished run = Cli(arguments, before);
        EXPECT_EQ(run.status, status) << arguments;
        EXPECT_NE(run.err.find(err), std::string::npos) << arguments << ": " << run.err;
        if (*err == '\0') {
            EXPECT_EQ(run.err, "") << arguments;
        }
        EXPECT_EQ(!run.out.empty(), out) << arguments;
    }
    EXPECT_EQ(Cli("--version").out, "pipwright-cli " PIPWRIGHT_VERSION "\n");
}

// A person at a terminal is told what is being counted while it takes long;
// the line is gone before the answer, which is as a script reads it, and
// Ctrl+C clears it and ends the program at once, killed by the signal.
TEST(Cli, ProgressLineOnATerminalOnly)
{
    const Screen answered = OnTerminal("100d100!!kh50", false);
    ASSERT_TRUE(WIFEXITED(answered.status) && WEXITSTATUS(answered.status) == 0) << answered.text;
    EXPECT_EQ(answered.text.find("\r\033[Kcounting 100d100!!kh50... "), 0u) << answered.text;
    const std::size_t cleared = answered.text.rfind("\r\033[K");
    ASSERT_NE(cleared, std::string::npos);
    EXPECT_EQ(answered.text.substr(cleared + 4), Cli("'100d100!!kh50'").out);

    const Screen stopped = OnTerminal("100d2!!kh1", true);
    ASSERT_TRUE(WIFSIGNALED(stopped.status)) << stopped.text;
    EXPECT_EQ(WTERMSIG(stopped.status), SIGINT);
    EXPECT_NE(stopped.text.find("counting 100d2!!kh1"), std::string::npos);
    ASSERT_GE(stopped.text.size(), 4u);
    EXPECT_EQ(stopped.text.substr(stopped.text.size() - 4), "\r\033[K") << stopped.text;
}

// What a newcomer types, with the exact output and exit status of each.
TEST(Cli, UsagePeopleTypeIsReadOrExplained)
{
    const std::string usage = "Try 'pipwright-cli --help' for more information.\n";
    const struct {
        std::string arguments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        { "--at-least 15 2d20kh1+5 1d20+5 4d6kh3 3d6",
            0,
            "2d20kh1+5: 79.750000000%\n1d20+5: 55.000000000%\n4d6kh3: 23.148148148%\n3d6: 9.259259259%\n",
            "" },
        { "--csv --at-least 15 2d20kh1+5 1d20+5",
            0,
            "expression,percent\n2d20kh1+5,79.750000000000000\n1d20+5,55.000000000000000\n",
            "" },
        { "--tsv --at-most=2 '1d6 + 1' 1d4",
            0,
            "expression\tpercent\n1d6 + 1\t16.666666666666667\n1d4\t50.000000000000000\n",
            "" },
        { "--at-least 15 2d20kh1+5", 0, "79.750000000%\n", "" },
        { "--csv --at-least=15 2d20kh1+5", 0, "79.750000000000000\n", "" },
        { "--at-least=-5 1d6-9", 0, "50.000000000%\n", "" },
        { "--between=2 3 2d6", 0, "8.333333333%\n", "" },
        { "--between 15 10 3d6",
            2,
            "",
            "pipwright-cli: --between 15 10: the first total is greater than the second\n" + usage },
        { "--csv=yes 1d6", 2, "", "pipwright-cli: --csv takes no value\n" + usage },
        { "--at-least= 1d6", 2, "", "pipwright-cli: '' is not a whole number\n" + usage },
        { "5",
            0,
            "5: 1 outcome\nP(5) = 100.000000000%\nLowest: 5\nHighest: 5\nMean: 5.000000000\n"
            "Standard deviation: 0.000000000\nMost likely: 5\n",
            "" },
        { "--at-least 4 4d6d1 4d6kh3", 0, "4d6d1: 99.922839506%\n4d6kh3: 99.922839506%\n", "" },
        { "1d6x2", 2, "", "1d6x2: 'x' is not an operator: multiply with '*'\n   ^\n" },
        { "2d20adv", 2, "", "2d20adv: 'adv' is not a modifier: type 2d20kh1\n    ^\n" },
        { "2d20dis+3", 2, "", "2d20dis+3: 'dis' is not a modifier: type 2d20kl1\n    ^\n" },
        { "'1d20 \xe2\x88\x92 1'", 2, "", "1d20 \xe2\x88\x92 1: character U+2212 MINUS SIGN: type '-'\n     ^\n" },
        { "'2d6\xe2\x80\x93"
          "1'",
            2,
            "",
            "2d6\xe2\x80\x93"
            "1: character U+2013 EN DASH: type '-'\n   ^\n" },
        { "'3d6\xc2\xa0+\xc2\xa0"
          "2'",
            2,
            "",
            "3d6\xc2\xa0+\xc2\xa0"
            "2: character U+00A0 NO-BREAK SPACE: type a space\n   ^\n" },
        { "'\xef\xbc\x92"
          "d6'",
            2,
            "",
            "\xef\xbc\x92"
            "d6: character U+FF12 FULLWIDTH DIGIT TWO: type '2'\n^\n" },
        { "'\xc3\xa9"
          "1d6+1d6X'",
            2,
            "",
            "\xc3\xa9"
            "1d6+1d6X: character U+00E9: only ASCII characters belong in an expression\n^\n" },
        { "\"$(printf '1d6\\t+\\t2')\"", 0, "", "" },
        // Thousands of characters: the echo shows the 60 columns before the
        // error and marks the cut.
        { "\"1d6+$(printf '%2000s' '')2Q\"",
            2,
            "",
            "..." + std::string(58, ' ') + "2Q: unexpected 'Q': expected '+', '-' or '*'\n" + std::string(62, ' ')
                + "^\n" },
    };
    for (const auto &[arguments, status, out, err] : cases) {
        const Finished run = Cli(arguments);
        EXPECT_EQ(run.status, status) << arguments;
        EXPECT_EQ(run.err, err) << arguments;
        if (!out.empty() || status != 0) {
            EXPECT_EQ(run.out, out) << arguments;
        }
    }
    EXPECT_EQ(Cli("-h").out, Cli("--help").out);
    EXPECT_NE(Cli("-h").out.find("-h, --help"), std::string::npos);
    const Finished tab = Cli("\"$(printf '1d6\\t+\\t2')\"");
    EXPECT_EQ(tab.out.substr(tab.out.find('\n')), Cli("1d6+2").out.substr(Cli("1d6+2").out.find('\n')));
}

// What an error tells to type runs as it stands, quotes and all: a shell
// would read the brackets and '!' of a roll left bare.
TEST(Cli, CommandsErrorsSuggestRun)
{
    const std::pair<std::string, std::string> cases[] = {
        { "'(1d20) vs {1d6,1d6}kh1'", "" },
        { "'d20! > d20'", "" },
        { "'2d20kh1 + 5 > 15'", " '2d20kh1+5'" },
    };
    for (const auto &[typed, expression] : cases) {
        const Finished refused = Cli(typed);
        EXPECT_EQ(refused.status, 2) << typed;
        const std::string line = refused.err.substr(0, refused.err.find('\n'));
        const std::string lead = expression.empty() ? "pipwright-cli " : "option ";
        const std::size_t from = line.find(lead);
        ASSERT_NE(from, std::string::npos) << line;
        const std::string suggested = line.substr(from + lead.size()) + expression;
        const Finished run = Cli(suggested);
        EXPECT_EQ(run.status, 0) << suggested << ": " << run.err;
        EXPECT_FALSE(run.out.empty()) << suggested;
    }
}

// Fault: a total beyond 64 bits was said not to be a whole number.
TEST(Cli, TotalsBeyondSixtyFourBitsAreOutOfRange)
{
    for (const char *total : { "9223372036854775808", "-9223372036854775809", "+99999999999999999999" }) {
        for (const std::string &form : { std::string("--at-least ") + total, std::string("--at-most=") + total }) {
            const Finished run = Cli(form + " 1d6");
            EXPECT_EQ(run.status, 2) << form;
            EXPECT_EQ(run.err,
                "pipwright-cli: '" + std::string(total)
                    + "' is a whole number out of range (-9223372036854775808 to 9223372036854775807)\n"
                      "Try 'pipwright-cli --help' for more information.\n")
                << form;
        }
    }
    EXPECT_EQ(Cli("--at-least -9223372036854775808 1d6").out, "100.000000000%\n");
    EXPECT_EQ(Cli("--at-least +4 1d6").out, "50.000000000%\n");
}

// The help and the manual page describe the same options, and the manual
// page states the limits the parser enforces.
TEST(Cli, HelpAndManualPageAgree)
{
    const std::string help = Cli("--help").out;
    std::string manual = Slurp(PIPWRIGHT_CLI_MANUAL);
    ASSERT_FALSE(manual.empty());
    EXPECT_EQ(manual.find('@'), std::string::npos) << "a value the build did not fill in";
    // Unescaped, the page's "\-\-at\-least" reads "--at-least".
    for (std::size_t at = manual.find("\\-"); at != std::string::npos; at = manual.find("\\-", at))
        manual.erase(at, 1);
    std::vector<std::string> options;
    for (std::size_t at = help.find("\n  -"); at != std::string::npos; at = help.find("\n  -", at + 1)) {
        const std::string line = help.substr(at + 3, help.find('\n', at + 1) - at - 3);
        for (std::size_t start = 0; start < line.size() && line[start] == '-';) {
            const std::size_t end = line.find_first_of(", ", start);
            options.push_back(line.substr(start, end - start));
            start = line.find('-', end);
            if (line.compare(end, 2, ", ") != 0)
                break;
        }
    }
    EXPECT_GE(options.size(), 8u) << help;
    // An option as a word of its own: "-h" is not found inside "--help".
    const auto named = [&manual](const std::string &option) {
        const auto part = [](char c) { return c == '-' || (c >= 'a' && c <= 'z'); };
        for (std::size_t at = manual.find(option); at != std::string::npos; at = manual.find(option, at + 1)) {
            const std::size_t end = at + option.size();
            if ((at == 0 || !part(manual[at - 1])) && (end == manual.size() || !part(manual[end])))
                return true;
        }
        return false;
    };
    for (const std::string &option : options)
        EXPECT_TRUE(named(option)) << option << " is not in the manual page";
    using std::to_string;
    const std::string limits[] = {
        "dice (" + to_string(dice::minDice) + " to " + to_string(dice::maxDice) + ";",
        "sides (" + to_string(dice::minSides) + " to " + to_string(dice::maxSides) + ")",
        "dice of at most " + to_string(dice::maxPickSides) + " sides",
        "from -" + to_string(dice::maxNumber) + " to " + to_string(dice::maxNumber) + ".",
        "at most " + to_string(dice::maxDice) + " dice and " + to_string(dice::maxTerms) + " terms",
    };
    for (const std::string &limit : limits)
        EXPECT_NE(manual.find(limit), std::string::npos) << limit;
    EXPECT_NE(help.find(limits[4]), std::string::npos) << help;
}

TEST(Cli, VersusGivesEachPairInOrderWithItsExactShares)
{
    const Finished run = Cli("--versus 2d20kh1+5 1d20+8 1d20+7");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
        "2d20kh1+5 vs 1d20+8: wins 49.300000000%, ties 4.887500000%, loses 45.812500000%\n"
        "  exactly 493/1000, 391/8000, 733/1600\n"
        "2d20kh1+5 vs 1d20+7: wins 54.187500000%, ties 4.950000000%, loses 40.862500000%\n"
        "  exactly 867/1600, 99/2000, 3269/8000\n"
        "1d20+8 vs 1d20+7: wins 52.500000000%, ties 4.750000000%, loses 42.750000000%\n"
        "  exactly 21/40, 19/400, 171/400\n");

    // An exploding roll against a bounded one is exact; two exploding rolls
    // leave only the pairs past both listings undecided, and say so.
    const std::vector<std::vector<std::string>> rows = CsvRows(Cli("--csv --versus 1d6! 1d4+2 1d6!").out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
        (std::vector<std::string> { "first",
            "second",
            "wins percent",
            "ties percent",
            "loses percent",
            "wins",
            "ties",
            "loses",
            "undecided" }));
    EXPECT_EQ(rows[1],
        (std::vector<std::string> { "1d6!",
            "1d4+2",
            "29.166666666666667",
            "12.500000000000000",
            "58.333333333333333",
            "7/24",
            "1/8",
            "7/12",
            "0/1" }));
    ASSERT_EQ(rows[2].size(), 9u);
    EXPECT_EQ(rows[2][2], rows[2][4]) << "a roll against itself wins as often as it loses";
    EXPECT_NE(rows[2][8], "0/1");
    ASSERT_EQ(rows[3].size(), 9u);
    EXPECT_EQ(rows[3][4], rows[1][2]) << "1d4+2 loses to 1d6! as often as 1d6! beats it";
    EXPECT_NE(Cli("--versus 1d6! 1d6!").out.find("; undecided "), std::string::npos);
}

// The JSON document read with a real parser, against the CSV table of the
// same roll: every count, fraction and percent, the remainder and the ends.
TEST(Cli, JsonAgreesWithTheCsvTable)
{
    using nlohmann::json;
    const std::vector<std::string> rolls = { "2d6", "4d6kh3-2", "1d6!", "3d10!!kh2", "8d10!=10>=8f1", "dF.1" };
    std::string arguments = "--json";
    for (const std::string &roll : rolls)
        arguments += " '" + roll + "'";
    const Finished run = Cli(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    const json document = json::parse(run.out);
    ASSERT_EQ(document.at("rolls").size(), rolls.size());
    for (std::size_t r = 0; r < rolls.size(); ++r) {
        const json &roll = document["rolls"][r];
        EXPECT_EQ(roll.at("expression"), rolls[r]);
        // Dice that explode or reroll have weights, not throws.
        const std::string unit = rolls[r].find_first_of("!r") == std::string::npos ? "outcomes" : "weights";
        const std::string outcomes = roll.at(unit);
        std::vector<std::vector<std::string>> csv = CsvRows(Cli("--csv '" + rolls[r] + "'").out);
        ASSERT_GE(csv.size(), 2u) << rolls[r];
        EXPECT_EQ(csv.front().at(1), unit) << rolls[r];
        csv.erase(csv.begin());
        const bool unbounded = csv.back()[0][0] == '>';
        EXPECT_EQ(roll.at("highest").is_null(), unbounded) << rolls[r];
        EXPECT_EQ(roll.at("remainder").is_null(), !unbounded) << rolls[r];
        if (unbounded) {
            const json &remainder = roll["remainder"];
            EXPECT_EQ(std::to_string(remainder.at("above").get<long long>()), csv.back()[0].substr(1));
            EXPECT_EQ(remainder.at(unit), csv.back()[1]);
            EXPECT_EQ(remainder.at("percent"), csv.back()[2]);
            EXPECT_EQ(remainder.at("fraction"), Reduced(csv.back()[1], outcomes));
            csv.pop_back();
        } else {
            EXPECT_EQ(std::to_string(roll["highest"].get<long long>()), csv.back()[0]);
        }
        EXPECT_EQ(std::to_string(roll.at("lowest").get<long long>()), csv.front()[0]);
        const json &totals = roll.at("totals");
        ASSERT_EQ(totals.size(), csv.size()) << rolls[r];
        mpz_class sum(unbounded ? roll["remainder"][unit].get<std::string>() : "0");
        for (std::size_t i = 0; i < csv.size(); ++i) {
            const json &total = totals[i];
            EXPECT_EQ(std::to_string(total.at("total").get<long long>()), csv[i][0]) << rolls[r];
            EXPECT_EQ(total.at(unit), csv[i][1]) << rolls[r] << " " << csv[i][0];
            EXPECT_EQ(total.at("percent"), csv[i][2]) << rolls[r] << " " << csv[i][0];
            EXPECT_EQ(total.at("fraction"), Reduced(csv[i][1], outcomes)) << rolls[r] << " " << csv[i][0];
            sum += mpz_class(total[unit].get<std::string>());
        }
        EXPECT_EQ(sum, mpz_class(outcomes)) << rolls[r];
        // The statistics as the text output writes them.
        const std::string text = Cli("'" + rolls[r] + "'").out;
        const json &statistics = roll.at("statistics");
        EXPECT_NE(text.find("Mean: " + statistics.at("meanDecimal").get<std::string>()), std::string::npos);
        EXPECT_NE(text.find("Standard deviation: " + statistics.at("standardDeviation").get<std::string>() + "\n"),
            std::string::npos);
    }
    const json &first = document["rolls"][0]["statistics"];
    EXPECT_EQ(first.at("mean"), "7/1");
    EXPECT_EQ(first.at("variance"), "35/6");
    EXPECT_EQ(first.at("mostLikely"), json::array({ 7 }));

    // The pairs, against their CSV rows.
    const json pairs = json::parse(Cli("--json --versus 2d20kh1+5 1d20+8 1d6!").out).at("pairs");
    const std::vector<std::vector<std::string>> rows = CsvRows(Cli("--csv --versus 2d20kh1+5 1d20+8 1d6!").out);
    ASSERT_EQ(pairs.size(), 3u);
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const json &pair = pairs[i];
        const std::vector<std::string> &row = rows[i + 1];
        ASSERT_EQ(row.size(), 9u);
        EXPECT_EQ(pair.at("first"), row[0]);
        EXPECT_EQ(pair.at("second"), row[1]);
        const char *shares[] = { "wins", "ties", "loses" };
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(pair.at(shares[k]).at("percent"), row[2 + k]) << row[0] << " " << shares[k];
            EXPECT_EQ(pair.at(shares[k]).at("fraction"), row[5 + k]) << row[0] << " " << shares[k];
        }
        EXPECT_TRUE(pair.at("undecided").is_null());
    }
}

// A roll of labels in every form, and every option that labels cannot
// answer refused with why. PbtA's 2d6+1 scores 10 or more when 2d6 shows 9
// to 12 (10 throws of 36), 7 to 9 on 6 to 8 (16) and misses on 2 to 5 (10).
TEST(Cli, RollsOfLabelsAreWrittenByLabelInTheOrderWritten)
{
    const std::string pbta =
        R"('let t = 2d6+1 in if t >= 10 then "strong hit" else if t >= 7 then "weak hit" else "miss"')";
    const std::string named = R"('let t = 2d6+1 in if t >= 10 then "str...')";
    // Each 1d2 is a roll of its own: a tie, a label that cannot come and
    // one that holds a comma. Rerolled dice weigh their throws.
    const std::string tie = R"('if 1d2 = 1 then "hit, twice" else if 1d2 > 2 then "never" else "hit"')";
    const std::string usage = "\nTry 'pipwright-cli --help' for more information.\n";
    const struct {
        std::string arguments;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        { pbta,
            0,
            pbta.substr(1, pbta.size() - 2)
                + ": 36 outcomes\nP(strong hit) = 27.777777778%\nP(weak hit) = 44.444444444%\n"
                  "P(miss) = 27.777777778%\nMost likely: weak hit\n",
            "" },
        { "--csv " + pbta,
            0,
            "label,outcomes,percent\nstrong hit,10,27.777777777777778\nweak hit,16,44.444444444444444\n"
            "miss,10,27.777777777777778\n",
            "" },
        { "--tsv " + pbta,
            0,
            "label\toutcomes\tpercent\nstrong hit\t10\t27.777777777777778\nweak hit\t16\t44.444444444444444\n"
            "miss\t10\t27.777777777777778\n",
            "" },
        { tie,
            0,
            tie.substr(1, tie.size() - 2)
                + ": 4 outcomes\nP(hit, twice) = 50.000000000%\nP(never) = 0.000000000%\nP(hit) = 50.000000000%\n"
                  "Most likely: hit, twice, hit\n",
            "" },
        { R"(--csv --  'if 2d6r1 >= 8 then "a" else "b"' 'if 1d2 = 1 then "b" else "c"')",
            0,
            "label,\"if 2d6r1 >= 8 then \"\"a\"\" else \"\"b\"\" weights\",\"if 2d6r1 >= 8 then \"\"a\"\" else "
            "\"\"b\"\" "
            "percent\",\"if 1d2 = 1 then \"\"b\"\" else \"\"c\"\" outcomes\",\"if 1d2 = 1 then \"\"b\"\" else "
            "\"\"c\"\" percent\"\na,3,60.000000000000000,0,0\nb,2,40.000000000000000,1,50.000000000000000\n"
            "c,0,0,1,50.000000000000000\n",
            "" },
        { "--at-least 10 " + pbta,
            2,
            "",
            "pipwright-cli: --at-least counts totals, but " + named + " gives labels, which have no order to count from"
                + usage },
        { "--at-most=3 " + pbta, 2, "", "pipwright-cli: --at-most counts totals, but " + named + " gives" },
        { "--between 1 2 " + pbta, 2, "", "pipwright-cli: --between counts totals, but " + named + " gives" },
        { "--json --versus 2d6 " + pbta,
            2,
            "",
            "pipwright-cli: --versus sets totals against each other, but " + named
                + " gives labels, which are neither higher nor lower than another roll's" + usage },
        { "--csv " + pbta + " 2d6",
            2,
            "",
            "pipwright-cli: --csv cannot put labels and totals in one table (" + named
                + " gives labels, '2d6' totals): give them in separate runs" + usage },
        { "--tsv 1d6 " + pbta, 2, "", "pipwright-cli: --tsv cannot put labels and totals in one table (" + named },
    };
    for (const auto &[arguments, status, out, err] : cases) {
        const Finished run = Cli(arguments);
        EXPECT_EQ(run.status, status) << arguments;
        EXPECT_EQ(run.out, out) << arguments;
        EXPECT_EQ(run.err.substr(0, err.size()), err) << arguments;
        EXPECT_EQ(run.err.size() > err.size(), status == 2 && err.back() != '\n') << arguments << run.err;
    }

    using nlohmann::json;
    const Finished document = Cli("--json " + pbta + " 1d2");
    ASSERT_EQ(document.status, 0) << document.err;
    const json rolls = json::parse(document.out).at("rolls");
    json pbtaRoll = json::parse(R"({"outcomes": "36", "labels": [
            {"label": "strong hit", "outcomes": "10", "fraction": "5/18", "percent": "27.777777777777778"},
            {"label": "weak hit", "outcomes": "16", "fraction": "4/9", "percent": "44.444444444444444"},
            {"label": "miss", "outcomes": "10", "fraction": "5/18", "percent": "27.777777777777778"}],
            "mostLikely": ["weak hit"]})");
    pbtaRoll["expression"] = pbta.substr(1, pbta.size() - 2);
    EXPECT_EQ(rolls.at(0), pbtaRoll);
    EXPECT_EQ(rolls.at(1).at("statistics").at("mean"), "3/2");
}

namespace
{

// A set of rolls from a file stands where --file is, and its target asks for
// what the matching option would, unless the command line asks for its own.
TEST(Cli, ReadsASetOfRolls)
{
    const std::string path = ::testing::TempDir() + "pipwright_cli_set_" + std::to_string(getpid()) + ".rolls";
    std::ofstream(path, std::ios::binary)
        << "# two rolls\r\n\r\ntarget: exactly 7\r\nview: at least\r\n2d6\r\n1d12\r\n";
    const std::string file = " --file '" + path + "'";
    EXPECT_EQ(Cli(file).out, Cli("--between 7 7 2d6 1d12").out);
    EXPECT_EQ(Cli("1d4 --csv" + file).out, Cli("--csv --between 7 7 1d4 2d6 1d12").out);
    EXPECT_EQ(Cli("--at-least=10" + file).out, Cli("--at-least 10 2d6 1d12").out);
    EXPECT_EQ(Cli("--versus" + file).out, Cli("--versus 2d6 1d12").out);

    std::ofstream(path, std::ios::binary) << "2d6\ntarget: at least\n";
    const Finished bad = Cli(file);
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find(path + ": line 2: a target is"), std::string::npos) << bad.err;
    std::remove(path.c_str());
    EXPECT_EQ(Cli(file).status, 2);
    EXPECT_EQ(Cli("--file").status, 2);
}

} // namespace
