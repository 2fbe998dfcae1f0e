// SPDX-License-Identifier: GPL-3.0-or-later
#include "cell_drawing.h"

#include "ui/string_grid_view.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <memory>

namespace corvane {

namespace {

constexpr int kLeftMargin = 2;
constexpr int kTopMargin = 2;
// A grid shows a few hundred different texts; more than this means the cache only grows.
constexpr qsizetype kMaxCachedTexts = 20000;

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

TextMetricsCache::Slot& TextMetricsCache::SlotFor(const QFont& font) {
    Slot& slot = slots_[font.bold() ? 1 : 0];
    if (!slot.filled || !(slot.font == font) || slot.texts.size() > kMaxCachedTexts) {
        slot.filled = true;
        slot.font = font;
        slot.ascent = QFontMetrics(font).ascent();
        slot.exactAscent = QFontMetricsF(font).ascent();
        slot.texts.clear();
    }
    return slot;
}

TextMetricsCache::Text& TextMetricsCache::Entry(const QFont& font, const QString& text) {
    Slot& slot = SlotFor(font);
    auto found = slot.texts.find(text);
    if (found == slot.texts.end()) {
        // One shaping gives the width (the sum of the advances, as QFontMetrics adds them) and
        // the glyphs of the first drawing; shaping costs more than drawing.
        Text entry;
        entry.firstShaping = std::make_shared<QTextLayout>(text, font);
        entry.firstShaping->setCacheEnabled(true);
        entry.firstShaping->beginLayout();
        const QTextLine line = entry.firstShaping->createLine();
        entry.firstShaping->endLayout();
        entry.width = qRound(line.horizontalAdvance());
        found = slot.texts.insert(text, entry);
    }
    return *found;
}

void TextMetricsCache::Draw(QPainter& painter, const QPoint& baseline, const QFont& font,
                            const QString& text) {
    // The slot first: looking a text up may start the slot over, never the other way round.
    const qreal top = baseline.y() - SlotFor(font).exactAscent;
    Text& entry = Entry(font, text);
    // A text met once is drawn from its first shaping; a static layout pays from its second
    // time on.
    if (entry.firstShaping) {
        const std::shared_ptr<QTextLayout> shaped = std::move(entry.firstShaping);
        const qreal lineTop = baseline.y() - shaped->lineAt(0).ascent();
        shaped->draw(&painter, QPointF(baseline.x(), lineTop));
        return;
    }
    if (!entry.laidOut) {
        entry.laidOut = true;
        entry.layout.setText(text);
        // Cell texts are never markup.
        entry.layout.setTextFormat(Qt::PlainText);
        entry.layout.prepare(QTransform(), font);
    }
    painter.drawStaticText(QPointF(baseline.x(), top), entry.layout);
}

namespace {

// DrawCell inside a painter that is already clipped to the cell and whose state the caller
// restores.
void DrawCellContents(QPainter& painter, const QRect& cellRect, const CellLook& look,
                      int columnWidth, const QFont& baseFont, TextMetricsCache& metrics) {
    painter.fillRect(cellRect, ToQColor(look.background));

    if (look.drawText && !look.text.empty()) {
        QFont font = baseFont;
        font.setBold(look.bold);
        // Resolving a font is dear; most cells keep the one the painter already has.
        if (!(painter.font() == font))
            painter.setFont(font);
        // Cell texts are bytes of the 8-bit result files: shown as Latin-1, as the clipboard gets
        // them.
        const QString text = QString::fromLatin1(look.text.data(), qsizetype(look.text.size()));
        const int x = cellRect.left() + TextOffset(look, columnWidth, metrics.Width(font, text));
        const int baseline = cellRect.top() + kTopMargin + metrics.Ascent(font);
        painter.setPen(ToQColor(look.textColour));
        metrics.Draw(painter, QPoint(x, baseline), font, text);
    }

    if (look.frame) {
        painter.setPen(QPen(ToQColor(colours::kGreen), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect.adjusted(0, 0, -1, -1));
    }
}

} // namespace

void DrawCell(QPainter& painter, const QRect& cellRect, const CellLook& look, int columnWidth,
              const QFont& baseFont, TextMetricsCache* metrics) {
    TextMetricsCache ownMetrics;
    painter.save();
    painter.setClipRect(cellRect, Qt::IntersectClip);
    DrawCellContents(painter, cellRect, look, columnWidth, baseFont,
                     metrics != nullptr ? *metrics : ownMetrics);
    painter.restore();
}

void UseCellLook(StringGridView& view, CellLookFunction look) {
    StringGridView* target = &view;
    auto metrics = std::make_shared<TextMetricsCache>();
    view.setCellPainter([target, metrics, look = std::move(look)](
                            QPainter& painter, const QRect& rect, int col, int row) {
        const bool isCurrent = col == target->currentCol() && row == target->currentRow();
        // The view clips the painter to the cell and restores its state after each cell.
        DrawCellContents(painter, rect, look(col, row, isCurrent), target->grid().ColWidth(col),
                         target->font(), *metrics);
    });
}

} // namespace corvane
