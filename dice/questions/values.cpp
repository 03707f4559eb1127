#include "dice/questions/values.h"

#include "dice/evaluate/listing.h"
#include "dice/value/weights.h"
#include "dice/value/wide.h"

#include <algorithm>
#include <limits>
#include <map>

namespace dice::detail
{

namespace
{

constexpr std::int64_t everything = std::numeric_limits<std::int64_t>::max() / 4;

mpq_class Square(const mpq_class &x)
{
    return x * x;
}

// The least and the most of x * x for x from low to high.
std::pair<mpq_class, mpq_class> SquareRange(const mpq_class &low, const mpq_class &high)
{
    const mpq_class most = std::max(Square(low), Square(high));
    if (low <= 0 && high >= 0)
        return { 0, most };
    return { std::min(Square(low), Square(high)), most };
}

Distribution Shifted(const Distribution &roll, std::int64_t by)
{
    Distribution shifted = roll;
    shifted.lowest += by;
    if (shifted.moments) {
        shifted.moments->meanLow += Big(by);
        shifted.moments->meanHigh += Big(by);
    }
    return shifted;
}

Distribution Condition(const mpz_class &yes, const mpz_class &outcomes, bool weighted)
{
    Distribution condition;
    condition.lowest = 0;
    condition.counts = { outcomes - yes, yes };
    condition.outcomes = outcomes;
    condition.weighted = weighted;
    return condition;
}

} // namespace

Value Value::Certain(std::int64_t total)
{
    Value value;
    value.certain = total;
    return value;
}

Value Value::Rolled(Distribution roll)
{
    Value value;
    value.roll = std::make_shared<const Distribution>(std::move(roll));
    return value;
}

Distribution AsRoll(const Value &value)
{
    if (value.certain)
        return Point(*value.certain);
    return *value.roll;
}

std::pair<mpz_class, mpz_class> Chances(const Value &condition)
{
    if (condition.certain)
        return { mpz_class(*condition.certain != 0 ? 1 : 0), mpz_class(1) };
    const Distribution &roll = *condition.roll;
    mpz_class yes;
    for (std::size_t i = 0; i < roll.counts.size(); ++i) {
        if (roll.lowest + static_cast<std::int64_t>(i) != 0)
            yes += roll.counts[i];
    }
    return { yes, roll.outcomes };
}

Moments MomentsOf(const Distribution &roll)
{
    if (roll.Unbounded() && roll.moments)
        return *roll.moments;
    return ExactMoments(roll);
}

Value Plus(const Value &a, const Value &b, int sign, const dice::StopToken &stop)
{
    if (a.certain && b.certain)
        return Value::Certain(*a.certain + sign * *b.certain);
    if (b.certain)
        return Value::Rolled(Shifted(*a.roll, sign * *b.certain));
    Distribution right = *b.roll;
    if (sign < 0)
        Negate(right);
    if (a.certain)
        return Value::Rolled(Shifted(right, *a.certain));
    Distribution sum = SumOfRolls(*a.roll, right, everything, stop);
    sum.weighted = a.roll->weighted || right.weighted;
    if (sum.Unbounded())
        sum.moments = Plus(MomentsOf(*a.roll), MomentsOf(right));
    return Value::Rolled(std::move(sum));
}

Value Combined(const Value &a,
    const Value &b,
    const std::function<std::int64_t(std::int64_t, std::int64_t)> &op,
    const dice::StopToken &stop)
{
    if (a.certain && b.certain)
        return Value::Certain(op(*a.certain, *b.certain));
    const Distribution x = AsRoll(a);
    const Distribution y = AsRoll(b);
    std::map<std::int64_t, mpz_class> totals;
    for (std::size_t i = 0; i < x.counts.size(); ++i) {
        Check(stop);
        if (x.counts[i] == 0)
            continue;
        for (std::size_t j = 0; j < y.counts.size(); ++j) {
            if (y.counts[j] != 0)
                totals[op(x.lowest + static_cast<std::int64_t>(i), y.lowest + static_cast<std::int64_t>(j))] +=
                    x.counts[i] * y.counts[j];
        }
    }
    Distribution roll;
    roll.lowest = totals.begin()->first;
    roll.counts.resize(static_cast<std::size_t>(totals.rbegin()->first - roll.lowest + 1));
    for (auto &[total, weight] : totals)
        roll.counts[static_cast<std::size_t>(total - roll.lowest)] = std::move(weight);
    roll.outcomes = x.outcomes * y.outcomes;
    roll.weighted = x.weighted || y.weighted;
    return Value::Rolled(std::move(roll));
}

Value Compared(const Value &a, const Value &b, Compare::Kind kind)
{
    if (a.certain && b.certain) {
        const Compare point { kind, *b.certain };
        return Value::Certain(point.Meets(*a.certain) ? 1 : 0);
    }
    const Distribution x = AsRoll(a);
    const Distribution y = AsRoll(b);
    // below[j]: the weight of y's totals under its j-th.
    std::vector<mpz_class> below(y.counts.size() + 1);
    for (std::size_t j = 0; j < y.counts.size(); ++j)
        below[j + 1] = below[j] + y.counts[j];
    const mpz_class &all = below.back();
    // The weight of y's totals below t, and at t.
    const auto under = [&](std::int64_t t) -> const mpz_class & {
        const std::int64_t j = std::clamp<std::int64_t>(t - y.lowest, 0, static_cast<std::int64_t>(y.counts.size()));
        return below[static_cast<std::size_t>(j)];
    };
    mpz_class yes;
    for (std::size_t i = 0; i < x.counts.size(); ++i) {
        if (x.counts[i] == 0)
            continue;
        const std::int64_t t = x.lowest + static_cast<std::int64_t>(i);
        const mpz_class less = under(t);
        const mpz_class upTo = under(t + 1);
        mpz_class meets;
        switch (kind) {
        case Compare::Kind::Equal:
            meets = upTo - less;
            break;
        case Compare::Kind::NotEqual:
            meets = all - (upTo - less);
            break;
        case Compare::Kind::Greater: // y below t
            meets = less;
            break;
        case Compare::Kind::GreaterEqual:
            meets = upTo;
            break;
        case Compare::Kind::Less:
            meets = all - upTo;
            break;
        case Compare::Kind::LessEqual:
            meets = all - less;
            break;
        case Compare::Kind::None:
            break;
        }
        yes += x.counts[i] * meets;
    }
    return Value::Rolled(Condition(yes, x.outcomes * y.outcomes, x.weighted || y.weighted));
}

Value Both(const Value &a, const Value &b)
{
    if (a.certain)
        return *a.certain != 0 ? b : Value::Certain(0);
    if (b.certain)
        return *b.certain != 0 ? a : Value::Certain(0);
    const auto [yesA, allA] = Chances(a);
    const auto [yesB, allB] = Chances(b);
    return Value::Rolled(Condition(yesA * yesB, allA * allB, a.roll->weighted || b.roll->weighted));
}

Value Either(const Value &a, const Value &b)
{
    return Negated(Both(Negated(a), Negated(b)));
}

Value Negated(const Value &condition)
{
    if (condition.certain)
        return Value::Certain(*condition.certain != 0 ? 0 : 1);
    const auto [yes, all] = Chances(condition);
    return Value::Rolled(Condition(all - yes, all, condition.roll->weighted));
}

Distribution Rerolled(const Distribution &die, Reroll reroll, const Compare &on)
{
    Distribution rolled = die;
    mpz_class meeting;
    for (std::size_t i = 0; i < die.counts.size(); ++i) {
        if (on.Meets(die.lowest + static_cast<std::int64_t>(i))) {
            meeting += die.counts[i];
            rolled.counts[i] = 0;
        }
    }
    // The reader refuses a point every total it can reach meets; where the
    // totals it truly shows all meet one anyway, no reroll could end, and
    // the throw is kept as it fell rather than never.
    if (meeting == die.outcomes)
        return die;
    rolled.weighted = true;
    if (reroll == Reroll::Repeat) {
        // Rerolled until it shows a face that does not meet the point: the
        // faces that do not, each in the same proportion as before.
        rolled.outcomes = die.outcomes - meeting;
    } else {
        // Kept as it fell, or rolled once more and kept whatever it shows.
        for (std::size_t i = 0; i < die.counts.size(); ++i)
            rolled.counts[i] = rolled.counts[i] * die.outcomes + meeting * die.counts[i];
        rolled.outcomes = die.outcomes * die.outcomes;
    }
    Trim(rolled);
    return rolled;
}

void Mixture::Add(const mpz_class &weight, const Value &value)
{
    if (value.certain) {
        const auto found = std::find_if(
            m_certain.begin(), m_certain.end(), [&](const auto &entry) { return entry.first == *value.certain; });
        if (found != m_certain.end())
            found->second += weight;
        else
            m_certain.emplace_back(*value.certain, weight);
        return;
    }
    const auto found =
        std::find_if(m_rolls.begin(), m_rolls.end(), [&](const auto &entry) { return entry.first == value.roll; });
    if (found != m_rolls.end())
        found->second += weight;
    else
        m_rolls.emplace_back(value.roll, weight);
}

void Mixture::Weighted()
{
    m_weighted = true;
}

Distribution Mixture::Result() const
{
    // A common denominator of the rolls: their least common multiple.
    mpz_class common = 1;
    bool alike = true;
    std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
    std::int64_t highest = std::numeric_limits<std::int64_t>::min();
    std::int64_t cut = std::numeric_limits<std::int64_t>::max();
    mpz_class whole;
    bool weighted = m_weighted;
    for (const auto &[total, weight] : m_certain) {
        lowest = std::min(lowest, total);
        highest = std::max(highest, total);
        whole += weight;
    }
    for (const auto &[roll, weight] : m_rolls) {
        alike = alike && roll->outcomes == m_rolls.front().first->outcomes;
        mpz_lcm(common.get_mpz_t(), common.get_mpz_t(), roll->outcomes.get_mpz_t());
        lowest = std::min(lowest, roll->lowest);
        highest = std::max(highest, roll->Highest());
        if (roll->Unbounded())
            cut = std::min(cut, roll->Highest());
        weighted = weighted || roll->weighted;
        whole += weight;
    }
    // Rolls of unlike denominators are put over a common one, which no
    // longer counts equally likely throws.
    weighted = weighted || !alike;
    const std::int64_t last = std::min(highest, cut);
    Distribution mixed;
    mixed.lowest = lowest;
    mixed.counts.resize(static_cast<std::size_t>(last - lowest + 1));
    mixed.outcomes = whole * common;
    mixed.weighted = weighted;
    for (const auto &[total, weight] : m_certain) {
        if (total <= last)
            mixed.counts[static_cast<std::size_t>(total - lowest)] += weight * common;
        else
            mixed.tail += weight * common;
    }
    std::optional<Moments> parts;
    bool unbounded = false;
    for (const auto &[roll, weight] : m_rolls) {
        const mpz_class factor = weight * (common / roll->outcomes);
        for (std::size_t i = 0; i < roll->counts.size(); ++i) {
            const std::int64_t total = roll->lowest + static_cast<std::int64_t>(i);
            if (total <= last)
                mixed.counts[static_cast<std::size_t>(total - lowest)] += factor * roll->counts[i];
            else
                mixed.tail += factor * roll->counts[i];
        }
        mixed.tail += factor * roll->tail;
        unbounded = unbounded || roll->Unbounded();
    }
    if (unbounded) {
        // Each part's mean and second moment weighed by its chance; where a
        // part's moments are bounds, so are the mixture's.
        mpq_class meanLow;
        mpq_class meanHigh;
        mpq_class secondLow;
        mpq_class secondHigh;
        const auto add = [&](const mpq_class &chance, const Moments &m) {
            const auto [leastSquare, mostSquare] = SquareRange(m.meanLow, m.meanHigh);
            meanLow += chance * m.meanLow;
            meanHigh += chance * m.meanHigh;
            secondLow += chance * (m.varianceLow + leastSquare);
            secondHigh += chance * (m.varianceHigh + mostSquare);
        };
        for (const auto &[total, weight] : m_certain)
            add(mpq_class(weight, whole), Moments { Big(total), Big(total), 0, 0 });
        for (const auto &[roll, weight] : m_rolls)
            add(mpq_class(weight, whole), MomentsOf(*roll));
        const auto [leastSquare, mostSquare] = SquareRange(meanLow, meanHigh);
        Moments moments {
            meanLow, meanHigh, std::max(mpq_class(0), mpq_class(secondLow - mostSquare)), secondHigh - leastSquare
        };
        for (mpq_class *q : { &moments.meanLow, &moments.meanHigh, &moments.varianceLow, &moments.varianceHigh })
            q->canonicalize();
        mixed.moments = moments;
    }
    if (weighted)
        Reduce(mixed);
    return mixed;
}

} // namespace dice::detail
