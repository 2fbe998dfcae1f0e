#include "user_messages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace corvane {

namespace {

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
    if (!message.isEmpty() && message.back() > u'.') {
        return message + u'.';
    }
    return message;
}

} // namespace corvane
