#pragma once

// The dice notation and its exact engine. Parse reads an expression such as
// "2d20kh1+5", "4d6kh3" or "1d8+2d6+3"; Evaluate counts, for every total from
// the lowest to the highest, the exact number of equally likely outcomes that
// throw it; Summarize gives the statistics of those counts. Counts are GMP
// integers, so nothing is rounded until a text is written.

#include <gmpxx.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace dice
{

// Text that is not an expression: what is wrong, and the offset of the
// character it is about.
class ParseError : public std::runtime_error
{
public:
    ParseError(const std::string &what, std::size_t position);
    std::size_t Position() const;

private:
    std::size_t m_position;
};

// The error as printed for the user: "2d20kh3: cannot keep 3 of 2 dice", then
// a line with a caret under the position.
std::string ErrorText(std::string_view text, const ParseError &error);

// Which dice of a term are summed; the drop forms are read as keeps.
enum class Pick { All, Highest, Lowest };

struct Term {
    int sign = 1; // +1 or -1
    int dice = 0; // 0 for a plain number
    int sides = 0; // for Fudge dice 3, with faces -1, 0 and +1
    bool fudge = false;
    Pick pick = Pick::All;
    int kept = 0; // how many dice are summed: dice, unless picked
    std::int64_t number = 0; // a plain number's value before its sign: 0 to 1,000,000
};

struct Expression {
    std::vector<Term> terms;
};

Expression Parse(std::string_view text);

// Thrown by Evaluate when its stop token asks it to stop.
class Cancelled : public std::exception
{
public:
    const char *what() const noexcept override;
};

struct Distribution {
    std::int64_t lowest = 0; // the total that counts[0] stands for
    std::vector<mpz_class> counts; // every total from lowest to highest
    mpz_class outcomes; // all outcomes: the product of every die's sides

    std::int64_t Highest() const;
};

Distribution Evaluate(const Expression &expression, std::stop_token stop = {});

struct Statistics {
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    mpq_class mean;
    mpq_class variance;
    double standardDeviation = 0.0;
    std::vector<std::int64_t> mostLikely; // every tie, lowest first
};

Statistics Summarize(const Distribution &distribution);

} // namespace dice
