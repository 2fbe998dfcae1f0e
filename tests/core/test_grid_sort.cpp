// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/grid_sort.h"

#include "analysis_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

using Cells = std::vector<std::string>;

// A 17-column table: row 0 headers, one data row per entry of `col0`, with the count column
// `countCol` and the key column `keyCol` filled from the given lists.
StringGrid Table(const Cells& col0, const Cells& counts, int keyCol = -1, const Cells& keys = {},
                 int countCol = 1) {
    StringGrid grid(17, static_cast<int>(col0.size()) + 1);
    grid.SetCell(0, 0, "Dive");
    grid.SetCell(1, 0, "Count");
    for (std::size_t i = 0; i < col0.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid.SetCell(0, row, col0[i]);
        grid.SetCell(countCol, row, counts[i]);
        if (keyCol >= 0)
            grid.SetCell(keyCol, row, keys[i]);
    }
    return grid;
}

struct PumpCounter {
    int calls = 0;
    SortSplit Split(int sortCount = 0) {
        SortSplit split;
        split.sortCount = sortCount;
        split.pump = [this] { ++calls; };
        return split;
    }
};

TEST(GridSort, NumericSortIsTheUnstableSelectionSort) {
    StringGrid grid = Table({"A", "B", "C"}, {"1", "1", "1"}, 3, {"3", "3", "5"});
    PumpCounter pump;
    SortGridNumeric(grid, 3, true, 0, 1, pump.Split());
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"C", "B", "A"}));
    EXPECT_EQ(ColumnCells(grid, 3), (Cells{"5", "3", "3"})) << "whole rows move";
    EXPECT_EQ(pump.calls, 1);
}

TEST(GridSort, TextSortComparesBytes) {
    StringGrid grid =
        Table({"614B", "612A", "6142D", "6122D", "", "b", "B", "\xC9"}, Cells(8, "1"));
    PumpCounter pump;
    SortGridText(grid, 0, true, 0, 1, pump.Split());
    EXPECT_EQ(ColumnCells(grid, 0),
              (Cells{"", "6122D", "612A", "6142D", "614B", "B", "b", "\xC9"}));
    EXPECT_EQ(RowCells(grid, 0)[0], "Dive") << "the header row never moves";
    EXPECT_EQ(pump.calls, 1);

    // Names alike in their first eight bytes, NUL bytes and prefixes: still byte order.
    using namespace std::string_literals;
    const Cells names{"SURNAMEX, B", "SURNAMEX\0"s, "SURNAMEX, A", "SURN\0"s, "SURNAMEX", "SURN"};
    StringGrid byName = Table(names, Cells(names.size(), "1"));
    SortGridText(byName, 0, true, 0, 1, {});
    EXPECT_EQ(ColumnCells(byName, 0),
              (Cells{"SURN", "SURN\0"s, "SURNAMEX", "SURNAMEX\0"s, "SURNAMEX, A", "SURNAMEX, B"}));
}

TEST(GridSort, HeaderRowStaysEvenWhenItsKeyWouldLead) {
    StringGrid grid = Table({"Zulu", "Xray"}, {"1", "1"}, 3, {"1", "2"});
    grid.SetCell(3, 0, "99");
    SortGridText(grid, 0, true, 0, 1, {});
    EXPECT_EQ(grid.Cell(0, 0), "Dive");
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"Xray", "Zulu"}));
    SortGridNumeric(grid, 3, true, 0, 1, {});
    EXPECT_EQ(grid.Cell(3, 0), "99");
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"Xray", "Zulu"}));
}

TEST(GridSort, SortCountSplitsIntoTwoBlocks) {
    struct Case {
        int sortCount;
        Cells expected;
    };
    // Keys descending would give A, B, C, D; counts 9, 10, 12, 3.
    const std::vector<Case> cases{
        {10, {"B", "C", "A", "D"}}, // Count 10 stays in the upper block, 9 does not
        {0, {"A", "B", "C", "D"}},  // every row meets 0
        {13, {"A", "B", "C", "D"}}, // no row meets 13: one lower block
    };
    for (const Case& c : cases) {
        StringGrid grid =
            Table({"A", "B", "C", "D"}, {"9", "10", "12", "3"}, 4, {"8.5", "7.0", "6.25", ""});
        PumpCounter pump;
        SortGridNumeric(grid, 4, true, 0, 1, pump.Split(c.sortCount));
        EXPECT_EQ(ColumnCells(grid, 0), c.expected) << "Sort Count " << c.sortCount;
    }
}

TEST(GridSort, PerDiverTableSplitsByColumnTwo) {
    // Column 1 (nation) holds no counts; column 2 does.
    StringGrid grid = Table({"A", "B", "C"}, {"1", "5", "2"}, 1, {"USA", "CHN", "GBR"}, 2);
    SortGridText(grid, 0, false, 0, 1, PumpCounter().Split(2));
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"B", "C", "A"}));
}

TEST(GridSort, DiversColumnPutsFilledCellsFirst) {
    StringGrid grid = Table({"A", "B", "C", "D"}, Cells(4, "1"), 15, {"3", "", "12", ""});
    SortGridNumeric(grid, 15, true, 0, 1, {});
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"C", "A", "B", "D"}));
}

TEST(GridSort, RowsLeftOutAtTheEndStayPut) {
    StringGrid grid = Table({"C", "B", "A", "last"}, Cells(4, "1"));
    SortGridText(grid, 0, true, 1, 1, {});
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"A", "B", "C", "last"}));
}

TEST(GridSort, SplitOnlyKeepsOrderWithinBlocks) {
    StringGrid grid = Table({"D", "A", "C", "B"}, {"1", "5", "1", "5"}, -1, {}, 2);
    PumpCounter pump;
    SplitBySortCount(grid, false, 0, 1, pump.Split(2));
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"A", "B", "D", "C"}));
    EXPECT_EQ(pump.calls, 1);
}

TEST(GridSort, EventTableSortFollowsSortCol) {
    PumpCounter pump;
    StringGrid grid = Table({"105B", "101B"}, {"1", "2"});
    SortEventTable(grid, 1, pump.Split());
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"101B", "105B"}));
    SortEventTable(grid, 0, pump.Split());
    EXPECT_EQ(ColumnCells(grid, 0), (Cells{"101B", "105B"}));
    EXPECT_EQ(pump.calls, 2);

    StringGrid empty = EventTableGrid();
    empty.SetCell(0, 1, "x"); // count cell (1, 1) still empty: not a table with data
    SortEventTable(empty, 0, pump.Split());
    EXPECT_EQ(pump.calls, 2) << "a table without data is left alone";
}

} // namespace
} // namespace corvane
