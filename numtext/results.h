#pragma once

// The texts of the results, built from the display patterns: a line of the
// probability table, and the caption and tooltip of a probability label. Each
// takes a number of outcomes and the number of all outcomes, and rounds their
// exact fraction while both are exact.

#include <cstdint>
#include <string>

namespace numtext
{

// "P(7) = 16.666666667%" for the total 7 with 6 of 36 outcomes; no line break.
std::string TableLine(std::int32_t total, double outcomes, double allOutcomes);

// The share as the table writes it, with nine decimals: "16.666666667%".
std::string TableShare(double outcomes, double allOutcomes);

// The share as a percentage with one decimal: "58.3%".
std::string PercentCaption(double outcomes, double allOutcomes);

// The same percentage to 15 significant digits: "58.3333333333333%".
std::string PercentToolTip(double outcomes, double allOutcomes);

} // namespace numtext
