// SPDX-License-Identifier: GPL-3.0-or-later
// The grid view: cell mapping, scrolling, input and what it paints, on the offscreen platform.
#include "ui/cell_drawing.h"
#include "ui/cell_painters.h"
#include "ui/string_grid_view.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <map>
#include <memory>

namespace corvane {
namespace {

constexpr int kCols = 17;
constexpr int kColStep = StringGrid::kDefaultColWidth + 1; // cell and its line
constexpr int kRowStep = StringGridView::kRowHeight + 1;

// An event-shaped table: 17 columns, the last two hidden as generation leaves them.
std::unique_ptr<StringGrid> EventShapedGrid(int rows) {
    auto grid = std::make_unique<StringGrid>(kCols, rows);
    grid->SetColWidth(15, 0);
    grid->SetColWidth(16, 0);
    return grid;
}

// A colour that names its cell, so a pixel tells which cell was painted there.
QColor CodeColour(int col, int row) {
    return QColor(10 + col * 10, 10 + row, 200);
}

void UseCodePainter(StringGridView& view) {
    view.setCellPainter([](QPainter& painter, const QRect& rect, int col, int row) {
        painter.fillRect(rect, CodeColour(col, row));
    });
}

QImage Shot(StringGridView& view) {
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Rgb(std::uint32_t rgb) {
    return qRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The colour covering most of a rectangle: the background of a cell whatever its text.
QRgb DominantColour(const QImage& image, const QRect& rect) {
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    auto best = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it->second > best->second)
            best = it;
    return best->first;
}

QPoint Centre(const StringGridView& view, int col, int row) {
    return view.cellRect(col, row).center();
}

// The view as its own top-level window, shown and exposed.
void ShowView(StringGridView& view, QSize size) {
    view.resize(size);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
}

} // namespace

class TestGridView : public QObject {
    Q_OBJECT

private slots:
    void cellAtMapsPositionsToCells();
    void cellAtFollowsScrolling();
    void fixedRowAndColumnStayInPlaceWhenScrolled();
    void gridLinesSkipHiddenColumns();
    void scrollBarsFollowTheGrid();
    void pressMovesCurrentCellOnDataCellsOnly();
    void doubleClickReportsEachPressOnceThenTheDoubleClick();
    void mouseMoveIsReportedWithoutAButton();
    void tabMovesBetweenCellsAndKeepsFocus();
    void keysScrollToKeepTheCurrentCellVisible();
    void gridChangesRepaintTheView();
    void realPainterColoursTheCells();
    void bandCellDrawsPercentWhileTheGridKeepsTheNumber();
    void drawCellClipsAndPlacesText();
};

void TestGridView::cellAtMapsPositionsToCells() {
    auto grid = EventShapedGrid(5);
    StringGridView view(*grid);
    ShowView(view, {900, 200});

    struct Case {
        QPoint pos;
        QPoint cell;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}},
        {{46, 16}, {0, 0}}, // the lines right of and below a cell belong to it
        {{47, 17}, {1, 1}},
        {{14 * kColStep + 46, 4 * kRowStep + 16}, {14, 4}},
        {{15 * kColStep, 20}, {-1, -1}}, // right of the last shown column
        {{10, 5 * kRowStep}, {-1, -1}},  // below the last row
        {{-1, 5}, {-1, -1}},
    };
    for (const Case& c : cases)
        QCOMPARE(view.cellAt(c.pos), c.cell);

    grid->SetColWidth(3, 0);
    QCOMPARE(view.cellAt({3 * kColStep + 5, 20}), QPoint(4, 1));
    QCOMPARE(view.cellRect(4, 1), QRect(3 * kColStep, kRowStep, 46, 16));
    QVERIFY(view.cellRect(3, 1).isNull());
}

void TestGridView::cellAtFollowsScrolling() {
    auto grid = EventShapedGrid(50);
    StringGridView view(*grid);
    view.setHorizontalScrolling(true);
    ShowView(view, {400, 200});

    view.verticalScrollBar()->setValue(10);
    view.horizontalScrollBar()->setValue(2);
    QCOMPARE(view.topRow(), 11);
    QCOMPARE(view.leftCol(), 3);
    QCOMPARE(view.cellAt({kColStep + 3, kRowStep + 3}), QPoint(3, 11));
    QCOMPARE(view.cellAt({kColStep + 3, 3}), QPoint(3, 0));
    QCOMPARE(view.cellAt({3, kRowStep + 3}), QPoint(0, 11));
    QCOMPARE(view.cellRect(3, 11), QRect(kColStep, kRowStep, 46, 16));
    QVERIFY(view.cellRect(1, 1).isNull());
}

void TestGridView::fixedRowAndColumnStayInPlaceWhenScrolled() {
    auto grid = EventShapedGrid(50);
    StringGridView view(*grid);
    view.setHorizontalScrolling(true);
    UseCodePainter(view);
    ShowView(view, {400, 200});
    view.verticalScrollBar()->setValue(20);
    view.horizontalScrollBar()->setValue(4);

    const QImage image = Shot(view);
    const int dataX = kColStep + 20;
    const int dataY = kRowStep + 8;
    QCOMPARE(QColor(image.pixel(20, 8)), CodeColour(0, 0));
    QCOMPARE(QColor(image.pixel(dataX, 8)), CodeColour(5, 0));
    QCOMPARE(QColor(image.pixel(20, dataY)), CodeColour(0, 21));
    QCOMPARE(QColor(image.pixel(dataX, dataY)), CodeColour(5, 21));
}

void TestGridView::gridLinesSkipHiddenColumns() {
    auto grid = EventShapedGrid(3);
    grid->SetColWidth(3, 0);
    StringGridView view(*grid);
    UseCodePainter(view);
    ShowView(view, {900, 100});

    const QImage image = Shot(view);
    const QRgb line = Rgb(StringGridView::kLineColour);
    QCOMPARE(image.pixel(46, 5), line);
    QCOMPARE(image.pixel(20, 16), line);
    QCOMPARE(image.pixel(2 * kColStep + 46, 20), line); // right of column 2
    // Column 3 takes no pixel, not even a line: column 4 starts right after column 2's line.
    QCOMPARE(QColor(image.pixel(3 * kColStep, 20)), CodeColour(4, 1));
    // Outside every cell the grid background shows.
    QCOMPARE(image.pixel(800, 20), Rgb(StringGridView::kDefaultBackground));
    QCOMPARE(image.pixel(20, 3 * kRowStep + 5), Rgb(StringGridView::kDefaultBackground));
}

void TestGridView::scrollBarsFollowTheGrid() {
    auto grid = EventShapedGrid(3);
    StringGridView view(*grid);
    ShowView(view, {400, 200});
    QCOMPARE(view.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(view.verticalScrollBar()->hasTracking());
    QCOMPARE(view.verticalScrollBar()->maximum(), 0);

    grid->SetRowCount(100);
    QTRY_VERIFY(view.verticalScrollBar()->maximum() > 0);
    // The last row can be scrolled fully into view, and no further.
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    const QRect last = view.cellRect(1, 99);
    QVERIFY(!last.isNull());
    QVERIFY(last.bottom() < view.viewport()->height());
    QVERIFY(view.viewport()->height() - (last.bottom() + 1) < kRowStep);

    grid->SetRowCount(3);
    QTRY_COMPARE(view.verticalScrollBar()->maximum(), 0);
    QCOMPARE(view.topRow(), 1);

    view.setHorizontalScrolling(true);
    QCOMPARE(view.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QVERIFY(view.horizontalScrollBar()->maximum() > 0);
}

void TestGridView::pressMovesCurrentCellOnDataCellsOnly() {
    auto grid = EventShapedGrid(5);
    StringGridView view(*grid);
    ShowView(view, {900, 200});
    QSignalSpy presses(&view, &StringGridView::mousePressed);

    const QPoint data = Centre(view, 3, 2);
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, data);
    QCOMPARE(QPoint(view.currentCol(), view.currentRow()), QPoint(3, 2));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(presses[0][1].value<Qt::KeyboardModifiers>(),
             Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(presses[0][2].toPoint(), data);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, data);

    // Header cells, column 0 and the area outside the cells report the press but keep the cell.
    const QPoint elsewhere[] = {Centre(view, 3, 0), Centre(view, 0, 4), QPoint(850, 150)};
    for (const QPoint& pos : elsewhere) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pos);
        QCOMPARE(QPoint(view.currentCol(), view.currentRow()), QPoint(3, 2));
    }
    QCOMPARE(presses.count(), 4);

    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, Centre(view, 5, 4));
    QCOMPARE(QPoint(view.currentCol(), view.currentRow()), QPoint(5, 4));
    QCOMPARE(presses.last()[0].value<Qt::MouseButton>(), Qt::RightButton);
}

// Records the order in which the view reports presses and double-clicks.
struct InputLog {
    QStringList entries;
    void watch(StringGridView& view) {
        QObject::connect(&view, &StringGridView::mousePressed,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos) {
                             entries << QStringLiteral("press %1,%2").arg(pos.x()).arg(pos.y());
                         });
        QObject::connect(&view, &StringGridView::doubleClicked,
                         [this] { entries << QStringLiteral("double"); });
    }
};

void TestGridView::doubleClickReportsEachPressOnceThenTheDoubleClick() {
    auto grid = EventShapedGrid(5);
    StringGridView view(*grid);
    ShowView(view, {900, 200});
    InputLog log;
    log.watch(view);
    const QPoint pos = Centre(view, 4, 2);
    const QString press = QStringLiteral("press %1,%2").arg(pos.x()).arg(pos.y());

    // Delivered straight to the widget, the second press comes only as the double-click.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pos);
    QCOMPARE(log.entries, QStringList({press, press, "double"}));
    QCOMPARE(QPoint(view.currentCol(), view.currentRow()), QPoint(4, 2));

    // Through the window system: press, release, then the second press as the double-click.
    log.entries.clear();
    const QPoint inWindow = view.viewport()->mapTo(&view, pos);
    QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, {}, inWindow);
    QCOMPARE(log.entries, QStringList({press, press, "double"}));

    log.entries.clear();
    QTest::mouseDClick(view.windowHandle(), Qt::RightButton, {}, inWindow);
    QCOMPARE(log.entries, QStringList({press, press}));

    // Should the second press come as a press and the double-click as well, it counts once.
    log.entries.clear();
    auto send = [&view, pos](QEvent::Type type, Qt::MouseButtons buttons, quint64 time) {
        QMouseEvent event(type, pos, view.viewport()->mapToGlobal(pos), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(view.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, 5000);
    send(QEvent::MouseButtonRelease, Qt::NoButton, 5000);
    send(QEvent::MouseButtonPress, Qt::LeftButton, 5100);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, 5100);
    send(QEvent::MouseButtonRelease, Qt::NoButton, 5100);
    QCOMPARE(log.entries, QStringList({press, press, "double"}));
}

void TestGridView::mouseMoveIsReportedWithoutAButton() {
    auto grid = EventShapedGrid(5);
    StringGridView view(*grid);
    ShowView(view, {900, 200});
    QSignalSpy moves(&view, &StringGridView::mouseMoved);
    const QPoint pos = Centre(view, 6, 0);
    QTest::mouseMove(view.windowHandle(), view.viewport()->mapTo(&view, pos));
    QTRY_VERIFY(!moves.isEmpty());
    QCOMPARE(moves.last()[0].toPoint(), pos);
}

void TestGridView::tabMovesBetweenCellsAndKeepsFocus() {
    auto grid = EventShapedGrid(4);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* view = new StringGridView(*grid);
    auto* edit = new QLineEdit;
    layout->addWidget(view);
    layout->addWidget(edit);
    window.resize(900, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), view);

    struct Step {
        QPoint from;
        Qt::Key key;
        QPoint to;
    };
    const Step steps[] = {
        {{1, 1}, Qt::Key_Tab, {2, 1}},
        {{2, 1}, Qt::Key_Backtab, {1, 1}},
        {{14, 1}, Qt::Key_Tab, {1, 2}},     // hidden 15 and 16 passed over, next row
        {{14, 3}, Qt::Key_Tab, {1, 1}},     // round the table
        {{1, 1}, Qt::Key_Backtab, {14, 3}}, // and back
        {{5, 2}, Qt::Key_Left, {4, 2}},
        {{1, 2}, Qt::Key_Left, {1, 2}}, // never onto the fixed column
        {{5, 1}, Qt::Key_Up, {5, 1}},   // never onto the header row
        {{5, 2}, Qt::Key_Down, {5, 3}},
        {{14, 2}, Qt::Key_Right, {14, 2}},
    };
    for (const Step& step : steps) {
        view->setCurrentCell(step.from.x(), step.from.y());
        QTest::keyClick(QApplication::focusWidget(), step.key);
        QCOMPARE(QPoint(view->currentCol(), view->currentRow()), step.to);
        QCOMPARE(QApplication::focusWidget(), view);
    }

    // A table without data rows lets Tab move the focus on.
    grid->SetRowCount(1);
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), edit);
}

void TestGridView::keysScrollToKeepTheCurrentCellVisible() {
    auto grid = EventShapedGrid(100);
    StringGridView view(*grid);
    view.setHorizontalScrolling(true);
    ShowView(view, {300, 200});
    auto fullyVisible = [&view] {
        const QRect rect = view.cellRect(view.currentCol(), view.currentRow());
        return !rect.isNull() && rect.bottom() < view.viewport()->height() &&
               rect.right() < view.viewport()->width();
    };

    view.setCurrentCell(1, 1);
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(&view, Qt::Key_Down);
        QVERIFY(fullyVisible());
    }
    QCOMPARE(view.currentRow(), 31);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(view.currentRow(), 99);
    QVERIFY(fullyVisible());
    QTest::keyClick(&view, Qt::Key_PageUp);
    QVERIFY(view.currentRow() < 99);
    QVERIFY(fullyVisible());
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(view.currentRow(), 1);
    QCOMPARE(view.topRow(), 1);

    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(view.currentCol(), 14);
    QVERIFY(view.leftCol() > 1);
    QVERIFY(fullyVisible());
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(view.currentCol(), 1);
    QCOMPARE(view.leftCol(), 1);
}

void TestGridView::gridChangesRepaintTheView() {
    auto grid = EventShapedGrid(5);
    StringGridView view(*grid);
    int paints = 0;
    const QColor marked(255, 0, 0);
    view.setCellPainter([&](QPainter& painter, const QRect& rect, int col, int row) {
        ++paints;
        painter.fillRect(rect, grid->Cell(col, row) == "x" ? marked : CodeColour(col, row));
    });
    ShowView(view, {900, 200});
    QTRY_VERIFY(paints > 0);

    paints = 0;
    grid->SetCell(3, 2, "x");
    QTRY_VERIFY(paints > 0);
    const QPoint cell = Centre(view, 3, 2);
    QCOMPARE(QColor(Shot(view).pixel(cell)), marked);

    // repaintNow paints before it returns.
    paints = 0;
    view.repaintNow();
    QVERIFY(paints > 0);
}

namespace {

// Thresholds of the colour checks: Count 50, DD 3.0, Percent 30, 2 Column 60, > 9.0 at 5,
// Sort Count 10.
Thresholds PixelThresholds() {
    Thresholds t;
    t.count = 50;
    t.dd = 3.0;
    t.percent = 30;
    t.twoCol = 60;
    t.nine = 5;
    t.sortCount = 10;
    return t;
}

// Row 1 carries a pink Count, a blue pair of bands, a green column 14 and an empty Divers
// cell; row 2 is below Sort Count.
std::unique_ptr<StringGrid> SmallEventTable() {
    auto grid = EventShapedGrid(3);
    grid->SetColWidth(15, 46);
    const char* header[] = {"Dive",   "Count",  "DD",     "Avg Pts", "Avg Score",
                            "0 to 1", "1 to 2", "2 to 3", "3 to 4",  "4 to 5",
                            "5 to 6", "6 to 7", "7 to 8", "8 to 9",  "9 to 10"};
    for (int col = 0; col < 15; ++col)
        grid->SetCell(col, 0, header[col]);
    grid->SetCell(15, 0, "Divers");
    const char* row1[] = {"101A", "60", "2.0", "50.00", "5.0", "", "",   "35.0",
                          "30.0", "",   "",    "",      "",    "", "9.0"};
    const char* row2[] = {"103B", "5", "2.4", "40.00", "4.4", "", "", "40.0",
                          "",     "",  "",    "",      "",    "", ""};
    for (int col = 0; col < 15; ++col) {
        grid->SetCell(col, 1, row1[col]);
        grid->SetCell(col, 2, row2[col]);
    }
    return grid;
}

void UseEventLook(StringGridView& view) {
    const StringGrid& grid = view.grid();
    UseCellLook(view, [&grid](int col, int row, bool isCurrent) {
        return EventCellLook(grid, col, row, PixelThresholds(), 1, isCurrent);
    });
}

} // namespace

void TestGridView::realPainterColoursTheCells() {
    auto grid = SmallEventTable();
    StringGridView view(*grid);
    UseEventLook(view);
    ShowView(view, {900, 100});
    view.setCurrentCell(3, 1);

    struct Expected {
        int col;
        int row;
        std::uint32_t colour;
    };
    const Expected cells[] = {
        {1, 1, colours::kPink},       {7, 1, colours::kBlue},
        {8, 1, colours::kBlue},       {14, 1, colours::kGreen},
        {15, 1, colours::kYellow},    {4, 1, colours::kGridBackground},
        {3, 2, colours::kWhite},      {7, 2, colours::kWhite},
        {15, 2, colours::kYellow},    {0, 1, colours::kHeaderBlue},
        {3, 0, colours::kHeaderBlue},
    };
    const QImage image = Shot(view);
    for (const Expected& e : cells) {
        const QRect rect = view.cellRect(e.col, e.row);
        QVERIFY2(DominantColour(image, rect) == Rgb(e.colour),
                 qPrintable(QStringLiteral("cell %1,%2").arg(e.col).arg(e.row)));
    }

    // The green frame runs along the inside of the current cell and nowhere else.
    const QRgb green = Rgb(colours::kGreen);
    const QRect current = view.cellRect(3, 1);
    for (const QPoint& p : {current.topLeft(), current.topRight(), current.bottomLeft(),
                            current.bottomRight(), QPoint(current.left(), current.center().y())})
        QCOMPARE(image.pixel(p), green);
    QCOMPARE(image.pixel(current.topLeft() + QPoint(1, 1)), Rgb(colours::kGridBackground));
    const QRect other = view.cellRect(4, 1);
    QCOMPARE(image.pixel(other.topLeft()), Rgb(colours::kGridBackground));
}

void TestGridView::bandCellDrawsPercentWhileTheGridKeepsTheNumber() {
    auto grid = SmallEventTable();
    StringGridView view(*grid);
    UseEventLook(view);
    ShowView(view, {900, 100});

    const CellLook look = EventCellLook(*grid, 7, 1, PixelThresholds(), 1, false);
    QCOMPARE(look.text, std::string("35.0%"));
    QCOMPARE(grid->Cell(7, 1), std::string("35.0"));

    // What the view shows in the cell is exactly that look drawn on its own.
    const QRect rect = view.cellRect(7, 1);
    const QImage shown = Shot(view).copy(rect);
    auto drawAlone = [&](const CellLook& alone) {
        QImage image(rect.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        DrawCell(painter, QRect(QPoint(0, 0), rect.size()), alone, rect.width(), view.font());
        painter.end();
        return image;
    };
    QCOMPARE(shown, drawAlone(look));
    CellLook bare = look;
    bare.text = "35.0";
    QVERIFY(shown != drawAlone(bare));
}

void TestGridView::drawCellClipsAndPlacesText() {
    const QRect cell(80, 10, 46, 16);
    const QRgb outside = qRgb(128, 128, 128);
    auto draw = [&](const CellLook& look) {
        QImage image(200, 40, QImage::Format_RGB32);
        image.fill(outside);
        QPainter painter(&image);
        DrawCell(painter, cell, look, cell.width(), QApplication::font());
        painter.end();
        return image;
    };
    // Columns of the cell where something other than the background was drawn.
    auto inkColumns = [&](const QImage& image, std::uint32_t background) {
        QList<int> columns;
        for (int x = cell.left(); x <= cell.right(); ++x)
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                if (image.pixel(x, y) != Rgb(background)) {
                    columns << x;
                    break;
                }
        return columns;
    };

    CellLook wide;
    wide.background = colours::kYellow;
    wide.text = "...dbl click...";
    const QImage image = draw(wide);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!cell.contains(x, y))
                QCOMPARE(image.pixel(x, y), outside);
    const QList<int> ink = inkColumns(image, colours::kYellow);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.first() <= cell.left() + 3); // starts left of the cell, cut at its edge
    QVERIFY(ink.last() >= cell.right() - 3);

    CellLook left;
    left.background = colours::kHeaderBlue;
    left.leftAligned = true;
    left.text = "1";
    const QList<int> leftInk = inkColumns(draw(left), colours::kHeaderBlue);
    QVERIFY(!leftInk.isEmpty());
    QVERIFY(leftInk.first() >= cell.left() + 2);
    QVERIFY(leftInk.last() < cell.left() + 20);

    // Nothing is drawn in the two rows above the text.
    const QImage top = draw(wide);
    for (int x = cell.left(); x <= cell.right(); ++x)
        for (int y = cell.top(); y < cell.top() + 2; ++y)
            QCOMPARE(top.pixel(x, y), Rgb(colours::kYellow));
}

} // namespace corvane

QTEST_MAIN(corvane::TestGridView)
#include "test_grid_view.moc"
