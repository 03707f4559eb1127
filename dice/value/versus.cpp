#include "dice/value/versus.h"

#include <algorithm>

namespace dice
{

std::int64_t VersusThrough(const Distribution &roll, const Distribution &other)
{
    return std::max(roll.Highest(), other.Highest());
}

namespace
{

// Whether two bounded rolls weigh every total alike, as a roll set against
// itself in a head-to-head table does.
bool AlikeAndBounded(const Distribution &first, const Distribution &second)
{
    if (first.Unbounded() || second.Unbounded())
        return false;
    return &first == &second
        || (first.lowest == second.lowest && first.outcomes == second.outcomes && first.counts == second.counts);
}

// Either of two rolls alike wins as often as the other, so only the ties
// take products, and those are squares: well under half the work of two
// different rolls, which a table of n rolls has n times.
Versus AgainstItsLike(const Distribution &roll)
{
    Versus result;
    result.outcomes = roll.outcomes * roll.outcomes;
    mpz_class square;
    for (const mpz_class &count : roll.counts) {
        mpz_mul(square.get_mpz_t(), count.get_mpz_t(), count.get_mpz_t());
        result.ties += square;
    }
    result.wins = result.outcomes - result.ties;
    mpz_fdiv_q_2exp(result.wins.get_mpz_t(), result.wins.get_mpz_t(), 1);
    result.loses = result.wins;
    return result;
}

} // namespace

Versus Against(const Distribution &first, const Distribution &second)
{
    if (AlikeAndBounded(first, second))
        return AgainstItsLike(first);
    // A listed total of one roll against the other's tail is decided where
    // it is no higher than the other's last listed total, since every total
    // of the tail lies above that; a tail against a listed total likewise.
    // The rest, among them tail against tail, is known of no listing.
    // A loss is every throw of the second roll decided against this total
    // but the wins and ties, so the losses are added up as the weights the
    // first roll's totals decide, less those, with one product a total fewer.
    Versus result;
    result.outcomes = first.outcomes * second.outcomes;
    const std::int64_t secondHighest = second.Highest();
    const mpz_class listed = second.outcomes - second.tail;
    mpz_class below; // the second roll's listed weight under the first's current total
    mpz_class decidedByTail; // the first roll's weight at totals the second's tail lies above
    mpz_class weight; // the first roll's listed weight
    std::int64_t next = second.lowest; // the second roll's first total not yet in `below`
    const auto advance = [&](std::int64_t total) {
        for (; next < total && next <= secondHighest; ++next)
            below += second.counts[static_cast<std::size_t>(next - second.lowest)];
    };
    for (std::size_t i = 0; i < first.counts.size(); ++i) {
        const mpz_class &count = first.counts[i];
        const std::int64_t total = first.lowest + static_cast<std::int64_t>(i);
        advance(total);
        if (count == 0)
            continue;
        weight += count;
        mpz_addmul(result.wins.get_mpz_t(), count.get_mpz_t(), below.get_mpz_t());
        if (total >= second.lowest && total <= secondHighest) {
            const mpz_class &equal = second.counts[static_cast<std::size_t>(total - second.lowest)];
            mpz_addmul(result.ties.get_mpz_t(), count.get_mpz_t(), equal.get_mpz_t());
        }
        if (total <= secondHighest)
            decidedByTail += count;
    }
    result.loses = weight * listed + decidedByTail * second.tail - result.wins - result.ties;
    if (first.Unbounded()) {
        advance(first.Highest() + 1);
        result.wins += first.tail * below;
    }
    result.undecided = result.outcomes - result.wins - result.ties - result.loses;
    return result;
}

} // namespace dice
