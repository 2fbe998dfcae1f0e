// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "string_grid.h"

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace corvane {

// Lets pending window messages run; the window supplies it, tests and tools pass nothing.
using PumpMessages = std::function<void()>;

// How a sort splits its rows: rows whose count cell reaches `sortCount` come first.
struct SortSplit {
    int sortCount = 0;
    PumpMessages pump;
};

// Selection sort of rows firstRow..(last - rowsLeftOut) on `keyCol`, on a scratch copy,
// then written back in two blocks by the count column (1 when `countColIsOne`, else 2).
// Text: ascending byte order. Numeric: descending by value, a blank cell counting as 0.
void SortGridText(StringGrid& grid, int keyCol, bool countColIsOne, int rowsLeftOut, int firstRow,
                  const SortSplit& split);
void SortGridNumeric(StringGrid& grid, int keyCol, bool countColIsOne, int rowsLeftOut,
                     int firstRow, const SortSplit& split);
// Only the Sort Count split, rows keeping their order within each block (a table without a
// sort column).
void SplitBySortCount(StringGrid& grid, bool countColIsOne, int rowsLeftOut, int firstRow,
                      const SortSplit& split);

// What a sort orders rows by: nothing (the split only), the key text in ascending byte
// order, or the key read as a number (blank counting as 0), descending.
enum class KeyOrder { None, TextAscending, NumberDescending };

// The sorts above on cells already at hand: the positions 0..n-1 of n rows in their final
// order, from each row's key cell and count cell (`keys` is unused for KeyOrder::None).
std::vector<int> SortedPositions(KeyOrder order, std::span<const std::string_view> keys,
                                 std::span<const std::string_view> counts, int sortCount);
// How SortEventTable orders the rows of a table of `colCount` columns by `sortCol`.
KeyOrder EventTableKeyOrder(int sortCol, int colCount);

// An event table sorted by its sort column (0: text on the dive code, else numeric),
// rows from 1, count column 1. A table whose cell (1, 1) is empty is left as it is.
void SortEventTable(StringGrid& table, int sortCol, const SortSplit& split);

} // namespace corvane
