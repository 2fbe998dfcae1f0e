// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout: its control tables, styles and pixel geometry, and the wiring of
// the controls to their handlers.
#include "ui/main_window.h"

#include "ui/cell_drawing.h"
#include "ui/filter_combo.h"
#include "ui/jpeg_image.h"
#include "ui/spin_edit.h"
#include "ui/string_grid_view.h"
#include "ui/window_style.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <cstdint>

namespace corvane {

namespace {

constexpr int kTopStripHeight = 17;
constexpr int kStatusBarHeight = 19;
constexpr QRect kLeftPanelRect{0, kTopStripHeight, 201, 680};
constexpr QRect kPageControlRect{201, kTopStripHeight, 815, 680};
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

} // namespace

void MainWindow::BuildTopStrip() {
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("TopStrip"));
    strip->setGeometry(0, 0, kClientWidth, kTopStripHeight);
    FillWith(strip, ToQColor(colours::kBlue));
}

void MainWindow::BuildStatusBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
    FillWith(bar, QColor(0x00, 0xFF, 0xFF));
    int x = 0;
    for (std::size_t i = 0; i < kStatusPanels.size(); ++i) {
        const StatusPanel& panel = kStatusPanels[i];
        QLabel* label = MakeLabel(panel.text, QRect(x, 0, panel.width, kStatusBarHeight), bar,
                                  panel.alignment | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusPanels_[i] = label;
        x += panel.width;
    }
}

void MainWindow::BuildPageControl() {
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

StringGridView* MainWindow::BuildEventGrid(int eventIndex) {
    auto* view = new StringGridView(EventTable(eventIndex));
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
                             sortCols_.at(ActiveEvent() - 1), isCurrent);
    });
    views_.at(eventIndex - 1) = view;
    return view;
}

void MainWindow::BuildLeftPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("LeftPanel"));
    panel->setGeometry(kLeftPanelRect);
    FillWith(panel, QBrush(QPixmap(QStringLiteral(":/corvane/panel_texture.png"))));

    buttonCopy_ = MakeButton("Copy Table to Clipboard", "ButtonCopy", {16, 16, 169, 25}, panel);
    buttonPopulate_ =
        MakeButton("Populate Diver Count", "ButtonPopulate", {16, 56, 169, 25}, panel);
    BuildVariablesGroup(panel);
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

void MainWindow::BuildVariablesGroup(QWidget* panel) {
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

void MainWindow::BuildRefineGroup(QWidget* panel) {
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

void MainWindow::SetFocusOrder() {
    const std::array<QWidget*, 13> order{
        theGrids_,      buttonCopy_, varCount_,     varDD_,          varPercent_,
        var9_,          var2Col_,    varSortCount_, buttonPopulate_, closeButton_,
        generateStats_, diverList_,  countryList_};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void MainWindow::ConnectHandlers() {
    for (StringGridView* view : views_) {
        connect(view, &StringGridView::mousePressed, this,
                [this, view](Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos) {
                    OnGridMouseDown(view, pos);
                });
        connect(view, &StringGridView::doubleClicked, this, &MainWindow::OnGridDoubleClick);
        connect(view, &StringGridView::mouseMoved, this,
                [this, view](QPoint pos) { OnGridMouseMove(view, pos); });
    }
    for (SpinEdit* edit : {varCount_, varDD_, varPercent_, var9_, var2Col_}) {
        connect(edit, &SpinEdit::changed, this, &MainWindow::RepaintForThresholds);
    }
    connect(varSortCount_, &SpinEdit::changed, this, &MainWindow::ResortForSortCount);
    // A choice of the user (mouse, keys, incremental search); the program's own changes
    // of the selection do not come through here.
    connect(countryList_, &FilterCombo::userChangedSelection, this,
            &MainWindow::ListDiversOfCountry);
    connect(buttonCopy_, &QPushButton::clicked, this, &MainWindow::CopyTableToClipboard);
    connect(buttonPopulate_, &QPushButton::clicked, this, &MainWindow::FillDiverCounts);
    connect(generateStats_, &QPushButton::clicked, this, &MainWindow::RunStatistics);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace corvane
