// The rules of a term that the parser keeps, checked again for expressions
// built by hand: the counting loops size their tables from these fields and
// would miscount or fail on a term that breaks them.

#include "dice/dice.h"
#include "dice/limits.h"
#include "dice/rules.h"

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

} // namespace

void CheckExpression(const Expression &expression)
{
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
}

} // namespace dice
