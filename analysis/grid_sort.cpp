// SPDX-License-Identifier: GPL-3.0-or-later
#include "grid_sort.h"

#include "store/number_text.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

namespace {

enum class KeyOrder { None, TextAscending, NumberDescending };

// The sort works on a list of row numbers; swapping two entries of the list (and of their
// keys) is the same as swapping the two rows of a scratch copy, every column.
// The keys are read once per row instead of once per comparison, which gives the same order.
template <typename Key, typename Before>
void SelectionSort(std::vector<int>& rows, std::vector<Key>& keys, Before before) {
    const std::size_t count = rows.size();
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t best = i; // row i's key is the best key; no best row yet
        for (std::size_t j = i + 1; j < count; ++j) {
            // An equal key never replaces the best one: the first met is kept.
            if (before(keys[j], keys[best]))
                best = j;
        }
        if (best != i) {
            std::swap(rows[i], rows[best]);
            std::swap(keys[i], keys[best]);
        }
    }
}

void SortByText(const StringGrid& grid, int keyCol, std::vector<int>& rows) {
    std::vector<std::string_view> keys;
    keys.reserve(rows.size());
    for (int row : rows)
        keys.emplace_back(grid.Cell(keyCol, row));
    // string_view compares bytes as unsigned char, case-sensitive, prefix first.
    SelectionSort(rows, keys, [](std::string_view a, std::string_view b) { return a < b; });
}

void SortByNumber(const StringGrid& grid, int keyCol, std::vector<int>& rows) {
    std::vector<double> keys;
    keys.reserve(rows.size());
    for (int row : rows)
        keys.push_back(CellNumber(grid.Cell(keyCol, row)));
    SelectionSort(rows, keys, [](double a, double b) { return a > b; });
}

// The rows in their final order: counts reaching the threshold first, each block in the
// sorted order.
std::vector<int> SplitOrder(const StringGrid& grid, const std::vector<int>& rows, int countCol,
                            int sortCount) {
    std::vector<char> upper(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        upper[i] = CellInteger(grid.Cell(countCol, rows[i])) >= sortCount;
    std::vector<int> order;
    order.reserve(rows.size());
    for (const char block : {1, 0}) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (upper[i] == block)
                order.push_back(rows[i]);
        }
    }
    return order;
}

// The keys are read from the grid as it stands; the rows then move into their places at
// once, which is what writing them back from a scratch copy of the grid gives.
void SortRows(StringGrid& grid, KeyOrder order, int keyCol, bool countColIsOne, int rowsLeftOut,
              int firstRow, const SortSplit& split) {
    const int first = std::max(firstRow, 0);
    std::vector<int> rows;
    for (int row = first; row <= grid.RowCount() - 1 - rowsLeftOut; ++row)
        rows.push_back(row);

    // A key column outside the table (a damaged setting) sorts nothing; the split still runs.
    const bool keyInTable = keyCol >= 0 && keyCol < grid.ColCount();
    if (order == KeyOrder::TextAscending && keyInTable)
        SortByText(grid, keyCol, rows);
    else if (order == KeyOrder::NumberDescending && keyInTable)
        SortByNumber(grid, keyCol, rows);

    if (!rows.empty())
        grid.ReorderRows(first, SplitOrder(grid, rows, countColIsOne ? 1 : 2, split.sortCount));
    if (split.pump)
        split.pump();
}

} // namespace

void SortGridText(StringGrid& grid, int keyCol, bool countColIsOne, int rowsLeftOut, int firstRow,
                  const SortSplit& split) {
    SortRows(grid, KeyOrder::TextAscending, keyCol, countColIsOne, rowsLeftOut, firstRow, split);
}

void SortGridNumeric(StringGrid& grid, int keyCol, bool countColIsOne, int rowsLeftOut,
                     int firstRow, const SortSplit& split) {
    SortRows(grid, KeyOrder::NumberDescending, keyCol, countColIsOne, rowsLeftOut, firstRow, split);
}

void SplitBySortCount(StringGrid& grid, bool countColIsOne, int rowsLeftOut, int firstRow,
                      const SortSplit& split) {
    SortRows(grid, KeyOrder::None, 0, countColIsOne, rowsLeftOut, firstRow, split);
}

void SortEventTable(StringGrid& table, int sortCol, const SortSplit& split) {
    // A table that no record reached has an empty row 1 and keeps it as it is.
    if (table.RowCount() < 2 || table.Cell(1, 1).empty())
        return;
    if (sortCol == 0)
        SortGridText(table, 0, true, 0, 1, split);
    else
        SortGridNumeric(table, sortCol, true, 0, 1, split);
}

} // namespace corvane
