#pragma once

// A roll's exact weights: every listed total's over one common denominator,
// and the weight above the listing of a roll with no highest total.

#include "dice/value/stop.h"

#include <gmpxx.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace dice
{

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
    mpz_class outcomes; // the common denominator: the product of every die's faces unless weighted
    mpz_class tail; // the weight of every total above Highest(): 0 unless unbounded
    std::optional<Moments> moments; // for an unbounded roll
    // Whether `outcomes` is only a common denominator of unequal weights, as
    // where dice explode or reroll; otherwise it counts equally likely throws.
    bool weighted = false;
    // A roll whose every result is a label: counts[i] is the weight of
    // labels[i], in the order the labels were written, and lowest is 0.
    // Empty for a roll of totals.
    std::vector<std::string> labels;

    std::int64_t Highest() const; // the last listed total
    bool Unbounded() const;
    bool Labelled() const;
};

namespace detail
{

// Throws Cancelled where the stop token asks the count to stop.
void Check(const dice::StopToken &stop);

} // namespace detail

} // namespace dice
