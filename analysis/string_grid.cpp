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
    cells_.resize(static_cast<std::size_t>(colCount_) * rowCount);
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
    const auto cols = static_cast<std::size_t>(colCount_);
    if (firstRow < 0 || firstRow + static_cast<long>(order.size()) > rowCount_)
        throw std::out_of_range("row outside the grid");
    // The cells move rather than copy: the texts keep their buffers.
    std::vector<std::string> moved(order.size() * cols);
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] < firstRow || order[i] >= firstRow + static_cast<long>(order.size()))
            throw std::out_of_range("row outside the reordered range");
        const auto from = cells_.begin() + static_cast<long>(order[i] * cols);
        std::move(from, from + static_cast<long>(cols),
                  moved.begin() + static_cast<long>(i * cols));
    }
    std::move(moved.begin(), moved.end(), cells_.begin() + static_cast<long>(firstRow * cols));
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
