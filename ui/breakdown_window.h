// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/drill_down.h"
#include "analysis/grid_sort.h"
#include "analysis/string_grid.h"
#include "ui/cell_painters.h"
#include "ui/score_bands_window.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace corvane {

class StringGridView;
class ClipboardSink;
class UserMessages;

// What the breakdown window needs of the main window.
struct BreakdownHost {
    std::function<Thresholds()> thresholds; // read afresh for every cell
    std::function<SortSplit()> sortSplit;   // Sort Count and the message pump
    std::function<void(int row)> setClickedRow;
    UserMessages* messages = nullptr;
    ClipboardSink* clipboard = nullptr;
    // The "Score Bands" window's needs; its error box is `messages` unless set.
    ScoreBandsHost chart;
};

// The Dive Statistics window: the one-row summary, the title bar and the per-diver table of
// one dive. Closing it only hides it.
class BreakdownWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 898;
    static constexpr int kClientHeight = 710;

    BreakdownWindow(BreakdownHost host, QWidget* parent = nullptr);
    ~BreakdownWindow() override;

    // The one-row summary and the per-diver table of the dive shown.
    StringGrid& SummaryTable() { return summaryTable_; }
    StringGrid& DiverTable() { return diverTable_; }
    // The controls, by their component names.
    StringGridView* StatsGrid() const { return summaryView_; }
    StringGridView* DiveStatsGrid() const { return diverView_; }
    QLabel* LabelTitle() const { return labelTitle_; }
    QPushButton* ButtonCopy() const { return buttonCopy_; }
    QPushButton* ButtonChart() const { return buttonChart_; }
    // The "Score Bands" window, once "Show Chart" has made it.
    ScoreBandsWindow* ChartWindow() const { return chartWindow_; }

    // The per-diver table's sort column.
    int DiverSortCol() const { return diverSortCol_; }

    // Shows `breakdown`, whose rows the grids hold, modeless and brings the window to the
    // front; centred on the main window the first time, where the user left it afterwards.
    void ShowBreakdown(DiveBreakdown breakdown);
    // The chart of what the window shows: the dive and the diver of the current row.
    ScoreBandChart CurrentChart() const;

public slots:
    void CopyTableToClipboard();
    void ShowChartWindow();

protected:
    // The window outlives every close: it only hides, keeping its contents.
    void closeEvent(QCloseEvent* event) override;
    // Only the close box and the system's close command close the window, not Escape.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetUpDiverTable();
    void OnDiverGridMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void OnDiverGridMouseMove(QPoint pos);
    void BuildLayout();
    void BuildTitleBar();
    QPushButton* TitleBarButton(const char* text, const char* name, QRect rect);
    // The looks of the cells of the two grids; the views draw them.
    CellLook LookOfSummaryCell(int col, int row, bool isCurrent) const;
    CellLook LookOfDiverCell(int col, int row, bool isCurrent) const;
    Thresholds CurrentThresholds() const;
    // The frame position that centres this window on its owner (or on the screen).
    QPoint CentredPosition() const;
    // Redraws the chart, if it is shown, after the breakdown, its order or its row changed.
    void UpdateChart();
    QString PictureName() const;

    BreakdownHost host_;
    StringGrid summaryTable_{17, 2};
    StringGrid diverTable_{17, 2};
    StringGridView* summaryView_ = nullptr;
    StringGridView* diverView_ = nullptr;
    QFrame* titleBar_ = nullptr;
    QLabel* labelTitle_ = nullptr;
    QPushButton* buttonCopy_ = nullptr;
    QPushButton* buttonChart_ = nullptr;
    QPointer<ScoreBandsWindow> chartWindow_;
    // What the chart is drawn from; the grids show it, and their order follows the user.
    DiveBreakdown breakdown_;
    int diverSortCol_ = 2;
    bool shownBefore_ = false;
};

} // namespace corvane
