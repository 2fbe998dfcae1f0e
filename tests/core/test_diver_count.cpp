// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/diver_count.h"

#include "analysis/drill_down.h"
#include "analysis/statistics.h"
#include "analysis_test_support.h"
#include "store/result_loader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

using Cells = std::vector<std::string>;

// Column 15 of every row, as the drill-down writes it row by row.
Cells DrillDownCounts(StringGrid table, int eventIndex, std::span<const DiveRecord> dives,
                      const DiverRoster& roster, const FilterSelection& filter) {
    StringGrid statsGrid(17, 2);
    StringGrid diveStatsGrid(17, 2);
    for (int row = 1; row < table.RowCount(); ++row)
        DrillDown(table, eventIndex, row, dives, roster, filter, {statsGrid, diveStatsGrid, 2}, {});
    return ColumnCells(table, kDiversCol);
}

Cells PopulatedCounts(StringGrid table, std::span<const DiveRecord> dives,
                      const DiverRoster& roster, const FilterSelection& filter) {
    StringGrid workingList(17, 2);
    DiverCountHooks hooks;
    hooks.filter = [&filter] { return filter; };
    PopulateDiverCount(table, dives, roster, workingList, hooks);
    return ColumnCells(table, kDiversCol);
}

class DiverCountTest : public ::testing::Test {
protected:
    DiverCountTest()
        : roster({Diver("A", "ALPHA", "Ann", "USA"), Diver("B", "BETA", "Bo", "CHN"),
                  Diver("A2", "ALPHA", "Ann", "CAN"), Diver("N", "NONAT", "Ned", "  "),
                  Diver("C", "GAMMA", "Cy", "USA")}) {
        // Five dives of one diver, two roster entries of one name, a blank nation, an id
        // absent from the roster, a code in two runs.
        dives = {
            Dive("A", "101B", 1.5, 30),  Dive("A", "101B", 1.5, 30), Dive("A", "101B", 1.5, 30),
            Dive("A", "101B", 1.5, 30),  Dive("A", "101B", 1.5, 30), Dive("B", "105B", 2.4, 60),
            Dive("A2", "105B", 2.4, 60), Dive("A", "105B", 2.4, 60), Dive("N", "105C", 2.2, 50),
            Dive("X", "105C", 2.2, 50),  Dive("C", "101B", 1.5, 30), Dive("B", "203B", 2.2, 40)};
        GenerateEventTable(table, kM3M, dives, roster, BuiltInCatalogue(), true, {}, 0, {});
    }

    DiverRoster roster;
    std::vector<DiveRecord> dives;
    StringGrid table = EventTableGrid();
};

TEST_F(DiverCountTest, DistinctNamesPassingTheFilter) {
    EXPECT_EQ(ColumnCells(table, 0), (Cells{"101B", "101B", "105B", "105C", "203B"}));
    EXPECT_EQ(PopulatedCounts(table, dives, roster, {}), (Cells{"2", "2", "2", "0", "1"}));
    EXPECT_EQ(PopulatedCounts(table, dives, roster, CountryFilter("USA")),
              (Cells{"2", "2", "1", "0", "0"}));
}

TEST_F(DiverCountTest, EqualsTheDrillDownForEveryRow) {
    for (const FilterSelection& filter : {FilterSelection{}, CountryFilter("USA"),
                                          CountryFilter("CHN"), DiverFilter("ALPHA, Ann [CAN]")}) {
        EXPECT_EQ(PopulatedCounts(table, dives, roster, filter),
                  DrillDownCounts(table, kM3M, dives, roster, filter))
            << filter.country << filter.diver;
    }
}

TEST_F(DiverCountTest, RunningTwiceGivesTheSameColumn) {
    StringGrid workingList(17, 2);
    PopulateDiverCount(table, dives, roster, workingList, {});
    const Cells first = ColumnCells(table, kDiversCol);
    PopulateDiverCount(table, dives, roster, workingList, {});
    EXPECT_EQ(ColumnCells(table, kDiversCol), first);
    // The working list holds the last row's divers (203B: BETA), nothing else.
    ASSERT_EQ(workingList.RowCount(), 2);
    Cells expected(17);
    expected[0] = "BETA, Bo";
    EXPECT_EQ(RowCells(workingList, 1), expected);
}

TEST_F(DiverCountTest, WorkingListGetsTheNamesOnly) {
    StringGrid workingList(17, 5);
    workingList.SetCell(3, 1, "stale");
    EXPECT_EQ(CountDistinctDivers("105B", dives, roster, {}, workingList), 2);
    ASSERT_EQ(workingList.RowCount(), 3);
    EXPECT_EQ(ColumnCells(workingList, 0), (Cells{"BETA, Bo", "ALPHA, Ann"}));
    for (int row = 1; row < 3; ++row) {
        for (int col = 1; col < 17; ++col)
            EXPECT_EQ(workingList.Cell(col, row), "") << col << "," << row;
    }
}

TEST_F(DiverCountTest, StopsWhenTheTableIsRegenerated) {
    StringGrid workingList(17, 2);
    DiverCountHooks hooks;
    int rowsDone = 0;
    hooks.afterRow = [&] {
        ++rowsDone;
        GenerateEventTable(table, kM3M, dives, roster, BuiltInCatalogue(), true, {}, 0, {});
        return true;
    };
    PopulateDiverCount(table, dives, roster, workingList, hooks);
    EXPECT_EQ(rowsDone, 1);
    EXPECT_EQ(ColumnCells(table, kDiversCol), Cells(5)) << "the fresh table stays untouched";
}

TEST_F(DiverCountTest, AfterRowCanEndTheCountAndFilterIsTakenPerRow) {
    StringGrid workingList(17, 2);
    DiverCountHooks hooks;
    int filterCalls = 0;
    hooks.filter = [&] {
        // The second row is counted under a filter chosen while the first row ran.
        return ++filterCalls == 1 ? FilterSelection{} : CountryFilter("CHN");
    };
    hooks.afterRow = [&] { return filterCalls < 3; };
    PopulateDiverCount(table, dives, roster, workingList, hooks);
    EXPECT_EQ(ColumnCells(table, kDiversCol), (Cells{"2", "0", "1", "", ""}));
}

// A header press handled between two rows sorts the table under the count. Whatever row the
// sort comes after, the table must end as the count followed by the sort: every row filled
// once with its own dive's count. The fixture's table has a code in two runs (two rows 101B).
TEST_F(DiverCountTest, SortDuringTheCountEndsAsCountThenSort) {
    for (const int sortCol : {0, 1, 4}) {
        for (const int sortCount : {0, 3}) {
            const SortSplit split{sortCount, {}};
            StringGrid expected = table;
            StringGrid workingList(17, 2);
            PopulateDiverCount(expected, dives, roster, workingList, {});
            SortEventTable(expected, sortCol, split);
            for (int sortAfter = 1; sortAfter < table.RowCount(); ++sortAfter) {
                StringGrid sorted = table;
                int rowsDone = 0;
                DiverCountHooks hooks;
                hooks.afterRow = [&] {
                    if (++rowsDone == sortAfter)
                        SortEventTable(sorted, sortCol, split);
                    return true;
                };
                PopulateDiverCount(sorted, dives, roster, workingList, hooks);
                for (int row = 0; row < table.RowCount(); ++row) {
                    EXPECT_EQ(RowCells(sorted, row), RowCells(expected, row))
                        << "column " << sortCol << ", Sort Count " << sortCount
                        << ", sorted after row " << sortAfter << ", row " << row;
                }
            }
        }
    }
}

TEST_F(DiverCountTest, CountStartedDuringTheCountGivesTheSameColumn) {
    StringGrid once = table;
    StringGrid workingList(17, 2);
    PopulateDiverCount(once, dives, roster, workingList, {});

    DiverCountHooks hooks;
    bool nested = false;
    hooks.afterRow = [&] {
        if (!std::exchange(nested, true))
            PopulateDiverCount(table, dives, roster, workingList, {});
        return true;
    };
    PopulateDiverCount(table, dives, roster, workingList, hooks);
    EXPECT_EQ(ColumnCells(table, kDiversCol), ColumnCells(once, kDiversCol));
}

TEST(DiverCount, TableWithoutDataRowsCountsItsBlankRow) {
    const DiverRoster roster({Diver("A", "ALPHA", "Ann", "USA")});
    std::vector<DiveRecord> dives(5);
    StringGrid table = EventTableGrid();
    GenerateEventTable(table, kM3M, dives, roster, BuiltInCatalogue(), true, {}, 0, {});
    StringGrid workingList(17, 2);
    PopulateDiverCount(table, dives, roster, workingList, {});
    EXPECT_EQ(ColumnCells(table, kDiversCol), Cells{"0"});

    // A result line with an empty code that names a roster diver does count there.
    dives[0] = Dive("A", "", 2.0, 30);
    StringGrid blank = EventTableGrid();
    PopulateDiverCount(blank, dives, roster, workingList, {});
    EXPECT_EQ(ColumnCells(blank, kDiversCol), Cells{"1"});
}

// The shipped sample results, when they are there: every row of every event.
TEST(DiverCountSample, EqualsTheDrillDownOnTheSampleResults) {
    auto store = std::make_unique<RecordStore>();
    if (LoadResultFiles(CORVANE_SAMPLE_DIR, *store).kind != LoadOutcome::Kind::Loaded)
        GTEST_SKIP() << "no sample results in " << CORVANE_SAMPLE_DIR;
    const DiverRoster roster = BuiltInRoster();
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex) {
        StringGrid table = EventTableGrid();
        GenerateEventTable(table, eventIndex, store->Filled(eventIndex), roster, BuiltInCatalogue(),
                           true, {}, 0, {});
        const Cells populated = PopulatedCounts(table, store->Filled(eventIndex), roster, {});
        EXPECT_EQ(populated,
                  DrillDownCounts(table, eventIndex, store->Filled(eventIndex), roster, {}))
            << "event " << eventIndex;
    }
}

} // namespace
} // namespace corvane
