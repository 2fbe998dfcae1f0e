// SPDX-License-Identifier: GPL-3.0-or-later
#include "string_grid.h"

#include <algorithm>
#include <stdexcept>

namespace corvane {

StringGrid::StringGrid(int colCount, int rowCount, int defaultColWidth)
    : colCount_(colCount), rowCount_(rowCount), defaultColWidth_(defaultColWidth),
      cells_(static_cast<std::size_t>(colCount) * rowCount),
      widths_(static_cast<std::size_t>(colCount), defaultColWidth) {
    if (colCount < 1 || rowCount < 1)
        throw std::invalid_argument("a grid has at least one row and one column");
}

void StringGrid::SetRowCount(int rowCount) {
    if (rowCount < 1)
        rowCount = 1;
    const auto cols = static_cast<std::size_t>(colCount_);
    const std::size_t needed = cols * static_cast<std::size_t>(rowCount);
    if (needed > cells_.size())
        cells_.resize(needed);
    // Rows past the count keep their cells' buffers, so a list emptied and filled again
    // (the per-diver list, once per dive code) does not allocate its texts anew; a row that
    // comes back starts empty.
    for (std::size_t cell = cols * static_cast<std::size_t>(rowCount_); cell < needed; ++cell)
        cells_[cell].clear();
    rowCount_ = rowCount;
    ++generation_;
    Changed();
}

const std::string& StringGrid::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_)
        throw std::out_of_range("cell outside the grid");
    return cells_[static_cast<std::size_t>(row) * colCount_ + col];
}

void StringGrid::SetCell(int col, int row, std::string text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_)
        throw std::out_of_range("cell outside the grid");
    cells_[static_cast<std::size_t>(row) * colCount_ + col] = std::move(text);
    Changed();
}

void StringGrid::AssignCell(int col, int row, std::string_view text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_)
        throw std::out_of_range("cell outside the grid");
    cells_[static_cast<std::size_t>(row) * colCount_ + col].assign(text);
    Changed();
}

void StringGrid::ClearRow(int row) {
    if (row < 0 || row >= rowCount_)
        throw std::out_of_range("row outside the grid");
    for (int col = 0; col < colCount_; ++col)
        cells_[static_cast<std::size_t>(row) * colCount_ + col].clear();
    Changed();
}

void StringGrid::SetRowTexts(int row, std::span<const std::string_view> texts) {
    if (row < 0 || row >= rowCount_ || texts.size() > static_cast<std::size_t>(colCount_))
        throw std::out_of_range("row outside the grid");
    const auto first = static_cast<std::size_t>(row) * colCount_;
    for (std::size_t col = 0; col < static_cast<std::size_t>(colCount_); ++col) {
        if (col < texts.size())
            cells_[first + col].assign(texts[col]);
        else
            cells_[first + col].clear();
    }
    Changed();
}

void StringGrid::CopyRow(const StringGrid& from, int fromRow, int toRow) {
    if (toRow < 0 || toRow >= rowCount_ || from.colCount_ != colCount_)
        throw std::out_of_range("row outside the grid");
    for (int col = 0; col < colCount_; ++col)
        cells_[static_cast<std::size_t>(toRow) * colCount_ + col] = from.Cell(col, fromRow);
    Changed();
}

void StringGrid::ReorderRows(int firstRow, const std::vector<int>& order) {
    const auto cols = static_cast<long>(colCount_);
    const auto count = static_cast<long>(order.size());
    if (firstRow < 0 || firstRow + count > rowCount_)
        throw std::out_of_range("row outside the grid");
    std::vector<char> placed(order.size());
    for (long i = 0; i < count; ++i) {
        if (order[i] < firstRow || order[i] >= firstRow + count || placed[order[i] - firstRow])
            throw std::out_of_range("row outside the reordered range");
        placed[order[i] - firstRow] = 1;
    }
    // The cells move rather than copy, one cycle of the permutation at a time through one
    // spare row: the texts keep their buffers and nothing is allocated per row.
    const auto rowAt = [this, cols, firstRow](long i) {
        return cells_.begin() + (firstRow + i) * cols;
    };
    std::vector<std::string> spare(static_cast<std::size_t>(cols));
    std::fill(placed.begin(), placed.end(), 0);
    for (long start = 0; start < count; ++start) {
        if (placed[start] || order[start] - firstRow == start)
            continue;
        std::move(rowAt(start), rowAt(start) + cols, spare.begin());
        long to = start;
        for (long from = order[to] - firstRow; from != start; from = order[to] - firstRow) {
            std::move(rowAt(from), rowAt(from) + cols, rowAt(to));
            placed[to] = 1;
            to = from;
        }
        std::move(spare.begin(), spare.end(), rowAt(to));
        placed[to] = 1;
    }
    Changed();
}

int StringGrid::ColWidth(int col) const {
    return widths_.at(col);
}

void StringGrid::SetColWidth(int col, int width) {
    widths_.at(col) = width < 0 ? 0 : width;
    Changed();
}

void StringGrid::Changed() const {
    if (observer_)
        observer_();
}

} // namespace corvane
