// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/score_band_chart.h"

#include <QDialog>

#include <functional>
#include <string>

class QPushButton;

namespace corvane {

class ScoreBandChartView;
class UserMessages;

// What the chart window needs of the program: the error box, and where pictures go first.
struct ScoreBandsHost {
    UserMessages* messages = nullptr;
    std::function<QString()> dataDir;
    // Asks for the file to save to, proposing `proposed`; empty when the user cancels.
    // Unset: the file dialog of AskPictureFile.
    std::function<QString(QWidget* parent, const QString& proposed)> askFile;
};

// The "Score Bands" window: the chart of the breakdown shown in the Dive Statistics window,
// and "Save Picture...". Closing it only hides it.
class ScoreBandsWindow : public QDialog {
    Q_OBJECT

public:
    explicit ScoreBandsWindow(ScoreBandsHost host, QWidget* parent = nullptr);

    ScoreBandChartView* Chart() const { return chartView_; }
    QPushButton* ButtonSave() const { return buttonSave_; }

    // Draws `chart`; `pictureName` is the file name "Save Picture..." proposes.
    void ShowChart(const ScoreBandChart& chart, const QString& pictureName);
    // Shows the window and brings it to the front: the first time beside `anchor` (see
    // BesidePosition), later where the user left it.
    void ShowBeside(const QWidget& anchor);

public slots:
    void SavePictureAs();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPoint BesidePosition(const QWidget& anchor) const;

    ScoreBandsHost host_;
    ScoreBandChartView* chartView_ = nullptr;
    QPushButton* buttonSave_ = nullptr;
    QString pictureName_;
    bool shownBefore_ = false;
};

// Where a window with frame size `frame` goes beside the frame `anchor` on the screen area
// `available`: right of it where the screen has room, else below it; moved into the screen
// where it would leave it.
QPoint BesidePosition(const QRect& anchor, const QSize& frame, const QRect& available);

// The file dialog of "Save Picture...": PNG or SVG, proposing `proposed`.
QString AskPictureFile(QWidget* parent, const QString& proposed);

} // namespace corvane
