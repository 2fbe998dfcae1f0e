// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/score_bands_window.h"

#include "ui/chart_picture.h"
#include "ui/score_band_chart_view.h"
#include "ui/user_messages.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace corvane {

namespace {

constexpr int kButtonRow = 37;
constexpr QSize kButtonSize{137, 25};
constexpr int kMargin = 8;

} // namespace

ScoreBandsWindow::ScoreBandsWindow(ScoreBandsHost host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      host_(std::move(host)) {
    setWindowTitle(QStringLiteral("Score Bands"));
    const QSize chartSize = ScoreBandChartView::kChartSize;
    setFixedSize(chartSize.width(), chartSize.height() + kButtonRow);
    setModal(false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    chartView_ = new ScoreBandChartView(this);
    chartView_->setGeometry(QRect(QPoint(0, 0), chartSize));
    buttonSave_ = new QPushButton(QStringLiteral("Save Picture..."), this);
    buttonSave_->setObjectName(QStringLiteral("ButtonSave"));
    buttonSave_->setGeometry(
        QRect(QPoint(chartSize.width() - kMargin - kButtonSize.width(),
                     chartSize.height() + (kButtonRow - kButtonSize.height()) / 2),
              kButtonSize));
    buttonSave_->setAutoDefault(false);
    connect(buttonSave_, &QPushButton::clicked, this, &ScoreBandsWindow::SavePictureAs);
}

void ScoreBandsWindow::ShowChart(const ScoreBandChart& chart, const QString& pictureName) {
    chartView_->ShowChart(chart);
    pictureName_ = pictureName;
}

QPoint BesidePosition(const QRect& anchor, const QSize& frame, const QRect& available) {
    const QPoint right(anchor.right() + 1, anchor.top());
    if (!available.isValid())
        return right;
    const auto inside = [&](QPoint topLeft) {
        topLeft.setX(std::clamp(topLeft.x(), available.left(),
                                std::max(available.left(), available.right() + 1 - frame.width())));
        topLeft.setY(
            std::clamp(topLeft.y(), available.top(),
                       std::max(available.top(), available.bottom() + 1 - frame.height())));
        return topLeft;
    };
    if (right.x() + frame.width() <= available.right() + 1)
        return inside(right);
    // Below keeps the anchor's top, with its title bar and "Show Chart", in sight even where
    // the screen has too little room and the window must cover the anchor's lower part.
    return inside(QPoint(anchor.left(), anchor.bottom() + 1));
}

QPoint ScoreBandsWindow::BesidePosition(const QWidget& anchor) const {
    const QScreen* screen = anchor.screen();
    // This window is not mapped yet: its frame is taken to match the anchor's.
    const QSize frame = size() + (anchor.frameGeometry().size() - anchor.geometry().size());
    return corvane::BesidePosition(anchor.frameGeometry(), frame,
                                   screen ? screen->availableGeometry() : QRect());
}

void ScoreBandsWindow::ShowBeside(const QWidget& anchor) {
    if (!shownBefore_) {
        // An explicit move tells Qt the position is chosen; later showings keep the last one.
        move(BesidePosition(anchor));
        shownBefore_ = true;
    }
    show();
    raise();
    activateWindow();
}

void ScoreBandsWindow::SavePictureAs() {
    const QString dataDir = host_.dataDir ? host_.dataDir() : QDir::currentPath();
    const QString proposed = QDir(dataDir).filePath(pictureName_);
    const QString path =
        host_.askFile ? host_.askFile(this, proposed) : AskPictureFile(this, proposed);
    if (path.isEmpty())
        return;
    const std::optional<QString> reason =
        SavePicture(*chartView_, path, chartView_->chart()->title());
    if (reason && host_.messages)
        host_.messages->Error(QStringLiteral("Unable to write to %1: %2").arg(path, *reason));
}

void ScoreBandsWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

QString AskPictureFile(QWidget* parent, const QString& proposed) {
    QFileDialog dialog(parent, QStringLiteral("Save Picture"), proposed,
                       QStringLiteral("PNG picture (*.png);;SVG picture (*.svg)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace corvane
