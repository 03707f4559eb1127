#pragma once

// The rules a term with modifiers must keep for its count to end: the parser
// refuses a term that breaks one, and the count refuses a term built by hand
// that does.

#include "dice/notation/errors.h"
#include "dice/notation/expression.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace dice
{

// Where each part of a term was typed, for the caret of an error.
struct Places {
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t term = 0;
    std::size_t sides = 0;
    std::size_t minimum = none;
    std::size_t maximum = none;
    std::size_t explode = none;
    std::size_t reroll = none;
    std::size_t keep = none;
    std::size_t success = none;
    std::size_t failure = none;
    std::size_t sort = none;
    std::size_t criticalSuccess = none;
    std::size_t criticalFailure = none;
    // Where the sides and the success count end: a 'd' right after either
    // may begin a second die rather than a drop.
    std::size_t sidesEnd = none;
    std::size_t successEnd = none;
};

// The first rule of the modifiers the term breaks, if any.
std::optional<ErrorCode> BrokenRule(const Term &term);

// Throws the ParseError of the first rule the term breaks.
void CheckModifiers(const Term &term, const Places &places);

// How far the term's last listed total may lie above its lowest (one less
// than the totals it lists):
// for a term that explodes, an estimate from above, where n dice that
// explode with chance p each go past k explosions with chance below n p^k.
std::int64_t TermSpan(const Term &term);

// A guess at the last total a term lists, for a first count that is likely
// to list far enough: its highest, where it has one.
std::int64_t TermListing(const Term &term);

} // namespace dice
