// Sums of dice that explode, weighed total by total. Where every roll has W
// equally likely outcomes, a total t of dice that need at least one roll each
// and an explosion per `step` they add takes at most R + (t - lowest) / step
// rolls, so its share is a whole number over W to that power. Counted so, a
// weight stays about as large as its number of ways, where over the common
// W^D of the die's deepest listed explosion it would grow by W^D with every
// die. Two such sums add their chunks (t - lowest) / step, and one roll more
// where the offsets within the chunks carry past a chunk: the counts are laid
// out a chunk per 2 step slots, so that the product keeps the carried part
// apart, and the carry is multiplied in when the slots are read back.

#include "dice/value/graded.h"

#include "dice/value/residues.h"
#include "dice/value/weights.h"
#include "dice/value/wide.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace dice::detail
{

namespace
{

std::size_t Bits(const std::vector<mpz_class> &counts, std::size_t size)
{
    std::size_t most = 0;
    for (std::size_t i = 0; i < size; ++i)
        most = std::max(most, mpz_sizeinbase(counts[i].get_mpz_t(), 2));
    return most;
}

// The first `size` counts, a chunk of `step` in every 2 step slots.
Packed Spread(const std::vector<mpz_class> &counts, std::size_t size, std::size_t step, std::size_t width)
{
    Packed packed;
    packed.width = width;
    const std::size_t chunks = (size + step - 1) / step;
    packed.size = 2 * step * chunks;
    packed.limbs.assign(packed.size * width, 0);
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t at = 2 * step * (i / step) + i % step;
        std::copy_n(
            mpz_limbs_read(counts[i].get_mpz_t()), mpz_size(counts[i].get_mpz_t()), packed.limbs.data() + at * width);
    }
    return packed;
}

// Sets value to the slot's count.
void Read(const Packed &packed, std::size_t at, mpz_class &value)
{
    if (at >= packed.size) {
        value = 0;
        return;
    }
    const auto width = static_cast<mp_size_t>(packed.width);
    mp_limb_t *limbs = mpz_limbs_write(value.get_mpz_t(), width);
    std::copy_n(packed.limbs.data() + at * packed.width, packed.width, limbs);
    mpz_limbs_finish(value.get_mpz_t(), width);
}

// The graded counts of the sum of two graded rolls, through offset size - 1.
std::vector<mpz_class> Multiply(const std::vector<mpz_class> &a,
    const std::vector<mpz_class> &b,
    std::size_t size,
    std::size_t step,
    const mpz_class &base,
    const dice::StopToken &stop)
{
    Check(stop);
    const std::size_t aSize = std::min(a.size(), size);
    const std::size_t bSize = std::min(b.size(), size);
    std::vector<mpz_class> result(std::min(size, aSize + bSize - 1));
    const std::size_t bits =
        Bits(a, aSize) + Bits(b, bSize) + 64 - static_cast<std::size_t>(__builtin_clzll(aSize | bSize));
    if (bits + mpz_sizeinbase(base.get_mpz_t(), 2) < 64) {
        // Every count, carried or not, fits a machine word.
        std::vector<std::uint64_t> aWords(aSize);
        std::vector<std::uint64_t> bWords(bSize);
        for (std::size_t i = 0; i < aSize; ++i)
            aWords[i] = LowWord(a[i]);
        for (std::size_t j = 0; j < bSize; ++j)
            bWords[j] = LowWord(b[j]);
        const std::uint64_t carry = LowWord(base);
        std::vector<std::uint64_t> words(result.size());
        // b's words once as they are and once carried, by its offset in the chunk.
        std::vector<std::uint64_t> bCarried(bSize);
        std::vector<std::size_t> bOffsets(bSize);
        for (std::size_t j = 0; j < bSize; ++j) {
            bCarried[j] = bWords[j] * carry;
            bOffsets[j] = j % step;
        }
        for (std::size_t i = 0; i < aSize; ++i) {
            if (aWords[i] == 0)
                continue;
            const std::size_t room = step - i % step;
            const std::size_t end = std::min(bSize, words.size() - i);
            for (std::size_t j = 0; j < end; ++j)
                words[i + j] += aWords[i] * (bOffsets[j] < room ? bWords[j] : bCarried[j]);
        }
        for (std::size_t i = 0; i < words.size(); ++i)
            result[i] = BigUnsigned(words[i]);
        return result;
    }
    if (aSize * bSize <= smallProduct) {
        mpz_class carried;
        for (std::size_t i = 0; i < aSize; ++i) {
            for (std::size_t j = 0; j < bSize && i + j < result.size(); ++j) {
                if (i % step + j % step < step) {
                    mpz_addmul(result[i + j].get_mpz_t(), a[i].get_mpz_t(), b[j].get_mpz_t());
                } else {
                    mpz_mul(carried.get_mpz_t(), a[i].get_mpz_t(), b[j].get_mpz_t());
                    mpz_addmul(result[i + j].get_mpz_t(), carried.get_mpz_t(), base.get_mpz_t());
                }
            }
        }
        return result;
    }
    // Wide enough for a sum of as many products as the longer side has slots.
    const std::size_t width = bits / 64 + 1;
    const Packed product = Convolve(Spread(a, aSize, step, width), Spread(b, bSize, step, width), stop);
    mpz_class carried;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::size_t chunk = i / step;
        const std::size_t offset = i % step;
        Read(product, 2 * step * chunk + offset, result[i]);
        if (chunk > 0) {
            Read(product, 2 * step * (chunk - 1) + step + offset, carried);
            mpz_addmul(result[i].get_mpz_t(), carried.get_mpz_t(), base.get_mpz_t());
        }
    }
    return result;
}

} // namespace

const mpz_class &Grading::Power(std::size_t exponent)
{
    if (m_powers.empty())
        m_powers.emplace_back(1);
    while (m_powers.size() <= exponent)
        m_powers.push_back(m_powers.back() * m_base);
    return m_powers[exponent];
}

long Grading::Chunk(std::size_t i) const
{
    return static_cast<long>(i / m_step);
}

std::optional<Graded> Grading::Grade(const Distribution &measure)
{
    mpz_class rest;
    const auto deepest =
        static_cast<long>(mpz_remove(rest.get_mpz_t(), measure.outcomes.get_mpz_t(), m_base.get_mpz_t()));
    if (rest != 1)
        return std::nullopt;
    Graded graded;
    graded.lowest = measure.lowest;
    graded.tail = measure.tail != 0;
    graded.counts.resize(measure.counts.size());
    // The fewest rolls R for which every listed share is a whole number
    // over W^(R + chunk): a guess from the first listed weight, raised where
    // a later one does not divide, and then all divided again.
    long rolls = LONG_MIN;
    for (std::size_t i = 0; i < measure.counts.size(); ++i) {
        if (measure.counts[i] == 0)
            continue;
        if (rolls != LONG_MIN) {
            const long exponent = rolls + Chunk(i) - deepest;
            if (exponent >= 0) {
                graded.counts[i] = measure.counts[i] * Power(static_cast<std::size_t>(exponent));
                continue;
            }
            mpz_tdiv_qr(graded.counts[i].get_mpz_t(),
                rest.get_mpz_t(),
                measure.counts[i].get_mpz_t(),
                Power(static_cast<std::size_t>(-exponent)).get_mpz_t());
            if (rest == 0)
                continue;
        }
        rolls = deepest - Chunk(i)
            - static_cast<long>(mpz_remove(rest.get_mpz_t(), measure.counts[i].get_mpz_t(), m_base.get_mpz_t()));
        std::fill(graded.counts.begin(), graded.counts.end(), mpz_class());
        i = static_cast<std::size_t>(-1);
    }
    graded.rolls = rolls == LONG_MIN ? 0 : rolls;
    return graded;
}

std::int64_t LastKnownOfSum(const Graded &a, const Graded &b, std::int64_t through)
{
    // A total is known while every pair that makes it is listed, as Product has it.
    const std::int64_t aHighest = a.lowest + static_cast<std::int64_t>(a.counts.size()) - 1;
    const std::int64_t bHighest = b.lowest + static_cast<std::int64_t>(b.counts.size()) - 1;
    std::int64_t last = std::min(through, aHighest + bHighest);
    if (a.tail)
        last = std::min(last, aHighest + b.lowest);
    if (b.tail)
        last = std::min(last, a.lowest + bHighest);
    return last;
}

Graded Grading::Product(const Graded &a, const Graded &b, std::int64_t through, const dice::StopToken &stop)
{
    Graded result;
    result.lowest = a.lowest + b.lowest;
    result.rolls = a.rolls + b.rolls;
    result.tail = true;
    if (a.counts.empty() || b.counts.empty())
        return result;
    const std::int64_t last = LastKnownOfSum(a, b, through);
    if (last < result.lowest)
        return result;
    const auto size = static_cast<std::size_t>(last - result.lowest + 1);
    result.counts = Multiply(a.counts, b.counts, size, m_step, m_base, stop);
    result.counts.resize(size);
    // Weights left past the listing are tail too.
    const auto top = [](const std::vector<mpz_class> &counts) {
        std::size_t i = counts.size();
        while (i > 0 && counts[i - 1] == 0)
            --i;
        return i;
    };
    const std::size_t aTop = top(a.counts);
    const std::size_t bTop = top(b.counts);
    result.tail = a.tail || b.tail || (aTop > 0 && bTop > 0 && aTop + bTop - 2 >= size);
    return result;
}

Distribution Grading::Ungraded(const Graded &graded, long exponent)
{
    Distribution measure;
    measure.lowest = graded.lowest;
    measure.outcomes = Power(static_cast<std::size_t>(exponent));
    measure.counts.resize(graded.counts.size());
    for (std::size_t i = 0; i < graded.counts.size(); ++i) {
        // The shares are whole numbers over the new denominator, so the division is exact.
        const long up = exponent - graded.rolls - Chunk(i);
        if (up >= 0)
            measure.counts[i] = graded.counts[i] * Power(static_cast<std::size_t>(up));
        else
            mpz_divexact(measure.counts[i].get_mpz_t(),
                graded.counts[i].get_mpz_t(),
                Power(static_cast<std::size_t>(-up)).get_mpz_t());
    }
    return measure;
}

std::optional<Distribution> GradedPower(const Distribution &die,
    int n,
    std::int64_t through,
    const mpz_class &base,
    std::int64_t step,
    const dice::StopToken &stop)
{
    if (n < 2 || die.counts.empty() || base < 2 || step < 1)
        return std::nullopt;
    Grading grading(base, step);
    std::optional<Graded> graded = grading.Grade(die);
    // Worth it only where the graded counts are much narrower than the die's.
    if (!graded || 2 * Bits(graded->counts, graded->counts.size()) >= mpz_sizeinbase(die.outcomes.get_mpz_t(), 2))
        return std::nullopt;

    // A total is known while every die that makes it is listed.
    const std::int64_t last = std::min(through,
        die.tail != 0 ? die.Highest() + static_cast<std::int64_t>(n - 1) * die.lowest
                      : static_cast<std::int64_t>(n) * die.Highest());
    // j dice need totals only through what the other n - j, at their lowest, leave room for.
    const auto need = [&](int j) { return last - static_cast<std::int64_t>(n - j) * die.lowest; };
    Graded result;
    Graded square = std::move(*graded);
    int done = 0;
    for (int bit = 1;; bit *= 2) {
        if ((n & bit) != 0) {
            done += bit;
            if (done == bit)
                result = square;
            else
                result = grading.Product(result, square, need(done), stop);
        }
        if (2 * bit > n)
            break;
        square = grading.Product(square, square, need(2 * bit), stop);
    }
    result.lowest = static_cast<std::int64_t>(n) * die.lowest;
    result.counts.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, last - result.lowest + 1)));

    // Where the die's weights and tail make up its denominator, the sum's
    // tail is what its listed shares leave, and the sum needs no more than the
    // power of W its deepest listed total does: the denominators stay small
    // for whatever comes after. Otherwise it is over W^(n D), as Power gives it.
    const bool whole = Mass(die) == die.outcomes;
    mpz_class rest;
    long common = n * static_cast<long>(mpz_remove(rest.get_mpz_t(), die.outcomes.get_mpz_t(), base.get_mpz_t()));
    if (whole)
        common = result.counts.empty() ? 0 : std::max(0L, result.rolls + grading.Chunk(result.counts.size() - 1));
    Distribution sum = grading.Ungraded(result, common);
    if (whole)
        sum.tail = sum.outcomes;
    else
        mpz_pow_ui(sum.tail.get_mpz_t(), Mass(die).get_mpz_t(), static_cast<unsigned long>(n));
    for (const mpz_class &weight : sum.counts)
        sum.tail -= weight;
    return sum;
}

} // namespace dice::detail
