#pragma once

// Exact counts for the tests to hold the program's doubles against: the ways
// to throw each face total in 128-bit integers. The largest admitted roll, 20
// dice of 30 sides, counts below 2^98.

#include <string>
#include <vector>

namespace reference
{

__extension__ using Exact = unsigned __int128;

// The ways of the dice so far with one more die of this many sides thrown.
std::vector<Exact> AddDie(const std::vector<Exact> &ways, int sides);

// The ways to throw each face total, lowest first.
std::vector<Exact> ExactCounts(int dice, int sides);

// Decimal digits, no sign.
std::string Decimal(Exact value);

} // namespace reference
