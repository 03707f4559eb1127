#pragma once

// The checks the reader makes as it puts a roll together: every part within
// the limits of a whole expression, and sums that may be listed as far as
// they need.

#include "dice/bounds/bounds.h"
#include "dice/notation/expression.h"

#include <cstddef>
#include <cstdint>

namespace dice::detail
{

// Whether the node is terms alone, joined by + and -.
bool Flat(const Node &node);

// Every result in between keeps the limits a whole expression keeps.
void CheckBounds(const Node &node, std::size_t at);

// A roll that explodes, listed far past its own end, takes time and
// memory that grow with the square of the distance.
void CheckListing(const Bounds &bounds, std::size_t at);

// Products, divisions and abs need their operands' highest totals.
void Bounded(const Node &node, std::size_t at, const char *what);

// Refuses one more bracket, group or function than may nest.
void Deeper(int depth, std::size_t at);

// Adds a term, or a part, to a sum whose totals span `span` so far, and
// refuses what the sum may not take: a roll with no highest total taken
// away, too wide a span, too far a listing.
void AddTerm(Node &sum, Term term, std::int64_t &span, std::size_t start);
void AddPart(Node &sum, Node part, int sign, std::int64_t &span, std::size_t start);

} // namespace dice::detail
