#include "dice/evaluate/throws.h"

#include "dice/value/weights.h"

namespace dice::detail
{

std::optional<mpz_class> Throws(const Expression &expression)
{
    mpz_class throws = 1;
    bool even = true;
    ForEachTerm(expression, [&](const Term &term) {
        if (term.explode != Explode::None || term.reroll != Reroll::None) {
            even = false;
        } else if (term.dice > 0) {
            throws *= PowerOf(term.sides, term.dice);
        }
    });
    return even ? std::optional(throws) : std::nullopt;
}

void OverThrows(Distribution &roll, const mpz_class &throws)
{
    if (roll.outcomes == throws)
        return;
    // Each share times the throws is a whole number of throws, so the
    // division is exact even where the reduced denominator does not divide
    // the throws' own count.
    for (mpz_class &weight : roll.counts) {
        weight *= throws;
        mpz_divexact(weight.get_mpz_t(), weight.get_mpz_t(), roll.outcomes.get_mpz_t());
    }
    roll.outcomes = throws;
}

} // namespace dice::detail
