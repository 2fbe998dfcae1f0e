// SPDX-License-Identifier: GPL-3.0-or-later
#include "user_messages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace corvane {

namespace {

// The messages shorten what they quote from a file themselves; paths and the messages' own
// words are shown whole. Only a path beyond the system's limit of 4,096 bytes (one the program
// was given but could not use) can make a longer message: it is shortened in the middle.
constexpr qsizetype kLongestPath = 4096;
constexpr qsizetype kLongestBoxText = kLongestPath + 256; // room for the words around a path
constexpr qsizetype kKeptHead = kLongestPath / 2;
constexpr qsizetype kKeptTail = kLongestPath / 2;

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
