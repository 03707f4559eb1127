#include "dice/value/distribution.h"

namespace dice
{

const char *Cancelled::what() const noexcept
{
    return "the count was cancelled";
}

std::int64_t Distribution::Highest() const
{
    return lowest + static_cast<std::int64_t>(counts.size()) - 1;
}

bool Distribution::Unbounded() const
{
    return tail != 0;
}

bool Distribution::Labelled() const
{
    return !labels.empty();
}

void detail::Check(const dice::StopToken &stop)
{
    if (stop.stop_requested())
        throw Cancelled();
}

} // namespace dice
