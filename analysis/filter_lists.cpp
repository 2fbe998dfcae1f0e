// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_lists.h"

#include "event_table.h"
#include "store/number_text.h"

#include <stdexcept>
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

std::string DiverGrid::Cell(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        throw std::out_of_range("cell outside the grid");
    if (row == 0)
        return col == 0 && allRow_ ? std::string(kAllEntry) : std::string();
    const DiverEntry& diver = Diver(row);
    if (col == kNameCol)
        return DiverName(diver);
    return col == kNationCol ? diver.Nation.str() : DiverLabel(diver);
}

const DiverEntry& DiverGrid::Diver(int row) const {
    if (row < 1 || row >= RowCount())
        throw std::out_of_range("row outside the diver grid");
    auto index = static_cast<std::size_t>(row - 1);
    for (const std::span<const DiverEntry> part : parts_) {
        if (index < part.size())
            return part[index];
        index -= part.size();
    }
    throw std::out_of_range("row outside the diver grid"); // not reached: rowCount_ counts them
}

void DiverGrid::ResetToAll() {
    allRow_ = true;
    parts_.clear();
    rowCount_ = 0;
}

void DiverGrid::Append(std::span<const DiverEntry> divers) {
    if (divers.empty())
        return;
    parts_.push_back(divers);
    rowCount_ += divers.size();
}

void ResetFilterLists(FilterLists& lists) {
    lists.diverGrid.ResetToAll();
    lists.countryGrid.SetRowCount(1);
    lists.countryGrid.ClearRow(0);
    lists.countryGrid.SetCell(0, 0, std::string(kAllEntry));
    lists.countryItems.clear();
}

void FillFilterLists(const DiverRoster& roster, FilterLists& lists) {
    std::unordered_set<std::string> countries = CountriesIn(lists.countryGrid);
    for (const DiverEntry& diver : roster.Rows()) {
        const std::string_view nation = diver.Nation.view();
        if (!IsBlank(nation) && countries.emplace(nation).second) {
            AddGridRow(lists.countryGrid);
            lists.countryGrid.SetCell(0, lists.countryGrid.RowCount() - 1, std::string(nation));
            lists.countryItems.emplace_back(nation);
        }
    }
    // Every roster entry gets its own row, even a name that occurs twice.
    lists.diverGrid.Append(roster.Rows());
}

} // namespace corvane
