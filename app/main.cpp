// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "ui/unit_main.h"
#include "ui/unit_stats.h"

#include <QApplication>

#include <iostream>

namespace {

// A pause this long in typing starts a new incremental search in the filter lists.
constexpr int kIncrementalSearchPauseMs = 500;

} // namespace

int main(int argc, char* argv[]) {
    // Answered before the application exists: --help needs no display, and Qt must not take
    // a folder name for one of its own options.
    const corvane::StartRequest request = corvane::ParseStartArguments({argv + 1, argv + argc});
    if (const auto status = corvane::AnswerWithoutWindow(request, std::cout, std::cerr)) {
        return *status;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The name only: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(corvane::kApplicationTitle));
    QApplication::setKeyboardInputInterval(kIncrementalSearchPauseMs);

    corvane::TForm1 form;
    if (!request.dataFolder.empty()) {
        form.SetDataFolder(corvane::DataFolderPath(request.dataFolder));
    }
    // Hidden until a breakdown shows it; a child of the main window, so it ends with it.
    auto* diveStats = new corvane::TDiveStats(form.MakeDiveStatsHost(), &form);
    form.AttachDiveStats(diveStats);
    form.show();
    return QApplication::exec();
}
