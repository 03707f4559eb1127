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

#include "dice/residues.h"
#include "dice/weights.h"

#include <algorithm>
#include <climits>

namespace dice::detail
{

namespace
{

// Below this many products a plain loop is quicker than laying the slots out.
constexpr std::size_t smallProduct = 256;

class Powers
{
public:
    explicit Powers(const mpz_class &base)
        : m_base(base)
    {
    }

    const mpz_class &Of(std::size_t exponent)
    {
        if (m_powers.empty())
            m_powers.emplace_back(1);
        while (m_powers.size() <= exponent)
            m_powers.push_back(m_powers.back() * m_base);
        return m_powers[exponent];
    }

private:
    mpz_class m_base;
    std::vector<mpz_class> m_powers;
};

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
std::vector<mpz_class> Product(const std::vector<mpz_class> &a,
    const std::vector<mpz_class> &b,
    std::size_t size,
    std::size_t step,
    const mpz_class &base,
    const std::stop_token &stop)
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
            aWords[i] = mpz_get_ui(a[i].get_mpz_t());
        for (std::size_t j = 0; j < bSize; ++j)
            bWords[j] = mpz_get_ui(b[j].get_mpz_t());
        const std::uint64_t carry = mpz_get_ui(base.get_mpz_t());
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
            mpz_set_ui(result[i].get_mpz_t(), words[i]);
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

std::optional<Distribution> GradedPower(const Distribution &die,
    int n,
    std::int64_t through,
    const mpz_class &base,
    std::int64_t step,
    const std::stop_token &stop)
{
    if (n < 2 || die.counts.empty() || base < 2 || step < 1)
        return std::nullopt;
    mpz_class rest;
    const auto deepest = static_cast<long>(mpz_remove(rest.get_mpz_t(), die.outcomes.get_mpz_t(), base.get_mpz_t()));
    if (rest != 1)
        return std::nullopt;
    const auto chunk = [&](std::size_t i) { return static_cast<long>(i / static_cast<std::size_t>(step)); };
    // The fewest rolls R for which every listed share is a whole number
    // over W^(R + chunk): a guess from the first listed weight, raised where
    // a later one does not divide, and then all divided again.
    Powers powers(base);
    long rolls = LONG_MIN;
    std::vector<mpz_class> graded(die.counts.size());
    mpz_class remainder;
    for (std::size_t i = 0; i < die.counts.size(); ++i) {
        if (die.counts[i] == 0)
            continue;
        const long exponent = rolls + chunk(i) - deepest;
        if (rolls != LONG_MIN && exponent >= 0) {
            graded[i] = die.counts[i] * powers.Of(static_cast<std::size_t>(exponent));
            continue;
        }
        if (rolls != LONG_MIN) {
            mpz_tdiv_qr(graded[i].get_mpz_t(),
                remainder.get_mpz_t(),
                die.counts[i].get_mpz_t(),
                powers.Of(static_cast<std::size_t>(-exponent)).get_mpz_t());
            if (remainder == 0)
                continue;
        }
        rolls = deepest - chunk(i)
            - static_cast<long>(mpz_remove(remainder.get_mpz_t(), die.counts[i].get_mpz_t(), base.get_mpz_t()));
        std::fill(graded.begin(), graded.end(), mpz_class());
        i = static_cast<std::size_t>(-1);
    }
    // Worth it only where the graded counts are much narrower than the die's.
    if (2 * Bits(graded, graded.size()) >= mpz_sizeinbase(die.outcomes.get_mpz_t(), 2))
        return std::nullopt;

    // A total is known while every die that makes it is listed.
    const std::int64_t last = std::min(through,
        die.tail != 0 ? die.Highest() + static_cast<std::int64_t>(n - 1) * die.lowest
                      : static_cast<std::int64_t>(n) * die.Highest());
    const auto slots = [&](int j) {
        // j dice need totals only through what the other n - j, at their lowest, leave room for.
        const std::int64_t top = last - static_cast<std::int64_t>(n - j) * die.lowest;
        return static_cast<std::size_t>(std::max<std::int64_t>(0, top - j * die.lowest + 1));
    };
    const auto size = static_cast<std::size_t>(step);
    std::vector<mpz_class> result;
    std::vector<mpz_class> square = std::move(graded);
    int done = 0;
    for (int bit = 1;; bit *= 2) {
        if ((n & bit) != 0) {
            done += bit;
            if (done == bit)
                result = square;
            else
                result = Product(result, square, slots(done), size, base, stop);
        }
        if (2 * bit > n)
            break;
        square = Product(square, square, slots(2 * bit), size, base, stop);
    }

    result.resize(slots(n));
    // Where the die's weights and tail make up its denominator, the sum's
    // tail is what its listed shares leave, and the sum needs no more than the
    // power of W its deepest listed total does: the denominators stay small
    // for whatever comes after. Otherwise it is over W^(n D), as Power gives it.
    const bool whole = Mass(die) == die.outcomes;
    long common = n * deepest;
    if (whole)
        common = result.empty() ? 0 : std::max(0L, n * rolls + chunk(result.size() - 1));
    Distribution sum;
    sum.lowest = static_cast<std::int64_t>(n) * die.lowest;
    sum.outcomes = powers.Of(static_cast<std::size_t>(common));
    sum.counts.resize(result.size());
    for (std::size_t i = 0; i < result.size(); ++i) {
        // The shares are whole numbers over the common denominator, so the division is exact.
        const long exponent = common - n * rolls - chunk(i);
        if (exponent >= 0)
            sum.counts[i] = result[i] * powers.Of(static_cast<std::size_t>(exponent));
        else
            mpz_divexact(sum.counts[i].get_mpz_t(),
                result[i].get_mpz_t(),
                powers.Of(static_cast<std::size_t>(-exponent)).get_mpz_t());
    }
    if (whole)
        sum.tail = sum.outcomes;
    else
        mpz_pow_ui(sum.tail.get_mpz_t(), Mass(die).get_mpz_t(), static_cast<unsigned long>(n));
    for (const mpz_class &weight : sum.counts)
        sum.tail -= weight;
    return sum;
}

} // namespace dice::detail
