// SPDX-License-Identifier: GPL-3.0-or-later
// The window and dive-tables on the same results and the same choices: what "Copy Table to
// Clipboard" copies must be, byte for byte, what dive-tables prints.

#include "app/dive_tables.h"
#include "store/number_text.h"
#include "ui/breakdown_window.h"
#include "ui/clipboard.h"
#include "ui/filter_combo.h"
#include "ui/main_window.h"
#include "ui/spin_edit.h"
#include "ui/string_grid_view.h"
#include "ui/user_messages.h"
#include "window_test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The window as the program's entry builds it, with the copies and choices the comparisons make.
struct Session : WindowSession {
    // The bytes the main window's copy button puts on the clipboard for tab `tab`.
    std::string CopyTable(int tab) {
        form->TheGrids()->setCurrentIndex(tab);
        clipboard.contents.clear();
        QTest::mouseClick(form->ButtonCopy(), Qt::LeftButton);
        return clipboard.contents.toLatin1().toStdString();
    }
    std::string CopyBreakdown() {
        clipboard.contents.clear();
        QTest::mouseClick(stats->ButtonCopy(), Qt::LeftButton);
        return clipboard.contents.toLatin1().toStdString();
    }
    void PressCell(StringGridView* view, int col, int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(col, row).center());
    }
    void Choose(FilterCombo* list, const QString& text) {
        const int index = list->findText(text);
        QVERIFY2(index > 0, qPrintable(text));
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
};

// A row of the table whose dive code occurs in no other row: dive-tables breaks down the
// first row of a code, the window the row that was double-clicked.
int RowOfAUniqueCode(const StringGrid& table, int from) {
    for (int row = from; row < table.RowCount(); ++row) {
        int seen = 0;
        for (int other = 1; other < table.RowCount(); ++other)
            seen += table.Cell(0, other) == table.Cell(0, row) ? 1 : 0;
        if (seen == 1)
            return row;
    }
    return -1;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::string Field(const std::string& line, int col) {
    std::size_t start = 0;
    for (int skip = 0; skip < col; ++skip)
        start = line.find('\t', start) + 1;
    return line.substr(start, line.find('\t', start) - start);
}

// The same rows, and line by line the same sort key and the same Sort Count block: the two
// tables differ at most in the order of rows whose keys are equal.
bool SameUpToTies(const std::string& window, const std::string& tool, int keyCol, int sortCount) {
    std::vector<std::string> windowLines = Lines(window);
    std::vector<std::string> toolLines = Lines(tool);
    if (windowLines.size() != toolLines.size() || windowLines.size() < 3)
        return false;
    for (std::size_t i = 0; i < windowLines.size(); ++i) {
        const auto reaches = [sortCount](const std::string& line) {
            return CellInteger(Field(line, 1)) >= sortCount;
        };
        if (Field(windowLines[i], keyCol) != Field(toolLines[i], keyCol) ||
            reaches(windowLines[i]) != reaches(toolLines[i])) {
            qWarning("line %zu: %s | %s", i, windowLines[i].c_str(), toolLines[i].c_str());
            return false;
        }
    }
    std::sort(windowLines.begin(), windowLines.end());
    std::sort(toolLines.begin(), toolLines.end());
    return windowLines == toolLines;
}

} // namespace

class TestDiveTablesVsWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingTablesMatch();
    void headerSortAndSortCountMatch();
    void regeneratedUnderCountryAndDiverMatch();
    void breakdownsMatch();
    void diverCountMatches();

private:
    // dive-tables' output for the folder of this test and `args`.
    std::string DiveTables(std::vector<std::string> args);

    std::unique_ptr<TestFolder> folder_;
};

void TestDiveTablesVsWindow::init() {
    folder_ = std::make_unique<TestFolder>();
    QVERIFY(folder_->CopySamples());
    QVERIFY(folder_->Enter());
}

void TestDiveTablesVsWindow::cleanup() {
    folder_.reset();
}

std::string TestDiveTablesVsWindow::DiveTables(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", folder_->path().toStdString()});
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunDiveTables(args, out, err);
    if (code != 0)
        qWarning("dive-tables exited with %d: %s", code, err.str().c_str());
    return out.str();
}

void TestDiveTablesVsWindow::openingTablesMatch() {
    Session session;
    QVERIFY(session.Start());
    for (int tab = 0; tab < 4; ++tab) {
        const std::string copied = session.CopyTable(tab);
        QVERIFY(copied.size() > 1000);
        QCOMPARE(copied, DiveTables({"--event", kEventFiles[tab].toStdString()}));
    }
    QVERIFY(session.messages.shown.isEmpty());
}

// A press on a header, or a new Sort Count, re-sorts the table as it stands, and the sort
// keeps no order among equal keys: such rows may stand otherwise than after a statistics run
// with the same choices. Up to that, the two agree; after "Re-Generate Stats" and after a
// restart (which remembers the choices) they agree exactly.
void TestDiveTablesVsWindow::headerSortAndSortCountMatch() {
    {
        Session session;
        QVERIFY(session.Start());
        MainWindow& form = *session.form;
        session.PressCell(form.EventGrid(1), 3, 0); // "Avg Pts"
        QVERIFY(SameUpToTies(session.CopyTable(0), DiveTables({"--sort", "3"}), 3, 10));

        form.TheGrids()->setCurrentIndex(1);
        session.PressCell(form.EventGrid(2), 1, 0); // "Count"
        QVERIFY(SameUpToTies(session.CopyTable(1), DiveTables({"--event", "W3M", "--sort", "1"}), 1,
                             10));
        form.VarSortCount()->setValue(25);
        QVERIFY(SameUpToTies(session.CopyTable(1),
                             DiveTables({"--event", "W3M", "--sort", "1", "--sort-count", "25"}), 1,
                             25));

        QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
        QCOMPARE(session.CopyTable(0),
                 DiveTables({"--sort", "3", "--sort-count", "25", "--regenerate"}));
        QCOMPARE(session.CopyTable(1), DiveTables({"--event", "W3M", "--sort", "1", "--sort-count",
                                                   "25", "--regenerate"}));
        form.close();
    }
    Session restarted;
    QVERIFY(restarted.Start());
    QCOMPARE(restarted.CopyTable(0), DiveTables({"--sort", "3", "--sort-count", "25"}));
    QCOMPARE(restarted.CopyTable(1),
             DiveTables({"--event", "W3M", "--sort", "Count", "--sort-count", "25"}));
    QCOMPARE(restarted.CopyTable(3), DiveTables({"--event", "W10M", "--sort-count", "25"}));
}

void TestDiveTablesVsWindow::regeneratedUnderCountryAndDiverMatch() {
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    QCOMPARE(session.CopyTable(2), DiveTables({"--event", "M10M", "--regenerate"}));

    session.Choose(form.CountryList(), QStringLiteral("CHN"));
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    for (int tab = 0; tab < 4; ++tab) {
        QCOMPARE(session.CopyTable(tab),
                 DiveTables({"--event", kEventFiles[tab].toStdString(), "--country", "CHN"}));
    }
    // The diver list now holds that country's divers; the first of them.
    const QString diver = form.DiverList()->itemText(1);
    session.Choose(form.DiverList(), diver);
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    for (int tab = 0; tab < 4; ++tab) {
        QCOMPARE(session.CopyTable(tab),
                 DiveTables({"--event", kEventFiles[tab].toStdString(), "--country", "CHN",
                             "--diver", diver.toLatin1().toStdString()}));
    }
}

void TestDiveTablesVsWindow::breakdownsMatch() {
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    StringGridView* m3m = form.EventGrid(1);
    const int row = RowOfAUniqueCode(form.EventTable(1), 3);
    QVERIFY(row > 0 && row < 30);
    const std::string code = form.EventTable(1).Cell(0, row);
    QTest::mouseDClick(m3m->viewport(), Qt::LeftButton, {}, m3m->cellRect(2, row).center());
    QVERIFY(session.stats->isVisible());
    QCOMPARE(session.CopyBreakdown(), DiveTables({"--drill", code}));

    // The per-diver table re-sorted by a press on its "Name" header.
    session.PressCell(session.stats->DiveStatsGrid(), 0, 0);
    QCOMPARE(session.CopyBreakdown(), DiveTables({"--drill", code, "--stats-sort", "Name"}));

    // Under a country, on a regenerated W3M table sorted by "Avg Score".
    session.Choose(form.CountryList(), QStringLiteral("CHN"));
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    form.TheGrids()->setCurrentIndex(1);
    StringGridView* w3m = form.EventGrid(2);
    session.PressCell(w3m, 4, 0);
    const int chnRow = RowOfAUniqueCode(form.EventTable(2), 2);
    QVERIFY(chnRow > 0 && chnRow < 30);
    const std::string chnCode = form.EventTable(2).Cell(0, chnRow);
    QTest::mouseDClick(w3m->viewport(), Qt::LeftButton, {}, w3m->cellRect(2, chnRow).center());
    QCOMPARE(session.CopyBreakdown(), DiveTables({"--event", "W3M", "--country", "CHN", "--sort",
                                                  "4", "--drill", chnCode, "--stats-sort", "0"}));
}

void TestDiveTablesVsWindow::diverCountMatches() {
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    form.TheGrids()->setCurrentIndex(2);
    QTest::mouseClick(form.ButtonPopulate(), Qt::LeftButton);
    QCOMPARE(session.CopyTable(2), DiveTables({"--event", "M10M", "--diver-count"}));

    session.Choose(form.CountryList(), QStringLiteral("CHN"));
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    form.TheGrids()->setCurrentIndex(3);
    QTest::mouseClick(form.ButtonPopulate(), Qt::LeftButton);
    QCOMPARE(session.CopyTable(3),
             DiveTables({"--event", "W10M", "--country", "CHN", "--diver-count"}));
}

QTEST_MAIN(TestDiveTablesVsWindow)
#include "test_dive_tables_vs_window.moc"
