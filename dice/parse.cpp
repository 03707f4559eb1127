#include "dice/dice.h"

#include <cstdint>
#include <string>

namespace dice
{

namespace
{

constexpr int maxDice = 100;
constexpr int maxTerms = 20;
constexpr int minSides = 2;
constexpr int maxSides = 1000;
constexpr int maxPickSides = 100;
constexpr std::int64_t maxNumber = 1000000;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A character as an error names it; one that does not print, by its code.
std::string Quoted(char c)
{
    if (c >= ' ' && c <= '~')
        return std::string("'") + c + "'";
    static const char hex[] = "0123456789ABCDEF";
    const auto code = static_cast<unsigned char>(c);
    return std::string("character 0x") + hex[code / 16] + hex[code % 16];
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
        for (std::size_t i = 0; i < m_text.size(); ++i) {
            if (static_cast<unsigned char>(m_text[i]) >= 0x80)
                throw ParseError("only ASCII characters belong in an expression", i);
        }
        SkipSpaces();
        if (AtEnd())
            throw ParseError("the expression is empty", m_at);

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
                throw ParseError("an expression holds at most 20 terms", start);
            dice += term.dice;
            if (dice > maxDice)
                throw ParseError("an expression holds at most 100 dice", start);
            expression.terms.push_back(term);

            SkipSpaces();
            if (AtEnd())
                return expression;
            if (Peek() != '+' && Peek() != '-')
                throw ParseError("unexpected " + Quoted(Peek()) + ": expected '+' or '-'", m_at);
            sign = Peek() == '-' ? -1 : 1;
            ++m_at;
            SkipSpaces();
        }
    }

private:
    bool AtEnd() const
    {
        return m_at == m_text.size();
    }

    char Peek() const
    {
        return AtEnd() ? '\0' : Lower(m_text[m_at]);
    }

    void SkipSpaces()
    {
        while (!AtEnd() && m_text[m_at] == ' ')
            ++m_at;
    }

    // Digits at the current place, stopped once they exceed the largest
    // number any part may have.
    std::int64_t ReadNumber(const char *what)
    {
        if (!IsDigit(Peek()))
            throw ParseError(AtEnd() ? std::string("missing ") + what : "expected " + std::string(what), m_at);
        const std::size_t start = m_at;
        std::int64_t value = 0;
        while (IsDigit(Peek())) {
            value = value * 10 + (Peek() - '0');
            if (value > maxNumber)
                throw ParseError("the number is too large", start);
            ++m_at;
        }
        return value;
    }

    Term ReadTerm()
    {
        Term term;
        const std::size_t start = m_at;
        if (Peek() != 'd' && !IsDigit(Peek())) {
            if (AtEnd())
                throw ParseError("missing a number or dice at the end", m_at);
            throw ParseError("unexpected " + Quoted(m_text[m_at]) + ": expected a number or dice", m_at);
        }
        const std::int64_t count = Peek() == 'd' ? 1 : ReadNumber("a number");
        SkipSpaces();
        if (Peek() != 'd') {
            term.number = count;
            return term;
        }
        if (count < 1 || count > maxDice)
            throw ParseError("the number of dice must be 1 to 100", start);
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
            const std::int64_t sides = ReadNumber("the number of sides");
            if (sides < minSides || sides > maxSides)
                throw ParseError("a die has 2 to 1000 sides", sidesAt);
            term.sides = static_cast<int>(sides);
        }
        SkipSpaces();
        ReadPick(term, sidesAt);
        return term;
    }

    void ReadPick(Term &term, std::size_t sidesAt)
    {
        const char first = Peek();
        if (first != 'k' && first != 'd')
            return;
        const std::size_t pickAt = m_at;
        ++m_at;
        const char second = Peek();
        const bool keep = first == 'k';
        bool highest = true;
        if (second == 'h' || second == 'l') {
            highest = second == 'h';
            ++m_at;
        } else if (!keep) {
            throw ParseError("expected 'dh' or 'dl' to drop dice", pickAt);
        }
        if (term.sides > maxPickSides)
            throw ParseError("keep and drop take dice of at most 100 sides", sidesAt);
        SkipSpaces();
        const std::size_t numberAt = m_at;
        const std::int64_t number = ReadNumber(keep ? "how many dice to keep" : "how many dice to drop");
        if (keep && (number < 1 || number > term.dice)) {
            throw ParseError(
                "cannot keep " + std::to_string(number) + " of " + std::to_string(term.dice) + " dice", numberAt);
        }
        if (!keep && number >= term.dice) {
            throw ParseError(
                "cannot drop " + std::to_string(number) + " of " + std::to_string(term.dice) + " dice", numberAt);
        }
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

ParseError::ParseError(const std::string &what, std::size_t position)
    : std::runtime_error(what)
    , m_position(position)
{
}

std::size_t ParseError::Position() const
{
    return m_position;
}

std::string ErrorText(std::string_view text, const ParseError &error)
{
    // The caret goes under the character the error is about, or just past
    // the end; anything but a printable character is shown as '?' so that the
    // two lines stay aligned.
    std::string shown;
    for (const char c : text)
        shown += c >= ' ' && c <= '~' ? c : '?';
    return shown + ": " + error.what() + "\n" + std::string(error.Position(), ' ') + "^";
}

Expression Parse(std::string_view text)
{
    return Reader(text).Read();
}

} // namespace dice
