// SPDX-License-Identifier: GPL-3.0-or-later
#include "grid_sort.h"

#include "store/number_text.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

namespace {

// The sort works on a list of row positions; swapping two entries of the list (and of their
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

// A text key with its first eight bytes as one big-endian number (zero-padded): numbers that
// differ order as the texts do (a text ending early pads with zeros, which sort first), so
// most comparisons of the selection sort are one integer compare instead of a memcmp call.
struct TextKey {
    std::uint64_t head = 0;
    std::string_view text;
};

TextKey TextKeyOf(std::string_view text) {
    TextKey key{0, text};
    for (std::size_t i = 0; i < 8; ++i) {
        key.head <<= 8;
        if (i < text.size())
            key.head |= static_cast<unsigned char>(text[i]);
    }
    return key;
}

void SortByText(std::span<const std::string_view> cells, std::vector<int>& rows) {
    std::vector<TextKey> keys;
    keys.reserve(cells.size());
    for (const std::string_view cell : cells)
        keys.push_back(TextKeyOf(cell));
    // string_view compares bytes as unsigned char, case-sensitive, prefix first.
    SelectionSort(rows, keys, [](const TextKey& a, const TextKey& b) {
        return a.head != b.head ? a.head < b.head : a.text < b.text;
    });
}

void SortByNumber(std::span<const std::string_view> cells, std::vector<int>& rows) {
    std::vector<double> keys;
    keys.reserve(cells.size());
    for (const std::string_view cell : cells)
        keys.push_back(CellNumber(cell));
    SelectionSort(rows, keys, [](double a, double b) { return a > b; });
}

// The positions in their final order: counts reaching the threshold first, each block in the
// sorted order.
std::vector<int> SplitOrder(const std::vector<int>& rows, std::span<const std::string_view> counts,
                            int sortCount) {
    std::vector<char> upper(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        upper[i] = CellInteger(counts[static_cast<std::size_t>(rows[i])]) >= sortCount;
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
    const int countCol = countColIsOne ? 1 : 2;
    // A key column outside the table (a damaged setting) sorts nothing; the split still runs.
    if (keyCol < 0 || keyCol >= grid.ColCount())
        order = KeyOrder::None;
    std::vector<std::string_view> keys;
    std::vector<std::string_view> counts;
    for (int row = first; row <= grid.RowCount() - 1 - rowsLeftOut; ++row) {
        keys.push_back(order == KeyOrder::None ? std::string_view() : grid.Cell(keyCol, row));
        counts.push_back(grid.Cell(countCol, row));
    }
    if (!counts.empty()) {
        std::vector<int> rows = SortedPositions(order, keys, counts, split.sortCount);
        for (int& row : rows)
            row += first;
        grid.ReorderRows(first, rows);
    }
    if (split.pump)
        split.pump();
}

} // namespace

std::vector<int> SortedPositions(KeyOrder order, std::span<const std::string_view> keys,
                                 std::span<const std::string_view> counts, int sortCount) {
    std::vector<int> rows(counts.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    if (order == KeyOrder::TextAscending)
        SortByText(keys, rows);
    else if (order == KeyOrder::NumberDescending)
        SortByNumber(keys, rows);
    return SplitOrder(rows, counts, sortCount);
}

KeyOrder EventTableKeyOrder(int sortCol, int colCount) {
    if (sortCol == 0)
        return KeyOrder::TextAscending;
    return sortCol > 0 && sortCol < colCount ? KeyOrder::NumberDescending : KeyOrder::None;
}

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
    SortRows(table, EventTableKeyOrder(sortCol, table.ColCount()), sortCol, true, 0, 1, split);
}

} // namespace corvane
