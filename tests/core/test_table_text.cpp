// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/table_text.h"

#include "analysis/statistics.h"
#include "analysis_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(TableText, ExactTextOfASmallGrid) {
    StringGrid grid(3, 2);
    grid.SetCell(0, 0, "a");
    grid.SetCell(2, 0, "c");
    grid.SetCell(1, 1, "35.0");
    EXPECT_EQ(TableText(grid, 3), "a\t\tc\t\r\n\t35.0\t\t");
    EXPECT_EQ(TableText(grid, 2), "a\t\t\r\n\t35.0\t");
}

TEST(TableText, EventTableHasOneLineOfSeventeenFieldsPerRow) {
    StringGrid table = EventTableGrid();
    const std::vector<DiveRecord> dives{Dive("1", "101B", 1.5, 30.0), Dive("1", "105B", 2.4, 60.0),
                                        Dive("1", "105C", 2.2, 50.0)};
    GenerateEventTable(table, kM3M, dives, DiverRoster(), BuiltInCatalogue(), true, {}, 0, {});
    table.SetCell(kDiversCol, 2, "4");
    const std::string text = TableText(table, 17);

    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 4u);
    for (const std::string& line : lines)
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 17) << line;
    EXPECT_TRUE(lines[0].starts_with("Dive\tCount\tDD\tAvg Pts\t"));
    EXPECT_TRUE(lines[2].starts_with("105B\t"));
    EXPECT_TRUE(lines[2].ends_with("\t4\t\t")) << "the Divers value, then the empty column 16";
    EXPECT_FALSE(text.ends_with("\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST(TableText, EmptyEventTableIsHeaderAndOneLineOfTabs) {
    StringGrid table = EventTableGrid();
    GenerateEventTable(table, kM3M, std::vector<DiveRecord>(), DiverRoster(), BuiltInCatalogue(),
                       true, {}, 0, {});
    std::string header;
    for (int col = 0; col < 17; ++col)
        header += EventHeader(col) + "\t";
    EXPECT_EQ(TableText(table, 17), header + "\r\n" + std::string(17, '\t'));
}

TEST(TableText, PerDiverTableLeavesOutItsHiddenColumns) {
    StringGrid grid = DiveStatsGridAtCreation();
    grid.SetCell(0, 1, "LEE, Bo");
    grid.SetCell(15, 1, "90");
    grid.SetCell(16, 1, "3");
    const std::string text = TableText(grid, grid.ColCount() - 2);
    for (const std::string& line : Lines(text))
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 15);
    EXPECT_EQ(text.find("90"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\t\t"));
}

} // namespace
} // namespace corvane
