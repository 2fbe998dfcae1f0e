// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filter.h"
#include "rawdata/roster.h"
#include "store/dive_record.h"
#include "string_grid.h"

#include <functional>
#include <span>
#include <string_view>

namespace corvane {

// The number of distinct diver names among the records of `diveCode` (of the filled slots,
// RecordStore::Filled) that pass the breakdown filter. `workingList` (the per-diver grid)
// gets the names in column 0 of rows 1.., its other cells blank.
int CountDistinctDivers(std::string_view diveCode, std::span<const DiveRecord> dives,
                        const DiverRoster& roster, const FilterSelection& filter,
                        StringGrid& workingList);

// Hooks of a whole-table count, called by the window between rows.
struct DiverCountHooks {
    // The filter to apply to the next row (the lists may change while the count runs).
    std::function<FilterSelection()> filter;
    // Called after each row's cell is written (repaint and let messages run); returning
    // false ends the count.
    std::function<bool()> afterRow;
};

// Fills column 15 of rows 1..last of `table` (row range fixed at the start). Stops, leaving
// the table alone, when the table is rebuilt under it or `afterRow` says so.
void PopulateDiverCount(StringGrid& table, std::span<const DiveRecord> dives,
                        const DiverRoster& roster, StringGrid& workingList,
                        const DiverCountHooks& hooks);

} // namespace corvane
