#include "numtext/results.h"

#include "numtext/patterns.h"
#include "runtime/checked.h"

namespace numtext
{

std::string TableLine(std::int32_t total, double share)
{
    return FormatPattern(total, "P(####0) = ") + FormatPattern(share, "##0.000000000%");
}

std::string PercentCaption(double share)
{
    return FormatPattern(share, "#0.0%");
}

std::string PercentToolTip(double share)
{
    return GeneralNumberText(runtime::Finite(share * 100)) + "%";
}

} // namespace numtext
