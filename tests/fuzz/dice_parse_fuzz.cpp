// Any bytes through the dice notation. The parser either gives an expression
// within every limit of the notation or a ParseError pointing into the text;
// small expressions are also counted, and their counts must cover exactly
// the totals their terms can reach and add up to every outcome.

#include "dice/dice.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace
{

[[noreturn]] void Fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "violated: %s for \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    __builtin_trap();
}

void CheckError(const dice::ParseError &error, std::string_view text)
{
    if (error.Position() > text.size())
        Fail("error position past the end", text);
    const std::string shown = dice::ErrorText(text, error);
    const std::size_t line = shown.find('\n');
    if (line == std::string::npos || shown.find('\n', line + 1) != std::string::npos)
        Fail("error text is not two lines", text);
    if (shown.size() - line - 1 != error.Position() + 1 || shown.back() != '^')
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
    if (expression.terms.empty() || expression.terms.size() > 20)
        Fail("term count out of range", text);
    int dice = 0;
    long work = 0;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    for (const dice::Term &term : expression.terms) {
        if (term.sign != 1 && term.sign != -1)
            Fail("sign is not +1 or -1", text);
        dice += term.dice;
        if (term.dice == 0) {
            if (term.number < 0 || term.number > 1000000)
                Fail("number out of range", text);
            lowest += term.sign * term.number;
            highest += term.sign * term.number;
            continue;
        }
        if (term.dice < 1 || term.sides < 2 || term.sides > 1000 || term.kept < 1 || term.kept > term.dice)
            Fail("dice term out of range", text);
        if ((term.pick == dice::Pick::All) != (term.kept == term.dice))
            Fail("a pick that keeps every die, or a plain roll that does not", text);
        if (term.pick != dice::Pick::All && term.sides > 100)
            Fail("keep or drop of dice over 100 sides", text);
        if (term.fudge && term.sides != 3)
            Fail("Fudge dice without three faces", text);
        const std::int64_t low = term.fudge ? -term.kept : term.kept;
        const std::int64_t high = static_cast<std::int64_t>(term.kept) * (term.fudge ? 1 : term.sides);
        lowest += term.sign > 0 ? low : -high;
        highest += term.sign > 0 ? high : -low;
        work += static_cast<long>(term.dice) * term.sides;
    }
    if (dice > 100)
        Fail("more than 100 dice", text);

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
