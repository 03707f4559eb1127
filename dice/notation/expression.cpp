#include "dice/notation/expression.h"

namespace dice
{

bool Compare::Meets(std::int64_t x) const
{
    switch (kind) {
    case Kind::None:
        return false;
    case Kind::Equal:
        return x == value;
    case Kind::NotEqual:
        return x != value;
    case Kind::Greater:
        return x > value;
    case Kind::GreaterEqual:
        return x >= value;
    case Kind::Less:
        return x < value;
    case Kind::LessEqual:
        return x <= value;
    }
    return false;
}

bool Compare::MeetsUpward() const
{
    return kind == Kind::NotEqual || kind == Kind::Greater || kind == Kind::GreaterEqual;
}

bool Term::Plain() const
{
    return faces.empty() && !hasMinimum && !hasMaximum && explode == Explode::None && reroll == Reroll::None
        && success.kind == Compare::Kind::None;
}

std::vector<std::int64_t> Term::Faces() const
{
    if (!faces.empty())
        return faces;
    std::vector<std::int64_t> all;
    for (int face = 1; face <= sides; ++face)
        all.push_back(fudge ? face - 2 : face);
    return all;
}

Term Term::OneDie() const
{
    Term one = *this;
    one.dice = 1;
    one.kept = 1;
    one.pick = Pick::All;
    return one;
}

namespace
{

void VisitTerms(const Node &node, const std::function<void(const Term &)> &visit)
{
    for (const Term &term : node.terms)
        visit(term);
    for (const Node &operand : node.operands)
        VisitTerms(operand, visit);
}

} // namespace

void ForEachTerm(const Expression &expression, const std::function<void(const Term &)> &visit)
{
    for (const Term &term : expression.terms)
        visit(term);
    if (expression.tree)
        VisitTerms(*expression.tree, visit);
}

} // namespace dice
