// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_style.h"

#include <QFontDatabase>

namespace corvane {

namespace {

// Asking the font database resolves the name through fontconfig every time, a quarter of a
// millisecond per control at start-up. The program adds no fonts while it runs, so the
// answer of the first question holds for the whole run.
const QString& WindowFamily() {
    static const QString family = [] {
        const QString preferred = QStringLiteral("MS Sans Serif");
        return QFontDatabase::hasFamily(preferred) ? preferred : QStringLiteral("Liberation Sans");
    }();
    return family;
}

} // namespace

QFont WindowFont(int pixelSize, bool bold) {
    QFont font(WindowFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace corvane
