// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/score_band_chart.h"

#include "analysis/drill_down.h"
#include "analysis/statistics.h"
#include "analysis_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace corvane {
namespace {

using namespace corvane::testing;

using Shares = std::array<double, kBandCount>;

// A breakdown made by the drill-down itself, as the Dive Statistics window shows it.
class ScoreBandChartTest : public ::testing::Test {
protected:
    ScoreBandChartTest()
        : roster({Diver("D1", "SMITH", "Anna", "USA"), Diver("D2", "LEE", "Bo", "CHN")}) {}

    DiveBreakdown Open(const std::string& code) {
        GenerateEventTable(table, kW3M, dives, roster, BuiltInCatalogue(), true, {}, 0, {});
        int row = 1;
        while (row < table.RowCount() && table.Cell(0, row) != code)
            ++row;
        return DrillDown(table, kW3M, row, dives, roster, {}, {statsGrid, diveStatsGrid, 0}, {});
    }

    DiverRoster roster;
    std::vector<DiveRecord> dives;
    StringGrid table = EventTableGrid();
    StringGrid statsGrid{17, 2};
    StringGrid diveStatsGrid = DiveStatsGridAtCreation();
};

TEST_F(ScoreBandChartTest, FieldAndDiverSharesWithBlankBandsAsZero) {
    // DD 2.0: 18 points score 3 (band 3), 30 score 5 (band 5), 57 score 9.5 (band 10).
    // SMITH: 3, 5, 5, 9.5; LEE: 3. The field: 2 of 5 in band 3, 2 in band 5, 1 in band 10.
    dives = {Dive("D1", "105B", 2.0, 18.0), Dive("D1", "105B", 2.0, 30.0),
             Dive("D1", "105B", 2.0, 30.0), Dive("D1", "105B", 2.0, 57.0),
             Dive("D2", "105B", 2.0, 18.0)};
    const DiveBreakdown result = Open("105B");
    ASSERT_EQ(diveStatsGrid.Cell(0, 2), "SMITH, Anna") << "rows sorted by name";

    const ScoreBandChart smith = ScoreBandChartOf(result, result.DiverNamed("SMITH, Anna"));
    EXPECT_EQ(smith.title, "W3M - 105B - DD 2.4 - 2 divers");
    EXPECT_EQ(smith.bandLabels.front(), "0 to 1");
    EXPECT_EQ(smith.bandLabels[4], ">4 to 5");
    EXPECT_EQ(smith.bandLabels.back(), ">9 to 10");
    EXPECT_EQ(smith.field.name, "All divers");
    EXPECT_EQ(smith.field.shares, (Shares{0, 0, 40, 0, 40, 0, 0, 0, 0, 20}));
    ASSERT_TRUE(smith.diver);
    EXPECT_EQ(smith.diver->name, "SMITH, Anna [USA]");
    EXPECT_EQ(smith.diver->shares, (Shares{0, 0, 25, 0, 50, 0, 0, 0, 0, 25}));
    EXPECT_EQ(smith.axisTop, 50);

    // Another current row: only the diver changes.
    const ScoreBandChart lee = ScoreBandChartOf(result, result.DiverNamed("LEE, Bo"));
    EXPECT_EQ(lee.field.shares, smith.field.shares);
    ASSERT_TRUE(lee.diver);
    EXPECT_EQ(lee.diver->name, "LEE, Bo [CHN]");
    EXPECT_EQ(lee.diver->shares, (Shares{0, 0, 100, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(lee.axisTop, 100);
}

TEST_F(ScoreBandChartTest, FieldAloneWithoutADiverRow) {
    // No diver of the roster performed 107B: the breakdown has no diver row at all.
    dives = {Dive("X9", "107B", 3.0, 27.0), Dive("D1", "101B", 1.5, 30.0)};
    const DiveBreakdown result = Open("107B");
    ASSERT_TRUE(result.opened);
    const ScoreBandChart chart = ScoreBandChartOf(result, nullptr);
    EXPECT_FALSE(chart.diver);
    EXPECT_EQ(chart.title, "W3M - 107B - DD 3.1 - 0 divers");
    EXPECT_EQ(chart.field.shares, (Shares{0, 0, 100, 0, 0, 0, 0, 0, 0, 0}));

    // Nor is a name of no row, or the header's, a diver; a breakdown not yet made still
    // names the bands and keeps a usable axis.
    dives = {Dive("D2", "107B", 3.0, 27.0)};
    const DiveBreakdown lee = Open("107B");
    EXPECT_EQ(lee.DiverNamed("Name"), nullptr);
    EXPECT_EQ(lee.DiverNamed("SMITH, Anna"), nullptr);
    const ScoreBandChart empty = ScoreBandChartOf(DiveBreakdown{}, nullptr);
    EXPECT_EQ(empty.bandLabels[9], ">9 to 10");
    EXPECT_EQ(empty.axisTop, 10);
}

TEST(ChartTitle, NamesTheCountryAndDiverFilterAfterTheBreakdownTitle) {
    const std::string title = "M3M - 107B - DD 3.1 - 7 divers";
    FilterSelection both = CountryFilter("CAN");
    both.diverIndex = 3;
    both.diver = "SMITH, ANNA [CAN]";
    const struct {
        FilterSelection filter;
        std::string expected;
    } cases[] = {
        {{}, title},
        // ***ALL*** (index 0) restricts nothing, whatever text the list holds.
        {{0, "***ALL***", 0, "***ALL***"}, title},
        {CountryFilter("CAN"), title + " - country CAN"},
        {DiverFilter("SMITH, ANNA [CAN]"), title + " - diver SMITH, ANNA [CAN]"},
        {both, title + " - country CAN - diver SMITH, ANNA [CAN]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChartTitle(title, c.filter), c.expected);
}

} // namespace
} // namespace corvane
