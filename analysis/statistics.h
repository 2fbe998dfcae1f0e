// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "event_table.h"
#include "filter.h"
#include "filter_lists.h"
#include "grid_sort.h"
#include "rawdata/catalogue.h"
#include "rawdata/roster.h"
#include "store/dive_record.h"
#include "string_grid.h"

#include <span>
#include <string>
#include <vector>

namespace corvane {

// Header text of event-table column `col` (0..16).
std::string EventHeader(int col);

// One pass of a statistics run for event `eventIndex` over `dives`: header row, widths,
// rows of the dive groups, shares; then the sort by `sortCol` with `split`.
// `dives` are the filled slots only (RecordStore::Filled): every one of them is a real line.
// `initialRun` counts them all; otherwise the filter applies. `table` has 17 columns. The DD
// of a row comes from `catalogue` (the built-in one or the data folder's).
void GenerateEventTable(StringGrid& table, int eventIndex, std::span<const DiveRecord> dives,
                        const DiverRoster& roster, const DDCatalogue& catalogue, bool initialRun,
                        const FilterSelection& filter, int sortCol, const SortSplit& split);

} // namespace corvane
