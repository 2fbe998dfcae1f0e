// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/session.h"

#include "analysis/score_band_chart.h"
#include "analysis_test_support.h"
#include "store/file_text.h"
#include "store/number_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using namespace corvane::testing;

constexpr char kRoster[] = "Id\tSurname\tGivenName\tNation\n"
                           "C1\tROY\tAnn\tCAN\n"
                           "C2\tLAM\tBea\tCAN\n"
                           "H1\tWU\tCai\tCHN\n";

// A data folder: the roster above and the four result files, `w3m` for W3M.
void WriteFolder(const TempDir& dir, const std::string& w3m, const std::string& roster = kRoster) {
    dir.Write("Divers.tsv", roster);
    for (const char* event : {"M3M", "M10M", "W10M"})
        dir.Write(event, "C1\t101B\t1.5\t30.00\t\n");
    dir.Write("W3M", w3m);
}

std::string Dives(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\t\n";
    return text;
}

void Load(AnalysisSession& session, const TempDir& dir) {
    ASSERT_EQ(session.ReadReferenceTables(dir.Path().string()), std::nullopt);
    ASSERT_EQ(session.ReadResults(dir.Path().string()).kind, LoadOutcome::Kind::Loaded);
    session.FillFilterLists();
}

RunChoices Regenerated(FilterSelection filter, int sortCol) {
    return RunChoices{false, std::move(filter), sortCol, SortSplit{0, {}}};
}

// A filter moves rows up (a code only CHN dived drops out) and a sort reorders them: the
// breakdown of a row is that row's dive, its DD and shares, made under that filter.
TEST(AnalysisSession, BreakdownOfAFilteredAndSortedRowIsThatRowsDive) {
    TempDir dir;
    WriteFolder(dir, Dives({"H1\t101A\t1.2\t30.00", "C1\t105B\t2.0\t30.00", "C2\t105B\t2.0\t18.00",
                            "H1\t105B\t2.0\t57.00", "C2\t201C\t1.8\t27.00"}));
    AnalysisSession session;
    Load(session, dir);
    const struct {
        FilterSelection filter;
        int sortCol;
        std::vector<std::string> codes; // the table's rows, top down
    } cases[] = {
        {{}, 0, {"101A", "105B", "201C"}},
        {CountryFilter("CAN"), 0, {"105B", "201C"}},
        {CountryFilter("CAN"), kCountCol, {"105B", "201C"}},
        {CountryFilter("CAN"), kAvgPtsCol, {"201C", "105B"}},
    };
    for (const auto& c : cases) {
        session.RunStatistics(kW3M, Regenerated(c.filter, c.sortCol));
        const StringGrid& table = session.EventTable(kW3M);
        ASSERT_EQ(ColumnCells(table, kDiveCol), c.codes);
        for (int row = 1; row < table.RowCount(); ++row) {
            StringGrid statsGrid(kEventTableCols, 2);
            StringGrid diveStatsGrid = DiveStatsGridAtCreation();
            const DiveBreakdown breakdown = session.BreakDown(
                kW3M, row, c.filter, {statsGrid, diveStatsGrid, 2}, SortSplit{0, {}});
            ASSERT_TRUE(breakdown.opened);
            EXPECT_EQ(breakdown.diveCode, c.codes[static_cast<std::size_t>(row - 1)]);
            EXPECT_EQ(breakdown.dd, table.Cell(kDDCol, row));
            EXPECT_EQ(breakdown.title, "W3M - " + breakdown.diveCode + " - DD " + breakdown.dd +
                                           " - " + std::to_string(breakdown.diverCount) +
                                           " divers");
            EXPECT_EQ(statsGrid.Cell(kDiveCol, 1), breakdown.diveCode);
            for (int band = 0; band < kBandCount; ++band)
                EXPECT_EQ(breakdown.fieldShares[static_cast<std::size_t>(band)],
                          CellNumber(table.Cell(kFirstBandCol + band, row)));
            for (const DiverShares& diver : breakdown.divers)
                EXPECT_TRUE(c.filter.countryIndex == 0 || diver.nation == "CAN") << diver.name;
        }
    }
}

// The chart of a breakdown reads nothing back from the grids: a later sort of the per-diver
// grid, or the grid reused for a diver count, leaves the diver's bars as they were.
TEST(AnalysisSession, ChartComesFromTheBreakdownNotFromItsGrids) {
    TempDir dir;
    WriteFolder(dir,
                Dives({"C1\t105B\t2.0\t18.00", "C1\t105B\t2.0\t30.00", "C2\t105B\t2.0\t57.00"}));
    AnalysisSession session;
    Load(session, dir);
    session.RunStatistics(kW3M, Regenerated({}, 0));
    StringGrid statsGrid(kEventTableCols, 2);
    StringGrid diveStatsGrid = DiveStatsGridAtCreation();
    const DiveBreakdown breakdown =
        session.BreakDown(kW3M, 1, CountryFilter("CAN"), {statsGrid, diveStatsGrid, 0}, {});
    session.CountDivers(kW3M, diveStatsGrid, DiverCountHooks{[] { return FilterSelection{}; }, {}});

    const ScoreBandChart chart = ScoreBandChartOf(breakdown, breakdown.DiverNamed("ROY, Ann"));
    EXPECT_EQ(chart.title, "W3M - 105B - DD 2.4 - 2 divers - country CAN");
    // The shares as the table shows them, to one decimal.
    EXPECT_EQ(chart.field.shares,
              (std::array<double, kBandCount>{0, 0, 33.3, 0, 33.3, 0, 0, 0, 0, 33.3}));
    ASSERT_TRUE(chart.diver);
    EXPECT_EQ(chart.diver->name, "ROY, Ann [CAN]");
    EXPECT_EQ(chart.diver->shares, (std::array<double, kBandCount>{0, 0, 50, 0, 50}));
    EXPECT_EQ(breakdown.DiverNamed("WU, Cai"), nullptr);
}

// A second load replaces everything of the first: records (also of an event the second load
// does not reach), roster, filter lists and tables.
TEST(AnalysisSession, ReloadDropsTheOldData) {
    TempDir first;
    WriteFolder(first, Dives({"C1\t105B\t2.0\t30.00", "H1\t107B\t3.0\t60.00"}));
    TempDir second;
    WriteFolder(second, Dives({"Z1\t201C\t1.8\t27.00"}), "Z1\tNEW\tOne\tFRA\n");
    second.Write("W10M", ""); // read, and empty
    AnalysisSession session;
    Load(session, first);
    session.RunStatistics(kW3M, Regenerated({}, 0));
    Load(session, second);
    session.RunStatistics(kW3M, Regenerated({}, 0));
    EXPECT_EQ(session.Store().Filled(kW3M).size(), 1u);
    EXPECT_EQ(session.Store().Filled(kEventCount).size(), 0u);
    EXPECT_EQ(session.Roster().Rows().size(), 1u);
    EXPECT_EQ(session.Lists().countryItems, std::vector<std::string>{"FRA"});
    EXPECT_EQ(ColumnCells(session.EventTable(kW3M), kDiveCol), std::vector<std::string>{"201C"});

    // A third folder that stops at its first file leaves no record of the second behind.
    TempDir broken;
    WriteFolder(broken, "");
    std::filesystem::remove(broken.Path() / "M3M");
    ASSERT_EQ(session.ReadReferenceTables(broken.Path().string()), std::nullopt);
    EXPECT_EQ(session.ReadResults(broken.Path().string()).kind, LoadOutcome::Kind::MissingFile);
    for (int event = 1; event <= kEventCount; ++event)
        EXPECT_TRUE(session.Store().Filled(event).empty()) << event;
}

// A reload reads everything before it replaces anything: a folder that cannot be read leaves
// the session as it was, and the window goes on showing its tables.
TEST(AnalysisSession, AFailedReloadKeepsWhatWasHeld) {
    TempDir first;
    WriteFolder(first, Dives({"C1\t105B\t2.0\t30.00", "H1\t107B\t3.0\t60.00"}));
    AnalysisSession session;
    Load(session, first);
    const struct {
        const char* what;
        std::string roster;
        const char* missing; // a result file taken away
        LoadOutcome::Kind kind;
    } cases[] = {
        {"bad roster", "C1\tROY\tAnn\tCan\n", nullptr, LoadOutcome::Kind::Failed},
        {"missing file", kRoster, "W10M", LoadOutcome::Kind::MissingFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir broken;
        WriteFolder(broken, Dives({"Z1\t201C\t1.8\t27.00"}), c.roster);
        if (c.missing)
            std::filesystem::remove(broken.Path() / c.missing);
        EXPECT_EQ(session.Reload(broken.Path().string()).kind, c.kind);
        EXPECT_EQ(session.Store().Filled(kW3M).size(), 2u);
        EXPECT_EQ(session.Roster().Rows().size(), 3u);
        EXPECT_EQ(session.Lists().countryItems, (std::vector<std::string>{"CAN", "CHN"}));
    }
    TempDir second;
    WriteFolder(second, Dives({"Z1\t201C\t1.8\t27.00"}), "Z1\tNEW\tOne\tFRA\n");
    ASSERT_EQ(session.Reload(second.Path().string()).kind, LoadOutcome::Kind::Loaded);
    EXPECT_EQ(session.Store().Filled(kW3M).size(), 1u);
    EXPECT_TRUE(session.Lists().countryItems.empty()) << "refilled by the first run";
}

} // namespace
} // namespace corvane
