// SPDX-License-Identifier: GPL-3.0-or-later
// The threshold control: typing, its limits, the buttons and the keys.
#include "ui/spin_edit.h"
#include "window_test_support.h"

#include <QSignalSpy>
#include <QTest>

using namespace corvane;
using namespace corvane::testing;

class TestSpinEdit : public QObject {
    Q_OBJECT

private slots:
    void spinEditTyping();
    void spinEditButtonsAndKeys();
};

void TestSpinEdit::spinEditTyping() {
    SpinEdit count(0, 5, 9999);
    QSignalSpy changes(&count, &SpinEdit::changed);
    count.setValue(50);
    TypeInto(&count, QStringLiteral("1234"));
    QCOMPARE(count.text(), QStringLiteral("123")); // the fourth character is refused
    QCOMPARE(count.value(), 123.0);
    QVERIFY(changes.count() >= 4);

    TypeInto(&count, QStringLiteral("-a1"));
    QCOMPARE(count.text(), QStringLiteral("1"));

    // Four digits from the buttons stay, but the user cannot type them back in.
    count.setValue(9995);
    QTest::keyClick(&count, Qt::Key_End);
    QTest::keyClick(&count, Qt::Key_Backspace);
    QTest::keyClick(&count, Qt::Key_5);
    QCOMPARE(count.text(), QStringLiteral("999"));
    count.setValue(9995);
    QCOMPARE(count.text(), QStringLiteral("9995"));

    count.selectAll();
    QTest::keyClick(&count, Qt::Key_Delete);
    QTest::keyClick(&count, Qt::Key_Return);
    QCOMPARE(count.text(), QString()); // empty stays empty and reads 0
    QCOMPARE(count.value(), 0.0);

    SpinEdit percent(0, 5, 100);
    TypeInto(&percent, QStringLiteral("150"));
    QCOMPARE(percent.value(), 100.0); // read as the limit at once
    QTest::keyClick(&percent, Qt::Key_Return);
    QCOMPARE(percent.text(), QStringLiteral("100")); // and written back when done

    SpinEdit dd(1, 0.1, 9.9);
    dd.setValue(3);
    QCOMPARE(dd.text(), QStringLiteral("3.0"));
    TypeInto(&dd, QStringLiteral("2.55"));
    QCOMPARE(dd.text(), QStringLiteral("2.5"));
    TypeInto(&dd, QStringLiteral("2.5."));
    QCOMPARE(dd.text(), QStringLiteral("2.5"));
    TypeInto(&dd, QStringLiteral("12"));
    QTest::keyClick(&dd, Qt::Key_Return);
    QCOMPARE(dd.text(), QStringLiteral("9.9"));
}

void TestSpinEdit::spinEditButtonsAndKeys() {
    SpinEdit count(0, 5, 9999);
    count.setValue(9990);
    QTest::keyClick(&count, Qt::Key_Up);
    QCOMPARE(count.text(), QStringLiteral("9995"));
    QTest::keyClick(&count, Qt::Key_Up);
    QCOMPARE(count.text(), QStringLiteral("9999")); // four digits by the buttons
    count.stepBy(1);
    QCOMPARE(count.text(), QStringLiteral("9999"));
    QTest::keyClick(&count, Qt::Key_PageDown);
    QCOMPARE(count.text(), QStringLiteral("9989"));
    count.setValue(3);
    QTest::keyClick(&count, Qt::Key_Down);
    QCOMPARE(count.text(), QStringLiteral("0"));
    count.setValue(-5);
    QCOMPARE(count.text(), QStringLiteral("0"));
    QTest::keyClick(&count, Qt::Key_PageUp);
    QCOMPARE(count.text(), QStringLiteral("10"));

    SpinEdit dd(1, 0.1, 9.9);
    dd.setValue(3.0);
    for (int i = 0; i < 3; ++i) {
        dd.stepBy(1);
    }
    QCOMPARE(dd.text(), QStringLiteral("3.3"));
    dd.setValue(9.85);
    QCOMPARE(dd.text(), QStringLiteral("9.9"));
    dd.stepBy(1);
    QCOMPARE(dd.text(), QStringLiteral("9.9"));
}

QTEST_MAIN(TestSpinEdit)
#include "test_spin_edit.moc"
