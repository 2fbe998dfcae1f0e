// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "event_table.h"
#include "filter.h"
#include "grid_sort.h"
#include "rawdata/roster.h"
#include "store/dive_record.h"
#include "string_grid.h"

#include <span>
#include <string>
#include <vector>

namespace corvane {

// Header text of event-table column `col` (0..16).
std::string EventHeader(int col);

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

// One pass of a statistics run for event `eventIndex` over `dives`: header row, widths,
// rows of the dive groups, shares; then the sort by `sortCol` with `split`.
// `dives` are the filled slots only (RecordStore::Filled): every one of them is a real line.
// `initialRun` counts them all; otherwise the filter applies. `table` has 17 columns.
void GenerateEventTable(StringGrid& table, int eventIndex, std::span<const TDiveRecord> dives,
                        const DiverRoster& roster, bool initialRun, const FilterSelection& filter,
                        int sortCol, const SortSplit& split);

} // namespace corvane
