// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rawdata/roster.h"
#include "string_grid.h"

#include <string>
#include <vector>

namespace corvane {

// The filter lists of the initial run, filled from the roster in roster order.
// The grids and lists keep what start-up put in row / item 0 ("***ALL***").
struct FilterLists {
    StringGrid diverGrid{3, 1, 32};
    StringGrid countryGrid{2, 1, 32};
    std::vector<std::string> countryItems; // items to add to the country list, roster order
    std::vector<std::string> diverItems;   // items to add to the diver list, roster order
};

// Resets both grids to the single "***ALL***" row and empties the item lists.
void ResetFilterLists(FilterLists& lists);
// Adds every roster entry (and every new non-blank nation) as the initial run does.
// GenerateEventTable leaves the lists alone: the window calls this once, with the M3M pass
// of the initial run.
void FillFilterLists(const DiverRoster& roster, FilterLists& lists);

} // namespace corvane
