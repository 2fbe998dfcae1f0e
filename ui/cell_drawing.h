// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/cell_painters.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <QTextLayout>

#include <array>
#include <functional>
#include <memory>

class QPainter;
class QPoint;
class QRect;

namespace corvane {

class StringGridView;

// A 0xRRGGBB colour of the cell rules as an opaque QColor.
QColor ToQColor(std::uint32_t rgb);

// Where the text of a cell starts, relative to the cell's left edge: 2 for a left-aligned
// cell, otherwise centred on the column width (the quotient truncated toward zero, so text
// wider than the column starts left of the cell).
int TextOffset(const CellLook& look, int columnWidth, int textWidth);

// The texts of a grid's cells in the grid's font, regular and bold, measured and laid out
// once: shaping a text costs more than drawing it, and a table shows the same few texts again
// and again. Starts over when the font changes.
class TextMetricsCache {
public:
    int Ascent(const QFont& font) { return SlotFor(font).ascent; }
    int Width(const QFont& font, const QString& text) { return Entry(font, text).width; }
    // Draws `text` in `font` (the painter's font) with its baseline at `baseline`, exactly
    // as QPainter::drawText would.
    void Draw(QPainter& painter, const QPoint& baseline, const QFont& font, const QString& text);

private:
    struct Text {
        int width = 0;
        // Shaped once for the width and kept for the first drawing, then let go.
        std::shared_ptr<QTextLayout> firstShaping;
        bool laidOut = false; // `layout` holds the text, from its second drawing on
        QStaticText layout;
    };
    struct Slot {
        bool filled = false;
        QFont font;
        int ascent = 0;
        qreal exactAscent = 0; // where a laid-out text has its baseline below its top
        QHash<QString, Text> texts;
    };
    Slot& SlotFor(const QFont& font);
    Text& Entry(const QFont& font, const QString& text);

    std::array<Slot, 2> slots_; // regular, bold
};

// Draws one cell as the look says: fills the whole rectangle with the background, draws the
// text (bold when the look says so) 2 pixels below the top edge clipped to the cell, then the
// 1-pixel frame along the inside of the rectangle. The painter's state is left as it was.
// `metrics` keeps measurements between cells; without one every cell measures its text.
void DrawCell(QPainter& painter, const QRect& cellRect, const CellLook& look, int columnWidth,
              const QFont& baseFont, TextMetricsCache* metrics = nullptr);

// Decides the look of cell (col, row); `isCurrent` tells whether it is the view's current cell.
using CellLookFunction = std::function<CellLook(int col, int row, bool isCurrent)>;

// Makes `view` paint every cell with `look` and DrawCell, in the view's own font.
void UseCellLook(StringGridView& view, CellLookFunction look);

} // namespace corvane
