#include "dice/questions/reach.h"

#include "dice/bounds/bounds.h"
#include "dice/limits.h"
#include "dice/notation/errors.h"
#include "dice/terms/die.h"

#include <algorithm>
#include <array>
#include <set>

namespace dice::detail
{

namespace
{

using Kind = Form::Kind;
using Function = pools::Reading::Function;

__extension__ typedef __int128 Int128;

// Any count past this is refused, whatever it is.
constexpr std::int64_t countCap = std::int64_t { 1 } << 60;

bool Bounded(const Form &form)
{
    return form.highest.has_value();
}

void SetSpan(Form &form, std::int64_t lowest, std::int64_t highest)
{
    if (std::max(-lowest, highest) > maxTotal)
        throw ParseError(ErrorCode::TotalTooLarge, form.at);
    if (highest - lowest + 1 > maxSpan)
        throw ParseError(ErrorCode::SpanTooLarge, form.at);
    form.lowest = lowest;
    form.highest = highest;
}

// Products and quotients are monotone in each operand over a rectangle
// that holds no zero divisor, so the corners bound them.
template <typename Op> void SetCorners(Form &form, Op op)
{
    const Form &a = form.operands[0];
    const Form &b = form.operands[1];
    std::array<std::int64_t, 4> corners {};
    std::size_t i = 0;
    for (const std::int64_t x : { a.lowest, *a.highest }) {
        for (const std::int64_t y : { b.lowest, *b.highest })
            corners[i++] = op(x, y);
    }
    SetSpan(form, *std::min_element(corners.begin(), corners.end()), *std::max_element(corners.begin(), corners.end()));
}

// Products of totals each within maxTotal stay within 128 bits; beyond
// maxTotal they are refused anyway.
std::int64_t ClampedProduct(std::int64_t x, std::int64_t y)
{
    const Int128 product = static_cast<Int128>(x) * y;
    const Int128 limit = maxTotal + 1;
    return static_cast<std::int64_t>(std::clamp(product, -limit, limit));
}

void SetPoolReadReach(Form &form)
{
    const Form &pool = form.operands[0];
    const int n = pool.poolDice;
    switch (form.reading.function) {
    case Function::Highest:
    case Function::Lowest:
    case Function::Nth:
        SetSpan(form, pool.faceLowest, pool.faceHighest);
        return;
    case Function::Count:
        SetSpan(form, 0, n);
        return;
    case Function::LargestCount:
        SetSpan(form, 1, n);
        return;
    case Function::Sets:
        SetSpan(form, 0, n / form.reading.k);
        return;
    case Function::LargestStraight:
        SetSpan(form, 1, std::min<std::int64_t>(n, pool.faceHighest - pool.faceLowest + 1));
        return;
    }
}

void SetRepeatReach(Form &form)
{
    const Form &thrown = form.operands[0];
    const std::int64_t n = form.times;
    if (form.success.kind != Compare::Kind::None) {
        SetSpan(form, form.failure.kind != Compare::Kind::None ? -n : 0, n);
        return;
    }
    const std::int64_t dice = form.pick == Pick::All ? n : form.kept;
    SetSpan(form, ClampedProduct(thrown.lowest, dice), ClampedProduct(*thrown.highest, dice));
}

} // namespace

std::int64_t CappedProduct(std::int64_t a, std::int64_t b, std::int64_t cap)
{
    if (a != 0 && b > cap / a)
        return cap;
    return std::min(a * b, cap);
}

std::int64_t CappedBinomial(std::int64_t n, std::int64_t k, std::int64_t cap)
{
    k = std::min(k, n - k);
    if (k < 0)
        return 0;
    // Each partial product is itself a binomial, so it divides exactly.
    Int128 ways = 1;
    for (std::int64_t i = 1; i <= k; ++i) {
        ways = ways * (n - k + i) / i;
        if (ways > cap)
            return cap;
    }
    return static_cast<std::int64_t>(ways);
}

void SetRollReach(Form &form)
{
    const Expression &roll = form.roll;
    const Bounds bounds = roll.tree ? NodeBounds(*roll.tree) : TermsBounds(roll.terms);
    form.lowest = bounds.lowest;
    form.highest = bounds.highest;
    form.throws = bounds.highest ? std::min(*bounds.highest - bounds.lowest + 1, countCap) : countCap;
    if (roll.tree || roll.terms.size() != 1)
        return;
    const Term &term = roll.terms[0];
    if (term.dice == 0 && term.sign * term.number == bounds.lowest)
        form.number = bounds.lowest;
    const bool keepsAll = term.pick == Pick::All || term.kept == term.dice;
    if (term.dice == 0 || term.sign < 0 || !keepsAll || term.explode != Explode::None
        || term.success.kind != Compare::Kind::None)
        return;
    const Reach die = TermReach(term.OneDie());
    form.pool = true;
    form.poolDice = term.dice;
    form.faceLowest = die.lowest;
    form.faceHighest = *die.highest;
    const std::vector<std::int64_t> all = term.Faces();
    const auto faces =
        std::min<std::int64_t>(static_cast<std::int64_t>(std::set<std::int64_t>(all.begin(), all.end()).size()),
            *die.highest - die.lowest + 1);
    form.throws = CappedBinomial(term.dice + faces - 1, faces - 1, countCap);
}

void SetReach(Form &form)
{
    const std::vector<Form> &operands = form.operands;
    switch (form.kind) {
    case Kind::Roll:
        SetRollReach(form);
        return;
    case Kind::Name:
    case Kind::Label:
        return;
    case Kind::Let:
        form.lowest = operands.back().lowest;
        form.highest = operands.back().highest;
        break;
    case Kind::If:
        form.lowest = std::min(operands[1].lowest, operands[2].lowest);
        form.highest.reset();
        if (Bounded(operands[1]) && Bounded(operands[2]))
            form.highest = std::max(*operands[1].highest, *operands[2].highest);
        break;
    case Kind::Compare:
    case Kind::And:
    case Kind::Or:
    case Kind::Not:
        SetSpan(form, 0, 1);
        break;
    case Kind::Sum: {
        std::int64_t lowest = 0;
        std::int64_t highest = 0;
        bool bounded = true;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            const Form &part = operands[i];
            if (form.signs[i] > 0) {
                lowest += part.lowest;
                bounded = bounded && Bounded(part);
                highest += Bounded(part) ? *part.highest : 0;
            } else {
                lowest -= *part.highest;
                highest -= part.lowest;
            }
            if (std::max(-lowest, bounded ? highest : 0) > maxTotal)
                throw ParseError(ErrorCode::TotalTooLarge, form.at);
        }
        if (bounded) {
            SetSpan(form, lowest, highest);
        } else {
            form.lowest = lowest;
            form.highest.reset();
        }
        break;
    }
    case Kind::Product:
        SetCorners(form, ClampedProduct);
        break;
    case Kind::Divide:
        SetCorners(form, [&](std::int64_t x, std::int64_t y) { return Rounded(x, y, form.rounding); });
        break;
    case Kind::Abs: {
        const Form &part = operands[0];
        if (part.lowest >= 0)
            SetSpan(form, part.lowest, *part.highest);
        else if (*part.highest <= 0)
            SetSpan(form, -*part.highest, -part.lowest);
        else
            SetSpan(form, 0, std::max(-part.lowest, *part.highest));
        break;
    }
    case Kind::Pick: {
        const Form &a = operands[0];
        const Form &b = operands[1];
        if (form.pick == Pick::Highest)
            SetSpan(form, std::max(a.lowest, b.lowest), std::max(*a.highest, *b.highest));
        else
            SetSpan(form, std::min(a.lowest, b.lowest), std::min(*a.highest, *b.highest));
        break;
    }
    case Kind::PoolRead:
        SetPoolReadReach(form);
        break;
    case Kind::Repeat:
        SetRepeatReach(form);
        break;
    }
    form.throws = form.highest ? std::min(*form.highest - form.lowest + 1, countCap) : countCap;
}

} // namespace dice::detail
