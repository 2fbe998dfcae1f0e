// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A table of text cells addressed as (column, row), with a settable row count and column
// widths in pixels (width 0 hides a column). Every number of the tables lives here as text.
class StringGrid {
public:
    static constexpr int kDefaultColWidth = 46;

    StringGrid(int colCount, int rowCount, int defaultColWidth = kDefaultColWidth);

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    // Rows beyond the new count are discarded; new rows are empty.
    void SetRowCount(int rowCount);

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    // SetCell from a view, reusing the cell's buffer.
    void AssignCell(int col, int row, std::string_view text);
    void ClearRow(int row);
    // Writes row `row` from `texts`, one per column from column 0, reusing the cells' buffers,
    // with one change notice for the row; the columns past `texts` are emptied.
    void SetRowTexts(int row, std::span<const std::string_view> texts);
    // Copies every cell of row `fromRow` of `from` into row `toRow` (same column count).
    void CopyRow(const StringGrid& from, int fromRow, int toRow);
    // Reorders rows firstRow.. : row firstRow + i becomes what row order[i] was. `order` holds
    // each row of firstRow..firstRow + order.size() - 1 once (else std::out_of_range, nothing
    // moved).
    void ReorderRows(int firstRow, const std::vector<int>& order);

    int DefaultColWidth() const { return defaultColWidth_; }
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);

    // Called after every change of cells, rows or widths, so a view can repaint.
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    // Counts changes of the row layout (row count), so a long operation can tell that the
    // table it walks was rebuilt under it.
    unsigned long long Generation() const { return generation_; }

private:
    void Changed() const;

    int colCount_;
    int rowCount_;
    int defaultColWidth_;
    std::vector<std::string> cells_; // row-major
    std::vector<int> widths_;
    std::function<void()> observer_;
    unsigned long long generation_ = 0;
};

} // namespace corvane
