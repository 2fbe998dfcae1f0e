// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/drill_down.h"

#include "analysis/statistics.h"
#include "analysis/table_text.h"
#include "analysis_test_support.h"
#include "store/number_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

using Cells = std::vector<std::string>;

Cells Bands(const StringGrid& grid, int row) {
    const Cells cells = RowCells(grid, row);
    return Cells(cells.begin() + 5, cells.begin() + 15);
}

// An event table generated from `dives` (initial run), a breakdown window's grids, and a
// double-click on the row of a dive code.
class DrillDownTest : public ::testing::Test {
protected:
    DrillDownTest()
        : roster({Diver("D1", "SMITH", "Anna", "USA"), Diver("D2", "LEE", "Bo", "CHN"),
                  Diver("D3", "SMITH", "Anna", "CAN"), Diver("D1", "OTHER", "Dup", "GBR"),
                  Diver("D5", "BLANK", "Nat", " \t"), Diver("D6", "KIM", "Su", "KOR")}) {}

    void Generate(int eventIndex = kW3M) {
        eventIndex_ = eventIndex;
        GenerateEventTable(table, eventIndex, dives, roster, BuiltInCatalogue(), true, {}, 0, {});
    }

    DiveBreakdown Open(int row, const FilterSelection& filter = {}) {
        SortSplit split;
        split.sortCount = sortCount;
        split.pump = [this] { ++pumps; };
        return DrillDown(table, eventIndex_, row, dives, roster, filter,
                         {statsGrid, diveStatsGrid, statsSortCol}, split);
    }

    DiveBreakdown OpenCode(const std::string& code, const FilterSelection& filter = {}) {
        const int row = RowOf(table, code);
        EXPECT_GT(row, 0) << code;
        return Open(row, filter);
    }

    DiverRoster roster;
    std::vector<DiveRecord> dives;
    StringGrid table = EventTableGrid();
    StringGrid statsGrid{17, 2};
    StringGrid diveStatsGrid = DiveStatsGridAtCreation();
    int statsSortCol = 2;
    int sortCount = 0;
    int pumps = 0;

private:
    int eventIndex_ = kW3M;
};

TEST_F(DrillDownTest, OneDiverThreeDives) {
    dives = {Dive("D2", "101B", 1.5, 30.0), Dive("D2", "101B", 1.5, 36.0),
             Dive("D2", "101B", 1.5, 24.0)};
    Generate();
    const DiveBreakdown result = OpenCode("101B");
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.diverCount, 1);
    EXPECT_EQ(result.title, "W3M - 101B - DD 1.5 - 1 divers");
    EXPECT_EQ(table.Cell(15, 1), "1");
    ASSERT_EQ(diveStatsGrid.RowCount(), 2);
    // Scores 6.67, 8, 5.33; averages 30 points and 30 / 1.5 / 3 = 6.7.
    const Cells expected{"LEE, Bo", "CHN",  "3",    "30.00", "6.7", "", "",   "", "",
                         "",        "33.3", "33.3", "33.3",  "",    "", "90", "3"};
    EXPECT_EQ(RowCells(diveStatsGrid, 1), expected);
    EXPECT_EQ(pumps, 1);
}

// The hidden running total is the 15-digit text of the total so far plus the next points,
// read back each time. Whole hundredths are summed exactly instead; any other points value
// (a third, a negative, a huge one) must still give what the text road gives.
TEST_F(DrillDownTest, RunningTotalMatchesItsTextRoad) {
    const std::vector<std::vector<double>> runs = {
        {0.1, 0.2, 0.7, 66.35, 70.05},
        {0.1, 1.0 / 3, 0.2, 2.0 / 3, 0.15},
        {10.5, -0.01, 3e-17, 0.07},
        {1e12, 0.01, 123456.78},
    };
    for (const std::vector<double>& points : runs) {
        dives.clear();
        std::string expected = "0";
        for (const double p : points) {
            dives.push_back(Dive("D2", "101B", 1.5, p));
            expected = FormatGeneral(CellNumber(expected) + p);
        }
        Generate();
        OpenCode("101B");
        EXPECT_EQ(diveStatsGrid.Cell(15, 1), expected);
        EXPECT_EQ(diveStatsGrid.Cell(3, 1),
                  FormatFixed(CellNumber(expected) / static_cast<double>(points.size()), 2));
    }
}

TEST_F(DrillDownTest, RosterRulesForNamesIdsAndNations) {
    // D3 and D1 share a name (one row, nation of the first record); D1's duplicate roster
    // entry is never used; D5's blank nation and X's absence leave them out.
    dives = {Dive("D3", "105B", 2.4, 60.0), Dive("D1", "105B", 2.4, 60.0),
             Dive("D5", "105B", 2.4, 60.0), Dive("X", "105B", 2.4, 60.0),
             Dive("D2", "105B", 2.4, 60.0)};
    Generate();
    const DiveBreakdown result = OpenCode("105B");
    EXPECT_EQ(result.diverCount, 2);
    EXPECT_EQ(table.Cell(1, RowOf(table, "105B")), "5") << "the table counts every record";
    EXPECT_EQ(ColumnCells(diveStatsGrid, 0), (Cells{"SMITH, Anna", "LEE, Bo"}));
    EXPECT_EQ(ColumnCells(diveStatsGrid, 1), (Cells{"CAN", "CHN"}));
    EXPECT_EQ(ColumnCells(diveStatsGrid, 2), (Cells{"2", "1"}));
}

TEST_F(DrillDownTest, AveragesUseTheTablesDDAndBandsTheRecordsOwn) {
    // 105B: table DD 2.4; the records state 2.0. Scores 12 / 2 / 3 = 2 and 24 / 2 / 3 = 4.
    dives = {Dive("D2", "105B", 2.0, 12.0), Dive("D2", "105B", 2.0, 24.0)};
    Generate();
    OpenCode("105B");
    EXPECT_EQ(diveStatsGrid.Cell(3, 1), "18.00");
    EXPECT_EQ(diveStatsGrid.Cell(4, 1), "2.5"); // 18 / 2.4 / 3
    EXPECT_EQ(Bands(diveStatsGrid, 1), (Cells{"", "50.0", "", "50.0", "", "", "", "", "", ""}));
}

TEST_F(DrillDownTest, ZeroDDLeavesAverageScoreAndBandsEmpty) {
    // Not catalogued and stated with DD 0: the table shows DD 0.0.
    dives = {Dive("D2", "999X", 0.0, 30.0)};
    Generate();
    const DiveBreakdown result = OpenCode("999X");
    EXPECT_EQ(result.title, "W3M - 999X - DD 0.0 - 1 divers");
    const Cells row = RowCells(diveStatsGrid, 1);
    EXPECT_EQ(Cells(row.begin(), row.begin() + 5), (Cells{"LEE, Bo", "CHN", "1", "30.00", ""}));
    EXPECT_EQ(Bands(diveStatsGrid, 1), Cells(10));
}

TEST_F(DrillDownTest, BandBoundariesAndZeroDD) {
    // Own DD 1.0: score = points / 3. 3 -> 1.0, 27 -> 9.0, 27.03 -> 9.01, 31.5 -> 10.5.
    dives = {Dive("D2", "101B", 1.0, 3.0), Dive("D2", "101B", 1.0, 27.0),
             Dive("D2", "101B", 1.0, 27.03), Dive("D2", "101B", 1.0, 31.5),
             Dive("D2", "101B", 0.0, 20.0)};
    Generate();
    OpenCode("101B");
    EXPECT_EQ(diveStatsGrid.Cell(2, 1), "5");
    EXPECT_EQ(Bands(diveStatsGrid, 1), (Cells{"20.0", "", "", "", "", "", "", "", "20.0", "40.0"}))
        << "the dive with DD 0 counts in no band";
}

TEST_F(DrillDownTest, TitleAndFilterAtTheMomentOfTheClick) {
    std::vector<DiverEntry> rows;
    for (int i = 0; i < 7; ++i) {
        const std::string id = "W" + std::to_string(i);
        rows.push_back(Diver(id, "DIVER", std::to_string(i), i < 3 ? "CHN" : "USA"));
        dives.push_back(Dive(id, "101B", 1.5, 30.0));
    }
    roster = DiverRoster(rows);
    Generate();
    EXPECT_EQ(OpenCode("101B").title, "W3M - 101B - DD 1.5 - 7 divers");
    EXPECT_EQ(table.Cell(15, 1), "7");
    EXPECT_EQ(OpenCode("101B", CountryFilter("CHN")).title, "W3M - 101B - DD 1.5 - 3 divers");
    EXPECT_EQ(table.Cell(15, 1), "3");
    EXPECT_EQ(diveStatsGrid.RowCount(), 4);
}

TEST_F(DrillDownTest, SummaryAndPerDiverLayout) {
    dives = {Dive("D2", "101B", 1.5, 30.0), Dive("D6", "105B", 2.4, 60.0)};
    Generate();
    table.SetColWidth(3, 70);
    const int row = RowOf(table, "105B");
    Open(row);
    EXPECT_EQ(RowCells(statsGrid, 0), RowCells(table, 0));
    Cells clicked = RowCells(table, row);
    clicked[15] = ""; // the summary copies the row before its Divers cell is written
    EXPECT_EQ(RowCells(statsGrid, 1), clicked);
    EXPECT_EQ(statsGrid.ColWidth(3), 70);
    EXPECT_EQ(statsGrid.ColWidth(15), 0);
    EXPECT_EQ(statsGrid.ColWidth(16), 0);

    const Cells header = RowCells(diveStatsGrid, 0);
    EXPECT_EQ(Cells(header.begin(), header.begin() + 3), (Cells{"Name", "Nation", "Count"}));
    EXPECT_EQ(header[3], "Avg Pts");
    EXPECT_EQ(header[14], ">9 to 10");
    EXPECT_EQ(diveStatsGrid.ColWidth(0), 200);
    EXPECT_EQ(diveStatsGrid.ColWidth(15), 0);
    EXPECT_EQ(diveStatsGrid.ColWidth(16), 0);
}

TEST_F(DrillDownTest, NoPassingRecordLeavesOneBlankRow) {
    dives = {Dive("X", "101B", 1.5, 30.0), Dive("D5", "101B", 1.5, 30.0)};
    Generate();
    diveStatsGrid.SetRowCount(4);
    diveStatsGrid.SetCell(0, 3, "stale");
    const DiveBreakdown result = OpenCode("101B");
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.diverCount, 0);
    EXPECT_EQ(result.title, "W3M - 101B - DD 1.5 - 0 divers");
    EXPECT_EQ(table.Cell(15, 1), "0");
    ASSERT_EQ(diveStatsGrid.RowCount(), 2);
    EXPECT_EQ(RowCells(diveStatsGrid, 1), Cells(17));
}

TEST_F(DrillDownTest, GuardsLeaveEverythingAlone) {
    dives = {Dive("D2", "101B", 1.5, 30.0)};
    Generate();
    const std::string before =
        TableText(table, 17) + TableText(statsGrid, 17) + TableText(diveStatsGrid, 17);
    for (const int row : {-1, 0, 2, 50}) {
        EXPECT_FALSE(Open(row).opened) << row;
        EXPECT_EQ(TableText(table, 17) + TableText(statsGrid, 17) + TableText(diveStatsGrid, 17),
                  before);
    }
    StringGrid empty = EventTableGrid();
    empty.SetCell(0, 1, "101B");
    table = empty;
    EXPECT_FALSE(Open(1).opened) << "no count in cell (1, 1): a table without data";
    EXPECT_EQ(pumps, 0);
}

class DiveStatsOrder : public DrillDownTest {
protected:
    DiveStatsOrder() {
        // First appearance: LEE (1 dive), SMITH (3), KIM (2).
        dives = {Dive("D2", "101B", 1.5, 40.0), Dive("D1", "101B", 1.5, 10.0),
                 Dive("D6", "101B", 1.5, 20.0), Dive("D1", "101B", 1.5, 10.0),
                 Dive("D6", "101B", 1.5, 20.0), Dive("D1", "101B", 1.5, 10.0)};
        Generate();
    }
};

TEST_F(DiveStatsOrder, FollowsStatsSortColAndSortCount) {
    struct Case {
        int statsSortCol;
        int sortCount;
        Cells names;
    };
    const std::vector<Case> cases{
        {2, 0, {"SMITH, Anna", "KIM, Su", "LEE, Bo"}},
        {0, 0, {"KIM, Su", "LEE, Bo", "SMITH, Anna"}},
        {3, 0, {"LEE, Bo", "KIM, Su", "SMITH, Anna"}},
        {3, 2, {"KIM, Su", "SMITH, Anna", "LEE, Bo"}},
        {-1, 0, {"LEE, Bo", "SMITH, Anna", "KIM, Su"}},
        {-1, 3, {"SMITH, Anna", "LEE, Bo", "KIM, Su"}},
    };
    for (const Case& c : cases) {
        statsSortCol = c.statsSortCol;
        sortCount = c.sortCount;
        OpenCode("101B");
        EXPECT_EQ(ColumnCells(diveStatsGrid, 0), c.names)
            << "column " << c.statsSortCol << ", Sort Count " << c.sortCount;
    }
}

TEST_F(DiveStatsOrder, SameClickTwiceGivesTheSameContent) {
    // The summary shows columns 0..14; its hidden Divers cell is what the row held before.
    OpenCode("101B");
    const std::string first = TableText(diveStatsGrid, 17) + TableText(statsGrid, 15);
    OpenCode("101B");
    EXPECT_EQ(TableText(diveStatsGrid, 17) + TableText(statsGrid, 15), first);
}

} // namespace
} // namespace corvane
