// Sums of dice that explode, counted from the generating function of one
// die's chain of explosions (moments.cpp takes its moments from the same):
//   G = (S0 + E0 S1 / (Q - E1)) / Q = P / (Q B),  B = Q - E1,  P = S0 B + E0 S1,
// where every part has whole weights. n such dice sum as P^n / (Q^n B^n), so
// their share g_k of each total k follows from
//   B^n(0) g_k = [P^n]_k / Q^n - (the sum over j >= 1 of [B^n]_j g_(k-j)),
// a few steps per total, as many as B^n has terms, where multiplying listed
// dice together takes a step per listed total. B(0) = r is what is left of Q
// less the explosions that add nothing; every other explosion adds at least
// `least`, so the coefficient of z^m in 1 / B^n = r^-n / (1 - (r - B) / r)^n
// is a whole number over r^(n + m / least). Through the last listed total K
// every share is thus a whole number over M = Q^n r^(n + (K - lowest) / least),
// and the recurrence runs on those numbers in 128-bit words wherever a bound
// on its largest step says that they fit.

#include "dice/terms/chains.h"

#include "dice/terms/die.h"
#include "dice/value/distribution.h"
#include "dice/value/weights.h"
#include "dice/value/wide.h"

#include <limits>
#include <stdexcept>

namespace dice::detail
{

namespace
{

static_assert(GMP_NUMB_BITS == 64, "numbers are read and written in 64-bit limbs");

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 Uint128;

// A polynomial in z, its first coefficient at z^lowest.
struct Polynomial {
    std::int64_t lowest = 0;
    std::vector<Int128> terms;
};

// The sum of the weights' sizes: no coefficient of a product or power is
// larger than the product or power of these.
mpz_class Norm(const Distribution &measure)
{
    mpz_class sum;
    for (const mpz_class &weight : measure.counts)
        sum += abs(weight);
    return sum;
}

// The weights as a polynomial; each is at most the denominator of one roll,
// which fits a machine word.
Polynomial PolynomialOf(const Distribution &measure)
{
    Polynomial polynomial;
    polynomial.lowest = measure.lowest;
    for (const mpz_class &weight : measure.counts)
        polynomial.terms.push_back(Small(weight));
    return polynomial;
}

Polynomial Times(const Polynomial &a, const Polynomial &b)
{
    Polynomial product;
    if (a.terms.empty() || b.terms.empty())
        return product;
    product.lowest = a.lowest + b.lowest;
    product.terms.assign(a.terms.size() + b.terms.size() - 1, 0);
    for (std::size_t i = 0; i < a.terms.size(); ++i) {
        if (a.terms[i] == 0)
            continue;
        for (std::size_t j = 0; j < b.terms.size(); ++j)
            product.terms[i + j] += a.terms[i] * b.terms[j];
    }
    return product;
}

Polynomial Plus(const Polynomial &a, const Polynomial &b)
{
    if (a.terms.empty())
        return b;
    if (b.terms.empty())
        return a;
    Polynomial sum;
    sum.lowest = std::min(a.lowest, b.lowest);
    const std::size_t size = std::max(static_cast<std::size_t>(a.lowest - sum.lowest) + a.terms.size(),
        static_cast<std::size_t>(b.lowest - sum.lowest) + b.terms.size());
    sum.terms.assign(size, 0);
    for (const Polynomial *part : { &a, &b }) {
        for (std::size_t i = 0; i < part->terms.size(); ++i)
            sum.terms[static_cast<std::size_t>(part->lowest - sum.lowest) + i] += part->terms[i];
    }
    return sum;
}

Polynomial Raised(const Polynomial &a, int n)
{
    Polynomial power = a;
    for (int i = 1; i < n; ++i)
        power = Times(power, a);
    return power;
}

void Set(mpz_class &to, Uint128 value)
{
    mp_limb_t *limbs = mpz_limbs_write(to.get_mpz_t(), 2);
    limbs[0] = static_cast<mp_limb_t>(value);
    limbs[1] = static_cast<mp_limb_t>(value >> 64);
    mpz_limbs_finish(to.get_mpz_t(), 2);
}

// A number known to lie below 2^126.
Int128 Words(const mpz_class &number)
{
    Uint128 words = 0;
    for (std::size_t i = mpz_size(number.get_mpz_t()); i-- > 0;)
        words = (words << 64) | mpz_getlimbn(number.get_mpz_t(), static_cast<mp_size_t>(i));
    return static_cast<Int128>(words);
}

// The first `size` coefficients of numerator / denominator times `scaled`,
// each a whole number of the shares over `first`, the denominator's own
// constant term, by the recurrence of a power series' division.
std::vector<Int128> Shares(const Polynomial &numerator,
    const Polynomial &denominator,
    Int128 first,
    Int128 scaled,
    std::size_t size,
    const dice::StopToken &stop)
{
    std::vector<std::size_t> later;
    for (std::size_t j = 1; j < denominator.terms.size(); ++j) {
        if (denominator.terms[j] != 0)
            later.push_back(j);
    }
    std::vector<Int128> shares(size);
    for (std::size_t k = 0; k < size; ++k) {
        if (k % 65536 == 65535)
            Check(stop);
        Int128 sum = k < numerator.terms.size() ? numerator.terms[k] * scaled : 0;
        for (const std::size_t j : later) {
            if (j > k)
                break;
            sum -= denominator.terms[j] * shares[k - j];
        }
        shares[k] = sum / first;
        // Every share is a whole number over M, none negative: a remainder
        // means the bound ChainSum checks the numbers against has been broken.
        if (shares[k] < 0 || shares[k] * first != sum)
            throw std::logic_error("an exploding pool's count came out fractional");
    }
    return shares;
}

} // namespace

std::optional<Distribution> ChainSum(const ChainParts &parts, int n, std::int64_t through, const dice::StopToken &stop)
{
    Check(stop);
    const mpz_class &q = parts.firstStops.outcomes;
    const Distribution &explodes = parts.extraExplodes;
    if (n < 1 || explodes.lowest < 0 || !q.fits_slong_p() || q > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    // B = Q - E1, r = B(0).
    Polynomial b = PolynomialOf(explodes);
    for (Int128 &term : b.terms)
        term = -term;
    b = Plus(b, Polynomial { 0, { static_cast<Int128>(Small(q)) } });
    const mpz_class r = Big(static_cast<std::int64_t>(b.terms[0]));
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (std::size_t j = 1; j < b.terms.size(); ++j) {
        if (b.terms[j] != 0) {
            least = static_cast<std::int64_t>(j);
            break;
        }
    }
    const Polynomial p = Plus(Times(PolynomialOf(parts.firstStops), b),
        Times(PolynomialOf(parts.firstExplodes), PolynomialOf(parts.extraStops)));
    if (r < 1 || p.terms.empty())
        return std::nullopt;
    const std::int64_t lowest = static_cast<std::int64_t>(n) * p.lowest;
    if (through < lowest)
        return std::nullopt;
    const std::int64_t steps = least == std::numeric_limits<std::int64_t>::max() ? 0 : (through - lowest) / least;

    // Every number the recurrence meets is at most |P|^n r^(n + steps) plus
    // |B|^n M, each share at most M.
    const auto exponent = static_cast<unsigned long>(n + steps);
    mpz_class scale;
    mpz_pow_ui(scale.get_mpz_t(), r.get_mpz_t(), exponent);
    mpz_class whole;
    mpz_pow_ui(whole.get_mpz_t(), q.get_mpz_t(), static_cast<unsigned long>(n));
    whole *= scale;
    mpz_class normB = q + Norm(explodes);
    mpz_class normP = Norm(parts.firstStops) * normB + Norm(parts.firstExplodes) * Norm(parts.extraStops);
    mpz_pow_ui(normP.get_mpz_t(), normP.get_mpz_t(), static_cast<unsigned long>(n));
    mpz_pow_ui(normB.get_mpz_t(), normB.get_mpz_t(), static_cast<unsigned long>(n));
    // Two machine words, less a bit for the sign and one for a carry.
    constexpr std::size_t mostBits = 126;
    if (mpz_sizeinbase(mpz_class(normP * scale + normB * whole).get_mpz_t(), 2) > mostBits)
        return std::nullopt;

    const Polynomial numerator = Raised(p, n);
    const Polynomial denominator = Raised(b, n);
    mpz_class rn;
    mpz_pow_ui(rn.get_mpz_t(), r.get_mpz_t(), static_cast<unsigned long>(n));
    const auto size = static_cast<std::size_t>(through - lowest + 1);
    const std::vector<Int128> shares = Shares(numerator, denominator, Words(rn), Words(scale), size, stop);
    Uint128 listed = 0;
    for (const Int128 share : shares)
        listed += static_cast<Uint128>(share);

    Distribution sum;
    sum.lowest = lowest;
    sum.outcomes = whole;
    sum.counts.resize(size);
    for (std::size_t k = 0; k < size; ++k)
        Set(sum.counts[k], static_cast<Uint128>(shares[k]));
    Set(sum.tail, listed);
    sum.tail = whole - sum.tail;
    return sum;
}

} // namespace dice::detail
