// SPDX-License-Identifier: GPL-3.0-or-later
// The grids keep text measurements and layouts between cells; what they draw must not change
// by it: every cell looks as if measured and drawn with drawText on its own.

#include "ui/cell_drawing.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <vector>

using namespace corvane;

namespace {

constexpr QSize kCell{46, 16};

std::vector<CellLook> Looks() {
    std::vector<CellLook> looks;
    // Kerning pairs, Latin-1 letters, spaces at either end and the no-break space too: a
    // text's width must come out as QFontMetrics gives it, to the pixel.
    for (const char* text : {"7.5", "33.3%", "101B", "...dbl click...", "100.0%", "W", "1",
                             "<b>x</b>", "VAN DER BERG, ANNE-MARIE", "Avg Score", "AVAWAY To. Wa",
                             "\xC5NGSTR\xD6M, \xC9LODIE", "trail  ", "  lead", "\xA0",
                             "1\xA0"
                             "234",
                             "-0.05", "ff fi"}) {
        for (const bool bold : {false, true}) {
            for (const bool left : {false, true}) {
                CellLook look;
                look.background = colours::kGridBackground;
                look.text = text;
                look.bold = bold;
                look.leftAligned = left;
                looks.push_back(look);
            }
        }
    }
    return looks;
}

// Every look in a column of cells, each in `font`, measured through `metrics` (or not).
QImage DrawAll(const std::vector<CellLook>& looks, const QFont& font, TextMetricsCache* metrics) {
    QImage image(kCell.width(), kCell.height() * static_cast<int>(looks.size()),
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(font);
    for (std::size_t i = 0; i < looks.size(); ++i) {
        const QRect cell(QPoint(0, kCell.height() * static_cast<int>(i)), kCell);
        DrawCell(painter, cell, looks[i], kCell.width(), font, metrics);
    }
    return image;
}

// The same cells drawn the plain way: measured and shaped for every cell, text by drawText.
QImage DrawAllPlainly(const std::vector<CellLook>& looks, const QFont& baseFont) {
    QImage image(kCell.width(), kCell.height() * static_cast<int>(looks.size()),
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (std::size_t i = 0; i < looks.size(); ++i) {
        const CellLook& look = looks[i];
        const QRect cell(QPoint(0, kCell.height() * static_cast<int>(i)), kCell);
        painter.save();
        painter.setClipRect(cell);
        painter.fillRect(cell, ToQColor(look.background));
        QFont font = baseFont;
        font.setBold(look.bold);
        painter.setFont(font);
        painter.setPen(ToQColor(look.textColour));
        const QString text = QString::fromLatin1(look.text.c_str());
        const QFontMetrics metrics(font);
        const int x = TextOffset(look, kCell.width(), metrics.horizontalAdvance(text));
        painter.drawText(QPoint(x, cell.top() + 2 + metrics.ascent()), text);
        painter.restore();
    }
    return image;
}

QFont SizedFont(int pixels) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    return font;
}

} // namespace

class TestTextMetricsCache : public QObject {
    Q_OBJECT

private slots:
    void cachedDrawingEqualsMeasuringEveryCell();
    void aChangedFontIsMeasuredAfresh();
};

void TestTextMetricsCache::cachedDrawingEqualsMeasuringEveryCell() {
    const std::vector<CellLook> looks = Looks();
    TextMetricsCache metrics;
    for (const int pixels : {11, 13}) {
        const QImage measuredEachTime = DrawAll(looks, SizedFont(pixels), nullptr);
        QCOMPARE(measuredEachTime, DrawAllPlainly(looks, SizedFont(pixels)));
        // The second pass draws from what the first one measured.
        QCOMPARE(DrawAll(looks, SizedFont(pixels), &metrics), measuredEachTime);
        QCOMPARE(DrawAll(looks, SizedFont(pixels), &metrics), measuredEachTime);
        for (const CellLook& look : looks) {
            const QString text = QString::fromLatin1(look.text.c_str());
            QCOMPARE(TextMetricsCache().Width(SizedFont(pixels), text),
                     QFontMetrics(SizedFont(pixels)).horizontalAdvance(text));
        }
    }
}

void TestTextMetricsCache::aChangedFontIsMeasuredAfresh() {
    TextMetricsCache metrics;
    const QString text = QStringLiteral("...dbl click...");
    QFont bold = SizedFont(11);
    bold.setBold(true);
    for (const QFont& font : {SizedFont(11), bold, SizedFont(20), SizedFont(11)}) {
        const QFontMetrics expected(font);
        QCOMPARE(metrics.Width(font, text), expected.horizontalAdvance(text));
        QCOMPARE(metrics.Ascent(font), expected.ascent());
    }
    QVERIFY(metrics.Width(SizedFont(20), text) > metrics.Width(SizedFont(11), text));
}

QTEST_MAIN(TestTextMetricsCache)
#include "test_text_metrics_cache.moc"
