// The counts of a roll as generating functions. A pool of n dice with faces
// 1..m sums like x^n (1 - x^m)^n / (1 - x)^n: a sparse numerator, then n
// passes that each multiply by 1 / (1 - x), a running sum. A keep of the
// highest K dice splits by a threshold face: every part is such a numerator
// over a power of 1 - x, so the parts are gathered by that power and the
// passes are shared (Horner's rule in 1 / (1 - x)). Two thresholds serve:
//
// - the lowest kept face v, with a dice above it, a < K: the dice above sum
//   freely over v+1..m; cheap when few dice are kept;
// - the highest dropped face w, with L < D dice below it and the rest at w or
//   above, of which D - L at w are dropped: the dice at or above w sum
//   freely, less those with too few at w; cheap when few dice are dropped.
//
// Both are exact at any size because the counting is done in residues (see
// residues.h); which one runs is picked by the number of products it needs.

#include "dice/terms/plain.h"

#include "dice/notation/expression.h"
#include "dice/value/distribution.h"
#include "dice/value/residues.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace dice
{

namespace
{

using detail::BigSeries;
using detail::Check;
using detail::Convolve;
using detail::NativeSeries;
using detail::Packed;
using detail::Uint128;

// A group of dice with faces 1..m, each face worth `shift` more than its number.
struct Dice {
    int count = 0;
    int faces = 0;
    int shift = 0;
};

template <typename Number> class Binomials
{
public:
    explicit Binomials(int rows)
    {
        m_values.reserve(Index(rows + 1, 0));
        for (int n = 0; n <= rows; ++n) {
            for (int k = 0; k <= n; ++k)
                m_values.push_back(k == 0 || k == n ? Number(1u) : Number(At(n - 1, k - 1) + At(n - 1, k)));
        }
    }

    const Number &At(int n, int k) const
    {
        return m_values[Index(n, k)];
    }

private:
    static std::size_t Index(int n, int k)
    {
        return static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2 + static_cast<std::size_t>(k);
    }

    std::vector<Number> m_values;
};

// Limbs needed for every count of a roll with this many outcomes.
std::size_t WidthFor(const mpz_class &outcomes)
{
    return std::max<std::size_t>(1, mpz_size(outcomes.get_mpz_t()));
}

std::size_t Slots(std::int64_t count)
{
    return static_cast<std::size_t>(count);
}

// Slot i of the series is the total lowest + i; the series may hold only the
// first slots of a symmetric roll, which the rest mirror.
template <typename Series> Packed Pack(const Series &series, std::int64_t lowest, std::size_t size, std::size_t width)
{
    Packed packed;
    packed.lowest = lowest;
    packed.size = size;
    packed.width = width;
    packed.limbs.assign(size * width, 0);
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t from = i < series.Size() ? i : size - 1 - i;
        series.CopySlot(from, packed.limbs.data() + i * width);
    }
    return packed;
}

// The sum of every group, all with the same sign.
template <typename Series>
Packed CountSums(const std::vector<Dice> &groups, std::size_t width, const dice::StopToken &stop)
{
    using Number = typename Series::Number;
    int dice = 0;
    std::int64_t lowest = 0;
    std::int64_t span = 0;
    for (const Dice &group : groups) {
        dice += group.count;
        lowest += static_cast<std::int64_t>(group.count) * (1 + group.shift);
        span += static_cast<std::int64_t>(group.count) * (group.faces - 1);
    }
    // A sum of dice is symmetric about its middle: count up to there only.
    const std::size_t size = Slots(span + 1);
    Series series(Slots(span / 2 + 1), width);

    const Dice &first = groups.front();
    const Binomials<Number> binomials(first.count);
    for (int k = 0; k <= first.count; ++k) {
        const std::size_t at = static_cast<std::size_t>(k) * static_cast<std::size_t>(first.faces);
        if (at >= series.Size())
            break;
        series.AddProduct(at, binomials.At(first.count, k), Number(1u), k % 2 != 0);
    }
    for (std::size_t g = 1; g < groups.size(); ++g) {
        for (int i = 0; i < groups[g].count; ++i) {
            Check(stop);
            series.SubtractShifted(static_cast<std::size_t>(groups[g].faces));
        }
    }
    for (int i = 0; i < dice; ++i) {
        Check(stop);
        series.Accumulate();
    }
    return Pack(series, lowest, size, width);
}

// Keeps the highest K of n dice with faces 1..m, by the lowest kept face.
template <typename Series> void KeepByLowestKept(Series &series, int n, int m, int kept, const dice::StopToken &stop)
{
    using Number = typename Series::Number;
    const int dropped = n - kept;
    const Binomials<Number> binomials(n);
    // The other dice: at least kept - above of them show v, the others, at
    // most `dropped`, lie below it. Their ways are S(r, b), the sum over j
    // up to `dropped` of C(r, j) b^j, with r = n - above dice and b = v - 1
    // faces below v; r grows by one a level, and Pascal's rule gives
    // S(r + 1, b) = (1 + b) S(r, b) - C(r, dropped) b^(dropped + 1): two
    // products a face and level, where the sum itself takes `dropped`.
    std::vector<Number> sums;
    std::vector<Number> raised;
    for (int v = 1; v <= m && static_cast<std::size_t>(kept) * static_cast<std::size_t>(v - 1) < series.Size(); ++v) {
        const Number below(static_cast<unsigned>(v - 1));
        Number sum(0u);
        Number power(1u);
        for (int j = dropped; j >= 0; --j) {
            sum = sum * below + binomials.At(dropped + 1, j);
            power *= below;
        }
        sums.push_back(sum);
        raised.push_back(power);
    }
    for (int above = kept - 1; above >= 0; --above) {
        const int rest = n - above;
        if (above < kept - 1) {
            series.Accumulate();
            for (std::size_t face = 0; face < sums.size(); ++face)
                sums[face] = sums[face] * Number(static_cast<unsigned>(face + 1))
                    - binomials.At(rest - 1, dropped) * raised[face];
        }
        for (int v = 1; v <= static_cast<int>(sums.size()); ++v) {
            Check(stop);
            if (above > 0 && v == m)
                break;
            const Number ways = sums[static_cast<std::size_t>(v - 1)] * binomials.At(n, above);
            for (int k = 0; k <= above; ++k) {
                const std::size_t at = static_cast<std::size_t>(kept * (v - 1) + above + k * (m - v));
                if (at >= series.Size())
                    break;
                series.AddProduct(at, ways, binomials.At(above, k), k % 2 != 0);
            }
        }
    }
}

// Keeps the highest K of n dice with faces 1..m, by the highest dropped face.
template <typename Series>
void KeepByHighestDropped(Series &series, int n, int m, int kept, const dice::StopToken &stop)
{
    using Number = typename Series::Number;
    const int dropped = n - kept;
    const Binomials<Number> binomials(n);
    std::vector<Number> powers(static_cast<std::size_t>(dropped));
    for (int level = n; level > kept; --level) {
        if (level < n)
            series.Accumulate();
        for (int w = 1; w <= m; ++w) {
            Check(stop);
            if (static_cast<std::size_t>(kept) * static_cast<std::size_t>(w - 1) >= series.Size())
                break;
            const Number below(static_cast<unsigned>(w - 1));
            powers[0] = Number(1u);
            for (std::size_t i = 1; i < powers.size(); ++i)
                powers[i] = powers[i - 1] * below;
            for (int lower = 0; lower < dropped && lower <= n - level; ++lower) {
                if (w == 1 && lower > 0)
                    break;
                const int atOrAbove = n - lower;
                const int atW = atOrAbove - level; // dice at w when the others lie above it
                const Number ways = binomials.At(n, lower) * powers[static_cast<std::size_t>(lower)];
                if (atW == 0) {
                    // All dice at or above w, freely.
                    for (int k = 0; k <= level; ++k) {
                        const std::size_t at = static_cast<std::size_t>(kept * (w - 1) + k * (m - w + 1));
                        if (at >= series.Size())
                            break;
                        series.AddProduct(at, ways, binomials.At(level, k), k % 2 != 0);
                    }
                }
                if (atW < dropped - lower && w < m) {
                    // Less those with too few at w to fill the dropped dice.
                    const Number fewer = ways * binomials.At(atOrAbove, atW);
                    for (int k = 0; k <= level; ++k) {
                        const std::size_t at = static_cast<std::size_t>(kept * (w - 1) + level + k * (m - w));
                        if (at >= series.Size())
                            break;
                        series.AddProduct(at, fewer, binomials.At(level, k), k % 2 == 0);
                    }
                }
            }
        }
    }
    for (int i = 0; i <= kept; ++i) {
        Check(stop);
        series.Accumulate();
    }
}

// Every count of a slot comes from slots below it, so a series cut short
// holds the first totals exactly.
template <typename Series>
Packed CountKeep(const Term &term,
    std::size_t width,
    const dice::StopToken &stop,
    std::size_t totals = std::numeric_limits<std::size_t>::max())
{
    const int n = term.dice;
    const int m = term.sides;
    const int kept = term.kept;
    const int dropped = n - kept;
    const std::int64_t span = static_cast<std::int64_t>(kept) * (m - 1);
    Series series(std::min(Slots(span + 1), totals), width);

    // The work of each way in products, counting a slot's share of a
    // running-sum pass as a quarter of one.
    const double slots = static_cast<double>(span + 1);
    const double byKept = m * (kept * (kept + 1.0) / 2 + 2.0 * kept + dropped + 1.0) + kept * slots / 4;
    const double byDropped = m * n * (dropped + 1.0) * (dropped + 2.0) / 2 + n * slots / 4;
    if (byKept <= byDropped)
        KeepByLowestKept(series, n, m, kept, stop);
    else
        KeepByHighestDropped(series, n, m, kept, stop);

    const int shift = term.fudge ? -2 : 0;
    Packed packed = Pack(series, static_cast<std::int64_t>(kept) * (1 + shift), series.Size(), width);
    if (term.pick == Pick::Lowest) {
        // The lowest dice of a throw are the highest with every face turned
        // over, f to m + 1 - f, so their sums come in reverse.
        for (std::size_t i = 0, j = packed.size - 1; i < j; ++i, --j)
            std::swap_ranges(packed.limbs.begin() + static_cast<std::ptrdiff_t>(i * width),
                packed.limbs.begin() + static_cast<std::ptrdiff_t>((i + 1) * width),
                packed.limbs.begin() + static_cast<std::ptrdiff_t>(j * width));
    }
    return packed;
}

// Runs the counting in the narrowest slots that hold every count.
template <template <typename> class Count, typename Input>
Packed InSlots(const Input &input, const mpz_class &outcomes, const dice::StopToken &stop)
{
    const std::size_t width = WidthFor(outcomes);
    if (width == 1)
        return Count<NativeSeries<mp_limb_t>>::Run(input, 1, stop);
    if (width == 2)
        return Count<NativeSeries<Uint128>>::Run(input, 2, stop);
    return Count<BigSeries>::Run(input, width, stop);
}

template <typename Series> struct SumsCount {
    static Packed Run(const std::vector<Dice> &groups, std::size_t width, const dice::StopToken &stop)
    {
        return CountSums<Series>(groups, width, stop);
    }
};

template <typename Series> struct KeepCount {
    static Packed Run(const Term &term, std::size_t width, const dice::StopToken &stop)
    {
        return CountKeep<Series>(term, width, stop);
    }
};

template <typename Series> struct FirstKeptCount {
    static Packed Run(const std::pair<Term, std::size_t> &cut, std::size_t width, const dice::StopToken &stop)
    {
        return CountKeep<Series>(cut.first, width, stop, cut.second);
    }
};

Packed Widened(const Packed &packed, std::size_t width)
{
    if (packed.width == width)
        return packed;
    Packed wide;
    wide.lowest = packed.lowest;
    wide.size = packed.size;
    wide.width = width;
    wide.limbs.assign(packed.size * width, 0);
    for (std::size_t i = 0; i < packed.size; ++i)
        std::copy_n(packed.limbs.data() + i * packed.width, packed.width, wide.limbs.data() + i * width);
    return wide;
}

void Reverse(Packed &packed)
{
    Packed reversed = packed;
    for (std::size_t i = 0; i < packed.size; ++i)
        std::copy_n(packed.limbs.data() + i * packed.width,
            packed.width,
            reversed.limbs.data() + (packed.size - 1 - i) * packed.width);
    reversed.lowest = -(packed.lowest + static_cast<std::int64_t>(packed.size) - 1);
    packed = std::move(reversed);
}

} // namespace

Distribution detail::CountPlain(const std::vector<Term> &terms, const dice::StopToken &stop)
{
    Check(stop);
    std::int64_t offset = 0;
    mpz_class outcomes = 1;
    // Plain dice are counted together, each keep on its own. A die taken
    // away is a die added with every face turned over, f to m + 1 - f, less
    // m + 1: only the offset knows the sign.
    std::vector<Dice> sums;
    std::vector<Packed> parts;
    for (const Term &term : terms) {
        if (term.dice == 0) {
            offset += term.sign * term.number;
            continue;
        }
        const mpz_class termOutcomes = PowerOf(term.sides, term.dice);
        outcomes *= termOutcomes;
        if (term.pick == Pick::All) {
            const Dice group { term.dice, term.sides, term.fudge ? -2 : 0 };
            if (term.sign < 0)
                offset -= static_cast<std::int64_t>(group.count) * (group.faces + 1 + 2 * group.shift);
            sums.push_back(group);
            continue;
        }
        parts.push_back(InSlots<KeepCount>(term, termOutcomes, stop));
        if (term.sign < 0)
            Reverse(parts.back());
    }
    if (!sums.empty()) {
        mpz_class sumOutcomes = 1;
        for (const Dice &group : sums)
            sumOutcomes *= PowerOf(group.faces, group.count);
        parts.push_back(InSlots<SumsCount>(sums, sumOutcomes, stop));
    }

    const std::size_t width = WidthFor(outcomes);
    Packed total;
    total.size = 1;
    total.width = width;
    total.limbs.assign(width, 0);
    total.limbs[0] = 1;
    for (const Packed &part : parts)
        total = parts.size() == 1 ? Widened(part, width) : Convolve(total, Widened(part, width), stop);

    Distribution distribution;
    distribution.lowest = total.lowest + offset;
    distribution.outcomes = outcomes;
    distribution.counts.resize(total.size);
    for (std::size_t i = 0; i < total.size; ++i) {
        if (i % 4096 == 0)
            Check(stop);
        mpz_ptr count = distribution.counts[i].get_mpz_t();
        mp_limb_t *limbs = mpz_limbs_write(count, static_cast<mp_size_t>(width));
        std::copy_n(total.limbs.data() + i * width, width, limbs);
        mpz_limbs_finish(count, static_cast<mp_size_t>(width));
    }
    return distribution;
}

Distribution detail::FirstKept(const Term &term, std::size_t totals, const dice::StopToken &stop)
{
    Check(stop);
    const mpz_class outcomes = PowerOf(term.sides, term.dice);
    const Packed packed = InSlots<FirstKeptCount>(std::make_pair(term, totals), outcomes, stop);
    Distribution distribution;
    distribution.lowest = packed.lowest;
    distribution.outcomes = outcomes;
    distribution.counts.resize(packed.size);
    for (std::size_t i = 0; i < packed.size; ++i) {
        mpz_ptr count = distribution.counts[i].get_mpz_t();
        mp_limb_t *limbs = mpz_limbs_write(count, static_cast<mp_size_t>(packed.width));
        std::copy_n(packed.limbs.data() + i * packed.width, packed.width, limbs);
        mpz_limbs_finish(count, static_cast<mp_size_t>(packed.width));
    }
    return distribution;
}

} // namespace dice
