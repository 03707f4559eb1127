#pragma once

// One term of dice with modifiers beyond keep and drop, counted as a weighted
// roll. A die goes through its modifiers in their fixed order: its first roll
// is raised to the minimum and lowered to the maximum; a die that meets the
// explode point rolls again (the extra rolls are dice of their own, not
// raised or lowered, and with `!!` are added into the die); a die that meets
// the reroll point is rolled afresh, never exploding; then the highest or
// lowest dice are kept, and last the kept dice are counted or summed.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/stop.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace dice::detail
{

// The totals a term can reach before its sign: `highest` is empty where the
// term has none. The bounds may lie outside what the term really reaches.
struct Reach {
    std::int64_t lowest = 0;
    std::optional<std::int64_t> highest;
};

Reach TermReach(const Term &term);

// Whether any first roll of the term's dice explodes: a minimum or maximum
// can move every face off the explode point, and then no die ever does.
bool FirstRollExplodes(const Term &term);

// One face of a die and how many times the die shows it.
struct Face {
    std::int64_t value = 0;
    unsigned long count = 0;
};

std::vector<Face> RawFaces(const Term &term);

// The compare points a term's dice explode and reroll on: as written, or by
// default the highest and the lowest of the raw faces.
Compare ExplodePoint(const Term &term, const std::vector<Face> &raw);
Compare RerollPoint(const Term &term, const std::vector<Face> &raw);

// A chain of explosions from one die, as the weights of its rolls' values:
// the first roll that stops or explodes, and each extra roll that stops or
// explodes, all four over the denominator of one roll. With `!` a roll's
// value is what the die counts after rerolls and counting; with `!!` its face.
struct ChainParts {
    Distribution firstStops;
    Distribution firstExplodes;
    Distribution extraStops;
    Distribution extraExplodes;
};

ChainParts Parts(const Term &term, const std::vector<Face> &raw);

// The least an explosion adds to a die: totals of such dice take at most one
// roll more per that much.
std::int64_t ExplosionStep(const Term &term, const std::vector<Face> &raw);

// One die and every extra roll its explosions bring, listed through `through`.
Distribution Chain(const Term &term, const std::vector<Face> &raw, std::int64_t through, const dice::StopToken &stop);

// The die as the count sees it: 1 for a success, -1 for a failure, the tail
// alike to the values just below it.
Distribution Counted(const Distribution &die, const Term &term);

// The roll that replaces a die meeting the reroll point.
Distribution Replacement(const Term &term, const std::vector<Face> &raw);

// A term before its sign, listed through `through` at least where it reaches.
Distribution CountTerm(const Term &term, std::int64_t through, const dice::StopToken &stop);

} // namespace dice::detail
