// The rules of a term that the parser keeps, checked again for expressions
// built by hand: the counting loops size their tables from these fields and
// would miscount or fail on a term that breaks them.

#include "dice/bounds/check.h"

#include "dice/bounds/bounds.h"
#include "dice/bounds/rules.h"
#include "dice/limits.h"
#include "dice/notation/expression.h"

#include <stdexcept>
#include <string>

namespace dice
{

namespace
{

// What is wrong with a term, or nothing.
const char *Fault(const Term &term)
{
    if (term.sign != 1 && term.sign != -1)
        return "the sign is not +1 or -1";
    if (term.dice == 0) {
        if (term.number < 0 || term.number > maxNumber)
            return "the number is out of range";
        if (term.sides != 0 || term.kept != 0 || term.fudge || term.pick != Pick::All)
            return "a plain number has sides or a pick";
        return nullptr;
    }
    if (term.dice < minDice || term.dice > maxDice)
        return "the number of dice is out of range";
    if (!term.faces.empty()) {
        if (term.fudge || term.sides != static_cast<int>(term.faces.size()) || term.sides > maxFaces)
            return "the listed faces and the sides differ";
        for (const std::int64_t face : term.faces) {
            if (face < -maxNumber || face > maxNumber)
                return "a listed face is out of range";
        }
    } else if (term.sides < minSides || term.sides > maxSides || (term.fudge && term.sides != 3)) {
        return "the number of sides is out of range";
    }
    if (!term.Plain() && BrokenRule(term))
        return "the modifiers break a rule of the notation";
    if (term.number != 0)
        return "dice have a number";
    if (term.pick == Pick::All)
        return term.kept == term.dice ? nullptr : "a term that picks nothing keeps fewer dice than it has";
    if (term.kept < 1 || term.kept >= term.dice)
        return "a pick keeps no dice, all of them or more than there are";
    if (term.sides > maxPickSides)
        return "a pick of dice with too many sides";
    return nullptr;
}

void Refuse(const std::string &fault)
{
    throw std::invalid_argument("dice expression: " + fault);
}

bool HasHighest(const Node &node)
{
    return detail::NodeBounds(node).highest.has_value();
}

// The rules the parser keeps for every node; the totals' limits are checked
// once the operands are known to keep theirs.
void CheckNode(const Node &node, int depth, int &terms, int &dice)
{
    if (depth > maxDepth)
        Refuse("nodes nest more than " + std::to_string(maxDepth) + " deep");
    for (const Term &term : node.terms) {
        if (const char *fault = Fault(term))
            Refuse(std::string("a term: ") + fault);
        dice += term.dice;
        ++terms;
    }
    // Functions and groups nest; sums and products of any length do not.
    const bool nests = node.kind != Node::Kind::Sum && node.kind != Node::Kind::Product;
    for (const Node &operand : node.operands)
        CheckNode(operand, depth + (nests ? 1 : 0), terms, dice);
    const std::size_t count = node.operands.size();
    switch (node.kind) {
    case Node::Kind::Sum:
        if (node.signs.size() != count)
            Refuse("a sum without a sign for each part");
        for (std::size_t i = 0; i < count; ++i) {
            if (node.signs[i] != 1 && (node.signs[i] != -1 || !HasHighest(node.operands[i])))
                Refuse("a part of a sum with a sign not +1 or -1, or taken away with no highest total");
        }
        break;
    case Node::Kind::Product:
    case Node::Kind::Divide:
    case Node::Kind::Abs:
        if (!node.terms.empty() || count != (node.kind == Node::Kind::Abs ? 1U : 2U))
            Refuse("an operation with the wrong number of operands");
        for (const Node &operand : node.operands) {
            if (!HasHighest(operand))
                Refuse("an operation on a roll with no highest total");
        }
        if (node.kind == Node::Kind::Divide) {
            const detail::Bounds divisor = detail::NodeBounds(node.operands[1]);
            if (divisor.lowest <= 0 && *divisor.highest >= 0)
                Refuse("a divisor that can be 0");
        }
        break;
    case Node::Kind::Group:
        if (!node.terms.empty() || count < static_cast<std::size_t>(minMembers)
            || count > static_cast<std::size_t>(maxMembers))
            Refuse("a group of too few or too many members");
        if (node.failure.kind != Compare::Kind::None && node.success.kind == Compare::Kind::None)
            Refuse("a group counts failures without successes");
        if (node.pick != Pick::All
            && (node.kept < 1 || node.kept >= static_cast<int>(count) || node.success.kind != Compare::Kind::None))
            Refuse("a group keeps no members, all of them or more than there are, or keeps and counts");
        break;
    }
    const detail::Bounds bounds = detail::NodeBounds(node);
    if (bounds.lowest < -maxTotal || bounds.highest.value_or(0) > maxTotal || detail::SpansTooMany(bounds.span))
        Refuse("a result out of the notation's range");
    if (bounds.pushed > maxListedPast)
        Refuse("a roll that explodes listed too far past its end");
}

} // namespace

void CheckExpression(const Expression &expression)
{
    if (expression.tree) {
        if (!expression.terms.empty())
            Refuse("both terms and a tree");
        int terms = 0;
        int dice = 0;
        CheckNode(*expression.tree, 0, terms, dice);
        if (terms > maxTerms || dice > maxDice)
            Refuse("more terms or dice than an expression holds");
        return;
    }
    if (expression.terms.size() > static_cast<std::size_t>(maxTerms))
        throw std::invalid_argument("dice expression: more than " + std::to_string(maxTerms) + " terms");
    int dice = 0;
    for (std::size_t i = 0; i < expression.terms.size(); ++i) {
        if (const char *fault = Fault(expression.terms[i]))
            throw std::invalid_argument("dice expression, term " + std::to_string(i + 1) + ": " + fault);
        dice += expression.terms[i].dice;
    }
    if (dice > maxDice)
        throw std::invalid_argument("dice expression: more than " + std::to_string(maxDice) + " dice");
    if (detail::TermsBounds(expression.terms).pushed > maxListedPast)
        throw std::invalid_argument("dice expression: a roll that explodes listed too far past its end");
}

} // namespace dice
