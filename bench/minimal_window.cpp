// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt program does, as the start-up harness compares the program with: a window
// with one push button, shown, up to the first paint of the button. A program of its own,
// linked with Qt Widgets only, so it loads no library that the main window needs.
//
// Usage: corvane_minimal_window WIDTH HEIGHT

#include "bench/first_paint_watch.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int width = argc >= 3 ? std::atoi(argv[1]) : 0;
    const int height = argc >= 3 ? std::atoi(argv[2]) : 0;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QWidget window;
    window.resize(width, height);
    auto* button = new QPushButton(QStringLiteral("Close"), &window);
    button->setGeometry(16, 16, 169, 25);
    corvane::FirstFinalPaint watch(
        button, [] { return true; },
        [&] {
            corvane::PrintMoments(watch.started, window, 0);
            QCoreApplication::quit();
        });
    window.show();
    corvane::GiveUpLater();
    return QApplication::exec();
}
