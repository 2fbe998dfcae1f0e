// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill_down.h"

#include "statistics.h"
#include "store/events.h"
#include "store/number_text.h"

#include <algorithm>
#include <string_view>

namespace corvane {

namespace {

constexpr int kCountCol = 2;
constexpr int kAvgPtsCol = 3;
constexpr int kAvgScoreCol = 4;
constexpr int kFirstBandCol = 5;
constexpr int kLastBandCol = 14;
constexpr int kTotalCol = 15; // hidden running total of points
constexpr int kDivesCol = 16; // hidden running number of dives

bool CanOpen(const StringGrid& table, int clickedRow) {
    return clickedRow >= 1 && clickedRow < table.RowCount() && !table.Cell(1, 1).empty();
}

void FillSummary(const StringGrid& table, int clickedRow, StringGrid& statsGrid) {
    if (statsGrid.RowCount() != 2)
        statsGrid.SetRowCount(2);
    const int cols = std::min(table.ColCount(), statsGrid.ColCount());
    for (int col = 0; col < cols; ++col) {
        statsGrid.SetCell(col, 0, table.Cell(col, 0));
        statsGrid.SetCell(col, 1, table.Cell(col, clickedRow));
        statsGrid.SetColWidth(col, table.ColWidth(col));
    }
    statsGrid.SetColWidth(kDiversCol, 0);
}

// Headers and widths of columns 0..2 belong to the window; the band headers follow the table.
// The rows themselves are reset when the record pass opens the list.
void ResetDiveStats(const StringGrid& table, StringGrid& grid) {
    for (int col = kAvgPtsCol; col <= kLastBandCol; ++col)
        grid.SetCell(col, 0, table.Cell(col, 0));
    grid.SetColWidth(kTotalCol, 0);
    grid.SetColWidth(kDivesCol, 0);
}

void IncrementCell(StringGrid& grid, int col, int row) {
    grid.SetCell(col, row, std::to_string(CellInteger(grid.Cell(col, row)) + 1));
}

// Tests score > 1, > 2, ... > 9 in turn; the first test that fails names the band column.
int BreakdownBandCol(double score) {
    int col = kFirstBandCol;
    for (int limit = 1; limit <= 9; ++limit, ++col) {
        if (!(score > limit))
            return col;
    }
    return kLastBandCol;
}

// Column 0 already holds the name.
void StartDiverRow(StringGrid& grid, int row, const TDiverEntry& diver) {
    grid.SetCell(1, row, std::string(diver.Nation.view()));
    grid.SetCell(kCountCol, row, "1");
    for (int col = kAvgPtsCol; col <= kDivesCol; ++col)
        grid.SetCell(col, row, "0");
}

// Adds one record to its diver's row; true when the record created the row.
bool AddRecord(DiverList& list, StringGrid& grid, const TDiverEntry& diver,
               const TDiveRecord& record) {
    int row = list.Find(diver);
    const bool created = row < 0;
    if (created) {
        row = list.Add(diver);
        StartDiverRow(grid, row, diver);
    } else {
        IncrementCell(grid, kCountCol, row);
    }
    grid.SetCell(kTotalCol, row,
                 FormatGeneral(CellNumber(grid.Cell(kTotalCol, row)) + record.Points));
    IncrementCell(grid, kDivesCol, row);
    // A record DD of 0 leaves its score undefined: it counts in no band.
    if (record.DD != 0.0)
        IncrementCell(grid, BreakdownBandCol(record.Points / record.DD / 3), row);
    return created;
}

int CollectDivers(std::string_view diveCode, std::span<const TDiveRecord> dives,
                  const DiverRoster& roster, const FilterSelection& filter, StringGrid& grid) {
    DiverList list(grid);
    int diverCount = 0;
    for (const TDiveRecord& record : dives) {
        if (record.DiveCode.view() != diveCode)
            continue;
        const TDiverEntry* diver = roster.FindDiver(record.DiverId.view());
        if (diver != nullptr && PassesBreakdownFilter(*diver, filter) &&
            AddRecord(list, grid, *diver, record))
            ++diverCount;
    }
    return diverCount;
}

// Averages use the table's DD for the dive, not the records' own; a DD of 0 (or a blank DD
// cell) leaves the average score empty.
void FinishDiverRows(StringGrid& grid, double tableDD) {
    for (int row = 1; row < grid.RowCount(); ++row) {
        const double total = CellNumber(grid.Cell(kTotalCol, row));
        const auto dives = static_cast<double>(CellInteger(grid.Cell(kDivesCol, row)));
        const double avgPoints = total / dives;
        grid.SetCell(kAvgPtsCol, row, FormatFixed(avgPoints, 2));
        grid.SetCell(kAvgScoreCol, row,
                     tableDD != 0.0 ? FormatFixed(avgPoints / tableDD / 3, 1) : "");
        for (int col = kFirstBandCol; col <= kLastBandCol; ++col) {
            std::string share = FormatFixed(CellNumber(grid.Cell(col, row)) / dives * 100, 1);
            grid.SetCell(col, row, share == "0.0" ? "" : std::move(share));
        }
    }
}

} // namespace

DiverList::DiverList(StringGrid& grid) : grid_(grid) {
    grid_.SetRowCount(2);
    grid_.ClearRow(1);
}

const std::string& DiverList::NameOf(const TDiverEntry& diver) {
    name_.assign(diver.Surname.view());
    name_ += ", ";
    name_ += diver.GivenName.view();
    return name_;
}

int DiverList::Find(const TDiverEntry& diver) {
    const auto found = rows_.find(NameOf(diver));
    return found == rows_.end() ? -1 : found->second;
}

int DiverList::Add(const TDiverEntry& diver) {
    int row = 1;
    if (!grid_.Cell(0, 1).empty()) {
        grid_.SetRowCount(grid_.RowCount() + 1);
        row = grid_.RowCount() - 1;
    }
    grid_.SetCell(0, row, NameOf(diver));
    rows_.emplace(name_, row);
    return row;
}

DrillDownResult DrillDown(StringGrid& eventTable, int eventIndex, int clickedRow,
                          std::span<const TDiveRecord> dives, const DiverRoster& roster,
                          const FilterSelection& filter, BreakdownTarget target,
                          const SortSplit& split) {
    DrillDownResult result;
    if (!CanOpen(eventTable, clickedRow))
        return result;
    const std::string diveCode = eventTable.Cell(0, clickedRow);
    const std::string ddText = eventTable.Cell(2, clickedRow);

    FillSummary(eventTable, clickedRow, target.statsGrid);
    ResetDiveStats(eventTable, target.diveStatsGrid);
    result.diverCount = CollectDivers(diveCode, dives, roster, filter, target.diveStatsGrid);
    // With no diver row, row 1 stays blank: there is nothing to average.
    if (result.diverCount > 0)
        FinishDiverRows(target.diveStatsGrid, CellNumber(ddText));

    result.title = std::string(EventByIndex(eventIndex).id) + " - " + diveCode + " - DD " + ddText +
                   " - " + std::to_string(result.diverCount) + " divers";
    eventTable.SetCell(kDiversCol, clickedRow, std::to_string(result.diverCount));
    SortDiveStats(target.diveStatsGrid, target.statsSortCol, split);
    result.opened = true;
    return result;
}

void SortDiveStats(StringGrid& diveStatsGrid, int statsSortCol, const SortSplit& split) {
    // Without a sort column the rows keep their order of first appearance.
    if (statsSortCol < 0 || statsSortCol >= diveStatsGrid.ColCount())
        SplitBySortCount(diveStatsGrid, false, 0, 1, split);
    else if (statsSortCol <= 1)
        SortGridText(diveStatsGrid, statsSortCol, false, 0, 1, split);
    else
        SortGridNumeric(diveStatsGrid, statsSortCol, false, 0, 1, split);
}

} // namespace corvane
