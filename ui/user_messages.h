// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace corvane {

// The two boxes that report to the user. The window talks to this seam so that tests can
// record the messages instead of blocking on a modal box.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A plain notice with one OK button, captioned with the application title.
    virtual void Notice(const QString& text) = 0;
    // The general error box: error icon, OK, the application title as caption, and a full
    // stop appended when the message's last character comes after "." in character order.
    virtual void Error(const QString& message) = 0;
};

// The real boxes, modal over `parent`.
class MessageBoxes : public UserMessages {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void Notice(const QString& text) override;
    void Error(const QString& message) override;

private:
    QWidget* parent_;
};

// The text the error box shows for `message`: with its full stop. A message is shown whole
// (a path in it up to 4,096 bytes); only a longer one is shortened in the middle.
QString ErrorBoxText(const QString& message);

} // namespace corvane
