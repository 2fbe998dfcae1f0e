#pragma once

#include "ui/cell_painters.h"

#include <QColor>

#include <functional>

class QFont;
class QPainter;
class QRect;

namespace corvane {

class StringGridView;

// A 0xRRGGBB colour of the cell rules as an opaque QColor.
QColor ToQColor(std::uint32_t rgb);

// Where the text of a cell starts, relative to the cell's left edge: 2 for a left-aligned
// cell, otherwise centred on the column width (the quotient truncated toward zero, so text
// wider than the column starts left of the cell).
int TextOffset(const CellLook& look, int columnWidth, int textWidth);

// Draws one cell as the look says: fills the whole rectangle with the background, draws the
// text (bold when the look says so) 2 pixels below the top edge clipped to the cell, then the
// 1-pixel frame along the inside of the rectangle. The painter's state is left as it was.
void DrawCell(QPainter& painter, const QRect& cellRect, const CellLook& look, int columnWidth,
              const QFont& baseFont);

// Decides the look of cell (col, row); `isCurrent` tells whether it is the view's current cell.
using CellLookFunction = std::function<CellLook(int col, int row, bool isCurrent)>;

// Makes `view` paint every cell with `look` and DrawCell, in the view's own font.
void UseCellLook(StringGridView& view, CellLookFunction look);

} // namespace corvane
