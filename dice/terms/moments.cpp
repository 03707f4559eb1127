// Closed forms of the mean and variance of unbounded terms. A die's chain of
// explosions has the generating function
//   G(z) = (S0(z) + E0(z) S1(z) / (Q - E1(z))) / Q,
// with S and E the weights of a first (0) or extra (1) roll that stops or
// explodes over the denominator Q of one roll. G and its first two
// derivatives at z = 1 give the mean and variance exactly; they are carried
// together as a jet, which sums, products and quotients keep.

#include "dice/terms/moments.h"

#include "dice/terms/die.h"
#include "dice/value/weights.h"
#include "dice/value/wide.h"

#include <cstdint>
#include <limits>

namespace dice::detail
{

namespace
{

// The largest |t| whose t (t - 1) an unsigned long holds: 64 bits natively,
// 32 in WebAssembly.
constexpr std::int64_t smallTotal =
    sizeof(unsigned long) >= 8 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int16_t>::max();

// A power series' value and first two derivatives at z = 1.
struct Jet {
    mpq_class value;
    mpq_class first;
    mpq_class second;
};

// A jet of whole weights, before any division.
struct Sums {
    mpz_class value;
    mpz_class first;
    mpz_class second;
};

Sums SumsOf(const Distribution &measure)
{
    Sums sums;
    mpz_class &value = sums.value;
    mpz_class &first = sums.first;
    mpz_class &second = sums.second;
    for (std::size_t i = 0; i < measure.counts.size(); ++i) {
        const std::int64_t total = measure.lowest + static_cast<std::int64_t>(i);
        const mpz_srcptr weight = measure.counts[i].get_mpz_t();
        mpz_add(value.get_mpz_t(), value.get_mpz_t(), weight);
        // Totals this small take their products in a machine word, and
        // t (t - 1) is never negative.
        if (total >= -smallTotal && total <= smallTotal) {
            if (total >= 0)
                mpz_addmul_ui(first.get_mpz_t(), weight, static_cast<unsigned long>(total));
            else
                mpz_submul_ui(first.get_mpz_t(), weight, static_cast<unsigned long>(-total));
            mpz_addmul_ui(second.get_mpz_t(), weight, static_cast<unsigned long>(total * (total - 1)));
        } else {
            const mpz_class big = Big(total);
            first += big * measure.counts[i];
            second += big * (big - 1) * measure.counts[i];
        }
    }
    return sums;
}

Jet JetOf(const Distribution &measure)
{
    Sums sums = SumsOf(measure);
    return { mpq_class(sums.value), mpq_class(sums.first), mpq_class(sums.second) };
}

Jet operator+(const Jet &a, const Jet &b)
{
    return { a.value + b.value, a.first + b.first, a.second + b.second };
}

Jet operator-(const Jet &a, const Jet &b)
{
    return { a.value - b.value, a.first - b.first, a.second - b.second };
}

Jet Scaled(const Jet &a, const mpq_class &factor)
{
    return { a.value * factor, a.first * factor, a.second * factor };
}

// The jet of a die's chain, as a probability. It is put together in whole
// numbers and divided once, over Q b^3 with b = Q - E1(1): the extra rolls'
// jet S1 / (Q - E1) is (c0 / b, c1 / b^2, c2 / b^3), each derivative of the
// quotient bringing one factor b more.
Jet ChainJet(const ChainParts &parts)
{
    const mpz_class &q = parts.firstStops.outcomes;
    const Sums stops = SumsOf(parts.firstStops);
    const Sums x = SumsOf(parts.firstExplodes);
    const Sums a = SumsOf(parts.extraStops);
    const Sums e = SumsOf(parts.extraExplodes);
    const mpz_class b = q - e.value; // Q - E1, whose derivatives are -e.first and -e.second
    const mpz_class b2 = b * b;
    const mpz_class b3 = b2 * b;
    const mpz_class &c0 = a.value;
    const mpz_class c1 = a.first * b + a.value * e.first;
    const mpz_class c2 = a.second * b2 + 2 * c1 * e.first + c0 * b * e.second;
    // S0 + E0 (S1 / (Q - E1)), by Leibniz's rule, all over b^3.
    const mpz_class value = stops.value * b3 + x.value * c0 * b2;
    const mpz_class first = stops.first * b3 + (x.first * c0 * b + x.value * c1) * b;
    const mpz_class second = stops.second * b3 + x.second * c0 * b2 + 2 * x.first * c1 * b + x.value * c2;
    const mpz_class denominator = q * b3;
    Jet jet { mpq_class(value, denominator), mpq_class(first, denominator), mpq_class(second, denominator) };
    jet.value.canonicalize();
    jet.first.canonicalize();
    jet.second.canonicalize();
    return jet;
}

Jet Normalised(const Distribution &measure)
{
    return Scaled(JetOf(measure), mpq_class(1, 1) / mpq_class(measure.outcomes));
}

} // namespace

std::optional<Moments> TermMoments(const Term &term, const dice::StopToken &stop)
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
