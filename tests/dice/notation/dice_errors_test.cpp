// The parser's errors: the code and place of each, the English text made
// from them, the echo of what was typed, and the count's refusal of terms
// the parser would never give.
#include "dice/dice.h"
#include "dice/limits.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{

dice::ParseError ErrorOf(const std::string &text)
{
    try {
        dice::Parse(text);
    } catch (const dice::ParseError &error) {
        return error;
    }
    ADD_FAILURE() << "accepted \"" << text << "\"";
    return dice::ParseError(dice::ErrorCode::Empty, 0);
}

} // namespace

// Every code, as the command line prints it: the echo, the message and the
// caret. Each limit named here is the one the parser enforces.
TEST(DiceErrors, EachCodeHasItsTextAndPlace)
{
    using dice::ErrorCode;
    const struct {
        std::string text;
        ErrorCode code;
        const char *shown;
    } cases[] = {
        { "  ", ErrorCode::Empty, "  : the expression is empty\n  ^" },
        { "1d6+\xff", ErrorCode::NotUtf8, "1d6+?: byte 0xFF is not UTF-8 text\n    ^" },
        { "1d6+\xc3", ErrorCode::NotUtf8, "1d6+?: byte 0xC3 is not UTF-8 text\n    ^" },
        { "1d6 + \xc3\xa9",
            ErrorCode::NotAscii,
            "1d6 + \xc3\xa9: character U+00E9: only ASCII characters belong in an expression\n      ^" },
        { "2d\xef\xbc\x96",
            ErrorCode::NotAscii,
            "2d\xef\xbc\x96: character U+FF16 FULLWIDTH DIGIT SIX: type '6'\n  ^" },
        { "3\xc3\x97"
          "1d6",
            ErrorCode::NotAscii,
            "3\xc3\x97"
            "1d6: character U+00D7 MULTIPLICATION SIGN: only ASCII characters belong in an expression\n ^" },
        { "1d6+", ErrorCode::ExpectedTerm, "1d6+: missing a number or dice at the end\n    ^" },
        { "++1", ErrorCode::ExpectedTerm, "++1: unexpected '+': expected a number or dice\n ^" },
        { "1d6+2Q", ErrorCode::ExpectedOperator, "1d6+2Q: unexpected 'Q': expected '+', '-' or '*'\n     ^" },
        { "1d6\n", ErrorCode::ExpectedOperator, "1d6?: unexpected character U+000A: expected '+', '-' or '*'\n   ^" },
        { "3 x 1d6", ErrorCode::NotAnOperator, "3 x 1d6: 'x' is not an operator: multiply with '*'\n  ^" },
        { "D20 Dis", ErrorCode::NotAModifier, "D20 Dis: 'Dis' is not a modifier: type 2d20kl1\n    ^" },
        { "4dFa",
            ErrorCode::NotAModifier,
            "4dFa: 'a' is not a modifier: a term takes kh, kl, k, dh, dl, d, min, max, !, !!, !p, r, ro, "
            "a compare point such as >=8, f, s, sa, sd, cs and cf\n   ^" },
        // Words for a keep or drop name the term to type, if it is a roll.
        { "4D6 keep highest 3",
            ErrorCode::NotAModifier,
            "4D6 keep highest 3: 'keep highest 3' is not a modifier: type 4D6kh3\n    ^" },
        { "1d20 + 4d6 drop lowest",
            ErrorCode::NotAModifier,
            "1d20 + 4d6 drop lowest: 'drop lowest' is not a modifier: type 4d6dl1\n           ^" },
        { "d20 drop lowest",
            ErrorCode::NotAModifier,
            "d20 drop lowest: 'drop lowest' is not a modifier: a term takes kh, kl, k, dh, dl, d, min, max, !, !!, !p, "
            "r, ro, a compare point such as >=8, f, s, sa, sd, cs and cf\n    ^" },
        { "4d6dh1kh1",
            ErrorCode::SecondPick,
            "4d6dh1kh1: 'kh' is a second keep or drop: a term takes only one\n      ^" },
        // A 'd' that could not drop as many but could be a die's sides.
        { "1d3d6",
            ErrorCode::DieAfterSides,
            "1d3d6: the sides of a die cannot be followed by another 'd': type 1d3+1d6\n   ^" },
        { "3D6 d3",
            ErrorCode::DieAfterSides,
            "3D6 d3: the sides of a die cannot be followed by another 'd': type 3D6+1d3\n    ^" },
        { "1d", ErrorCode::ExpectedSides, "1d: missing the number of sides\n  ^" },
        { "1dh", ErrorCode::ExpectedSides, "1dh: unexpected 'h': expected the number of sides\n  ^" },
        { "4d6k", ErrorCode::ExpectedKeep, "4d6k: missing how many dice to keep\n    ^" },
        { "4d6dl-1", ErrorCode::ExpectedDrop, "4d6dl-1: unexpected '-': expected how many dice to drop\n     ^" },
        { "1000001", ErrorCode::NumberTooLarge, "1000001: the number is too large: at most 1000000\n^" },
        { "101d6", ErrorCode::DiceOutOfRange, "101d6: the number of dice must be 1 to 100\n^" },
        { "1d1001", ErrorCode::SidesOutOfRange, "1d1001: a die has 2 to 1000 sides\n  ^" },
        { "4d101kh3", ErrorCode::PickSidesTooMany, "4d101kh3: keep and drop take dice of at most 100 sides\n  ^" },
        { "3d6 kh 4", ErrorCode::CannotKeep, "3d6 kh 4: cannot keep 4 of 3 dice\n       ^" },
        { "1d6d1", ErrorCode::CannotDrop, "1d6d1: cannot drop 1 of 1 die\n    ^" },
        { "60d6+41d6", ErrorCode::TooManyDice, "60d6+41d6: an expression holds at most 100 dice\n     ^" },
    };
    for (const auto &[text, code, shown] : cases) {
        const dice::ParseError error = ErrorOf(text);
        EXPECT_EQ(error.Code(), code) << text;
        EXPECT_EQ(dice::ErrorText(text, error), shown) << text;
    }
    std::string terms = "1";
    for (int i = 2; i <= dice::maxTerms + 1; ++i) {
        terms += '+';
        terms += std::to_string(i);
    }
    std::string expected = "an expression holds at most ";
    expected += std::to_string(dice::maxTerms) + " terms";
    EXPECT_EQ(ErrorOf(terms).what(), expected);
    // The messages are written by theme; no code may fall through them all.
    for (int code = 0; code <= static_cast<int>(ErrorCode::CommaOutsideGroup); ++code) {
        EXPECT_NE(dice::ErrorMessage(dice::ParseError(static_cast<ErrorCode>(code), 0)), "not an expression") << code;
    }
}

// Fault: the message quoted the character lower-cased, 'x' for "X".
TEST(DiceErrors, MessagesQuoteWhatWasTyped)
{
    const std::pair<const char *, const char *> cases[] = {
        { "1d6X", "'X' is not an operator" },
        { "1d6+2Q", "unexpected 'Q'" },
        { "1D6KHZ", "'KHZ' is not a modifier" },
        { "1dH", "unexpected 'H'" },
        { "1d6+2~", "unexpected '~'" },
    };
    for (const auto &[text, quoted] : cases)
        EXPECT_NE(std::string(ErrorOf(text).what()).find(quoted), std::string::npos)
            << text << ": " << ErrorOf(text).what();
}

// The forms other notations use: d alone drops the lowest, as k alone keeps
// the highest; a tab is a space.
TEST(DiceErrors, CommonSpellingsAreRead)
{
    const std::pair<const char *, const char *> cases[] = {
        { "4d6d1", "4d6kh3" },
        { "5d10D2", "5d10kh3" },
        { "4d6k3", "4d6kh3" },
        { "1d6\t+\t2", "1d6+2" },
    };
    for (const auto &[text, same] : cases) {
        const dice::Distribution a = dice::Evaluate(dice::Parse(text));
        const dice::Distribution b = dice::Evaluate(dice::Parse(same));
        EXPECT_EQ(a.lowest, b.lowest) << text;
        EXPECT_EQ(a.counts, b.counts) << text;
    }
}

// The echo counts columns, not bytes: a wide digit takes two, an accent
// none. A long expression is echoed around its error only.
TEST(DiceErrors, TheCaretLinesUpUnderWhatWasTyped)
{
    const std::string fullWidthOne = "\xef\xbc\x91";
    EXPECT_EQ(dice::ErrorText(fullWidthOne + "d6", ErrorOf(fullWidthOne + "d6")),
        fullWidthOne + "d6: character U+FF11 FULLWIDTH DIGIT ONE: type '1'\n^");
    // The error is past a wide character and a combining accent.
    const dice::ParseError after(dice::ErrorCode::ExpectedOperator, 8, {}, "x");
    EXPECT_EQ(dice::ErrorText(fullWidthOne
                      + "e\xcc\x81"
                        "d6x",
                  after),
        fullWidthOne
            + "e\xcc\x81"
              "d6x: unexpected 'x': expected '+', '-' or '*'\n     ^");

    // An error in the middle: cut on both sides, the caret under the 'Q'.
    const std::string text = "1d6+" + std::string(2000, ' ') + "2Q" + std::string(2000, ' ') + "+3";
    const dice::ParseError error = ErrorOf(text);
    const std::string shown = dice::ErrorText(text, error);
    const std::size_t line = shown.find('\n');
    const std::size_t echo = shown.find(": unexpected 'Q'");
    EXPECT_EQ(echo, 3 + 60 + 3) << shown;
    EXPECT_EQ(shown.substr(0, 3), "...");
    EXPECT_EQ(shown.substr(echo - 3, 3), "...");
    EXPECT_EQ(shown.substr(shown.size() - 1 - (line + 1), 1), "Q") << shown;

    // An error at the end: cut before it only, the caret just past the text.
    std::string terms;
    for (int i = 0; i < 200; ++i)
        terms.append("1+");
    const std::string end = dice::ErrorText(terms, dice::ParseError(dice::ErrorCode::ExpectedTerm, terms.size()));
    EXPECT_EQ(end.substr(0, 5), "...1+") << end;
    EXPECT_EQ(end.find(": "), 3 + 60) << end;
    EXPECT_EQ(end.size() - 1 - (end.find('\n') + 1), 3 + 60) << end;

    // Seventy columns are echoed whole; one more, and the echo is cut.
    for (const std::size_t size : { 70U, 71U }) {
        const std::string ones(size, '1');
        const std::string whole = dice::ErrorText(ones, dice::ParseError(dice::ErrorCode::ExpectedTerm, size));
        EXPECT_EQ(whole.substr(0, 3) == "...", size > 70) << whole;
    }
}

// Fault: a term built by hand outside the notation was counted wrongly (3d6
// keeping 3 highest counted 0 of 216 outcomes) or sized a table negatively.
TEST(DiceErrors, HandBuiltTermsOutsideTheNotationAreRefused)
{
    const auto term = [](int dice, int sides, dice::Pick pick, int kept) {
        dice::Term t;
        t.dice = dice;
        t.sides = sides;
        t.pick = pick;
        t.kept = kept;
        return t;
    };
    const dice::Term bad[] = {
        term(3, 6, dice::Pick::Highest, 3),
        term(3, 6, dice::Pick::Lowest, 4),
        term(3, 6, dice::Pick::Highest, 0),
        term(3, 6, dice::Pick::All, 2),
        term(2, 1, dice::Pick::All, 2),
        term(2, dice::maxSides + 1, dice::Pick::All, 2),
        term(4, dice::maxPickSides + 1, dice::Pick::Highest, 3),
        term(dice::maxDice + 1, 6, dice::Pick::All, dice::maxDice + 1),
        term(-1, 6, dice::Pick::All, -1),
    };
    for (const dice::Term &t : bad) {
        dice::Expression expression;
        expression.terms.push_back(t);
        EXPECT_THROW(dice::Evaluate(expression), std::invalid_argument)
            << t.dice << "d" << t.sides << " keeping " << t.kept;
    }
    dice::Term signless = term(1, 6, dice::Pick::All, 1);
    signless.sign = 0;
    dice::Term number;
    number.number = dice::maxNumber + 1;
    dice::Term fudge = term(1, 6, dice::Pick::All, 1);
    fudge.fudge = true;
    for (const dice::Term &t : { signless, number, fudge })
        EXPECT_THROW(dice::Evaluate({ { t } }), std::invalid_argument);
    dice::Expression tooMany;
    tooMany.terms.assign(dice::maxTerms + 1, term(1, 6, dice::Pick::All, 1));
    EXPECT_THROW(dice::Evaluate(tooMany), std::invalid_argument);
    tooMany.terms.assign(2, term(dice::maxDice / 2 + 1, 6, dice::Pick::All, dice::maxDice / 2 + 1));
    EXPECT_THROW(dice::Evaluate(tooMany), std::invalid_argument);
    // The largest the notation allows still counts.
    EXPECT_NO_THROW(dice::Evaluate({ { term(dice::maxDice, dice::maxPickSides, dice::Pick::Highest, 1) } }));
}
