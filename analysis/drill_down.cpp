// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill_down.h"

#include "statistics.h"
#include "store/events.h"
#include "store/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

namespace corvane {

namespace {

bool CanOpen(const StringGrid& table, int clickedRow) {
    return clickedRow >= 1 && clickedRow < table.RowCount() && !table.Cell(kCountCol, 1).empty();
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
    grid.SetColWidth(kRunningPointsCol, 0);
    grid.SetColWidth(kRunningDivesCol, 0);
}

// The running total of one diver's points as its hidden cell holds it: after each record the
// cell gets the total's 15-digit text, and the next record adds to that text read back.
// While every points value is a whole number of hundredths, not negative, that text is
// always the exact decimal sum (the double sum lies within 1.5 units in the last place of it,
// well inside half a step of 15 digits), so a sum of hundredths gives the same text without
// writing and reading one per record. Other values take the text road from there on.
class PointsTotal {
public:
    void Add(double points) {
        constexpr double kMaxPoints = 1e12;
        constexpr long long kMaxHundredths = 100000000000000; // 15 digits
        if (exact_ && points >= 0 && points < kMaxPoints) {
            const long long hundredths = std::llround(points * 100);
            if (static_cast<double>(hundredths) / 100 == points &&
                hundredths_ + hundredths < kMaxHundredths) {
                hundredths_ += hundredths;
                return;
            }
        }
        if (exact_) {
            total_ = Value();
            exact_ = false;
        }
        total_ = CellNumber(FormatGeneral(total_ + points));
    }
    double Value() const { return exact_ ? static_cast<double>(hundredths_) / 100 : total_; }

private:
    bool exact_ = true;
    long long hundredths_ = 0;
    double total_ = 0.0;
};

// One diver row of the breakdown while the records are read.
struct DiverTally {
    int row = 0;
    int dives = 0;
    PointsTotal total;
    std::array<int, kBandCount> bands{};
    DiverShares shares; // the name and nation now, the shares when the row is finished
};

// Adds one record to its diver's tally, opening the diver's row on the first record.
void AddRecord(std::vector<DiverTally>& tallies, std::vector<int>& tallyOfName, int nameId,
               const DiveRecord& record, StringGrid& grid, const DiverNames& names,
               const DiverEntry& diver) {
    if (tallyOfName.size() <= static_cast<std::size_t>(nameId))
        tallyOfName.resize(static_cast<std::size_t>(nameId) + 1, -1);
    int& tally = tallyOfName[static_cast<std::size_t>(nameId)];
    if (tally < 0) {
        tally = static_cast<int>(tallies.size());
        tallies.push_back({});
        DiverTally& opened = tallies.back();
        opened.row = AppendDiverName(grid, names.Name(nameId));
        // The nation of the record that opened the row.
        grid.AssignCell(kDiverNationCol, opened.row, diver.Nation.view());
        opened.shares.name = names.Name(nameId);
        opened.shares.nation = diver.Nation.view();
    }
    DiverTally& entry = tallies[static_cast<std::size_t>(tally)];
    ++entry.dives;
    entry.total.Add(record.Points);
    // A record DD of 0 leaves its score undefined: it counts in no band.
    if (record.DD != 0.0)
        ++entry.bands[ScoreBand(record.Points / record.DD / 3)];
}

std::vector<DiverTally> CollectDivers(std::string_view diveCode, std::span<const DiveRecord> dives,
                                      const DiverRoster& roster, const FilterSelection& filter,
                                      StringGrid& grid) {
    ClearDiverList(grid);
    DiverNames names(roster);
    std::vector<DiverTally> tallies;
    std::vector<int> tallyOfName;
    for (const DiveRecord& record : dives) {
        if (record.DiveCode.view() != diveCode)
            continue;
        const DiverEntry* diver = roster.FindDiver(record.DiverId);
        if (diver != nullptr && PassesBreakdownFilter(*diver, filter))
            AddRecord(tallies, tallyOfName, names.IdOf(*diver), record, grid, names, *diver);
    }
    return tallies;
}

// The cells of every diver row, written once, as the running cells would have ended: the
// count, the averages on the table's DD (not the records' own; a DD of 0 leaves the average
// score empty), the shares, and the hidden total and number of dives.
// Returns each row's shares as numbers, the values of the texts written.
std::vector<DiverShares> FinishDiverRows(StringGrid& grid, std::vector<DiverTally>& tallies,
                                         double tableDD) {
    std::string text; // one buffer for every cell written here
    const auto put = [&grid, &text](int col, int row) { grid.AssignCell(col, row, text); };
    std::vector<DiverShares> divers;
    divers.reserve(tallies.size());
    for (DiverTally& tally : tallies) {
        const int row = tally.row;
        std::string totalText = FormatGeneral(tally.total.Value());
        const double total = CellNumber(totalText);
        const auto dives = static_cast<double>(tally.dives);
        const double avgPoints = total / dives;
        grid.SetCell(kDiverCountCol, row, std::to_string(tally.dives));
        text.clear();
        AppendFixed(text, avgPoints, 2);
        put(kAvgPtsCol, row);
        text.clear();
        if (tableDD != 0.0)
            AppendFixed(text, avgPoints / tableDD / 3, 1);
        put(kAvgScoreCol, row);
        for (int col = kFirstBandCol; col <= kLastBandCol; ++col) {
            // The text of band / dives * 100, which is AppendShare's (a test holds them).
            const auto band = static_cast<std::size_t>(col - kFirstBandCol);
            text.clear();
            AppendShare(text, tally.bands[band], tally.dives);
            tally.shares.shares[band] = CellNumber(text);
            if (text == "0.0")
                text.clear();
            put(col, row);
        }
        grid.SetCell(kRunningPointsCol, row, std::move(totalText));
        grid.SetCell(kRunningDivesCol, row, std::to_string(tally.dives));
        divers.push_back(std::move(tally.shares));
    }
    return divers;
}

// The shares of a row of the event table, as its cells show them (a blank one is 0).
std::array<double, kBandCount> RowShares(const StringGrid& table, int row) {
    std::array<double, kBandCount> shares{};
    for (int band = 0; band < kBandCount; ++band)
        shares[static_cast<std::size_t>(band)] = CellNumber(table.Cell(kFirstBandCol + band, row));
    return shares;
}

} // namespace

DiverNames::DiverNames(const DiverRoster& roster)
    : firstRow_(roster.Rows().data()), idOfRow_(roster.Rows().size(), -1) {}

int DiverNames::IdOf(const DiverEntry& diver) {
    int& id = idOfRow_[static_cast<std::size_t>(&diver - firstRow_)];
    if (id < 0) {
        const auto [found, added] = ids_.emplace(DiverName(diver), static_cast<int>(names_.size()));
        if (added)
            names_.push_back(found->first);
        id = found->second;
    }
    return id;
}

void ClearDiverList(StringGrid& grid) {
    grid.SetRowCount(2);
    grid.ClearRow(1);
}

int AppendDiverName(StringGrid& grid, const std::string& name) {
    int row = 1;
    if (!grid.Cell(0, 1).empty()) {
        grid.SetRowCount(grid.RowCount() + 1);
        row = grid.RowCount() - 1;
    }
    grid.AssignCell(0, row, name);
    return row;
}

const DiverShares* DiveBreakdown::DiverNamed(std::string_view name) const {
    for (const DiverShares& diver : divers) {
        if (diver.name == name)
            return &diver;
    }
    return nullptr;
}

DiveBreakdown DrillDown(StringGrid& eventTable, int eventIndex, int clickedRow,
                        std::span<const DiveRecord> dives, const DiverRoster& roster,
                        const FilterSelection& filter, BreakdownTarget target,
                        const SortSplit& split) {
    DiveBreakdown result;
    if (!CanOpen(eventTable, clickedRow))
        return result;
    result.eventIndex = eventIndex;
    result.diveCode = eventTable.Cell(kDiveCol, clickedRow);
    result.dd = eventTable.Cell(kDDCol, clickedRow);
    result.filter = filter;
    result.fieldShares = RowShares(eventTable, clickedRow);

    FillSummary(eventTable, clickedRow, target.statsGrid);
    ResetDiveStats(eventTable, target.diveStatsGrid);
    std::vector<DiverTally> tallies =
        CollectDivers(result.diveCode, dives, roster, filter, target.diveStatsGrid);
    result.diverCount = static_cast<int>(tallies.size());
    // With no diver row, row 1 stays blank: there is nothing to average.
    result.divers = FinishDiverRows(target.diveStatsGrid, tallies, CellNumber(result.dd));

    result.title = std::string(EventByIndex(eventIndex).id) + " - " + result.diveCode + " - DD " +
                   result.dd + " - " + std::to_string(result.diverCount) + " divers";
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
