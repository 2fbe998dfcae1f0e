// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis commands on the sample results: each should feel instant (a few milliseconds
// at most; the diver count, which repaints between rows, somewhat more).

#include "analysis/diver_count.h"
#include "analysis/drill_down.h"
#include "analysis/grid_sort.h"
#include "analysis/statistics.h"
#include "analysis/table_text.h"
#include "store/number_text.h"
#include "store/result_loader.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace corvane {
namespace {

constexpr int kTableCols = 17;

// The four sample result files and the shipped roster, loaded once for every benchmark.
struct Sample {
    std::unique_ptr<RecordStore> store = std::make_unique<RecordStore>();
    DiverRoster roster = BuiltInRoster();
    std::string problem; // empty when loaded

    Sample() {
        const LoadOutcome outcome = LoadResultFiles(CORVANE_SAMPLE_DIR, *store);
        if (outcome.kind != LoadOutcome::Kind::Loaded)
            problem = "sample results not loaded: " + outcome.path + " " + outcome.message;
    }
};

const Sample& TheSample() {
    static const Sample sample;
    return sample;
}

bool SkipWithoutSample(benchmark::State& state) {
    if (TheSample().problem.empty())
        return false;
    state.SkipWithError(TheSample().problem.c_str());
    return true;
}

StringGrid GeneratedTable(int eventIndex) {
    StringGrid table(kTableCols, 2);
    GenerateEventTable(table, eventIndex, TheSample().store->Dives(eventIndex), TheSample().roster,
                       BuiltInCatalogue(), true, {}, 0, {});
    return table;
}

StringGrid LargestTable() {
    StringGrid largest = GeneratedTable(1);
    for (int eventIndex = 2; eventIndex <= kEventCount; ++eventIndex) {
        StringGrid table = GeneratedTable(eventIndex);
        if (table.RowCount() > largest.RowCount())
            largest = table;
    }
    return largest;
}

void BM_InitialRun(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    const Sample& sample = TheSample();
    StringGrid tables[kEventCount] = {
        {kTableCols, 2}, {kTableCols, 2}, {kTableCols, 2}, {kTableCols, 2}};
    FilterLists lists;
    for (auto _ : state) {
        for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
            StringGrid& table = tables[eventIndex - 1];
            GenerateEventTable(table, eventIndex, sample.store->Dives(eventIndex), sample.roster,
                               BuiltInCatalogue(), true, {}, 0, {});
            if (eventIndex == 1) {
                ResetFilterLists(lists);
                FillFilterLists(sample.roster, lists);
            }
        }
        benchmark::DoNotOptimize(tables[3].RowCount());
    }
}
BENCHMARK(BM_InitialRun)->Unit(benchmark::kMillisecond);

// A later run of the four passes under one filter, the first roster entry's country or label.
void FilteredRun(benchmark::State& state, const FilterSelection& filter) {
    const Sample& sample = TheSample();
    StringGrid table(kTableCols, 2);
    for (auto _ : state) {
        for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex)
            GenerateEventTable(table, eventIndex, sample.store->Dives(eventIndex), sample.roster,
                               BuiltInCatalogue(), false, filter, 0, {});
        benchmark::DoNotOptimize(table.RowCount());
    }
}

void BM_FilteredRunCountry(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    FilterSelection filter;
    filter.countryIndex = 1;
    filter.country = TheSample().roster.Rows()[0].Nation.str();
    FilteredRun(state, filter);
}
BENCHMARK(BM_FilteredRunCountry)->Unit(benchmark::kMillisecond);

void BM_FilteredRunDiver(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    FilterSelection filter;
    filter.diverIndex = 1;
    filter.diver = DiverLabel(TheSample().roster.Rows()[0]);
    FilteredRun(state, filter);
}
BENCHMARK(BM_FilteredRunDiver)->Unit(benchmark::kMillisecond);

// The selection sort compares every pair whatever the order, so sorting the same table
// again and again costs what the first sort costs.
void BM_SortLargestTable(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    StringGrid table = LargestTable();
    const int keyCol = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (keyCol == 0)
            SortGridText(table, 0, true, 0, 1, {});
        else
            SortGridNumeric(table, keyCol, true, 0, 1, {});
        benchmark::DoNotOptimize(table.Cell(0, 1).data());
    }
    state.counters["rows"] = table.RowCount() - 1;
}
BENCHMARK(BM_SortLargestTable)->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond);

int MostPerformedRow(const StringGrid& table) {
    int best = 1;
    for (int row = 2; row < table.RowCount(); ++row) {
        if (CellInteger(table.Cell(1, row)) > CellInteger(table.Cell(1, best)))
            best = row;
    }
    return best;
}

void BM_DrillDownMostPerformed(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    StringGrid table = GeneratedTable(1);
    const int row = MostPerformedRow(table);
    StringGrid statsGrid(kTableCols, 2);
    StringGrid diveStatsGrid(kTableCols, 2);
    DiveBreakdown result;
    for (auto _ : state) {
        result = DrillDown(table, 1, row, TheSample().store->Dives(1), TheSample().roster, {},
                           {statsGrid, diveStatsGrid, 2}, {});
        benchmark::DoNotOptimize(result.diverCount);
    }
    state.counters["records"] = static_cast<double>(CellInteger(table.Cell(1, row)));
    state.counters["divers"] = result.diverCount;
}
BENCHMARK(BM_DrillDownMostPerformed)->Unit(benchmark::kMicrosecond);

void BM_DiverCountM3M(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    StringGrid table = GeneratedTable(1);
    StringGrid workingList(kTableCols, 2);
    for (auto _ : state) {
        PopulateDiverCount(table, TheSample().store->Dives(1), TheSample().roster, workingList, {});
        benchmark::DoNotOptimize(table.Cell(kDiversCol, 1).data());
    }
    state.counters["rows"] = table.RowCount() - 1;
}
BENCHMARK(BM_DiverCountM3M)->Unit(benchmark::kMillisecond);

void BM_TableTextLargest(benchmark::State& state) {
    if (SkipWithoutSample(state))
        return;
    const StringGrid table = LargestTable();
    for (auto _ : state) {
        const std::string text = TableText(table, kTableCols);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_TableTextLargest)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace corvane
