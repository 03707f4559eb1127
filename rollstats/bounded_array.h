#pragma once

#include "runtime/errors.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rollstats
{

// A resizable array of doubles indexed from an explicit lower to an explicit
// upper bound. Resizing discards the old contents and zero-fills; an array that
// was never sized has no entries (its upper bound lies below its lower bound).
class BoundedArray
{
public:
    void Resize(std::int32_t lower, std::int32_t upper);

    std::int32_t Lower() const
    {
        return m_lower;
    }
    std::int32_t Upper() const
    {
        return m_upper;
    }

    double &operator[](std::int32_t index)
    {
        return m_values[Offset(index)];
    }
    double operator[](std::int32_t index) const
    {
        return m_values[Offset(index)];
    }

    // The entries from first to last inclusive, after checking both bounds, so
    // that tight loops can run over raw memory.
    std::span<double> Range(std::int32_t first, std::int32_t last);
    std::span<const double> Range(std::int32_t first, std::int32_t last) const;

private:
    std::size_t Offset(std::int32_t index) const
    {
        if (index < m_lower || index > m_upper)
            throw runtime::SubscriptError("subscript out of range");
        return static_cast<std::size_t>(std::int64_t { index } - m_lower);
    }

    std::int32_t m_lower = 0;
    std::int32_t m_upper = -1;
    std::vector<double> m_values;
};

} // namespace rollstats
