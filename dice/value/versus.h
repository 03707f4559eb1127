#pragma once

// One roll against another. Two rolls are independent, so every pair of
// their totals weighs the product of the two weights, over the product of the
// two denominators; "wins" means the first roll's total is the higher.

#include "dice/value/distribution.h"

#include <cstdint>

namespace dice
{

// Weights over `outcomes`, the product of the two rolls' denominators.
// Pairs whose order no listing tells are undecided: a total past an unbounded
// roll's listing against one of the other's above the first's listing, and
// tail against tail. wins + ties + loses + undecided == outcomes, and each of
// the three chances lies between its weight and its weight plus the
// undecided one.
struct Versus {
    mpz_class wins;
    mpz_class ties;
    mpz_class loses;
    mpz_class undecided;
    mpz_class outcomes;
};

// How far an unbounded roll must be listed to be set against another: as far
// as the other's last listed total. Then only tail against tail, where both
// are unbounded, stays undecided; a bounded roll needs nothing more.
std::int64_t VersusThrough(const Distribution &roll, const Distribution &other);

Versus Against(const Distribution &first, const Distribution &second);

} // namespace dice
