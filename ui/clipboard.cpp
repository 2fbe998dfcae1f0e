// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace corvane {

bool SystemClipboard::SetText(const QString& text) {
    // Without an application object there is no clipboard to open (and asking Qt for one
    // would only print a warning).
    if (QGuiApplication::instance() == nullptr)
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    // setText replaces the whole mime data, so formats held before are dropped.
    clipboard->setText(text, QClipboard::Clipboard);
    return true;
}

} // namespace corvane
