#pragma once

// A pool: dice thrown together and read as more than their total, by the
// position of a die among the others or by the faces that match. A pool is
// made of kinds of dice; the dice of one kind are alike, each showing its
// faces with their weights.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <gmpxx.h>

#include <cstdint>
#include <vector>

namespace dice::pools
{

// `count` dice alike: faces in rising order, each with a weight above 0.
// One die's denominator is the sum of its weights.
struct Kind {
    int count = 0;
    std::vector<std::int64_t> faces;
    std::vector<mpz_class> weights;
};

struct Pool {
    std::vector<Kind> kinds;
};

// What is read of a pool. `k` is the position for Nth (1 is the highest die)
// and the least number of matching dice for Sets; `point` says which faces
// Count counts.
struct Reading {
    enum class Function { Highest, Lowest, Nth, Count, LargestCount, Sets, LargestStraight };
    Function function = Function::Highest;
    int k = 1;
    Compare point;
};

// The exact roll of the reading over every throw of the pool, its
// denominator the product of every die's. Read, but for Count, and
// Multisets throw std::length_error where the product of (count + 1) over
// the pool's kinds unlike passes maxPoolStates (dice/limits.h), and
// Cancelled where `stop` asks.
Distribution Read(const Pool &pool, const Reading &reading, const dice::StopToken &stop);

// One throw of a pool, its faces in rising order, and its weight among all
// the throws of the pool that show the same faces in any order.
struct Multiset {
    std::vector<std::int64_t> faces;
    mpz_class weight;
};

// How many different multisets a pool can show, or `cap` where that is more:
// to refuse before any work a count that would take too long. Exact for one
// kind; for several it may count more than there are, as kinds sharing
// faces can show the same multiset.
std::int64_t MultisetCount(const Pool &pool, std::int64_t cap);

// Every multiset the pool can show, with weights over the pool's denominator.
std::vector<Multiset> Multisets(const Pool &pool, const dice::StopToken &stop);

// The reading of one throw, its faces in rising order.
std::int64_t ReadThrow(const std::vector<std::int64_t> &faces, const Reading &reading);

// The pool's denominator: the product of every die's.
mpz_class Denominator(const Pool &pool);

} // namespace dice::pools
