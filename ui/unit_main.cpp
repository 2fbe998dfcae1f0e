// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/unit_main.h"

#include "analysis/diver_count.h"
#include "analysis/drill_down.h"
#include "analysis/table_text.h"
#include "store/result_loader.h"
#include "ui/cell_drawing.h"
#include "ui/clipboard.h"
#include "ui/filter_combo.h"
#include "ui/jpeg_image.h"
#include "ui/settings_store.h"
#include "ui/spin_edit.h"
#include "ui/string_grid_view.h"
#include "ui/user_messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <cstdint>

// The pictures are compiled into the static window library, whose resource initialiser the
// linker would otherwise leave out.
static void InitWindowResources() {
    Q_INIT_RESOURCE(resources);
}

namespace corvane {

namespace {

constexpr int kTopStripHeight = 17;
constexpr int kStatusBarHeight = 19;
constexpr QRect kLeftPanelRect{0, kTopStripHeight, 201, 680};
constexpr QRect kPageControlRect{201, kTopStripHeight, 815, 680};
constexpr int kFontPixels = 11;      // 8 pt
constexpr int kLargeFontPixels = 13; // 10 pt
constexpr int kStartupDelayMs = 100;

// One panel of the status bar: fixed text, width and alignment.
struct StatusPanel {
    const char* text;
    int width;
    Qt::Alignment alignment;
};

constexpr std::array<StatusPanel, 8> kStatusPanels{{
    {"   Version 1.1", 100, Qt::AlignLeft},
    {"www.corvane.example", 200, Qt::AlignHCenter},
    {"All Intl Sr. Events", 130, Qt::AlignHCenter},
    {"M3M : 10081 Dives", 130, Qt::AlignHCenter},
    {"W3M : 7358 Dives", 130, Qt::AlignHCenter},
    {"M10M : 8317 Dives", 130, Qt::AlignHCenter},
    {"W10M : 6741 Dives", 130, Qt::AlignHCenter},
    {"", 50, Qt::AlignLeft},
}};

// One row of the "Variables" group: label, spin edit, optional "%", legend square.
struct ThresholdRow {
    const char* label;
    const char* editName;
    int decimals;
    double step;
    double maximum;
    bool percent;
    std::uint32_t legend;
    const char* legendName;
};

constexpr std::array<ThresholdRow, 6> kThresholdRows{{
    {"Count", "VarCount", 0, 5, 9999, false, colours::kPink, "Panel6"},
    {"DD", "VarDD", 1, 0.1, 9.9, false, colours::kPink, "Panel5"},
    {"Percent", "VarPercent", 0, 5, 100, true, colours::kPink, "Panel4"},
    {"2 Column", "Var2Col", 0, 5, 100, true, colours::kBlue, "Panel7"},
    {"> 9.0", "Var9", 0, 1, 100, true, colours::kGreen, "Panel3"},
    {"Sort Count", "VarSortCount", 0, 5, 9999, false, colours::kGridBackground, "Panel8"},
}};
constexpr int kFirstEditY = 24;
constexpr int kRowPitch = 32;
constexpr int kLabelRight = 68; // the labels are right-aligned against the spin edits
constexpr int kEditX = 72;
constexpr QSize kEditSize{49, 21};
constexpr int kPercentX = 126;
constexpr int kLegendX = 144;
constexpr QSize kLegendSize{30, 21};

constexpr auto kTabStyle = R"(
QTabBar::tab {
    width: 158px; height: 18px; margin: 2px 4px 2px 0; padding: 0;
    border: 1px solid #8a9bb3; border-radius: 3px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dde5ef);
}
QTabBar::tab:hover { background: #eef4fb; }
QTabBar::tab:selected {
    border-color: #2f5f9e; font-weight: bold;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b7d0ef, stop:1 #d9e7f8);
}
)";

// The classic dialog face where it is installed, else the nearest plain sans-serif.
QFont WindowFont(int pixelSize, bool bold = false) {
    const QString preferred = QStringLiteral("MS Sans Serif");
    QFont font(QFontDatabase::families().contains(preferred) ? preferred
                                                             : QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void FillWith(QWidget* widget, const QBrush& brush) {
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Window, brush);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton* MakeButton(const char* caption, const char* name, const QRect& rect, QWidget* parent,
                        int fontPixels = kLargeFontPixels) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->setFont(WindowFont(fontPixels));
    return button;
}

QLabel* MakeLabel(const char* text, const QRect& rect, QWidget* parent,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(rect);
    label->setAlignment(alignment);
    return label;
}

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

// The hourglass of a long run, restored on every way out of it.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
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

TForm1::TForm1(SettingsStore& settings, UserMessages* messages, ClipboardSink* clipboard,
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
    FormCreate();
}

TForm1::~TForm1() {
    // The views and the breakdown window refer to grids and state of this object, which die
    // before QWidget deletes its children: take them down first.
    if (diveStats_ && diveStats_->parent() == this) {
        delete diveStats_.data();
    }
    for (StringGridView* view : views_) {
        delete view;
    }
}

DiveStatsHost TForm1::MakeDiveStatsHost() {
    DiveStatsHost host;
    host.thresholds = [this] { return CurrentThresholds(); };
    host.sortSplit = [this] {
        return SortSplit{SortCount(), [this] {
                             if (diveStats_) {
                                 diveStats_->DiveStatsGrid()->repaintNow();
                             }
                             QCoreApplication::processEvents();
                         }};
    };
    host.setClickedRow = [this](int row) { ClickedRow = row; };
    host.messages = messages_;
    host.clipboard = clipboard_;
    host.chart.dataDir = [this] { return QString::fromLocal8Bit(DataDir.c_str()); };
    return host;
}

void TForm1::AttachDiveStats(TDiveStats* diveStats) {
    diveStats_ = diveStats;
}

int TForm1::ActiveEvent() const {
    const int tab = theGrids_->currentIndex();
    return tab < 0 ? 1 : tab + 1;
}

Thresholds TForm1::CurrentThresholds() const {
    return Thresholds{varCount_->value(), varDD_->value(), varPercent_->value(),
                      var2Col_->value(),  var9_->value(),  varSortCount_->value()};
}

FilterSelection TForm1::CurrentFilter() const {
    return FilterSelection{countryList_->currentIndex(), ToCellBytes(countryList_->currentText()),
                           diverList_->currentIndex(), ToCellBytes(diverList_->currentText())};
}

int TForm1::SortCount() const {
    return static_cast<int>(varSortCount_->value());
}

PumpMessages TForm1::Pump(StringGridView* grid, bool holdUserInput) const {
    const auto flags = holdUserInput ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
    return [grid, flags] {
        grid->repaintNow();
        QCoreApplication::processEvents(flags);
    };
}

// ---- Start-up and close -------------------------------------------------------------

void TForm1::FormCreate() {
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(WindowFont(kFontPixels));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    BuildTopStrip();
    BuildStatusBar();
    BuildPageControl();
    BuildLeftPanel();
    ConnectHandlers();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setInterval(kStartupDelayMs);
    connect(timer1_, &QTimer::timeout, this, &TForm1::Timer1Timer);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownBefore_) {
        shownBefore_ = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    // Set first, so that the change notifications of the values below do nothing.
    Busy = true;
    DataDir =
        dataFolder_.empty() ? QFile::encodeName(QDir::currentPath()).toStdString() : dataFolder_;
    ApplySettings();
    theGrids_->setCurrentIndex(0);
    timer1_->start();
}

void TForm1::ApplySettings() {
    const Settings settings = settings_.Read(DataDir);
    varCount_->setValue(settings.count);
    varDD_->setValue(settings.dd);
    varPercent_->setValue(settings.percent);
    var2Col_->setValue(settings.twoCol);
    var9_->setValue(settings.nine);
    varSortCount_->setValue(settings.sortCount);
    SortCol = settings.sortCol;
}

void TForm1::Timer1Timer() {
    timer1_->stop();
    // Let the window paint before the long work starts.
    QCoreApplication::processEvents();
    if (closing_) {
        return;
    }
    if (const auto rosterError = FillReferenceTables(roster_, DataDir)) {
        // Results read against the wrong names would mislead: no tables at all.
        messages_->Error(FromCoreText(*rosterError));
        EndWithoutSaving();
        return;
    }
    ResetFilterLists(lists_);
    countryList_->ResetToAll();
    diverList_->ResetToAll();
    const bool loaded = LoadResults();
    startupDone_ = true;
    if (loaded) {
        GenerateStatsClick();
    }
}

bool TForm1::LoadResults() {
    const LoadOutcome outcome = LoadResultFiles(DataDir, *store_);
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
        // Busy stays set: the controls keep still until "Re-Generate Stats" is pressed.
        messages_->Error(FromCoreText(outcome.message));
        return false;
    }
    return false;
}

void TForm1::EndWithoutSaving() {
    // Start-up could not finish: the program ends and keeps DD.ini as it was.
    skipSettingsWrite_ = true;
    close();
    QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    // A count or a sort that is letting messages run stops at its next row; the program ends
    // once the handler has returned to the event loop.
    closing_ = true;
    if (shownBefore_ && !skipSettingsWrite_) {
        const ThresholdTexts texts{
            ToCellBytes(varCount_->text()),   ToCellBytes(varDD_->text()),
            ToCellBytes(varPercent_->text()), ToCellBytes(var2Col_->text()),
            ToCellBytes(var9_->text()),       ToCellBytes(varSortCount_->text())};
        // A folder that cannot be written must not keep the user from leaving: report it and
        // close all the same.
        if (const auto failure = settings_.Write(DataDir, texts, SortCol)) {
            messages_->Error(FromCoreText(*failure));
        }
    }
    if (diveStats_) {
        diveStats_->hide();
    }
}

void TForm1::CloseButtonClick() {
    close();
}

void TForm1::Button1Click() {}

// ---- Statistics, sorting, breakdown, count, copy ----------------------------------------

void TForm1::GenerateStatsClick() {
    // Never inside another run, nor before the start-up step has filled the store.
    if (generating_ || !startupDone_) {
        return;
    }
    const FlagScope running(generating_);
    const WaitCursor hourglass;
    const bool initialRun = Busy;
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        GenerateOneEvent(eventIndex, initialRun);
    }
    theGrids_->setCurrentIndex(0);
    Busy = false;
    VarCountChange();
}

void TForm1::GenerateOneEvent(int eventIndex, bool initialRun) {
    // The page control's own look; the grid on its page repaints after its sort and at the
    // end of the run, so repainting it here too would only paint it more often.
    theGrids_->tabBar()->repaint();
    if (initialRun && eventIndex == 1) {
        FillFilterCombos();
    }
    // User input waits until the run has ended: no second run, sort or breakdown inside it.
    GenerateEventTable(eventTable(eventIndex), eventIndex, store_->Filled(eventIndex), roster_,
                       initialRun, CurrentFilter(), SortCol.at(eventIndex - 1),
                       SortSplit{SortCount(), Pump(EventGrid(eventIndex), true)});
}

void TForm1::FillFilterCombos() {
    FillFilterLists(roster_, lists_);
    QStringList nations;
    nations.reserve(static_cast<qsizetype>(lists_.countryItems.size()));
    for (const std::string& nation : lists_.countryItems) {
        nations.append(FromCellBytes(nation));
    }
    countryList_->AddAllSorted(std::move(nations));
    QStringList labels;
    labels.reserve(static_cast<qsizetype>(lists_.diverItems.size()));
    for (const std::string& label : lists_.diverItems) {
        labels.append(FromCellBytes(label));
    }
    // The list holds them now; with a roster of 100,000 divers a second copy is megabytes.
    std::vector<std::string>().swap(lists_.diverItems);
    diverList_->AddAllSorted(std::move(labels));
}

void TForm1::TheGridM3MMouseDown(StringGridView* grid, QPoint pos) {
    const QPoint cell = grid->cellAt(pos);
    ClickedRow = cell.y();
    if (ClickedRow != 0) {
        return;
    }
    SortCol.at(ActiveEvent() - 1) = cell.x();
    SortEventTable(grid->grid(), cell.x(), SortSplit{SortCount(), Pump(grid)});
    // The bold header follows the new column even when there is nothing to sort.
    grid->viewport()->update();
}

void TForm1::TheGridM3MMouseMove(StringGridView* grid, QPoint pos) {
    const bool header = grid->cellAt(pos).y() == 0;
    grid->viewport()->setCursor(header ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TForm1::VarSortCountChange() {
    if (Busy) {
        return;
    }
    const int eventIndex = ActiveEvent();
    SortEventTable(eventTable(eventIndex), SortCol.at(eventIndex - 1),
                   SortSplit{SortCount(), Pump(EventGrid(eventIndex))});
}

void TForm1::VarCountChange() {
    if (Busy) {
        return;
    }
    for (StringGridView* view : views_) {
        view->repaintNow();
    }
    if (diveStats_ && diveStats_->isVisible()) {
        diveStats_->DiveStatsGrid()->repaintNow();
        diveStats_->StatsGrid()->repaintNow();
    }
}

void TForm1::TheGridM3MDblClick() {
    if (!diveStats_) {
        return;
    }
    const int eventIndex = ActiveEvent();
    TDiveStats& stats = *diveStats_;
    // User input waits until the breakdown is shown: a second double-click handled inside its
    // sort would refill the grids, and this one's title would then go over the other's rows.
    const DrillDownResult result =
        DrillDown(eventTable(eventIndex), eventIndex, ClickedRow, store_->Filled(eventIndex),
                  roster_, CurrentFilter(),
                  BreakdownTarget{stats.statsGrid(), stats.diveStatsGrid(), stats.statsSortCol()},
                  SortSplit{SortCount(), Pump(stats.DiveStatsGrid(), true)});
    if (result.opened) {
        stats.ShowBreakdown(FromCellBytes(result.title),
                            QString::fromLatin1(EventByIndex(eventIndex).id.data(),
                                                qsizetype(EventByIndex(eventIndex).id.size())));
    }
}

void TForm1::PopulateDiverCount1Click() {
    if (!diveStats_) {
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
    PopulateDiverCount(eventTable(eventIndex), store_->Filled(eventIndex), roster_,
                       diveStats_->diveStatsGrid(), hooks);
}

void TForm1::ButtonCopyClick() {
    const QString text = FromCellBytes(TableText(eventTable(ActiveEvent()), kEventTableCols));
    if (!clipboard_->SetText(text)) {
        messages_->Error(QStringLiteral("Cannot open clipboard"));
    }
}

// ---- Filter lists -------------------------------------------------------------------

void TForm1::CountryListChange() {
    if (Busy || countryList_->currentIndex() <= 0) {
        return;
    }
    Busy = true;
    const std::string nation = ToCellBytes(countryList_->currentText());
    diverList_->ResetToAll();
    const StringGrid& diverGrid = lists_.diverGrid;
    QStringList labels;
    for (int row = 1; row < diverGrid.RowCount(); ++row) {
        if (diverGrid.Cell(1, row) == nation) {
            labels.append(FromCellBytes(diverGrid.Cell(2, row)));
        }
    }
    diverList_->AddAllSorted(std::move(labels));
    diverList_->setCurrentIndex(0);
    Busy = false;
}

void TForm1::DiverListChange() {}

// ---- Layout -------------------------------------------------------------------------

void TForm1::BuildTopStrip() {
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("TopStrip"));
    strip->setGeometry(0, 0, kClientWidth, kTopStripHeight);
    FillWith(strip, ToQColor(colours::kBlue));
}

void TForm1::BuildStatusBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
    FillWith(bar, QColor(0x00, 0xFF, 0xFF));
    int x = 0;
    for (const StatusPanel& panel : kStatusPanels) {
        QLabel* label = MakeLabel(panel.text, QRect(x, 0, panel.width, kStatusBarHeight), bar,
                                  panel.alignment | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        x += panel.width;
    }
}

void TForm1::BuildPageControl() {
    theGrids_ = new QTabWidget(this);
    theGrids_->setObjectName(QStringLiteral("TheGrids"));
    theGrids_->setGeometry(kPageControlRect);
    theGrids_->setDocumentMode(true);
    // Only the tabs are styled: a style sheet on the page control would reach the grids too.
    theGrids_->findChild<QTabBar*>()->setStyleSheet(QString::fromLatin1(kTabStyle));
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        const QString caption = QString::fromLatin1(EventByIndex(eventIndex).id);
        theGrids_->addTab(BuildEventGrid(eventIndex), caption);
    }
}

StringGridView* TForm1::BuildEventGrid(int eventIndex) {
    auto* view = new StringGridView(eventTable(eventIndex));
    view->setObjectName(QStringLiteral("TheGrid") +
                        QString::fromLatin1(EventByIndex(eventIndex).id.data(),
                                            qsizetype(EventByIndex(eventIndex).id.size())));
    view->setFixedCounts(1, 1);
    view->setHorizontalScrolling(false);
    // The hand cursor over the headers needs moves without a button held.
    view->viewport()->setMouseTracking(true);
    view->setBackgroundColour(colours::kGridBackground);
    UseCellLook(*view, [this, view](int col, int row, bool isCurrent) {
        return EventCellLook(view->grid(), col, row, CurrentThresholds(),
                             SortCol.at(ActiveEvent() - 1), isCurrent);
    });
    views_.at(eventIndex - 1) = view;
    return view;
}

void TForm1::BuildLeftPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("LeftPanel"));
    panel->setGeometry(kLeftPanelRect);
    FillWith(panel, QBrush(QPixmap(QStringLiteral(":/corvane/panel_texture.png"))));

    buttonCopy_ = MakeButton("Copy Table to Clipboard", "ButtonCopy", {16, 16, 169, 25}, panel);
    buttonPopulate_ =
        MakeButton("Populate Diver Count", "ButtonPopulate", {16, 56, 169, 25}, panel);
    BuildVariablesGroup(panel);
    button1_ = MakeButton("Button1", "Button1", {40, 128, 75, 25}, panel, kFontPixels);
    button1_->hide();
    BuildRefineGroup(panel);
    closeButton_ = MakeButton("Close", "CloseButton", {16, 552, 169, 25}, panel);
    closeButton_->setIcon(QIcon(QStringLiteral(":/corvane/close.png")));

    logo_ = new QLabel(panel);
    logo_->setObjectName(QStringLiteral("Logo"));
    const QImage logo = LoadJpeg(QStringLiteral(":/corvane/logo.jpg"));
    logo_->setPixmap(QPixmap::fromImage(logo));
    logo_->setGeometry(QRect(QPoint(24, 592), logo.size()));
    SetFocusOrder();
}

void TForm1::BuildVariablesGroup(QWidget* panel) {
    auto* group = new QGroupBox(QStringLiteral("Variables"), panel);
    group->setGeometry(8, 104, 185, 225);
    group->setFont(WindowFont(kLargeFontPixels, true));
    const QFont content = WindowFont(kLargeFontPixels);
    std::array<SpinEdit*, kThresholdRows.size()> edits{};
    for (std::size_t i = 0; i < kThresholdRows.size(); ++i) {
        const ThresholdRow& row = kThresholdRows[i];
        const int y = kFirstEditY + static_cast<int>(i) * kRowPitch;
        MakeLabel(row.label, {0, y + 2, kLabelRight, kEditSize.height()}, group,
                  Qt::AlignRight | Qt::AlignTop)
            ->setFont(content);
        auto* edit = new SpinEdit(row.decimals, row.step, row.maximum, group);
        edit->setObjectName(QString::fromLatin1(row.editName));
        edit->setGeometry(QRect(QPoint(kEditX, y), kEditSize));
        edit->setFont(content);
        edits[i] = edit;
        if (row.percent) {
            MakeLabel("%", {kPercentX, y + 2, kLegendX - kPercentX, kEditSize.height()}, group)
                ->setFont(content);
        }
        auto* legend = new QFrame(group);
        legend->setObjectName(QString::fromLatin1(row.legendName));
        legend->setGeometry(QRect(QPoint(kLegendX, y), kLegendSize));
        legend->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        FillWith(legend, ToQColor(row.legend));
    }
    varCount_ = edits[0];
    varDD_ = edits[1];
    varPercent_ = edits[2];
    var2Col_ = edits[3];
    var9_ = edits[4];
    varSortCount_ = edits[5];
}

void TForm1::BuildRefineGroup(QWidget* panel) {
    auto* group = new QGroupBox(QStringLiteral("Refine the results"), panel);
    group->setGeometry(8, 344, 185, 185);
    group->setFont(WindowFont(kLargeFontPixels, true));
    const QFont content = WindowFont(kLargeFontPixels);
    MakeLabel("Country", {8, 32, 161, 16}, group)->setFont(content);
    countryList_ = new FilterCombo(group);
    countryList_->setObjectName(QStringLiteral("CountryList"));
    countryList_->setGeometry(8, 48, 161, 24);
    countryList_->setFont(content);
    MakeLabel("Diver", {8, 80, 161, 16}, group)->setFont(content);
    diverList_ = new FilterCombo(group);
    diverList_->setObjectName(QStringLiteral("DiverList"));
    diverList_->setGeometry(8, 96, 161, 24);
    diverList_->setFont(content);
    generateStats_ = MakeButton("Re-Generate Stats", "GenerateStats", {16, 136, 145, 25}, group);
}

void TForm1::SetFocusOrder() {
    const std::array<QWidget*, 13> order{
        theGrids_,      buttonCopy_, varCount_,     varDD_,          varPercent_,
        var9_,          var2Col_,    varSortCount_, buttonPopulate_, closeButton_,
        generateStats_, diverList_,  countryList_};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TForm1::ConnectHandlers() {
    for (StringGridView* view : views_) {
        connect(view, &StringGridView::mousePressed, this,
                [this, view](Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos) {
                    TheGridM3MMouseDown(view, pos);
                });
        connect(view, &StringGridView::doubleClicked, this, &TForm1::TheGridM3MDblClick);
        connect(view, &StringGridView::mouseMoved, this,
                [this, view](QPoint pos) { TheGridM3MMouseMove(view, pos); });
    }
    for (SpinEdit* edit : {varCount_, varDD_, varPercent_, var9_, var2Col_}) {
        connect(edit, &SpinEdit::changed, this, &TForm1::VarCountChange);
    }
    connect(varSortCount_, &SpinEdit::changed, this, &TForm1::VarSortCountChange);
    // A choice of the user (mouse, keys, incremental search); the program's own changes
    // of the selection do not come through here.
    connect(countryList_, &FilterCombo::userChangedSelection, this, &TForm1::CountryListChange);
    connect(diverList_, &FilterCombo::userChangedSelection, this, &TForm1::DiverListChange);
    connect(buttonCopy_, &QPushButton::clicked, this, &TForm1::ButtonCopyClick);
    connect(buttonPopulate_, &QPushButton::clicked, this, &TForm1::PopulateDiverCount1Click);
    connect(generateStats_, &QPushButton::clicked, this, &TForm1::GenerateStatsClick);
    connect(closeButton_, &QPushButton::clicked, this, &TForm1::CloseButtonClick);
    connect(button1_, &QPushButton::clicked, this, &TForm1::Button1Click);
}

} // namespace corvane
