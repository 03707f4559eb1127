#include "dice/parse/parse.h"

#include "dice/parse/checks.h"
#include "dice/parse/hints.h"
#include "dice/parse/scan.h"

#include "dice/bounds/bounds.h"
#include "dice/bounds/rules.h"
#include "dice/limits.h"
#include "dice/notation/errors.h"
#include "dice/notation/expression.h"
#include "dice/notation/utf8.h"
#include "dice/terms/die.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace dice
{

namespace
{

using namespace detail;

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
    // A hint that names rolls to type reads each of them first, without
    // hints, so that one reading starts at most one more.
    explicit Reader(std::string_view text, bool hints = true)
        : m_text(text)
        , m_hints(hints)
    {
    }

    Expression Read()
    {
        CheckCharacters();
        SkipSpaces();
        if (AtEnd())
            throw ParseError(ErrorCode::Empty, m_at);
        Node root = ReadSum(0);
        if (!AtEnd())
            throw AfterSum();
        Expression expression;
        // Terms joined by + and - are counted as they always were.
        if (root.kind == Node::Kind::Sum && root.operands.empty())
            expression.terms = std::move(root.terms);
        else
            expression.tree = std::move(root);
        return expression;
    }

private:
    static bool Parses(std::string_view text)
    {
        try {
            Reader(text, false).Read();
        } catch (const ParseError &) {
            return false;
        }
        return true;
    }

    // What stands where the whole sum ends and only an operator may follow.
    ParseError AfterSum()
    {
        const std::size_t at = m_at;
        if (Peek() == 'x')
            return ParseError(ErrorCode::NotAnOperator, at, {}, Typed());
        if (Peek() == '<' || Peek() == '>' || Peek() == '=')
            return Compared(at);
        if (Peek() == ',') {
            const std::string group = "{" + std::string(Trimmed(m_text)) + "}";
            return ParseError(ErrorCode::CommaOutsideGroup, at, {}, {}, m_hints && Parses(group) ? group : "");
        }
        if (IsVersus(ReadLetters()))
            return Versus(at, AfterVersus());
        m_at = at;
        return ParseError(ErrorCode::ExpectedOperator, at, {}, Typed());
    }

    // The whole sum compared with a number, which the command line's
    // options ask for, or with another roll.
    ParseError Compared(std::size_t at)
    {
        const Compare::Kind kind = ReadOperator();
        // "==", as programming languages write it, means "=" here.
        if (kind == Compare::Kind::Equal && Peek() == '=')
            ++m_at;
        const std::size_t after = m_at;
        const std::string_view rest = Trimmed(m_text.substr(after));
        const std::optional<std::int64_t> number = Whole(rest);
        if (!rest.empty() && !number)
            return Versus(at, after);
        return ParseError(ErrorCode::ComparedTotal, at, {}, {}, number ? Threshold(kind, *number) : "");
    }

    // The text before `at` compared with the text from `after`: the two
    // rolls --versus takes, where each is a roll on its own.
    ParseError Versus(std::size_t at, std::size_t after) const
    {
        const std::string first = Argument(m_text.substr(0, at));
        const std::string second = Argument(m_text.substr(after));
        const bool both = !first.empty() && !second.empty();
        return ParseError(ErrorCode::Versus, at, {}, {}, both ? first + " " + second : "");
    }

    // A roll as one argument of the command line, quoted where a shell
    // would read its characters otherwise; empty if it is not a roll.
    std::string Argument(std::string_view text) const
    {
        if (!m_hints)
            return {};
        const std::string roll = Squeezed(text);
        if (!Parses(roll))
            return {};
        const bool plain = std::all_of(roll.begin(), roll.end(), [](char c) {
            c = Lower(c);
            return IsDigit(c) || IsLetter(c) || c == '+' || c == '-' || c == '%' || c == '.' || c == ',';
        });
        return plain ? roll : "'" + roll + "'";
    }

    // Where the roll after "vs" begins: past a full stop, as in "vs.".
    std::size_t AfterVersus()
    {
        if (Peek() == '.')
            ++m_at;
        return m_at;
    }

    void Expect(char symbol)
    {
        SkipSpaces();
        if (Peek() != symbol)
            throw ParseError(ErrorCode::ExpectedSymbol, m_at, {}, Typed(), std::string(1, symbol));
        ++m_at;
    }

    int ReadSign()
    {
        return detail::ReadSign(m_text, m_at);
    }

    // Products and the rest joined by + and -, after an optional sign. Terms
    // stay terms, with the checks a sum of terms always had; brackets around
    // terms alone are taken away.
    Node ReadSum(int depth)
    {
        Node sum;
        int sign = ReadSign();
        std::int64_t span = 0;
        for (;;) {
            const std::size_t start = m_at;
            if (IsDigit(Peek()) || Peek() == 'd') {
                // A term not multiplied goes straight into the sum, as it always did.
                Term term = ReadCountedTerm(start);
                SkipSpaces();
                if (Peek() != '*' && Peek() != '/' && Peek() != '^') {
                    term.sign = sign;
                    AddTerm(sum, std::move(term), span, start);
                } else {
                    Node leaf;
                    leaf.terms.push_back(std::move(term));
                    AddPart(sum, ReadProductAfter(std::move(leaf), start, depth, false), sign, span, start);
                }
            } else {
                AddPart(sum, ReadProduct(depth, false), sign, span, start);
            }
            SkipSpaces();
            if (Peek() != '+' && Peek() != '-')
                return sum;
            sign = ReadSign();
        }
    }

    // Units joined by *, left to right. A '/' ends the product only where
    // floor, ceil or round divide; anywhere else it is refused, since totals
    // stay whole numbers.
    Node ReadProduct(int depth, bool divides)
    {
        const std::size_t start = m_at;
        return ReadProductAfter(ReadUnit(depth), start, depth, divides);
    }

    Node ReadProductAfter(Node product, std::size_t start, int depth, bool divides)
    {
        for (;;) {
            SkipSpaces();
            if (!ReadTimes(m_text, m_at, divides))
                return product;
            SkipSpaces();
            const std::size_t operandAt = m_at;
            Node operand = ReadUnit(depth);
            Bounded(product, start, "*");
            Bounded(operand, operandAt, "*");
            Node node;
            node.kind = Node::Kind::Product;
            node.operands.push_back(std::move(product));
            node.operands.push_back(std::move(operand));
            CheckBounds(node, start);
            product = std::move(node);
        }
    }

    Node ReadUnit(int depth)
    {
        const std::size_t start = m_at;
        if (Peek() == '(') {
            Deeper(depth, start);
            ++m_at;
            SkipSpaces();
            Node inner = ReadSum(depth + 1);
            Expect(')');
            return inner;
        }
        if (Peek() == '{')
            return ReadGroup(depth);
        if (IsLetter(Peek()) && Peek() != 'd') {
            const std::string word = ReadLetters();
            const std::size_t after = m_at;
            SkipSpaces();
            if (Peek() == '(')
                return ReadFunction(depth, word, start, after);
            m_at = start;
            throw ParseError(ErrorCode::ExpectedTerm, m_at, {}, Typed());
        }
        Node leaf;
        leaf.terms.push_back(ReadCountedTerm(start));
        return leaf;
    }

    // A term, counted against the expression's limits on terms and dice.
    Term ReadCountedTerm(std::size_t start)
    {
        Term term = ReadTerm();
        if (m_terms == maxTerms)
            throw ParseError(ErrorCode::TooManyTerms, start);
        ++m_terms;
        m_dice += term.dice;
        if (m_dice > maxDice)
            throw ParseError(ErrorCode::TooManyDice, start);
        return term;
    }

    // A sign, then a product, as a node of its own.
    Node ReadSignedProduct(int depth)
    {
        const int sign = ReadSign();
        const std::size_t at = m_at;
        Node product = ReadProduct(depth, true);
        return sign > 0 ? product : Negated(std::move(product), at);
    }

    // A part after a minus sign, taken away from nothing.
    static Node Negated(Node part, std::size_t at)
    {
        if (!detail::NodeBounds(part).highest)
            throw ParseError(ErrorCode::UnboundedSubtracted, at);
        Node negated;
        negated.operands.push_back(std::move(part));
        negated.signs.push_back(-1);
        return negated;
    }

    Node ReadFunction(int depth, const std::string &word, std::size_t start, std::size_t after)
    {
        const std::string typed(m_text.substr(start, after - start));
        const bool rounding = word == "floor" || word == "ceil" || word == "round";
        if (!rounding && word != "abs" && word != "max" && word != "min")
            throw ParseError(ErrorCode::NotAFunction, start, {}, typed);
        Deeper(depth, start);
        ++m_at;
        SkipSpaces();
        Node node;
        const std::size_t first = m_at;
        if (rounding) {
            // One division, A / B: a sum in A or a product in B must be
            // bracketed, so that no precedence is guessed.
            node.kind = Node::Kind::Divide;
            node.rounding = RoundingOf(word);
            node.operands.push_back(ReadSignedProduct(depth + 1));
            ReadDivide(m_text, m_at, word);
            const std::size_t divisorAt = m_at;
            const int sign = ReadSign();
            const std::size_t unitAt = m_at;
            Node divisor = ReadUnit(depth + 1);
            if (sign < 0)
                divisor = Negated(std::move(divisor), unitAt);
            Bounded(node.operands[0], first, typed.c_str());
            Bounded(divisor, divisorAt, typed.c_str());
            const detail::Bounds bounds = detail::NodeBounds(divisor);
            if (bounds.lowest <= 0 && *bounds.highest >= 0)
                throw ParseError(ErrorCode::DivisorReachesZero, divisorAt, { bounds.lowest, *bounds.highest });
            node.operands.push_back(std::move(divisor));
        } else {
            const int arguments = word == "abs" ? 1 : 2;
            for (int i = 0;; ++i) {
                node.operands.push_back(ReadSum(depth + 1));
                SkipSpaces();
                if (Peek() != ',' && i + 1 < arguments && Peek() == ')')
                    throw ParseError(ErrorCode::ArgumentCount, m_at, { arguments, i + 1 }, typed);
                if (Peek() != ',' || i + 1 == arguments)
                    break;
                ++m_at;
                SkipSpaces();
            }
            if (Peek() == ',')
                throw ParseError(ErrorCode::ArgumentCount, m_at, { arguments, arguments + 1 }, typed);
            if (word == "abs") {
                node.kind = Node::Kind::Abs;
                Bounded(node.operands[0], first, typed.c_str());
            } else {
                node.kind = Node::Kind::Group;
                node.pick = word == "max" ? Pick::Highest : Pick::Lowest;
                node.kept = 1;
            }
        }
        Expect(')');
        CheckBounds(node, start);
        return node;
    }

    // {A, B, ...} and what follows it: a keep or drop of members by their
    // totals, or a count of the members that meet a compare point.
    Node ReadGroup(int depth)
    {
        const std::size_t start = m_at;
        Deeper(depth, start);
        ++m_at;
        Node group;
        group.kind = Node::Kind::Group;
        std::vector<std::string_view> typed;
        for (;;) {
            SkipSpaces();
            if (static_cast<int>(group.operands.size()) == maxMembers)
                throw ParseError(ErrorCode::GroupSize, m_at);
            const std::size_t memberAt = m_at;
            group.operands.push_back(ReadSum(depth + 1));
            std::string_view member = m_text.substr(memberAt, m_at - memberAt);
            while (!member.empty() && (member.back() == ' ' || member.back() == '\t'))
                member.remove_suffix(1);
            typed.push_back(member);
            SkipSpaces();
            if (Peek() != ',')
                break;
            ++m_at;
        }
        Expect('}');
        if (static_cast<int>(group.operands.size()) < minMembers)
            throw ParseError(ErrorCode::GroupSize, start);
        const std::size_t keepAt = ReadGroupModifiers(group);
        // Members unlike are kept threshold by threshold, at a cost that grows
        // with the cube of their spans; members alike are kept as dice.
        if (group.pick != Pick::All && group.kept > 1
            && !std::all_of(typed.begin(), typed.end(), [&](std::string_view t) { return t == typed[0]; })) {
            // A member with no highest total spans as far as it is listed.
            std::vector<detail::Bounds> members;
            for (const Node &member : group.operands)
                members.push_back(detail::NodeBounds(member));
            const std::int64_t through = detail::NodeBounds(group).guess;
            for (std::size_t i = 0; i < members.size(); ++i) {
                std::int64_t span = members[i].span;
                if (!members[i].highest)
                    span = std::max(span, detail::MemberThrough(group, members, i, through) - members[i].lowest);
                // The span is a distance; the member's totals number one more.
                if (span + 1 > maxKeptSpan)
                    throw ParseError(ErrorCode::KeptSpanTooLarge, keepAt);
            }
        }
        if (group.pick != Pick::All || group.success.kind != Compare::Kind::None) {
            CheckBounds(group, start);
            return group;
        }
        // The sum of the members.
        Node sum;
        for (Node &member : group.operands) {
            if (Flat(member)) {
                sum.terms.insert(sum.terms.end(), member.terms.begin(), member.terms.end());
            } else {
                sum.operands.push_back(std::move(member));
                sum.signs.push_back(1);
            }
        }
        CheckBounds(sum, start);
        return sum;
    }

    // Where the keep or drop was typed, if one was.
    std::size_t ReadGroupModifiers(Node &group)
    {
        std::size_t keepAt = Places::none;
        std::size_t successAt = Places::none;
        std::size_t failureAt = Places::none;
        for (;;) {
            SkipSpaces();
            const std::size_t at = m_at;
            if (Peek() == '<' || Peek() == '>' || Peek() == '=') {
                const Compare point = ReadCompare(false);
                Once(successAt, at, m_at - at);
                if (keepAt != Places::none)
                    throw ParseError(ErrorCode::KeepAndCount, at);
                group.success = point;
                continue;
            }
            const std::string run = ReadLetters();
            if (run.empty())
                return keepAt;
            const std::vector<std::string_view> found = Names(run);
            // Keep, drop and f belong to a group; the modifiers of dice do not.
            const bool known = !found.empty() && std::all_of(found.begin(), found.end(), [](std::string_view name) {
                return name == "f" || name[0] == 'k' || name[0] == 'd';
            });
            if (!known && IsVersus(run))
                throw Versus(at, AfterVersus());
            if (!known)
                throw ParseError(ErrorCode::NotAGroupModifier, at, {}, std::string(m_text.substr(at, run.size())));
            m_at = at;
            for (const std::string_view name : found) {
                const std::size_t nameAt = m_at;
                m_at += name.size();
                if (name == "f") {
                    if (successAt == Places::none)
                        throw ParseError(ErrorCode::FailureFirst, nameAt);
                    Once(failureAt, nameAt, 1);
                    group.failure = ReadCompare(true);
                    if (group.failure.kind == Compare::Kind::None)
                        throw ParseError(ErrorCode::ExpectedComparison, m_at, {}, Typed());
                    continue;
                }
                Once(keepAt, nameAt, name.size());
                if (successAt != Places::none)
                    throw ParseError(ErrorCode::KeepAndCount, nameAt);
                ReadMemberPick(group, name);
            }
        }
    }

    void ReadMemberPick(Node &group, std::string_view word)
    {
        SkipSpaces();
        const auto members = static_cast<int>(group.operands.size());
        std::tie(group.pick, group.kept) =
            ReadKeepOrDrop(word, members, ErrorCode::CannotKeepMembers, ErrorCode::CannotDropMembers);
    }

    // How many of `among` dice or members a keep or drop named `word` keeps,
    // and which: dropping the highest is keeping the lowest of the rest, and
    // so on.
    std::pair<Pick, int> ReadKeepOrDrop(std::string_view word, int among, ErrorCode cannotKeep, ErrorCode cannotDrop)
    {
        const bool keep = word[0] == 'k';
        const bool highest = word.size() == 1 ? keep : word[1] == 'h';
        const std::size_t numberAt = m_at;
        const std::int64_t number = ReadNumber(keep ? ErrorCode::ExpectedKeep : ErrorCode::ExpectedDrop);
        if (keep && (number < 1 || number > among))
            throw ParseError(cannotKeep, numberAt, { number, among });
        if (!keep && number >= among)
            throw ParseError(cannotDrop, numberAt, { number, among });
        const auto kept = static_cast<int>(keep ? number : among - number);
        return { kept == among ? Pick::All : keep == highest ? Pick::Highest : Pick::Lowest, kept };
    }

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

    // The letters at the current place, lower case: a modifier or a function's name.
    std::string ReadLetters()
    {
        std::string letters;
        while (IsLetter(Peek())) {
            letters += Peek();
            ++m_at;
        }
        return letters;
    }

    void SkipSpaces()
    {
        detail::SkipSpaces(m_text, m_at);
    }

    std::int64_t ReadNumber(ErrorCode missing)
    {
        return ReadDigits(m_text, m_at, missing);
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
        places.sidesEnd = m_at;
        ReadModifiers(term, places, sides);
        if (!term.Plain())
            CheckModifiers(term, places);
        // A die whose every first roll is moved off the explode point rolls
        // once, with a highest total.
        if (term.explode != Explode::None && !detail::FirstRollExplodes(term)) {
            term.explode = Explode::None;
            term.penetrate = false;
            term.explodeOn = {};
        }
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
        const std::size_t at = m_at;
        Compare point;
        point.kind = ReadOperator();
        if (point.kind == Compare::Kind::None) {
            if (!bare || !IsDigit(Peek()))
                return point;
            point.kind = Compare::Kind::Equal;
        } else {
            // A roll where the number belongs: one roll against another.
            const std::size_t next = m_text.find_first_not_of(" \t", m_at);
            const char c = next == std::string_view::npos ? '\0' : Lower(m_text[next]);
            if (c == 'd' || c == '(' || c == '{')
                throw Versus(at, m_at);
        }
        SkipSpaces();
        point.value = ReadSigned(ErrorCode::ExpectedComparison);
        return point;
    }

    Compare::Kind ReadOperator()
    {
        return detail::ReadOperator(m_text, m_at);
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
                places.successEnd = m_at;
                term.success = point;
                continue;
            }
            const std::string run = ReadLetters();
            if (run.empty())
                return;
            const std::vector<std::string_view> found = Names(run);
            if (found.empty())
                NotAModifier(term, places, at, run, sides);
            m_at = at;
            for (const std::string_view name : found)
                ReadNamed(term, places, name);
        }
    }

    [[noreturn]] void NotAModifier(
        const Term &term, const Places &places, std::size_t at, const std::string &run, std::string_view sides)
    {
        if (run == "x")
            throw ParseError(ErrorCode::NotAnOperator, at, {}, std::string(m_text.substr(at, run.size())));
        if (IsVersus(run))
            throw Versus(at, AfterVersus());
        std::string instead;
        if (run == "adv" || run == "advantage" || run == "dis" || run == "disadvantage")
            instead =
                std::to_string(std::max(term.dice, 2)) + "d" + std::string(sides) + (run[0] == 'a' ? "kh1" : "kl1");
        if (run == "keep" || run == "drop")
            instead = Spelled(places, at, run == "keep");
        throw ParseError(ErrorCode::NotAModifier, at, {}, std::string(m_text.substr(at, m_at - at)), instead);
    }

    // "keep highest 3", "drop lowest" and the like, as the term would be
    // typed with the modifier they name; empty unless that term is a roll.
    // Leaves m_at after the words and number read.
    std::string Spelled(const Places &places, std::size_t at, bool keep)
    {
        std::size_t end = m_at;
        SkipSpaces();
        const std::string which = ReadLetters();
        if (!which.empty() && which != "highest" && which != "lowest" && which != "high" && which != "low") {
            m_at = end;
            return {};
        }
        if (!which.empty())
            end = m_at;
        // Keep alone keeps the highest, drop alone drops the lowest, as k and d do.
        const bool highest = which.empty() ? keep : which[0] == 'h';
        SkipSpaces();
        std::string count = "1";
        if (IsDigit(Peek())) {
            count.clear();
            while (IsDigit(Peek()) && count.size() <= 7) {
                count += Peek();
                ++m_at;
            }
            end = m_at;
        }
        m_at = end;
        if (!m_hints)
            return {};
        const std::string roll =
            Squeezed(m_text.substr(places.term, at - places.term)) + (keep ? "k" : "d") + (highest ? "h" : "l") + count;
        return Parses(roll) ? roll : "";
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
            if (places.keep != Places::none)
                throw ParseError(ErrorCode::SecondPick, at, {}, std::string(m_text.substr(at, name.size())));
            places.keep = at;
            ReadPick(term, places, name, at);
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
    void ReadPick(Term &term, const Places &places, std::string_view word, std::size_t at)
    {
        SkipSpaces();
        if (word == "d")
            DieInstead(term, places, at);
        if (term.sides > maxPickSides)
            throw ParseError(ErrorCode::PickSidesTooMany, places.sides);
        std::tie(term.pick, term.kept) = ReadKeepOrDrop(word, term.dice, ErrorCode::CannotKeep, ErrorCode::CannotDrop);
    }

    // A 'd' at `at` whose number could not drop but could be a die's sides
    // begins a second die: after the sides, one to add; after a count of
    // successes, a roll to beat.
    void DieInstead(const Term &term, const Places &places, std::size_t at)
    {
        std::size_t end = m_at;
        while (end < m_text.size() && IsDigit(m_text[end]))
            ++end;
        if (end == m_at && Peek() == '%') {
            ++end;
        } else {
            int sides = 0;
            const std::from_chars_result read = std::from_chars(m_text.data() + m_at, m_text.data() + end, sides);
            if (end == m_at || read.ec != std::errc() || sides < std::max(term.dice, minSides) || sides > maxSides)
                return;
        }
        const auto follows = [&](std::size_t from) {
            return from != Places::none && m_text.find_first_not_of(" \t", from) == at;
        };
        if (follows(places.sidesEnd)) {
            const std::string sum = Squeezed(m_text.substr(places.term, places.sidesEnd - places.term)) + "+1"
                + Squeezed(m_text.substr(at, end - at));
            throw ParseError(ErrorCode::DieAfterSides, at, {}, {}, sum);
        }
        if (follows(places.successEnd)) {
            m_at = places.success;
            ReadOperator();
            throw Versus(places.success, m_at);
        }
    }

    std::string_view m_text;
    bool m_hints = true;
    std::size_t m_at = 0;
    int m_terms = 0; // in the whole expression
    int m_dice = 0;
};

} // namespace

Expression ParseRoll(std::string_view text)
{
    return Reader(text).Read();
}

} // namespace dice
