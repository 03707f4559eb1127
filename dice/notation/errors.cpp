// The English text of every parse error, and the expression echoed with a
// caret under the error. Each limit a message states comes from the constant
// the parser enforces.

#include "dice/notation/errors.h"
#include "dice/limits.h"
#include "dice/notation/utf8.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace dice
{

namespace
{

std::string Hex(std::uint32_t value, int digits)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text += hex[(value >> shift) & 0xF];
    return text;
}

std::string CodePoint(std::int64_t code)
{
    const auto value = static_cast<std::uint32_t>(code);
    return "U+" + Hex(value, value > 0xFFFF ? 6 : 4);
}

// A character as a message names it: quoted when it prints, else by code.
std::string Quoted(const std::string &typed)
{
    if (typed.size() == 1 && typed[0] >= ' ' && typed[0] <= '~')
        return "'" + typed + "'";
    return "character " + CodePoint(typed.empty() ? 0 : static_cast<unsigned char>(typed[0]));
}

std::string Expected(const ParseError &error, const std::string &what)
{
    if (error.Text().empty())
        return "missing " + what;
    return "unexpected " + Quoted(error.Text()) + ": expected " + what;
}

std::string Dice(std::int64_t count)
{
    return std::to_string(count) + (count == 1 ? " die" : " dice");
}

std::int64_t Number(const ParseError &error, std::size_t index)
{
    return index < error.Numbers().size() ? error.Numbers()[index] : 0;
}

// Columns a terminal gives a character: two for the wide forms of East
// Asian scripts, none for combining marks and invisible format characters.
int Width(char32_t code)
{
    if ((code >= 0x0300 && code <= 0x036F) || (code >= 0x200B && code <= 0x200F) || code == 0xFEFF
        || (code >= 0xFE00 && code <= 0xFE0F))
        return 0;
    if ((code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF && code != 0x303F)
        || (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF)
        || (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60)
        || (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x1F300 && code <= 0x1F64F)
        || (code >= 0x1F900 && code <= 0x1F9FF) || (code >= 0x20000 && code <= 0x3FFFD))
        return 2;
    return 1;
}

// One character of the echo: the bytes shown for it and its columns.
struct Shown {
    std::size_t at;
    std::string text;
    int width;
};

// Control characters and bytes that are not UTF-8 are shown as '?', a tab as
// a space, so that the echo stays one line and the caret below it lines up.
std::vector<Shown> Characters(std::string_view text)
{
    std::vector<Shown> shown;
    for (std::size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const std::size_t length = utf8::Next(text, at, code);
        if (length == 0 || code < 0x20 || (code >= 0x7F && code < 0xA0))
            shown.push_back({ at, code == '\t' && length == 1 ? " " : "?", 1 });
        else
            shown.push_back({ at, std::string(text.substr(at, length)), Width(code) });
        at += length == 0 ? 1 : length;
    }
    return shown;
}

// How many columns of a long expression are echoed around its error.
constexpr int echoColumns = 60;

// What was typed where the notation wants something else.
std::optional<std::string> TypingMessage(const ParseError &error)
{
    const std::string quoted = "'" + error.Text() + "'";
    switch (error.Code()) {
    case ErrorCode::Empty:
        return "the expression is empty";
    case ErrorCode::NotUtf8:
        return "byte 0x" + Hex(static_cast<std::uint32_t>(Number(error, 0)), 2) + " is not UTF-8 text";
    case ErrorCode::NotAscii: {
        std::string text = "character " + CodePoint(Number(error, 0));
        if (!error.Text().empty())
            text += " " + error.Text();
        if (error.Hint().empty())
            return text + ": only ASCII characters belong in an expression";
        return text + ": type " + (error.Hint() == " " ? std::string("a space") : "'" + error.Hint() + "'");
    }
    case ErrorCode::ExpectedTerm:
        return error.Text().empty() ? "missing a number or dice at the end" : Expected(error, "a number or dice");
    case ErrorCode::ExpectedOperator:
        return Expected(error, "'+', '-' or '*'");
    case ErrorCode::NotAnOperator:
        return quoted + " is not an operator: multiply with '*'";
    case ErrorCode::NotAModifier:
        if (error.Hint().empty())
            return quoted
                + " is not a modifier: a term takes kh, kl, k, dh, dl, d, min, max, !, !!, !p, r, ro, a compare point "
                  "such as >=8, f, s, sa, sd, cs and cf";
        return quoted + " is not a modifier: type " + error.Hint();
    case ErrorCode::ExpectedSides:
        return Expected(error, "the number of sides");
    case ErrorCode::ExpectedKeep:
        return Expected(error, "how many dice to keep");
    case ErrorCode::ExpectedDrop:
        return Expected(error, "how many dice to drop");
    case ErrorCode::NoFaces:
        return "a die needs at least one face between '{' and '}'";
    case ErrorCode::ExpectedFace:
        return Expected(error, "a face");
    case ErrorCode::FacesUnclosed:
        return error.Text().empty() ? std::string("missing '}' after the faces") : Expected(error, "',' or '}'");
    case ErrorCode::ExpectedComparison:
        return Expected(error, "a number to compare with");
    case ErrorCode::Division:
        return "'/' alone does not divide, since totals stay whole numbers: write floor(A / B), ceil(A / B) or "
               "round(A / B)";
    case ErrorCode::NotAPower:
        return quoted + " is not an operator: multiply with '*'";
    case ErrorCode::ExpectedSymbol:
        return Expected(error, "'" + error.Hint() + "'");
    case ErrorCode::NotAFunction:
        return quoted + " is not a function such as floor, ceil, round, abs, max or min";
    case ErrorCode::ArgumentCount: {
        const bool one = Number(error, 0) == 1;
        return error.Text() + " takes " + std::to_string(Number(error, 0)) + (one ? " roll" : " rolls") + ", not "
            + std::to_string(Number(error, 1)) + ": write " + error.Text() + (one ? "(A)" : "(A, B)");
    }
    case ErrorCode::ExpectedDivision:
        return error.Text() + " takes one division, A / B: put a sum in brackets, as in " + error.Text()
            + "((1d6+2) / 2)";
    case ErrorCode::DieAfterSides:
        return "the sides of a die cannot be followed by another 'd': type " + error.Hint();
    case ErrorCode::ComparedTotal:
        if (error.Hint().empty())
            return "compare the total with the option --at-least T, --at-most T or --between A B";
        return "compare the total with the option " + error.Hint();
    case ErrorCode::Versus:
        return "compare two rolls with pipwright-cli --versus " + (error.Hint().empty() ? "A B" : error.Hint());
    case ErrorCode::CommaOutsideGroup:
        return "',' separates the members of a group: type " + (error.Hint().empty() ? "{A, B}" : error.Hint())
            + ", or give the rolls as separate arguments";
    default:
        return std::nullopt;
    }
}

// A word found where another belongs, or a character, named by its code
// where it does not print.
std::string Found(const std::string &typed)
{
    return typed.size() == 1 ? Quoted(typed) : "'" + typed + "'";
}

// "1st", "2nd", "3rd", "4th", ...
std::string Ordinal(std::int64_t n)
{
    const std::int64_t tens = n % 100;
    const std::int64_t last = n % 10;
    const char *suffix = tens >= 11 && tens <= 13 ? "th"
        : last == 1                               ? "st"
        : last == 2                               ? "nd"
        : last == 3                               ? "rd"
                                                  : "th";
    return std::to_string(n) + suffix;
}

// Where each keyword belongs, for one found elsewhere.
std::string KeywordPlace(const std::string &keyword)
{
    if (keyword == "in")
        return "follows let and its named throws, as in let x = 1d20 in x + 5";
    if (keyword == "then" || keyword == "else")
        return "belongs to if: if COND then A else B";
    if (keyword == "not")
        return "goes before a condition, as in if not 1d20 = 1 then 1 else 0";
    return "joins two conditions, as in if 1d6 = 6 " + keyword + " 1d8 = 8 then 1 else 0";
}

// What is wrong in the forms that ask questions of rolls.
std::optional<std::string> QuestionMessage(const ParseError &error)
{
    const std::string quoted = "'" + error.Text() + "'";
    switch (error.Code()) {
    case ErrorCode::ExpectedWord:
        if (error.Text().empty())
            return "missing '" + error.Hint() + "'";
        return "unexpected " + Found(error.Text()) + ": expected '" + error.Hint() + "'";
    case ErrorCode::StrayKeyword:
        return quoted + " " + KeywordPlace(error.Text());
    case ErrorCode::ExpectedName:
        if (error.Text().empty())
            return std::string("missing a name for the throw");
        return "unexpected " + Found(error.Text()) + ": expected a name, such as atk";
    case ErrorCode::ReservedName: {
        static const char *const reads[] = { "is a keyword", "is a function", "reads as dice", "reads as a modifier" };
        const auto reason = static_cast<std::size_t>(std::clamp<std::int64_t>(Number(error, 0), 0, 3));
        return quoted + " cannot be a name: it " + reads[reason] + "; names are letters, digits and _, such as atk";
    }
    case ErrorCode::UnboundName:
        return quoted + " is not a name: give it with let " + error.Text() + " = ... in ...";
    case ErrorCode::LabelUnclosed:
        return std::string("missing '\"' at the end of the label");
    case ErrorCode::LabelLength:
        return "a label holds 1 to " + std::to_string(maxLabelLength) + " characters";
    case ErrorCode::LabelCharacter:
        return "character " + CodePoint(Number(error, 0)) + " does not print: a label holds printable text";
    case ErrorCode::TooManyLabels:
        return "a roll has at most " + std::to_string(maxLabels) + " labels";
    case ErrorCode::LabelsAndTotals:
        return std::string("a roll gives labels or totals, not both: make every result a label, or none");
    case ErrorCode::LabelRead:
        return std::string("a label is a result only: it cannot be added, compared, named or thrown");
    case ErrorCode::NotACondition:
        return quoted + " takes a comparison of two rolls, such as 2d6 >= 8";
    case ErrorCode::NotAPool:
        return quoted
            + " reads a pool: dice such as 4d6 without keep or count, Nd(A), a group {A, B}, or a name given one";
    case ErrorCode::NoSuchPosition:
        return "a pool of " + Dice(Number(error, 1)) + " has no " + Ordinal(Number(error, 0))
            + " highest: nth takes 1 to " + std::to_string(Number(error, 1));
    case ErrorCode::SetSize:
        return "a set of " + Dice(Number(error, 0)) + " cannot show in a pool of " + Dice(Number(error, 1))
            + ": sets takes 1 to " + std::to_string(Number(error, 1));
    case ErrorCode::PoolTooMixed:
        return "a pool of unlike members would be read in " + std::to_string(Number(error, 0))
            + " ways: members written alike count once, so give fewer unlike ones";
    case ErrorCode::TooManyReadings:
        return "what follows 'in' would be read " + std::to_string(Number(error, 0))
            + " times, once per throw the names stand for: at most " + std::to_string(maxReadings)
            + "; read a large pool with its functions, without naming it";
    case ErrorCode::NotARepeatModifier:
        return quoted + " is not a modifier of Nd(A): it takes keep, drop, r, ro and counts, such as kh1 or >=8";
    default:
        return std::nullopt;
    }
}

// A number past one of the limits.
std::optional<std::string> LimitMessage(const ParseError &error)
{
    switch (error.Code()) {
    case ErrorCode::NumberTooLarge:
        return "the number is too large: at most " + std::to_string(maxNumber);
    case ErrorCode::DiceOutOfRange:
        return "the number of dice must be " + std::to_string(minDice) + " to " + std::to_string(maxDice);
    case ErrorCode::SidesOutOfRange:
        return "a die has " + std::to_string(minSides) + " to " + std::to_string(maxSides) + " sides";
    case ErrorCode::PickSidesTooMany:
        return "keep and drop take dice of at most " + std::to_string(maxPickSides) + " sides";
    case ErrorCode::TooManyTerms:
        return "an expression holds at most " + std::to_string(maxTerms) + " terms";
    case ErrorCode::TooManyDice:
        return "an expression holds at most " + std::to_string(maxDice) + " dice";
    case ErrorCode::TooManyFaces:
        return "a die has at most " + std::to_string(maxFaces) + " faces";
    case ErrorCode::ExplodeSidesTooMany:
        return "a die that explodes has at most " + std::to_string(maxExplodeSides) + " faces";
    case ErrorCode::ComparePastListing:
        return "a die that explodes is counted or rerolled only up to " + std::to_string(Number(error, 0));
    case ErrorCode::ListedTooFar:
        return "a roll that explodes would be listed " + std::to_string(Number(error, 0))
            + " totals past its own end: keep what is beside it or compared with it within "
            + std::to_string(maxListedPast);
    case ErrorCode::GroupSize:
        return "a group holds " + std::to_string(minMembers) + " to " + std::to_string(maxMembers)
            + " members, separated by commas";
    case ErrorCode::TooDeep:
        return "brackets, groups and functions nest at most " + std::to_string(maxDepth) + " deep";
    case ErrorCode::KeptSpanTooLarge:
        return "keeping or dropping several members takes members whose totals span at most "
            + std::to_string(maxKeptSpan) + " values, unless all are written alike";
    case ErrorCode::TotalTooLarge:
        return "a total could lie beyond " + std::to_string(maxTotal) + " either way";
    case ErrorCode::SpanTooLarge:
        return "the totals would span more than " + std::to_string(maxSpan) + " values";
    default:
        return std::nullopt;
    }
}

// Modifiers, keeps and operands that the rules of the notation refuse.
std::optional<std::string> RuleMessage(const ParseError &error)
{
    const std::string quoted = "'" + error.Text() + "'";
    switch (error.Code()) {
    case ErrorCode::CannotKeep:
        return "cannot keep " + std::to_string(Number(error, 0)) + " of " + Dice(Number(error, 1));
    case ErrorCode::CannotDrop:
        return "cannot drop " + std::to_string(Number(error, 0)) + " of " + Dice(Number(error, 1));
    case ErrorCode::Twice:
        return quoted + " is given twice: a term takes one of each kind of modifier";
    case ErrorCode::FailureFirst:
        return "'f' counts failures after a success count, such as >=8f1";
    case ErrorCode::ExplodesForever:
        return "every face explodes: the die would roll forever";
    case ErrorCode::RerollsForever:
        return "every face is rerolled: the die would roll forever";
    case ErrorCode::ExplosionFalls:
        return "an exploding die that takes away from the total would leave it no lowest value";
    case ErrorCode::KeepOfExplosions:
        return "keep and drop cannot pick among the extra dice of '!': use '!!' to add them into their die";
    case ErrorCode::UnboundedSubtracted:
        return "a roll with no highest total cannot be taken away";
    case ErrorCode::DivisorReachesZero:
        return "the divisor can be 0: its totals run from " + std::to_string(Number(error, 0)) + " to "
            + std::to_string(Number(error, 1));
    case ErrorCode::CannotKeepMembers:
        return "cannot keep " + std::to_string(Number(error, 0)) + " of " + std::to_string(Number(error, 1))
            + " members";
    case ErrorCode::CannotDropMembers:
        return "cannot drop " + std::to_string(Number(error, 0)) + " of " + std::to_string(Number(error, 1))
            + " members";
    case ErrorCode::KeepAndCount:
        return "a group keeps or drops members, or counts them, not both";
    case ErrorCode::UnboundedOperand:
        return "a roll that explodes has no highest total, so " + quoted + " cannot take it";
    case ErrorCode::NotAGroupModifier:
        return quoted + " is not a modifier of a group: a group takes only keep, drop and counts, such as kh1 or >=8";
    case ErrorCode::SecondPick:
        return quoted + " is a second keep or drop: a term takes only one";
    default:
        return std::nullopt;
    }
}

} // namespace

ParseError::ParseError(
    ErrorCode code, std::size_t position, std::vector<std::int64_t> numbers, std::string text, std::string hint)
    : m_code(code)
    , m_position(position)
    , m_numbers(std::move(numbers))
    , m_text(std::move(text))
    , m_hint(std::move(hint))
{
    m_message = ErrorMessage(*this);
}

ErrorCode ParseError::Code() const
{
    return m_code;
}

std::size_t ParseError::Position() const
{
    return m_position;
}

const std::vector<std::int64_t> &ParseError::Numbers() const
{
    return m_numbers;
}

const std::string &ParseError::Text() const
{
    return m_text;
}

const std::string &ParseError::Hint() const
{
    return m_hint;
}

const char *ParseError::what() const noexcept
{
    return m_message.c_str();
}

std::string ErrorMessage(const ParseError &error)
{
    for (const auto message : { TypingMessage, LimitMessage, RuleMessage, QuestionMessage }) {
        if (std::optional<std::string> text = message(error))
            return *text;
    }
    return "not an expression";
}

std::string ErrorText(std::string_view text, const ParseError &error)
{
    const std::vector<Shown> shown = Characters(text);
    int columns = 0;
    int caret = 0;
    for (const Shown &character : shown) {
        if (character.at < error.Position())
            caret += character.width;
        columns += character.width;
    }
    // A long expression is cut to the columns around the caret, a little
    // more before it than after, and the cuts are marked.
    int first = 0;
    int last = columns;
    if (columns > echoColumns + 10) {
        first = std::clamp(caret - echoColumns / 2, 0, columns - echoColumns);
        last = first + echoColumns;
    }
    std::string echo = first > 0 ? "..." : "";
    int column = 0;
    int caretAt = first > 0 ? 3 : 0;
    for (const Shown &character : shown) {
        if (column >= first && column + character.width <= last) {
            echo += character.text;
            if (character.at < error.Position())
                caretAt += character.width;
        }
        column += character.width;
    }
    if (last < columns)
        echo += "...";
    return echo + ": " + error.what() + "\n" + std::string(static_cast<std::size_t>(caretAt), ' ') + "^";
}

} // namespace dice
