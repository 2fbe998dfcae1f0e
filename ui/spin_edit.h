// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSpinBox>

namespace corvane {

// A threshold control: the text the user sees is the value. Typing stops at three
// characters although the buttons reach the maximum; an empty field reads as 0 and stays
// empty; a value beyond the maximum reads as the maximum and is written back as the maximum
// when it is spun or when the user leaves the field or presses Enter.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    static constexpr int kTypedLength = 3;
    static constexpr double kLargeStep = 10;

    // `decimals` 0 takes whole numbers, 1 one decimal ("3.0"). The minimum is 0.
    SpinEdit(int decimals, double step, double maximum, QWidget* parent = nullptr);

    // The number shown, brought into 0..maximum; 0 for an empty or unreadable field.
    double value() const;
    // Shows `value`, brought into 0..maximum, in the control's format.
    void setValue(double value);

    double maximum() const { return maximum_; }
    double singleStep() const { return step_; }
    int decimals() const { return decimals_; }

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;

signals:
    // Whenever the text changes: typed, spun or set by the program.
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double Clamp(double value) const;
    QString Format(double value) const;
    // The number in `text` without clamping; empty or unreadable gives 0.
    double Parse(const QString& text) const;
    bool HasOnlyNumberCharacters(const QString& text) const;
    void ShowText(const QString& text);
    void BringBackIntoRange();

    int decimals_;
    double step_;
    double maximum_;
    // What the program itself put into the field: it may be longer than a user may type, but
    // only as long as the user has not edited it.
    QString shownByProgram_;
    // The last text value() converted, and what it came to.
    mutable bool valueKnown_ = false;
    mutable QString valueText_;
    mutable double value_ = 0;
    bool editedByUser_ = false;
};

} // namespace corvane
