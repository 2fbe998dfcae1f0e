// SPDX-License-Identifier: GPL-3.0-or-later
#include "statistics.h"

#include "rawdata/catalogue.h"
#include "store/events.h"
#include "store/number_text.h"

#include <array>
#include <string_view>
#include <unordered_map>

namespace corvane {

namespace {

constexpr int kDiversColWidth = 80;

// The run of consecutive counted records of one dive code that becomes one table row.
struct DiveGroup {
    std::string_view code; // views the first record, which outlives the pass
    std::string ddText;
    double dd = 0.0; // the number in ddText
    int count = 0;
    double sumPoints = 0.0;
    std::array<int, kBandCount> bands{};
};

// A DD of 0 leaves the score undefined; such a dive counts in no band rather than as inf.
void AddScore(DiveGroup& group, double points, double dd) {
    if (dd != 0.0)
        ++group.bands[ScoreBand(points / dd / 3)];
}

// The first catalogue entry of a code. The catalogue is a constant table, so an index built
// on first use (keeping the first entry of a code) finds what a scan from the top finds,
// without comparing a few hundred codes for every dive group.
const TCatalogueEntry* FindCatalogueEntry(std::string_view code) {
    static const std::unordered_map<std::string_view, const TCatalogueEntry*> index = [] {
        std::unordered_map<std::string_view, const TCatalogueEntry*> entries;
        for (const TCatalogueEntry& entry : DiveCatalogue)
            entries.emplace(entry.Code, &entry);
        return entries;
    }();
    const auto found = index.find(code);
    return found == index.end() ? nullptr : found->second;
}

// The catalogue DD of the apparatus; a code the catalogue lacks (or rates "0.0" there) falls
// back on the DD its first record states, so a group never takes a stale or zero DD.
std::string GroupDDText(std::string_view code, int eventIndex, const TDiveRecord& first) {
    const TCatalogueEntry* entry = FindCatalogueEntry(code);
    if (entry != nullptr) {
        const std::string_view catalogued =
            EventByIndex(eventIndex).apparatus == Apparatus::Springboard3m ? entry->DD3m
                                                                           : entry->DD10m;
        if (CellNumber(catalogued) != 0.0)
            return std::string(catalogued);
    }
    return FormatFixed(first.DD, 1);
}

void StartGroup(DiveGroup& group, const TDiveRecord& record, int eventIndex) {
    group.code = record.DiveCode.view();
    group.ddText = GroupDDText(group.code, eventIndex, record);
    group.dd = CellNumber(group.ddText);
    group.sumPoints = record.Points;
    group.count = 1;
    group.bands.fill(0);
    // The first record is scored on the group's catalogue DD, the others on their own.
    AddScore(group, record.Points, group.dd);
}

void JoinGroup(DiveGroup& group, const TDiveRecord& record) {
    ++group.count;
    group.sumPoints += record.Points;
    AddScore(group, record.Points, record.DD);
}

void WriteGroupRow(StringGrid& table, const DiveGroup& group) {
    if (!table.Cell(kCountCol, 1).empty())
        table.SetRowCount(table.RowCount() + 1);
    const int row = table.RowCount() - 1;
    const double avgPoints = group.sumPoints / group.count;
    table.SetCell(kDiveCol, row, std::string(group.code));
    table.SetCell(kCountCol, row, std::to_string(group.count));
    table.SetCell(kDDCol, row, FormatFixed(group.dd, 1));
    table.SetCell(kAvgPtsCol, row, FormatFixed(avgPoints, 2));
    table.SetCell(kAvgScoreCol, row,
                  group.dd != 0.0 ? FormatFixed(avgPoints / group.dd / 3, 1) : "");
    // Each band's share of the Count, as the counts written out and read back would give it
    // (whole numbers read back exactly); a share that shows "0.0" stays empty.
    for (int band = 0; band < kBandCount; ++band) {
        std::string share =
            FormatFixed(static_cast<double>(group.bands[band]) * 100 / group.count, 1);
        if (share != "0.0")
            table.SetCell(kFirstBandCol + band, row, std::move(share));
    }
}

// Whether the records of each roster row pass the filter, worked out once per row as its
// first record is met: many records share a diver, and a large roster has rows no record
// names.
class RosterVerdicts {
public:
    RosterVerdicts(const DiverRoster& roster, bool initialRun, const FilterSelection& filter)
        : roster_(roster), initialRun_(initialRun), filter_(filter),
          verdicts_(initialRun ? 0 : static_cast<std::size_t>(roster.Size()), kUnknown) {}

    bool RecordCounts(const TDiveRecord& record) {
        if (initialRun_)
            return true;
        const TDiverEntry* diver = roster_.FindDiver(record.DiverId);
        if (diver == nullptr)
            return false;
        signed char& verdict = verdicts_[static_cast<std::size_t>(diver - roster_.Rows().data())];
        if (verdict == kUnknown)
            verdict = PassesFilter(*diver, filter_) ? 1 : 0;
        return verdict == 1;
    }

private:
    static constexpr signed char kUnknown = -1;
    const DiverRoster& roster_;
    bool initialRun_;
    const FilterSelection& filter_;
    std::vector<signed char> verdicts_;
};

void WriteHeaderRow(StringGrid& table) {
    // Column 16 keeps its empty header.
    for (int col = 0; col <= kDiversCol; ++col)
        table.SetCell(col, 0, EventHeader(col));
    table.SetColWidth(16, 0);
    table.SetColWidth(kDiversCol, kDiversColWidth);
    table.SetRowCount(2);
    table.ClearRow(1);
}

void WriteGroups(StringGrid& table, int eventIndex, std::span<const TDiveRecord> dives,
                 const DiverRoster& roster, bool initialRun, const FilterSelection& filter) {
    DiveGroup group;
    RosterVerdicts verdicts(roster, initialRun, filter);
    for (const TDiveRecord& record : dives) {
        if (!verdicts.RecordCounts(record))
            continue;
        // A group exists once a record has started one, so a first record with an empty
        // code starts its own group instead of joining a group that never began.
        if (group.count > 0 && SameShortText(record.DiveCode.view(), group.code)) {
            JoinGroup(group, record);
            continue;
        }
        if (group.count > 0)
            WriteGroupRow(table, group);
        StartGroup(group, record, eventIndex);
    }
    if (group.count > 0)
        WriteGroupRow(table, group);
}

} // namespace

std::string EventHeader(int col) {
    static constexpr std::array<std::string_view, kFirstBandCol> kLeading{"Dive", "Count", "DD",
                                                                          "Avg Pts", "Avg Score"};
    if (col >= 0 && col < kFirstBandCol)
        return std::string(kLeading[col]);
    if (col == kFirstBandCol)
        return "0 to 1";
    if (col > kFirstBandCol && col <= kLastBandCol) {
        const int limit = col - kFirstBandCol;
        // Appended piece by piece: "literal" + std::string trips a false -Wrestrict at -O3.
        std::string header = ">";
        header += std::to_string(limit);
        header += " to ";
        header += std::to_string(limit + 1);
        return header;
    }
    return col == kDiversCol ? "Divers" : "";
}

void GenerateEventTable(StringGrid& table, int eventIndex, std::span<const TDiveRecord> dives,
                        const DiverRoster& roster, bool initialRun, const FilterSelection& filter,
                        int sortCol, const SortSplit& split) {
    WriteHeaderRow(table);
    // The rows come out finished: shares in place of the band counts, "Divers" empty.
    WriteGroups(table, eventIndex, dives, roster, initialRun, filter);
    if (!table.Cell(kCountCol, 1).empty())
        SortEventTable(table, sortCol, split);
}

} // namespace corvane
