// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/breakdown_window.h"

#include "analysis/drill_down.h"
#include "analysis/table_text.h"
#include "store/events.h"
#include "ui/cell_drawing.h"
#include "ui/clipboard.h"
#include "ui/string_grid_view.h"
#include "ui/text_encoding.h"
#include "ui/user_messages.h"
#include "ui/window_style.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <string_view>
#include <utility>

namespace corvane {

namespace {

constexpr int kStatsGridHeight = 40;
constexpr int kTitleBarHeight = 29;
constexpr int kTitleHeight = 24;
constexpr int kTitleFontPixels = 19;
constexpr QRect kButtonCopyRect{8, 2, 137, 25};
// "Show Chart" mirrors the copy button at the bar's right end.
constexpr QRect kButtonChartRect{BreakdownWindow::kClientWidth - 8 - 137, 2, 137, 25};

} // namespace

BreakdownWindow::BreakdownWindow(BreakdownHost host, QWidget* parent)
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
    SetUpDiverTable();
}

BreakdownWindow::~BreakdownWindow() {
    // The views refer to the grids, which are members and die before QWidget deletes its
    // children: take the views down first.
    delete summaryView_;
    delete diverView_;
}

void BreakdownWindow::BuildLayout() {
    summaryView_ = new StringGridView(summaryTable_, this);
    summaryView_->setObjectName(QStringLiteral("StatsGrid"));
    summaryView_->setGeometry(0, 0, kClientWidth, kStatsGridHeight);
    summaryView_->setFixedCounts(1, 1);
    summaryView_->setHorizontalScrolling(true);
    UseCellLook(*summaryView_, [this](int col, int row, bool isCurrent) {
        return LookOfSummaryCell(col, row, isCurrent);
    });

    BuildTitleBar();

    const int gridTop = kStatsGridHeight + kTitleBarHeight;
    diverView_ = new StringGridView(diverTable_, this);
    diverView_->setObjectName(QStringLiteral("DiveStatsGrid"));
    diverView_->setGeometry(0, gridTop, kClientWidth, kClientHeight - gridTop);
    diverView_->setFixedCounts(1, 1);
    diverView_->setHorizontalScrolling(true);
    // The hand cursor over the headers needs moves without a button held.
    diverView_->viewport()->setMouseTracking(true);
    UseCellLook(*diverView_, [this](int col, int row, bool isCurrent) {
        return LookOfDiverCell(col, row, isCurrent);
    });
    connect(diverView_, &StringGridView::mousePressed, this,
            &BreakdownWindow::OnDiverGridMouseDown);
    connect(diverView_, &StringGridView::mouseMoved, this, &BreakdownWindow::OnDiverGridMouseMove);
    connect(diverView_, &StringGridView::currentCellChanged, this, &BreakdownWindow::UpdateChart);
}

void BreakdownWindow::BuildTitleBar() {
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
    connect(buttonCopy_, &QPushButton::clicked, this, &BreakdownWindow::CopyTableToClipboard);
    buttonChart_ = TitleBarButton("Show Chart", "ButtonChart", kButtonChartRect);
    connect(buttonChart_, &QPushButton::clicked, this, &BreakdownWindow::ShowChartWindow);
}

QPushButton* BreakdownWindow::TitleBarButton(const char* text, const char* name, QRect rect) {
    auto* button = new QPushButton(QString::fromLatin1(text), titleBar_);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    // Enter in the window must not press it: the buttons act on a click only.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->raise();
    return button;
}

void BreakdownWindow::SetUpDiverTable() {
    diverTable_.SetColWidth(0, 200);
    diverTable_.SetColWidth(1, 46);
    diverTable_.SetColWidth(2, 46);
    diverTable_.SetCell(0, 0, "Name");
    diverTable_.SetCell(1, 0, "Nation");
    diverTable_.SetCell(2, 0, "Count");
    diverSortCol_ = 2;
}

void BreakdownWindow::OnDiverGridMouseDown(Qt::MouseButton /*button*/,
                                           Qt::KeyboardModifiers /*shift*/, QPoint pos) {
    const QPoint cell = diverView_->cellAt(pos);
    diverSortCol_ = cell.x();
    if (host_.setClickedRow)
        host_.setClickedRow(cell.y());
    // The Name column is fixed, so the view moves no current cell there; a click on a name
    // picks that diver's row all the same, for the chart.
    if (cell.y() > 0 && cell.x() == kDiverNameCol)
        diverView_->setCurrentCell(std::max(diverView_->currentCol(), 1), cell.y());
    if (cell.y() != 0) {
        // No row moves; only the bold header follows the new sort column.
        diverView_->viewport()->update();
        return;
    }
    const SortSplit split = host_.sortSplit ? host_.sortSplit() : SortSplit{};
    SortDiveStats(diverTable_, diverSortCol_, split);
    diverView_->repaintNow();
    // The current row now holds another diver.
    UpdateChart();
}

void BreakdownWindow::OnDiverGridMouseMove(QPoint pos) {
    const bool overHeader = diverView_->cellAt(pos).y() == 0;
    diverView_->viewport()->setCursor(overHeader ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

CellLook BreakdownWindow::LookOfSummaryCell(int col, int row, bool isCurrent) const {
    return SummaryCellLook(summaryTable_, col, row, CurrentThresholds(), isCurrent);
}

CellLook BreakdownWindow::LookOfDiverCell(int col, int row, bool isCurrent) const {
    return DiverCellLook(diverTable_, col, row, CurrentThresholds(), diverSortCol_, isCurrent);
}

Thresholds BreakdownWindow::CurrentThresholds() const {
    return host_.thresholds ? host_.thresholds() : Thresholds{};
}

QPoint BreakdownWindow::CentredPosition() const {
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

void BreakdownWindow::ShowBreakdown(DiveBreakdown breakdown) {
    breakdown_ = std::move(breakdown);
    labelTitle_->setText(FromCellBytes(breakdown_.title));
    if (!shownBefore_) {
        // An explicit move also tells Qt the position is chosen, so later showings keep the
        // position the window last had instead of being placed afresh.
        move(CentredPosition());
        shownBefore_ = true;
    }
    show();
    raise();
    activateWindow();
    summaryView_->repaintNow();
    diverView_->repaintNow();
    UpdateChart();
}

ScoreBandChart BreakdownWindow::CurrentChart() const {
    // The row's name says which diver it is; the bars come from the breakdown itself.
    const int row = diverView_->currentRow();
    const bool inTable = row >= 1 && row < diverTable_.RowCount();
    return ScoreBandChartOf(breakdown_,
                            inTable ? breakdown_.DiverNamed(diverTable_.Cell(kDiverNameCol, row))
                                    : nullptr);
}

QString BreakdownWindow::PictureName() const {
    QString code = QString::fromLatin1(breakdown_.diveCode.c_str());
    // A code read from a result file may hold anything; a file name takes letters and digits.
    for (QChar& c : code) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    }
    if (breakdown_.eventIndex < 1)
        return code + QStringLiteral(".png");
    const std::string_view eventId = EventByIndex(breakdown_.eventIndex).id;
    const QString stem =
        QString::fromLatin1(eventId.data(), qsizetype(eventId.size())) + QLatin1Char('-') + code;
    return stem + QStringLiteral(".png");
}

void BreakdownWindow::UpdateChart() {
    if (chartWindow_ && chartWindow_->isVisible())
        chartWindow_->ShowChart(CurrentChart(), PictureName());
}

void BreakdownWindow::ShowChartWindow() {
    if (!chartWindow_) {
        ScoreBandsHost chartHost = host_.chart;
        if (!chartHost.messages)
            chartHost.messages = host_.messages;
        // Owned by the main window, like this one; it lives until the program ends.
        QWidget* owner = parentWidget() ? parentWidget() : this;
        chartWindow_ = new ScoreBandsWindow(std::move(chartHost), owner);
    }
    chartWindow_->ShowChart(CurrentChart(), PictureName());
    chartWindow_->ShowBeside(*this);
}

void BreakdownWindow::CopyTableToClipboard() {
    const int columns = diverTable_.ColCount() - 2;
    const QString text = FromCellBytes(TableText(diverTable_, columns));
    if (host_.clipboard == nullptr || !host_.clipboard->SetText(text)) {
        if (host_.messages)
            host_.messages->Error(QStringLiteral("Cannot open clipboard"));
    }
}

void BreakdownWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

void BreakdownWindow::keyPressEvent(QKeyEvent* event) {
    // A dialog hides itself on Escape; this window stays until its close box is used.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace corvane
