// Keep and drop among dice of any weights: the dice are placed face by face,
// the kept side first, tracking how many are placed and what the kept ones
// add up to. The first `kept` placed are the kept dice; dice on one face are
// alike, so which of them are kept makes no difference.

#include "dice/terms/keep.h"
#include "dice/terms/die.h"
#include "dice/terms/plain.h"
#include "dice/value/graded.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

namespace dice::detail
{

namespace
{

struct FaceLevel {
    std::int64_t score = 0; // what a kept die on this face adds
    const mpz_class *weight = nullptr;
};

// The ways to choose c of r, for r and c from 0 to n, at r * (n + 1) + c:
// looked up in the placing loop, where working each out would cost more.
std::vector<mpz_class> PascalRows(int n)
{
    std::vector<mpz_class> binomial(static_cast<std::size_t>((n + 1) * (n + 1)));
    for (int r = 0; r <= n; ++r) {
        for (int c = 0; c <= r; ++c) {
            binomial[static_cast<std::size_t>(r * (n + 1) + c)] = c == 0 || c == r
                ? mpz_class(1)
                : binomial[static_cast<std::size_t>((r - 1) * (n + 1) + c - 1)]
                    + binomial[static_cast<std::size_t>((r - 1) * (n + 1) + c)];
        }
    }
    return binomial;
}

// Keep by placing the dice face by face: any weights, sums or counts.
Distribution Placed(const Distribution &die, const Term &term, std::int64_t through, const dice::StopToken &stop)
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

    std::vector<FaceLevel> levels;
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
        levels.insert(highest ? levels.begin() : levels.end(), FaceLevel { tailScore, &die.tail });

    const std::int64_t low = counting ? -kept : std::min<std::int64_t>(0, kept * die.lowest);
    const std::int64_t high =
        counting ? kept : std::max<std::int64_t>(0, through + kept * std::max<std::int64_t>(0, -die.lowest));
    const auto width = static_cast<std::size_t>(high - low + 1);
    std::vector<std::vector<mpz_class>> placed(static_cast<std::size_t>(n + 1), std::vector<mpz_class>(width));
    placed[0][static_cast<std::size_t>(-low)] = 1;

    const std::vector<mpz_class> binomial = PascalRows(n);
    std::vector<mpz_class> powers(static_cast<std::size_t>(n + 1));
    mpz_class factor;
    for (const FaceLevel &level : levels) {
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

// The lowest listed value of a die and the equal weights after it, and the
// rest of the die above them.
struct BlockOf {
    BlockOf(const Distribution &die, std::int64_t through)
        : low(die.lowest)
        , each(die.counts[0])
        , above(die)
    {
        while (static_cast<std::size_t>(width) < die.counts.size()
            && die.counts[static_cast<std::size_t>(width)] == die.counts[0])
            ++width;
        above.counts.erase(above.counts.begin(), above.counts.begin() + width);
        above.lowest += width;
        Trim(above);
        anyAbove = !above.counts.empty() || above.tail != 0;
        aboveLow = above.counts.empty() ? through + 1 : above.lowest;
    }

    std::int64_t low;
    int width = 1;
    mpz_class each;
    Distribution above;
    bool anyAbove = false;
    std::int64_t aboveLow = 0;
};

// The highest `kept` of n dice all in a block of `width` values from `low`,
// counted as dice of `width` equal faces, through the first `totals` totals.
Distribution KeptOfBlock(std::int64_t low, int width, int n, int kept, std::size_t totals, const dice::StopToken &stop)
{
    if (width == 1)
        return Point(low * kept);
    Term plain;
    plain.dice = n;
    plain.sides = width;
    plain.kept = kept;
    plain.pick = kept == n ? Pick::All : Pick::Highest;
    Distribution block = kept == n ? CountPlain({ plain }, stop) : FirstKept(plain, totals, stop);
    if (block.counts.size() > totals)
        block.counts.resize(totals);
    block.lowest += (low - 1) * kept;
    block.tail = 0;
    return block;
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
    HighestKeep(std::int64_t through, const dice::StopToken &stop)
        : m_through(through)
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
        const BlockOf block(die, m_through);
        const std::int64_t low = block.low;
        Distribution result;
        result.lowest = low * kept;
        result.outcomes = PowerOf(die.outcomes, n);
        if (level >= m_powers.size())
            m_powers.resize(level + 1);
        std::vector<Distribution> &powers = m_powers[level];
        for (int e = 0; e <= n; ++e) {
            if (e > 0 && !block.anyAbove)
                break;
            // The ways to choose the e dice go with the shorter factor, or
            // with the rest's weight in one number: every multiplication of
            // the whole listing counts.
            const mpz_class ways = Binomial(n, e);
            Distribution part;
            if (e < kept) {
                if (e * block.aboveLow + (kept - e) * low > m_through)
                    break;
                // The dice above the block, shared by every n at this level.
                if (powers.empty())
                    powers.push_back(Point(0));
                while (static_cast<int>(powers.size()) <= e) {
                    const auto more = static_cast<int>(powers.size());
                    powers.push_back(SumOfRolls(powers.back(), block.above, Room(kept, more, low), m_stop));
                }
                Distribution plain =
                    KeptOfBlock(low, block.width, n - e, kept - e, std::numeric_limits<std::size_t>::max(), m_stop);
                const mpz_class weight = PowerOf(block.each, n - e) * ways;
                for (mpz_class &count : plain.counts)
                    count *= weight;
                plain.outcomes = PowerOf(die.outcomes, n - e);
                part = SumOfRolls(powers[static_cast<std::size_t>(e)], plain, m_through, m_stop);
            } else {
                if (kept * block.aboveLow > m_through)
                    break;
                part = Run(block.above, level + 1, e, kept);
                const mpz_class rest = PowerOf(block.each * static_cast<unsigned long>(block.width), n - e) * ways;
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

    // How far e dice above the block are needed: the others kept lie in it.
    std::int64_t Room(int kept, int e, std::int64_t low) const
    {
        return m_through - static_cast<std::int64_t>(std::max(0, kept - e)) * low;
    }

    std::int64_t m_through;
    const dice::StopToken &m_stop;
    // Deques: a level's entries stay where they are while deeper levels are added.
    std::deque<std::map<std::pair<int, int>, Distribution>> m_answers;
    std::deque<std::vector<Distribution>> m_powers;
};

// HighestKeep weighed total by total, as Grading weighs sums of these dice.
// Kept or dropped, each die of a part is rolls of W equally likely outcomes,
// so every part is graded and the parts are added graded. The whole comes
// back over one power of W, the least its deepest listed total needs, once at
// the end: over the die's denominator to the n-th power, as the plain keep
// has it, every weight would carry the deepest explosion of every die.
class GradedHighestKeep
{
public:
    GradedHighestKeep(
        const Distribution &die, std::int64_t through, Grading grading, int kept, const dice::StopToken &stop)
        : m_die(die)
        , m_through(through)
        , m_grading(std::move(grading))
        , m_kept(kept)
        , m_stop(stop)
    {
        mpz_class rest;
        m_deepest =
            static_cast<long>(mpz_remove(rest.get_mpz_t(), die.outcomes.get_mpz_t(), m_grading.Power(1).get_mpz_t()));
    }

    Distribution Run(int n)
    {
        const Graded graded = Combined(0, { { n, Weight { mpz_class(1), 0 } } });
        long exponent = 0;
        for (std::size_t i = 0; i < graded.counts.size(); ++i) {
            if (graded.counts[i] != 0)
                exponent = std::max(exponent, graded.rolls + m_grading.Chunk(i));
        }
        // A die whose listing and tail do not make up its denominator leaves
        // the tail to be worked out over the plain keep's denominator.
        const mpz_class mass = Mass(m_die);
        const long plain = n * m_deepest;
        if (mass != m_die.outcomes)
            exponent = std::max(exponent, plain);
        Distribution result = m_grading.Ungraded(graded, exponent);
        if (mass != m_die.outcomes)
            result.tail = PowerOf(mass, n) * m_grading.Power(static_cast<std::size_t>(exponent - plain));
        else
            result.tail = result.outcomes;
        for (const mpz_class &weight : result.counts)
            result.tail -= weight;
        return result;
    }

private:
    // A block and its die graded above it.
    struct BlockLevel {
        BlockLevel(const Distribution &die, std::int64_t through, Grading &grading, long deepest)
            : block(die, through)
            , above(*grading.Grade(block.above))
        {
            // A value of the block weighs share / W^rolls.
            const auto exact =
                static_cast<long>(mpz_remove(share.get_mpz_t(), block.each.get_mpz_t(), grading.Power(1).get_mpz_t()));
            rolls = deepest - exact;
        }

        BlockOf block;
        Graded above;
        mpz_class share;
        long rolls = 0;
        bool unitAbove = false; // above: 1 at every offset but the last of each chunk
    };

    BlockLevel &At(std::size_t level)
    {
        while (m_levels.size() <= level) {
            const Distribution &die = m_levels.empty() ? m_die : m_levels.back().block.above;
            m_levels.emplace_back(die, m_through, m_grading, m_deepest);
            const std::vector<mpz_class> &above = m_levels.back().above.counts;
            const std::size_t step = m_grading.Step();
            bool unitAbove = !above.empty();
            for (std::size_t j = 0; j < above.size() && unitAbove; ++j)
                unitAbove = above[j] == (j % step == step - 1 ? 0 : 1);
            m_levels.back().unitAbove = unitAbove;
        }
        return m_levels[level];
    }

    // The keeps of n dice at a level, each weighted: count / W^rolls.
    struct Weight {
        mpz_class count;
        long rolls = 0;
    };

    // Adds a weight into another, over the larger power of W.
    void AddWeight(std::optional<Weight> &into, Weight weight)
    {
        if (!into) {
            into = std::move(weight);
            return;
        }
        if (into->rolls < weight.rolls) {
            into->count *= m_grading.Power(static_cast<std::size_t>(weight.rolls - into->rolls));
            into->rolls = weight.rolls;
        }
        mpz_addmul(into->count.get_mpz_t(),
            weight.count.get_mpz_t(),
            m_grading.Power(static_cast<std::size_t>(into->rolls - weight.rolls)).get_mpz_t());
    }

    // The keeps of every n at the level, weighted and added. Each level is
    // asked once, for all its n together, and the parts with e < K dice above
    // the block are added as B_0 + A (B_1 + A (B_2 + ...)), A the die above
    // the block and B_e the weighted keeps in it: one product for every e,
    // rather than a power of A and a product for every n and e.
    Graded Combined(std::size_t level, const std::map<int, Weight> &weights)
    {
        Check(m_stop);
        BlockLevel &at = At(level);
        const BlockOf &block = at.block;
        const int most = weights.rbegin()->first;
        std::vector<Graded> inBlock;
        std::map<int, Weight> next;
        for (int e = 0; e <= most; ++e) {
            if (e > 0 && !block.anyAbove)
                break;
            if (e < m_kept) {
                if (e * block.aboveLow + (m_kept - e) * block.low > m_through)
                    continue;
                Graded kept;
                for (const auto &[n, weight] : weights) {
                    Graded one = KeptInBlock(at,
                        n - e,
                        m_kept - e,
                        weight.count * Binomial(n, e),
                        m_through - static_cast<std::int64_t>(e) * block.aboveLow);
                    one.rolls += weight.rolls;
                    Add(kept, one);
                }
                inBlock.push_back(std::move(kept));
            } else if (m_kept * block.aboveLow <= m_through) {
                // The other n - e dice lie in the block, dropped.
                std::optional<Weight> sum;
                const mpz_class mass = at.share * static_cast<unsigned long>(block.width);
                for (auto it = weights.lower_bound(e); it != weights.end(); ++it) {
                    const auto &[n, weight] = *it;
                    AddWeight(sum,
                        Weight {
                            weight.count * Binomial(n, e) * PowerOf(mass, n - e), weight.rolls + at.rolls * (n - e) });
                }
                if (sum)
                    next.emplace(e, std::move(*sum));
            }
        }
        Graded result;
        for (std::size_t e = inBlock.size(); e-- > 0;) {
            // Each die above the block takes at least its lowest from the room.
            if (!result.counts.empty())
                result = AboveTimes(at, result, m_through - static_cast<std::int64_t>(e) * block.aboveLow);
            Add(result, inBlock[e]);
        }
        if (!next.empty())
            Add(result, Combined(level + 1, next));
        return result;
    }

    // The die above the block times t, listed as Grading::Product lists it.
    // Where the die above is graded 1 at every offset but the last of each
    // chunk, as a !! die on its top face is, the product at offset u of
    // chunk c is what t lays, over chunks 0 to c, at offsets up to u (the
    // die's offset u - w beside t's w), and carried one roll more, what it
    // lays over chunks 0 to c - 1 at offsets from u + 2: running sums of t,
    // with no multiplication.
    Graded AboveTimes(const BlockLevel &at, const Graded &t, std::int64_t through)
    {
        const Graded &a = at.above;
        const std::int64_t last = LastKnownOfSum(a, t, through);
        const auto size = static_cast<std::size_t>(std::max<std::int64_t>(0, last - a.lowest - t.lowest + 1));
        if (!at.unitAbove || t.counts.empty() || size > a.counts.size())
            return m_grading.Product(a, t, through, m_stop);
        Graded result;
        result.lowest = a.lowest + t.lowest;
        result.rolls = a.rolls + t.rolls;
        result.tail = true;
        result.counts.resize(size);
        const std::size_t step = m_grading.Step();
        const mpz_class &base = m_grading.Power(1);
        std::vector<mpz_class> column(step); // t summed over the chunks so far, by offset
        std::vector<mpz_class> running(step + 1);
        mpz_class plain;
        for (std::size_t chunk = 0; chunk * step < size; ++chunk) {
            Check(m_stop);
            // From the chunks before this one: running[w] sums offsets w and up.
            running[step] = 0;
            for (std::size_t w = step; w-- > 0;)
                running[w] = running[w + 1] + column[w];
            for (std::size_t w = 0; w < step; ++w) {
                const std::size_t i = chunk * step + w;
                if (i < t.counts.size())
                    column[w] += t.counts[i];
            }
            plain = 0;
            for (std::size_t u = 0; u < step && chunk * step + u < size; ++u) {
                plain += column[u];
                if (u == step - 1)
                    plain -= column[0];
                mpz_class &to = result.counts[chunk * step + u];
                to = plain;
                if (u + 2 < step)
                    mpz_addmul(to.get_mpz_t(), running[u + 2].get_mpz_t(), base.get_mpz_t());
            }
        }
        return result;
    }

    // The highest `kept` of n dice all in the block, times `ways`, through
    // `last`: the plain keep is counted only as far as that, and once for
    // every level whose block is as wide.
    Graded KeptInBlock(BlockLevel &at, int n, int kept, const mpz_class &ways, std::int64_t last)
    {
        const auto totals = static_cast<std::size_t>(std::max<std::int64_t>(1, last - at.block.low * kept + 1));
        const auto key = std::make_tuple(at.block.width, n, kept);
        auto found = m_plain.find(key);
        if (found == m_plain.end() || (found->second.counts.size() < totals && found->second.tail != 0)) {
            Distribution plain = KeptOfBlock(1, at.block.width, n, kept, totals, m_stop);
            // Marked as cut short where more totals could follow.
            plain.tail = static_cast<std::int64_t>(plain.counts.size()) < kept * (at.block.width - 1) + 1 ? 1 : 0;
            found = m_plain.insert_or_assign(key, std::move(plain)).first;
        }
        const Distribution &plain = found->second;
        const std::size_t size = std::min(plain.counts.size(), totals);
        Graded block;
        block.lowest = plain.lowest + (at.block.low - 1) * kept;
        block.rolls = at.rolls * n;
        const mpz_class weight = PowerOf(at.share, n) * ways;
        block.counts.resize(size);
        for (std::size_t i = 0; i < size; ++i) {
            mpz_mul(block.counts[i].get_mpz_t(), plain.counts[i].get_mpz_t(), weight.get_mpz_t());
            block.counts[i] *= m_grading.Power(static_cast<std::size_t>(m_grading.Chunk(i)));
        }
        return block;
    }

    // Adds a part's shares into the sum, graded from the lower of their
    // lowest totals over the fewest rolls both allow.
    void Add(Graded &into, const Graded &part)
    {
        if (part.counts.empty())
            return;
        if (into.counts.empty()) {
            into = part;
            return;
        }
        const std::int64_t lowest = std::min(into.lowest, part.lowest);
        // Moved up by an offset o, a total's chunk grows by o / step or one more.
        const auto fewest = [&](const Graded &graded) {
            return graded.rolls - m_grading.Chunk(static_cast<std::size_t>(graded.lowest - lowest));
        };
        const long rolls = std::max(fewest(into), fewest(part));
        const auto size = static_cast<std::size_t>(std::max(into.lowest + static_cast<std::int64_t>(into.counts.size()),
                                                       part.lowest + static_cast<std::int64_t>(part.counts.size()))
            - lowest);
        if (into.lowest != lowest || into.rolls != rolls) {
            Graded moved;
            moved.lowest = lowest;
            moved.rolls = rolls;
            moved.counts.resize(size);
            AddMoved(moved, into);
            into = std::move(moved);
        } else {
            into.counts.resize(size);
        }
        AddMoved(into, part);
    }

    void AddMoved(Graded &into, const Graded &part)
    {
        const auto offset = static_cast<std::size_t>(part.lowest - into.lowest);
        for (std::size_t j = 0; j < part.counts.size(); ++j) {
            if (part.counts[j] == 0)
                continue;
            const long up = into.rolls + m_grading.Chunk(offset + j) - part.rolls - m_grading.Chunk(j);
            mpz_class &to = into.counts[offset + j];
            if (up == 0)
                to += part.counts[j];
            else
                mpz_addmul(to.get_mpz_t(),
                    part.counts[j].get_mpz_t(),
                    m_grading.Power(static_cast<std::size_t>(up)).get_mpz_t());
        }
    }

    const Distribution &m_die;
    std::int64_t m_through;
    Grading m_grading;
    int m_kept;
    const dice::StopToken &m_stop;
    long m_deepest = 0;
    // A deque: a level stays where it is while deeper levels are added.
    std::deque<BlockLevel> m_levels;
    std::map<std::tuple<int, int, int>, Distribution> m_plain;
};

// The highest (or lowest) one of n dice of a die with no tail: at most t
// (or at least t) with the weight of the die's faces there to the n-th
// power, less that of the face before. Two powers a face, where placing the
// dice face by face takes a listing per face and number of dice.
Distribution Extreme(const Distribution &die, int n, bool highest)
{
    Distribution result;
    result.lowest = die.lowest;
    result.counts.resize(die.counts.size());
    result.outcomes = PowerOf(die.outcomes, n);
    mpz_class reached;
    mpz_class power;
    mpz_class before;
    const std::size_t size = die.counts.size();
    for (std::size_t k = 0; k < size; ++k) {
        const std::size_t i = highest ? k : size - 1 - k;
        reached += die.counts[i];
        mpz_pow_ui(power.get_mpz_t(), reached.get_mpz_t(), static_cast<unsigned long>(n));
        mpz_sub(result.counts[i].get_mpz_t(), power.get_mpz_t(), before.get_mpz_t());
        std::swap(power, before);
    }
    return result;
}

} // namespace

Distribution Keep(
    const Distribution &die, const Term &term, std::int64_t through, const dice::StopToken &stop, bool graded)
{
    if (term.kept == 1 && term.pick != Pick::All && term.success.kind == Compare::Kind::None && die.tail == 0
        && !die.counts.empty() && Mass(die) == die.outcomes) {
        Distribution kept = Extreme(die, term.dice, term.pick == Pick::Highest);
        Cut(kept, std::max(through, kept.lowest));
        Trim(kept);
        return kept;
    }
    if (term.pick == Pick::Highest && term.kept > 0 && term.success.kind == Compare::Kind::None
        && !die.counts.empty()) {
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
        Distribution kept = grading
            ? GradedHighestKeep(die, through, std::move(*grading), term.kept, stop).Run(term.dice)
            : HighestKeep(through, stop).Run(die, 0, term.dice, term.kept);
        Cut(kept, std::max(through, kept.lowest));
        Trim(kept);
        return kept;
    }
    return Placed(die, term, through, stop);
}

} // namespace dice::detail
