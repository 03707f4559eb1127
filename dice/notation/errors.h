#pragma once

// What can be wrong with the text of an expression, and its English words.

#include <cstddef>
#include <cstdint>
#include <exception>
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
    // Questions about rolls: let, if, labels, Nd(A) and pool functions.
    ExpectedWord, // Text: the word or character found, or empty at the end; Hint: the word that belongs there
    StrayKeyword, // Text: a keyword where it does not belong
    ExpectedName, // Text as ExpectedWord: after let or a ',' between named throws
    ReservedName, // Text: the name; Numbers: 0 a keyword, 1 a function, 2 dice, 3 a modifier
    UnboundName, // Text: a name no let around it gives
    LabelUnclosed, // a '"' with none after it
    LabelLength, // a label of no characters or more than maxLabelLength
    LabelCharacter, // Numbers: the code point in a label that does not print
    TooManyLabels, // more than maxLabels
    LabelsAndTotals, // one result a label, another a total
    LabelRead, // a label added, compared, named or thrown
    NotACondition, // Text: "if", "and", "or" or "not", which take comparisons
    NotAPool, // Text: the pool function
    NoSuchPosition, // Numbers: the position asked for, the dice of the pool
    SetSize, // Numbers: the dice a set asks for, the dice of the pool
    PoolTooMixed, // Numbers: the ways to place the dice of a pool of unlike members
    TooManyReadings, // Numbers: how many times what follows 'in' would be read, or more
    NotARepeatModifier, // Text: the word after Nd(A)
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

} // namespace dice
