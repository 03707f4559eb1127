// Every form a question refuses: its code, where the caret goes, and its
// words, which the command line prints as they are.
#include "dice/dice.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct Refused {
    const char *text;
    dice::ErrorCode code;
    std::size_t position;
    const char *message;
};

} // namespace

TEST(DiceQuestionErrors, EachRefusedFormSaysWhyAndWhere)
{
    using dice::ErrorCode;
    const Refused cases[] = {
        { "let d6 = 1d6 in d6",
            ErrorCode::ReservedName,
            4,
            "'d6' cannot be a name: it reads as dice; names are letters, digits and _, such as atk" },
        { "let kh2 = 1d6 in kh2",
            ErrorCode::ReservedName,
            4,
            "'kh2' cannot be a name: it reads as a modifier; names are letters, digits and _, such as atk" },
        { "let Then = 1d6 in 1",
            ErrorCode::ReservedName,
            4,
            "'Then' cannot be a name: it is a keyword; names are letters, digits and _, such as atk" },
        { "let count = 1d6 in 1",
            ErrorCode::ReservedName,
            4,
            "'count' cannot be a name: it is a function; names are letters, digits and _, such as atk" },
        { "let x = 1d6 in y + x", ErrorCode::UnboundName, 15, "'y' is not a name: give it with let y = ... in ..." },
        { "(let x = 1d6 in x) + x", ErrorCode::UnboundName, 21, "'x' is not a name: give it with let x = ... in ..." },
        { "let x 1d6 in x", ErrorCode::ExpectedWord, 6, "unexpected '1': expected '='" },
        { "let x = 1d6 x", ErrorCode::ExpectedWord, 12, "unexpected 'x': expected 'in'" },
        { "let = 1d6 in 1", ErrorCode::ExpectedName, 4, "unexpected '=': expected a name, such as atk" },
        { "if 1d6 = 1 1 else 0", ErrorCode::ExpectedWord, 11, "unexpected '1': expected 'then'" },
        { "if 1d6 = 1 then 1", ErrorCode::ExpectedWord, 17, "missing 'else'" },
        { "if 1d6 then 1 else 0",
            ErrorCode::NotACondition,
            0,
            "'if' takes a comparison of two rolls, such as 2d6 >= 8" },
        { "if (2d6 >= 8) or 1d6 = 1 then 1 else 0",
            ErrorCode::NotACondition,
            14,
            "'or' takes a comparison of two rolls, such as 2d6 >= 8" },
        { "1d6 then 2", ErrorCode::StrayKeyword, 4, "'then' belongs to if: if COND then A else B" },
        { "let x = 1d6! in x",
            ErrorCode::UnboundedOperand,
            8,
            "a roll that explodes has no highest total, so 'let' cannot take it" },
        { "if 1d6! + 1 > 3 then 1 else 0",
            ErrorCode::UnboundedOperand,
            3,
            "a roll that explodes has no highest total, so '>' cannot take it" },
        { "highest(4d6!)",
            ErrorCode::UnboundedOperand,
            8,
            "a roll that explodes has no highest total, so 'highest' cannot take it" },
        { R"(if 1d6 = 1 then "hit" else 2)",
            ErrorCode::LabelsAndTotals,
            27,
            "a roll gives labels or totals, not both: make every result a label, or none" },
        { R"("a" + 1)",
            ErrorCode::LabelRead,
            0,
            "a label is a result only: it cannot be added, compared, named or thrown" },
        { R"(if 1d6 = 1 then "hit else "miss")", ErrorCode::ExpectedWord, 27, "unexpected 'miss': expected 'else'" },
        { R"(if 1d6 = 1 then "" else "miss")", ErrorCode::LabelLength, 16, "a label holds 1 to 40 characters" },
        { "if 1d6 = 1 then \"a\tb\" else \"c\"",
            ErrorCode::LabelCharacter,
            18,
            "character U+0009 does not print: a label holds printable text" },
        { R"(if 1d6 = 1 then "open)", ErrorCode::LabelUnclosed, 16, "missing '\"' at the end of the label" },
        { "nth(5, 4d6)", ErrorCode::NoSuchPosition, 0, "a pool of 4 dice has no 5th highest: nth takes 1 to 4" },
        { "sets(0, 4d6)", ErrorCode::SetSize, 0, "a set of 0 dice cannot show in a pool of 4 dice: sets takes 1 to 4" },
        { "highest(4d6kh3)",
            ErrorCode::NotAPool,
            8,
            "'highest' reads a pool: dice such as 4d6 without keep or count, Nd(A), a group {A, B}, or a name given "
            "one" },
        { "highest(4d6, 2)", ErrorCode::ArgumentCount, 11, "highest takes 1 roll, not 2: write highest(A)" },
        { "let a = 10d10, b = 10d10 in a + b",
            ErrorCode::TooManyReadings,
            0,
            "what follows 'in' would be read 8533694884 times, once per throw the names stand for: at most 1000000; "
            "read a large pool with its functions, without naming it" },
        { "6d(1d6)x",
            ErrorCode::NotARepeatModifier,
            7,
            "'x' is not a modifier of Nd(A): it takes keep, drop, r, ro and counts, such as kh1 or >=8" },
        { "highest({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})",
            ErrorCode::PoolTooMixed,
            8,
            "a pool of unlike members would be read in 8192 ways: members written alike count once, so give fewer "
            "unlike ones" },
        { "3d(1d6)kh4", ErrorCode::CannotKeepMembers, 7, nullptr },
        { "2d(1d6)r<7", ErrorCode::RerollsForever, 0, nullptr },
        { "let x = 1d6 in x +", ErrorCode::ExpectedTerm, 18, nullptr },
        { "let x = 1d6 in x / 2", ErrorCode::Division, 17, nullptr },
        { "let x = 1d6 in 1d6 × x", ErrorCode::NotAscii, 19, nullptr },
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.text);
        try {
            dice::Parse(c.text);
            ADD_FAILURE() << "read without an error";
        } catch (const dice::ParseError &error) {
            EXPECT_EQ(error.Code(), c.code);
            EXPECT_EQ(error.Position(), c.position);
            if (c.message != nullptr) {
                EXPECT_EQ(dice::ErrorMessage(error), c.message);
            }
        }
    }
}

// A roll alone still reads as it always did, with its own errors, however
// near it comes to a question's words.
TEST(DiceQuestionErrors, RollsAloneReadAsBefore)
{
    EXPECT_FALSE(dice::Parse("2d6 + 3").question);
    EXPECT_FALSE(dice::Parse("{4d6kh3, 4d6kh3}kh1").question);
    EXPECT_TRUE(dice::Parse("6d(4d6kh3)kh1").question);
    try {
        dice::Parse("2d20kh1 + 5 >= 15");
        ADD_FAILURE();
    } catch (const dice::ParseError &error) {
        EXPECT_EQ(error.Code(), dice::ErrorCode::ComparedTotal);
    }
}
