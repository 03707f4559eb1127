#pragma once

// A parsed expression: terms of dice and numbers, and the nodes that hold
// products, divisions, functions and groups.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace dice
{

// Which dice of a term are summed; the drop forms are read as keeps.
enum class Pick { All, Highest, Lowest };

// A compare point: which values of a die meet it.
struct Compare {
    enum class Kind { None, Equal, NotEqual, Greater, GreaterEqual, Less, LessEqual };
    Kind kind = Kind::None;
    std::int64_t value = 0;

    bool Meets(std::int64_t x) const;
    // Whether every value above some bound meets it.
    bool MeetsUpward() const;
};

enum class Explode { None, Each, Compound };
enum class Reroll { None, Repeat, Once };

// The modifiers of a term are applied in one fixed order, however they were
// written: minimum, maximum, explode, reroll, keep or drop, then counting.
struct Term {
    int sign = 1; // +1 or -1
    int dice = 0; // 0 for a plain number
    int sides = 0; // faces of a die: 3 for Fudge dice, the list's length for listed faces
    bool fudge = false; // faces -1, 0 and +1
    std::vector<std::int64_t> faces; // listed faces (d{...}, dF.1), repeats included; empty for 1..sides
    Pick pick = Pick::All;
    int kept = 0; // how many dice are summed: dice, unless picked
    std::int64_t number = 0; // a plain number's value before its sign: 0 to 1,000,000

    bool hasMinimum = false;
    std::int64_t minimum = 0; // a first roll below it counts as it
    bool hasMaximum = false;
    std::int64_t maximum = 0;
    Explode explode = Explode::None;
    bool penetrate = false; // each extra roll counts one less
    Compare explodeOn; // Kind::None: the highest face
    Reroll reroll = Reroll::None;
    Compare rerollOn; // Kind::None: the lowest face
    Compare success; // Kind::None: the term is a sum, not a count
    Compare failure;

    // Whether the term is dice of equal faces with nothing but keep or drop.
    bool Plain() const;
    // The faces of one die, repeats included.
    std::vector<std::int64_t> Faces() const;
    // One of the term's dice, with its modifiers but no keep or drop.
    Term OneDie() const;
};

// A part of an expression beyond terms joined by + and -. Max and min are
// groups of two that keep one; a group with neither keep nor count is a sum.
struct Node {
    enum class Kind { Sum, Product, Divide, Abs, Group };
    enum class Rounding { Floor, Ceil, Round }; // Round takes halves away from zero: -5/2 is -3
    Kind kind = Kind::Sum;
    std::vector<Term> terms; // Sum: terms, each with its sign
    std::vector<Node> operands; // Sum: further parts; Product and Divide: two; Abs: one; Group: its members
    std::vector<int> signs; // Sum: the sign of each operand
    Rounding rounding = Rounding::Floor;
    Pick pick = Pick::All; // Group: keep among the members by their totals; drops are read as keeps
    int kept = 0; // Group: how many members are kept
    Compare success; // Group: count the members that meet it
    Compare failure; // Group: less those that meet it
};

struct Question;

// An expression of terms joined by + and - is `terms` alone, counted as it
// always was; any other roll has its whole shape in `tree` and no terms. A
// question about rolls (dice/questions/question.h) is `question` alone.
struct Expression {
    Expression() = default;
    Expression(std::vector<Term> flat) // NOLINT(google-explicit-constructor): {{term}} reads as before
        : terms(std::move(flat))
    {
    }
    std::vector<Term> terms;
    std::optional<Node> tree;
    std::shared_ptr<const Question> question;
};

// Every term of the expression, in the order written, however deep.
void ForEachTerm(const Expression &expression, const std::function<void(const Term &)> &visit);

} // namespace dice
