// SPDX-License-Identifier: GPL-3.0-or-later
#include "diver_count.h"

#include "drill_down.h"
#include "statistics.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace corvane {

namespace {

// Counts the distinct diver names among records, one dive code after another, and writes
// them into the working list. A name is counted once per code by a mark holding the number
// of the code's count, so nothing is cleared between codes.
class DistinctDivers {
public:
    DistinctDivers(const DiverRoster& roster, StringGrid& workingList)
        : roster_(roster), names_(roster), workingList_(workingList) {}

    // Empties the working list for the next code.
    void StartCode() {
        ClearDiverList(workingList_);
        ++code_;
    }
    // Adds the record's diver when the record passes and the name is new; true when added.
    bool Add(const DiveRecord& record, const FilterSelection& filter) {
        const DiverEntry* diver = roster_.FindDiver(record.DiverId);
        if (diver == nullptr || !PassesBreakdownFilter(*diver, filter))
            return false;
        const auto id = static_cast<std::size_t>(names_.IdOf(*diver));
        if (id >= countedIn_.size())
            countedIn_.resize(id + 1, 0);
        if (countedIn_[id] == code_)
            return false;
        countedIn_[id] = code_;
        AppendDiverName(workingList_, names_.Name(static_cast<int>(id)));
        return true;
    }

private:
    const DiverRoster& roster_;
    DiverNames names_;
    StringGrid& workingList_;
    std::vector<int> countedIn_; // per name: the last code that counted it
    int code_ = 0;
};

// The slots of every dive code in slot order. The records never change after loading, so
// visiting a code's slots gives exactly what a scan of every slot gives, without comparing
// each table row's code against every record.
using SlotsByCode = std::unordered_map<std::string_view, std::vector<int>>;

SlotsByCode IndexByCode(std::span<const DiveRecord> dives) {
    SlotsByCode index;
    for (std::size_t slot = 0; slot < dives.size(); ++slot)
        index[dives[slot].DiveCode.view()].push_back(static_cast<int>(slot));
    return index;
}

int CountIndexedDivers(std::string_view diveCode, std::span<const DiveRecord> dives,
                       const SlotsByCode& index, const FilterSelection& filter,
                       DistinctDivers& divers) {
    divers.StartCode();
    const auto found = index.find(diveCode);
    if (found == index.end())
        return 0;
    int count = 0;
    for (int slot : found->second) {
        if (divers.Add(dives[static_cast<std::size_t>(slot)], filter))
            ++count;
    }
    return count;
}

// The rows of a count, top to bottom. A sort between two rows (a header press while messages
// run) moves every row with its "Divers" cell, so a walk by row number alone would skip rows
// that moved up and count others twice. Since a row's count depends on its dive code only,
// the walk then starts over from the top and counts only the codes it has not counted yet;
// rows of counted codes get the count again: every row ends as the count followed by the
// sort would leave it.
class RowWalk {
public:
    RowWalk(const StringGrid& table, int lastRow) : lastRow_(lastRow), codes_(Codes(table)) {}

    // Moves to the next row to count; false when every row is done.
    bool NextRow(StringGrid& table) {
        if (!SameCodes(table)) {
            codes_ = Codes(table);
            row_ = 0;
            resumed_ = true;
        }
        while (++row_ <= lastRow_) {
            const auto counted = counts_.find(Code());
            if (!resumed_ || counted == counts_.end())
                return true;
            table.SetCell(kDiversCol, row_, counted->second);
        }
        return false;
    }
    const std::string& Code() const { return codes_[static_cast<std::size_t>(row_ - 1)]; }
    void Done(StringGrid& table, std::string count) {
        table.SetCell(kDiversCol, row_, count);
        counts_[Code()] = std::move(count);
    }

private:
    bool SameCodes(const StringGrid& table) const {
        for (int row = 1; row <= lastRow_; ++row) {
            if (table.Cell(0, row) != codes_[static_cast<std::size_t>(row - 1)])
                return false;
        }
        return true;
    }
    std::vector<std::string> Codes(const StringGrid& table) const {
        std::vector<std::string> codes;
        for (int row = 1; row <= lastRow_; ++row)
            codes.push_back(table.Cell(0, row));
        return codes;
    }

    int lastRow_;
    int row_ = 0;
    bool resumed_ = false;
    std::vector<std::string> codes_;
    std::unordered_map<std::string, std::string> counts_;
};

} // namespace

int CountDistinctDivers(std::string_view diveCode, std::span<const DiveRecord> dives,
                        const DiverRoster& roster, const FilterSelection& filter,
                        StringGrid& workingList) {
    DistinctDivers divers(roster, workingList);
    divers.StartCode();
    int count = 0;
    for (const DiveRecord& record : dives) {
        if (record.DiveCode.view() == diveCode && divers.Add(record, filter))
            ++count;
    }
    return count;
}

void PopulateDiverCount(StringGrid& table, std::span<const DiveRecord> dives,
                        const DiverRoster& roster, StringGrid& workingList,
                        const DiverCountHooks& hooks) {
    const unsigned long long generation = table.Generation();
    const int lastRow = table.RowCount() - 1;
    const SlotsByCode index = IndexByCode(dives);
    RowWalk walk(table, lastRow);
    DistinctDivers divers(roster, workingList);
    for (;;) {
        // The lists may have changed while messages ran after the previous row.
        const FilterSelection filter = hooks.filter ? hooks.filter() : FilterSelection{};
        // A statistics run between two rows rebuilt the table: its rows are no longer ours.
        if (table.Generation() != generation || !walk.NextRow(table))
            return;
        const std::string& diveCode = walk.Code();
        const int count = CountIndexedDivers(diveCode, dives, index, filter, divers);
        walk.Done(table, std::to_string(count));
        if (hooks.afterRow && !hooks.afterRow())
            return;
    }
}

} // namespace corvane
