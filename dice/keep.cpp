// Keep and drop among dice of any weights: the dice are placed face by face,
// the kept side first, tracking how many are placed and what the kept ones
// add up to. The first `kept` placed are the kept dice; dice on one face are
// alike, so which of them are kept makes no difference.

#include "dice/keep.h"
#include "dice/weights.h"

#include <algorithm>

namespace dice::detail
{

namespace
{

struct Level {
    std::int64_t score = 0; // what a kept die on this face adds
    const mpz_class *weight = nullptr;
};

} // namespace

Distribution Keep(const Distribution &die, const Term &term, std::int64_t through, const std::stop_token &stop)
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

} // namespace dice::detail
