// SPDX-License-Identifier: GPL-3.0-or-later
// The hostile files of tests/data/bad-input as the user meets them: the program started on
// each case shows the message its expected.txt names (through the message seam), keeps
// running where it can, and says so when it cannot write DD.ini.
#include "ui/breakdown_window.h"
#include "ui/clipboard.h"
#include "ui/main_window.h"
#include "ui/spin_edit.h"
#include "ui/user_messages.h"
#include "window_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTest>

#include <map>
#include <memory>
#include <string>

using namespace corvane;
using namespace corvane::testing;

namespace {

const QString kCorpus = QStringLiteral(CORVANE_TEST_DATA_DIR "/bad-input");

// One run of the program in the current folder, until its start-up step has ended: a
// hostile file may end it with an error box or with the window gone.
struct Session : WindowSession {
    bool Start() {
        Show();
        return QTest::qWaitFor(
            [this] { return !form->IsBusy() || !messages.errors.isEmpty() || !form->isVisible(); },
            kTimeoutMs);
    }
};

// expected.txt values may hold \xHH, \t, \r, \n and \\ escapes.
QByteArray Unescape(const QByteArray& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[++i];
        if (kind == 'x') {
            out += static_cast<char>(text.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            out += kind == 't' ? '\t' : kind == 'r' ? '\r' : kind == 'n' ? '\n' : kind;
        }
    }
    return out;
}

std::map<QByteArray, QByteArray> ReadExpected(const QString& caseDir) {
    QFile file(caseDir + QStringLiteral("/expected.txt"));
    std::map<QByteArray, QByteArray> expected;
    if (!file.open(QIODevice::ReadOnly))
        return expected;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon > 0)
            expected[line.left(colon)] = Unescape(line.mid(colon + 2));
    }
    return expected;
}

// How the window turns the core's bytes into text: UTF-8 where they are, else Latin-1.
QString AsShown(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// Copies the case's files and folders into `to`, leaving expected.txt behind.
bool CopyCase(const QString& from, const QString& to) {
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.fileName() == QStringLiteral("expected.txt"))
            continue;
        if (entry.isDir() ? !(QDir().mkpath(target) && CopyCase(entry.filePath(), target))
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// One record in each event file the case does not bring.
void FillOtherEvents(const QString& dir) {
    for (const char* id : {"W3M", "M10M", "W10M"}) {
        QFile file(dir + u'/' + QString::fromLatin1(id));
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write(QByteArray(id) + "\t101B\t1.5\t39.75\t\r\n");
    }
}

QString Describe(const MainWindow& form) {
    QString text =
        QStringLiteral("%1 %2 %3 %4 %5 %6 /")
            .arg(form.VarCount()->text(), form.VarDD()->text(), form.VarPercent()->text(),
                 form.Var2Col()->text(), form.Var9()->text(), form.VarSortCount()->text());
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex)
        text += u' ' + QString::number(form.SortColOf(eventIndex));
    return text;
}

// One data row per case folder of the corpus' `kind` folder.
void AddCaseRows(const QString& kind) {
    QTest::addColumn<QString>("caseDir");
    const QString kindDir = kCorpus + u'/' + kind;
    for (const QString& name : QDir(kindDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QTest::newRow(qPrintable(name)) << kindDir + u'/' + name;
}

} // namespace

class TestBadInputWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void resultFiles_data();
    void resultFiles();
    void settingsFiles_data();
    void settingsFiles();
    void hugeFieldGivesAReadableBox();

private:
    std::unique_ptr<TestFolder> folder_;
};

void TestBadInputWindow::initTestCase() {
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QVERIFY(QDir(kCorpus).exists());
}

void TestBadInputWindow::init() {
    folder_ = std::make_unique<TestFolder>();
    QVERIFY(folder_->Enter());
}

void TestBadInputWindow::cleanup() {
    folder_.reset();
}

void TestBadInputWindow::resultFiles_data() {
    AddCaseRows(QStringLiteral("results"));
}

void TestBadInputWindow::resultFiles() {
    QFETCH(QString, caseDir);
    auto expected = ReadExpected(caseDir);
    QVERIFY(CopyCase(caseDir, folder_->path()));
    FillOtherEvents(folder_->path());
    const QByteArray path = QFile::encodeName(folder_->filePath(QStringLiteral("M3M")));
    Session session;
    QVERIFY(session.Start());
    const QByteArray outcome = expected["outcome"];
    if (outcome == "loaded") {
        QVERIFY(session.messages.errors.isEmpty());
        QVERIFY(session.messages.notices.isEmpty());
        QVERIFY(!session.form->IsBusy());
    } else if (outcome == "failed") {
        // The error box, and the window stays with its controls held until "Re-Generate Stats".
        QCOMPARE(session.messages.errors,
                 QStringList{AsShown(expected["message"].replace("{path}", path))});
        QVERIFY(session.messages.notices.isEmpty());
        QVERIFY(session.form->IsBusy());
        QVERIFY(session.form->isVisible());
    } else {
        QCOMPARE(outcome, QByteArray("missing"));
        QCOMPARE(session.messages.notices,
                 QStringList{QStringLiteral("Could not find file\n%1\nCannot continue")
                                 .arg(QFile::decodeName(path))});
        QVERIFY(!session.form->isVisible());
        QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("DD.ini"))));
    }
}

void TestBadInputWindow::settingsFiles_data() {
    AddCaseRows(QStringLiteral("settings"));
}

void TestBadInputWindow::settingsFiles() {
    QFETCH(QString, caseDir);
    auto expected = ReadExpected(caseDir);
    QVERIFY(CopyCase(caseDir, folder_->path()));
    QVERIFY(folder_->WriteFile(QStringLiteral("M3M"), "1\t101B\t1.5\t39.75\t\r\n"));
    FillOtherEvents(folder_->path());
    const QString ini = folder_->filePath(QStringLiteral("DD.ini"));
    Session session;
    QVERIFY(session.Start());
    QVERIFY(session.messages.errors.isEmpty());
    // The controls show what the file held, or the fallbacks, without a word.
    QCOMPARE(Describe(*session.form), QString::fromLatin1(expected["read"]));

    session.form->close();
    if (expected["write"] == "ok") {
        QVERIFY(session.messages.errors.isEmpty());
        // What the window wrote reads back as what it showed.
        Session again;
        QVERIFY(again.Start());
        QCOMPARE(Describe(*again.form), QString::fromLatin1(expected["read"]));
        again.form->close();
    } else {
        QCOMPARE(
            session.messages.errors,
            QStringList{
                QString::fromLatin1(expected["write"]).replace(QStringLiteral("{path}"), ini)});
    }
    QVERIFY(!session.form->isVisible()); // the window closes all the same
}

// A field of megabytes is quoted short; the box shows the message whole, with its words.
void TestBadInputWindow::hugeFieldGivesAReadableBox() {
    FillOtherEvents(folder_->path());
    const QByteArray huge(10 * 1024 * 1024, '7');
    QVERIFY(folder_->WriteFile(QStringLiteral("M3M"), "1\t101B\t1.5\t" + huge + "\t\r\n"));
    Session session;
    QVERIFY(session.Start());
    QCOMPARE(session.messages.errors.size(), 1);
    const QString message = session.messages.errors.front();
    const QString field = QString(60, u'7') + QStringLiteral("...") + QString(30, u'7');
    QCOMPARE(message, u'\'' + field + QStringLiteral("' is not a valid floating point value"));
    QCOMPARE(ErrorBoxText(message), message + u'.');
}

QTEST_MAIN(TestBadInputWindow)
#include "test_bad_input_window.moc"
