#include "dice/limits.h"
#include "dice/pools/fold.h"
#include "dice/value/weights.h"
#include "dice/value/wide.h"

#include <algorithm>

namespace dice::pools
{

namespace
{

using detail::Layout;

// The multisets found face by face, rising. For each number of dice that
// can show a face it keeps the ways of every split of the dice left among
// the kinds, so that a multiset reached by several splits is found once.
class Lister
{
public:
    Lister(const Layout &layout, const dice::StopToken &stop)
        : m_layout(layout)
        , m_stop(stop)
        , m_ways(layout.faces.size())
        , m_levels(layout.faces.size() + 1, std::vector<mpz_class>(static_cast<std::size_t>(layout.states)))
        , m_products(layout.counts.size())
    {
        for (std::size_t face = 0; face < layout.faces.size(); ++face) {
            detail::WaysAt(layout, static_cast<int>(face), true, m_ways[face]);
            if (face + 1 < layout.faces.size())
                m_ways[face + 1] = m_ways[face];
        }
        m_levels[0].back() = 1;
    }

    std::vector<Multiset> List()
    {
        Visit(0, m_layout.dice);
        return std::move(m_found);
    }

private:
    void Visit(std::size_t face, int left)
    {
        if (face == m_layout.faces.size()) {
            m_found.push_back(Multiset { m_shown, m_levels[face][0] });
            return;
        }
        dice::detail::Check(m_stop);
        const std::vector<mpz_class> &from = m_levels[face];
        std::vector<mpz_class> &to = m_levels[face + 1];
        for (int showing = 0; showing <= left; ++showing) {
            for (mpz_class &ways : to)
                ways = 0;
            bool shows = false;
            for (std::size_t index = 0; index < from.size(); ++index) {
                if (from[index] == 0)
                    continue;
                auto add = [&](int after, int shown, const mpz_class &ways) {
                    if (shown != showing)
                        return;
                    detail::AddProduct(to[static_cast<std::size_t>(after)], from[index], ways);
                    shows = true;
                };
                const int state = static_cast<int>(index);
                detail::ForEachShowing(m_layout, m_ways[face], m_products, 0, state, state, 0, m_one, add);
            }
            if (!shows)
                continue;
            m_shown.insert(m_shown.end(), static_cast<std::size_t>(showing), m_layout.faces[face]);
            Visit(face + 1, left - showing);
            m_shown.resize(m_shown.size() - static_cast<std::size_t>(showing));
        }
    }

    const Layout &m_layout;
    const dice::StopToken &m_stop;
    std::vector<detail::FaceWays<mpz_class>> m_ways; // of each face
    std::vector<std::vector<mpz_class>> m_levels; // before each face, the ways of each state index
    std::vector<mpz_class> m_products;
    const mpz_class m_one = 1;
    std::vector<std::int64_t> m_shown;
    std::vector<Multiset> m_found;
};

// The multisets of dice all of one kind, which need no states: a multiset
// showing c_f dice on each face f weighs the ways to order it,
// n! / (c_1! c_2! ...), times each face's weight to the power c_f. Listed
// in the order the Lister lists them.
class OneKindLister
{
public:
    OneKindLister(const Kind &kind, const dice::StopToken &stop)
        : m_kind(kind)
        , m_stop(stop)
        , m_powers(kind.faces.size())
        , m_weights(kind.faces.size() + 1)
    {
        for (std::size_t face = 0; face < kind.faces.size(); ++face) {
            m_powers[face].resize(static_cast<std::size_t>(kind.count + 1));
            m_powers[face][0] = 1;
            for (std::size_t c = 1; c < m_powers[face].size(); ++c)
                m_powers[face][c] = m_powers[face][c - 1] * kind.weights[face];
        }
        m_weights[0] = 1;
    }

    std::vector<Multiset> List()
    {
        Visit(0, m_kind.count);
        return std::move(m_found);
    }

private:
    void Visit(std::size_t face, int left)
    {
        if (face + 1 == m_kind.faces.size()) {
            m_shown.insert(m_shown.end(), static_cast<std::size_t>(left), m_kind.faces[face]);
            m_found.push_back(Multiset { m_shown, m_weights[face] * m_powers[face][static_cast<std::size_t>(left)] });
            m_shown.resize(m_shown.size() - static_cast<std::size_t>(left));
            return;
        }
        dice::detail::Check(m_stop);
        for (int showing = 0; showing <= left; ++showing) {
            mpz_class &weight = m_weights[face + 1];
            mpz_bin_uiui(weight.get_mpz_t(), static_cast<unsigned long>(left), static_cast<unsigned long>(showing));
            weight *= m_weights[face];
            weight *= m_powers[face][static_cast<std::size_t>(showing)];
            m_shown.insert(m_shown.end(), static_cast<std::size_t>(showing), m_kind.faces[face]);
            Visit(face + 1, left - showing);
            m_shown.resize(m_shown.size() - static_cast<std::size_t>(showing));
        }
    }

    const Kind &m_kind;
    const dice::StopToken &m_stop;
    std::vector<std::vector<mpz_class>> m_powers; // [face][c]: the face's weight to the c-th
    std::vector<mpz_class> m_weights; // before each face, the weight of the faces placed
    std::vector<std::int64_t> m_shown;
    std::vector<Multiset> m_found;
};

} // namespace

std::int64_t MultisetCount(const Pool &pool, std::int64_t cap)
{
    // One kind shows every multiset of its count among its faces. Several
    // show at most the product of each kind's number, and at most every
    // multiset of all their dice among all their faces: the lesser of the
    // two is exact for one kind and an upper bound for several, whose
    // throws coincide where they share faces.
    mpz_class product = 1;
    std::vector<std::int64_t> faces;
    long dice = 0;
    for (const Kind &kind : detail::MergedKinds(pool)) {
        product *= dice::detail::Binomial(kind.count + static_cast<long>(kind.faces.size()) - 1, kind.count);
        faces.insert(faces.end(), kind.faces.begin(), kind.faces.end());
        dice += kind.count;
    }
    std::sort(faces.begin(), faces.end());
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    if (dice > 0)
        product = std::min(product, dice::detail::Binomial(dice + static_cast<long>(faces.size()) - 1, dice));
    return product > Big(cap) ? cap : Small(product);
}

std::vector<Multiset> Multisets(const Pool &pool, const dice::StopToken &stop)
{
    const std::vector<Kind> kinds = detail::MergedKinds(pool);
    if (kinds.size() == 1 && kinds[0].count < maxPoolStates)
        return OneKindLister(kinds[0], stop).List();
    const Layout layout = detail::LayOut(pool);
    return Lister(layout, stop).List();
}

} // namespace dice::pools
