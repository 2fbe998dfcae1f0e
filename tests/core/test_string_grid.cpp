// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/string_grid.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {
namespace {

TEST(StringGrid, RowCountKeepsOldRowsAndAddsEmptyOnes) {
    StringGrid grid(3, 2);
    grid.SetCell(2, 1, "kept");
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cell(2, 1), "kept");
    EXPECT_EQ(grid.Cell(0, 3), "");

    grid.SetCell(1, 3, "dropped");
    grid.SetRowCount(2);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cell(1, 3), "") << "rows beyond the new count are discarded";
}

TEST(StringGrid, GenerationCountsRowLayoutChangesOnly) {
    StringGrid grid(2, 2);
    const auto before = grid.Generation();
    grid.SetCell(0, 1, "x");
    grid.SetColWidth(1, 10);
    grid.ClearRow(1);
    EXPECT_EQ(grid.Generation(), before);
    grid.SetRowCount(2);
    EXPECT_NE(grid.Generation(), before) << "even the same count rebuilds the rows";
}

TEST(StringGrid, CellsOutsideTheGridAreRefused) {
    StringGrid grid(2, 2);
    EXPECT_THROW(grid.SetCell(2, 0, "x"), std::out_of_range);
    EXPECT_THROW(grid.SetCell(0, 2, "x"), std::out_of_range);
    EXPECT_THROW(grid.SetCell(-1, 0, "x"), std::out_of_range);
    EXPECT_THROW(StringGrid(0, 1), std::invalid_argument);
}

TEST(StringGrid, CopyRowClearRowAndWidths) {
    StringGrid from(3, 2);
    from.SetCell(0, 1, "a");
    from.SetCell(2, 1, "c");
    StringGrid to(3, 3);
    to.SetCell(1, 2, "old");
    to.CopyRow(from, 1, 2);
    EXPECT_EQ(to.Cell(0, 2), "a");
    EXPECT_EQ(to.Cell(1, 2), "");
    EXPECT_EQ(to.Cell(2, 2), "c");
    to.ClearRow(2);
    EXPECT_EQ(to.Cell(0, 2), "");

    EXPECT_EQ(to.ColWidth(1), StringGrid::kDefaultColWidth);
    to.SetColWidth(1, -5);
    EXPECT_EQ(to.ColWidth(1), 0);
}

TEST(StringGrid, RowTextsReplaceTheWholeRowWithOneNotice) {
    StringGrid grid(3, 2);
    grid.SetCell(1, 1, std::string(40, 'x')); // a long text whose buffer is reused
    grid.SetCell(2, 1, "old");
    int calls = 0;
    grid.SetObserver([&calls] { ++calls; });
    const std::string_view texts[] = {"a", "bc"};
    grid.SetRowTexts(1, texts);
    EXPECT_EQ(grid.Cell(0, 1), "a");
    EXPECT_EQ(grid.Cell(1, 1), "bc");
    EXPECT_EQ(grid.Cell(2, 1), "") << "a column past the texts is emptied";
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(grid.SetRowTexts(2, texts), std::out_of_range);
}

TEST(StringGrid, ReorderRowsMovesWholeRowsAndRefusesARowTwice) {
    StringGrid grid(2, 7);
    for (int row = 0; row < 7; ++row) {
        grid.SetCell(0, row, std::to_string(row));
        grid.SetCell(1, row, std::string(20, static_cast<char>('a' + row)));
    }
    // Two cycles (1 5 2, 3 6) and a row that stays (4).
    grid.ReorderRows(1, {5, 1, 6, 4, 2, 3});
    for (const auto& [row, was] :
         {std::pair{0, 0}, {1, 5}, {2, 1}, {3, 6}, {4, 4}, {5, 2}, {6, 3}}) {
        EXPECT_EQ(grid.Cell(0, row), std::to_string(was));
        EXPECT_EQ(grid.Cell(1, row), std::string(20, static_cast<char>('a' + was)));
    }
    EXPECT_THROW(grid.ReorderRows(1, {1, 1, 2}), std::out_of_range);
    EXPECT_EQ(grid.Cell(0, 1), "5") << "a refused order moves nothing";
}

TEST(StringGrid, ObserverHearsEveryChange) {
    StringGrid grid(2, 2);
    int calls = 0;
    grid.SetObserver([&calls] { ++calls; });
    grid.SetCell(0, 0, "x");
    grid.SetRowCount(3);
    grid.SetColWidth(0, 5);
    grid.ClearRow(1);
    EXPECT_EQ(calls, 4);
}

} // namespace
} // namespace corvane
