// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chart_render.h"

#include "ui/chart_picture.h"
#include "ui/score_band_chart_view.h"

#include <QApplication>

#include <iostream>
#include <memory>

namespace corvane {

namespace {

// The widgets need an application; a command-line run draws on the offscreen platform, so
// it needs no display.
// Only Qt's own failures reach the user; its notes about the environment would only clutter
// the output of a script.
void CriticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "dive-tables: " << message.toLocal8Bit().constData() << '\n';
}

std::unique_ptr<QApplication> OffscreenApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    qInstallMessageHandler(CriticalOnly);
    static int argc = 3;
    static char name[] = "dive-tables";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

std::optional<std::string> WriteChartPicture(const ScoreBandChart& chart, const std::string& path) {
    const std::unique_ptr<QApplication> application = OffscreenApplication();
    ScoreBandChartView view;
    view.ShowChart(chart);
    // The chart lays out its title, legend and axes on posted events, which no event loop
    // delivers here.
    QCoreApplication::sendPostedEvents();
    const std::optional<QString> reason = SavePicture(view, QString::fromLocal8Bit(path.c_str()),
                                                      QString::fromLatin1(chart.title.c_str()));
    if (!reason)
        return std::nullopt;
    return reason->toLocal8Bit().toStdString();
}

} // namespace corvane
