// SPDX-License-Identifier: GPL-3.0-or-later
// The colour rules of the three kinds of grid, checked on the looks they decide.
#include "ui/cell_drawing.h"
#include "ui/cell_painters.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

using namespace colours;

constexpr int kCols = 17;

// Thresholds that highlight nothing unless a test lowers one of them.
Thresholds Quiet() {
    Thresholds t;
    t.count = 1e6;
    t.dd = 1e6;
    t.percent = 1e6;
    t.twoCol = 1e6;
    t.nine = 1e6;
    t.sortCount = 0;
    return t;
}

// A grid with a header row and one data row holding `cells` as (column, text).
StringGrid RowGrid(const std::vector<std::pair<int, std::string>>& cells, int rows = 2) {
    StringGrid grid(kCols, rows);
    for (int col = 0; col < kCols; ++col)
        grid.SetCell(col, 0, "H" + std::to_string(col));
    grid.SetCell(0, 1, "101A");
    for (const auto& [col, text] : cells)
        grid.SetCell(col, 1, text);
    return grid;
}

CellLook Event(const StringGrid& grid, int col, const Thresholds& t, int row = 1) {
    return EventCellLook(grid, col, row, t, -1, false);
}

// ---- Strict thresholds: equal is not highlighted, just above is.

struct StrictCase {
    const char* name;
    int col;
    const char* equal;
    const char* above;
    double Thresholds::*field;
    double threshold;
    std::uint32_t highlight;
};

TEST(EventThresholds, EqualToThresholdIsNotHighlighted) {
    const std::vector<StrictCase> cases = {
        {"Count", 1, "50", "51", &Thresholds::count, 50, kPink},
        {"DD", 2, "3.0", "3.1", &Thresholds::dd, 3.0, kPink},
        {"Percent", 7, "30.0", "30.1", &Thresholds::percent, 30, kPink},
        {"Nine", 14, "5.0", "5.1", &Thresholds::nine, 5, kGreen},
        {"TwoColumnAlone", 7, "50.0", "50.1", &Thresholds::twoCol, 50, kBlue},
        // An emptied Count control reads 0: every Count above 0 is pink.
        {"EmptiedCount", 1, "0", "1", &Thresholds::count, 0, kPink},
    };
    for (const StrictCase& c : cases) {
        SCOPED_TRACE(c.name);
        Thresholds t = Quiet();
        t.*c.field = c.threshold;
        EXPECT_EQ(Event(RowGrid({{c.col, c.equal}}), c.col, t).background, kGridBackground);
        EXPECT_EQ(Event(RowGrid({{c.col, c.above}}), c.col, t).background, c.highlight);
    }
}

// ---- The Sort Count row.

TEST(SortCountRow, RowBelowSortCountIsWhiteWithoutPinkOrBlue) {
    Thresholds t = Quiet();
    t.sortCount = 10;
    t.count = 5;
    t.dd = 1.0;
    t.percent = 10;
    t.twoCol = 50;
    t.nine = 5;
    const StringGrid grid =
        RowGrid({{1, "9"}, {2, "2.5"}, {3, "40.00"}, {7, "60.0"}, {8, "20.0"}, {14, "9.5"}});
    for (int col : {1, 2, 3, 4, 7, 8, 9}) {
        SCOPED_TRACE(col);
        const CellLook look = Event(grid, col, t);
        EXPECT_EQ(look.background, kWhite);
        EXPECT_EQ(look.textColour, kBlack);
    }
    const CellLook nine = Event(grid, 14, t);
    EXPECT_EQ(nine.background, kGreen);
    EXPECT_EQ(nine.textColour, kWhite);
    EXPECT_EQ(Event(grid, 15, t).background, kYellow);

    // Column 14 that also passes the 2-column test with column 13 turns blue, white row or not.
    const StringGrid paired = RowGrid({{1, "9"}, {13, "45.0"}, {14, "9.5"}});
    EXPECT_EQ(Event(paired, 14, t).background, kBlue);
    EXPECT_EQ(Event(paired, 14, t).textColour, kWhite);
    EXPECT_EQ(Event(paired, 13, t).background, kWhite);
}

TEST(SortCountRow, CountAtSortCountOrBlankKeepsItsColours) {
    Thresholds t = Quiet();
    t.sortCount = 10;
    t.count = 5;
    t.percent = 50;
    const StringGrid grid = RowGrid({{1, "10"}, {7, "60.0"}});
    EXPECT_EQ(Event(grid, 1, t).background, kPink);
    EXPECT_EQ(Event(grid, 7, t).background, kPink);
    EXPECT_EQ(Event(grid, 3, t).background, kGridBackground);
    EXPECT_EQ(Event(RowGrid({{1, ""}, {3, "1.00"}}), 3, t).background, kGridBackground);
    EXPECT_EQ(Event(RowGrid({{1, " \t"}, {3, "1.00"}}), 3, t).background, kGridBackground);
}

// ---- The 2-column pairing.

struct PairCase {
    const char* name;
    std::vector<std::pair<int, std::string>> cells;
    int col;
    bool blue;
};

TEST(TwoColumn, PairsOnlyWithAdjacentBands) {
    const std::vector<PairCase> cases = {
        {"Pair7And8Left", {{7, "30.0"}, {8, "25.0"}}, 7, true},
        {"Pair7And8Right", {{7, "30.0"}, {8, "25.0"}}, 8, true},
        {"LoneBetweenBlanks", {{7, "30.0"}}, 7, false},
        {"LoneAbove", {{7, "60.0"}}, 7, true},
        {"NotAcrossAGap", {{7, "30.0"}, {9, "25.0"}}, 7, false},
        {"PairSumEqual", {{7, "30.0"}, {8, "20.0"}}, 8, false},
        {"Col5NotWithAvgScore", {{4, "40.0"}, {5, "20.0"}}, 5, false},
        {"Col5WithCol6", {{5, "20.0"}, {6, "35.0"}}, 5, true},
        {"Col6WithCol5", {{5, "35.0"}, {6, "20.0"}}, 6, true},
        {"Col13WithCol14", {{13, "30.0"}, {14, "25.0"}}, 13, true},
        {"Col14WithCol13", {{13, "30.0"}, {14, "25.0"}}, 14, true},
        {"Col14NotWithDivers", {{14, "20.0"}, {15, "40"}}, 14, false},
        {"Col14NotWithCol12", {{12, "40.0"}, {14, "20.0"}}, 14, false},
    };
    Thresholds t = Quiet();
    t.twoCol = 50;
    for (const PairCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CellLook look = Event(RowGrid(c.cells), c.col, t);
        EXPECT_EQ(look.background == kBlue, c.blue);
        EXPECT_EQ(look.textColour, c.blue ? kWhite : kBlack);
    }
}

TEST(TwoColumn, BlueWinsOverPinkAndGreen) {
    Thresholds t = Quiet();
    t.percent = 20;
    t.twoCol = 50;
    t.nine = 5;
    const StringGrid grid = RowGrid({{7, "40.0"}, {8, "15.0"}, {13, "45.0"}, {14, "9.5"}});
    const CellLook pinkAndBlue = Event(grid, 7, t);
    EXPECT_EQ(pinkAndBlue.background, kBlue);
    EXPECT_EQ(pinkAndBlue.textColour, kWhite);

    const CellLook greenAndBlue = Event(grid, 14, t);
    EXPECT_EQ(greenAndBlue.background, kBlue);
    EXPECT_EQ(greenAndBlue.textColour, kWhite);

    t.twoCol = 100;
    const CellLook greenOnly = Event(grid, 14, t);
    EXPECT_EQ(greenOnly.background, kGreen);
    EXPECT_EQ(greenOnly.textColour, kWhite);
    EXPECT_EQ(Event(grid, 7, t).background, kPink);
}

// ---- Text: "%" on band values, blanks, the Divers hint, placement.

TEST(CellText, BandValueIsDrawnWithPercentButTheGridKeepsTheNumber) {
    const StringGrid grid = RowGrid({{5, "35.0"}, {14, "2.5"}, {3, "120.50"}, {2, "2.8"}});
    EXPECT_EQ(Event(grid, 5, Quiet()).text, "35.0%");
    EXPECT_EQ(Event(grid, 14, Quiet()).text, "2.5%");
    EXPECT_EQ(Event(grid, 3, Quiet()).text, "120.50");
    EXPECT_EQ(Event(grid, 2, Quiet()).text, "2.8");
    EXPECT_EQ(grid.Cell(5, 1), "35.0");
}

TEST(CellText, BlankCellsAreNeitherTestedNorGivenPercent) {
    Thresholds t = Quiet();
    t.count = -1; // a converted blank would read 0 and be above this
    t.dd = -1;
    t.percent = -1;
    t.nine = -1;
    t.twoCol = -1;
    for (const char* blank : {"", "  ", "\t"}) {
        const StringGrid grid = RowGrid({{1, blank}, {2, blank}, {7, blank}, {14, blank}});
        for (int col : {1, 2, 7, 14}) {
            SCOPED_TRACE(col);
            const CellLook look = Event(grid, col, t);
            EXPECT_EQ(look.background, kGridBackground);
            EXPECT_EQ(look.text, blank);
        }
    }
}

TEST(CellText, DiversHintAndTheColumnsThatGetText) {
    const StringGrid empty = RowGrid({});
    const CellLook hint = Event(empty, 15, Quiet());
    EXPECT_EQ(hint.text, "...dbl click...");
    EXPECT_EQ(hint.background, kYellow);
    EXPECT_TRUE(hint.drawText);
    EXPECT_EQ(empty.Cell(15, 1), "");

    const CellLook filled = Event(RowGrid({{15, "12"}}), 15, Quiet());
    EXPECT_EQ(filled.text, "12");
    EXPECT_EQ(filled.background, kYellow);
    EXPECT_FALSE(filled.leftAligned);

    const StringGrid hidden = RowGrid({{16, "x"}});
    EXPECT_TRUE(Event(hidden, 1, Quiet()).drawText);
    EXPECT_FALSE(Event(hidden, 16, Quiet()).drawText);
    EXPECT_TRUE(Event(hidden, 0, Quiet()).leftAligned);
}

TEST(CellText, OffsetCentresOnTheColumnTruncatingTowardZero) {
    CellLook centred;
    EXPECT_EQ(TextOffset(centred, 46, 20), 13);
    EXPECT_EQ(TextOffset(centred, 46, 21), 12);
    EXPECT_EQ(TextOffset(centred, 46, 61), -7); // not -8: wider text stays centred
    CellLook left;
    left.leftAligned = true;
    EXPECT_EQ(TextOffset(left, 46, 200), 2);
}

// ---- Fixed cells, bold header, current-cell frame.

TEST(FixedCells, HeaderBlueBlackTextAndBoldOnlyInRowZeroAtTheSortColumn) {
    Thresholds t = Quiet();
    t.percent = 0;
    const StringGrid grid = RowGrid({{7, "50.0"}});
    const CellLook sorted = EventCellLook(grid, 7, 0, t, 7, true);
    EXPECT_TRUE(sorted.bold);
    EXPECT_EQ(sorted.background, kHeaderBlue);
    EXPECT_EQ(sorted.textColour, kBlack);
    EXPECT_EQ(sorted.text, "H7"); // no "%" on a header
    EXPECT_FALSE(sorted.frame);
    EXPECT_FALSE(EventCellLook(grid, 6, 0, t, 7, false).bold);
    // Column 0 is fixed as well: header blue, and bold only in the header row.
    const CellLook code = EventCellLook(grid, 0, 1, t, 0, true);
    EXPECT_FALSE(code.bold);
    EXPECT_FALSE(code.frame);
    EXPECT_EQ(code.background, kHeaderBlue);
    EXPECT_EQ(code.text, "101A");
    EXPECT_TRUE(EventCellLook(grid, 0, 0, t, 0, false).bold);
    // The data cell under the sorted header is not bold.
    EXPECT_FALSE(EventCellLook(grid, 7, 1, t, 7, false).bold);
}

TEST(FixedCells, FrameOnlyOnTheCurrentDataCell) {
    const StringGrid grid = RowGrid({{3, "1.00"}});
    EXPECT_TRUE(EventCellLook(grid, 3, 1, Quiet(), 0, true).frame);
    EXPECT_FALSE(EventCellLook(grid, 3, 1, Quiet(), 0, false).frame);
    EXPECT_TRUE(SummaryCellLook(grid, 3, 1, Quiet(), true).frame);
    EXPECT_FALSE(SummaryCellLook(grid, 3, 0, Quiet(), true).frame);
    EXPECT_TRUE(DiverCellLook(grid, 3, 1, Quiet(), 2, true).frame);
    EXPECT_FALSE(DiverCellLook(grid, 0, 1, Quiet(), 2, true).frame);
}

// ---- The summary grid.

TEST(SummaryGrid, PinkAndBlueAreUnconditionalAndNoHeaderIsBold) {
    Thresholds t = Quiet();
    t.sortCount = 100; // no white row here, whatever the count
    t.count = 5;
    t.dd = 2.0;
    t.percent = 20;
    t.twoCol = 50;
    const StringGrid grid =
        RowGrid({{1, "9"}, {2, "2.5"}, {7, "30.0"}, {8, "10.0"}, {10, "60.0"}, {15, ""}});
    EXPECT_EQ(SummaryCellLook(grid, 1, 1, t, false).background, kPink);
    EXPECT_EQ(SummaryCellLook(grid, 2, 1, t, false).background, kPink);
    EXPECT_EQ(SummaryCellLook(grid, 7, 1, t, false).background, kPink);
    const CellLook blue = SummaryCellLook(grid, 10, 1, t, false);
    EXPECT_EQ(blue.background, kBlue);
    EXPECT_EQ(blue.textColour, kWhite);
    EXPECT_EQ(blue.text, "60.0%");
    EXPECT_EQ(SummaryCellLook(grid, 3, 1, t, false).background, kGridBackground);
    for (int col = 0; col < kCols; ++col)
        EXPECT_FALSE(SummaryCellLook(grid, col, 0, t, false).bold);
    // No "Divers" column here: column 15 is neither yellow nor drawn.
    const CellLook divers = SummaryCellLook(grid, 15, 1, t, false);
    EXPECT_EQ(divers.background, kGridBackground);
    EXPECT_FALSE(divers.drawText);
    EXPECT_EQ(divers.text, "");
}

// ---- The per-diver grid.

TEST(DiverGrid, OnlyTheBandsAreComparedAndStatsSortColIsBold) {
    Thresholds t = Quiet();
    t.count = 0;
    t.dd = 0;
    t.percent = 20;
    t.twoCol = 50;
    t.nine = 5;
    t.sortCount = 100;
    const StringGrid grid = RowGrid(
        {{1, "5"}, {2, "99"}, {5, "30.0"}, {6, "25.0"}, {9, "21.0"}, {13, "1.0"}, {14, "9.5"}});
    EXPECT_EQ(DiverCellLook(grid, 1, 1, t, 2, false).background, kGridBackground);
    EXPECT_EQ(DiverCellLook(grid, 2, 1, t, 2, false).background, kGridBackground);
    EXPECT_EQ(DiverCellLook(grid, 5, 1, t, 2, false).background, kBlue);
    EXPECT_EQ(DiverCellLook(grid, 9, 1, t, 2, false).background, kPink);
    EXPECT_EQ(DiverCellLook(grid, 14, 1, t, 2, false).background, kGreen);
    EXPECT_FALSE(DiverCellLook(grid, 15, 1, t, 2, false).drawText);
    EXPECT_TRUE(DiverCellLook(grid, 14, 1, t, 2, false).drawText);

    EXPECT_TRUE(DiverCellLook(grid, 2, 0, Quiet(), 2, false).bold);
    EXPECT_FALSE(DiverCellLook(grid, 3, 0, Quiet(), 2, false).bold);
    EXPECT_FALSE(DiverCellLook(grid, 2, 1, Quiet(), 2, false).bold);
    for (int col = 0; col < kCols; ++col)
        EXPECT_FALSE(DiverCellLook(grid, col, 0, Quiet(), -1, false).bold);
}

} // namespace
} // namespace corvane
