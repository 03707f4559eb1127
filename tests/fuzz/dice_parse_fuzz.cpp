// Any bytes through the dice notation. The parser either gives an expression
// within every limit of the notation or a ParseError pointing into the text;
// small expressions are also counted, and their counts must cover exactly
// the totals their terms can reach and add up to every outcome.

#include "dice/dice.h"
#include "dice/limits.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace
{

[[noreturn]] void Fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "violated: %s for \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    __builtin_trap();
}

// The echo and its caret: two lines, the second spaces and a caret no further
// right than the echo is wide. A short expression of printable ASCII is
// echoed whole, so there the caret's column is the error's offset.
void CheckError(const dice::ParseError &error, std::string_view text)
{
    if (error.Position() > text.size())
        Fail("error position past the end", text);
    if (dice::ErrorMessage(error) != error.what() || *error.what() == '\0')
        Fail("error without its message", text);
    const std::string shown = dice::ErrorText(text, error);
    const std::size_t line = shown.find('\n');
    if (line == std::string::npos || shown.find('\n', line + 1) != std::string::npos)
        Fail("error text is not two lines", text);
    const std::size_t caret = shown.size() - line - 2;
    if (shown.back() != '^' || shown.find_first_not_of(' ', line + 1) != shown.size() - 1)
        Fail("caret line is not spaces and a caret", text);
    std::size_t echoed = 0;
    for (std::size_t i = 0; i < line; ++i)
        echoed += (static_cast<unsigned char>(shown[i]) & 0xC0) != 0x80;
    if (caret > echoed)
        Fail("caret right of the echo", text);
    bool plain = text.size() <= 60;
    for (const char c : text)
        plain = plain && c >= ' ' && c <= '~';
    if (plain && (caret != error.Position() || shown.compare(0, text.size(), text) != 0))
        Fail("caret not under the position", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    dice::Expression expression;
    try {
        expression = dice::Parse(text);
    } catch (const dice::ParseError &error) {
        CheckError(error, text);
        return 0;
    } catch (...) {
        Fail("unexpected exception", text);
    }

    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            Fail("accepted text that is not ASCII", text);
    }
    if (expression.terms.empty() || expression.terms.size() > static_cast<std::size_t>(dice::maxTerms))
        Fail("term count out of range", text);
    int allDice = 0;
    long work = 0;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    for (const dice::Term &term : expression.terms) {
        if (term.sign != 1 && term.sign != -1)
            Fail("sign is not +1 or -1", text);
        allDice += term.dice;
        if (term.dice == 0) {
            if (term.number < 0 || term.number > dice::maxNumber)
                Fail("number out of range", text);
            lowest += term.sign * term.number;
            highest += term.sign * term.number;
            continue;
        }
        if (term.dice < dice::minDice || term.sides < dice::minSides || term.sides > dice::maxSides || term.kept < 1
            || term.kept > term.dice)
            Fail("dice term out of range", text);
        if ((term.pick == dice::Pick::All) != (term.kept == term.dice))
            Fail("a pick that keeps every die, or a plain roll that does not", text);
        if (term.pick != dice::Pick::All && term.sides > dice::maxPickSides)
            Fail("keep or drop of dice with too many sides", text);
        if (term.fudge && term.sides != 3)
            Fail("Fudge dice without three faces", text);
        const std::int64_t low = term.fudge ? -term.kept : term.kept;
        const std::int64_t high = static_cast<std::int64_t>(term.kept) * (term.fudge ? 1 : term.sides);
        lowest += term.sign > 0 ? low : -high;
        highest += term.sign > 0 ? high : -low;
        work += static_cast<long>(term.dice) * term.sides;
    }
    if (allDice > dice::maxDice)
        Fail("too many dice", text);

    try {
        dice::CheckExpression(expression);
    } catch (const std::invalid_argument &) {
        Fail("the count refuses what the parser gave", text);
    }
    if (work > 3000)
        return 0;
    const dice::Distribution distribution = dice::Evaluate(expression);
    if (distribution.lowest != lowest || distribution.Highest() != highest)
        Fail("counted range differs from the terms' range", text);
    mpz_class sum;
    for (const mpz_class &count : distribution.counts)
        sum += count;
    if (sum != distribution.outcomes || distribution.counts.front() == 0 || distribution.counts.back() == 0)
        Fail("counts do not add up to every outcome", text);
    return 0;
}
