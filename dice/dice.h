#pragma once

// The dice notation and its exact engine. Parse reads an expression such as
// "2d20kh1+5", "4d6r=1kh3" or "8d10!=10>=8f1"; Evaluate gives every total's
// exact weight over one common denominator; Summarize gives the statistics.
// Dice with equal faces and no modifiers but keep and drop weigh every total
// by its number of equally likely outcomes; other dice by whole-number shares
// of the denominator. A roll that explodes has no highest total: it is listed
// up to the first total above which less than 10^-15 of the chance remains,
// and the weight above it is kept exactly, so every share and that remainder
// add up to the denominator. Weights are GMP integers, so nothing is rounded
// until a text is written.

#include <gmpxx.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
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

// A compare point: which values of a die meet it.
struct Compare {
    enum class Kind { None, Equal, NotEqual, Greater, GreaterEqual, Less, LessEqual };
    Kind kind = Kind::None;
    std::int64_t value = 0;

    bool Meets(std::int64_t x) const;
    // Whether every value above some bound meets it.
    bool MeetsUpward() const;
};

enum class Explode { None, Each, Compound };
enum class Reroll { None, Repeat, Once };

// The modifiers of a term are applied in one fixed order, however they were
// written: minimum, maximum, explode, reroll, keep or drop, then counting.
struct Term {
    int sign = 1; // +1 or -1
    int dice = 0; // 0 for a plain number
    int sides = 0; // faces of a die: 3 for Fudge dice, the list's length for listed faces
    bool fudge = false; // faces -1, 0 and +1
    std::vector<std::int64_t> faces; // listed faces (d{...}, dF.1), repeats included; empty for 1..sides
    Pick pick = Pick::All;
    int kept = 0; // how many dice are summed: dice, unless picked
    std::int64_t number = 0; // a plain number's value before its sign: 0 to 1,000,000

    bool hasMinimum = false;
    std::int64_t minimum = 0; // a first roll below it counts as it
    bool hasMaximum = false;
    std::int64_t maximum = 0;
    Explode explode = Explode::None;
    bool penetrate = false; // each extra roll counts one less
    Compare explodeOn; // Kind::None: the highest face
    Reroll reroll = Reroll::None;
    Compare rerollOn; // Kind::None: the lowest face
    Compare success; // Kind::None: the term is a sum, not a count
    Compare failure;

    // Whether the term is dice of equal faces with nothing but keep or drop.
    bool Plain() const;
    // The faces of one die, repeats included.
    std::vector<std::int64_t> Faces() const;
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

// The statistics of the whole of an unbounded roll, which its listed totals
// alone cannot give. Where no closed form is known the two ends of each value
// differ; they are then close enough that both round alike to nine decimals.
struct Moments {
    mpq_class meanLow;
    mpq_class meanHigh;
    mpq_class varianceLow;
    mpq_class varianceHigh;
};

struct Distribution {
    std::int64_t lowest = 0; // the total that counts[0] stands for
    std::vector<mpz_class> counts; // the weight of every listed total from lowest to Highest()
    mpz_class outcomes; // the common denominator: for plain dice, the product of every die's sides
    mpz_class tail; // the weight of every total above Highest(): 0 unless unbounded
    std::optional<Moments> moments; // for an unbounded roll

    std::int64_t Highest() const; // the last listed total
    bool Unbounded() const;
};

// Lists totals through `through` at least, where the roll reaches that far:
// --at-least and the like need totals past the listed ones.
Distribution Evaluate(const Expression &expression, std::stop_token stop = {});
Distribution Evaluate(const Expression &expression, std::stop_token stop, std::int64_t through);

struct Statistics {
    std::int64_t lowest = 0;
    std::int64_t highest = 0; // the last listed total when unbounded
    bool unbounded = false;
    bool exact = true; // mean and variance exact; otherwise within rounding to nine decimals
    mpq_class mean;
    mpq_class variance;
    double standardDeviation = 0.0;
    std::vector<std::int64_t> mostLikely; // every tie, lowest first
};

Statistics Summarize(const Distribution &distribution);

} // namespace dice
