// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_text.h"

#include <algorithm>

namespace corvane {

std::string TableText(const StringGrid& grid, int columnCount) {
    const int cols = std::clamp(columnCount, 0, grid.ColCount());
    std::string text;
    text.reserve(static_cast<std::size_t>(grid.RowCount()) * (cols * 6 + 2));
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (row > 0)
            text += "\r\n";
        for (int col = 0; col < cols; ++col) {
            text += grid.Cell(col, row);
            text += '\t';
        }
    }
    return text;
}

} // namespace corvane
