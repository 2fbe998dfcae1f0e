#pragma once

#include "rawdata/roster.h"

#include <string>

namespace corvane {

// What the two filter lists show: index 0 ("***ALL***") restricts nothing.
struct FilterSelection {
    int countryIndex = 0;
    std::string country;
    int diverIndex = 0;
    std::string diver;
};

// Whether a roster entry passes the country and diver selection.
bool PassesFilter(const TDiverEntry& diver, const FilterSelection& filter);

// The same, plus a nation that is not blank: the rule of the breakdown and the diver count.
bool PassesBreakdownFilter(const TDiverEntry& diver, const FilterSelection& filter);

} // namespace corvane
