#pragma once

// A reading counted face by face, as a small state machine is fed the faces
// in turn with the number of dice showing each. A state is the dice of each
// kind not yet placed and the rule's own state; its weight sums every way
// of placing the dice placed so far. A face takes k of the r dice left of a
// kind in Binomial(r, k) * w^k ways, and a kind's last face takes all it has
// left. A state whose result is already known leaves the count at once: the
// dice it has left show any of the faces to come, in (their weight)^r ways.
//
// A rule gives its number of states (its first is 0), the state after a face
// shown on `shown` dice (`adjacent`: the face is one step on from the face
// before it), and the slot of its result where that is known with `left`
// dice to place, or -1; with no dice left every result is known.

#include "dice/pools/layout.h"
#include "dice/pools/number.h"
#include "dice/value/stop.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace dice::pools::detail
{

// The ways k of r dice of each kind show one face, [kind][r * (count + 1) + k].
template <class Number> struct FaceWays {
    std::vector<std::vector<Number>> ways;
    std::vector<mpz_class> weights; // that the ways were counted for
    std::vector<bool> absent; // kinds without the face: none of their dice shows it
    std::vector<bool> last; // kinds whose last face it is: all their dice left show it
};

// Sets `at` to one face's ways, counting again only those of kinds whose
// weight differs from the face before, as every face of a plain die is alike.
template <class Number> void WaysAt(const Layout &layout, int face, bool rising, FaceWays<Number> &at)
{
    const std::size_t kinds = layout.counts.size();
    at.ways.resize(kinds);
    at.weights.resize(kinds, -1);
    at.absent.resize(kinds);
    at.last.resize(kinds);
    for (std::size_t kind = 0; kind < kinds; ++kind) {
        const mpz_class &weight = layout.weights[kind][static_cast<std::size_t>(face)];
        at.absent[kind] = weight == 0;
        at.last[kind] = (rising ? layout.lastFace[kind] : layout.firstFace[kind]) == face;
        if (weight == at.weights[kind])
            continue;
        at.weights[kind] = weight;
        // Pascal's rule on Binomial(r, k) * w^k: the r-th die shows the face
        // (times w) or it does not.
        const auto side = static_cast<std::size_t>(layout.counts[kind] + 1);
        std::vector<Number> &ways = at.ways[kind];
        ways.assign(side * side, Number(0));
        const Number w = FromMpz<Number>(weight);
        ways[0] = 1;
        for (std::size_t r = 1; r < side; ++r) {
            ways[r * side] = 1;
            for (std::size_t k = 1; k <= r; ++k) {
                Multiply(ways[r * side + k], ways[(r - 1) * side + k - 1], w);
                ways[r * side + k] += ways[(r - 1) * side + k];
            }
        }
    }
}

// For each state index, the ways its dice left show the faces to come,
// whose weights sum to `rest` for each kind.
template <class Number> std::vector<Number> WaysLeft(const Layout &layout, const std::vector<mpz_class> &rest)
{
    std::vector<Number> left(static_cast<std::size_t>(layout.states), Number(1));
    for (std::size_t kind = 0; kind < layout.counts.size(); ++kind) {
        const Number sum = FromMpz<Number>(rest[kind]);
        std::vector<Number> powers(static_cast<std::size_t>(layout.counts[kind] + 1), Number(1));
        for (std::size_t r = 1; r < powers.size(); ++r)
            Multiply(powers[r], powers[r - 1], sum);
        for (int state = 0; state < layout.states; ++state) {
            Number &product = left[static_cast<std::size_t>(state)];
            Multiply(product, product, powers[static_cast<std::size_t>(layout.Left(state, static_cast<int>(kind)))]);
        }
    }
    return left;
}

// Calls visit(state after, dice showing the face, ways) for every way the
// dice left in `state` can show one face.
template <class Number, class Visit>
void ForEachShowing(const Layout &layout,
    const FaceWays<Number> &at,
    std::vector<Number> &products,
    std::size_t kind,
    int state,
    int after,
    int shown,
    const Number &ways,
    Visit &visit)
{
    if (kind == layout.counts.size()) {
        visit(after, shown, ways);
        return;
    }
    const int left = layout.Left(state, static_cast<int>(kind));
    const int low = at.last[kind] ? left : 0;
    const int high = at.absent[kind] ? 0 : left;
    const auto side = static_cast<std::size_t>(layout.counts[kind] + 1);
    for (int k = low; k <= high; ++k) {
        const Number &these = at.ways[kind][static_cast<std::size_t>(left) * side + static_cast<std::size_t>(k)];
        const Number *product = &these;
        if (kind > 0) {
            Multiply(products[kind], ways, these);
            product = &products[kind];
        }
        const int moved = after - k * layout.strides[kind];
        ForEachShowing(layout, at, products, kind + 1, state, moved, shown + k, *product, visit);
    }
}

// The weight of every result slot of the rule, over all throws of the pool.
template <class Number, class Rule>
std::vector<Number> Fold(
    const Layout &layout, const Rule &rule, bool rising, std::size_t slots, const dice::StopToken &stop)
{
    const auto states = static_cast<std::size_t>(rule.States());
    const auto indices = static_cast<std::size_t>(layout.states);
    std::vector<int> diceLeft(indices);
    for (std::size_t i = 0; i < indices; ++i) {
        for (std::size_t kind = 0; kind < layout.counts.size(); ++kind)
            diceLeft[i] += layout.Left(static_cast<int>(i), static_cast<int>(kind));
    }
    std::vector<Number> now(indices * states);
    std::vector<Number> next(indices * states);
    std::vector<Number> results(slots);
    std::vector<Number> products(layout.counts.size());
    const Number one = 1;
    FaceWays<Number> at;
    now[(indices - 1) * states] = 1;
    std::vector<mpz_class> rest;
    for (const std::vector<mpz_class> &weights : layout.weights)
        rest.push_back(std::accumulate(weights.begin(), weights.end(), mpz_class(0)));
    const int faces = static_cast<int>(layout.faces.size());
    for (int step = 0; step < faces; ++step) {
        const int face = rising ? step : faces - 1 - step;
        const int before = rising ? face - 1 : face + 1;
        const bool adjacent = step > 0
            && layout.faces[static_cast<std::size_t>(face)] - layout.faces[static_cast<std::size_t>(before)]
                == (rising ? 1 : -1);
        WaysAt(layout, face, rising, at);
        for (Number &weight : next)
            weight = 0;
        for (std::size_t index = 0; index < indices; ++index) {
            dice::detail::Check(stop);
            const Number *row = &now[index * states];
            if (std::all_of(row, row + states, [](const Number &x) { return IsZero(x); }))
                continue;
            auto add = [&](int after, int shown, const Number &ways) {
                Number *to = &next[static_cast<std::size_t>(after) * states];
                for (std::size_t s = 0; s < states; ++s) {
                    if (!IsZero(row[s]))
                        AddProduct(to[rule.Next(static_cast<int>(s), shown, adjacent)], row[s], ways);
                }
            };
            const int state = static_cast<int>(index);
            ForEachShowing(layout, at, products, 0, state, state, 0, one, add);
        }
        for (std::size_t kind = 0; kind < rest.size(); ++kind)
            rest[kind] -= layout.weights[kind][static_cast<std::size_t>(face)];
        const std::vector<Number> waysLeft = WaysLeft<Number>(layout, rest);
        for (std::size_t index = 0; index < indices; ++index) {
            for (std::size_t s = 0; s < states; ++s) {
                Number &weight = next[index * states + s];
                if (IsZero(weight))
                    continue;
                const int slot = rule.Result(static_cast<int>(s), face, diceLeft[index]);
                if (slot >= 0) {
                    AddProduct(results[static_cast<std::size_t>(slot)], weight, waysLeft[index]);
                    weight = 0;
                }
            }
        }
        std::swap(now, next);
    }
    return results;
}

} // namespace dice::pools::detail
