#pragma once

#include "analysis/string_grid.h"

#include <QAbstractScrollArea>

#include <functional>

class QPainter;

namespace corvane {

// A view of a StringGrid with a fixed header row and first column that stay in place while
// the rest scrolls, 1-pixel grid lines, fixed row height and per-column widths. It draws the
// grid lines only: every cell is painted by the painter that the window supplies.
class StringGridView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 16;
    static constexpr int kLineWidth = 1;

    // Paints the cell (col, row) into `rect` (the cell without its grid lines).
    using CellPainter = std::function<void(QPainter& painter, const QRect& rect, int col, int row)>;

    StringGridView(StringGrid& grid, QWidget* parent = nullptr);
    ~StringGridView() override;

    StringGrid& grid() { return grid_; }
    const StringGrid& grid() const { return grid_; }

    void setCellPainter(CellPainter painter);
    // Fixed rows/columns at the top/left (1 and 1 unless set otherwise).
    void setFixedCounts(int fixedCols, int fixedRows);
    void setHorizontalScrolling(bool enabled);

    int currentCol() const { return currentCol_; }
    int currentRow() const { return currentRow_; }
    void setCurrentCell(int col, int row);

    // The cell under a viewport position, or (-1, -1) outside every cell.
    QPoint cellAt(const QPoint& viewportPos) const;
    // The rectangle of a cell in viewport coordinates (grid lines excluded).
    QRect cellRect(int col, int row) const;

    // Recomputes scroll ranges and repaints at once (the grid changed).
    void repaintNow();

signals:
    // Every press, also both presses of a double-click, before `doubleClicked`.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void doubleClicked();
    void mouseMoved(QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    StringGrid& grid_;
    CellPainter painter_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int currentCol_ = 1;
    int currentRow_ = 1;
    bool pendingLayout_ = true;
};

} // namespace corvane
