// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small record sets, rosters and grid readers shared by the analysis tests.

#include "analysis/filter.h"
#include "analysis/string_grid.h"
#include "rawdata/roster.h"
#include "store/dive_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

inline constexpr int kM3M = 1;
inline constexpr int kW3M = 2;
inline constexpr int kM10M = 3;

inline DiveRecord Dive(std::string_view id, std::string_view code, double dd, double points) {
    DiveRecord record;
    record.DiverId = id;
    record.DiveCode = code;
    record.DD = dd;
    record.Points = points;
    return record;
}

inline DiverEntry Diver(std::string_view id, std::string_view surname, std::string_view given,
                        std::string_view nation) {
    DiverEntry entry;
    entry.Id = id;
    entry.Surname = surname;
    entry.GivenName = given;
    entry.Nation = nation;
    return entry;
}

inline FilterSelection CountryFilter(std::string country) {
    FilterSelection filter;
    filter.countryIndex = 1;
    filter.country = std::move(country);
    return filter;
}

inline FilterSelection DiverFilter(std::string label) {
    FilterSelection filter;
    filter.diverIndex = 1;
    filter.diver = std::move(label);
    return filter;
}

inline StringGrid EventTableGrid() {
    return StringGrid(17, 2);
}

// The per-diver grid as the Dive Statistics window creates it.
inline StringGrid DiveStatsGridAtCreation() {
    StringGrid grid(17, 2);
    grid.SetCell(0, 0, "Name");
    grid.SetCell(1, 0, "Nation");
    grid.SetCell(2, 0, "Count");
    grid.SetColWidth(0, 200);
    return grid;
}

// Any grid with ColCount() and Cell(col, row): StringGrid, DiverGrid.
template <typename Grid> std::vector<std::string> RowCells(const Grid& grid, int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < grid.ColCount(); ++col)
        cells.push_back(grid.Cell(col, row));
    return cells;
}

// Column `col` of rows 1..last.
inline std::vector<std::string> ColumnCells(const StringGrid& grid, int col) {
    std::vector<std::string> cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.push_back(grid.Cell(col, row));
    return cells;
}

// The data row whose column 0 holds `code` (first one), or -1.
inline int RowOf(const StringGrid& grid, std::string_view code) {
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (grid.Cell(0, row) == code)
            return row;
    }
    return -1;
}

} // namespace corvane::testing
