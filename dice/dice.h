#pragma once

// The dice notation and its exact engine. Parse reads an expression such as
// "2d20kh1+5", "4d6r=1kh3" or "8d10!=10>=8f1"; Evaluate gives every total's
// exact weight over one common denominator; Summarize gives the statistics.
// Dice that neither explode nor reroll weigh every total by its number of
// equally likely throws; other dice by whole-number shares of a common
// denominator. A roll that explodes has no highest total: it is listed
// up to the first total above which less than 10^-15 of the chance remains,
// and the weight above it is kept exactly, so every share and that remainder
// add up to the denominator. Weights are GMP integers, so nothing is rounded
// until a text is written.

#include <gmpxx.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dice
{

// What is wrong with text that is not an expression. Numbers(), Text() and
// Hint() carry what each kind of error names; the limits it states are those
// of "dice/limits.h". ErrorMessage writes the English text.
enum class ErrorCode {
    Empty, // nothing but spaces
    NotUtf8, // Numbers: the byte that does not belong to UTF-8 text
    NotAscii, // Numbers: the code point; Text: its Unicode name, or empty; Hint: the ASCII to type, or empty
    ExpectedTerm, // Text: the character found, or empty at the end
    ExpectedOperator, // Text: the character found
    NotAnOperator, // Text: the character, such as "x" or "*"
    NotAModifier, // Text: the word; Hint: the roll to type instead, or empty
    ExpectedSides, // Text: the character found, or empty at the end
    ExpectedKeep, // how many dice to keep; Text as ExpectedSides
    ExpectedDrop, // how many dice to drop; Text as ExpectedSides
    NumberTooLarge, // more than maxNumber
    DiceOutOfRange, // fewer than minDice or more than maxDice in a term
    SidesOutOfRange, // fewer than minSides or more than maxSides
    PickSidesTooMany, // keep or drop of dice of more than maxPickSides
    CannotKeep, // Numbers: how many to keep, how many dice
    CannotDrop, // Numbers: how many to drop, how many dice
    TooManyTerms, // more than maxTerms
    TooManyDice, // more than maxDice in the expression
    NoFaces, // d{}
    ExpectedFace, // Text as ExpectedSides
    FacesUnclosed, // Text: the character found instead of ',' or '}', or empty at the end
    TooManyFaces, // more than maxFaces listed
    ExpectedComparison, // the number of a compare point; Text as ExpectedSides
    Twice, // Text: the modifier as typed, given a second time in one term
    FailureFirst, // f with no success count before it
    ExplodesForever, // every face of the die meets the explode point
    RerollsForever, // every face of the die meets the reroll point
    ExplodeSidesTooMany, // a die of more than maxExplodeSides faces explodes
    ExplosionFalls, // an extra roll could take away from the total, which would then have no lowest
    KeepOfExplosions, // keep or drop among the dice of `!` or `!p`
    UnboundedSubtracted, // a term with no highest total taken away
    SpanTooLarge, // the totals would span more than maxSpan values
    ComparePastListing, // Numbers: the largest number a compare point of this die that explodes may name
    Division, // a bare '/'
    NotAPower, // Text: "**" or "^" as typed
    ExpectedSymbol, // Text as ExpectedSides; Hint: the "(", ")", "}" or "," that belongs there
    NotAFunction, // Text: the word as typed
    ArgumentCount, // Text: the function; Numbers: how many it takes, how many were given
    ExpectedDivision, // Text: floor, ceil or round, whose argument is A / B
    DivisorReachesZero, // Numbers: the divisor's lowest and highest totals
    GroupSize, // fewer than minMembers or more than maxMembers in a group
    TooDeep, // more than maxDepth groups, functions and brackets inside each other
    CannotKeepMembers, // Numbers: how many to keep, how many members
    CannotDropMembers, // Numbers: how many to drop, how many members
    KeepAndCount, // a group given both a keep or drop and a count
    KeptSpanTooLarge, // a keep of several members not all written alike, one spanning more than maxKeptSpan
    UnboundedOperand, // Text: the operator or function that needs a highest total
    TotalTooLarge, // a total could lie beyond maxTotal either way
    ListedTooFar, // Numbers: how far past its own end a roll that explodes would be listed, more than maxListedPast
    NotAGroupModifier, // Text: the word after a group
    SecondPick, // Text: a keep or drop as typed, after the term's first
    DieAfterSides, // a 'd' after a die's sides that cannot drop; Hint: the sum of two terms to type
    ComparedTotal, // a whole sum compared with a number; Hint: the option asking for it, as "--at-least 15", or empty
    Versus, // one roll compared with another; Hint: the two rolls as arguments of --versus, or empty
    CommaOutsideGroup, // Hint: the whole expression as a group, or empty
};

class ParseError : public std::exception
{
public:
    ParseError(ErrorCode code,
        std::size_t position,
        std::vector<std::int64_t> numbers = {},
        std::string text = {},
        std::string hint = {});
    ErrorCode Code() const;
    // The byte offset of what the error is about in the text, or its size.
    std::size_t Position() const;
    const std::vector<std::int64_t> &Numbers() const;
    const std::string &Text() const;
    const std::string &Hint() const;
    // ErrorMessage(*this).
    const char *what() const noexcept override;

private:
    ErrorCode m_code;
    std::size_t m_position;
    std::vector<std::int64_t> m_numbers;
    std::string m_text;
    std::string m_hint;
    std::string m_message;
};

// The error in English, without the expression: "cannot keep 3 of 2 dice".
std::string ErrorMessage(const ParseError &error);

// The error as printed for the user: "2d20kh3: cannot keep 3 of 2 dice", then
// a line with a caret under the position. A long expression is shown only
// around the error.
std::string ErrorText(std::string_view text, const ParseError &error);

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

// An expression of terms joined by + and - is `terms` alone, counted as it
// always was; any other has its whole shape in `tree` and no terms.
struct Expression {
    Expression() = default;
    Expression(std::vector<Term> flat) // NOLINT(google-explicit-constructor): {{term}} reads as before
        : terms(std::move(flat))
    {
    }
    std::vector<Term> terms;
    std::optional<Node> tree;
};

Expression Parse(std::string_view text);

// Throws std::invalid_argument for an expression the parser would never give,
// such as a term that keeps more dice than it has. Evaluate checks first.
void CheckExpression(const Expression &expression);

// Thrown by Evaluate when its stop token asks it to stop.
class Cancelled : public std::exception
{
public:
    const char *what() const noexcept override;
};

// The statistics of the whole of an unbounded roll, which its listed totals
// alone cannot give. Where no closed form is known the two ends of each value
// differ; they are then close enough that both round alike to nine decimals.
struct Moments {
    mpq_class meanLow;
    mpq_class meanHigh;
    mpq_class varianceLow;
    mpq_class varianceHigh;
};

struct Distribution {
    std::int64_t lowest = 0; // the total that counts[0] stands for
    std::vector<mpz_class> counts; // the weight of every listed total from lowest to Highest()
    mpz_class outcomes; // the common denominator: the product of every die's faces unless weighted
    mpz_class tail; // the weight of every total above Highest(): 0 unless unbounded
    std::optional<Moments> moments; // for an unbounded roll
    // Whether `outcomes` is only a common denominator of unequal weights, as
    // where dice explode or reroll; otherwise it counts equally likely throws.
    bool weighted = false;

    std::int64_t Highest() const; // the last listed total
    bool Unbounded() const;
};

// Lists totals through `through` at least, where the roll reaches that far:
// --at-least and the like need totals past the listed ones.
Distribution Evaluate(const Expression &expression, std::stop_token stop = {});
Distribution Evaluate(const Expression &expression, std::stop_token stop, std::int64_t through);

struct Statistics {
    std::int64_t lowest = 0;
    std::int64_t highest = 0; // the last listed total when unbounded
    bool unbounded = false;
    bool exact = true; // mean and variance exact; otherwise within rounding to nine decimals
    mpq_class mean;
    mpq_class variance;
    double standardDeviation = 0.0;
    std::vector<std::int64_t> mostLikely; // every tie, lowest first
};

Statistics Summarize(const Distribution &distribution);

} // namespace dice
