#pragma once

#include "filter.h"
#include "grid_sort.h"
#include "string_grid.h"
#include "rawdata/roster.h"
#include "store/dive_record.h"

#include <span>
#include <string>

namespace corvane {

// What the breakdown of one dive produced.
struct DrillDownResult {
    bool opened = false; // false: the guard stopped it and nothing changed
    int diverCount = 0;
    std::string title;   // "W3M - 101B - DD 1.5 - 7 divers"
};

// Where the breakdown goes: the summary grid, the per-diver grid and its sort column.
struct BreakdownTarget {
    StringGrid& statsGrid;
    StringGrid& diveStatsGrid;
    int statsSortCol; // -1: no column (first-appearance order, Sort Count split only)
};

// The double-click on `clickedRow` of `eventTable` (event `eventIndex`): fills the summary
// and per-diver grids, writes the row's "Divers" cell, sorts the per-diver grid.
DrillDownResult DrillDown(StringGrid& eventTable, int eventIndex, int clickedRow,
                          std::span<const TDiveRecord> dives, const DiverRoster& roster,
                          const FilterSelection& filter, BreakdownTarget target,
                          const SortSplit& split);

// Sorts the per-diver grid by `statsSortCol` (0 and 1 text, others numeric; -1 no key),
// rows from 1, count column 2.
void SortDiveStats(StringGrid& diveStatsGrid, int statsSortCol, const SortSplit& split);

} // namespace corvane
