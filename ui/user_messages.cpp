// SPDX-License-Identifier: GPL-3.0-or-later
#include "user_messages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace corvane {

namespace {

// A longer message is shortened in the middle: a result line can quote a field of megabytes,
// which would make a box wider than the screen and take minutes to lay out.
constexpr qsizetype kLongestBoxText = 200;
constexpr qsizetype kKeptHead = 100;
constexpr qsizetype kKeptTail = 60;

QString Shortened(const QString& text) {
    if (text.size() <= kLongestBoxText) {
        return text;
    }
    // Never cut a character that takes two UTF-16 units in half.
    qsizetype head = kKeptHead;
    if (text.at(head - 1).isHighSurrogate()) {
        --head;
    }
    qsizetype tail = kKeptTail;
    if (text.at(text.size() - tail).isLowSurrogate()) {
        --tail;
    }
    return text.left(head) + QStringLiteral(" \u2026 ") + text.right(tail);
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    // The application title is the caption of every box.
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void MessageBoxes::Notice(const QString& text) {
    ShowBox(parent_, QMessageBox::NoIcon, text);
}

void MessageBoxes::Error(const QString& message) {
    ShowBox(parent_, QMessageBox::Critical, ErrorBoxText(message));
}

QString ErrorBoxText(const QString& message) {
    const QString text = Shortened(message);
    if (!message.isEmpty() && message.back() > u'.') {
        return text + u'.';
    }
    return text;
}

} // namespace corvane
