#pragma once

// What a form of a question gives once the names around it stand for one
// throw each: a certain total, or a roll. Every roll here is independent of
// every other, since each written part of the notation is thrown on its
// own and only names are shared, and they are certain by now.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace dice::detail
{

struct Value {
    std::optional<std::int64_t> certain;
    std::shared_ptr<const Distribution> roll; // where not certain

    static Value Certain(std::int64_t total);
    static Value Rolled(Distribution roll);
};

// The value as a roll: a certain total is one total over a denominator of 1.
Distribution AsRoll(const Value &value);

// The weight of true, and the denominator, of a condition: 1 is true.
std::pair<mpz_class, mpz_class> Chances(const Value &condition);

// The mean and variance of a roll, tail and all.
Moments MomentsOf(const Distribution &roll);

// a + sign * b.
Value Plus(const Value &a, const Value &b, int sign, const dice::StopToken &stop);

// op of every pair of totals of two rolls that have highest totals.
Value Combined(const Value &a,
    const Value &b,
    const std::function<std::int64_t(std::int64_t, std::int64_t)> &op,
    const dice::StopToken &stop);

// Whether a's total compares to b's as `kind` says, as a condition.
Value Compared(const Value &a, const Value &b, Compare::Kind kind);

Value Both(const Value &a, const Value &b);
Value Either(const Value &a, const Value &b);
Value Negated(const Value &condition);

// A die of any weights rerolled where it meets the point: again and again
// with Reroll::Repeat, once with Reroll::Once. Some total must not meet it.
Distribution Rerolled(const Distribution &die, Reroll reroll, const Compare &on);

// Values chosen among by weight: the roll that gives each with its weight.
// Rolls listed to different totals are listed as far as the shortest, the
// rest exactly in the tail.
class Mixture
{
public:
    void Add(const mpz_class &weight, const Value &value);
    // Whether the weights themselves are not counts of equally likely throws.
    void Weighted();
    Distribution Result() const;

private:
    std::vector<std::pair<std::int64_t, mpz_class>> m_certain;
    std::vector<std::pair<std::shared_ptr<const Distribution>, mpz_class>> m_rolls;
    bool m_weighted = false;
};

} // namespace dice::detail
