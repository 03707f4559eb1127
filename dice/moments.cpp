// Closed forms of the mean and variance of unbounded terms. A die's chain of
// explosions has the generating function
//   G(z) = (S0(z) + E0(z) S1(z) / (Q - E1(z))) / Q,
// with S and E the weights of a first (0) or extra (1) roll that stops or
// explodes over the denominator Q of one roll. G and its first two
// derivatives at z = 1 give the mean and variance exactly; they are carried
// together as a jet, which sums, products and quotients keep.

#include "dice/die.h"
#include "dice/weights.h"

#include <cstdint>
#include <limits>

namespace dice::detail
{

namespace
{

// A power series' value and first two derivatives at z = 1.
struct Jet {
    mpq_class value;
    mpq_class first;
    mpq_class second;
};

Jet Of(const Distribution &measure)
{
    Jet jet;
    mpz_class value;
    mpz_class first;
    mpz_class second;
    for (std::size_t i = 0; i < measure.counts.size(); ++i) {
        const std::int64_t total = measure.lowest + static_cast<std::int64_t>(i);
        const mpz_srcptr weight = measure.counts[i].get_mpz_t();
        mpz_add(value.get_mpz_t(), value.get_mpz_t(), weight);
        // Totals this small take their products in a machine word, and
        // t (t - 1) is never negative.
        if (total >= std::numeric_limits<std::int32_t>::min() && total <= std::numeric_limits<std::int32_t>::max()) {
            if (total >= 0)
                mpz_addmul_ui(first.get_mpz_t(), weight, static_cast<unsigned long>(total));
            else
                mpz_submul_ui(first.get_mpz_t(), weight, static_cast<unsigned long>(-total));
            mpz_addmul_ui(second.get_mpz_t(), weight, static_cast<unsigned long>(total * (total - 1)));
        } else {
            const mpz_class big = static_cast<long>(total);
            first += big * measure.counts[i];
            second += big * (big - 1) * measure.counts[i];
        }
    }
    jet.value = value;
    jet.first = first;
    jet.second = second;
    return jet;
}

Jet operator+(const Jet &a, const Jet &b)
{
    return { a.value + b.value, a.first + b.first, a.second + b.second };
}

Jet operator-(const Jet &a, const Jet &b)
{
    return { a.value - b.value, a.first - b.first, a.second - b.second };
}

Jet operator*(const Jet &a, const Jet &b)
{
    return { a.value * b.value,
        a.first * b.value + a.value * b.first,
        a.second * b.value + 2 * a.first * b.first + a.value * b.second };
}

Jet Scaled(const Jet &a, const mpq_class &factor)
{
    return { a.value * factor, a.first * factor, a.second * factor };
}

Jet operator/(const Jet &a, const Jet &b)
{
    Jet c;
    c.value = a.value / b.value;
    c.first = (a.first - c.value * b.first) / b.value;
    c.second = (a.second - 2 * c.first * b.first - c.value * b.second) / b.value;
    return c;
}

// The jet of a die's chain, as a probability.
Jet ChainJet(const ChainParts &parts)
{
    const Jet whole { mpq_class(parts.firstStops.outcomes), 0, 0 };
    const Jet extra = Of(parts.extraStops) / (whole - Of(parts.extraExplodes));
    return Scaled(Of(parts.firstStops) + Of(parts.firstExplodes) * extra, mpq_class(1) / whole.value);
}

Jet Normalised(const Distribution &measure)
{
    return Scaled(Of(measure), mpq_class(1, 1) / mpq_class(measure.outcomes));
}

} // namespace

std::optional<Moments> TermMoments(const Term &term, const std::stop_token &stop)
{
    if (term.explode == Explode::None || term.pick != Pick::All)
        return std::nullopt;
    const std::vector<Face> raw = RawFaces(term);
    Jet die = ChainJet(Parts(term, raw));
    if (term.explode == Explode::Compound && term.reroll != Reroll::None) {
        // The rerolled part is finite on one side of the point: the chain is
        // listed past it, and that side's jet taken from the listing.
        const Compare point = term.rerollOn.kind == Compare::Kind::None
            ? Compare { Compare::Kind::Equal, raw.front().value }
            : term.rerollOn;
        const Distribution chain = Chain(term, raw, point.value + 1, stop);
        Distribution side = chain;
        side.tail = 0;
        for (std::size_t i = 0; i < side.counts.size(); ++i) {
            if (point.Meets(chain.lowest + static_cast<std::int64_t>(i)) == point.MeetsUpward())
                side.counts[i] = 0;
        }
        const Jet finite = Normalised(side);
        const Jet replacement = Normalised(Replacement(term, raw));
        if (point.MeetsUpward())
            die = finite + Scaled(replacement, 1 - finite.value);
        else
            die = die - finite + Scaled(replacement, finite.value);
    }
    if (term.success.kind != Compare::Kind::None && term.explode == Explode::Compound)
        return std::nullopt;
    Moments moments;
    moments.meanLow = die.first * term.dice;
    moments.varianceLow = (die.second + die.first - die.first * die.first) * term.dice;
    moments.meanHigh = moments.meanLow;
    moments.varianceHigh = moments.varianceLow;
    return moments;
}

} // namespace dice::detail
