// The reader of questions. It reads let, if, labels, comparisons, Nd(A) and
// pool functions itself; wherever a part of the text holds none of them and
// no name, it hands that text to the notation's own reader, so that a roll
// inside a question reads as it does alone, with the same checks and errors.

#include "dice/questions/reader.h"

#include "dice/limits.h"
#include "dice/notation/errors.h"
#include "dice/notation/utf8.h"
#include "dice/parse/hints.h"
#include "dice/parse/parse.h"
#include "dice/parse/scan.h"
#include "dice/questions/reach.h"
#include "dice/questions/words.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace dice::detail
{

namespace
{

using Kind = Form::Kind;
using Function = pools::Reading::Function;

// The same error, placed within the whole text.
ParseError Moved(const ParseError &error, std::size_t offset)
{
    return ParseError(error.Code(), error.Position() + offset, error.Numbers(), error.Text(), error.Hint());
}

// What a let names, as the reader knows it before any count.
struct Named {
    std::string name;
    int slot = 0;
    Form shape; // without operands
};

class QuestionReader
{
public:
    explicit QuestionReader(std::string_view text)
        : m_text(text)
    {
    }

    Question Read()
    {
        CheckCharacters();
        SkipSpaces();
        if (AtEnd())
            throw ParseError(ErrorCode::Empty, m_at);
        Question question;
        question.root = ReadForm();
        SkipSpaces();
        if (!AtEnd())
            throw AfterForm();
        question.labels = std::move(m_labels);
        question.slots = m_slots;
        return question;
    }

private:
    // Outside labels, the text is the notation's: ASCII, as its reader
    // checks and words it.
    void CheckCharacters() const
    {
        bool inLabel = false;
        for (std::size_t i = 0; i < m_text.size(); ++i) {
            if (m_text[i] == '"')
                inLabel = !inLabel;
            char32_t code = 0;
            const std::size_t length = utf8::Next(m_text, i, code);
            if (length == 0 || (!inLabel && code >= 0x80)) {
                try {
                    ParseRoll(m_text.substr(i, std::max<std::size_t>(length, 1)));
                } catch (const ParseError &error) {
                    throw Moved(error, i);
                }
            }
            i += std::max<std::size_t>(length, 1) - 1;
        }
    }

    // What stands where the whole question could end.
    ParseError AfterForm() const
    {
        const std::string word = PeekWord();
        if (IsKeyword(word))
            return ParseError(ErrorCode::StrayKeyword, m_at, {}, word);
        if (Peek() == 'x')
            return ParseError(ErrorCode::NotAnOperator, m_at, {}, Typed());
        return ParseError(ErrorCode::ExpectedOperator, m_at, {}, Typed());
    }

    bool AtEnd() const
    {
        return m_at >= m_text.size();
    }

    char Peek(std::size_t ahead = 0) const
    {
        return m_at + ahead < m_text.size() ? Lower(m_text[m_at + ahead]) : '\0';
    }

    std::string Typed() const
    {
        return std::string(m_text.substr(m_at, AtEnd() ? 0 : 1));
    }

    void SkipSpaces()
    {
        detail::SkipSpaces(m_text, m_at);
    }

    // The word at the current place, lower case, without moving past it.
    std::string PeekWord() const
    {
        std::string word;
        if (!IsLetter(Peek()))
            return word;
        for (std::size_t i = m_at; i < m_text.size() && IsWordCharacter(m_text[i]); ++i)
            word += Lower(m_text[i]);
        return word;
    }

    std::string ReadWord()
    {
        std::string word = PeekWord();
        m_at += word.size();
        return word;
    }

    // The word or character found where `word` belongs.
    std::string Found() const
    {
        const std::string word = PeekWord();
        return word.empty() ? Typed() : std::string(m_text.substr(m_at, word.size()));
    }

    void ExpectWord(const char *word)
    {
        SkipSpaces();
        if (PeekWord() != word)
            throw ParseError(ErrorCode::ExpectedWord, m_at, {}, Found(), word);
        m_at += std::string_view(word).size();
    }

    void Expect(char symbol)
    {
        SkipSpaces();
        if (Peek() != symbol)
            throw ParseError(ErrorCode::ExpectedSymbol, m_at, {}, Typed(), std::string(1, symbol));
        ++m_at;
    }

    void Deeper(std::size_t at)
    {
        if (m_depth + 1 > maxDepth)
            throw ParseError(ErrorCode::TooDeep, at);
    }

    // Reads what `read` reads one level deeper, where comparisons are the
    // notation's again: a compare point after dice counts them.
    template <typename Read> auto Inside(std::size_t at, Read read)
    {
        Deeper(at);
        ++m_depth;
        const bool condition = std::exchange(m_condition, false);
        auto result = read();
        m_condition = condition;
        --m_depth;
        return result;
    }

    // A roll of the notation alone, from `start` to `end`.
    Form Roll(std::size_t start, std::size_t end)
    {
        Form form;
        form.kind = Kind::Roll;
        form.at = start;
        form.end = end;
        try {
            form.roll = ParseRoll(m_text.substr(start, end - start));
        } catch (const ParseError &error) {
            throw Moved(error, start);
        }
        SetRollReach(form);
        return form;
    }

    // Marks the form's place and reach, what names it reads, and reads it
    // as a roll of the notation where it asks nothing of names or questions.
    Form Finish(Form form, std::size_t start, int firstSlot)
    {
        form.at = start;
        form.end = m_at;
        while (form.end > start && (m_text[form.end - 1] == ' ' || m_text[form.end - 1] == '\t'))
            --form.end;
        bool plain = form.kind == Kind::Sum || form.kind == Kind::Product || form.kind == Kind::Divide
            || form.kind == Kind::Abs || form.kind == Kind::Pick;
        for (const Form &operand : form.operands) {
            form.reads = std::min(form.reads, operand.reads);
            plain = plain && operand.kind == Kind::Roll;
        }
        if (plain)
            return Roll(form.at, form.end);
        // Slots given while reading the form are its own; any name read of
        // an earlier one makes its roll depend on what that name stands for.
        form.closed = form.reads >= firstSlot;
        SetReach(form);
        return form;
    }

    static void NoLabel(const Form &form)
    {
        if (form.gives == Gives::Labels)
            throw ParseError(ErrorCode::LabelRead, form.at);
    }

    static void HasHighest(const Form &form, std::size_t at, const std::string &what)
    {
        if (!form.highest)
            throw ParseError(ErrorCode::UnboundedOperand, at, {}, what);
    }

    // A question: let, if, or conditions and rolls.
    Form ReadForm()
    {
        SkipSpaces();
        const std::string word = PeekWord();
        if (word == "let")
            return ReadLet();
        if (word == "if")
            return ReadIf();
        return ReadJoined("or", Kind::Or);
    }

    Form ReadJoined(const char *joiner, Kind kind)
    {
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        Form left = kind == Kind::Or ? ReadJoined("and", Kind::And) : ReadNot();
        for (;;) {
            SkipSpaces();
            if (PeekWord() != joiner)
                return left;
            const std::size_t at = m_at;
            m_at += std::string_view(joiner).size();
            SkipSpaces();
            Form right = kind == Kind::Or ? ReadJoined("and", Kind::And) : ReadNot();
            Condition(left, joiner, at);
            Condition(right, joiner, at);
            Form joined;
            joined.kind = kind;
            joined.gives = Gives::Condition;
            joined.operands.push_back(std::move(left));
            joined.operands.push_back(std::move(right));
            left = Finish(std::move(joined), start, firstSlot);
        }
    }

    static void Condition(const Form &form, const char *word, std::size_t at)
    {
        if (form.gives != Gives::Condition)
            throw ParseError(ErrorCode::NotACondition, at, {}, word);
    }

    Form ReadNot()
    {
        SkipSpaces();
        if (PeekWord() != "not")
            return ReadComparison();
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        m_at += 3;
        Form operand = ReadNot();
        Condition(operand, "not", start);
        Form form;
        form.kind = Kind::Not;
        form.gives = Gives::Condition;
        form.operands.push_back(std::move(operand));
        return Finish(std::move(form), start, firstSlot);
    }

    bool AtComparison() const
    {
        return Peek() == '<' || Peek() == '>' || Peek() == '=';
    }

    // An operator, where AtComparison(); == reads as =.
    Compare::Kind ReadOperator()
    {
        const Compare::Kind kind = detail::ReadOperator(m_text, m_at);
        if (kind == Compare::Kind::Equal && Peek() == '=')
            ++m_at;
        return kind;
    }

    // Two rolls compared, true or false; or a roll alone.
    Form ReadComparison()
    {
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        Form left = ReadSum();
        SkipSpaces();
        if (!AtComparison())
            return left;
        const std::size_t at = m_at;
        const Compare::Kind kind = ReadOperator();
        const std::string typed(m_text.substr(at, m_at - at));
        SkipSpaces();
        Form right = ReadSum();
        for (const Form *side : { &left, &right }) {
            NoLabel(*side);
            HasHighest(*side, side->at, typed);
        }
        Form form;
        form.kind = Kind::Compare;
        form.comparison = kind;
        form.gives = Gives::Condition;
        form.operands.push_back(std::move(left));
        form.operands.push_back(std::move(right));
        return Finish(std::move(form), start, firstSlot);
    }

    int ReadSign()
    {
        SkipSpaces();
        return detail::ReadSign(m_text, m_at);
    }

    Form ReadSum()
    {
        SkipSpaces();
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        Form sum;
        sum.kind = Kind::Sum;
        int sign = ReadSign();
        for (;;) {
            const std::size_t at = m_at;
            Form part = ReadProduct(false);
            if (sign < 0 && !part.highest)
                throw ParseError(ErrorCode::UnboundedSubtracted, at);
            sum.operands.push_back(std::move(part));
            sum.signs.push_back(sign);
            SkipSpaces();
            if (Peek() != '+' && Peek() != '-')
                break;
            sign = ReadSign();
        }
        if (sum.operands.size() == 1 && sum.signs[0] > 0)
            return std::move(sum.operands[0]);
        for (const Form &part : sum.operands)
            NoLabel(part);
        return Finish(std::move(sum), start, firstSlot);
    }

    // Units joined by *. Only floor, ceil and round divide.
    Form ReadProduct(bool divides)
    {
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        Form product = ReadUnit();
        for (;;) {
            SkipSpaces();
            if (!ReadTimes(m_text, m_at, divides))
                return product;
            Form operand = ReadUnit();
            for (const Form *side : { &product, &operand }) {
                NoLabel(*side);
                HasHighest(*side, side->at, "*");
            }
            Form node;
            node.kind = Kind::Product;
            node.operands.push_back(std::move(product));
            node.operands.push_back(std::move(operand));
            product = Finish(std::move(node), start, firstSlot);
        }
    }

    Form ReadUnit()
    {
        SkipSpaces();
        const std::size_t start = m_at;
        const char c = Peek();
        if (c == '(') {
            Form inner = Inside(start, [&] {
                ++m_at;
                Form form = ReadForm();
                Expect(')');
                return form;
            });
            inner.at = start;
            inner.end = m_at;
            return inner;
        }
        if (c == '"')
            return ReadLabel();
        if (c == '{')
            return ReadGroup();
        const char next = Peek(1);
        if (IsDigit(c) || (c == 'd' && (IsDigit(next) || next == '%' || next == 'f' || next == '{' || next == '(')))
            return ReadDice();
        if (!IsLetter(c))
            throw ParseError(ErrorCode::ExpectedTerm, m_at, {}, Typed());
        const std::string word = PeekWord();
        if (word == "let" || word == "if")
            return ReadForm();
        if (IsKeyword(word))
            throw ParseError(ErrorCode::StrayKeyword, m_at, {}, word);
        m_at += word.size();
        const std::size_t after = m_at;
        SkipSpaces();
        if (Peek() == '(') {
            if (const auto function = PoolFunction(word))
                return ReadPoolFunction(*function, word, start);
            if (IsRollFunction(word))
                return ReadRollFunction(word, start);
            throw ParseError(ErrorCode::NotAFunction, start, {}, std::string(m_text.substr(start, after - start)));
        }
        m_at = after;
        return NameRead(word, start);
    }

    Form NameRead(const std::string &word, std::size_t start)
    {
        const auto bound =
            std::find_if(m_named.rbegin(), m_named.rend(), [&](const Named &n) { return n.name == word; });
        if (bound == m_named.rend())
            throw ParseError(ErrorCode::UnboundName, start, {}, std::string(m_text.substr(start, word.size())));
        Form form = bound->shape;
        form.kind = Kind::Name;
        form.slot = bound->slot;
        form.closed = false;
        form.reads = bound->slot;
        form.at = start;
        form.end = m_at;
        form.throws = 1;
        return form;
    }

    Form ReadLabel()
    {
        const std::size_t start = m_at;
        const std::size_t close = m_text.find('"', start + 1);
        if (close == std::string_view::npos)
            throw ParseError(ErrorCode::LabelUnclosed, start);
        const std::string_view text = m_text.substr(start + 1, close - start - 1);
        int characters = 0;
        for (std::size_t i = 0; i < text.size(); ++characters) {
            char32_t code = 0;
            const std::size_t length = utf8::Next(text, i, code);
            if (code < 0x20 || (code >= 0x7F && code < 0xA0))
                throw ParseError(ErrorCode::LabelCharacter, start + 1 + i, { static_cast<std::int64_t>(code) });
            i += length;
        }
        if (characters == 0 || characters > maxLabelLength)
            throw ParseError(ErrorCode::LabelLength, start);
        auto found = std::find(m_labels.begin(), m_labels.end(), text);
        if (found == m_labels.end()) {
            if (static_cast<int>(m_labels.size()) == maxLabels)
                throw ParseError(ErrorCode::TooManyLabels, start);
            m_labels.emplace_back(text);
            found = m_labels.end() - 1;
        }
        m_at = close + 1;
        Form form;
        form.kind = Kind::Label;
        form.gives = Gives::Labels;
        form.label = static_cast<int>(found - m_labels.begin());
        form.lowest = form.label;
        form.highest = form.label;
        form.at = start;
        form.end = m_at;
        return form;
    }

    // The modifiers after dice or a group, as far as the notation takes
    // them: in a condition a bare comparison compares totals instead.
    std::size_t ModifiersEnd(std::size_t p) const
    {
        const auto at = [&](std::size_t i) { return i < m_text.size() ? Lower(m_text[i]) : '\0'; };
        bool takesPoint = false;
        for (;;) {
            std::size_t q = p;
            while (at(q) == ' ' || at(q) == '\t')
                ++q;
            const char c = at(q);
            if (IsLetter(c)) {
                std::string run;
                while (IsLetter(at(q + run.size())))
                    run += at(q + run.size());
                if (IsKeyword(run) || at(q + run.size()) == '_' || (q > p && PoolFunction(run)))
                    return p;
                const bool spaced = q > p;
                // A name after a space is no modifier: the reader refuses it there.
                if (spaced && !ReservedBecause(run) && !IsDigit(at(q + run.size())))
                    return p;
                const auto ends = [&](std::string_view end) {
                    return run.size() >= end.size() && run.compare(run.size() - end.size(), end.size(), end) == 0;
                };
                takesPoint = ends("r") || ends("ro") || ends("f") || ends("cs") || ends("cf") || run == "p";
                p = q + run.size();
            } else if (IsDigit(c) && q == p) {
                while (IsDigit(at(p)))
                    ++p;
                takesPoint = false;
            } else if (c == '!') {
                p = q + 1;
                takesPoint = true;
            } else if (c == '<' || c == '>' || c == '=') {
                if (m_condition && !takesPoint)
                    return p;
                q += (c != '=' && (at(q + 1) == '=' || at(q + 1) == '>')) ? 2 : 1;
                while (at(q) == ' ' || at(q) == '\t')
                    ++q;
                if (at(q) == '-' || at(q) == '+')
                    ++q;
                while (IsDigit(at(q)))
                    ++q;
                p = q;
                takesPoint = false;
            } else {
                return p;
            }
        }
    }

    // Dice, a number, or Nd(A).
    Form ReadDice()
    {
        const std::size_t start = m_at;
        std::size_t p = m_at;
        while (IsDigit(Lower(p < m_text.size() ? m_text[p] : '\0')))
            ++p;
        const auto at = [&](std::size_t i) { return i < m_text.size() ? Lower(m_text[i]) : '\0'; };
        if (at(p) == 'd' && at(p + 1) == '(')
            return ReadRepeat(start, p);
        if (at(p) != 'd') {
            m_at = p;
            return Roll(start, p);
        }
        ++p;
        if (at(p) == '{') {
            const std::size_t close = m_text.find('}', p);
            p = close == std::string_view::npos ? m_text.size() : close + 1;
        } else if (at(p) == '%') {
            ++p;
        } else if (at(p) == 'f') {
            ++p;
            if (at(p) == '.' && IsDigit(at(p + 1)))
                p += 2;
        } else {
            while (IsDigit(at(p)))
                ++p;
        }
        m_at = ModifiersEnd(p);
        return Roll(start, m_at);
    }

    // {A, B, ...}: a roll of the notation. With nothing after it, its
    // members are also a pool, each member one die.
    Form ReadGroup()
    {
        const std::size_t start = m_at;
        int depth = 0;
        std::size_t p = start;
        std::vector<std::size_t> commas;
        for (; p < m_text.size(); ++p) {
            const char c = m_text[p];
            depth += (c == '{' || c == '(') ? 1 : (c == '}' || c == ')') ? -1 : 0;
            if (c == ',' && depth == 1)
                commas.push_back(p);
            if (depth == 0)
                break;
        }
        const std::size_t close = std::min(p + 1, m_text.size());
        m_at = ModifiersEnd(close);
        Form form = Roll(start, m_at);
        if (m_at != close || commas.empty())
            return form;
        std::size_t from = start + 1;
        commas.push_back(close - 1);
        for (const std::size_t comma : commas) {
            Form member = Roll(from, comma);
            HasHighest(member, from, "{");
            form.operands.push_back(std::move(member));
            from = comma + 1;
        }
        form.pool = true;
        form.poolDice = static_cast<int>(form.operands.size());
        form.faceLowest = form.operands[0].lowest;
        form.faceHighest = *form.operands[0].highest;
        form.throws = 1;
        for (const Form &member : form.operands) {
            form.faceLowest = std::min(form.faceLowest, member.lowest);
            form.faceHighest = std::max(form.faceHighest, *member.highest);
            form.throws = CappedProduct(form.throws, member.throws, std::int64_t { 1 } << 60);
        }
        return form;
    }

    std::int64_t ReadCount(ErrorCode missing)
    {
        return ReadDigits(m_text, m_at, missing);
    }

    // A compare point: an operator and a number, or a bare number for =.
    Compare ReadPoint(bool bare)
    {
        SkipSpaces();
        Compare point;
        if (AtComparison()) {
            point.kind = ReadOperator();
        } else if (bare && (IsDigit(Peek()) || Peek() == '-')) {
            point.kind = Compare::Kind::Equal;
        } else {
            return point;
        }
        SkipSpaces();
        const int sign = Peek() == '-' ? -1 : 1;
        if (Peek() == '-' || Peek() == '+')
            ++m_at;
        point.value = sign * ReadCount(ErrorCode::ExpectedComparison);
        return point;
    }

    Form ReadRepeat(std::size_t start, std::size_t d)
    {
        const int firstSlot = m_slots;
        std::int64_t times = 1;
        if (d > start) {
            m_at = start;
            times = ReadCount(ErrorCode::ExpectedTerm);
        }
        if (times < minDice || times > maxDice)
            throw ParseError(ErrorCode::DiceOutOfRange, start);
        m_at = d + 1;
        const std::string typed(m_text.substr(start, m_at + 1 - start));
        Form thrown = Inside(m_at, [&] {
            ++m_at;
            Form form = ReadForm();
            Expect(')');
            return form;
        });
        NoLabel(thrown);
        HasHighest(thrown, thrown.at, typed);
        Form form;
        form.kind = Kind::Repeat;
        form.times = static_cast<int>(times);
        form.operands.push_back(std::move(thrown));
        ReadRepeatModifiers(form);
        const Form &die = form.operands[0];
        if (form.pick != Pick::All && *die.highest - die.lowest + 1 > maxPickSides)
            throw ParseError(ErrorCode::PickSidesTooMany, start);
        if (form.reroll != Reroll::None) {
            bool every = true;
            for (std::int64_t v = die.lowest; every && v <= *die.highest; ++v)
                every = form.rerollOn.Meets(v);
            if (every)
                throw ParseError(ErrorCode::RerollsForever, start);
        }
        const bool pool = form.pick == Pick::All && form.success.kind == Compare::Kind::None;
        form = Finish(std::move(form), start, firstSlot);
        if (pool) {
            const Form &thrownDie = form.operands[0];
            const std::int64_t faces = *thrownDie.highest - thrownDie.lowest + 1;
            form.pool = true;
            form.poolDice = form.times;
            form.faceLowest = thrownDie.lowest;
            form.faceHighest = *thrownDie.highest;
            form.throws = CappedBinomial(form.times + faces - 1, faces - 1, std::int64_t { 1 } << 60);
        }
        return form;
    }

    void ReadRepeatModifiers(Form &form)
    {
        for (;;) {
            const std::size_t before = m_at;
            SkipSpaces();
            const std::size_t at = m_at;
            const std::string word = PeekWord();
            std::string letters;
            for (const char c : word) {
                if (!IsLetter(c))
                    break;
                letters += c;
            }
            if (letters == "kh" || letters == "kl" || letters == "k" || letters == "dh" || letters == "dl"
                || letters == "d") {
                if (form.pick != Pick::All)
                    throw ParseError(ErrorCode::SecondPick, at, {}, letters);
                m_at += letters.size();
                const std::int64_t n = IsDigit(Peek()) ? ReadCount(ErrorCode::ExpectedKeep) : 1;
                const bool keeps = letters[0] == 'k';
                if (n > form.times)
                    throw ParseError(
                        keeps ? ErrorCode::CannotKeepMembers : ErrorCode::CannotDropMembers, at, { n, form.times });
                const bool high = letters == "k" || letters == "kh" || letters == "dl" || letters == "d";
                form.pick = high ? Pick::Highest : Pick::Lowest;
                form.kept = static_cast<int>(keeps ? n : form.times - n);
            } else if (letters == "r" || letters == "ro") {
                if (form.reroll != Reroll::None)
                    throw ParseError(ErrorCode::Twice, at, {}, letters);
                m_at += letters.size();
                form.reroll = letters == "r" ? Reroll::Repeat : Reroll::Once;
                form.rerollOn = ReadPoint(true);
                if (form.rerollOn.kind == Compare::Kind::None) {
                    form.rerollOn.kind = Compare::Kind::Equal;
                    form.rerollOn.value = form.operands[0].lowest;
                }
            } else if (letters == "f" && form.success.kind != Compare::Kind::None) {
                m_at += 1;
                form.failure = ReadPoint(true);
            } else if (AtComparison() && !m_condition) {
                form.success = ReadPoint(false);
            } else if (!letters.empty() && !IsKeyword(letters)) {
                throw ParseError(ErrorCode::NotARepeatModifier, at, {}, word);
            } else {
                m_at = before;
                break;
            }
        }
        if (form.pick != Pick::All && form.success.kind != Compare::Kind::None)
            throw ParseError(ErrorCode::KeepAndCount, m_at);
    }

    // highest(P), nth(K, P), count(POINT, P) and the rest.
    Form ReadPoolFunction(Function function, const std::string &word, std::size_t start)
    {
        const int firstSlot = m_slots;
        Form form;
        form.kind = Kind::PoolRead;
        form.reading.function = function;
        Form pool = Inside(start, [&] {
            ++m_at;
            SkipSpaces();
            if (function == Function::Nth || function == Function::Sets) {
                form.reading.k = static_cast<int>(ReadCount(ErrorCode::ExpectedTerm));
                Expect(',');
            } else if (function == Function::Count) {
                form.reading.point = ReadPoint(true);
                if (form.reading.point.kind == Compare::Kind::None)
                    throw ParseError(ErrorCode::ExpectedComparison, m_at, {}, Typed());
                Expect(',');
            }
            Form read = ReadForm();
            SkipSpaces();
            if (Peek() == ',') {
                const int takes =
                    function == Function::Nth || function == Function::Sets || function == Function::Count ? 2 : 1;
                throw ParseError(ErrorCode::ArgumentCount, m_at, { takes, takes + 1 }, word);
            }
            Expect(')');
            return read;
        });
        if (!pool.pool)
            throw ParseError(pool.highest ? ErrorCode::NotAPool : ErrorCode::UnboundedOperand, pool.at, {}, word);
        CheckPoolStates(pool);
        const int k = form.reading.k;
        if (function == Function::Nth && (k < 1 || k > pool.poolDice))
            throw ParseError(ErrorCode::NoSuchPosition, start, { k, pool.poolDice });
        if (function == Function::Sets && (k < 1 || k > pool.poolDice))
            throw ParseError(ErrorCode::SetSize, start, { k, pool.poolDice });
        form.operands.push_back(std::move(pool));
        return Finish(std::move(form), start, firstSlot);
    }

    // A group's members written alike are one kind of dice; the ways to
    // place a pool's dice kind by kind grow with the product of each kind's
    // dice, plus one.
    void CheckPoolStates(const Form &pool) const
    {
        if (pool.kind != Kind::Roll || pool.operands.empty())
            return;
        std::vector<std::pair<std::string_view, std::int64_t>> kinds;
        for (const Form &member : pool.operands) {
            std::string_view typed = m_text.substr(member.at, member.end - member.at);
            while (!typed.empty() && (typed.front() == ' ' || typed.front() == '\t'))
                typed.remove_prefix(1);
            while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t'))
                typed.remove_suffix(1);
            const auto found =
                std::find_if(kinds.begin(), kinds.end(), [&](const auto &k) { return k.first == typed; });
            if (found != kinds.end())
                ++found->second;
            else
                kinds.emplace_back(typed, 1);
        }
        std::int64_t states = 1;
        for (const auto &kind : kinds)
            states = CappedProduct(states, kind.second + 1, std::int64_t { 1 } << 60);
        if (states > maxPoolStates)
            throw ParseError(ErrorCode::PoolTooMixed, pool.at, { states });
    }

    // floor, ceil, round, abs, max and min of rolls that read names.
    Form ReadRollFunction(const std::string &word, std::size_t start)
    {
        const int firstSlot = m_slots;
        Form form;
        Inside(start, [&] {
            ++m_at;
            SkipSpaces();
            if (word == "floor" || word == "ceil" || word == "round") {
                form.kind = Kind::Divide;
                form.rounding = RoundingOf(word);
                const int sign = ReadSign();
                Form dividend = ReadProduct(true);
                ReadDivide(m_text, m_at, word);
                const std::size_t divisorAt = m_at;
                const int divisorSign = ReadSign();
                Form divisor = ReadUnit();
                form.operands.push_back(Signed(std::move(dividend), sign, start));
                form.operands.push_back(Signed(std::move(divisor), divisorSign, divisorAt));
                for (const Form &side : form.operands) {
                    NoLabel(side);
                    HasHighest(side, side.at, word);
                }
                const Form &d = form.operands[1];
                if (d.lowest <= 0 && *d.highest >= 0)
                    throw ParseError(ErrorCode::DivisorReachesZero, divisorAt, { d.lowest, *d.highest });
            } else {
                const int arguments = word == "abs" ? 1 : 2;
                for (int i = 0; i < arguments; ++i) {
                    if (i > 0) {
                        SkipSpaces();
                        if (Peek() != ',')
                            throw ParseError(ErrorCode::ArgumentCount, m_at, { arguments, i }, word);
                        ++m_at;
                    }
                    Form operand = ReadForm();
                    NoLabel(operand);
                    HasHighest(operand, operand.at, word);
                    form.operands.push_back(std::move(operand));
                }
                SkipSpaces();
                if (Peek() == ',')
                    throw ParseError(ErrorCode::ArgumentCount, m_at, { arguments, arguments + 1 }, word);
                form.kind = word == "abs" ? Kind::Abs : Kind::Pick;
                form.pick = word == "max" ? Pick::Highest : Pick::Lowest;
            }
            Expect(')');
            return 0;
        });
        return Finish(std::move(form), start, firstSlot);
    }

    Form Signed(Form form, int sign, std::size_t start)
    {
        if (sign > 0)
            return form;
        Form negated;
        negated.kind = Kind::Sum;
        negated.signs.push_back(-1);
        negated.operands.push_back(std::move(form));
        return Finish(std::move(negated), start, m_slots);
    }

    Form ReadLet()
    {
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        m_at += 3;
        Form let;
        let.kind = Kind::Let;
        let.slot = m_slots;
        const std::size_t scope = m_named.size();
        std::int64_t readings = 1;
        for (;;) {
            SkipSpaces();
            const std::size_t nameAt = m_at;
            const std::string name = ReadWord();
            if (name.empty())
                throw ParseError(ErrorCode::ExpectedName, m_at, {}, Typed());
            if (const auto reason = ReservedBecause(name))
                throw ParseError(
                    ErrorCode::ReservedName, nameAt, { *reason }, std::string(m_text.substr(nameAt, name.size())));
            SkipSpaces();
            if (Peek() != '=' || Peek(1) == '=')
                throw ParseError(ErrorCode::ExpectedWord, m_at, {}, Found(), "=");
            ++m_at;
            SkipSpaces();
            Form value = Inside(nameAt, [&] { return ReadForm(); });
            NoLabel(value);
            HasHighest(value, value.at, "let");
            if (value.pool)
                CheckPoolStates(value);
            readings = CappedProduct(readings, value.throws, std::int64_t { 1 } << 60);
            Named named { name, m_slots++, value };
            named.shape.operands.clear();
            named.shape.roll = {};
            m_named.push_back(std::move(named));
            let.operands.push_back(std::move(value));
            SkipSpaces();
            if (Peek() == ',') {
                ++m_at;
                continue;
            }
            ExpectWord("in");
            break;
        }
        const std::int64_t total = CappedProduct(m_readings, readings, std::int64_t { 1 } << 60);
        if (total > maxReadings)
            throw ParseError(ErrorCode::TooManyReadings, start, { total });
        const std::int64_t outer = std::exchange(m_readings, total);
        Form body = ReadForm();
        m_readings = outer;
        m_named.resize(scope);
        let.gives = body.gives;
        let.operands.push_back(std::move(body));
        return Finish(std::move(let), start, firstSlot);
    }

    Form ReadIf()
    {
        const std::size_t start = m_at;
        const int firstSlot = m_slots;
        m_at += 2;
        const bool condition = std::exchange(m_condition, true);
        Form test = ReadJoined("or", Kind::Or);
        m_condition = condition;
        Condition(test, "if", start);
        ExpectWord("then");
        Form then = ReadForm();
        ExpectWord("else");
        Form otherwise = ReadForm();
        Form form;
        form.kind = Kind::If;
        const bool labels = then.gives == Gives::Labels;
        if (labels != (otherwise.gives == Gives::Labels))
            throw ParseError(ErrorCode::LabelsAndTotals, labels ? otherwise.at : then.at);
        form.gives = labels                                                         ? Gives::Labels
            : then.gives == Gives::Condition && otherwise.gives == Gives::Condition ? Gives::Condition
                                                                                    : Gives::Totals;
        form.operands.push_back(std::move(test));
        form.operands.push_back(std::move(then));
        form.operands.push_back(std::move(otherwise));
        return Finish(std::move(form), start, firstSlot);
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_depth = 0;
    bool m_condition = false; // reading the condition of an if
    int m_slots = 0;
    std::int64_t m_readings = 1; // times the lets around read what is being read
    std::vector<Named> m_named;
    std::vector<std::string> m_labels;
};

} // namespace

Question ReadQuestion(std::string_view text)
{
    return QuestionReader(text).Read();
}

} // namespace dice::detail
