// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/string_grid.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace corvane {

// A view of a StringGrid with a fixed header row and first column that stay in place while
// the rest scrolls, 1-pixel grid lines, fixed row height and per-column widths. It draws the
// grid lines only: every cell is painted by the painter that the window supplies.
// The grid must outlive every paint of the view; the view's destructor does not touch it.
class StringGridView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 16;
    static constexpr int kLineWidth = 1;
    // Grid lines, and the area outside every cell (0xRRGGBB).
    static constexpr std::uint32_t kLineColour = 0x6B8CB3;
    static constexpr std::uint32_t kDefaultBackground = 0xB3D7FB;

    // Paints the cell (col, row) into `rect` (the cell without its grid lines). The painter
    // comes clipped to `rect`, and its state is restored after the call.
    using CellPainter = std::function<void(QPainter& painter, const QRect& rect, int col, int row)>;

    StringGridView(StringGrid& grid, QWidget* parent = nullptr);
    ~StringGridView() override;

    StringGrid& grid() { return grid_; }
    const StringGrid& grid() const { return grid_; }

    void setCellPainter(CellPainter painter);
    // Fixed rows/columns at the top/left (1 and 1 unless set otherwise).
    void setFixedCounts(int fixedCols, int fixedRows);
    void setHorizontalScrolling(bool enabled);
    // The colour shown right of the last column and below the last row.
    void setBackgroundColour(std::uint32_t rgb);

    // The first scrolling row and column shown after the fixed ones.
    int topRow() const;
    int leftCol() const;

    int currentCol() const { return currentCol_; }
    int currentRow() const { return currentRow_; }
    // Moves the current cell to a data cell and scrolls it into view; other cells are ignored.
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
    // The current cell moved, by the pointer or the keyboard.
    void currentCellChanged(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct Line {
        int index; // column or row
        int start; // left or top edge in the viewport
    };

    void gridChanged();
    void applyLayout();
    void updateVerticalRange();
    void updateHorizontalRange();
    int colExtent(int col) const;
    std::vector<Line> visibleCols() const;
    std::vector<Line> visibleRows() const;
    int visibleScrollRows() const;
    void handlePress(const QMouseEvent* event);
    bool isDataCell(int col, int row) const;
    void moveCurrent(int col, int row);
    void moveByTab(bool forward);
    std::optional<int> rowForKey(int key, bool control) const;
    std::optional<int> colStepForKey(int key, bool control) const;
    void moveHorizontally(int step);
    void scrollToCurrent();
    void drawGridLines(QPainter& painter, const std::vector<Line>& cols,
                       const std::vector<Line>& rows) const;

    StringGrid& grid_;
    CellPainter painter_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int currentCol_ = 1;
    int currentRow_ = 1;
    bool pendingLayout_ = true;
    bool layoutQueued_ = false;
    bool horizontalScrolling_ = false;
    // The last press, so that a double-click whose press was already delivered is not
    // reported as a second press.
    bool pressHeld_ = false;
    quint64 lastPressTime_ = 0;
    Qt::MouseButton lastPressButton_ = Qt::NoButton;
    // Expires with the view, so a grid that outlives it stops notifying it.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace corvane
