// Any bytes through the dice notation. The parser either gives an expression
// within every limit of the notation or a ParseError pointing into the text;
// small expressions are also counted, and their counts must cover exactly
// the totals their terms can reach and add up to every outcome. Trees of
// brackets, products, functions and groups are counted when small.

#include "dice/bounds/bounds.h"
#include "dice/dice.h"
#include "dice/limits.h"
#include "dice/questions/question.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// Every node within the notation's limits, and a small tree's count closed
// to its denominator, within the bounds its nodes can reach.
void CheckTree(const dice::Expression &expression, std::string_view text)
{
    if (!expression.terms.empty())
        Fail("a tree with terms beside it", text);
    try {
        dice::CheckExpression(expression);
    } catch (const std::invalid_argument &) {
        Fail("the count refuses the tree the parser gave", text);
    }
    long work = 1;
    long kept = 1;
    int dice = 0;
    // How far from 0 any node reaches, and the pairs of totals a product or
    // a division takes a step for.
    std::int64_t reach = 0;
    std::int64_t pairs = 0;
    std::vector<const dice::Node *> nodes { &*expression.tree };
    while (!nodes.empty()) {
        const dice::Node *node = nodes.back();
        nodes.pop_back();
        const dice::detail::Bounds nodeBounds = dice::detail::NodeBounds(*node);
        reach = std::max({ reach, std::abs(nodeBounds.lowest), std::abs(nodeBounds.highest.value_or(0)) });
        if (node->kind == dice::Node::Kind::Product || node->kind == dice::Node::Kind::Divide) {
            const std::int64_t left = dice::detail::NodeBounds(node->operands[0]).span;
            const std::int64_t right = dice::detail::NodeBounds(node->operands[1]).span;
            pairs = std::max(pairs, left * right);
        }
        long sides = 1;
        for (const dice::Term &term : node->terms) {
            dice += term.dice;
            sides += static_cast<long>(term.dice) * std::max(term.sides, 1) * (term.Plain() ? 1 : 50);
        }
        work += sides * (node->kind == dice::Node::Kind::Group ? 40 : 4);
        // Keeping several of many members weighs every total of every
        // member once for each count of kept members beyond it.
        if (node->kind == dice::Node::Kind::Group && node->kept > 2)
            kept = std::max(kept, static_cast<long>(node->kept));
        for (const dice::Node &operand : node->operands)
            nodes.push_back(&operand);
    }
    if (dice > dice::maxDice)
        Fail("too many dice", text);
    // An exploding roll beside a wide bounded one, or beside a large number,
    // or counted against a far compare point, is listed across the whole
    // width, with shares whose denominators grow all along it. Products of
    // wide rolls take a step per pair of totals.
    const dice::detail::Bounds bounds = dice::detail::NodeBounds(*expression.tree);
    if (bounds.pushed > dice::maxListedPast)
        Fail("a roll that explodes listed past the limit", text);
    if (work * kept > 2000 || text.size() > 80 || pairs > 100'000 || bounds.pushed > 2000
        || (!bounds.highest && (bounds.span > 2000 || reach > 2000)))
        return;
    const dice::Distribution distribution = dice::Evaluate(expression);
    mpz_class sum = distribution.tail;
    for (const mpz_class &count : distribution.counts)
        sum += count;
    if (sum != distribution.outcomes || distribution.counts.empty() || distribution.counts.front() == 0)
        Fail("a tree's counts and remainder do not add up to every outcome", text);
    if (distribution.Unbounded() && !distribution.moments)
        Fail("an unbounded tree without its moments", text);
    if (!distribution.Unbounded() && distribution.counts.back() == 0)
        Fail("a bounded tree ends on a total it cannot throw", text);
}

} // namespace

// A question: text outside its labels is ASCII, and one small enough to
// count quickly adds up to its denominator, its labels or totals alike. The
// numbers it holds bound its dice and faces, so their sum bounds the work.
void CheckQuestion(const dice::Expression &expression, std::string_view text)
{
    bool label = false;
    std::int64_t numbers = 0;
    std::int64_t number = 0;
    for (const char c : text) {
        label = c == '"' ? !label : label;
        if (!label && static_cast<unsigned char>(c) >= 0x80)
            Fail("accepted text that is not ASCII outside a label", text);
        number = c >= '0' && c <= '9' && !label ? std::min<std::int64_t>(number * 10 + (c - '0'), 1000) : 0;
        numbers += number;
    }
    if (numbers > 60 || text.size() > 80)
        return;
    const dice::Distribution distribution = dice::Evaluate(expression);
    mpz_class sum = distribution.tail;
    for (const mpz_class &count : distribution.counts)
        sum += count;
    if (sum != distribution.outcomes || distribution.counts.empty())
        Fail("a question's weights do not add up to its denominator", text);
    if (distribution.Labelled() != (expression.question->root.gives == dice::Gives::Labels)
        || (distribution.Labelled() && distribution.labels.size() != distribution.counts.size()))
        Fail("a question's labels do not match its results", text);
    if (distribution.Unbounded() && !distribution.moments)
        Fail("an unbounded question without moments", text);
}

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

    if (expression.question) {
        CheckQuestion(expression, text);
        return 0;
    }
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            Fail("accepted text that is not ASCII", text);
    }
    if (expression.tree) {
        CheckTree(expression, text);
        return 0;
    }
    if (expression.terms.empty() || expression.terms.size() > static_cast<std::size_t>(dice::maxTerms))
        Fail("term count out of range", text);
    if (dice::detail::TermsBounds(expression.terms).pushed > dice::maxListedPast)
        Fail("a roll that explodes listed past the limit", text);
    int allDice = 0;
    long work = 0;
    bool plain = true;
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
        if (!term.faces.empty()) {
            if (term.sides != static_cast<int>(term.faces.size()) || term.sides > dice::maxFaces || term.fudge)
                Fail("listed faces and sides differ", text);
        } else if (term.sides < dice::minSides || term.sides > dice::maxSides) {
            Fail("dice term out of range", text);
        }
        if (term.dice < dice::minDice || term.kept < 1 || term.kept > term.dice)
            Fail("dice term out of range", text);
        if (term.explode != dice::Explode::None && term.sides > dice::maxExplodeSides)
            Fail("a die of too many faces explodes", text);
        if (term.failure.kind != dice::Compare::Kind::None && term.success.kind == dice::Compare::Kind::None)
            Fail("failures counted without successes", text);
        if (!term.Plain()) {
            // Dice with modifiers cost more per die: explosions list far,
            // keeps place every die on every face.
            plain = false;
            // An explosion likely to go on lists far: 20 per die, times
            // the number of rolls a chain takes on average.
            long explode = 1;
            if (term.explode != dice::Explode::None) {
                const std::vector<std::int64_t> faces = term.Faces();
                const std::int64_t top = *std::max_element(faces.begin(), faces.end());
                const dice::Compare point = term.explodeOn.kind == dice::Compare::Kind::None
                    ? dice::Compare { dice::Compare::Kind::Equal, top }
                    : term.explodeOn;
                const auto meets =
                    std::count_if(faces.begin(), faces.end(), [&](std::int64_t f) { return point.Meets(f); });
                explode = 20 * static_cast<long>(faces.size())
                    / static_cast<long>(faces.size() - static_cast<std::size_t>(meets));
            }
            const long keep = term.pick == dice::Pick::All ? 1 : term.dice * term.dice;
            long spread = term.sides;
            if (!term.faces.empty()) {
                const auto [least, most] = std::minmax_element(term.faces.begin(), term.faces.end());
                spread = static_cast<long>(*most - *least + 1);
            }
            work += static_cast<long>(term.dice) * spread * explode * keep;
            continue;
        }
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
    if (plain && (distribution.lowest != lowest || distribution.Highest() != highest))
        Fail("counted range differs from the terms' range", text);
    mpz_class sum = distribution.tail;
    for (const mpz_class &count : distribution.counts)
        sum += count;
    if (sum != distribution.outcomes || distribution.counts.front() == 0)
        Fail("counts and remainder do not add up to every outcome", text);
    if (!distribution.Unbounded() && distribution.counts.back() == 0)
        Fail("a bounded roll ends on a total it cannot throw", text);
    if (distribution.Unbounded()) {
        mpz_class power;
        mpz_ui_pow_ui(power.get_mpz_t(), 10, 15);
        if (distribution.tail * power >= distribution.outcomes || !distribution.moments)
            Fail("an unbounded roll listed short of its last total, or without its moments", text);
        if (plain)
            Fail("plain dice with a remainder", text);
    }
    return 0;
}
