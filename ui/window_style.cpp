// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_style.h"

#include <QFontDatabase>

namespace corvane {

QFont WindowFont(int pixelSize, bool bold) {
    const QString preferred = QStringLiteral("MS Sans Serif");
    QFont font(QFontDatabase::hasFamily(preferred) ? preferred : QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace corvane
