#include "dice/dice.h"
#include "dice/limits.h"
#include "dice/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace dice
{

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Characters that text copied from web pages and word processors carries in
// place of the ASCII the notation uses.
struct Pasted {
    char32_t code;
    const char *name;
    const char *instead; // empty when no ASCII character stands for it
};

constexpr Pasted pasted[] = {
    { 0x00A0, "NO-BREAK SPACE", " " },
    { 0x00D7, "MULTIPLICATION SIGN", "" },
    { 0x2002, "EN SPACE", " " },
    { 0x2003, "EM SPACE", " " },
    { 0x2009, "THIN SPACE", " " },
    { 0x2010, "HYPHEN", "-" },
    { 0x2011, "NON-BREAKING HYPHEN", "-" },
    { 0x2012, "FIGURE DASH", "-" },
    { 0x2013, "EN DASH", "-" },
    { 0x2014, "EM DASH", "-" },
    { 0x202F, "NARROW NO-BREAK SPACE", " " },
    { 0x2212, "MINUS SIGN", "-" },
    { 0x3000, "IDEOGRAPHIC SPACE", " " },
    { 0xFF05, "FULLWIDTH PERCENT SIGN", "%" },
    { 0xFF0B, "FULLWIDTH PLUS SIGN", "+" },
    { 0xFF0D, "FULLWIDTH HYPHEN-MINUS", "-" },
    { 0xFF24, "FULLWIDTH LATIN CAPITAL LETTER D", "D" },
    { 0xFF44, "FULLWIDTH LATIN SMALL LETTER D", "d" },
};

ParseError NotAscii(char32_t code, std::size_t position)
{
    static constexpr std::array<const char *, 10> digits {
        "ZERO", "ONE", "TWO", "THREE", "FOUR", "FIVE", "SIX", "SEVEN", "EIGHT", "NINE"
    };
    std::string name;
    std::string instead;
    if (code >= 0xFF10 && code <= 0xFF19) {
        name = std::string("FULLWIDTH DIGIT ") + digits[code - 0xFF10];
        instead = static_cast<char>('0' + (code - 0xFF10));
    }
    const auto *found =
        std::find_if(std::begin(pasted), std::end(pasted), [&](const Pasted &p) { return p.code == code; });
    if (found != std::end(pasted)) {
        name = found->name;
        instead = found->instead;
    }
    return ParseError(ErrorCode::NotAscii, position, { static_cast<std::int64_t>(code) }, name, instead);
}

class Reader
{
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {
    }

    Expression Read()
    {
        CheckCharacters();
        SkipSpaces();
        if (AtEnd())
            throw ParseError(ErrorCode::Empty, m_at);

        Expression expression;
        int sign = 1;
        if (Peek() == '-' || Peek() == '+') {
            sign = Peek() == '-' ? -1 : 1;
            ++m_at;
            SkipSpaces();
        }
        int dice = 0;
        for (;;) {
            const std::size_t start = m_at;
            Term term = ReadTerm();
            term.sign = sign;
            if (expression.terms.size() == maxTerms)
                throw ParseError(ErrorCode::TooManyTerms, start);
            dice += term.dice;
            if (dice > maxDice)
                throw ParseError(ErrorCode::TooManyDice, start);
            expression.terms.push_back(term);

            SkipSpaces();
            if (AtEnd())
                return expression;
            if (Peek() == 'x' || Peek() == '*' || Peek() == '/')
                throw ParseError(ErrorCode::NotAnOperator, m_at, {}, Typed());
            if (Peek() != '+' && Peek() != '-')
                throw ParseError(ErrorCode::ExpectedOperator, m_at, {}, Typed());
            sign = Peek() == '-' ? -1 : 1;
            ++m_at;
            SkipSpaces();
        }
    }

private:
    // Anything outside ASCII is refused before the notation is read, so
    // that a pasted minus sign is named as such rather than as a place where
    // a term was expected.
    void CheckCharacters() const
    {
        for (std::size_t i = 0; i < m_text.size(); ++i) {
            char32_t code = 0;
            if (utf8::Next(m_text, i, code) == 0)
                throw ParseError(ErrorCode::NotUtf8, i, { static_cast<unsigned char>(m_text[i]) });
            if (code >= 0x80)
                throw NotAscii(code, i);
        }
    }

    bool AtEnd() const
    {
        return m_at == m_text.size();
    }

    char Peek() const
    {
        return AtEnd() ? '\0' : Lower(m_text[m_at]);
    }

    // The character at the current place as it was typed; empty at the end.
    std::string Typed() const
    {
        return std::string(m_text.substr(m_at, AtEnd() ? 0 : 1));
    }

    void SkipSpaces()
    {
        while (!AtEnd() && (m_text[m_at] == ' ' || m_text[m_at] == '\t'))
            ++m_at;
    }

    // Digits at the current place, stopped once they exceed the largest
    // number any part may have.
    std::int64_t ReadNumber(ErrorCode missing)
    {
        if (!IsDigit(Peek()))
            throw ParseError(missing, m_at, {}, Typed());
        const std::size_t start = m_at;
        std::int64_t value = 0;
        while (IsDigit(Peek())) {
            value = value * 10 + (Peek() - '0');
            if (value > maxNumber)
                throw ParseError(ErrorCode::NumberTooLarge, start);
            ++m_at;
        }
        return value;
    }

    Term ReadTerm()
    {
        Term term;
        const std::size_t start = m_at;
        if (Peek() != 'd' && !IsDigit(Peek()))
            throw ParseError(ErrorCode::ExpectedTerm, m_at, {}, Typed());
        const std::int64_t count = Peek() == 'd' ? 1 : ReadNumber(ErrorCode::ExpectedTerm);
        SkipSpaces();
        if (Peek() != 'd') {
            term.number = count;
            return term;
        }
        if (count < minDice || count > maxDice)
            throw ParseError(ErrorCode::DiceOutOfRange, start);
        term.dice = static_cast<int>(count);
        term.kept = term.dice;
        ++m_at;
        SkipSpaces();

        const std::size_t sidesAt = m_at;
        if (Peek() == '%') {
            term.sides = 100;
            ++m_at;
        } else if (Peek() == 'f') {
            term.sides = 3;
            term.fudge = true;
            ++m_at;
        } else {
            const std::int64_t sides = ReadNumber(ErrorCode::ExpectedSides);
            if (sides < minSides || sides > maxSides)
                throw ParseError(ErrorCode::SidesOutOfRange, sidesAt);
            term.sides = static_cast<int>(sides);
        }
        const std::string_view sides = m_text.substr(sidesAt, m_at - sidesAt);
        SkipSpaces();
        ReadPick(term, sidesAt, sides);
        return term;
    }

    // A word after the sides: kh, kl, dh or dl, with k alone for kh and d
    // alone for dl as the common notation has it; any other word is named as
    // what it is not, with the roll that was likely meant.
    void ReadPick(Term &term, std::size_t sidesAt, std::string_view sides)
    {
        const std::size_t wordAt = m_at;
        std::string word;
        while (IsLetter(Peek())) {
            word += Peek();
            ++m_at;
        }
        if (word.empty())
            return;
        const bool keep = word == "k" || word == "kh" || word == "kl";
        if (!keep && word != "d" && word != "dh" && word != "dl") {
            const std::string typed(m_text.substr(wordAt, word.size()));
            if (word == "x")
                throw ParseError(ErrorCode::NotAnOperator, wordAt, {}, typed);
            std::string instead;
            if (word == "adv" || word == "advantage" || word == "dis" || word == "disadvantage") {
                instead = std::to_string(std::max(term.dice, 2)) + "d" + std::string(sides)
                    + (word[0] == 'a' ? "kh1" : "kl1");
            }
            throw ParseError(ErrorCode::NotAModifier, wordAt, {}, typed, instead);
        }
        const bool highest = word.size() == 1 ? keep : word[1] == 'h';
        if (term.sides > maxPickSides)
            throw ParseError(ErrorCode::PickSidesTooMany, sidesAt);
        SkipSpaces();
        const std::size_t numberAt = m_at;
        const std::int64_t number = ReadNumber(keep ? ErrorCode::ExpectedKeep : ErrorCode::ExpectedDrop);
        if (keep && (number < 1 || number > term.dice))
            throw ParseError(ErrorCode::CannotKeep, numberAt, { number, term.dice });
        if (!keep && number >= term.dice)
            throw ParseError(ErrorCode::CannotDrop, numberAt, { number, term.dice });
        // Dropping the highest is keeping the lowest of the rest, and so on.
        term.kept = static_cast<int>(keep ? number : term.dice - number);
        term.pick = keep == highest ? Pick::Highest : Pick::Lowest;
        if (term.kept == term.dice)
            term.pick = Pick::All;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

} // namespace

Expression Parse(std::string_view text)
{
    return Reader(text).Read();
}

} // namespace dice
