// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/unit_stats.h"

#include "analysis/drill_down.h"
#include "analysis/table_text.h"
#include "ui/cell_drawing.h"
#include "ui/clipboard.h"
#include "ui/string_grid_view.h"
#include "ui/user_messages.h"
#include "ui/window_style.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace corvane {

namespace {

constexpr int kStatsGridHeight = 40;
constexpr int kTitleBarHeight = 29;
constexpr int kTitleHeight = 24;
constexpr int kTitleFontPixels = 19;
constexpr QRect kButtonCopyRect{8, 2, 137, 25};
// "Show Chart" mirrors the copy button at the bar's right end.
constexpr QRect kButtonChartRect{TDiveStats::kClientWidth - 8 - 137, 2, 137, 25};

} // namespace

TDiveStats::TDiveStats(DiveStatsHost host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      host_(std::move(host)) {
    setWindowTitle(QStringLiteral("Dive Statistics"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(WindowFont(kWindowFontPixels, false));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    face.setColor(QPalette::WindowText, Qt::black);
    setPalette(face);
    BuildLayout();
    FormCreate();
}

TDiveStats::~TDiveStats() {
    // The views refer to the grids, which are members and die before QWidget deletes its
    // children: take the views down first.
    delete statsView_;
    delete diveStatsView_;
}

void TDiveStats::BuildLayout() {
    statsView_ = new StringGridView(statsGrid_, this);
    statsView_->setObjectName(QStringLiteral("StatsGrid"));
    statsView_->setGeometry(0, 0, kClientWidth, kStatsGridHeight);
    statsView_->setFixedCounts(1, 1);
    statsView_->setHorizontalScrolling(true);
    UseCellLook(*statsView_, [this](int col, int row, bool isCurrent) {
        return StatsGridDrawCell(col, row, isCurrent);
    });

    BuildTitleBar();

    const int gridTop = kStatsGridHeight + kTitleBarHeight;
    diveStatsView_ = new StringGridView(diveStatsGrid_, this);
    diveStatsView_->setObjectName(QStringLiteral("DiveStatsGrid"));
    diveStatsView_->setGeometry(0, gridTop, kClientWidth, kClientHeight - gridTop);
    diveStatsView_->setFixedCounts(1, 1);
    diveStatsView_->setHorizontalScrolling(true);
    // The hand cursor over the headers needs moves without a button held.
    diveStatsView_->viewport()->setMouseTracking(true);
    UseCellLook(*diveStatsView_, [this](int col, int row, bool isCurrent) {
        return DiveStatsGridDrawCell(col, row, isCurrent);
    });
    connect(diveStatsView_, &StringGridView::mousePressed, this,
            &TDiveStats::DiveStatsGridMouseDown);
    connect(diveStatsView_, &StringGridView::mouseMoved, this, &TDiveStats::DiveStatsGridMouseMove);
    connect(diveStatsView_, &StringGridView::currentCellChanged, this, &TDiveStats::UpdateChart);
}

void TDiveStats::BuildTitleBar() {
    titleBar_ = new QFrame(this);
    titleBar_->setObjectName(QStringLiteral("TitleBar"));
    titleBar_->setGeometry(0, kStatsGridHeight, kClientWidth, kTitleBarHeight);
    titleBar_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    titleBar_->setLineWidth(1);
    QPalette blue = titleBar_->palette();
    blue.setColor(QPalette::Window, ToQColor(colours::kBlue));
    titleBar_->setPalette(blue);
    titleBar_->setAutoFillBackground(true);

    const int border = titleBar_->lineWidth();
    labelTitle_ = new QLabel(QStringLiteral("LabelTitle"), titleBar_);
    labelTitle_->setObjectName(QStringLiteral("LabelTitle"));
    labelTitle_->setGeometry(border, border, kClientWidth - 2 * border, kTitleHeight);
    labelTitle_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    labelTitle_->setFont(WindowFont(kTitleFontPixels, true));
    QPalette white = labelTitle_->palette();
    white.setColor(QPalette::WindowText, ToQColor(colours::kWhite));
    labelTitle_->setPalette(white);

    buttonCopy_ = TitleBarButton("Copy Table to Clipboard", "ButtonCopy", kButtonCopyRect);
    connect(buttonCopy_, &QPushButton::clicked, this, &TDiveStats::ButtonCopyClick);
    buttonChart_ = TitleBarButton("Show Chart", "ButtonChart", kButtonChartRect);
    connect(buttonChart_, &QPushButton::clicked, this, &TDiveStats::ButtonChartClick);
}

QPushButton* TDiveStats::TitleBarButton(const char* text, const char* name, QRect rect) {
    auto* button = new QPushButton(QString::fromLatin1(text), titleBar_);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    // Enter in the window must not press it: the buttons act on a click only.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->raise();
    return button;
}

void TDiveStats::FormCreate() {
    diveStatsGrid_.SetColWidth(0, 200);
    diveStatsGrid_.SetColWidth(1, 46);
    diveStatsGrid_.SetColWidth(2, 46);
    diveStatsGrid_.SetCell(0, 0, "Name");
    diveStatsGrid_.SetCell(1, 0, "Nation");
    diveStatsGrid_.SetCell(2, 0, "Count");
    StatsSortCol = 2;
}

void TDiveStats::DiveStatsGridMouseDown(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/,
                                        QPoint pos) {
    const QPoint cell = diveStatsView_->cellAt(pos);
    StatsSortCol = cell.x();
    if (host_.setClickedRow)
        host_.setClickedRow(cell.y());
    // The Name column is fixed, so the view moves no current cell there; a click on a name
    // picks that diver's row all the same, for the chart.
    if (cell.y() > 0 && cell.x() == kDiverNameCol)
        diveStatsView_->setCurrentCell(std::max(diveStatsView_->currentCol(), 1), cell.y());
    if (cell.y() != 0) {
        // No row moves; only the bold header follows the new sort column.
        diveStatsView_->viewport()->update();
        return;
    }
    const SortSplit split = host_.sortSplit ? host_.sortSplit() : SortSplit{};
    SortDiveStats(diveStatsGrid_, StatsSortCol, split);
    diveStatsView_->repaintNow();
    // The current row now holds another diver.
    UpdateChart();
}

void TDiveStats::DiveStatsGridMouseMove(QPoint pos) {
    const bool overHeader = diveStatsView_->cellAt(pos).y() == 0;
    diveStatsView_->viewport()->setCursor(overHeader ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

CellLook TDiveStats::StatsGridDrawCell(int col, int row, bool isCurrent) const {
    return SummaryCellLook(statsGrid_, col, row, CurrentThresholds(), isCurrent);
}

CellLook TDiveStats::DiveStatsGridDrawCell(int col, int row, bool isCurrent) const {
    return DiverCellLook(diveStatsGrid_, col, row, CurrentThresholds(), StatsSortCol, isCurrent);
}

Thresholds TDiveStats::CurrentThresholds() const {
    return host_.thresholds ? host_.thresholds() : Thresholds{};
}

QPoint TDiveStats::CentredPosition() const {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QRect area = available;
    QSize decoration(0, 0);
    if (owner && owner->isVisible()) {
        area = owner->frameGeometry();
        // This window is not mapped yet, so its frame is taken to match the owner's.
        decoration = owner->frameGeometry().size() - owner->geometry().size();
    }
    const QSize frame = size() + decoration;
    QPoint topLeft = area.topLeft() + QPoint((area.width() - frame.width()) / 2,
                                             (area.height() - frame.height()) / 2);
    // Keep the caption reachable when the owner sits partly off the screen.
    if (available.isValid()) {
        topLeft.setX(std::max(topLeft.x(), available.left()));
        topLeft.setY(std::max(topLeft.y(), available.top()));
    }
    return topLeft;
}

void TDiveStats::ShowBreakdown(const QString& title, const QString& eventId,
                               const std::string& chartTitle) {
    labelTitle_->setText(title);
    eventId_ = eventId;
    chartTitle_ = chartTitle.empty() ? title.toLatin1().toStdString() : chartTitle;
    if (!shownBefore_) {
        // An explicit move also tells Qt the position is chosen, so later showings keep the
        // position the window last had instead of being placed afresh.
        move(CentredPosition());
        shownBefore_ = true;
    }
    show();
    raise();
    activateWindow();
    statsView_->repaintNow();
    diveStatsView_->repaintNow();
    UpdateChart();
}

ScoreBandChart TDiveStats::CurrentChart() const {
    return ScoreBandChartOf(statsGrid_, diveStatsGrid_, diveStatsView_->currentRow(), chartTitle_);
}

QString TDiveStats::PictureName() const {
    QString code = QString::fromLatin1(statsGrid_.Cell(0, 1).c_str());
    // A code read from a result file may hold anything; a file name takes letters and digits.
    for (QChar& c : code) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    }
    const QString stem = eventId_.isEmpty() ? code : eventId_ + QLatin1Char('-') + code;
    return stem + QStringLiteral(".png");
}

void TDiveStats::UpdateChart() {
    if (scoreBands_ && scoreBands_->isVisible())
        scoreBands_->ShowChart(CurrentChart(), PictureName());
}

void TDiveStats::ButtonChartClick() {
    if (!scoreBands_) {
        ScoreBandsHost chartHost = host_.chart;
        if (!chartHost.messages)
            chartHost.messages = host_.messages;
        // Owned by the main window, like this one; it lives until the program ends.
        QWidget* owner = parentWidget() ? parentWidget() : this;
        scoreBands_ = new TScoreBands(std::move(chartHost), owner);
    }
    scoreBands_->ShowChart(CurrentChart(), PictureName());
    scoreBands_->ShowBeside(*this);
}

void TDiveStats::ButtonCopyClick() {
    const int columns = diveStatsGrid_.ColCount() - 2;
    const QString text = FromCellBytes(TableText(diveStatsGrid_, columns));
    if (host_.clipboard == nullptr || !host_.clipboard->SetText(text)) {
        if (host_.messages)
            host_.messages->Error(QStringLiteral("Cannot open clipboard"));
    }
}

void TDiveStats::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

void TDiveStats::keyPressEvent(QKeyEvent* event) {
    // A dialog hides itself on Escape; this window stays until its close box is used.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace corvane
