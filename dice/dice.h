#pragma once

// The dice notation and its exact engine. Parse reads an expression such as
// "2d20kh1+5", "4d6kh3" or "1d8+2d6+3"; Evaluate counts, for every total from
// the lowest to the highest, the exact number of equally likely outcomes that
// throw it; Summarize gives the statistics of those counts. Counts are GMP
// integers, so nothing is rounded until a text is written.

#include <gmpxx.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
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

struct Term {
    int sign = 1; // +1 or -1
    int dice = 0; // 0 for a plain number
    int sides = 0; // for Fudge dice 3, with faces -1, 0 and +1
    bool fudge = false;
    Pick pick = Pick::All;
    int kept = 0; // how many dice are summed: dice, unless picked
    std::int64_t number = 0; // a plain number's value before its sign: 0 to 1,000,000
};

struct Expression {
    std::vector<Term> terms;
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

struct Distribution {
    std::int64_t lowest = 0; // the total that counts[0] stands for
    std::vector<mpz_class> counts; // every total from lowest to highest
    mpz_class outcomes; // all outcomes: the product of every die's sides

    std::int64_t Highest() const;
};

Distribution Evaluate(const Expression &expression, std::stop_token stop = {});

struct Statistics {
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    mpq_class mean;
    mpq_class variance;
    double standardDeviation = 0.0;
    std::vector<std::int64_t> mostLikely; // every tie, lowest first
};

Statistics Summarize(const Distribution &distribution);

} // namespace dice
