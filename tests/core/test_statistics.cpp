// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/event_table.h"
#include "analysis/statistics.h"

#include "analysis_test_support.h"
#include "rawdata/catalogue.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

using Cells = std::vector<std::string>;

// Band cells (columns 5..14) of a row.
Cells Bands(const StringGrid& table, int row) {
    Cells cells;
    for (int col = 5; col <= 14; ++col)
        cells.push_back(table.Cell(col, row));
    return cells;
}

// Bands with one share `text` in column `col`, the others empty.
Cells OneBand(int col, const std::string& text = "100.0") {
    Cells cells(10);
    cells[static_cast<std::size_t>(col - 5)] = text;
    return cells;
}

struct Generation {
    StringGrid table = EventTableGrid();
    DiverRoster roster;
    int pumps = 0;

    void Run(const std::vector<DiveRecord>& dives, bool initialRun,
             const FilterSelection& filter = {}, int eventIndex = kM3M, int sortCol = 0) {
        SortSplit split;
        split.pump = [this] { ++pumps; };
        GenerateEventTable(table, eventIndex, dives, roster, BuiltInCatalogue(), initialRun, filter,
                           sortCol, split);
    }
};

TEST(Statistics, WorkedExample) {
    Generation gen;
    gen.Run(
        {Dive("1", "105B", 2.4, 60.0), Dive("1", "105B", 2.4, 72.0), Dive("1", "105B", 2.4, 48.0)},
        true);
    ASSERT_EQ(gen.table.RowCount(), 2);
    const Cells expected{"105B", "3", "2.4",  "60.00", "8.3",  "",     "", "", "",
                         "",     "",  "33.3", "",      "33.3", "33.3", "", ""};
    EXPECT_EQ(RowCells(gen.table, 1), expected);
    EXPECT_EQ(gen.pumps, 1) << "a table with data is sorted once";
}

TEST(Statistics, ScoreBandBoundaries) {
    // 101B has DD 1.5 on springboard: points / 1.5 / 3 is the score.
    struct Case {
        double points;
        int col;
    };
    for (const Case& c : {Case{0.0, 5}, Case{4.5, 5}, Case{4.6, 6}, Case{9.0, 6}, Case{13.5, 7},
                          Case{36.0, 12}, Case{40.5, 13}, Case{40.545, 14}, Case{47.25, 14}}) {
        Generation gen;
        gen.Run({Dive("1", "101B", 1.5, c.points)}, true);
        EXPECT_EQ(Bands(gen.table, 1), OneBand(c.col)) << "points " << c.points;
    }
}

TEST(Statistics, SharesRoundAndTinySharesAreEmpty) {
    std::vector<DiveRecord> dives(2500, Dive("1", "101B", 1.5, 40.5));
    dives[1] = Dive("1", "101B", 1.5, 4.5); // 1 in 2500: 0.04 %
    Generation gen;
    gen.Run(dives, true);
    EXPECT_EQ(Bands(gen.table, 1), OneBand(13, "100.0"));
    EXPECT_EQ(gen.table.Cell(1, 1), "2500");
}

TEST(Statistics, FirstRecordIsScoredOnTheCatalogueDD) {
    // Own DD 2.0, catalogue 2.4 (springboard) / 2.3 (platform) for 105B.
    const std::vector<DiveRecord> dives{Dive("1", "105B", 2.0, 60.0), Dive("1", "105B", 2.0, 60.0)};
    Generation springboard;
    springboard.Run(dives, true);
    EXPECT_EQ(springboard.table.Cell(2, 1), "2.4");
    EXPECT_EQ(springboard.table.Cell(4, 1), "8.3"); // 60 / 2.4 / 3
    Cells expected = OneBand(13, "50.0");           // first: 60 / 2.4 / 3 = 8.33
    expected[9] = "50.0";                           // second: 60 / 2.0 / 3 = 10
    EXPECT_EQ(Bands(springboard.table, 1), expected);

    Generation platform;
    platform.Run(dives, true, {}, kM10M);
    EXPECT_EQ(platform.table.Cell(2, 1), "2.3");
}

TEST(Statistics, CodeWithoutCatalogueDDUsesItsFirstRecordsDD) {
    struct Case {
        const char* code;
        double dd;
        double points;
        Cells expected; // columns 0..4
        int bandCol;    // -1: no band
    };
    const std::vector<Case> cases{
        {"612A", 2.04, 61.2, {"612A", "1", "2.0", "61.20", "10.2"}, 14}, // "0.0" on springboard
        {"999X", 3.0, 45.0, {"999X", "1", "3.0", "45.00", "5.0"}, 9},    // not catalogued
        {"999X", 0.0, 45.0, {"999X", "1", "0.0", "45.00", ""}, -1},      // nothing to divide by
    };
    for (const Case& c : cases) {
        Generation gen;
        gen.Run({Dive("1", c.code, c.dd, c.points)}, true);
        const Cells row = RowCells(gen.table, 1);
        EXPECT_EQ(Cells(row.begin(), row.begin() + 5), c.expected) << c.code << " " << c.dd;
        EXPECT_EQ(Bands(gen.table, 1), c.bandCol < 0 ? Cells(10) : OneBand(c.bandCol));
    }
}

TEST(Statistics, DDColumnIsTheCatalogueDDOfTheApparatus) {
    for (const CatalogueEntry& entry : DiveCatalogue) {
        for (const int eventIndex : {kM3M, kM10M}) {
            const std::string catalogued(*CatalogueDD(entry.Code, eventIndex));
            Generation gen;
            gen.Run({Dive("1", entry.Code, 9.9, 30.0)}, true, {}, eventIndex);
            EXPECT_EQ(gen.table.Cell(2, 1), catalogued == "0.0" ? "9.9" : catalogued)
                << entry.Code << " event " << eventIndex;
        }
    }
}

TEST(Statistics, RecordWithZeroDDCountsButInNoBand) {
    Generation gen;
    gen.Run({Dive("1", "101B", 1.5, 4.5), Dive("1", "101B", 0.0, 9.0)}, true);
    EXPECT_EQ(gen.table.Cell(1, 1), "2");
    EXPECT_EQ(Bands(gen.table, 1), OneBand(5, "50.0"));
}

TEST(Statistics, SplitRunsOfACodeGiveOneRowEach) {
    Generation gen;
    gen.Run({Dive("1", "105B", 2.4, 60.0), Dive("1", "101B", 1.5, 30.0),
             Dive("1", "105B", 2.4, 72.0), Dive("1", "105B", 2.4, 72.0)},
            true);
    EXPECT_EQ(ColumnCells(gen.table, 0), (Cells{"101B", "105B", "105B"}));
    EXPECT_EQ(ColumnCells(gen.table, 1), (Cells{"1", "1", "2"}));
}

class FilteredStatistics : public ::testing::Test {
protected:
    FilteredStatistics() {
        gen.roster =
            DiverRoster({Diver("A", "ALPHA", "Ann", "USA"), Diver("B", "BETA", "Bo", "CHN"),
                         Diver("C", "GAMMA", "Cy", "USA")});
    }
    Generation gen;
    // B performs one code only, in the middle of the records; A's 101B run is interrupted by
    // records the filter skips.
    const std::vector<DiveRecord> dives{Dive("A", "101B", 1.5, 30.0), Dive("C", "101B", 1.5, 30.0),
                                        Dive("A", "101B", 1.5, 30.0), Dive("B", "105B", 2.4, 60.0),
                                        Dive("B", "105B", 2.4, 60.0), Dive("A", "105C", 2.2, 40.0),
                                        Dive("X", "105C", 2.2, 40.0)};
};

TEST_F(FilteredStatistics, DiverFilterKeepsTheLastGroupAndSkippedRecordsDoNotBreakRuns) {
    gen.Run(dives, false, DiverFilter("BETA, Bo [CHN]"));
    ASSERT_EQ(gen.table.RowCount(), 2);
    EXPECT_EQ(gen.table.Cell(0, 1), "105B");
    EXPECT_EQ(gen.table.Cell(1, 1), "2");

    gen.Run(dives, false, DiverFilter("ALPHA, Ann [USA]"));
    EXPECT_EQ(ColumnCells(gen.table, 0), (Cells{"101B", "105C"}));
    EXPECT_EQ(ColumnCells(gen.table, 1), (Cells{"2", "1"}));
}

TEST_F(FilteredStatistics, CountryFilter) {
    gen.Run(dives, false, CountryFilter("USA"));
    EXPECT_EQ(ColumnCells(gen.table, 0), (Cells{"101B", "105C"}));
    EXPECT_EQ(ColumnCells(gen.table, 1), (Cells{"3", "1"}));
}

TEST_F(FilteredStatistics, LaterRunsDropDiversAbsentFromTheRoster) {
    gen.Run(dives, true);
    EXPECT_EQ(gen.table.Cell(1, RowOf(gen.table, "105C")), "2");
    gen.Run(dives, false);
    EXPECT_EQ(gen.table.Cell(1, RowOf(gen.table, "105C")), "1");
}

TEST_F(FilteredStatistics, FilterNoRecordPassesLeavesOneEmptyRowUnsorted) {
    gen.table.SetRowCount(5);
    gen.table.SetCell(0, 4, "old");
    gen.Run(dives, false, CountryFilter("GBR"), kM3M, 3);
    ASSERT_EQ(gen.table.RowCount(), 2);
    EXPECT_EQ(RowCells(gen.table, 1), Cells(17));
    EXPECT_EQ(gen.pumps, 0) << "an empty table is not sorted";
}

TEST(Statistics, InitialRunCountsALineWithEmptyIdAndCode) {
    // The pass gets the filled slots only, so a real line like "<TAB><TAB>2.4<TAB>72<TAB>" is
    // a record like any other: it counts, and it breaks the run of 101B.
    Generation gen;
    gen.Run({Dive("A", "101B", 1.5, 30.0), Dive("", "", 2.4, 72.0), Dive("A", "101B", 1.5, 30.0)},
            true);
    EXPECT_EQ(ColumnCells(gen.table, 0), (Cells{"", "101B", "101B"}));
    EXPECT_EQ(ColumnCells(gen.table, 1), (Cells{"1", "1", "1"}));
    EXPECT_EQ(Bands(gen.table, RowOf(gen.table, "")), OneBand(14)) << "72 / 2.4 / 3 = 10";
}

TEST(Statistics, FilledLineWithEmptyCodeStartsItsOwnGroup) {
    Generation gen;
    gen.Run({Dive("A", "", 2.0, 30.0), Dive("A", "101B", 1.5, 30.0)}, true);
    ASSERT_EQ(gen.table.RowCount(), 3);
    const int row = RowOf(gen.table, "");
    ASSERT_GT(row, 0);
    EXPECT_EQ(gen.table.Cell(1, row), "1");
    EXPECT_EQ(gen.table.Cell(2, row), "2.0"); // its own DD: no catalogue entry
    EXPECT_EQ(Bands(gen.table, row), OneBand(9));
}

TEST(Statistics, HeaderRowWidthsAndDiversColumn) {
    Generation gen;
    gen.table.SetCell(16, 0, "");
    gen.table.SetCell(15, 1, "7");
    gen.Run({Dive("1", "101B", 1.5, 30.0)}, true);
    const Cells headers{"Dive",    "Count",   "DD",       "Avg Pts", "Avg Score", "0 to 1",
                        ">1 to 2", ">2 to 3", ">3 to 4",  ">4 to 5", ">5 to 6",   ">6 to 7",
                        ">7 to 8", ">8 to 9", ">9 to 10", "Divers",  ""};
    EXPECT_EQ(RowCells(gen.table, 0), headers);
    for (int col = 0; col < 17; ++col)
        EXPECT_EQ(EventHeader(col), headers[static_cast<std::size_t>(col)]);
    EXPECT_EQ(gen.table.ColWidth(15), 80);
    EXPECT_EQ(gen.table.ColWidth(16), 0);
    EXPECT_EQ(gen.table.ColWidth(14), StringGrid::kDefaultColWidth);
    EXPECT_EQ(gen.table.Cell(15, 1), "") << "every run clears the Divers column";
}

TEST(Statistics, PassSortsBySortColumn) {
    Generation gen;
    const std::vector<DiveRecord> dives{Dive("1", "101B", 1.5, 30.0), Dive("1", "105B", 2.4, 60.0),
                                        Dive("1", "105B", 2.4, 60.0)};
    gen.Run(dives, true, {}, kM3M, 1);
    EXPECT_EQ(ColumnCells(gen.table, 0), (Cells{"105B", "101B"}));
    gen.Run(dives, true, {}, kM3M, 0);
    EXPECT_EQ(ColumnCells(gen.table, 0), (Cells{"101B", "105B"}));
}

} // namespace
} // namespace corvane
