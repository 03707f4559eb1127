#include "dice/questions/words.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace dice::detail
{

namespace
{

using Function = pools::Reading::Function;

constexpr std::array<std::string_view, 8> keywords { "let", "in", "if", "then", "else", "and", "or", "not" };

constexpr std::array<std::pair<std::string_view, Function>, 7> poolFunctions { {
    { "highest", Function::Highest },
    { "lowest", Function::Lowest },
    { "nth", Function::Nth },
    { "count", Function::Count },
    { "largest_count", Function::LargestCount },
    { "sets", Function::Sets },
    { "largest_straight", Function::LargestStraight },
} };

constexpr std::array<std::string_view, 6> rollFunctions { "floor", "ceil", "round", "abs", "max", "min" };

// The modifiers of a term, which a number may follow: kh3, r1.
constexpr std::array<std::string_view, 16> modifiers {
    "min", "max", "ro", "r", "kh", "kl", "k", "dh", "dl", "d", "sa", "sd", "s", "cs", "cf", "f"
};

template <std::size_t N> bool Among(const std::array<std::string_view, N> &words, std::string_view word)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

} // namespace

bool IsWordCharacter(char c)
{
    return IsLetter(Lower(c)) || IsDigit(c) || c == '_';
}

bool IsKeyword(std::string_view word)
{
    return Among(keywords, word);
}

std::optional<Function> PoolFunction(std::string_view word)
{
    for (const auto &[name, function] : poolFunctions) {
        if (name == word)
            return function;
    }
    return std::nullopt;
}

bool IsRollFunction(std::string_view word)
{
    return Among(rollFunctions, word);
}

std::optional<int> ReservedBecause(std::string_view word)
{
    if (IsKeyword(word))
        return 0;
    if (PoolFunction(word) || IsRollFunction(word))
        return 1;
    // d6, d%, dF and the like begin a die.
    if (word.size() >= 2 && word[0] == 'd' && ((word[1] >= '0' && word[1] <= '9') || word[1] == 'f'))
        return 2;
    if (word == "d")
        return 2;
    std::string_view stem = word;
    while (!stem.empty() && stem.back() >= '0' && stem.back() <= '9')
        stem.remove_suffix(1);
    if (Among(modifiers, stem))
        return 3;
    return std::nullopt;
}

bool AsksQuestion(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const char c = Lower(text[at]);
        if (c == '"')
            return true;
        if (!IsWordCharacter(c) || (c >= '0' && c <= '9') || c == '_') {
            // Nd( throws a bracketed roll: "6d(" or "d(".
            if (c == 'd' || (c >= '0' && c <= '9')) {
                std::size_t next = at + 1;
                while (next < text.size() && text[next] >= '0' && text[next] <= '9')
                    ++next;
                if (c != 'd' && next < text.size() && Lower(text[next]) == 'd' && next + 1 < text.size()
                    && text[next + 1] == '(')
                    return true;
            }
            ++at;
            continue;
        }
        std::size_t end = at;
        std::string word;
        while (end < text.size() && IsWordCharacter(text[end]))
            word += Lower(text[end++]);
        if (IsKeyword(word))
            return true;
        std::size_t next = end;
        while (next < text.size() && (text[next] == ' ' || text[next] == '\t'))
            ++next;
        const bool called = next < text.size() && text[next] == '(';
        if (called && (PoolFunction(word) || word == "d"))
            return true;
        at = end;
    }
    return false;
}

} // namespace dice::detail
