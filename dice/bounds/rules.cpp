#include "dice/bounds/rules.h"
#include "dice/limits.h"
#include "dice/terms/die.h"

#include <algorithm>
#include <cmath>

namespace dice
{

namespace
{

using detail::Face;

// The least an extra roll that explodes adds to its chain.
std::int64_t LeastStep(const Term &term, const std::vector<Face> &raw)
{
    const Compare explode = ExplodePoint(term, raw);
    const Compare reroll = RerollPoint(term, raw);
    const std::int64_t penalty = term.penetrate ? 1 : 0;
    std::int64_t least = INT64_MAX;
    for (const Face &face : raw) {
        if (!explode.Meets(face.value))
            continue;
        std::vector<std::int64_t> values { face.value - penalty };
        // With `!` each roll is rerolled and counted on its own.
        if (term.explode == Explode::Each && term.reroll != Reroll::None && reroll.Meets(values[0])) {
            values.clear();
            for (const Face &other : raw) {
                if (term.reroll == Reroll::Once || !reroll.Meets(other.value))
                    values.push_back(other.value);
            }
        }
        for (std::int64_t value : values) {
            if (term.explode == Explode::Each && term.success.kind != Compare::Kind::None)
                value = (term.success.Meets(value) ? 1 : 0) - (term.failure.Meets(value) ? 1 : 0);
            least = std::min(least, value);
        }
    }
    return least;
}

} // namespace

std::optional<ErrorCode> BrokenRule(const Term &term)
{
    if (term.dice == 0)
        return std::nullopt;
    const std::vector<Face> raw = detail::RawFaces(term);
    const auto all = [&](const Compare &point) {
        return std::all_of(raw.begin(), raw.end(), [&](const Face &face) { return point.Meets(face.value); });
    };
    if (term.explode != Explode::None) {
        if (term.sides > maxExplodeSides)
            return ErrorCode::ExplodeSidesTooMany;
        if (all(ExplodePoint(term, raw)))
            return ErrorCode::ExplodesForever;
        if (LeastStep(term, raw) < 0)
            return ErrorCode::ExplosionFalls;
    }
    if (term.reroll == Reroll::Repeat && all(RerollPoint(term, raw)))
        return ErrorCode::RerollsForever;
    if (term.explode == Explode::Each && term.pick != Pick::All)
        return ErrorCode::KeepOfExplosions;
    if (term.failure.kind != Compare::Kind::None && term.success.kind == Compare::Kind::None)
        return ErrorCode::FailureFirst;
    return std::nullopt;
}

void CheckModifiers(const Term &term, const Places &places)
{
    const std::optional<ErrorCode> broken = BrokenRule(term);
    if (broken) {
        std::size_t at = places.explode;
        if (*broken == ErrorCode::ExplodeSidesTooMany)
            at = places.sides;
        else if (*broken == ErrorCode::RerollsForever)
            at = places.reroll;
        else if (*broken == ErrorCode::KeepOfExplosions)
            at = places.keep;
        else if (*broken == ErrorCode::FailureFirst)
            at = places.failure;
        throw ParseError(*broken, at);
    }
    // A die of !! is listed past the points that count or reroll it as a
    // whole: points far past its own listing would list it far.
    if (term.explode != Explode::None) {
        Term one = term.OneDie();
        one.success = {};
        one.failure = {};
        one.reroll = Reroll::None;
        const std::int64_t limit = TermListing(one);
        const std::pair<const Compare *, std::size_t> points[] = {
            { &term.rerollOn, places.reroll }, { &term.success, places.success }, { &term.failure, places.failure }
        };
        for (const auto &[point, at] : points) {
            if (term.explode == Explode::Compound && point->kind != Compare::Kind::None && point->value > limit)
                throw ParseError(ErrorCode::ComparePastListing, at, { limit });
        }
    }
}

namespace
{

// The chance that an extra roll explodes, a roll's most and an extra roll's
// most, for the estimates below.
struct Explosions {
    double chance = 0;
    double first = 0;
    double step = 0;
};

Explosions ExplosionsOf(const Term &term)
{
    const std::vector<Face> raw = detail::RawFaces(term);
    const Compare explode = ExplodePoint(term, raw);
    double meets = 0;
    double whole = 0;
    for (const Face &face : raw) {
        whole += static_cast<double>(face.count);
        if (explode.Meets(face.value))
            meets += static_cast<double>(face.count);
    }
    const bool counting = term.success.kind != Compare::Kind::None;
    Explosions explosions;
    explosions.chance = meets / whole;
    explosions.step = counting ? 1.0 : static_cast<double>(raw.back().value);
    explosions.first = counting ? 1.0 : static_cast<double>(std::max(raw.back().value, term.minimum));
    return explosions;
}

// The least k with n p^k below the chance, p the chance of an explosion.
double Depth(const Term &term, const Explosions &explosions, double chance)
{
    if (explosions.chance <= 0 || explosions.chance >= 1)
        return 0;
    return std::ceil(std::log(term.dice / chance) / std::log(1.0 / explosions.chance));
}

} // namespace

// The chance past the listing's cut, 10^-cutDigits, and a tenth of it, so
// that the span bounds the listing from above.
constexpr double cutChance = 1e-15;
constexpr double spanChance = 1e-16;

std::int64_t TermSpan(const Term &term)
{
    const detail::Reach reach = detail::TermReach(term);
    if (reach.highest)
        return *reach.highest - reach.lowest;
    // Past k explosions of any die the chance left is below n p^k.
    const Explosions explosions = ExplosionsOf(term);
    const int units = term.pick == Pick::All ? term.dice : term.kept;
    const double span = units * (explosions.first + explosions.step * Depth(term, explosions, spanChance))
        - static_cast<double>(reach.lowest);
    return static_cast<std::int64_t>(std::min(span, 1e15));
}

std::int64_t TermListing(const Term &term)
{
    const detail::Reach reach = detail::TermReach(term);
    if (reach.highest)
        return *reach.highest;
    // Far out, the chance of a total is mostly that of one die gone far.
    const Explosions explosions = ExplosionsOf(term);
    const int units = term.pick == Pick::All ? term.dice : term.kept;
    const double last = units * explosions.first + explosions.step * Depth(term, explosions, cutChance);
    return static_cast<std::int64_t>(std::min(last * 1.1, 1e12)) + 4;
}

} // namespace dice
