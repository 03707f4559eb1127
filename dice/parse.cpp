#include "dice/dice.h"
#include "dice/die.h"
#include "dice/limits.h"
#include "dice/rules.h"
#include "dice/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
        std::int64_t span = 0;
        for (;;) {
            const std::size_t start = m_at;
            Term term = ReadTerm();
            term.sign = sign;
            if (expression.terms.size() == maxTerms)
                throw ParseError(ErrorCode::TooManyTerms, start);
            dice += term.dice;
            if (dice > maxDice)
                throw ParseError(ErrorCode::TooManyDice, start);
            if (term.explode != Explode::None && term.sign < 0 && !detail::TermReach(term).highest)
                throw ParseError(ErrorCode::UnboundedSubtracted, start);
            // Dice of equal faces span what their sides say, without a look at their faces.
            if (term.dice > 0)
                span += term.Plain() ? static_cast<std::int64_t>(term.kept) * (term.sides - 1) : TermSpan(term);
            if (span > maxSpan)
                throw ParseError(ErrorCode::SpanTooLarge, start);
            expression.terms.push_back(std::move(term));

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
            ReadFudgeKind(term);
        } else if (Peek() == '{') {
            ReadFaces(term);
        } else {
            const std::int64_t sides = ReadNumber(ErrorCode::ExpectedSides);
            if (sides < minSides || sides > maxSides)
                throw ParseError(ErrorCode::SidesOutOfRange, sidesAt);
            term.sides = static_cast<int>(sides);
        }
        const std::string_view sides = m_text.substr(sidesAt, m_at - sidesAt);
        Places places;
        places.term = start;
        places.sides = sidesAt;
        ReadModifiers(term, places, sides);
        if (!term.Plain())
            CheckModifiers(term, places);
        return term;
    }

    // dF.1 has one -1, one +1 and four blanks; dF.2 is dF.
    void ReadFudgeKind(Term &term)
    {
        if (Peek() != '.' || m_at + 1 >= m_text.size() || (m_text[m_at + 1] != '1' && m_text[m_at + 1] != '2'))
            return;
        if (m_text[m_at + 1] == '1') {
            term.fudge = false;
            term.faces = { -1, 0, 0, 0, 0, 1 };
            term.sides = 6;
        }
        m_at += 2;
    }

    std::int64_t ReadSigned(ErrorCode missing)
    {
        const bool negative = Peek() == '-';
        if (negative || Peek() == '+') {
            ++m_at;
            SkipSpaces();
        }
        const std::int64_t value = ReadNumber(missing);
        return negative ? -value : value;
    }

    void ReadFaces(Term &term)
    {
        ++m_at;
        SkipSpaces();
        if (Peek() == '}')
            throw ParseError(ErrorCode::NoFaces, m_at);
        for (;;) {
            SkipSpaces();
            if (static_cast<int>(term.faces.size()) == maxFaces)
                throw ParseError(ErrorCode::TooManyFaces, m_at);
            term.faces.push_back(ReadSigned(ErrorCode::ExpectedFace));
            SkipSpaces();
            if (Peek() == '}')
                break;
            if (Peek() != ',')
                throw ParseError(ErrorCode::FacesUnclosed, m_at, {}, Typed());
            ++m_at;
        }
        ++m_at;
        term.sides = static_cast<int>(term.faces.size());
    }

    // A compare point: <, <=, >, >=, =, <> and a number, or a bare number
    // where one means =N. Nothing there leaves the point unset.
    Compare ReadCompare(bool bare)
    {
        SkipSpaces();
        Compare point;
        const char first = Peek();
        const char second = m_at + 1 < m_text.size() ? m_text[m_at + 1] : '\0';
        if (first == '<' && second == '>') {
            point.kind = Compare::Kind::NotEqual;
            m_at += 2;
        } else if ((first == '<' || first == '>') && second == '=') {
            point.kind = first == '<' ? Compare::Kind::LessEqual : Compare::Kind::GreaterEqual;
            m_at += 2;
        } else if (first == '<' || first == '>' || first == '=') {
            point.kind = first == '<' ? Compare::Kind::Less
                : first == '>'        ? Compare::Kind::Greater
                                      : Compare::Kind::Equal;
            ++m_at;
        } else if (bare && IsDigit(first)) {
            point.kind = Compare::Kind::Equal;
        } else {
            return point;
        }
        SkipSpaces();
        point.value = ReadSigned(ErrorCode::ExpectedComparison);
        return point;
    }

    // The modifier names, longest first where one begins another.
    static constexpr std::array<std::string_view, 16> names {
        "min", "max", "ro", "r", "kh", "kl", "k", "dh", "dl", "d", "sa", "sd", "s", "cs", "cf", "f"
    };

    // Splits a run of letters into modifier names, each taken as long as it
    // goes: "rokh" is ro and kh. Empty when the run is not made of them.
    static std::vector<std::string_view> Names(std::string_view run)
    {
        std::vector<std::string_view> found;
        while (!run.empty()) {
            const auto *name = std::find_if(
                names.begin(), names.end(), [&](std::string_view n) { return run.substr(0, n.size()) == n; });
            if (name == names.end())
                return {};
            found.push_back(*name);
            run.remove_prefix(name->size());
        }
        return found;
    }

    // A modifier given a second time in one term.
    void Once(std::size_t &place, std::size_t at, std::size_t length)
    {
        if (place != Places::none)
            throw ParseError(ErrorCode::Twice, at, {}, std::string(m_text.substr(at, length)));
        place = at;
    }

    // The modifiers after the sides, in any order, each kind at most once.
    // A comparison right after !, r or ro belongs to it; one after the dice
    // otherwise counts successes.
    void ReadModifiers(Term &term, Places &places, std::string_view sides)
    {
        for (;;) {
            SkipSpaces();
            const std::size_t at = m_at;
            if (Peek() == '!') {
                ++m_at;
                const bool compound = Peek() == '!';
                if (compound)
                    ++m_at;
                term.penetrate = Peek() == 'p';
                if (term.penetrate)
                    ++m_at;
                Once(places.explode, at, m_at - at);
                term.explode = compound ? Explode::Compound : Explode::Each;
                term.explodeOn = ReadCompare(true);
                continue;
            }
            if (Peek() == '<' || Peek() == '>' || Peek() == '=') {
                const Compare point = ReadCompare(false);
                Once(places.success, at, m_at - at);
                term.success = point;
                continue;
            }
            std::string run;
            while (IsLetter(Peek())) {
                run += Peek();
                ++m_at;
            }
            if (run.empty())
                return;
            const std::vector<std::string_view> found = Names(run);
            if (found.empty())
                NotAModifier(term, at, run, sides);
            m_at = at;
            for (const std::string_view name : found)
                ReadNamed(term, places, name);
        }
    }

    [[noreturn]] void NotAModifier(const Term &term, std::size_t at, const std::string &run, std::string_view sides)
    {
        const std::string typed(m_text.substr(at, run.size()));
        if (run == "x")
            throw ParseError(ErrorCode::NotAnOperator, at, {}, typed);
        std::string instead;
        if (run == "adv" || run == "advantage" || run == "dis" || run == "disadvantage")
            instead =
                std::to_string(std::max(term.dice, 2)) + "d" + std::string(sides) + (run[0] == 'a' ? "kh1" : "kl1");
        throw ParseError(ErrorCode::NotAModifier, at, {}, typed, instead);
    }

    void ReadNamed(Term &term, Places &places, std::string_view name)
    {
        const std::size_t at = m_at;
        m_at += name.size();
        if (name == "min" || name == "max") {
            const bool minimum = name == "min";
            Once(minimum ? places.minimum : places.maximum, at, name.size());
            SkipSpaces();
            (minimum ? term.hasMinimum : term.hasMaximum) = true;
            (minimum ? term.minimum : term.maximum) = ReadSigned(ErrorCode::ExpectedComparison);
        } else if (name == "r" || name == "ro") {
            Once(places.reroll, at, name.size());
            term.reroll = name == "r" ? Reroll::Repeat : Reroll::Once;
            term.rerollOn = ReadCompare(true);
        } else if (name[0] == 'k' || name[0] == 'd') {
            Once(places.keep, at, name.size());
            ReadPick(term, places, name);
        } else if (name == "f") {
            if (places.success == Places::none)
                throw ParseError(ErrorCode::FailureFirst, at);
            Once(places.failure, at, name.size());
            term.failure = ReadCompare(true);
            if (term.failure.kind == Compare::Kind::None)
                throw ParseError(ErrorCode::ExpectedComparison, m_at, {}, Typed());
        } else if (name[0] == 's') {
            Once(places.sort, at, name.size());
        } else {
            // Critical marks change no total: read and set aside.
            Once(name == "cs" ? places.criticalSuccess : places.criticalFailure, at, name.size());
            ReadCompare(true);
        }
    }

    // kh, kl, dh or dl and how many, with k alone for kh and d alone for dl
    // as the common notation has it.
    void ReadPick(Term &term, const Places &places, std::string_view word)
    {
        const bool keep = word[0] == 'k';
        const bool highest = word.size() == 1 ? keep : word[1] == 'h';
        if (term.sides > maxPickSides)
            throw ParseError(ErrorCode::PickSidesTooMany, places.sides);
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
