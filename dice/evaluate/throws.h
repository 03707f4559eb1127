#pragma once

// Where every throw of an expression's dice is as likely as any other, its
// outcomes are those throws, as a player counts them: 20 for 1d20>=15, not
// the 10 that the reduced shares would give.

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"

#include <functional>
#include <optional>

namespace dice::detail
{

// How many equally likely throws the expression's dice have: the product of
// every die's faces, repeats included. None where a die explodes or
// rerolls, since a throw then holds more dice than others.
std::optional<mpz_class> Throws(const Expression &expression);

// Lays the roll's weights over `throws`, which its shares have as a common
// denominator.
void OverThrows(Distribution &roll, const mpz_class &throws);

} // namespace dice::detail
