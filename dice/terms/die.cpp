#include "dice/terms/die.h"
#include "dice/terms/chains.h"
#include "dice/terms/keep.h"
#include "dice/value/graded.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace dice
{

namespace detail
{

namespace
{

bool Counting(const Term &term)
{
    return term.success.kind != Compare::Kind::None;
}

std::int64_t Clamped(const Term &term, std::int64_t value)
{
    if (term.hasMinimum)
        value = std::max(value, term.minimum);
    if (term.hasMaximum)
        value = std::min(value, term.maximum);
    return value;
}

// The largest number any compare point of the term names: a die listed past
// it meets each point alike at every value above.
std::int64_t Threshold(const Term &term)
{
    std::int64_t most = INT32_MIN;
    for (const Compare *point : { &term.rerollOn, &term.success, &term.failure }) {
        if (point->kind != Compare::Kind::None)
            most = std::max(most, point->value);
    }
    return most;
}

// The die after rerolls: a value meeting the point is replaced.
Distribution Rerolled(const Distribution &die, const Term &term, const std::vector<Face> &raw)
{
    const Compare point = RerollPoint(term, raw);
    const Distribution replacement = Replacement(term, raw);
    Distribution result;
    result.lowest = die.lowest;
    result.outcomes = die.outcomes * replacement.outcomes;
    result.counts.resize(die.counts.size());
    mpz_class met;
    for (std::size_t i = 0; i < die.counts.size(); ++i) {
        if (point.Meets(die.lowest + static_cast<std::int64_t>(i)))
            met += die.counts[i];
        else
            result.counts[i] = die.counts[i] * replacement.outcomes;
    }
    if (point.MeetsUpward())
        met += die.tail;
    else
        result.tail = die.tail * replacement.outcomes;
    Distribution moved = replacement;
    for (mpz_class &weight : moved.counts)
        weight *= met;
    AddInto(result, moved);
    return result;
}

} // namespace

Compare ExplodePoint(const Term &term, const std::vector<Face> &raw)
{
    if (term.explodeOn.kind != Compare::Kind::None)
        return term.explodeOn;
    return { Compare::Kind::Equal, raw.back().value };
}

Compare RerollPoint(const Term &term, const std::vector<Face> &raw)
{
    if (term.rerollOn.kind != Compare::Kind::None)
        return term.rerollOn;
    return { Compare::Kind::Equal, raw.front().value };
}

// The die as the count sees it: 1 for a success, -1 for a failure.
Distribution Counted(const Distribution &die, const Term &term)
{
    Distribution result;
    result.lowest = -1;
    result.outcomes = die.outcomes;
    result.counts.resize(3);
    const auto score = [&](std::int64_t value) {
        return (term.success.Meets(value) ? 1 : 0) - (term.failure.Meets(value) ? 1 : 0);
    };
    for (std::size_t i = 0; i < die.counts.size(); ++i)
        result.counts[static_cast<std::size_t>(score(die.lowest + static_cast<std::int64_t>(i)) + 1)] += die.counts[i];
    const int above = (term.success.MeetsUpward() ? 1 : 0) - (term.failure.MeetsUpward() ? 1 : 0);
    result.counts[static_cast<std::size_t>(above + 1)] += die.tail;
    return result;
}

namespace
{

// Whether a roll of the chain adds just its value, nothing rerolled or counted.
bool ValueAlone(const Term &term)
{
    return term.explode != Explode::Each || (term.reroll == Reroll::None && !Counting(term));
}

// What one roll of a `!` chain adds, the reroll and count applied to it.
Distribution RollValue(const Term &term, const std::vector<Face> &raw, std::int64_t value)
{
    Distribution roll = Point(value);
    if (ValueAlone(term))
        return roll;
    if (term.reroll != Reroll::None)
        roll = Rerolled(roll, term, raw);
    if (Counting(term))
        roll = Counted(roll, term);
    return roll;
}

// The quotient stops / (1 - explodes) of a chain's extra rolls as a series:
// the chance of each total of the rolls after an explosion. The weights of
// explodes all lie at 0 or above, so term k needs only those before it.
Distribution Series(const Distribution &stops, const Distribution &explodes, std::int64_t through)
{
    const mpz_class &whole = stops.outcomes;
    mpz_class r = whole;
    if (explodes.lowest == 0 && !explodes.counts.empty())
        r -= explodes.counts[0];
    Distribution series;
    series.lowest = stops.lowest;
    const std::int64_t last = std::max(through, stops.Highest());
    const auto size = static_cast<std::size_t>(std::max<std::int64_t>(0, last - series.lowest + 1));
    // Term k is reached by at most k / step explosions of the least step,
    // so its share's denominator divides r^(k / step + 1): counts[k] is the
    // share times r times scale, exact.
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (std::size_t e = 0; e < explodes.counts.size(); ++e) {
        const std::int64_t step = explodes.lowest + static_cast<std::int64_t>(e);
        if (step >= 1 && explodes.counts[e] != 0)
            least = std::min(least, step);
    }
    const std::int64_t steps = size == 0 ? 0 : static_cast<std::int64_t>(size - 1) / least;
    mpz_class scale;
    mpz_pow_ui(scale.get_mpz_t(), r.get_mpz_t(), static_cast<unsigned long>(steps));
    series.counts.resize(size);
    mpz_class sum;
    for (std::size_t k = 0; k < size; ++k) {
        sum = 0;
        for (std::size_t e = 0; e < explodes.counts.size(); ++e) {
            const std::int64_t step = explodes.lowest + static_cast<std::int64_t>(e);
            if (step < 1 || step > static_cast<std::int64_t>(k) || explodes.counts[e] == 0)
                continue;
            mpz_addmul(sum.get_mpz_t(),
                explodes.counts[e].get_mpz_t(),
                series.counts[k - static_cast<std::size_t>(step)].get_mpz_t());
        }
        mpz_divexact(sum.get_mpz_t(), sum.get_mpz_t(), r.get_mpz_t());
        if (k < stops.counts.size())
            mpz_addmul(sum.get_mpz_t(), stops.counts[k].get_mpz_t(), scale.get_mpz_t());
        series.counts[k] = sum;
    }
    series.outcomes = scale * r;
    series.tail = series.outcomes - Mass(series);
    return series;
}

} // namespace

Distribution Chain(const Term &term, const std::vector<Face> &raw, std::int64_t through, const dice::StopToken &stop)
{
    const ChainParts parts = Parts(term, raw);
    // With no first roll to explode there are no extra rolls to list.
    if (parts.firstExplodes.counts.empty())
        return parts.firstStops;
    const Distribution extra = Series(parts.extraStops, parts.extraExplodes, through - parts.firstExplodes.lowest);
    Distribution chain = SumOfRolls(parts.firstExplodes, extra, through, stop);
    Distribution stops = parts.firstStops;
    Rescale(stops, chain.outcomes);
    AddInto(chain, stops);
    return chain;
}

namespace
{

// The dice that keep and count look at: one value per die.
Distribution Die(const Term &term, const std::vector<Face> &raw, std::int64_t through, const dice::StopToken &stop)
{
    Distribution die;
    if (term.explode == Explode::None) {
        std::map<std::int64_t, unsigned long> clamped;
        unsigned long whole = 0;
        for (const Face &face : raw) {
            clamped[Clamped(term, face.value)] += face.count;
            whole += face.count;
        }
        die.lowest = clamped.begin()->first;
        die.outcomes = whole;
        die.counts.resize(static_cast<std::size_t>(clamped.rbegin()->first - die.lowest + 1));
        for (const auto &[value, count] : clamped)
            die.counts[static_cast<std::size_t>(value - die.lowest)] = count;
    } else {
        die = Chain(term, raw, through, stop);
    }
    if (term.explode != Explode::Each && term.reroll != Reroll::None)
        die = Rerolled(die, term, raw);
    return die;
}

} // namespace

std::vector<Face> RawFaces(const Term &term)
{
    std::vector<std::int64_t> values = term.Faces();
    std::sort(values.begin(), values.end());
    std::vector<Face> raw;
    for (const std::int64_t value : values) {
        if (raw.empty() || raw.back().value != value)
            raw.push_back({ value, 0 });
        ++raw.back().count;
    }
    return raw;
}

Distribution Replacement(const Term &term, const std::vector<Face> &raw)
{
    const Compare point = RerollPoint(term, raw);
    Distribution replacement;
    replacement.lowest = raw.front().value;
    replacement.counts.resize(static_cast<std::size_t>(raw.back().value - raw.front().value + 1));
    unsigned long whole = 0;
    for (const Face &face : raw) {
        // Rerolled until it no longer meets the point, the die shows only
        // the faces that do not, in their own proportions.
        if (term.reroll == Reroll::Repeat && point.Meets(face.value))
            continue;
        replacement.counts[static_cast<std::size_t>(face.value - replacement.lowest)] = face.count;
        whole += face.count;
    }
    replacement.outcomes = whole;
    Trim(replacement);
    return replacement;
}

namespace
{

// Adds weight at one total, the listing widened to reach it.
void AddWeight(Distribution &measure, std::int64_t value, unsigned long weight)
{
    if (measure.counts.empty())
        measure.lowest = value;
    if (value < measure.lowest) {
        measure.counts.insert(measure.counts.begin(), static_cast<std::size_t>(measure.lowest - value), mpz_class());
        measure.lowest = value;
    }
    if (value > measure.Highest())
        measure.counts.resize(static_cast<std::size_t>(value - measure.lowest + 1));
    measure.counts[static_cast<std::size_t>(value - measure.lowest)] += weight;
}

// The lowest and highest face, without listing every face.
std::pair<std::int64_t, std::int64_t> FaceRange(const Term &term)
{
    if (!term.faces.empty()) {
        const auto [low, high] = std::minmax_element(term.faces.begin(), term.faces.end());
        return { *low, *high };
    }
    const std::int64_t shift = term.fudge ? -2 : 0;
    return { 1 + shift, term.sides + shift };
}

} // namespace

ChainParts Parts(const Term &term, const std::vector<Face> &raw)
{
    const Compare point = ExplodePoint(term, raw);
    ChainParts parts;
    unsigned long whole = 0;
    for (const Face &face : raw)
        whole += face.count;
    // Every roll's value comes over one denominator, whatever its face.
    const mpz_class denominator = whole * RollValue(term, raw, raw.front().value).outcomes;
    Distribution *all[] = { &parts.firstStops, &parts.firstExplodes, &parts.extraStops, &parts.extraExplodes };
    for (Distribution *part : all)
        part->outcomes = denominator;
    const std::int64_t penalty = term.penetrate ? 1 : 0;
    for (const Face &face : raw) {
        // The first roll explodes on its value after minimum and maximum; an
        // extra roll on its face, before penetration takes one off.
        const std::int64_t first = Clamped(term, face.value);
        const bool firstExplodes = point.Meets(first);
        const bool extraExplodes = point.Meets(face.value);
        const std::pair<Distribution *, std::int64_t> rolls[] = {
            { firstExplodes ? &parts.firstExplodes : &parts.firstStops, first },
            { extraExplodes ? &parts.extraExplodes : &parts.extraStops, face.value - penalty },
        };
        for (const auto &[part, value] : rolls) {
            if (ValueAlone(term)) {
                AddWeight(*part, value, face.count);
                continue;
            }
            Distribution roll = RollValue(term, raw, value);
            for (mpz_class &weight : roll.counts)
                weight *= face.count;
            roll.outcomes = denominator;
            AddInto(*part, roll);
        }
    }
    for (Distribution *part : all) {
        Trim(*part);
        if (part->counts.empty())
            part->lowest = 0;
    }
    return parts;
}

bool FirstRollExplodes(const Term &term)
{
    const std::vector<Face> raw = RawFaces(term);
    const Compare point = ExplodePoint(term, raw);
    for (const Face &face : raw) {
        if (point.Meets(Clamped(term, face.value)))
            return true;
    }
    return false;
}

Reach TermReach(const Term &term)
{
    const auto [low, high] = FaceRange(term);
    const std::int64_t penalty = term.penetrate ? 1 : 0;
    // What one roll can count, whether first, extra or rerolled.
    std::int64_t rollLow = std::min(Clamped(term, low), low - penalty);
    std::int64_t rollHigh = std::max(Clamped(term, high), high);
    if (Counting(term)) {
        rollLow = term.failure.kind == Compare::Kind::None ? 0 : -1;
        rollHigh = 1;
    }
    const int units = term.explode == Explode::Each || term.pick == Pick::All ? term.dice : term.kept;
    Reach reach;
    // Explosions add nothing below 0, so a chain is at least one roll, or
    // an exploding roll with the lowest after it.
    const std::int64_t unitLow = term.explode == Explode::None ? rollLow : rollLow + std::min<std::int64_t>(0, rollLow);
    reach.lowest = units * unitLow;
    const bool bounded = term.explode == Explode::None || (term.explode == Explode::Compound && Counting(term));
    if (bounded)
        reach.highest = units * rollHigh;
    return reach;
}

std::int64_t ExplosionStep(const Term &term, const std::vector<Face> &raw)
{
    const ChainParts parts = Parts(term, raw);
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (const Distribution *part : { &parts.firstExplodes, &parts.extraExplodes }) {
        for (std::size_t i = 0; i < part->counts.size(); ++i) {
            const std::int64_t value = part->lowest + static_cast<std::int64_t>(i);
            if (value >= 1 && part->counts[i] != 0)
                least = std::min(least, value);
        }
    }
    return least == std::numeric_limits<std::int64_t>::max() ? 1 : least;
}

namespace
{

// The sum of the term's dice: for dice that explode, weighed total by total
// where their rolls allow it.
Distribution SumOf(const Distribution &die,
    const Term &term,
    const std::vector<Face> &raw,
    std::int64_t through,
    const dice::StopToken &stop)
{
    if (term.explode != Explode::None) {
        unsigned long whole = 0;
        for (const Face &face : raw)
            whole += face.count;
        if (auto sum = GradedPower(die, term.dice, through, mpz_class(whole), ExplosionStep(term, raw), stop))
            return std::move(*sum);
    }
    return SumOfAlike(die, term.dice, through, stop);
}

} // namespace

Distribution CountTerm(const Term &term, std::int64_t through, const dice::StopToken &stop)
{
    const std::vector<Face> raw = RawFaces(term);
    const Reach reach = TermReach(term);
    if (reach.highest)
        through = std::max(through, *reach.highest);
    const int units = term.explode == Explode::Each || term.pick == Pick::All ? term.dice : term.kept;
    const std::int64_t unitLow = reach.lowest / units;
    // A unit listed this far lets the term list through `through`; a count
    // needs it past every compare point.
    std::int64_t unitThrough = through - static_cast<std::int64_t>(units - 1) * unitLow;
    if (Counting(term) && term.explode != Explode::Each)
        unitThrough = Threshold(term) + 1;
    // A chain of `!` rolls is rerolled and counted roll by roll, exactly at
    // any length; a die counted or rerolled as a whole is listed past every
    // compare point, so that all above its listing meets each point alike.
    if (term.explode != Explode::Each)
        unitThrough = std::max(unitThrough, Threshold(term) + 1);

    // A sum of whole chains, each roll's value fixed by its face alone, is
    // counted from the chain's generating function where its numbers fit.
    const bool wholeChains = term.explode == Explode::Each
        || (term.explode == Explode::Compound && term.reroll == Reroll::None && !Counting(term));
    if (wholeChains && term.pick == Pick::All) {
        if (std::optional<Distribution> sum = ChainSum(Parts(term, raw), term.dice, through, stop))
            return std::move(*sum);
    }
    if (term.explode == Explode::Each)
        return SumOf(Chain(term, raw, unitThrough, stop), term, raw, through, stop);
    Distribution die = Die(term, raw, unitThrough, stop);
    if (term.pick != Pick::All)
        return Keep(die, term, through, stop);
    if (Counting(term))
        die = Counted(die, term);
    return SumOf(die, term, raw, through, stop);
}

} // namespace detail

} // namespace dice
