// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filter.h"
#include "grid_sort.h"
#include "rawdata/roster.h"
#include "store/dive_record.h"
#include "string_grid.h"

#include "event_table.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// The shares of one diver row of a breakdown, as its cells show them.
struct DiverShares {
    std::string name;   // column 0 of the row, unique within a breakdown
    std::string nation; // of the record that opened the row
    std::array<double, kBandCount> shares{};
};

// What the breakdown of one dive produced: what its title shows and what its chart is drawn
// from, kept as numbers so that nothing has to be read back out of the grids.
struct DiveBreakdown {
    bool opened = false; // false: the guard stopped it and nothing changed
    int eventIndex = 0;
    std::string diveCode;
    std::string dd; // as the event table shows it
    int diverCount = 0;
    std::string title;                            // "W3M - 101B - DD 1.5 - 7 divers"
    FilterSelection filter;                       // the country and diver filter it was made under
    std::array<double, kBandCount> fieldShares{}; // of the event table's row
    std::vector<DiverShares> divers;              // in the order the rows were opened

    // The diver whose row has `name` in column 0, if any.
    const DiverShares* DiverNamed(std::string_view name) const;
};

// Where the breakdown goes: the summary grid, the per-diver grid and its sort column.
struct BreakdownTarget {
    StringGrid& statsGrid;
    StringGrid& diveStatsGrid;
    int statsSortCol; // -1: no column (first-appearance order, Sort Count split only)
};

// The double-click on `clickedRow` of `eventTable` (event `eventIndex`): fills the summary
// and per-diver grids, writes the row's "Divers" cell, sorts the per-diver grid. `dives` are
// the filled slots of the event (RecordStore::Filled).
DiveBreakdown DrillDown(StringGrid& eventTable, int eventIndex, int clickedRow,
                        std::span<const DiveRecord> dives, const DiverRoster& roster,
                        const FilterSelection& filter, BreakdownTarget target,
                        const SortSplit& split);

// Divers told apart by name, as the breakdown and the diver count do: each roster row gets
// the number of its name (rows with the same name share it), worked out the first time the
// row is met, so the record passes build no text.
class DiverNames {
public:
    explicit DiverNames(const DiverRoster& roster);

    // 0, 1, ... in the order the names are first met.
    int IdOf(const DiverEntry& diver);
    const std::string& Name(int id) const { return names_[static_cast<std::size_t>(id)]; }

private:
    const DiverEntry* firstRow_;
    std::vector<int> idOfRow_; // -1 until the row is met
    std::unordered_map<std::string, int> ids_;
    std::vector<std::string> names_;
};

// The per-diver list, shared with the diver count: row 0 is the header row, rows 1.. hold one
// diver name each in column 0, and an empty column 0 in row 1 means the list is empty.
// Empties the list: 2 rows, row 1 blank.
void ClearDiverList(StringGrid& grid);
// Writes `name` into a new row (row 1 while the list is empty, else a row appended at the
// end) and returns that row.
int AppendDiverName(StringGrid& grid, const std::string& name);

// Sorts the per-diver grid by `statsSortCol` (0 and 1 text, others numeric; -1 no key),
// rows from 1, count column 2.
void SortDiveStats(StringGrid& diveStatsGrid, int statsSortCol, const SortSplit& split);

} // namespace corvane
