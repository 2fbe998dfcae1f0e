// SPDX-License-Identifier: GPL-3.0-or-later
#include "cell_painters.h"

#include "analysis/event_table.h"
#include "store/number_text.h"

namespace corvane {

namespace {

constexpr int kTopBandCol = kLastBandCol;        // the >9 band, paired with column 13 only
constexpr int kLastPairedCol = kLastBandCol - 1; // the last band paired with both neighbours
constexpr const char* kDiversHint = "...dbl click...";

// The highlights that the value tests ask for; which of them show is up to each grid.
struct Marks {
    bool pink = false;
    bool blue = false;
    bool green = false; // column 14 above "> 9.0"
};

bool IsBandCol(int col) {
    return col >= kFirstBandCol && col <= kTopBandCol;
}

// A neighbour of a band cell in a 2-column sum; blank counts as 0.
double Neighbour(const StringGrid& grid, int col, int row) {
    return CellNumber(grid.Cell(col, row));
}

// Whether a band cell, alone or with an adjacent band of the same row, exceeds "2 Column".
bool TwoColumnTest(const StringGrid& grid, int col, int row, double value, double twoCol) {
    if (col == kTopBandCol)
        return value + Neighbour(grid, kLastPairedCol, row) > twoCol;
    if (value + Neighbour(grid, col + 1, row) > twoCol)
        return true;
    if (col > kFirstBandCol && value + Neighbour(grid, col - 1, row) > twoCol)
        return true;
    return value > twoCol;
}

// The band tests shared by every grid: Percent (5..13), "> 9.0" (14) and 2 Column (5..14).
Marks BandMarks(const StringGrid& grid, int col, int row, double value, const Thresholds& t) {
    Marks marks;
    if (col == kTopBandCol)
        marks.green = value > t.nine;
    else
        marks.pink = value > t.percent;
    marks.blue = TwoColumnTest(grid, col, row, value, t.twoCol);
    return marks;
}

// Tests a non-blank data cell by its column; Count and DD only where the grid compares them.
// Band cells get their "%" here, as only a converted band value is shown with one.
Marks TestCell(const StringGrid& grid, int col, int row, const Thresholds& t, bool testCountDD,
               std::string& text) {
    const std::string& cell = grid.Cell(col, row);
    if (IsBlank(cell))
        return {};
    const double value = CellNumber(cell);
    if (testCountDD && col == kCountCol)
        return {.pink = value > t.count};
    if (testCountDD && col == kDDCol)
        return {.pink = value > t.dd};
    if (!IsBandCol(col))
        return {};
    text += '%';
    return BandMarks(grid, col, row, value, t);
}

CellLook FixedLook(const StringGrid& grid, int col, int row, int boldCol) {
    CellLook look;
    look.background = colours::kHeaderBlue;
    look.textColour = colours::kBlack;
    look.bold = row == 0 && col == boldCol;
    look.text = grid.Cell(col, row);
    look.leftAligned = col == 0;
    return look;
}

bool IsFixed(int col, int row) {
    return row == 0 || col == 0;
}

// Green first, then pink and blue; `allowed` is false where a white row suppresses them.
void ApplyMarks(CellLook& look, const Marks& marks, bool allowed) {
    if (marks.green) {
        look.background = colours::kGreen;
        look.textColour = colours::kWhite;
    }
    if (marks.pink && allowed)
        look.background = colours::kPink;
    if (marks.blue && allowed) {
        look.background = colours::kBlue;
        look.textColour = colours::kWhite;
    }
}

// The data cells of the two breakdown grids: no white rows, no "Divers" column.
CellLook BreakdownDataLook(const StringGrid& grid, int col, int row, const Thresholds& t,
                           bool testCountDD, bool isCurrent) {
    CellLook look;
    look.background = colours::kGridBackground;
    look.textColour = colours::kBlack;
    look.text = grid.Cell(col, row);
    const Marks marks = TestCell(grid, col, row, t, testCountDD, look.text);
    ApplyMarks(look, marks, true);
    look.drawText = col >= 1 && col <= kTopBandCol;
    look.frame = isCurrent;
    return look;
}

} // namespace

CellLook EventCellLook(const StringGrid& grid, int col, int row, const Thresholds& t, int sortCol,
                       bool isCurrent) {
    if (IsFixed(col, row))
        return FixedLook(grid, col, row, sortCol);

    CellLook look;
    look.background = colours::kGridBackground;
    const std::string& count = grid.Cell(kCountCol, row);
    if (!IsBlank(count) && CellNumber(count) < t.sortCount)
        look.background = colours::kWhite;
    look.textColour = colours::kBlack;
    look.text = grid.Cell(col, row);

    const Marks marks = TestCell(grid, col, row, t, true, look.text);
    if (marks.green) {
        look.background = colours::kGreen;
        look.textColour = colours::kWhite;
    }
    if (col == kDiversCol) {
        look.background = colours::kYellow;
        if (look.text.empty())
            look.text = kDiversHint;
    }
    // A white row keeps its white: only green and yellow show through it.
    ApplyMarks(look, {.pink = marks.pink, .blue = marks.blue}, look.background != colours::kWhite);
    look.drawText = col >= 1 && col <= kDiversCol;
    look.frame = isCurrent;
    return look;
}

CellLook SummaryCellLook(const StringGrid& grid, int col, int row, const Thresholds& t,
                         bool isCurrent) {
    if (IsFixed(col, row))
        return FixedLook(grid, col, row, -1);
    return BreakdownDataLook(grid, col, row, t, true, isCurrent);
}

CellLook DiverCellLook(const StringGrid& grid, int col, int row, const Thresholds& t,
                       int statsSortCol, bool isCurrent) {
    if (IsFixed(col, row))
        return FixedLook(grid, col, row, statsSortCol);
    return BreakdownDataLook(grid, col, row, t, false, isCurrent);
}

} // namespace corvane
