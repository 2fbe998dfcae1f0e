// SPDX-License-Identifier: GPL-3.0-or-later
#include "session.h"

#include "statistics.h"
#include "store/file_text.h"
#include "store/result_loader.h"

namespace corvane {

AnalysisSession::AnalysisSession() : store_(std::make_unique<RecordStore>()) {}

std::optional<std::string> AnalysisSession::ReadReferenceTables(const std::string& dataDir) {
    // The lists refer to the rows of the roster about to go.
    ResetFilterLists(lists_);
    return FillReferenceTables(roster_, catalogue_, dataDir);
}

LoadOutcome AnalysisSession::ReadResults(const std::string& dataDir) {
    // The loader fills the slots of a fresh store from the front, and an event it does not
    // reach keeps its count: nothing of an earlier load may stay behind.
    if (resultsRead_)
        store_ = std::make_unique<RecordStore>();
    resultsRead_ = true;
    return LoadResultFiles(dataDir, *store_);
}

LoadOutcome AnalysisSession::Reload(const std::string& dataDir) {
    DiverRoster roster;
    DDCatalogue catalogue;
    if (auto tablesError = FillReferenceTables(roster, catalogue, dataDir)) {
        LoadOutcome failed;
        failed.kind = LoadOutcome::Kind::Failed;
        failed.message = std::move(*tablesError);
        return failed;
    }
    auto store = std::make_unique<RecordStore>();
    LoadOutcome outcome = LoadResultFiles(dataDir, *store);
    if (outcome.kind != LoadOutcome::Kind::Loaded)
        return outcome;
    ResetFilterLists(lists_);
    roster_ = std::move(roster);
    catalogue_ = std::move(catalogue);
    store_ = std::move(store);
    resultsRead_ = true;
    return outcome;
}

void AnalysisSession::FillFilterLists() {
    corvane::FillFilterLists(roster_, lists_);
}

void AnalysisSession::RunStatistics(int eventIndex, const RunChoices& choices) {
    GenerateEventTable(EventTable(eventIndex), eventIndex, store_->Filled(eventIndex), roster_,
                       catalogue_, choices.initialRun, choices.filter, choices.sortCol,
                       choices.split);
}

DiveBreakdown AnalysisSession::BreakDown(int eventIndex, int row, const FilterSelection& filter,
                                         const BreakdownTarget& target, const SortSplit& split) {
    return DrillDown(EventTable(eventIndex), eventIndex, row, store_->Filled(eventIndex), roster_,
                     filter, target, split);
}

void AnalysisSession::CountDivers(int eventIndex, StringGrid& workingList,
                                  const DiverCountHooks& hooks) {
    PopulateDiverCount(EventTable(eventIndex), store_->Filled(eventIndex), roster_, workingList,
                       hooks);
}

} // namespace corvane
