#include "dice/parse/checks.h"

#include "dice/bounds/rules.h"
#include "dice/limits.h"
#include "dice/notation/errors.h"
#include "dice/terms/die.h"

namespace dice::detail
{

bool Flat(const Node &node)
{
    return node.kind == Node::Kind::Sum && node.operands.empty();
}

// Every result in between keeps the limits a whole expression keeps.
void CheckBounds(const Node &node, std::size_t at)
{
    const Bounds bounds = NodeBounds(node);
    if (bounds.lowest < -maxTotal || bounds.highest.value_or(0) > maxTotal)
        throw ParseError(ErrorCode::TotalTooLarge, at);
    if (SpansTooMany(bounds.span))
        throw ParseError(ErrorCode::SpanTooLarge, at);
    CheckListing(bounds, at);
}

// A roll that explodes, listed far past its own end, takes time and
// memory that grow with the square of the distance.
void CheckListing(const Bounds &bounds, std::size_t at)
{
    if (bounds.pushed > maxListedPast)
        throw ParseError(ErrorCode::ListedTooFar, at, { bounds.pushed });
}

// Products, divisions and abs need their operands' highest totals.
void Bounded(const Node &node, std::size_t at, const char *what)
{
    if (!NodeBounds(node).highest)
        throw ParseError(ErrorCode::UnboundedOperand, at, {}, what);
}

void Deeper(int depth, std::size_t at)
{
    if (depth + 1 > maxDepth)
        throw ParseError(ErrorCode::TooDeep, at);
}

void AddTerm(Node &sum, Term term, std::int64_t &span, std::size_t start)
{
    if (term.explode != Explode::None && term.sign < 0 && !TermReach(term).highest)
        throw ParseError(ErrorCode::UnboundedSubtracted, start);
    // Dice of equal faces span what their sides say, without a look at their faces.
    if (term.dice > 0)
        span += term.Plain() ? static_cast<std::int64_t>(term.kept) * (term.sides - 1) : TermSpan(term);
    if (SpansTooMany(span))
        throw ParseError(ErrorCode::SpanTooLarge, start);
    sum.terms.push_back(std::move(term));
    CheckListing(NodeBounds(sum), start);
}

void AddPart(Node &sum, Node part, int sign, std::int64_t &span, std::size_t start)
{
    if (Flat(part) && part.terms.size() == 1) {
        part.terms.front().sign *= sign;
        AddTerm(sum, std::move(part.terms.front()), span, start);
        return;
    }
    const Bounds bounds = NodeBounds(part);
    if (sign < 0 && !bounds.highest)
        throw ParseError(ErrorCode::UnboundedSubtracted, start);
    span += bounds.span;
    if (SpansTooMany(span))
        throw ParseError(ErrorCode::SpanTooLarge, start);
    if (Flat(part)) {
        for (Term &term : part.terms) {
            term.sign *= sign;
            sum.terms.push_back(std::move(term));
        }
    } else {
        sum.operands.push_back(std::move(part));
        sum.signs.push_back(sign);
    }
    CheckListing(NodeBounds(sum), start);
}

} // namespace dice::detail
