#pragma once

// The texts of the results, built from the display patterns: a line of the
// probability table, and the caption and tooltip of a probability label.

#include <cstdint>
#include <string>

namespace numtext
{

// "P(7) = 16.666666667%" for the total 7 with a share of 1/6; no line break.
std::string TableLine(std::int32_t total, double share);

// A share from 0 to 1 as a percentage with one decimal: "58.3%".
std::string PercentCaption(double share);

// The same percentage to 15 significant digits: "58.3333333333333%".
std::string PercentToolTip(double share);

} // namespace numtext
