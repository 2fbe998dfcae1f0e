// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rawdata/roster.h"
#include "string_grid.h"

#include <span>
#include <string>
#include <vector>

namespace corvane {

// The hidden diver grid: row 0 is what start-up put there, every further row one roster entry
// with its name, nation and label (columns 0..2). The cells are made from the entry when they
// are read, and the rows are the roster's own, so a roster of 100,000 divers costs the grid
// nothing; the roster must therefore outlive the grid and keep its rows where they are.
class DiverGrid {
public:
    static constexpr int kNameCol = 0;
    static constexpr int kNationCol = 1;
    static constexpr int kLabelCol = 2;

    int ColCount() const { return 3; }
    int RowCount() const { return static_cast<int>(rowCount_) + 1; }
    // Throws std::out_of_range outside the grid, as StringGrid::Cell does.
    std::string Cell(int col, int row) const;
    // The roster entry of row 1.. .
    const DiverEntry& Diver(int row) const;

    // The single row 0, reading "***ALL***" in column 0.
    void ResetToAll();
    // A row for each of `divers`, in their order, after the rows there are.
    void Append(std::span<const DiverEntry> divers);

private:
    bool allRow_ = false; // row 0 stays empty until the first reset
    std::vector<std::span<const DiverEntry>> parts_;
    std::size_t rowCount_ = 0; // rows 1.. in all parts
};

// The filter lists of the initial run, filled from the roster in roster order.
// The grids and the country items keep what start-up put in row / item 0 ("***ALL***").
// The diver list's items are the labels of the diver grid's rows 1.. (DiverGrid::kLabelCol).
struct FilterLists {
    DiverGrid diverGrid;
    StringGrid countryGrid{2, 1, 32};
    std::vector<std::string> countryItems; // items to add to the country list, roster order
};

// Resets both grids to the single "***ALL***" row and empties the country items.
void ResetFilterLists(FilterLists& lists);
// Adds every roster entry (and every new non-blank nation) as the initial run does. The lists
// refer to `roster`'s rows from then on. GenerateEventTable leaves the lists alone: the window
// calls this once, with the M3M pass of the initial run.
void FillFilterLists(const DiverRoster& roster, FilterLists& lists);

} // namespace corvane
