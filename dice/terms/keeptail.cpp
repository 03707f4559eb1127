// How much a keep of exploding dice can hold past its listing. Taken as
// v - low >= 0, a die whose weight at every value x from some x0 + D up is
// at most a times its weight at x - D can be moved down by D at a cost of a
// in chance. A keep K of n such dice that reaches t + jD, with t far enough
// that fewer than j such moves could not get it there, is j moves above a
// throw that reaches t, and the moves fall on the dice in at most
// C(n + j - 1, j) ways: P(K >= t + jD) <= rho P(K >= t), rho = C(n + j - 1, j)
// a^j. Past the listing the chance falls by rho every jD, which bounds what it
// adds to the moments by the listing's exact remainder. Throws with a die
// past the die's own listing, where its weights are not seen, are bounded
// apart by the die's exact moments.

#include "dice/terms/keeptail.h"

#include "dice/value/weights.h"

#include "dice/terms/die.h"
#include "dice/terms/keep.h"
#include "dice/terms/moments.h"
#include "dice/value/wide.h"

#include <optional>

namespace dice::detail
{

namespace
{

// The largest ratio of a die's weight to the weight one explosion step
// below, above the highest value x0 the keep's listing leaves room for
// (throws of fewer than j moves keep at most kept (x0 + D - 1) + (j - 1) D,
// which must stay below past + jD): the higher x0, the less the irregular
// first rolls weigh. Empty where the die does not fall steadily there.
std::optional<mpq_class> FallAbove(
    const Distribution &die, std::int64_t low, std::int64_t keptDice, std::int64_t step, std::int64_t past)
{
    const auto at = [&](std::int64_t value) -> const mpz_class * {
        static const mpz_class none;
        const std::int64_t i = value + low - die.lowest;
        return i < 0 || i >= static_cast<std::int64_t>(die.counts.size()) ? &none
                                                                          : &die.counts[static_cast<std::size_t>(i)];
    };
    const std::int64_t top = die.Highest() - low;

    std::int64_t from = (past + step - 1) / keptDice - step + 1;
    while (keptDice * (from + step - 1) - step + 1 >= past)
        --from;
    for (std::int64_t x = from + step; x <= top; ++x) {
        if (*at(x) != 0 && *at(x - step) == 0)
            return std::nullopt;
    }
    if (from < 0)
        return std::nullopt;
    mpz_class most = 0;
    mpz_class least = 1;
    for (std::int64_t x = from + step; x <= top; ++x) {
        if (*at(x) != 0 && *at(x) * least > most * *at(x - step)) {
            most = *at(x);
            least = *at(x - step);
        }
    }
    return mpq_class(most, least);
}

} // namespace

std::optional<TailBounds> KeptTailBounds(
    const Term &term, const Distribution &kept, std::int64_t low, std::int64_t past, const dice::StopToken &stop)
{
    if (term.explode != Explode::Compound || term.success.kind != Compare::Kind::None || term.pick == Pick::All
        || kept.counts.empty())
        return std::nullopt;
    Term one = term.OneDie();
    const std::optional<Moments> moments = TermMoments(one, stop);
    if (!moments)
        return std::nullopt;
    const std::int64_t step = ExplosionStep(term, RawFaces(term));
    // Listed well past the keep's listing, so that a die past its own listing
    // weighs little beside the keep's remainder.
    constexpr std::int64_t stepsPast = 16;
    const Distribution die = CountTerm(one, kept.Highest() + 1 + stepsPast * step, stop);
    if (die.counts.empty() || die.lowest < low)
        return std::nullopt;
    const std::optional<mpq_class> fall = FallAbove(die, low, term.kept, step, past);
    if (!fall)
        return std::nullopt;
    const mpq_class &ratio = *fall;

    // The j whose rho leaves the least span jD / (1 - rho).
    std::optional<mpq_class> best;
    mpq_class rho;
    std::int64_t span = 0;
    mpq_class power = 1;
    // Spans of more steps bring the ratio's power down only slowly; the
    // best j of a die that explodes is found well before.
    constexpr int mostSteps = 64;
    for (int j = 1; j <= mostSteps; ++j) {
        power *= ratio;
        const mpz_class ways = Binomial(term.dice + j - 1, j);
        const mpq_class r = power * ways;
        if (r >= 1)
            continue;
        const mpq_class width = mpq_class(Big(j * step)) / (1 - r);
        if (!best || width < *best) {
            best = width;
            rho = r;
            span = j * step;
        }
    }
    if (!best)
        return std::nullopt;

    mpq_class remainder(kept.tail, kept.outcomes);
    remainder.canonicalize();
    const mpq_class p(Big(past));
    TailBounds bounds;
    bounds.first = p * remainder + remainder * *best;
    bounds.second =
        p * p * remainder + remainder * Big(span) * (2 * p / (1 - rho) + Big(2 * span) / ((1 - rho) * (1 - rho)));

    // A die past its listing: the keep is at most that die and all the others.
    mpz_class listedFirst;
    mpz_class listedSecond;
    for (std::size_t i = 0; i < die.counts.size(); ++i) {
        const std::int64_t x = die.lowest + static_cast<std::int64_t>(i) - low;
        listedFirst += die.counts[i] * Big(x);
        listedSecond += die.counts[i] * Big(x) * Big(x);
    }
    const mpq_class mean = moments->meanHigh - Big(low);
    const mpq_class square = moments->varianceHigh + mean * mean;
    mpq_class chance(die.tail, die.outcomes);
    chance.canonicalize();
    const mpq_class beyondFirst = mean - mpq_class(listedFirst, die.outcomes);
    const mpq_class beyondSecond = square - mpq_class(listedSecond, die.outcomes);
    const mpq_class others = term.dice - 1;
    const mpq_class othersSquare = others * moments->varianceHigh + others * others * mean * mean;
    bounds.first += term.dice * (beyondFirst + chance * others * mean);
    bounds.second += term.dice * (beyondSecond + 2 * beyondFirst * others * mean + chance * othersSquare);
    return bounds;
}

} // namespace dice::detail
