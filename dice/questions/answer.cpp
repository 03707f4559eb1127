#include "dice/questions/answer.h"

#include "dice/bounds/bounds.h"
#include "dice/evaluate/evaluate.h"
#include "dice/limits.h"
#include "dice/pools/number.h"
#include "dice/questions/values.h"
#include "dice/terms/keep.h"
#include "dice/value/weights.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dice::detail
{

namespace
{

using Kind = Form::Kind;
using pools::detail::Wide;

// One throw a name stands for: its total, and for a pool its faces.
struct Bound {
    std::int64_t total = 0;
    const std::vector<std::int64_t> *faces = nullptr;
};

// Every throw a let names, with its weight over `outcomes`.
struct Throws {
    std::vector<std::pair<Bound, mpz_class>> each;
    std::vector<pools::Multiset> multisets; // the faces the bounds point into
    bool weighted = false;
};

// A weight known to fit a Wide, most often in one limb.
Wide WideOf(const mpz_class &weight)
{
    if (mpz_fits_ulong_p(weight.get_mpz_t()))
        return mpz_get_ui(weight.get_mpz_t());
    return pools::detail::FromMpz<Wide>(weight);
}

// The widest span of totals a let's readings are added up in machine
// integers for, one entry a total: past it they go through the mixture.
constexpr std::int64_t widestMachineSpan = 1 << 16;

pools::Kind DieKind(const Distribution &die, int count)
{
    pools::Kind kind;
    kind.count = count;
    for (std::size_t i = 0; i < die.counts.size(); ++i) {
        if (die.counts[i] != 0) {
            kind.faces.push_back(die.lowest + static_cast<std::int64_t>(i));
            kind.weights.push_back(die.counts[i]);
        }
    }
    return kind;
}

// Members written alike are one kind of several dice.
void AddKind(pools::Pool &pool, pools::Kind kind)
{
    for (pools::Kind &other : pool.kinds) {
        if (other.faces == kind.faces && other.weights == kind.weights) {
            other.count += kind.count;
            return;
        }
    }
    pool.kinds.push_back(std::move(kind));
}

class Asker
{
public:
    Asker(const Question &question, const dice::StopToken &stop, std::int64_t through)
        : m_question(question)
        , m_stop(stop)
        , m_bound(static_cast<std::size_t>(question.slots))
    {
        ListUnbounded(question.root, through);
    }

    Distribution Answer()
    {
        Distribution answer = AsRoll(Evaluate(m_question.root));
        if (m_question.root.gives == Gives::Labels) {
            // Every label has its row, in the order written.
            Distribution labelled;
            labelled.counts.resize(m_question.labels.size());
            for (std::size_t i = 0; i < answer.counts.size(); ++i)
                labelled.counts[static_cast<std::size_t>(answer.lowest) + i] = answer.counts[i];
            labelled.outcomes = answer.outcomes;
            labelled.weighted = answer.weighted;
            labelled.labels = m_question.labels;
            return labelled;
        }
        Trim(answer);
        return answer;
    }

private:
    // Rolls with no highest total are all listed as far as the one listed
    // furthest, and past it by as much as the bounded parts beside them can
    // move them, so that a mixture of them cut at the shortest keeps every
    // total each would list alone.
    void ListUnbounded(const Form &root, std::int64_t through)
    {
        std::vector<const Form *> unbounded;
        std::int64_t spread = 0;
        const auto visit = [&](const Form &form, const auto &self) -> void {
            if (form.kind == Kind::Roll && !form.highest)
                unbounded.push_back(&form);
            else if (form.highest && (form.kind == Kind::Roll || form.kind == Kind::Let))
                spread += *form.highest - form.lowest;
            for (const Form &operand : form.operands)
                self(operand, self);
            if (form.kind == Kind::Let) {
                for (std::size_t i = 0; i + 1 < form.operands.size(); ++i)
                    spread += *form.operands[i].highest - form.operands[i].lowest;
            }
        };
        visit(root, visit);
        if (unbounded.empty())
            return;
        std::int64_t furthest = through;
        for (const Form *form : unbounded)
            furthest = std::max(furthest, EvaluateRoll(form->roll, m_stop).Highest());
        m_through = furthest + std::min(spread, maxListedPast);
        for (const Form *form : unbounded)
            m_cache[form] = Value::Rolled(EvaluateRoll(form->roll, m_stop, m_through));
    }

    Value Evaluate(const Form &form)
    {
        if (form.kind == Kind::Roll && form.number)
            return Value::Certain(*form.number);
        if (!form.closed)
            return Count(form);
        const auto found = m_cache.find(&form);
        if (found != m_cache.end())
            return found->second;
        Value value = Count(form);
        m_cache.emplace(&form, value);
        return value;
    }

    Value Count(const Form &form)
    {
        Check(m_stop);
        const std::vector<Form> &operands = form.operands;
        switch (form.kind) {
        case Kind::Roll:
            return Value::Rolled(EvaluateRoll(form.roll, m_stop));
        case Kind::Name:
            return Value::Certain(m_bound[static_cast<std::size_t>(form.slot)].total);
        case Kind::Label:
            return Value::Certain(form.label);
        case Kind::Let: {
            if (std::optional<Distribution> read = ReadCertain(form))
                return Value::Rolled(std::move(*read));
            Mixture mixture;
            Read(form, 0, mpz_class(1), mixture);
            return Value::Rolled(mixture.Result());
        }
        case Kind::If:
            return Chosen(form);
        case Kind::Compare:
            return Compared(Evaluate(operands[0]), Evaluate(operands[1]), form.comparison);
        case Kind::And: {
            const Value first = Evaluate(operands[0]);
            if (first.certain && *first.certain == 0)
                return first;
            return Both(first, Evaluate(operands[1]));
        }
        case Kind::Or: {
            const Value first = Evaluate(operands[0]);
            if (first.certain && *first.certain != 0)
                return first;
            return Either(first, Evaluate(operands[1]));
        }
        case Kind::Not:
            return Negated(Evaluate(operands[0]));
        case Kind::Sum: {
            Value sum = Value::Certain(0);
            for (std::size_t i = 0; i < operands.size(); ++i)
                sum = Plus(sum, Evaluate(operands[i]), form.signs[i], m_stop);
            return sum;
        }
        case Kind::Product:
            return Combined(
                Evaluate(operands[0]),
                Evaluate(operands[1]),
                [](std::int64_t a, std::int64_t b) { return a * b; },
                m_stop);
        case Kind::Divide:
            return Combined(
                Evaluate(operands[0]),
                Evaluate(operands[1]),
                [&](std::int64_t a, std::int64_t b) { return Rounded(a, b, form.rounding); },
                m_stop);
        case Kind::Abs:
            return Combined(
                Evaluate(operands[0]),
                Value::Certain(0),
                [](std::int64_t a, std::int64_t) { return a < 0 ? -a : a; },
                m_stop);
        case Kind::Pick:
            return Combined(
                Evaluate(operands[0]),
                Evaluate(operands[1]),
                [&](std::int64_t a, std::int64_t b) {
                    return form.pick == Pick::Highest ? std::max(a, b) : std::min(a, b);
                },
                m_stop);
        case Kind::PoolRead: {
            const Form &pool = operands[0];
            if (pool.kind == Kind::Name)
                return Value::Certain(
                    pools::ReadThrow(*m_bound[static_cast<std::size_t>(pool.slot)].faces, form.reading));
            Distribution read = pools::Read(PoolOf(pool), form.reading, m_stop);
            read.weighted = PoolWeighted(pool);
            return Value::Rolled(std::move(read));
        }
        case Kind::Repeat:
            return Value::Rolled(Repeated(form));
        }
        return Value::Certain(0);
    }

    Value Chosen(const Form &form)
    {
        const Value test = Evaluate(form.operands[0]);
        if (test.certain)
            return Evaluate(form.operands[*test.certain != 0 ? 1 : 2]);
        const auto [yes, all] = Chances(test);
        Mixture mixture;
        if (test.roll->weighted)
            mixture.Weighted();
        if (yes != 0)
            mixture.Add(yes, Evaluate(form.operands[1]));
        if (yes != all)
            mixture.Add(all - yes, Evaluate(form.operands[2]));
        return Value::Rolled(mixture.Result());
    }

    // Reads what follows 'in' once per throw of each name in turn; a let
    // right after 'in' goes on naming in the same loop.
    void Read(const Form &let, std::size_t i, const mpz_class &weight, Mixture &mixture)
    {
        const std::size_t names = let.operands.size() - 1;
        if (i == names) {
            const Form &body = let.operands.back();
            if (body.kind == Kind::Let) {
                Read(body, 0, weight, mixture);
                return;
            }
            mixture.Add(weight, Evaluate(body));
            return;
        }
        const std::shared_ptr<const Throws> throws = ThrowsOf(let.operands[i]);
        if (throws->weighted)
            mixture.Weighted();
        const auto slot = static_cast<std::size_t>(let.slot) + i;
        const Bound before = m_bound[slot];
        mpz_class product;
        for (const auto &[bound, each] : throws->each) {
            Check(m_stop);
            m_bound[slot] = bound;
            product = weight * each;
            Read(let, i + 1, product, mixture);
        }
        m_bound[slot] = before;
    }

    // Whether the form is one certain total once the names it reads stand
    // for their throws: it throws no dice of its own.
    static bool Determined(const Form &form)
    {
        switch (form.kind) {
        case Kind::Roll:
            return form.number.has_value();
        case Kind::Name:
        case Kind::Label:
            return true;
        case Kind::Let:
        case Kind::Repeat:
            return false;
        case Kind::PoolRead:
            return form.operands[0].kind == Kind::Name;
        default:
            return std::all_of(form.operands.begin(), form.operands.end(), Determined);
        }
    }

    // A Determined form's total, as Evaluate would give it certain.
    std::int64_t CertainTotal(const Form &form) const
    {
        const std::vector<Form> &operands = form.operands;
        switch (form.kind) {
        case Kind::Roll:
            return *form.number;
        case Kind::Name:
            return m_bound[static_cast<std::size_t>(form.slot)].total;
        case Kind::Label:
            return form.label;
        case Kind::If:
            return CertainTotal(operands[CertainTotal(operands[0]) != 0 ? 1 : 2]);
        case Kind::Compare: {
            const Compare point { form.comparison, CertainTotal(operands[1]) };
            return point.Meets(CertainTotal(operands[0])) ? 1 : 0;
        }
        case Kind::And:
            return CertainTotal(operands[0]) != 0 && CertainTotal(operands[1]) != 0 ? 1 : 0;
        case Kind::Or:
            return CertainTotal(operands[0]) != 0 || CertainTotal(operands[1]) != 0 ? 1 : 0;
        case Kind::Not:
            return CertainTotal(operands[0]) == 0 ? 1 : 0;
        case Kind::Sum: {
            std::int64_t sum = 0;
            for (std::size_t i = 0; i < operands.size(); ++i)
                sum += form.signs[i] * CertainTotal(operands[i]);
            return sum;
        }
        case Kind::Product:
            return CertainTotal(operands[0]) * CertainTotal(operands[1]);
        case Kind::Divide:
            return Rounded(CertainTotal(operands[0]), CertainTotal(operands[1]), form.rounding);
        case Kind::Abs: {
            const std::int64_t a = CertainTotal(operands[0]);
            return a < 0 ? -a : a;
        }
        case Kind::Pick: {
            const std::int64_t a = CertainTotal(operands[0]);
            const std::int64_t b = CertainTotal(operands[1]);
            return form.pick == Pick::Highest ? std::max(a, b) : std::min(a, b);
        }
        case Kind::PoolRead:
            return pools::ReadThrow(*m_bound[static_cast<std::size_t>(operands[0].slot)].faces, form.reading);
        case Kind::Let:
        case Kind::Repeat:
            break;
        }
        return 0;
    }

    // A let, and the lets right after its 'in', whose names are thrown
    // apart from every reading and whose body is certain once they are
    // bound, is read with its weights in machine integers where the product
    // of the names' denominators fits one: GMP and the values each reading
    // builds would cost more than the reading itself. Empty where it does
    // not apply, for Read to count it.
    std::optional<Distribution> ReadCertain(const Form &let)
    {
        std::vector<std::pair<const Form *, std::size_t>> names; // each with its slot
        const Form *body = &let;
        for (; body->kind == Kind::Let; body = &body->operands.back()) {
            for (std::size_t i = 0; i + 1 < body->operands.size(); ++i)
                names.emplace_back(&body->operands[i], static_cast<std::size_t>(body->slot) + i);
        }
        if (!body->highest || *body->highest - body->lowest >= widestMachineSpan || !Determined(*body)
            || !std::all_of(names.begin(), names.end(), [](const auto &name) { return name.first->closed; }))
            return std::nullopt;
        std::vector<std::shared_ptr<const Throws>> throws;
        mpz_class whole = 1;
        bool weighted = false;
        for (const auto &name : names) {
            throws.push_back(ThrowsOf(*name.first));
            mpz_class sum;
            for (const auto &[bound, weight] : throws.back()->each)
                sum += weight;
            whole *= sum;
            weighted = weighted || throws.back()->weighted;
            if (!pools::detail::FitsWide(whole))
                return std::nullopt;
        }
        // Each weight is at most its name's sum, and so fits.
        std::vector<std::vector<Wide>> wide(throws.size());
        for (std::size_t i = 0; i < throws.size(); ++i) {
            for (const auto &[bound, weight] : throws[i]->each)
                wide[i].push_back(WideOf(weight));
        }
        std::vector<Wide> totals(static_cast<std::size_t>(*body->highest - body->lowest + 1));
        const std::vector<Bound> before = m_bound;
        bool inReach = true;
        // Every product of weights, and every sum of them, is at most `whole`.
        const auto walk = [&](std::size_t i, Wide weight, const auto &self) -> void {
            if (i == throws.size()) {
                const auto at = static_cast<std::uint64_t>(CertainTotal(*body) - body->lowest);
                if (at < totals.size())
                    totals[static_cast<std::size_t>(at)] += weight;
                else
                    inReach = false;
                return;
            }
            Check(m_stop);
            const Throws &each = *throws[i];
            const std::size_t slot = names[i].second;
            for (std::size_t t = 0; t < each.each.size(); ++t) {
                m_bound[slot] = each.each[t].first;
                self(i + 1, weight * wide[i][t], self);
            }
        };
        walk(0, 1, walk);
        m_bound = before;
        // A total outside the reach would be a fault of the reach; the
        // mixture counts it all the same.
        if (!inReach)
            return std::nullopt;
        // As the mixture of these certain totals would list them.
        std::size_t first = 0;
        while (totals[first] == 0)
            ++first;
        std::size_t last = totals.size() - 1;
        while (totals[last] == 0)
            --last;
        Distribution read;
        read.lowest = body->lowest + static_cast<std::int64_t>(first);
        for (std::size_t i = first; i <= last; ++i)
            read.counts.push_back(pools::detail::ToMpz(totals[i]));
        read.outcomes = whole;
        read.weighted = weighted;
        if (weighted)
            Reduce(read);
        return read;
    }

    std::shared_ptr<const Throws> ThrowsOf(const Form &named)
    {
        if (named.closed) {
            const auto found = m_throws.find(&named);
            if (found != m_throws.end())
                return found->second;
        }
        auto throws = std::make_shared<Throws>();
        if (named.kind == Kind::Name) {
            throws->each.emplace_back(m_bound[static_cast<std::size_t>(named.slot)], mpz_class(1));
        } else if (named.pool) {
            throws->multisets = pools::Multisets(PoolOf(named), m_stop);
            throws->weighted = PoolWeighted(named);
            for (const pools::Multiset &multiset : throws->multisets) {
                std::int64_t total = 0;
                for (const std::int64_t face : multiset.faces)
                    total += face;
                throws->each.emplace_back(Bound { total, &multiset.faces }, multiset.weight);
            }
        } else {
            const Distribution roll = AsRoll(Evaluate(named));
            throws->weighted = roll.weighted;
            for (std::size_t t = 0; t < roll.counts.size(); ++t) {
                if (roll.counts[t] != 0)
                    throws->each.emplace_back(Bound { roll.lowest + static_cast<std::int64_t>(t) }, roll.counts[t]);
            }
        }
        if (named.closed)
            m_throws.emplace(&named, throws);
        return throws;
    }

    // The die one member of a pool is: a term's die, a group's member, or
    // the roll Nd(A) throws, rerolled as it says.
    Distribution ThrownDie(const Form &form)
    {
        Distribution die = AsRoll(Evaluate(form.operands[0]));
        if (form.reroll != Reroll::None)
            die = Rerolled(die, form.reroll, form.rerollOn);
        return die;
    }

    pools::Pool PoolOf(const Form &form)
    {
        pools::Pool pool;
        if (form.kind == Kind::Repeat) {
            pool.kinds.push_back(DieKind(ThrownDie(form), form.times));
        } else if (!form.operands.empty()) {
            for (const Form &member : form.operands)
                AddKind(pool, DieKind(AsRoll(Evaluate(member)), 1));
        } else {
            const Term &term = form.roll.terms[0];
            AddKind(pool, DieKind(EvaluateRoll(Expression({ term.OneDie() }), m_stop), term.dice));
        }
        return pool;
    }

    bool PoolWeighted(const Form &form)
    {
        if (form.kind == Kind::Repeat)
            return form.reroll != Reroll::None || AsRoll(Evaluate(form.operands[0])).weighted;
        if (!form.operands.empty())
            return std::any_of(form.operands.begin(), form.operands.end(), [&](const Form &member) {
                return AsRoll(Evaluate(member)).weighted;
            });
        return !form.roll.terms[0].Plain();
    }

    Distribution Repeated(const Form &form)
    {
        const Distribution die = ThrownDie(form);
        Distribution thrown;
        if (form.pick == Pick::All && form.success.kind == Compare::Kind::None) {
            thrown = SumOfAlike(die, form.times, *form.highest, m_stop);
        } else {
            Term term;
            term.dice = form.times;
            term.pick = form.pick;
            term.kept = form.pick == Pick::All ? form.times : form.kept;
            term.success = form.success;
            term.failure = form.failure;
            thrown = Keep(die, term, *form.highest, m_stop, false);
        }
        thrown.weighted = die.weighted;
        Trim(thrown);
        return thrown;
    }

    const Question &m_question;
    dice::StopToken m_stop;
    std::vector<Bound> m_bound; // what each name stands for now
    std::int64_t m_through = 0;
    std::unordered_map<const Form *, Value> m_cache; // forms that read no outer name
    std::unordered_map<const Form *, std::shared_ptr<const Throws>> m_throws;
};

} // namespace

Distribution Answer(const Question &question, const dice::StopToken &stop, std::int64_t through)
{
    return Asker(question, stop, through).Answer();
}

} // namespace dice::detail
