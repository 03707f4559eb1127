#include "window/parse_errors.h"

#include "dice/limits.h"
#include "window/error_mark.h"

#include <cstdint>

namespace window
{

namespace
{

std::int64_t Number(const dice::ParseError &error, std::size_t index)
{
    return index < error.Numbers().size() ? error.Numbers()[index] : 0;
}

QString CodePoint(std::int64_t code)
{
    const auto value = static_cast<std::uint32_t>(code);
    return QStringLiteral("U+%1").arg(value, value > 0xFFFF ? 6 : 4, 16, QLatin1Char('0')).toUpper();
}

QString Typed(const dice::ParseError &error)
{
    return QString::fromStdString(error.Text());
}

// A character as a message names it: quoted when it prints, else by code.
QString Character(const dice::ParseError &error)
{
    const std::string &typed = error.Text();
    if (typed.size() == 1 && typed[0] >= ' ' && typed[0] <= '~')
        return QStringLiteral("'%1'").arg(Typed(error));
    return ParseErrors::tr("character %1").arg(CodePoint(typed.empty() ? 0 : static_cast<unsigned char>(typed[0])));
}

QString Number(std::int64_t value)
{
    return QString::number(value);
}

// A byte as two upper-case hexadecimal digits.
QString Hex(std::int64_t byte)
{
    return QStringLiteral("%1").arg(static_cast<std::uint32_t>(byte), 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString ParseErrors::Message(const dice::ParseError &error)
{
    using dice::ErrorCode;
    // A character as a message names it: quoted when it prints, else by code.
    const std::string &typed = error.Text();
    const bool prints = typed.size() == 1 && typed[0] >= ' ' && typed[0] <= '~';
    const QString character = prints
        ? QStringLiteral("'%1'").arg(Typed(error))
        : tr("character %1").arg(CodePoint(typed.empty() ? 0 : static_cast<unsigned char>(typed[0])));
    const bool atEnd = typed.empty();
    const QString hint = QString::fromStdString(error.Hint());
    switch (error.Code()) {
    case ErrorCode::Empty:
        return tr("the expression is empty");
    case ErrorCode::NotUtf8:
        return tr("byte 0x%1 is not UTF-8 text").arg(Hex(Number(error, 0)));
    case ErrorCode::NotAscii: {
        QString named = CodePoint(Number(error, 0));
        if (!error.Text().empty())
            named += QLatin1Char(' ') + Typed(error);
        if (error.Hint().empty())
            return tr("character %1: only ASCII characters belong in an expression").arg(named);
        if (error.Hint() == " ")
            return tr("character %1: type a space").arg(named);
        return tr("character %1: type '%2'").arg(named, QString::fromStdString(error.Hint()));
    }
    case ErrorCode::ExpectedTerm:
        return atEnd ? tr("missing a number or dice at the end")
                     : tr("unexpected %1: expected a number or dice").arg(character);
    case ErrorCode::ExpectedOperator:
        return atEnd ? tr("missing '+', '-' or '*'") : tr("unexpected %1: expected '+', '-' or '*'").arg(character);
    case ErrorCode::NotAnOperator:
        return tr("'%1' is not an operator: multiply with '*'").arg(Typed(error));
    case ErrorCode::NotAModifier:
        if (error.Hint().empty())
            return tr(
                "'%1' is not a modifier: a term takes kh, kl, k, dh, dl, d, min, max, !, !!, !p, r, ro, a compare "
                "point such as >=8, f, s, sa, sd, cs and cf")
                .arg(Typed(error));
        return tr("'%1' is not a modifier: type %2").arg(Typed(error), QString::fromStdString(error.Hint()));
    case ErrorCode::ExpectedSides:
        return atEnd ? tr("missing the number of sides")
                     : tr("unexpected %1: expected the number of sides").arg(character);
    case ErrorCode::ExpectedKeep:
        return atEnd ? tr("missing how many dice to keep")
                     : tr("unexpected %1: expected how many dice to keep").arg(character);
    case ErrorCode::ExpectedDrop:
        return atEnd ? tr("missing how many dice to drop")
                     : tr("unexpected %1: expected how many dice to drop").arg(character);
    case ErrorCode::NumberTooLarge:
        return tr("the number is too large: at most %1").arg(Number(dice::maxNumber));
    case ErrorCode::DiceOutOfRange:
        return tr("the number of dice must be %1 to %2").arg(Number(dice::minDice), Number(dice::maxDice));
    case ErrorCode::SidesOutOfRange:
        return tr("a die has %1 to %2 sides").arg(Number(dice::minSides), Number(dice::maxSides));
    case ErrorCode::PickSidesTooMany:
        return tr("keep and drop take dice of at most %1 sides").arg(Number(dice::maxPickSides));
    case ErrorCode::CannotKeep:
        return (Number(error, 1) == 1 ? tr("cannot keep %1 of %2 die") : tr("cannot keep %1 of %2 dice"))
            .arg(Number(Number(error, 0)), Number(Number(error, 1)));
    case ErrorCode::CannotDrop:
        return (Number(error, 1) == 1 ? tr("cannot drop %1 of %2 die") : tr("cannot drop %1 of %2 dice"))
            .arg(Number(Number(error, 0)), Number(Number(error, 1)));
    case ErrorCode::TooManyTerms:
        return tr("an expression holds at most %1 terms").arg(Number(dice::maxTerms));
    case ErrorCode::TooManyDice:
        return tr("an expression holds at most %1 dice").arg(Number(dice::maxDice));
    case ErrorCode::NoFaces:
        return tr("a die needs at least one face between '{' and '}'");
    case ErrorCode::ExpectedFace:
        return atEnd ? tr("missing a face") : tr("unexpected %1: expected a face").arg(character);
    case ErrorCode::FacesUnclosed:
        return atEnd ? tr("missing '}' after the faces") : tr("unexpected %1: expected ',' or '}'").arg(character);
    case ErrorCode::TooManyFaces:
        return tr("a die has at most %1 faces").arg(Number(dice::maxFaces));
    case ErrorCode::ExpectedComparison:
        return atEnd ? tr("missing a number to compare with")
                     : tr("unexpected %1: expected a number to compare with").arg(character);
    case ErrorCode::Twice:
        return tr("'%1' is given twice: a term takes one of each kind of modifier").arg(Typed(error));
    case ErrorCode::FailureFirst:
        return tr("'f' counts failures after a success count, such as >=8f1");
    case ErrorCode::ExplodesForever:
        return tr("every face explodes: the die would roll forever");
    case ErrorCode::RerollsForever:
        return tr("every face is rerolled: the die would roll forever");
    case ErrorCode::ExplodeSidesTooMany:
        return tr("a die that explodes has at most %1 faces").arg(Number(dice::maxExplodeSides));
    case ErrorCode::ExplosionFalls:
        return tr("an exploding die that takes away from the total would leave it no lowest value");
    case ErrorCode::KeepOfExplosions:
        return tr("keep and drop cannot pick among the extra dice of '!': use '!!' to add them into their die");
    case ErrorCode::UnboundedSubtracted:
        return tr("a roll with no highest total cannot be taken away");
    case ErrorCode::ComparePastListing:
        return tr("a die that explodes is counted or rerolled only up to %1").arg(Number(Number(error, 0)));
    case ErrorCode::Division:
        return tr("'/' alone does not divide, since totals stay whole numbers: write floor(A / B), ceil(A / B) or "
                  "round(A / B)");
    case ErrorCode::NotAPower:
        return tr("'%1' is not an operator: multiply with '*'").arg(Typed(error));
    case ErrorCode::ExpectedSymbol: {
        const QString symbol = QStringLiteral("'%1'").arg(QString::fromStdString(error.Hint()));
        return atEnd ? tr("missing %1").arg(symbol) : tr("unexpected %1: expected %2").arg(character, symbol);
    }
    case ErrorCode::NotAFunction:
        return tr("'%1' is not a function such as floor, ceil, round, abs, max or min").arg(Typed(error));
    case ErrorCode::ArgumentCount:
        return (Number(error, 0) == 1 ? tr("%1 takes 1 roll, not %2: write %1(A)")
                                      : tr("%1 takes %3 rolls, not %2: write %1(A, B)"))
            .arg(Typed(error), Number(Number(error, 1)), Number(Number(error, 0)));
    case ErrorCode::ExpectedDivision:
        return tr("%1 takes one division, A / B: put a sum in brackets, as in %1((1d6+2) / 2)").arg(Typed(error));
    case ErrorCode::DivisorReachesZero:
        return tr("the divisor can be 0: its totals run from %1 to %2")
            .arg(Number(Number(error, 0)), Number(Number(error, 1)));
    case ErrorCode::GroupSize:
        return tr("a group holds %1 to %2 members, separated by commas")
            .arg(Number(dice::minMembers), Number(dice::maxMembers));
    case ErrorCode::TooDeep:
        return tr("brackets, groups and functions nest at most %1 deep").arg(Number(dice::maxDepth));
    case ErrorCode::CannotKeepMembers:
        return tr("cannot keep %1 of %2 members").arg(Number(Number(error, 0)), Number(Number(error, 1)));
    case ErrorCode::CannotDropMembers:
        return tr("cannot drop %1 of %2 members").arg(Number(Number(error, 0)), Number(Number(error, 1)));
    case ErrorCode::KeptSpanTooLarge:
        return tr("keeping or dropping several members takes members whose totals span at most %1 values, unless "
                  "all are written alike")
            .arg(Number(dice::maxKeptSpan));
    case ErrorCode::KeepAndCount:
        return tr("a group keeps or drops members, or counts them, not both");
    case ErrorCode::UnboundedOperand:
        return tr("a roll that explodes has no highest total, so '%1' cannot take it").arg(Typed(error));
    case ErrorCode::TotalTooLarge:
        return tr("a total could lie beyond %1 either way").arg(Number(dice::maxTotal));
    case ErrorCode::SpanTooLarge:
        return tr("the totals would span more than %1 values").arg(Number(dice::maxSpan));
    case ErrorCode::ListedTooFar:
        return tr("a roll that explodes would be listed %1 totals past its own end: keep what is beside it or "
                  "compared with it within %2")
            .arg(Number(Number(error, 0)), Number(dice::maxListedPast));
    case ErrorCode::NotAGroupModifier:
        return tr("'%1' is not a modifier of a group: a group takes only keep, drop and counts, such as kh1 or >=8")
            .arg(Typed(error));
    case ErrorCode::SecondPick:
        return tr("'%1' is a second keep or drop: a term takes only one").arg(Typed(error));
    case ErrorCode::DieAfterSides:
        return tr("the sides of a die cannot be followed by another 'd': type %1").arg(hint);
    // The command line's options have the window's own controls here: the
    // target below the rolls, and the Head to head tab.
    case ErrorCode::ComparedTotal:
        return tr("a roll holds no comparison of its total: type the roll alone and set the Target");
    case ErrorCode::Versus:
        return tr("one roll against another is the Head to head tab: type each roll in a box of its own");
    case ErrorCode::CommaOutsideGroup:
        return tr("',' separates the members of a group: type %1, or each roll in a box of its own")
            .arg(hint.isEmpty() ? QStringLiteral("{A, B}") : hint);
    default:
        return QuestionMessage(error);
    }
}

QString ParseErrors::QuestionMessage(const dice::ParseError &error)
{
    using dice::ErrorCode;
    const QString typed = Typed(error);
    const QString hint = QString::fromStdString(error.Hint());
    switch (error.Code()) {
    case ErrorCode::ExpectedWord:
        if (typed.isEmpty())
            return tr("missing '%1'").arg(hint);
        return typed.size() == 1 ? tr("unexpected %1: expected '%2'").arg(Character(error), hint)
                                 : tr("unexpected '%1': expected '%2'").arg(typed, hint);
    case ErrorCode::StrayKeyword:
        if (error.Text() == "in")
            return tr("'in' follows let and its named throws, as in let x = 1d20 in x + 5");
        if (error.Text() == "then" || error.Text() == "else")
            return tr("'%1' belongs to if: if COND then A else B").arg(typed);
        if (error.Text() == "not")
            return tr("'not' goes before a condition, as in if not 1d20 = 1 then 1 else 0");
        return tr("'%1' joins two conditions, as in if 1d6 = 6 %1 1d8 = 8 then 1 else 0").arg(typed);
    case ErrorCode::ExpectedName:
        if (typed.isEmpty())
            return tr("missing a name for the throw");
        return typed.size() == 1 ? tr("unexpected %1: expected a name, such as atk").arg(Character(error))
                                 : tr("unexpected '%1': expected a name, such as atk").arg(typed);
    case ErrorCode::ReservedName:
        switch (Number(error, 0)) {
        case 0:
            return tr("'%1' cannot be a name: it is a keyword; names are letters, digits and _, such as atk")
                .arg(typed);
        case 1:
            return tr("'%1' cannot be a name: it is a function; names are letters, digits and _, such as atk")
                .arg(typed);
        case 2:
            return tr("'%1' cannot be a name: it reads as dice; names are letters, digits and _, such as atk")
                .arg(typed);
        default:
            return tr("'%1' cannot be a name: it reads as a modifier; names are letters, digits and _, such as atk")
                .arg(typed);
        }
    case ErrorCode::UnboundName:
        return tr("'%1' is not a name: give it with let %1 = ... in ...").arg(typed);
    case ErrorCode::LabelUnclosed:
        return tr("missing '\"' at the end of the label");
    case ErrorCode::LabelLength:
        return tr("a label holds 1 to %1 characters").arg(dice::maxLabelLength);
    case ErrorCode::LabelCharacter:
        return tr("character %1 does not print: a label holds printable text").arg(CodePoint(Number(error, 0)));
    case ErrorCode::TooManyLabels:
        return tr("a roll has at most %1 labels").arg(dice::maxLabels);
    case ErrorCode::LabelsAndTotals:
        return tr("a roll gives labels or totals, not both: make every result a label, or none");
    case ErrorCode::LabelRead:
        return tr("a label is a result only: it cannot be added, compared, named or thrown");
    case ErrorCode::NotACondition:
        return tr("'%1' takes a comparison of two rolls, such as 2d6 >= 8").arg(typed);
    case ErrorCode::NotAPool:
        return tr("'%1' reads a pool: dice such as 4d6 without keep or count, Nd(A), a group {A, B}, or a name given "
                  "one")
            .arg(typed);
    case ErrorCode::NoSuchPosition:
        return tr("a pool of %1 dice has no die at place %2 from the highest: nth takes 1 to %1")
            .arg(Number(Number(error, 1)), Number(Number(error, 0)));
    case ErrorCode::SetSize:
        return tr("a set of %1 dice cannot show in a pool of %2 dice: sets takes 1 to %2")
            .arg(Number(Number(error, 0)), Number(Number(error, 1)));
    case ErrorCode::PoolTooMixed:
        return tr("a pool of unlike members would be read in %1 ways: members written alike count once, so give "
                  "fewer unlike ones")
            .arg(Number(Number(error, 0)));
    case ErrorCode::TooManyReadings:
        return tr("what follows 'in' would be read %1 times, once per throw the names stand for: at most %2; read a "
                  "large pool with its functions, without naming it")
            .arg(Number(Number(error, 0)), Number(dice::maxReadings));
    case ErrorCode::NotARepeatModifier:
        return tr("'%1' is not a modifier of Nd(A): it takes keep, drop, r, ro and counts, such as kh1 or >=8")
            .arg(typed);
    default:
        break;
    }
    return tr("not an expression");
}

QString ParseErrors::Status(const dice::ParseError &error, const QString &typed)
{
    return tr("At character %1: %2").arg(CharacterNumber(typed, error)).arg(Message(error));
}

} // namespace window
