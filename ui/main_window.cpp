// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include "analysis/diver_count.h"
#include "analysis/drill_down.h"
#include "analysis/score_band_chart.h"
#include "analysis/table_text.h"
#include "ui/clipboard.h"
#include "ui/filter_combo.h"
#include "ui/filter_labels.h"
#include "ui/spin_edit.h"
#include "ui/string_grid_view.h"
#include "ui/text_encoding.h"
#include "ui/user_messages.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QScreen>
#include <QTabWidget>

#include <optional>
#include <string>
#include <vector>

// The pictures are compiled into the static window library, whose resource initialiser the
// linker would otherwise leave out.
static void InitWindowResources() {
    Q_INIT_RESOURCE(resources);
}

namespace corvane {

namespace {

// The hourglass of a long run, restored on every way out of it.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Holds back the paints of some widgets for the lifetime of a scope; at its end each is
// marked for a paint of everything it shows.
class HeldPaints {
public:
    explicit HeldPaints(std::vector<QWidget*> widgets) : widgets_(std::move(widgets)) {
        for (QWidget* widget : widgets_) {
            widget->setUpdatesEnabled(false);
        }
    }
    ~HeldPaints() {
        for (QWidget* widget : widgets_) {
            widget->setUpdatesEnabled(true);
        }
    }
    HeldPaints(const HeldPaints&) = delete;
    HeldPaints& operator=(const HeldPaints&) = delete;

private:
    std::vector<QWidget*> widgets_;
};

// Sets a flag for the lifetime of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

MainWindow::MainWindow(SettingsStore& settings, UserMessages* messages, ClipboardSink* clipboard,
                       QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      settings_(settings), messages_(messages), clipboard_(clipboard) {
    InitWindowResources();
    if (!messages_) {
        ownMessages_ = std::make_unique<MessageBoxes>(this);
        messages_ = ownMessages_.get();
    }
    if (!clipboard_) {
        ownClipboard_ = std::make_unique<SystemClipboard>();
        clipboard_ = ownClipboard_.get();
    }
    BuildWindow();
}

MainWindow::~MainWindow() {
    // The views and the breakdown window refer to grids and state of this object, which die
    // before QWidget deletes its children: take them down first.
    if (breakdown_ && breakdown_->parent() == this) {
        delete breakdown_.data();
    }
    for (StringGridView* view : views_) {
        delete view;
    }
}

BreakdownHost MainWindow::MakeBreakdownHost() {
    BreakdownHost host;
    host.thresholds = [this] { return CurrentThresholds(); };
    host.sortSplit = [this] {
        return SortSplit{SortCount(), [this] {
                             if (breakdown_) {
                                 breakdown_->DiveStatsGrid()->repaintNow();
                             }
                             QCoreApplication::processEvents();
                         }};
    };
    host.setClickedRow = [this](int row) { clickedRow_ = row; };
    host.messages = messages_;
    host.clipboard = clipboard_;
    host.chart.dataDir = [this] { return QString::fromLocal8Bit(dataDir_.c_str()); };
    return host;
}

void MainWindow::AttachBreakdown(BreakdownWindow* breakdown) {
    breakdown_ = breakdown;
}

std::unique_ptr<MainWindow> MakeMainWindow(SettingsStore& settings, UserMessages* messages,
                                           ClipboardSink* clipboard,
                                           const std::function<void(BreakdownHost&)>& adjustHost) {
    auto window = std::make_unique<MainWindow>(settings, messages, clipboard);
    BreakdownHost host = window->MakeBreakdownHost();
    if (adjustHost) {
        adjustHost(host);
    }
    window->AttachBreakdown(new BreakdownWindow(std::move(host), window.get()));
    return window;
}

int MainWindow::ActiveEvent() const {
    const int tab = theGrids_->currentIndex();
    return tab < 0 ? 1 : tab + 1;
}

Thresholds MainWindow::CurrentThresholds() const {
    return Thresholds{varCount_->value(), varDD_->value(), varPercent_->value(),
                      var2Col_->value(),  var9_->value(),  varSortCount_->value()};
}

FilterSelection MainWindow::CurrentFilter() const {
    return FilterSelection{countryList_->currentIndex(), ToCellBytes(countryList_->currentText()),
                           diverList_->currentIndex(), ToCellBytes(diverList_->currentText())};
}

int MainWindow::SortCount() const {
    return static_cast<int>(varSortCount_->value());
}

PumpMessages MainWindow::Pump(StringGridView* grid, bool holdUserInput) const {
    const auto flags = holdUserInput ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
    return [grid, flags] {
        grid->repaintNow();
        QCoreApplication::processEvents(flags);
    };
}

// ---- Creation (start-up and close: main_window_startup.cpp) ---------------------------

void MainWindow::BuildWindow() {
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(WindowFont(kWindowFontPixels));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    BuildTopStrip();
    BuildStatusBar();
    BuildPageControl();
    BuildLeftPanel();
    ConnectHandlers();

    BuildStartUpTimer();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

// ---- Statistics, sorting, breakdown, count, copy ----------------------------------------

void MainWindow::RunStatistics() {
    // Never inside another run, nor before the start-up step has filled the store.
    if (generating_ || !startupDone_) {
        return;
    }
    const FlagScope running(generating_);
    const WaitCursor hourglass;
    // The first run, also after a failed load, fills the filter lists.
    const bool initialRun = phase_ == Phase::Starting || phase_ == Phase::LoadFailed;
    {
        // The page control, its tabs and its tables, is painted once, by RepaintForThresholds at
        // the end, with what the run leaves in it. A paint after a pass would show the rows
        // that the end shows again, and the first table's would come before its scroll bar
        // has appeared, so it would be painted twice. Messages still run between the passes.
        const HeldPaints oncePainted({theGrids_->tabBar(), views_[0]->viewport(),
                                      views_[1]->viewport(), views_[2]->viewport(),
                                      views_[3]->viewport()});
        for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
            GenerateOneEvent(eventIndex, initialRun);
        }
    }
    theGrids_->setCurrentIndex(0);
    phase_ = Phase::Ready;
    RepaintForThresholds();
}

void MainWindow::GenerateOneEvent(int eventIndex, bool initialRun) {
    if (initialRun && eventIndex == 1) {
        FillFilterCombos();
    }
    // User input waits until the run has ended: no second run, sort or breakdown inside it.
    session_.RunStatistics(eventIndex,
                           RunChoices{initialRun, CurrentFilter(), sortCols_.at(eventIndex - 1),
                                      SortSplit{SortCount(), Pump(EventGrid(eventIndex), true)}});
}

void MainWindow::FillFilterCombos() {
    session_.FillFilterLists();
    countryList_->AddAllSorted(NationLabels(Lists().countryItems));
    diverList_->AddAllSorted(DiverLabels(Lists().diverGrid, std::nullopt));
}

void MainWindow::OnGridMouseDown(StringGridView* grid, QPoint pos) {
    const QPoint cell = grid->cellAt(pos);
    clickedRow_ = cell.y();
    if (clickedRow_ != 0) {
        return;
    }
    sortCols_.at(ActiveEvent() - 1) = cell.x();
    const ReloadHold sorting(*this);
    SortEventTable(grid->grid(), cell.x(), SortSplit{SortCount(), Pump(grid)});
    // The bold header follows the new column even when there is nothing to sort.
    grid->viewport()->update();
}

void MainWindow::OnGridMouseMove(StringGridView* grid, QPoint pos) {
    const bool header = grid->cellAt(pos).y() == 0;
    grid->viewport()->setCursor(header ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MainWindow::ResortForSortCount() {
    if (IsBusy()) {
        return;
    }
    const int eventIndex = ActiveEvent();
    const ReloadHold sorting(*this);
    SortEventTable(EventTable(eventIndex), sortCols_.at(eventIndex - 1),
                   SortSplit{SortCount(), Pump(EventGrid(eventIndex))});
}

void MainWindow::RepaintForThresholds() {
    if (IsBusy()) {
        return;
    }
    for (StringGridView* view : views_) {
        view->repaintNow();
    }
    if (breakdown_ && breakdown_->isVisible()) {
        breakdown_->DiveStatsGrid()->repaintNow();
        breakdown_->StatsGrid()->repaintNow();
    }
}

void MainWindow::OnGridDoubleClick() {
    if (!breakdown_) {
        return;
    }
    const int eventIndex = ActiveEvent();
    BreakdownWindow& stats = *breakdown_;
    // User input waits until the breakdown is shown: a second double-click handled inside its
    // sort would refill the grids, and this one's title would then go over the other's rows.
    // A reload posted meanwhile waits too, or the breakdown of the old results would be shown
    // over the new tables.
    const ReloadHold breakingDown(*this);
    DiveBreakdown breakdown = session_.BreakDown(
        eventIndex, clickedRow_, CurrentFilter(),
        BreakdownTarget{stats.SummaryTable(), stats.DiverTable(), stats.DiverSortCol()},
        SortSplit{SortCount(), Pump(stats.DiveStatsGrid(), true)});
    if (breakdown.opened) {
        stats.ShowBreakdown(std::move(breakdown));
    }
}

void MainWindow::FillDiverCounts() {
    if (!breakdown_) {
        return;
    }
    // Event, table and working list are fixed for the whole count, whatever tab is shown.
    const int eventIndex = ActiveEvent();
    StringGridView* view = EventGrid(eventIndex);
    DiverCountHooks hooks;
    hooks.filter = [this] { return CurrentFilter(); };
    hooks.afterRow = [this, view] {
        view->repaintNow();
        // The user can go on working between rows; a close ends the count here.
        QCoreApplication::processEvents();
        return !closing_;
    };
    const ReloadHold counting(*this);
    session_.CountDivers(eventIndex, breakdown_->DiverTable(), hooks);
}

void MainWindow::CopyTableToClipboard() {
    const QString text = FromCellBytes(TableText(EventTable(ActiveEvent()), kEventTableCols));
    if (!clipboard_->SetText(text)) {
        messages_->Error(QStringLiteral("Cannot open clipboard"));
    }
}

// ---- Filter lists -------------------------------------------------------------------

void MainWindow::ListDiversOfCountry() {
    if (IsBusy() || countryList_->currentIndex() <= 0) {
        return;
    }
    const Phase before = phase_;
    phase_ = Phase::FillingControls;
    const std::string nation = ToCellBytes(countryList_->currentText());
    diverList_->ResetToAll();
    diverList_->AddAllSorted(DiverLabels(Lists().diverGrid, nation));
    diverList_->setCurrentIndex(0);
    phase_ = before;
}

} // namespace corvane
