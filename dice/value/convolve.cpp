#include "dice/value/distribution.h"
#include "dice/value/residues.h"
#include "dice/value/weights.h"

#include <algorithm>

namespace dice::detail
{

// The counts of the sum of two independent rolls. With both laid out in
// slots wide enough for every count of the result, multiplying the two big
// integers multiplies the polynomials: no slot ever carries into the next.
// Both go in pieces, so that a stop request is seen in time, and the pieces'
// products add up slot by slot for the same reason.
Packed Convolve(const Packed &a, const Packed &b, const dice::StopToken &stop)
{
    const std::size_t width = a.width;
    Packed result;
    result.lowest = a.lowest + b.lowest;
    result.size = a.size + b.size - 1;
    result.width = width;
    result.limbs.assign((result.size + 1) * width, 0);

    constexpr std::size_t piece = 4096;
    std::vector<mp_limb_t> product;
    for (std::size_t i = 0; i < a.size; i += piece) {
        for (std::size_t j = 0; j < b.size; j += piece) {
            Check(stop);
            const auto aLimbs = static_cast<mp_size_t>(std::min(piece, a.size - i) * width);
            const auto bLimbs = static_cast<mp_size_t>(std::min(piece, b.size - j) * width);
            const mp_limb_t *aPart = a.limbs.data() + i * width;
            const mp_limb_t *bPart = b.limbs.data() + j * width;
            product.resize(static_cast<std::size_t>(aLimbs + bLimbs));
            if (aLimbs >= bLimbs)
                mpn_mul(product.data(), aPart, aLimbs, bPart, bLimbs);
            else
                mpn_mul(product.data(), bPart, bLimbs, aPart, aLimbs);
            mp_limb_t *into = result.limbs.data() + (i + j) * width;
            const auto room = static_cast<mp_size_t>(result.limbs.size() - (i + j) * width);
            mpn_add(into, into, room, product.data(), static_cast<mp_size_t>(product.size()));
        }
    }
    result.limbs.resize(result.size * width);
    return result;
}

} // namespace dice::detail
