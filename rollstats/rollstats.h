#pragma once

// The roll state and the computations on it. Compute stores the sides and the
// modifier, seeds the face weights and the zero-dice distribution, builds the
// distribution for the number of dice and multiplies out the number of equally
// likely outcomes; the result selection later only reads Counts and
// TotalOutcomes. Counts are doubles: the largest roll admitted, 20 dice of 30
// sides, has about 3.5e29 outcomes. Integer steps are checked and floating-point
// steps must stay finite; either failure throws a runtime error.

#include "rollstats/bounded_array.h"

#include <cstdint>

namespace rollstats
{

// Number of faces of each die and the roll modifier, as read by the last Compute.
extern std::int16_t Sides;
extern std::int16_t Modifier;
// Entry j weighs the face value Sides - j; indexes 0 to Sides - 1.
extern BoundedArray FaceWeights;
// After a build for n dice, entry k (1 to n * (Sides - 1) + 1) is the number of
// outcomes whose face total is n + k - 1; the modifier is not included.
extern BoundedArray Counts;
// Work array of BuildDistribution: the padded distribution of one die fewer.
extern BoundedArray Scratch;
// Sides raised to the number of dice.
extern double TotalOutcomes;

// Every face weighs 1.0; Counts holds the distribution of zero dice: one way,
// at index 1 (index 0 stays 0.0 and is never read).
void SeedRollState();

// Replaces Counts by the distribution of n dice (1 <= n), one die at a time,
// starting from the seeded state.
void BuildDistribution(std::int16_t n);

// TotalOutcomes by repeated multiplication, one factor of Sides per die.
void ComputeTotalOutcomes(std::int32_t dice);

// The expected total of a roll, modifier included.
double AverageThrow(std::int32_t dice, std::int16_t sides, std::int16_t modifier);

} // namespace rollstats
