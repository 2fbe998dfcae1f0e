// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_lists.h"

#include "event_table.h"
#include "store/number_text.h"

#include <unordered_set>

namespace corvane {

namespace {

void AddGridRow(StringGrid& grid) {
    grid.SetRowCount(grid.RowCount() + 1);
}

// The nations already in rows 1.. of the country grid, so that each roster entry is looked
// up once instead of compared with every nation entered so far.
std::unordered_set<std::string> CountriesIn(const StringGrid& countryGrid) {
    std::unordered_set<std::string> nations;
    for (int row = 1; row < countryGrid.RowCount(); ++row)
        nations.insert(countryGrid.Cell(0, row));
    return nations;
}

} // namespace

void ResetFilterLists(FilterLists& lists) {
    for (StringGrid* grid : {&lists.diverGrid, &lists.countryGrid}) {
        grid->SetRowCount(1);
        grid->ClearRow(0);
        grid->SetCell(0, 0, std::string(kAllEntry));
    }
    lists.countryItems.clear();
    lists.diverItems.clear();
}

void FillFilterLists(const DiverRoster& roster, FilterLists& lists) {
    std::unordered_set<std::string> countries = CountriesIn(lists.countryGrid);
    for (const TDiverEntry& diver : roster.Rows()) {
        const std::string nation(diver.Nation.view());
        if (!IsBlank(nation) && countries.insert(nation).second) {
            AddGridRow(lists.countryGrid);
            lists.countryGrid.SetCell(0, lists.countryGrid.RowCount() - 1, nation);
            lists.countryItems.push_back(nation);
        }
        // Every roster entry gets its own row, even a name that occurs twice.
        AddGridRow(lists.diverGrid);
        const int row = lists.diverGrid.RowCount() - 1;
        std::string label = DiverLabel(diver);
        lists.diverGrid.SetCell(0, row, DiverName(diver));
        lists.diverGrid.SetCell(1, row, nation);
        lists.diverGrid.SetCell(2, row, label);
        lists.diverItems.push_back(std::move(label));
    }
}

} // namespace corvane
