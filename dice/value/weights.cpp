#include "dice/value/weights.h"
#include "dice/value/residues.h"
#include "dice/value/wide.h"

#include <algorithm>
#include <limits>

namespace dice::detail
{

namespace
{

Packed ToPacked(const Distribution &measure, std::size_t size, std::size_t width)
{
    Packed packed;
    packed.lowest = measure.lowest;
    packed.size = size;
    packed.width = width;
    packed.limbs.assign(size * width, 0);
    for (std::size_t i = 0; i < size; ++i) {
        const mpz_class &weight = measure.counts[i];
        std::copy_n(mpz_limbs_read(weight.get_mpz_t()), mpz_size(weight.get_mpz_t()), packed.limbs.data() + i * width);
    }
    return packed;
}

} // namespace

mpz_class PowerOf(const mpz_class &base, long exponent)
{
    mpz_class value;
    mpz_pow_ui(value.get_mpz_t(), base.get_mpz_t(), static_cast<unsigned long>(exponent));
    return value;
}

mpz_class Binomial(long n, long k)
{
    mpz_class value;
    mpz_bin_uiui(value.get_mpz_t(), static_cast<unsigned long>(n), static_cast<unsigned long>(k));
    return value;
}

mpz_class Mass(const Distribution &measure)
{
    mpz_class sum = measure.tail;
    for (const mpz_class &weight : measure.counts)
        sum += weight;
    return sum;
}

Distribution Point(std::int64_t total)
{
    Distribution point;
    point.lowest = total;
    point.counts = { mpz_class(1) };
    point.outcomes = 1;
    return point;
}

Distribution SumOfRolls(const Distribution &a, const Distribution &b, std::int64_t through, const dice::StopToken &stop)
{
    Check(stop);
    // A certain total only moves the other roll.
    if (a.counts.size() == 1 && a.counts[0] == 1 && a.outcomes == 1 && a.tail == 0) {
        Distribution moved = b;
        moved.lowest += a.lowest;
        Cut(moved, through);
        return moved;
    }
    Distribution result;
    result.lowest = a.lowest + b.lowest;
    result.outcomes = a.outcomes * b.outcomes;
    // A total is known while every pair that makes it is listed.
    std::int64_t last = std::min(through, a.Highest() + b.Highest());
    if (a.tail != 0)
        last = std::min(last, a.Highest() + b.lowest);
    if (b.tail != 0)
        last = std::min(last, a.lowest + b.Highest());
    const mpz_class whole = Mass(a) * Mass(b);
    if (last < result.lowest || a.counts.empty() || b.counts.empty()) {
        result.tail = whole;
        return result;
    }
    const auto size = static_cast<std::size_t>(last - result.lowest + 1);
    const std::size_t aSize = std::min(a.counts.size(), size);
    const std::size_t bSize = std::min(b.counts.size(), size);
    // Dice with listed faces far apart leave most slots empty: their
    // products go face by face.
    std::vector<std::size_t> aFaces;
    std::vector<std::size_t> bFaces;
    for (std::size_t i = 0; i < aSize; ++i) {
        if (a.counts[i] != 0)
            aFaces.push_back(i);
    }
    for (std::size_t j = 0; j < bSize; ++j) {
        if (b.counts[j] != 0)
            bFaces.push_back(j);
    }
    if (aFaces.size() * bFaces.size() <= std::max(smallProduct, (aSize + bSize) / 8)) {
        result.counts.resize(size);
        for (const std::size_t i : aFaces) {
            for (const std::size_t j : bFaces) {
                if (i + j < size)
                    mpz_addmul(result.counts[i + j].get_mpz_t(), a.counts[i].get_mpz_t(), b.counts[j].get_mpz_t());
            }
        }
    } else {
        // Slots wide enough for the whole product, so no slot carries.
        const std::size_t width = std::max<std::size_t>(1, mpz_size(whole.get_mpz_t()));
        const Packed product = Convolve(ToPacked(a, aSize, width), ToPacked(b, bSize, width), stop);
        result.counts.resize(size);
        for (std::size_t i = 0; i < size; ++i) {
            mpz_ptr weight = result.counts[i].get_mpz_t();
            mp_limb_t *limbs = mpz_limbs_write(weight, static_cast<mp_size_t>(width));
            std::copy_n(product.limbs.data() + i * width, width, limbs);
            mpz_limbs_finish(weight, static_cast<mp_size_t>(width));
        }
    }
    result.tail = whole;
    for (const mpz_class &weight : result.counts)
        result.tail -= weight;
    return result;
}

Distribution SumOfAlike(const Distribution &a, int n, std::int64_t through, const dice::StopToken &stop)
{
    // A part of j dice needs totals only through what the other n - j dice,
    // at their lowest, leave room for.
    if (n == 1) {
        Distribution one = a;
        Cut(one, through);
        return one;
    }
    const auto need = [&](int j) { return through - static_cast<std::int64_t>(n - j) * a.lowest; };
    Distribution result = Point(0);
    Distribution base = a;
    int done = 0;
    for (int bit = 1;; bit *= 2) {
        if ((n & bit) != 0) {
            done += bit;
            result = done == bit ? base : SumOfRolls(result, base, need(done), stop);
        }
        if (2 * bit > n)
            break;
        base = SumOfRolls(base, base, need(2 * bit), stop);
    }
    return result;
}

void Rescale(Distribution &measure, const mpz_class &denominator)
{
    if (denominator == measure.outcomes)
        return;
    const mpz_class factor = denominator / measure.outcomes;
    for (mpz_class &weight : measure.counts)
        weight *= factor;
    measure.tail *= factor;
    measure.outcomes = denominator;
}

void AddInto(Distribution &a, const Distribution &b)
{
    if (b.counts.empty()) {
        a.tail += b.tail;
        return;
    }
    if (a.counts.empty()) {
        const mpz_class tail = a.tail;
        a.lowest = b.lowest;
        a.counts = b.counts;
        a.tail = b.tail + tail;
        return;
    }
    const std::int64_t lowest = std::min(a.lowest, b.lowest);
    const std::int64_t highest = std::max(a.Highest(), b.Highest());
    if (lowest < a.lowest)
        a.counts.insert(a.counts.begin(), static_cast<std::size_t>(a.lowest - lowest), mpz_class());
    a.lowest = lowest;
    a.counts.resize(static_cast<std::size_t>(highest - lowest + 1));
    for (std::size_t i = 0; i < b.counts.size(); ++i)
        a.counts[static_cast<std::size_t>(b.lowest - lowest) + i] += b.counts[i];
    a.tail += b.tail;
}

void Negate(Distribution &measure)
{
    measure.lowest = -measure.Highest();
    std::reverse(measure.counts.begin(), measure.counts.end());
}

void Trim(Distribution &measure)
{
    std::size_t first = 0;
    while (first < measure.counts.size() && measure.counts[first] == 0)
        ++first;
    measure.counts.erase(measure.counts.begin(), measure.counts.begin() + static_cast<std::ptrdiff_t>(first));
    measure.lowest += static_cast<std::int64_t>(first);
    while (measure.tail == 0 && !measure.counts.empty() && measure.counts.back() == 0)
        measure.counts.pop_back();
}

void Cut(Distribution &measure, std::int64_t last)
{
    while (!measure.counts.empty() && measure.Highest() > last) {
        measure.tail += measure.counts.back();
        measure.counts.pop_back();
    }
}

void Reduce(Distribution &measure)
{
    mpz_class divisor = measure.outcomes;
    mpz_gcd(divisor.get_mpz_t(), divisor.get_mpz_t(), measure.tail.get_mpz_t());
    for (const mpz_class &weight : measure.counts) {
        if (divisor == 1)
            return;
        mpz_gcd(divisor.get_mpz_t(), divisor.get_mpz_t(), weight.get_mpz_t());
    }
    if (divisor == 1)
        return;
    for (mpz_class &weight : measure.counts)
        mpz_divexact(weight.get_mpz_t(), weight.get_mpz_t(), divisor.get_mpz_t());
    mpz_divexact(measure.tail.get_mpz_t(), measure.tail.get_mpz_t(), divisor.get_mpz_t());
    mpz_divexact(measure.outcomes.get_mpz_t(), measure.outcomes.get_mpz_t(), divisor.get_mpz_t());
}

ListedSums SumsBelow(const Distribution &measure, std::int64_t shift, std::int64_t past)
{
    ListedSums sums;
    for (std::size_t i = 0; i < measure.counts.size(); ++i) {
        const mpz_class shifted = Big(measure.lowest + static_cast<std::int64_t>(i) - shift);
        if (shifted >= Big(past))
            break;
        sums.first += shifted * measure.counts[i];
        sums.second += shifted * shifted * measure.counts[i];
    }
    return sums;
}

Moments KeptMomentBounds(const Distribution &kept,
    std::int64_t shift,
    std::int64_t past,
    const mpq_class &beyondFirst,
    const mpq_class &beyondSecond)
{
    const auto [first, second] = SumsBelow(kept, shift, std::numeric_limits<std::int64_t>::max());
    mpq_class tail(kept.tail, kept.outcomes);
    tail.canonicalize();
    mpq_class listed(first, kept.outcomes);
    listed.canonicalize();
    mpq_class listedSquare(second, kept.outcomes);
    listedSquare.canonicalize();
    const mpq_class firstLow = listed + tail * Big(past);
    const mpq_class firstHigh = listed + beyondFirst;
    const mpq_class secondLow = listedSquare + tail * Big(past) * Big(past);
    const mpq_class secondHigh = listedSquare + beyondSecond;
    Moments bounds;
    bounds.meanLow = firstLow + Big(shift);
    bounds.meanHigh = firstHigh + Big(shift);
    bounds.varianceLow = secondLow - firstHigh * firstHigh;
    if (bounds.varianceLow < 0)
        bounds.varianceLow = 0;
    bounds.varianceHigh = secondHigh - firstLow * firstLow;
    return bounds;
}

} // namespace dice::detail
