// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filter_combo.h"
#include "ui/spin_edit.h"
#include "window_test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace corvane;
using namespace corvane::testing;

// The window on a data folder named on the command line, and on a folder's own roster.
class TestDataFolder : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void namedFolderIsReadAndKeepsItsSettings();
    void missingFolderGivesTheMissingFileNotice();
    void folderRosterFillsTheListsAndKeepsItsDivers();
    void badRosterEndsBeforeTheResultsAndKeepsTheSettings();
    void folderCatalogueGivesTheDDAndMovesTheBand();
    void badCatalogueEndsBeforeTheResultsAndKeepsTheSettings();
    void ownRosterStatusBarShowsTheDivesLoadedAndTheSources();

private:
    // The current folder stays empty: whatever the window reads or writes there is wrong.
    std::unique_ptr<TestFolder> current_;
    std::unique_ptr<TestFolder> data_;
};

void TestDataFolder::init() {
    current_ = std::make_unique<TestFolder>();
    data_ = std::make_unique<TestFolder>();
    QVERIFY(current_->Enter());
}

void TestDataFolder::cleanup() {
    data_.reset();
    current_.reset();
}

void TestDataFolder::namedFolderIsReadAndKeepsItsSettings() {
    QVERIFY(data_->CopySamples());
    QVERIFY(data_->WriteFile("DD.ini", "[Values]\nNine=7\n"));
    WindowSession session;
    session.form->SetDataFolder(data_->path().toStdString());
    QVERIFY(session.Start());
    QCOMPARE(session.form->DataDirectory(), data_->path().toStdString());
    QCOMPARE(session.form->Var9()->text(), QStringLiteral("7"));
    QVERIFY(session.form->EventTable(4).RowCount() > 10);
    QVERIFY(session.messages.shown.isEmpty());
    session.form->close();
    QVERIFY(QFile(data_->filePath("DD.ini")).size() > 20);
    QCOMPARE(QDir(current_->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

void TestDataFolder::missingFolderGivesTheMissingFileNotice() {
    const QString missing = data_->filePath("no-such-folder");
    WindowSession session;
    session.form->SetDataFolder(missing.toStdString());
    session.Show();
    QVERIFY(QTest::qWaitFor([&] { return !session.messages.notices.isEmpty(); }, kTimeoutMs));
    QCOMPARE(session.messages.shown,
             QStringList{"Could not find file\n" + missing + "/M3M\nCannot continue"});
    QVERIFY(!session.form->isVisible());
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!QFile::exists(current_->filePath("DD.ini")));
}

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// Writes the four result files, M3M holding `m3m` and the others empty.
bool WriteResults(const TestFolder& folder, const QByteArray& m3m) {
    return folder.WriteFile("M3M", m3m) && folder.WriteFile("W3M", {}) &&
           folder.WriteFile("M10M", {}) && folder.WriteFile("W10M", {});
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QString CountOf(const StringGrid& table, const std::string& code) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(0, row) == code)
            return QString::fromStdString(table.Cell(1, row));
    }
    return {};
}

} // namespace

void TestDataFolder::folderRosterFillsTheListsAndKeepsItsDivers() {
    // Ids of one digit: none of them is in the built-in roster.
    QVERIFY(WriteResults(*data_, "1\t101B\t1.5\t40.50\t\r\n2\t101B\t1.5\t36.00\t\r\n"
                                 "3\t105B\t2.4\t60.00\t\r\n4\t105B\t2.4\t30.00\t\r\n"));
    QVERIFY(data_->WriteFile("Divers.tsv", "Id\tSurname\tGivenName\tNation\r\n1\tONE\tA\tNOR\r\n"
                                           "2\tTWO\tB\tFIN\r\n3\tTHREE\tC\t\r\n"));
    WindowSession session;
    session.form->SetDataFolder(data_->path().toStdString());
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QCOMPARE(Items(form.DiverList()),
             QStringList({"***ALL***", "ONE, A [NOR]", "THREE, C []", "TWO, B [FIN]"}));
    QCOMPARE(Items(form.CountryList()), QStringList({"***ALL***", "FIN", "NOR"}));
    // The initial run takes every record; a run the user starts drops only diver 4.
    QCOMPARE(CountOf(form.EventTable(1), "105B"), QStringLiteral("2"));
    form.GenerateStats()->click();
    QVERIFY(session.WaitUntilIdle());
    QCOMPARE(CountOf(form.EventTable(1), "101B"), QStringLiteral("2"));
    QCOMPARE(CountOf(form.EventTable(1), "105B"), QStringLiteral("1"));
    QVERIFY(session.messages.shown.isEmpty());
}

void TestDataFolder::badRosterEndsBeforeTheResultsAndKeepsTheSettings() {
    QVERIFY(data_->CopySamples());
    QVERIFY(data_->WriteFile("Divers.tsv", "Id\tSurname\tGivenName\tNation\n15\tTAN\tMEI\tSin\n"));
    QVERIFY(data_->WriteFile("DD.ini", "[Values]\nNine=7\n"));
    WindowSession session;
    session.form->SetDataFolder(data_->path().toStdString());
    session.Show();
    QVERIFY(QTest::qWaitFor([&] { return !session.messages.shown.isEmpty(); }, kTimeoutMs));
    QCOMPARE(session.messages.errors,
             QStringList{"Divers.tsv line 2: the nation 'Sin' is not three capital letters"});
    QVERIFY(QTest::qWaitFor([&] { return !session.form->isVisible(); }, kTimeoutMs));
    QVERIFY(session.form->Store().Dives(1)[0].DiveCode.empty());
    QCOMPARE(Contents(data_->filePath("DD.ini")), QByteArray("[Values]\nNine=7\n"));
    QCOMPARE(session.messages.shown.size(), 1);
}

namespace {

// Columns DD, Avg Score and the bands ">6 to 7", ">7 to 8" of the first row.
QStringList DDScoreAndBands(const StringGrid& table) {
    QStringList cells;
    for (int col : {2, 4, 11, 12})
        cells << QString::fromStdString(table.Cell(col, 1));
    return cells;
}

} // namespace

void TestDataFolder::folderCatalogueGivesTheDDAndMovesTheBand() {
    // 75.60 on DD 3.6 is a score of 7.0; on the built-in 3.5 the first dive scores 7.2.
    QVERIFY(WriteResults(*data_, "1\t207C\t3.6\t75.60\t\r\n2\t207C\t3.6\t75.60\t\r\n"));
    {
        WindowSession session;
        session.form->SetDataFolder(data_->path().toStdString());
        QVERIFY(session.Start());
        QCOMPARE(DDScoreAndBands(session.form->EventTable(1)),
                 QStringList({"3.5", "7.2", "50.0", "50.0"}));
        session.form->close();
    }
    QVERIFY(data_->WriteFile("Catalogue.tsv", "Code\tDD3m\tDD10m\n207C\t3.6\t3.3\n"));
    WindowSession session;
    session.form->SetDataFolder(data_->path().toStdString());
    QVERIFY(session.Start());
    QCOMPARE(DDScoreAndBands(session.form->EventTable(1)),
             QStringList({"3.6", "7.0", "100.0", ""}));
    QVERIFY(session.messages.shown.isEmpty());
}

void TestDataFolder::badCatalogueEndsBeforeTheResultsAndKeepsTheSettings() {
    QVERIFY(data_->CopySamples());
    QVERIFY(data_->WriteFile("Catalogue.tsv", "Code\tDD3m\tDD10m\n207C\t3.6\t3,3\n"));
    QVERIFY(data_->WriteFile("DD.ini", "[Values]\nNine=7\n"));
    WindowSession session;
    session.form->SetDataFolder(data_->path().toStdString());
    session.Show();
    QVERIFY(QTest::qWaitFor([&] { return !session.messages.shown.isEmpty(); }, kTimeoutMs));
    QCOMPARE(session.messages.errors,
             QStringList{"Catalogue.tsv line 2: the 10 m DD '3,3' of 207C is not a number such "
                         "as 2.8 (0.0 for none)"});
    QVERIFY(QTest::qWaitFor([&] { return !session.form->isVisible(); }, kTimeoutMs));
    QVERIFY(session.form->Store().Dives(1)[0].DiveCode.empty());
    QCOMPARE(Contents(data_->filePath("DD.ini")), QByteArray("[Values]\nNine=7\n"));
    QCOMPARE(session.messages.shown.size(), 1);
}

namespace {

QStringList StatusTexts(const MainWindow& form) {
    QStringList texts;
    for (int panel = 2; panel <= 6; ++panel)
        texts << form.StatusBarPanel(panel)->text();
    return texts;
}

} // namespace

void TestDataFolder::ownRosterStatusBarShowsTheDivesLoadedAndTheSources() {
    QVERIFY(WriteResults(*data_, "1\t101B\t1.5\t40.50\t\r\n2\t101B\t1.5\t36.00\t\r\n"
                                 "3\t105B\t2.4\t60.00\t\r\n"));
    QVERIFY(data_->WriteFile("W10M", "1\t101B\t1.5\t40.50\t\r\n"));
    {
        // Without a roster of its own the fixed texts stay, whatever else the folder holds.
        QVERIFY(data_->WriteFile("Sources.tsv", "Name\tSHA256\tTitle\nworlds\t00\tWorlds\n"));
        WindowSession session;
        session.form->SetDataFolder(data_->path().toStdString());
        QVERIFY(session.Start());
        QCOMPARE(StatusTexts(*session.form),
                 QStringList({"All Intl Sr. Events", "M3M : 10081 Dives", "W3M : 7358 Dives",
                              "M10M : 8317 Dives", "W10M : 6741 Dives"}));
        session.form->close();
    }
    QVERIFY(data_->WriteFile("Divers.tsv", "1\tONE\tA\tNOR\n"));
    const QStringList counts{"M3M : 3 Dives", "W3M : 0 Dives", "M10M : 0 Dives", "W10M : 1 Dives"};
    {
        WindowSession session;
        session.form->SetDataFolder(data_->path().toStdString());
        QVERIFY(session.Start());
        QCOMPARE(StatusTexts(*session.form), QStringList{"Worlds"} + counts);
        session.form->close();
    }
    // Titles too long for the panel are cut short there and shown whole on hover.
    const QByteArray titles = "Name\tSHA256\tTitle\na\t00\tWorld Aquatics Championships 2023\n"
                              "b\t00\tEuropean Championships 2022\n";
    QVERIFY(data_->WriteFile("Sources.tsv", titles));
    WindowSession session;
    session.form->SetDataFolder(data_->path().toStdString());
    QVERIFY(session.Start());
    const QLabel* sources = session.form->StatusBarPanel(2);
    QCOMPARE(sources->toolTip(),
             QStringLiteral("World Aquatics Championships 2023; European Championships 2022"));
    QVERIFY(sources->text().startsWith(QStringLiteral("World")));
    QVERIFY(sources->text().endsWith(QChar(0x2026)));
    QVERIFY(sources->fontMetrics().horizontalAdvance(sources->text()) < sources->width());
    QCOMPARE(StatusTexts(*session.form).mid(1), counts);

    // No list of sources: the folder's name.
    session.form->close();
    QVERIFY(QFile::remove(data_->filePath("Sources.tsv")));
    WindowSession unlisted;
    unlisted.form->SetDataFolder(data_->path().toStdString());
    QVERIFY(unlisted.Start());
    QCOMPARE(unlisted.form->StatusBarPanel(2)->toolTip(), QDir(data_->path()).dirName());
}

QTEST_MAIN(TestDataFolder)
#include "test_data_folder.moc"
