#pragma once

// A probability table as delimited text for spreadsheets: a header row
// "total", "outcomes", "percent", then one row per total. Outcomes are written
// as whole numbers in full, the exact value of the count held even where a
// double no longer counts every outcome; percents carry 17 significant digits,
// enough to read back the same double, with '.' as the decimal point whatever
// the locale.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace numtext
{

// counts[i] is the number of outcomes of the total firstTotal + i.
std::string TableText(std::int32_t firstTotal,
    std::span<const double> counts,
    double totalOutcomes,
    char separator,
    std::string_view lineEnd);

} // namespace numtext
