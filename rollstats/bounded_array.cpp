#include "rollstats/bounded_array.h"

namespace rollstats
{

void BoundedArray::Resize(std::int32_t lower, std::int32_t upper)
{
    const std::int64_t count = std::int64_t { upper } - lower + 1;
    m_values.assign(count > 0 ? static_cast<std::size_t>(count) : 0, 0.0);
    m_lower = lower;
    m_upper = upper;
}

std::span<double> BoundedArray::Range(std::int32_t first, std::int32_t last)
{
    if (first > last)
        return {};
    const std::size_t begin = Offset(first);
    return { m_values.data() + begin, Offset(last) - begin + 1 };
}

std::span<const double> BoundedArray::Range(std::int32_t first, std::int32_t last) const
{
    if (first > last)
        return {};
    const std::size_t begin = Offset(first);
    return { m_values.data() + begin, Offset(last) - begin + 1 };
}

} // namespace rollstats
