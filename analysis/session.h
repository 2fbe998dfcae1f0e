// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "diver_count.h"
#include "drill_down.h"
#include "filter.h"
#include "filter_lists.h"
#include "grid_sort.h"
#include "rawdata/catalogue.h"
#include "rawdata/roster.h"
#include "store/events.h"
#include "store/record_store.h"
#include "string_grid.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace corvane {

struct LoadOutcome; // store/file_text.h

// The choices one statistics run of an event table is made under.
struct RunChoices {
    // The program's own first run: every dive counts, whatever the roster and the filter.
    bool initialRun = false;
    FilterSelection filter;
    int sortCol = 0;
    SortSplit split;
};

// What the program works on between two loads of its data folder: the results read, the
// roster and DD catalogue they are read against, the filter lists and the four event tables.
// The main window and dive-tables each keep one and ask it for their tables.
class AnalysisSession {
public:
    AnalysisSession();
    AnalysisSession(const AnalysisSession&) = delete;
    AnalysisSession& operator=(const AnalysisSession&) = delete;

    // First step of a load: the roster and the catalogue of `dataDir` (its Divers.tsv and
    // Catalogue.tsv, else the built-in ones) in place of those held, and empty filter lists.
    // Returns why a file of the folder cannot be used; both tables are then empty.
    std::optional<std::string> ReadReferenceTables(const std::string& dataDir);
    // Second step: the four result files of `dataDir`, in place of every record held.
    LoadOutcome ReadResults(const std::string& dataDir);
    // Both steps again, for a folder whose files changed: everything is read into fresh tables
    // first, and only once all of it is read does it take the place of what is held, with
    // empty filter lists. A roster or catalogue that cannot be used comes back as a failure
    // with its message; the session then holds what it held.
    LoadOutcome Reload(const std::string& dataDir);
    // The filter lists from the roster, as the first statistics run fills them.
    void FillFilterLists();

    const RecordStore& Store() const { return *store_; }
    const DiverRoster& Roster() const { return roster_; }
    const DDCatalogue& Catalogue() const { return catalogue_; }
    const FilterLists& Lists() const { return lists_; }
    // eventIndex is 1..4.
    StringGrid& EventTable(int eventIndex) { return tables_.at(eventIndex - 1); }
    const StringGrid& EventTable(int eventIndex) const { return tables_.at(eventIndex - 1); }

    // Makes the event table of `eventIndex` afresh from the records held.
    void RunStatistics(int eventIndex, const RunChoices& choices);
    // The breakdown of the dive in row `row` of that table into `target` (see DrillDown).
    DiveBreakdown BreakDown(int eventIndex, int row, const FilterSelection& filter,
                            const BreakdownTarget& target, const SortSplit& split);
    // Fills the "Divers" column of that table (see PopulateDiverCount).
    void CountDivers(int eventIndex, StringGrid& workingList, const DiverCountHooks& hooks);

private:
    std::unique_ptr<RecordStore> store_;
    bool resultsRead_ = false; // the store holds what a load left in it
    DiverRoster roster_;
    DDCatalogue catalogue_;
    // Refers to the rows of roster_: emptied before the roster is replaced.
    FilterLists lists_;
    std::array<StringGrid, kEventCount> tables_{
        {StringGrid{kEventTableCols, 2}, StringGrid{kEventTableCols, 2},
         StringGrid{kEventTableCols, 2}, StringGrid{kEventTableCols, 2}}};
};

} // namespace corvane
