// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "string_grid.h"

#include <functional>

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

// An event table sorted by its sort column (0: text on the dive code, else numeric),
// rows from 1, count column 1. A table whose cell (1, 1) is empty is left as it is.
void SortEventTable(StringGrid& table, int sortCol, const SortSplit& split);

} // namespace corvane
