#include "dice/pools/layout.h"
#include "dice/limits.h"

#include <algorithm>
#include <stdexcept>

namespace dice::pools::detail
{

int Layout::Left(int state, int kind) const
{
    const auto i = static_cast<std::size_t>(kind);
    return state / strides[i] % (counts[i] + 1);
}

std::vector<Kind> MergedKinds(const Pool &pool)
{
    std::vector<Kind> merged;
    for (const Kind &kind : pool.kinds) {
        if (kind.count <= 0)
            continue;
        const auto alike = std::find_if(merged.begin(), merged.end(), [&](const Kind &other) {
            return other.faces == kind.faces && other.weights == kind.weights;
        });
        if (alike != merged.end())
            alike->count += kind.count;
        else
            merged.push_back(kind);
    }
    return merged;
}

Layout LayOut(const Pool &pool)
{
    const std::vector<Kind> kinds = MergedKinds(pool);
    Layout layout;
    std::int64_t states = 1;
    for (const Kind &kind : kinds) {
        states *= kind.count + 1;
        if (states > maxPoolStates)
            throw std::length_error("too many kinds of dice in one pool to count");
        layout.faces.insert(layout.faces.end(), kind.faces.begin(), kind.faces.end());
    }
    std::sort(layout.faces.begin(), layout.faces.end());
    layout.faces.erase(std::unique(layout.faces.begin(), layout.faces.end()), layout.faces.end());
    layout.states = static_cast<int>(states);
    layout.denominator = Denominator(pool);
    const auto index = [&](std::int64_t face) {
        return static_cast<std::size_t>(
            std::lower_bound(layout.faces.begin(), layout.faces.end(), face) - layout.faces.begin());
    };
    int stride = 1;
    for (const Kind &kind : kinds) {
        std::vector<mpz_class> weights(layout.faces.size());
        for (std::size_t i = 0; i < kind.faces.size(); ++i)
            weights[index(kind.faces[i])] = kind.weights[i];
        layout.firstFace.push_back(static_cast<int>(index(kind.faces.front())));
        layout.lastFace.push_back(static_cast<int>(index(kind.faces.back())));
        layout.weights.push_back(std::move(weights));
        layout.counts.push_back(kind.count);
        layout.strides.push_back(stride);
        stride *= kind.count + 1;
        layout.dice += kind.count;
    }
    return layout;
}

} // namespace dice::pools::detail
