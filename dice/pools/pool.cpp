#include "dice/pools/pool.h"
#include "dice/value/weights.h"

#include <algorithm>

namespace dice::pools
{

namespace
{

// The number of faces shown on more than `least - 1` dice each, and the
// most dice showing one face; a throw's faces are in rising order.
struct Runs {
    std::int64_t sets = 0;
    std::int64_t most = 0;
};

Runs AlikeRuns(const std::vector<std::int64_t> &faces, int least)
{
    Runs runs;
    for (std::size_t i = 0; i < faces.size();) {
        std::size_t j = i;
        while (j < faces.size() && faces[j] == faces[i])
            ++j;
        const auto alike = static_cast<std::int64_t>(j - i);
        runs.most = std::max(runs.most, alike);
        runs.sets += alike >= least ? 1 : 0;
        i = j;
    }
    return runs;
}

std::int64_t LongestStraight(const std::vector<std::int64_t> &faces)
{
    std::int64_t longest = faces.empty() ? 0 : 1;
    std::int64_t run = longest;
    for (std::size_t i = 1; i < faces.size(); ++i) {
        if (faces[i] == faces[i - 1])
            continue;
        run = faces[i] == faces[i - 1] + 1 ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

std::int64_t ReadThrow(const std::vector<std::int64_t> &faces, const Reading &reading)
{
    using Function = Reading::Function;
    switch (reading.function) {
    case Function::Highest:
        return faces.empty() ? 0 : faces.back();
    case Function::Lowest:
        return faces.empty() ? 0 : faces.front();
    case Function::Nth:
        return faces[faces.size() - static_cast<std::size_t>(reading.k)];
    case Function::Count:
        return std::count_if(faces.begin(), faces.end(), [&](std::int64_t face) { return reading.point.Meets(face); });
    case Function::LargestCount:
        return AlikeRuns(faces, 1).most;
    case Function::Sets:
        return AlikeRuns(faces, reading.k).sets;
    case Function::LargestStraight:
        return LongestStraight(faces);
    }
    return 0;
}

mpz_class Denominator(const Pool &pool)
{
    mpz_class product = 1;
    for (const Kind &kind : pool.kinds) {
        mpz_class die;
        for (const mpz_class &weight : kind.weights)
            die += weight;
        product *= dice::detail::PowerOf(die, kind.count);
    }
    return product;
}

} // namespace dice::pools
