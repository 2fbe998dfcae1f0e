// SPDX-License-Identifier: GPL-3.0-or-later
#include "string_grid_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace corvane {

namespace {

constexpr int kRowExtent = StringGridView::kRowHeight + StringGridView::kLineWidth;

QColor OpaqueColour(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u));
}

} // namespace

StringGridView::StringGridView(StringGrid& grid, QWidget* parent)
    : QAbstractScrollArea(parent), grid_(grid) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    setBackgroundColour(kDefaultBackground);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setTracking(true);

    std::weak_ptr<int> alive = alive_;
    grid_.SetObserver([alive, this] {
        if (!alive.expired())
            gridChanged();
    });
}

StringGridView::~StringGridView() = default;

void StringGridView::setCellPainter(CellPainter painter) {
    painter_ = std::move(painter);
    viewport()->update();
}

void StringGridView::setFixedCounts(int fixedCols, int fixedRows) {
    fixedCols_ = std::clamp(fixedCols, 0, grid_.ColCount());
    fixedRows_ = std::max(0, fixedRows);
    currentCol_ = std::max(currentCol_, fixedCols_);
    currentRow_ = std::max(currentRow_, fixedRows_);
    applyLayout();
    viewport()->update();
}

void StringGridView::setHorizontalScrolling(bool enabled) {
    horizontalScrolling_ = enabled;
    setHorizontalScrollBarPolicy(enabled ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!enabled)
        horizontalScrollBar()->setValue(0);
    applyLayout();
    viewport()->update();
}

void StringGridView::setBackgroundColour(std::uint32_t rgb) {
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, OpaqueColour(rgb));
    palette.setColor(QPalette::Window, OpaqueColour(rgb));
    viewport()->setPalette(palette);
}

int StringGridView::topRow() const {
    const int lastRow = std::max(fixedRows_, grid_.RowCount() - 1);
    return std::clamp(fixedRows_ + verticalScrollBar()->value(), fixedRows_, lastRow);
}

int StringGridView::leftCol() const {
    if (!horizontalScrolling_)
        return fixedCols_;
    const int lastCol = std::max(fixedCols_, grid_.ColCount() - 1);
    return std::clamp(fixedCols_ + horizontalScrollBar()->value(), fixedCols_, lastCol);
}

void StringGridView::setCurrentCell(int col, int row) {
    if (!isDataCell(col, row))
        return;
    moveCurrent(col, row);
    scrollToCurrent();
}

void StringGridView::repaintNow() {
    applyLayout();
    viewport()->repaint();
}

// Cheap on purpose: a generation changes thousands of cells, each of which lands here.
void StringGridView::gridChanged() {
    pendingLayout_ = true;
    viewport()->update();
    if (layoutQueued_)
        return;
    layoutQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            layoutQueued_ = false;
            if (pendingLayout_)
                applyLayout();
        },
        Qt::QueuedConnection);
}

void StringGridView::applyLayout() {
    pendingLayout_ = false;
    const int lastRow = grid_.RowCount() - 1;
    if (currentRow_ > lastRow && lastRow >= fixedRows_)
        currentRow_ = lastRow;
    updateVerticalRange();
    updateHorizontalRange();
}

void StringGridView::updateVerticalRange() {
    const int visible = visibleScrollRows();
    const int maxTop = std::max(fixedRows_, grid_.RowCount() - visible);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, maxTop - fixedRows_);
    bar->setSingleStep(1);
    bar->setPageStep(visible);
}

// The furthest left column is the one from which every remaining column fits.
void StringGridView::updateHorizontalRange() {
    QScrollBar* bar = horizontalScrollBar();
    if (!horizontalScrolling_) {
        bar->setRange(0, 0);
        return;
    }
    int fixedWidth = 0;
    for (int col = 0; col < fixedCols_; ++col)
        fixedWidth += colExtent(col);
    const int available = viewport()->width() - fixedWidth;
    int maxLeft = grid_.ColCount();
    for (int used = 0; maxLeft > fixedCols_; --maxLeft) {
        used += colExtent(maxLeft - 1);
        if (used > available)
            break;
    }
    maxLeft = std::clamp(maxLeft, fixedCols_, std::max(fixedCols_, grid_.ColCount() - 1));
    bar->setRange(0, maxLeft - fixedCols_);
    bar->setSingleStep(1);
    bar->setPageStep(std::max(1, grid_.ColCount() - maxLeft));
}

int StringGridView::colExtent(int col) const {
    const int width = grid_.ColWidth(col);
    return width > 0 ? width + kLineWidth : 0;
}

// The columns with a width, fixed ones first, up to the right edge of the viewport.
std::vector<StringGridView::Line> StringGridView::visibleCols() const {
    std::vector<Line> cols;
    const int right = viewport()->width();
    int x = 0;
    auto add = [&](int col) {
        if (grid_.ColWidth(col) > 0 && x < right)
            cols.push_back({col, x});
        x += colExtent(col);
    };
    for (int col = 0; col < fixedCols_; ++col)
        add(col);
    for (int col = leftCol(); col < grid_.ColCount() && x < right; ++col)
        add(col);
    return cols;
}

std::vector<StringGridView::Line> StringGridView::visibleRows() const {
    std::vector<Line> rows;
    const int bottom = viewport()->height();
    int y = 0;
    for (int row = 0; row < std::min(fixedRows_, grid_.RowCount()) && y < bottom; ++row) {
        rows.push_back({row, y});
        y += kRowExtent;
    }
    for (int row = topRow(); row < grid_.RowCount() && y < bottom; ++row) {
        rows.push_back({row, y});
        y += kRowExtent;
    }
    return rows;
}

// Whole scrolling rows that fit below the fixed rows; at least one, so paging always moves.
int StringGridView::visibleScrollRows() const {
    const int available = viewport()->height() - fixedRows_ * kRowExtent;
    return std::max(1, available / kRowExtent);
}

QPoint StringGridView::cellAt(const QPoint& viewportPos) const {
    int foundCol = -1;
    for (const Line& col : visibleCols()) {
        if (viewportPos.x() >= col.start && viewportPos.x() < col.start + colExtent(col.index))
            foundCol = col.index;
    }
    int foundRow = -1;
    for (const Line& row : visibleRows()) {
        if (viewportPos.y() >= row.start && viewportPos.y() < row.start + kRowExtent)
            foundRow = row.index;
    }
    if (foundCol < 0 || foundRow < 0)
        return {-1, -1};
    return {foundCol, foundRow};
}

QRect StringGridView::cellRect(int col, int row) const {
    const std::vector<Line> cols = visibleCols();
    const std::vector<Line> rows = visibleRows();
    const auto colIt = std::find_if(cols.begin(), cols.end(),
                                    [col](const Line& line) { return line.index == col; });
    const auto rowIt = std::find_if(rows.begin(), rows.end(),
                                    [row](const Line& line) { return line.index == row; });
    if (colIt == cols.end() || rowIt == rows.end())
        return {};
    return {colIt->start, rowIt->start, grid_.ColWidth(col), kRowHeight};
}

void StringGridView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const std::vector<Line> cols = visibleCols();
    const std::vector<Line> rows = visibleRows();
    if (painter_) {
        for (const Line& row : rows) {
            for (const Line& col : cols) {
                const QRect rect(col.start, row.start, grid_.ColWidth(col.index), kRowHeight);
                painter.save();
                painter.setClipRect(rect);
                painter_(painter, rect, col.index, row.index);
                painter.restore();
            }
        }
    }
    drawGridLines(painter, cols, rows);
}

// A line right of every shown column and below every shown row, fixed cells included.
void StringGridView::drawGridLines(QPainter& painter, const std::vector<Line>& cols,
                                   const std::vector<Line>& rows) const {
    if (cols.empty() || rows.empty())
        return;
    const QColor colour = OpaqueColour(kLineColour);
    const int right = cols.back().start + colExtent(cols.back().index);
    const int bottom = rows.back().start + kRowExtent;
    for (const Line& col : cols)
        painter.fillRect(col.start + grid_.ColWidth(col.index), 0, kLineWidth, bottom, colour);
    for (const Line& row : rows)
        painter.fillRect(0, row.start + kRowHeight, right, kLineWidth, colour);
}

bool StringGridView::isDataCell(int col, int row) const {
    return col >= fixedCols_ && col < grid_.ColCount() && row >= fixedRows_ &&
           row < grid_.RowCount();
}

void StringGridView::moveCurrent(int col, int row) {
    if (col == currentCol_ && row == currentRow_)
        return;
    currentCol_ = col;
    currentRow_ = row;
    viewport()->update();
    emit currentCellChanged(col, row);
}

void StringGridView::handlePress(const QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QPoint cell = cellAt(pos);
    // No scrolling here: the second press of a double-click must land on the same row.
    if (isDataCell(cell.x(), cell.y()))
        moveCurrent(cell.x(), cell.y());
    emit mousePressed(event->button(), event->modifiers(), pos);
}

void StringGridView::mousePressEvent(QMouseEvent* event) {
    pressHeld_ = true;
    lastPressTime_ = event->timestamp();
    lastPressButton_ = event->button();
    handlePress(event);
    event->accept();
}

void StringGridView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton)
        pressHeld_ = false;
    event->accept();
}

// Qt hands over the second press of a double-click as this event alone, so it counts as that
// press. Should the press itself have come too (same time stamp, button still down), it is
// not counted twice.
void StringGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const bool pressDelivered =
        pressHeld_ && event->timestamp() == lastPressTime_ && event->button() == lastPressButton_;
    if (!pressDelivered)
        handlePress(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    event->accept();
}

void StringGridView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
    event->accept();
}

void StringGridView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int lastRow = std::max(fixedRows_, grid_.RowCount() - 1);
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        moveByTab(key == Qt::Key_Tab);
    } else if (const std::optional<int> row = rowForKey(key, control)) {
        setCurrentCell(currentCol_, std::clamp(*row, fixedRows_, lastRow));
    } else if (const std::optional<int> step = colStepForKey(key, control)) {
        moveHorizontally(*step);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The row that a vertical movement key leads to, before it is kept inside the data rows.
std::optional<int> StringGridView::rowForKey(int key, bool control) const {
    switch (key) {
    case Qt::Key_Up:
        return currentRow_ - 1;
    case Qt::Key_Down:
        return currentRow_ + 1;
    case Qt::Key_PageUp:
        return currentRow_ - visibleScrollRows();
    case Qt::Key_PageDown:
        return currentRow_ + visibleScrollRows();
    case Qt::Key_Home:
        return control ? std::optional<int>(fixedRows_) : std::nullopt;
    case Qt::Key_End:
        return control ? std::optional<int>(grid_.RowCount() - 1) : std::nullopt;
    default:
        return std::nullopt;
    }
}

// How many shown columns a horizontal movement key moves; Home and End go to the edge.
std::optional<int> StringGridView::colStepForKey(int key, bool control) const {
    if (key == Qt::Key_Left)
        return -1;
    if (key == Qt::Key_Right)
        return 1;
    if (key == Qt::Key_Home && !control)
        return -grid_.ColCount();
    if (key == Qt::Key_End && !control)
        return grid_.ColCount();
    return std::nullopt;
}

// Up to `step` shown columns left (negative) or right, stopping at the edge; hidden columns
// are passed over since a current cell there could not be seen.
void StringGridView::moveHorizontally(int step) {
    int col = currentCol_;
    const int direction = step < 0 ? -1 : 1;
    for (int moved = 0; moved < std::abs(step); ++moved) {
        int next = col + direction;
        while (next >= fixedCols_ && next < grid_.ColCount() && grid_.ColWidth(next) == 0)
            next += direction;
        if (next < fixedCols_ || next >= grid_.ColCount())
            break;
        col = next;
    }
    setCurrentCell(col, currentRow_);
}

// Tab runs along the row and wraps to the next row (Shift+Tab backwards), round the table.
void StringGridView::moveByTab(bool forward) {
    const int dataCols = grid_.ColCount() - fixedCols_;
    const int dataRows = grid_.RowCount() - fixedRows_;
    if (dataCols <= 0 || dataRows <= 0)
        return;
    const int cells = dataCols * dataRows;
    int index = (currentRow_ - fixedRows_) * dataCols + (currentCol_ - fixedCols_);
    for (int tries = 0; tries < cells; ++tries) {
        index = (index + (forward ? 1 : cells - 1)) % cells;
        const int col = fixedCols_ + index % dataCols;
        if (grid_.ColWidth(col) > 0) {
            setCurrentCell(col, fixedRows_ + index / dataCols);
            return;
        }
    }
}

void StringGridView::scrollToCurrent() {
    if (pendingLayout_)
        applyLayout();
    const int visibleRows = visibleScrollRows();
    if (currentRow_ < topRow())
        verticalScrollBar()->setValue(currentRow_ - fixedRows_);
    else if (currentRow_ >= topRow() + visibleRows)
        verticalScrollBar()->setValue(currentRow_ - visibleRows + 1 - fixedRows_);

    if (!horizontalScrolling_)
        return;
    if (currentCol_ < leftCol()) {
        horizontalScrollBar()->setValue(currentCol_ - fixedCols_);
        return;
    }
    // Move the left column on until the current column's right edge is inside the viewport.
    while (leftCol() < currentCol_) {
        const std::vector<Line> cols = visibleCols();
        const auto shown = std::find_if(cols.begin(), cols.end(), [this](const Line& line) {
            return line.index == currentCol_;
        });
        if (shown != cols.end() && shown->start + colExtent(currentCol_) <= viewport()->width())
            break;
        const int before = horizontalScrollBar()->value();
        horizontalScrollBar()->setValue(before + 1);
        if (horizontalScrollBar()->value() == before)
            break;
    }
}

void StringGridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    applyLayout();
}

// Tab and Shift+Tab move between the cells, as long as there are cells to move between.
bool StringGridView::focusNextPrevChild(bool next) {
    if (grid_.RowCount() > fixedRows_ && grid_.ColCount() > fixedCols_)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

} // namespace corvane
