#include "numtext/results.h"

#include "numtext/patterns.h"

namespace numtext
{

std::string TableLine(std::int32_t total, double outcomes, double allOutcomes)
{
    return FormatPattern(total, "P(####0) = ") + TableShare(outcomes, allOutcomes);
}

std::string TableShare(double outcomes, double allOutcomes)
{
    return FormatShare(outcomes, allOutcomes, "##0.000000000%");
}

std::string PercentCaption(double outcomes, double allOutcomes)
{
    return FormatShare(outcomes, allOutcomes, "#0.0%");
}

std::string PercentToolTip(double outcomes, double allOutcomes)
{
    return GeneralPercentText(outcomes, allOutcomes) + "%";
}

} // namespace numtext
