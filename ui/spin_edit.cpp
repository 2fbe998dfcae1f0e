// SPDX-License-Identifier: GPL-3.0-or-later
#include "spin_edit.h"

#include "store/number_text.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace corvane {

SpinEdit::SpinEdit(int decimals, double step, double maximum, QWidget* parent)
    : QAbstractSpinBox(parent), decimals_(decimals), step_(step), maximum_(maximum) {
    setAccelerated(false);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::changed);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { editedByUser_ = true; });
    // A typed value beyond the maximum is brought back once the user is done with it, so
    // that the field does not jump while "150" is on its way to "15".
    connect(this, &QAbstractSpinBox::editingFinished, this, &SpinEdit::BringBackIntoRange);
}

double SpinEdit::value() const {
    // The painters read every threshold for every cell they draw: convert a text once.
    const QString shown = text();
    if (!valueKnown_ || shown != valueText_) {
        valueText_ = shown;
        value_ = Clamp(Parse(shown));
        valueKnown_ = true;
    }
    return value_;
}

void SpinEdit::setValue(double value) {
    ShowText(Format(Clamp(value)));
}

QValidator::State SpinEdit::validate(QString& input, int& /*pos*/) const {
    if (input.size() > kTypedLength && (editedByUser_ || input != shownByProgram_)) {
        return QValidator::Invalid;
    }
    if (!HasOnlyNumberCharacters(input)) {
        return QValidator::Invalid;
    }
    return Parse(input) > maximum_ ? QValidator::Intermediate : QValidator::Acceptable;
}

void SpinEdit::fixup(QString& input) const {
    if (Parse(input) > maximum_) {
        input = Format(maximum_);
    }
}

void SpinEdit::stepBy(int steps) {
    setValue(value() + steps * step_);
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    if (isReadOnly()) {
        return StepNone;
    }
    const double current = value();
    StepEnabled enabled = StepNone;
    if (current < maximum_) {
        enabled |= StepUpEnabled;
    }
    if (current > 0) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    const bool pageUp = event->key() == Qt::Key_PageUp;
    if ((pageUp || event->key() == Qt::Key_PageDown) && !isReadOnly()) {
        setValue(value() + (pageUp ? kLargeStep : -kLargeStep));
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

double SpinEdit::Clamp(double value) const {
    const double scale = std::pow(10.0, decimals_);
    // Steps of 0.1 add up to 3.0000000000000004; the control holds its own precision only.
    const double rounded = std::round(value * scale) / scale;
    return std::clamp(rounded, 0.0, maximum_);
}

QString SpinEdit::Format(double value) const {
    return QString::fromStdString(FormatFixed(value, decimals_));
}

double SpinEdit::Parse(const QString& text) const {
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok ? number : 0.0;
}

bool SpinEdit::HasOnlyNumberCharacters(const QString& text) const {
    int points = 0;
    for (const QChar c : text) {
        if (c == u'.' && decimals_ > 0) {
            ++points;
        } else if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return points <= 1;
}

void SpinEdit::ShowText(const QString& text) {
    shownByProgram_ = text;
    editedByUser_ = false;
    lineEdit()->setText(text);
}

void SpinEdit::BringBackIntoRange() {
    QString shown = text();
    fixup(shown);
    if (shown != text()) {
        ShowText(shown);
    }
}

} // namespace corvane
