#include "cell_drawing.h"

#include "ui/string_grid_view.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>

namespace corvane {

namespace {

constexpr int kLeftMargin = 2;
constexpr int kTopMargin = 2;

} // namespace

QColor ToQColor(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u));
}

int TextOffset(const CellLook& look, int columnWidth, int textWidth) {
    if (look.leftAligned)
        return kLeftMargin;
    // Integer division truncates toward zero, also for text wider than the column.
    return (columnWidth - textWidth) / 2;
}

void DrawCell(QPainter& painter, const QRect& cellRect, const CellLook& look, int columnWidth,
              const QFont& baseFont) {
    painter.save();
    painter.setClipRect(cellRect, Qt::IntersectClip);
    painter.fillRect(cellRect, ToQColor(look.background));

    if (look.drawText && !look.text.empty()) {
        QFont font = baseFont;
        font.setBold(look.bold);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        // Cell texts are bytes of the 8-bit result files: shown as Latin-1, as the clipboard gets
        // them.
        const QString text = QString::fromLatin1(look.text.data(), qsizetype(look.text.size()));
        const int x =
            cellRect.left() + TextOffset(look, columnWidth, metrics.horizontalAdvance(text));
        const int baseline = cellRect.top() + kTopMargin + metrics.ascent();
        painter.setPen(ToQColor(look.textColour));
        painter.drawText(QPoint(x, baseline), text);
    }

    if (look.frame) {
        painter.setPen(QPen(ToQColor(colours::kGreen), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

void UseCellLook(StringGridView& view, CellLookFunction look) {
    StringGridView* target = &view;
    view.setCellPainter(
        [target, look = std::move(look)](QPainter& painter, const QRect& rect, int col, int row) {
            const bool isCurrent = col == target->currentCol() && row == target->currentRow();
            DrawCell(painter, rect, look(col, row, isCurrent), target->grid().ColWidth(col),
                     target->font());
        });
}

} // namespace corvane
