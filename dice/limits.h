#pragma once

// The limits of the dice notation: the parser enforces them, the error texts,
// the command line's help and the fuzzer state them from here. They keep the
// count of any expression within a fraction of a second and its numbers
// within 64 bits. The build reads these lines to write the manual page, so
// each stays "inline constexpr <type> <name> = <digits>;" on one line.

#include <cstdint>

namespace dice
{

inline constexpr int minDice = 1; // in one term
inline constexpr int maxDice = 100; // in one term, and in the whole expression
inline constexpr int maxTerms = 20;
inline constexpr int minSides = 2;
inline constexpr int maxSides = 1000;
inline constexpr int maxPickSides = 100; // a die that is kept or dropped
inline constexpr std::int64_t maxNumber = 1000000; // any number typed, before its sign
inline constexpr int maxFaces = 100; // listed in d{...}
inline constexpr int maxExplodeSides = 100; // a die that explodes
inline constexpr std::int64_t maxSpan = 2000000; // totals from the lowest to the last listed
inline constexpr int minMembers = 2; // in a group
inline constexpr int maxMembers = 20; // in a group
inline constexpr int maxDepth = 8; // groups, functions and brackets inside each other
inline constexpr std::int64_t maxKeptSpan = 1000; // a member of a keep of several unlike members
inline constexpr std::int64_t maxListedPast = 10000; // totals a roll that explodes is listed past its own end
inline constexpr std::int64_t maxTotal = 1000000000000000; // any total of a product, either way
inline constexpr std::int64_t maxReadings = 1000000; // times a let reads what follows 'in', once per throw it names
inline constexpr int maxLabelLength = 40; // characters in a label
inline constexpr int maxLabels = 100; // different labels in a question
inline constexpr std::int64_t maxPoolStates = 4096; // a pool: the product of (dice + 1) over its kinds unlike
// A roll that explodes is listed until less than 10^-cutDigits of its chance
// lies past the listing: six digits beyond the nine that are printed, so that
// what a table leaves to its last row never moves a printed share.
inline constexpr int cutDigits = 15;

} // namespace dice
