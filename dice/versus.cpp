#include "dice/versus.h"

#include <algorithm>
#include <stdexcept>

namespace dice
{

std::int64_t VersusThrough(const Distribution &roll, const Distribution &other)
{
    return std::max(roll.Highest(), other.Highest());
}

Versus Against(const Distribution &first, const Distribution &second)
{
    if ((first.Unbounded() && first.Highest() < second.Highest())
        || (second.Unbounded() && second.Highest() < first.Highest()))
        throw std::invalid_argument("an unbounded roll is listed less far than the roll it is set against");

    // With every unbounded roll listed at least as far as the other, a total
    // past one roll's listing is above every listed total of the other: those
    // pairs are decided by the tails' weights alone, and only tail against
    // tail stays open.
    Versus result;
    result.outcomes = first.outcomes * second.outcomes;
    mpz_class below; // the second roll's weight under the first's current total
    mpz_class product;
    const std::int64_t secondHighest = second.Highest();
    std::int64_t next = second.lowest; // the second roll's first total not yet in `below`
    for (std::size_t i = 0; i < first.counts.size(); ++i) {
        const mpz_class &count = first.counts[i];
        const std::int64_t total = first.lowest + static_cast<std::int64_t>(i);
        for (; next < total && next <= secondHighest; ++next)
            below += second.counts[static_cast<std::size_t>(next - second.lowest)];
        if (count == 0)
            continue;
        mpz_mul(product.get_mpz_t(), count.get_mpz_t(), below.get_mpz_t());
        result.wins += product;
        if (total >= second.lowest && total <= secondHighest) {
            mpz_mul(product.get_mpz_t(),
                count.get_mpz_t(),
                second.counts[static_cast<std::size_t>(total - second.lowest)].get_mpz_t());
            result.ties += product;
        }
    }
    if (first.Unbounded())
        result.wins += first.tail * (second.outcomes - second.tail);
    result.undecided = first.tail * second.tail;
    result.loses = result.outcomes - result.wins - result.ties - result.undecided;
    return result;
}

} // namespace dice
