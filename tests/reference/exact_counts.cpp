#include "tests/reference/exact_counts.h"

#include <cstddef>

namespace reference
{

std::vector<Exact> AddDie(const std::vector<Exact> &ways, int sides)
{
    const auto faces = static_cast<std::size_t>(sides);
    std::vector<Exact> next(ways.size() + faces - 1, 0);
    for (std::size_t k = 0; k < ways.size(); ++k)
        for (std::size_t face = 0; face < faces; ++face)
            next[k + face] += ways[k];
    return next;
}

std::vector<Exact> ExactCounts(int dice, int sides)
{
    std::vector<Exact> ways { 1 };
    for (int die = 0; die < dice; ++die)
        ways = AddDie(ways, sides);
    return ways;
}

std::string Decimal(Exact value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

} // namespace reference
