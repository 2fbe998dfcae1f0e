// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/unit_main.h"
#include "ui/unit_stats.h"

#include <QApplication>

namespace {

// A pause this long in typing starts a new incremental search in the filter lists.
constexpr int kIncrementalSearchPauseMs = 500;

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name only: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(corvane::kApplicationTitle));
    QApplication::setKeyboardInputInterval(kIncrementalSearchPauseMs);

    corvane::TForm1 form;
    // Hidden until a breakdown shows it; a child of the main window, so it ends with it.
    auto* diveStats = new corvane::TDiveStats(form.MakeDiveStatsHost(), &form);
    form.AttachDiveStats(diveStats);
    form.show();
    return QApplication::exec();
}
