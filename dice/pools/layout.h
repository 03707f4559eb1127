#pragma once

// A pool laid out for counting face by face. Kinds alike are merged, every
// face any kind shows stands in one rising list, and a state of the count
// is the number of dice of each kind not yet placed, written as one index
// in mixed radix: kind i's digit runs from 0 to its count.

#include "dice/pools/pool.h"

#include <cstdint>
#include <vector>

namespace dice::pools::detail
{

struct Layout {
    std::vector<std::int64_t> faces; // of every kind, rising, each once
    std::vector<int> counts; // of each merged kind
    std::vector<std::vector<mpz_class>> weights; // [kind][face], 0 where the kind lacks the face
    std::vector<int> strides; // of each kind's digit in a state index
    std::vector<int> firstFace; // of each kind, as an index into faces
    std::vector<int> lastFace;
    int states = 1; // the number of state indices; the last has every die left
    int dice = 0;
    mpz_class denominator = 1; // of the pool

    int Left(int state, int kind) const;
};

// The pool's kinds with those alike merged and those of no dice dropped.
std::vector<Kind> MergedKinds(const Pool &pool);

// Throws std::length_error where the states would be more than maxPoolStates.
Layout LayOut(const Pool &pool);

} // namespace dice::pools::detail
