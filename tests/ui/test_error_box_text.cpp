// SPDX-License-Identifier: GPL-3.0-or-later
// The text the general error box shows for a message.
#include "ui/user_messages.h"

#include <QTest>

using namespace corvane;

class TestErrorBoxText : public QObject {
    Q_OBJECT

private slots:
    void errorBoxText_data();
    void errorBoxText();
};

void TestErrorBoxText::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Unable to write to /x/DD.ini"
                            << "Unable to write to /x/DD.ini.";
    QTest::newRow("quote") << "'2,4' is not a valid floating point value"
                           << "'2,4' is not a valid floating point value.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("bracket") << "see (a)"
                             << "see (a)";
    QTest::newRow("dash") << "a -"
                          << "a -";
    QTest::newRow("slash") << "a/"
                           << "a/.";
    QTest::newRow("empty") << ""
                           << "";
    // A path is shown whole up to the system's limit; only a longer text is cut.
    QString longest = QStringLiteral("/data");
    while (longest.size() < 4096 - 7) {
        longest += QStringLiteral("/folder");
    }
    longest = longest.left(4096 - 7) + QStringLiteral("/DD.ini");
    QTest::newRow("longest path") << "Unable to write to " + longest
                                  << "Unable to write to " + longest + ".";
    const QString beyond = "Unable to write to " + longest + longest;
    QTest::newRow("beyond the limit")
        << beyond << beyond.left(2048) + QStringLiteral(" \u2026 ") + beyond.right(2048) + ".";
}

void TestErrorBoxText::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

QTEST_APPLESS_MAIN(TestErrorBoxText)
#include "test_error_box_text.moc"
