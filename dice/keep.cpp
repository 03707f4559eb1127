// Keep and drop among dice of any weights: the dice are placed face by face,
// the kept side first, tracking how many are placed and what the kept ones
// add up to. The first `kept` placed are the kept dice; dice on one face are
// alike, so which of them are kept makes no difference.

#include "dice/keep.h"
#include "dice/die.h"
#include "dice/weights.h"

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <utility>

namespace dice::detail
{

namespace
{

struct Level {
    std::int64_t score = 0; // what a kept die on this face adds
    const mpz_class *weight = nullptr;
};

// Keep by placing the dice face by face: any weights, sums or counts.
Distribution Placed(const Distribution &die, const Term &term, std::int64_t through, const std::stop_token &stop)
{
    const int n = term.dice;
    const int kept = term.kept;
    const bool highest = term.pick == Pick::Highest;
    const bool counting = term.success.kind != Compare::Kind::None;
    const auto score = [&](std::int64_t value) -> std::int64_t {
        if (!counting)
            return value;
        return (term.success.Meets(value) ? 1 : 0) - (term.failure.Meets(value) ? 1 : 0);
    };

    std::vector<Level> levels;
    for (std::size_t i = 0; i < die.counts.size(); ++i) {
        if (die.counts[i] != 0)
            levels.push_back({ score(die.lowest + static_cast<std::int64_t>(i)), &die.counts[i] });
    }
    if (highest)
        std::reverse(levels.begin(), levels.end());
    // The tail lies above every listed face. Summed, a kept die there puts
    // the total past `through`, so its throws are left to the result's tail;
    // counted, it scores as every value above the compare points does.
    const std::int64_t tailScore = (term.success.MeetsUpward() ? 1 : 0) - (term.failure.MeetsUpward() ? 1 : 0);
    if (counting && die.tail != 0)
        levels.insert(highest ? levels.begin() : levels.end(), Level { tailScore, &die.tail });

    const std::int64_t low = counting ? -kept : std::min<std::int64_t>(0, kept * die.lowest);
    const std::int64_t high =
        counting ? kept : std::max<std::int64_t>(0, through + kept * std::max<std::int64_t>(0, -die.lowest));
    const auto width = static_cast<std::size_t>(high - low + 1);
    std::vector<std::vector<mpz_class>> placed(static_cast<std::size_t>(n + 1), std::vector<mpz_class>(width));
    placed[0][static_cast<std::size_t>(-low)] = 1;

    std::vector<mpz_class> binomial(static_cast<std::size_t>((n + 1) * (n + 1)));
    for (int r = 0; r <= n; ++r) {
        for (int c = 0; c <= r; ++c) {
            binomial[static_cast<std::size_t>(r * (n + 1) + c)] = c == 0 || c == r
                ? mpz_class(1)
                : binomial[static_cast<std::size_t>((r - 1) * (n + 1) + c - 1)]
                    + binomial[static_cast<std::size_t>((r - 1) * (n + 1) + c)];
        }
    }
    std::vector<mpz_class> powers(static_cast<std::size_t>(n + 1));
    mpz_class factor;
    for (const Level &level : levels) {
        Check(stop);
        powers[0] = 1;
        for (std::size_t c = 1; c < powers.size(); ++c)
            powers[c] = powers[c - 1] * *level.weight;
        // From the most placed down, so that no die is placed twice on one face.
        for (int j = n - 1; j >= 0; --j) {
            const std::vector<mpz_class> &from = placed[static_cast<std::size_t>(j)];
            for (int c = 1; j + c <= n; ++c) {
                factor =
                    binomial[static_cast<std::size_t>((n - j) * (n + 1) + c)] * powers[static_cast<std::size_t>(c)];
                const std::int64_t shift = std::max(0, std::min(c, kept - j)) * level.score;
                std::vector<mpz_class> &to = placed[static_cast<std::size_t>(j + c)];
                for (std::size_t s = 0; s < width; ++s) {
                    const auto target = static_cast<std::int64_t>(s) + shift;
                    if (from[s] == 0 || target < 0 || target >= static_cast<std::int64_t>(width))
                        continue;
                    mpz_addmul(
                        to[static_cast<std::size_t>(target)].get_mpz_t(), from[s].get_mpz_t(), factor.get_mpz_t());
                }
            }
        }
    }

    Distribution result;
    result.lowest = low;
    result.counts = std::move(placed[static_cast<std::size_t>(n)]);
    if (!counting && !highest && die.tail != 0) {
        // The dice left over lie in the tail: dropped, they change nothing.
        mpz_class power = 1;
        for (int j = n - 1; j >= kept; --j) {
            power *= die.tail;
            const std::vector<mpz_class> &from = placed[static_cast<std::size_t>(j)];
            for (std::size_t s = 0; s < width; ++s)
                mpz_addmul(result.counts[s].get_mpz_t(), from[s].get_mpz_t(), power.get_mpz_t());
        }
    }
    mpz_pow_ui(result.outcomes.get_mpz_t(), die.outcomes.get_mpz_t(), static_cast<unsigned long>(n));
    Cut(result, std::max(through, result.lowest));
    result.tail = result.outcomes;
    for (const mpz_class &weight : result.counts)
        result.tail -= weight;
    Trim(result);
    return result;
}

mpz_class Binomial(int n, int k)
{
    mpz_class value;
    mpz_bin_uiui(value.get_mpz_t(), static_cast<unsigned long>(n), static_cast<unsigned long>(k));
    return value;
}

mpz_class PowerOf(const mpz_class &base, int exponent)
{
    mpz_class value;
    mpz_pow_ui(value.get_mpz_t(), base.get_mpz_t(), static_cast<unsigned long>(exponent));
    return value;
}

// The highest dice of a sum, a block at a time. A die whose lowest values
// are equally likely, as those of a die that explodes into !! are below its
// top face, is that block or the rest above it. With E dice above the block
// and fewer than K, the kept dice are those E and the highest of the rest,
// which the counting of equal faces gives; with K or more, the highest K of
// the E, the same question one block up. Each block's answers are kept, for
// each number of dice, so every question is answered once.
class HighestKeep
{
public:
    HighestKeep(std::int64_t through, std::optional<Grading> grading, const std::stop_token &stop)
        : m_through(through)
        , m_grading(std::move(grading))
        , m_stop(stop)
    {
    }

    Distribution Run(const Distribution &die, std::size_t level, int n, int kept)
    {
        if (level >= m_answers.size())
            m_answers.resize(level + 1);
        const auto key = std::make_pair(n, kept);
        const auto found = m_answers[level].find(key);
        if (found != m_answers[level].end())
            return found->second;
        // The count asks the blocks above, which may grow the table.
        Distribution result = Count(die, level, n, kept);
        m_answers[level].emplace(key, result);
        return result;
    }

private:
    Distribution Count(const Distribution &die, std::size_t level, int n, int kept)
    {
        Check(m_stop);
        // The block: the lowest listed value and the equal weights after it.
        std::size_t width = 1;
        while (width < die.counts.size() && die.counts[width] == die.counts[0])
            ++width;
        const mpz_class &each = die.counts[0];
        const std::int64_t low = die.lowest;
        Distribution above = die;
        above.counts.erase(above.counts.begin(), above.counts.begin() + static_cast<std::ptrdiff_t>(width));
        above.lowest += static_cast<std::int64_t>(width);
        Trim(above);
        const bool anyAbove = !above.counts.empty() || above.tail != 0;
        const std::int64_t aboveLow = above.counts.empty() ? m_through + 1 : above.lowest;

        Distribution result;
        result.lowest = low * kept;
        result.outcomes = PowerOf(die.outcomes, n);
        if (level >= m_powers.size())
            m_powers.resize(level + 1);
        // Weighed total by total, the dice above the block and those in it
        // multiply small numbers; the part comes back over the die's
        // denominator to the n-th power, like the rest.
        long deepest = 0;
        std::optional<Graded> gradedAbove;
        if (m_grading) {
            mpz_class rest;
            deepest = static_cast<long>(
                mpz_remove(rest.get_mpz_t(), die.outcomes.get_mpz_t(), m_grading->Power(1).get_mpz_t()));
            gradedAbove = m_grading->Grade(above);
        }
        if (level >= m_graded.size())
            m_graded.resize(level + 1);
        for (int e = 0; e <= n; ++e) {
            if (e > 0 && !anyAbove)
                break;
            // The dice above the block, shared by every n at this level.
            const auto room = [&](int more) {
                return m_through - static_cast<std::int64_t>(std::max(0, kept - more)) * low;
            };
            std::vector<Distribution> &powers = m_powers[level];
            std::vector<Graded> &graded = m_graded[level];
            if (gradedAbove) {
                if (graded.empty())
                    graded.push_back(Graded { 0, 0, { mpz_class(1) }, false });
                while (static_cast<int>(graded.size()) <= e) {
                    const auto more = static_cast<int>(graded.size());
                    graded.push_back(m_grading->Product(graded.back(), *gradedAbove, room(more), m_stop));
                }
            } else {
                if (powers.empty())
                    powers.push_back(Point(0));
                while (static_cast<int>(powers.size()) <= e) {
                    const auto more = static_cast<int>(powers.size());
                    powers.push_back(Product(powers.back(), above, room(more), m_stop));
                }
            }
            // The ways to choose the e dice go with the shorter factor, or
            // with the rest's weight in one number: every multiplication of
            // the whole listing counts.
            const mpz_class ways = Binomial(n, e);
            Distribution part;
            if (e < kept) {
                if (e * aboveLow + (kept - e) * low > m_through)
                    break;
                const Distribution block =
                    Block(low, static_cast<int>(width), each, n - e, kept - e, die.outcomes, ways);
                if (gradedAbove) {
                    const Graded product = m_grading->Product(
                        graded[static_cast<std::size_t>(e)], *m_grading->Grade(block), m_through, m_stop);
                    part = m_grading->Ungraded(product, n * deepest);
                } else {
                    part = Product(powers[static_cast<std::size_t>(e)], block, m_through, m_stop);
                }
            } else {
                if (kept * aboveLow > m_through)
                    break;
                part = Run(above, level + 1, e, kept);
                const mpz_class rest = PowerOf(each * static_cast<unsigned long>(width), n - e) * ways;
                for (mpz_class &weight : part.counts)
                    weight *= rest;
                part.outcomes *= PowerOf(die.outcomes, n - e);
            }
            part.tail = 0;
            AddInto(result, part);
        }
        result.tail = PowerOf(Mass(die), n);
        for (const mpz_class &weight : result.counts)
            result.tail -= weight;
        return result;
    }

    // The highest `kept` of n dice all in the block, weighted as the die
    // weighs them, times `ways`.
    static Distribution Block(std::int64_t low,
        int width,
        const mpz_class &each,
        int n,
        int kept,
        const mpz_class &denominator,
        const mpz_class &ways)
    {
        Distribution block;
        if (width == 1) {
            block = Point(low * kept);
        } else {
            Term plain;
            plain.dice = n;
            plain.sides = width;
            plain.kept = kept;
            plain.pick = kept == n ? Pick::All : Pick::Highest;
            block = CountPlain({ plain }, {});
            block.lowest += (low - 1) * kept;
        }
        const mpz_class weight = PowerOf(each, n) * ways;
        for (mpz_class &count : block.counts)
            count *= weight;
        block.tail = 0;
        block.outcomes = PowerOf(denominator, n);
        return block;
    }

    std::int64_t m_through;
    std::optional<Grading> m_grading;
    const std::stop_token &m_stop;
    // Deques: a level's entries stay where they are while deeper levels are added.
    std::deque<std::map<std::pair<int, int>, Distribution>> m_answers;
    std::deque<std::vector<Distribution>> m_powers;
    std::deque<std::vector<Graded>> m_graded;
};

} // namespace

Distribution Keep(
    const Distribution &die, const Term &term, std::int64_t through, const std::stop_token &stop, bool graded)
{
    if (term.pick == Pick::Highest && term.success.kind == Compare::Kind::None && !die.counts.empty()) {
        std::optional<Grading> grading;
        if (graded && term.explode != Explode::None) {
            const std::vector<Face> raw = RawFaces(term);
            unsigned long whole = 0;
            for (const Face &face : raw)
                whole += face.count;
            grading.emplace(mpz_class(whole), ExplosionStep(term, raw));
            if (!grading->Grade(die))
                grading.reset();
        }
        Distribution kept = HighestKeep(through, std::move(grading), stop).Run(die, 0, term.dice, term.kept);
        Cut(kept, std::max(through, kept.lowest));
        Trim(kept);
        return kept;
    }
    return Placed(die, term, through, stop);
}

} // namespace dice::detail
