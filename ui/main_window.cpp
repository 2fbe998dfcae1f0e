// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include "analysis/diver_count.h"
#include "analysis/drill_down.h"
#include "analysis/folder_sources.h"
#include "analysis/score_band_chart.h"
#include "analysis/table_text.h"
#include "store/file_text.h"
#include "store/result_loader.h"
#include "ui/clipboard.h"
#include "ui/filter_combo.h"
#include "ui/settings_store.h"
#include "ui/spin_edit.h"
#include "ui/string_grid_view.h"
#include "ui/user_messages.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTimer>

#include <optional>
#include <string_view>
#include <vector>

// The pictures are compiled into the static window library, whose resource initialiser the
// linker would otherwise leave out.
static void InitWindowResources() {
    Q_INIT_RESOURCE(resources);
}

namespace corvane {

namespace {

constexpr int kStartupDelayMs = 100;

// Cell texts, file names and messages of the core are bytes: a path is in the file system's
// encoding (UTF-8), a field of a result file in Latin-1.
QString FromCoreText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? FromCellBytes(bytes) : text;
}

std::string ToCellBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// The labels of the diver grid's rows 1.., of one nation's divers or of all.
PackedTexts DiverLabels(const DiverGrid& diverGrid, std::optional<std::string_view> nation) {
    const auto listed = [nation](const DiverEntry& diver) {
        return !nation || diver.Nation == *nation;
    };
    // Sized first: grown by doubling, the block of 100,000 labels would take a third more.
    std::size_t count = 0;
    std::size_t bytes = 0;
    for (int row = 1; row < diverGrid.RowCount(); ++row) {
        if (listed(diverGrid.Diver(row))) {
            ++count;
            bytes += DiverLabelSize(diverGrid.Diver(row));
        }
    }
    PackedTexts labels;
    labels.Reserve(count, bytes);
    for (int row = 1; row < diverGrid.RowCount(); ++row) {
        if (listed(diverGrid.Diver(row))) {
            labels.Append(DiverLabel(diverGrid.Diver(row)));
        }
    }
    return labels;
}

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
      settings_(settings), messages_(messages), clipboard_(clipboard),
      store_(std::make_unique<RecordStore>()) {
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

// ---- Start-up and close -------------------------------------------------------------

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

    startUpTimer_ = new QTimer(this);
    startUpTimer_->setObjectName(QStringLiteral("Timer1"));
    startUpTimer_->setSingleShot(true);
    startUpTimer_->setInterval(kStartupDelayMs);
    // A coarse timer may fire up to 5 % early or late: the window gets its full 100 ms to
    // appear, and the loading starts as soon as they are over.
    startUpTimer_->setTimerType(Qt::PreciseTimer);
    connect(startUpTimer_, &QTimer::timeout, this, &MainWindow::LoadOnStartUp);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownBefore_) {
        shownBefore_ = true;
        BeginStartUp();
    }
}

void MainWindow::BeginStartUp() {
    // Set first, so that the change notifications of the values below do nothing.
    phase_ = Phase::Starting;
    dataDir_ =
        dataFolder_.empty() ? QFile::encodeName(QDir::currentPath()).toStdString() : dataFolder_;
    ApplySettings();
    theGrids_->setCurrentIndex(0);
    startUpTimer_->start();
}

void MainWindow::ApplySettings() {
    const Settings settings = settings_.Read(dataDir_);
    varCount_->setValue(settings.count);
    varDD_->setValue(settings.dd);
    varPercent_->setValue(settings.percent);
    var2Col_->setValue(settings.twoCol);
    var9_->setValue(settings.nine);
    varSortCount_->setValue(settings.sortCount);
    sortCols_ = settings.sortCol;
}

void MainWindow::LoadOnStartUp() {
    startUpTimer_->stop();
    // Let the window paint before the long work starts.
    QCoreApplication::processEvents();
    if (closing_) {
        return;
    }
    if (const auto tablesError = FillReferenceTables(roster_, catalogue_, dataDir_)) {
        // Results read against the wrong names or DDs would mislead: no tables at all.
        messages_->Error(FromCoreText(*tablesError));
        EndWithoutSaving();
        return;
    }
    ResetFilterLists(lists_);
    countryList_->ResetToAll();
    diverList_->ResetToAll();
    const bool loaded = LoadResults();
    startupDone_ = true;
    if (loaded && QFileInfo(FromCoreText(JoinPath(dataDir_, kRosterFileName))).isFile()) {
        ShowOwnResultsInStatusBar();
    }
    if (loaded) {
        RunStatistics();
    }
}

bool MainWindow::LoadResults() {
    const LoadOutcome outcome = LoadResultFiles(dataDir_, *store_);
    switch (outcome.kind) {
    case LoadOutcome::Kind::Loaded:
        return true;
    case LoadOutcome::Kind::MissingFile:
        messages_->Notice(QStringLiteral("Could not find file\n") + FromCoreText(outcome.path) +
                          QStringLiteral("\nCannot continue"));
        // The program cannot work without all four events.
        EndWithoutSaving();
        return false;
    case LoadOutcome::Kind::Failed:
        // The controls keep still until "Re-Generate Stats" is pressed.
        phase_ = Phase::LoadFailed;
        messages_->Error(FromCoreText(outcome.message));
        return false;
    }
    return false;
}

void MainWindow::ShowOwnResultsInStatusBar() {
    // The fixed texts describe the built-in results; a folder with its own roster holds other
    // results, and a coach would take those texts as fact about them.
    constexpr int kSourcesPanel = 2;
    constexpr int kFirstEventPanel = 3;
    QLabel* sources = statusPanels_[kSourcesPanel];
    const QString caption = FromCoreText(FolderSourcesCaption(dataDir_));
    // The frame takes a pixel on each side, and the text wants a little room besides.
    const int room = sources->width() - 2 * sources->frameWidth() - 4;
    sources->setText(sources->fontMetrics().elidedText(caption, Qt::ElideRight, room));
    sources->setToolTip(caption);
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        const std::string_view id = EventByIndex(eventIndex).id;
        statusPanels_[kFirstEventPanel + eventIndex - 1]->setText(
            QStringLiteral("%1 : %2 Dives")
                .arg(QString::fromLatin1(id.data(), qsizetype(id.size())))
                .arg(store_->Filled(eventIndex).size()));
    }
}

void MainWindow::EndWithoutSaving() {
    // Start-up could not finish: the program ends and keeps DD.ini as it was.
    skipSettingsWrite_ = true;
    close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CloseDown();
    event->accept();
}

void MainWindow::CloseDown() {
    // A count or a sort that is letting messages run stops at its next row; the program ends
    // once the handler has returned to the event loop.
    closing_ = true;
    if (shownBefore_ && !skipSettingsWrite_) {
        SaveSettings();
    }
    if (breakdown_) {
        breakdown_->hide();
    }
}

void MainWindow::SaveSettings() {
    const ThresholdTexts texts{
        ToCellBytes(varCount_->text()),   ToCellBytes(varDD_->text()),
        ToCellBytes(varPercent_->text()), ToCellBytes(var2Col_->text()),
        ToCellBytes(var9_->text()),       ToCellBytes(varSortCount_->text())};
    // A folder that cannot be written must not keep the user from leaving: report it and
    // close all the same.
    if (const auto failure = settings_.Write(dataDir_, texts, sortCols_)) {
        messages_->Error(FromCoreText(*failure));
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
    GenerateEventTable(EventTable(eventIndex), eventIndex, store_->Filled(eventIndex), roster_,
                       catalogue_, initialRun, CurrentFilter(), sortCols_.at(eventIndex - 1),
                       SortSplit{SortCount(), Pump(EventGrid(eventIndex), true)});
}

void MainWindow::FillFilterCombos() {
    FillFilterLists(roster_, lists_);
    PackedTexts nations;
    for (const std::string& nation : lists_.countryItems) {
        nations.Append(nation);
    }
    countryList_->AddAllSorted(std::move(nations));
    diverList_->AddAllSorted(DiverLabels(lists_.diverGrid, std::nullopt));
}

void MainWindow::OnGridMouseDown(StringGridView* grid, QPoint pos) {
    const QPoint cell = grid->cellAt(pos);
    clickedRow_ = cell.y();
    if (clickedRow_ != 0) {
        return;
    }
    sortCols_.at(ActiveEvent() - 1) = cell.x();
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
    const DrillDownResult result =
        DrillDown(EventTable(eventIndex), eventIndex, clickedRow_, store_->Filled(eventIndex),
                  roster_, CurrentFilter(),
                  BreakdownTarget{stats.SummaryTable(), stats.DiverTable(), stats.DiverSortCol()},
                  SortSplit{SortCount(), Pump(stats.DiveStatsGrid(), true)});
    if (result.opened) {
        stats.ShowBreakdown(FromCellBytes(result.title),
                            QString::fromLatin1(EventByIndex(eventIndex).id.data(),
                                                qsizetype(EventByIndex(eventIndex).id.size())),
                            ChartTitle(result.title, CurrentFilter()));
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
    PopulateDiverCount(EventTable(eventIndex), store_->Filled(eventIndex), roster_,
                       breakdown_->DiverTable(), hooks);
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
    diverList_->AddAllSorted(DiverLabels(lists_.diverGrid, nation));
    diverList_->setCurrentIndex(0);
    phase_ = before;
}

} // namespace corvane
