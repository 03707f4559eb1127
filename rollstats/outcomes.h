#pragma once

// What the results read from the roll state. The probability table has one
// line per total, lowest first, and both threshold lists one item per total in
// the same order: line k and item k stand for the total Dice + k + Modifier
// and read Counts[k + 1]. Sums of counts are always added in ascending order,
// so every printed digit is reproducible.

#include <cstdint>

namespace rollstats
{

// The index in Counts of a face total (the modifier not added) of a roll of
// this many dice.
std::int32_t CountIndexOfFaceTotal(std::int32_t faceTotal, std::int32_t dice);

// The number of outcomes that throw this face total.
double OutcomesOfFaceTotal(std::int32_t faceTotal, std::int32_t dice);

// The item of the highest total in either threshold list.
std::int16_t LastItem();

// The number of outcomes whose totals lie from item first to item last, both
// included, added in ascending order.
double OutcomesFromItemToItem(std::int16_t first, std::int16_t last);

} // namespace rollstats
