// SPDX-License-Identifier: GPL-3.0-or-later
#include "statistics.h"

#include "rawdata/catalogue.h"
#include "store/events.h"
#include "store/number_text.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace corvane {

namespace {

constexpr int kDiversColWidth = 80;

// A dive code (at most five bytes) and its length as one number, equal exactly when the codes
// are: whether a record continues the open group is then one compare per record.
static_assert(decltype(DiveRecord::DiveCode)::capacity() == 5);
constexpr std::array<std::uint64_t, 6> kCodeMasks{0,        0xFF,       0xFFFF,
                                                  0xFFFFFF, 0xFFFFFFFF, 0xFFFFFFFFFF};

std::uint64_t CodeKey(const FixedText<5>& code) {
    // All five bytes are readable; those past the code's length may be anything.
    std::uint32_t head = 0;
    std::memcpy(&head, code.view().data(), sizeof head);
    const std::uint64_t fifth = static_cast<unsigned char>(code.view().data()[4]);
    return ((head | fifth << 32) & kCodeMasks[code.size()]) | std::uint64_t{code.size()} << 40;
}

// The run of consecutive counted records of one dive code that becomes one table row.
struct DiveGroup {
    std::uint64_t key = 0; // CodeKey of the code
    std::string_view code; // views the first record, which outlives the pass
    double dd = 0.0;       // the DD column's value
    int count = 0;
    double sumPoints = 0.0;
    std::array<int, kBandCount> bands{};
};

// A DD of 0 leaves the score undefined; such a dive counts in no band rather than as inf.
void AddScore(DiveGroup& group, double points, double dd) {
    if (dd != 0.0)
        ++group.bands[ScoreBand(points / dd / 3)];
}

// The catalogue DD of the apparatus; a code the catalogue lacks (or rates "0.0" there) falls
// back on the DD its first record states, shown to one place, so a group never takes a
// stale or zero DD.
double GroupDD(const DDCatalogue& catalogue, std::string_view code, int eventIndex,
               const DiveRecord& first) {
    if (const DDCatalogue::DDs* dds = catalogue.FindDDs(code)) {
        const double catalogued =
            (*dds)[EventByIndex(eventIndex).apparatus == Apparatus::Springboard3m ? 0 : 1];
        if (catalogued != 0.0)
            return catalogued;
    }
    return CellNumber(FormatFixed(first.DD, 1));
}

void StartGroup(DiveGroup& group, const DiveRecord& record, std::uint64_t key, int eventIndex,
                const DDCatalogue& catalogue) {
    group.key = key;
    group.code = record.DiveCode.view();
    group.dd = GroupDD(catalogue, group.code, eventIndex, record);
    group.sumPoints = record.Points;
    group.count = 1;
    group.bands.fill(0);
    // The first record is scored on the group's catalogue DD, the others on their own.
    AddScore(group, record.Points, group.dd);
}

void JoinGroup(DiveGroup& group, const DiveRecord& record) {
    ++group.count;
    group.sumPoints += record.Points;
    AddScore(group, record.Points, record.DD);
}

// Whether the records of each roster row pass the filter, worked out once per row as its
// first record is met: many records share a diver, and a large roster has rows no record
// names.
class RosterVerdicts {
public:
    RosterVerdicts(const DiverRoster& roster, bool initialRun, const FilterSelection& filter)
        : roster_(roster), initialRun_(initialRun), filter_(filter),
          verdicts_(initialRun ? 0 : static_cast<std::size_t>(roster.Size()), kUnknown) {}

    bool RecordCounts(const DiveRecord& record) {
        if (initialRun_)
            return true;
        const DiverEntry* diver = roster_.FindDiver(record.DiverId);
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

// The groups of the pass in record order: one row each.
std::vector<DiveGroup> CollectGroups(int eventIndex, std::span<const DiveRecord> dives,
                                     const DiverRoster& roster, const DDCatalogue& catalogue,
                                     bool initialRun, const FilterSelection& filter) {
    std::vector<DiveGroup> groups;
    DiveGroup group;
    RosterVerdicts verdicts(roster, initialRun, filter);
    for (const DiveRecord& record : dives) {
        if (!verdicts.RecordCounts(record))
            continue;
        const std::uint64_t key = CodeKey(record.DiveCode);
        // A group exists once a record has started one, so a first record with an empty
        // code starts its own group instead of joining a group that never began.
        if (group.count > 0 && key == group.key) {
            JoinGroup(group, record);
            continue;
        }
        if (group.count > 0)
            groups.push_back(group);
        StartGroup(group, record, key, eventIndex, catalogue);
    }
    if (group.count > 0)
        groups.push_back(group);
    return groups;
}

// The cells of the data rows, each formatted once into one buffer, so a row costs no
// allocation of its own and the sort reads the very texts the table will show.
class TableCells {
public:
    explicit TableCells(std::size_t rows) {
        ends_.reserve(rows * kEventTableCols);
        text_.reserve(rows * 48);
    }
    std::string& Text() { return text_; }
    void EndCell() { ends_.push_back(text_.size()); }
    std::string_view Cell(std::size_t row, int col) const {
        const std::size_t index = row * kEventTableCols + static_cast<std::size_t>(col);
        const std::size_t start = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_).substr(start, ends_[index] - start);
    }

private:
    std::string text_;
    std::vector<std::size_t> ends_; // where each cell ends in text_, row by row
};

void AppendCount(std::string& text, int count) {
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), count);
    text.append(digits.data(), result.ptr);
}

// One row: code, count, DD, averages, each band's share of the Count (a share that shows
// "0.0" stays empty), an empty "Divers" cell and the empty hidden column.
void FormatGroupRow(TableCells& cells, const DiveGroup& group) {
    std::string& text = cells.Text();
    text += group.code;
    cells.EndCell();
    AppendCount(text, group.count);
    cells.EndCell();
    AppendFixed(text, group.dd, 1);
    cells.EndCell();
    const double avgPoints = group.sumPoints / group.count;
    AppendFixed(text, avgPoints, 2);
    cells.EndCell();
    if (group.dd != 0.0)
        AppendFixed(text, avgPoints / group.dd / 3, 1);
    cells.EndCell();
    for (int band = 0; band < kBandCount; ++band) {
        const std::size_t start = text.size();
        AppendShare(text, group.bands[band], group.count);
        if (std::string_view(text).substr(start) == "0.0")
            text.resize(start);
        cells.EndCell();
    }
    cells.EndCell();
    cells.EndCell();
}

void WriteHeaderRow(StringGrid& table) {
    static const std::array<std::string, kDiversCol + 1> kHeaders = [] {
        std::array<std::string, kDiversCol + 1> headers;
        for (int col = 0; col <= kDiversCol; ++col)
            headers[static_cast<std::size_t>(col)] = EventHeader(col);
        return headers;
    }();
    // Column 16 keeps its empty header. A later pass finds all of it in place already.
    for (int col = 0; col <= kDiversCol; ++col) {
        if (table.Cell(col, 0) != kHeaders[static_cast<std::size_t>(col)])
            table.SetCell(col, 0, kHeaders[static_cast<std::size_t>(col)]);
    }
    if (table.ColWidth(16) != 0)
        table.SetColWidth(16, 0);
    if (table.ColWidth(kDiversCol) != kDiversColWidth)
        table.SetColWidth(kDiversCol, kDiversColWidth);
}

// The rows in the order the sort by `sortCol` gives (SortEventTable's rule on the same
// texts), each written once, in place.
void WriteRows(StringGrid& table, const TableCells& cells, std::size_t rowCount, int sortCol,
               const SortSplit& split) {
    const KeyOrder order = EventTableKeyOrder(sortCol, table.ColCount());
    std::vector<std::string_view> keys(rowCount);
    std::vector<std::string_view> counts(rowCount);
    for (std::size_t row = 0; row < rowCount; ++row) {
        if (order != KeyOrder::None)
            keys[row] = cells.Cell(row, sortCol);
        counts[row] = cells.Cell(row, kCountCol);
    }
    const std::vector<int> positions = SortedPositions(order, keys, counts, split.sortCount);
    table.SetRowCount(static_cast<int>(rowCount) + 1);
    std::array<std::string_view, kEventTableCols> texts;
    for (std::size_t i = 0; i < rowCount; ++i) {
        for (int col = 0; col < kEventTableCols; ++col)
            texts[static_cast<std::size_t>(col)] =
                cells.Cell(static_cast<std::size_t>(positions[i]), col);
        table.SetRowTexts(static_cast<int>(i) + 1, texts);
    }
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

void GenerateEventTable(StringGrid& table, int eventIndex, std::span<const DiveRecord> dives,
                        const DiverRoster& roster, const DDCatalogue& catalogue, bool initialRun,
                        const FilterSelection& filter, int sortCol, const SortSplit& split) {
    WriteHeaderRow(table);
    const std::vector<DiveGroup> groups =
        CollectGroups(eventIndex, dives, roster, catalogue, initialRun, filter);
    // A table that no record reached keeps one empty row and is not sorted.
    if (groups.empty()) {
        table.SetRowCount(2);
        table.ClearRow(1);
        return;
    }
    // The rows come out finished and in their sorted places: shares in place of the band
    // counts, "Divers" empty.
    TableCells cells(groups.size());
    for (const DiveGroup& group : groups)
        FormatGroupRow(cells, group);
    WriteRows(table, cells, groups.size(), sortCol, split);
    if (split.pump)
        split.pump();
}

} // namespace corvane
