// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/filter_lists.h"

#include "analysis_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

using Cells = std::vector<std::string>;

TEST(FilterLists, FilledFromTheRosterInRosterOrder) {
    const DiverRoster roster({Diver("1", "ALPHA", "Ann", "USA"), Diver("2", "BETA", "Bo", "CHN"),
                              Diver("3", "ALPHA", "Ann", "USA"), Diver("4", "DELTA", "Di", " \t"),
                              Diver("5", "EPS", "Ed", "")});
    FilterLists lists;
    lists.countryItems.push_back("stale");
    ResetFilterLists(lists);
    FillFilterLists(roster, lists);

    ASSERT_EQ(lists.diverGrid.RowCount(), 6);
    EXPECT_EQ(lists.diverGrid.Cell(0, 0), "***ALL***");
    EXPECT_EQ(RowCells(lists.diverGrid, 3), (Cells{"ALPHA, Ann", "USA", "ALPHA, Ann [USA]"}));
    EXPECT_EQ(RowCells(lists.diverGrid, 4), (Cells{"DELTA, Di", " \t", "DELTA, Di [ \t]"}));
    EXPECT_EQ(lists.diverGrid.Cell(DiverGrid::kLabelCol, 2), "BETA, Bo [CHN]");

    EXPECT_EQ(lists.countryGrid.Cell(0, 0), "***ALL***");
    EXPECT_EQ(ColumnCells(lists.countryGrid, 0), (Cells{"USA", "CHN"}));
    EXPECT_EQ(lists.countryItems, (Cells{"USA", "CHN"}));
    // A second fill appends every entry again and no nation twice.
    FillFilterLists(roster, lists);
    ASSERT_EQ(lists.diverGrid.RowCount(), 11);
    EXPECT_EQ(RowCells(lists.diverGrid, 7), (Cells{"BETA, Bo", "CHN", "BETA, Bo [CHN]"}));
    EXPECT_EQ(lists.countryItems.size(), 2u);
    EXPECT_THROW(lists.diverGrid.Cell(0, 11), std::out_of_range);

    ResetFilterLists(lists);
    EXPECT_EQ(lists.diverGrid.RowCount(), 1);
    EXPECT_EQ(lists.countryGrid.RowCount(), 1);
    EXPECT_TRUE(lists.countryItems.empty());
}

} // namespace
} // namespace corvane
