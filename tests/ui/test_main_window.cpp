// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/statistics.h"
#include "analysis/table_text.h"
#include "app/settings.h"
#include "store/number_text.h"
#include "store/result_loader.h"
#include "ui/breakdown_window.h"
#include "ui/clipboard.h"
#include "ui/filter_combo.h"
#include "ui/main_window.h"
#include "ui/spin_edit.h"
#include "ui/string_grid_view.h"
#include "ui/text_encoding.h"
#include "ui/user_messages.h"
#include "window_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

// One run of the program, with the cell positions the mouse tests press.
struct Session : WindowSession {
    QWidget* Viewport(int eventIndex) { return form->EventGrid(eventIndex)->viewport(); }
    QPoint CellCentre(int eventIndex, int col, int row) {
        return form->EventGrid(eventIndex)->cellRect(col, row).center();
    }
};

std::vector<std::string> Snapshot(const StringGrid& grid) {
    std::vector<std::string> cells;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            cells.push_back(grid.Cell(col, row));
        }
    }
    return cells;
}

long long SumOfCounts(const StringGrid& table) {
    long long sum = 0;
    for (int row = 1; row < table.RowCount(); ++row) {
        sum += CellInteger(table.Cell(1, row));
    }
    return sum;
}

int NonBlankLines(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    int lines = 0;
    for (const QByteArray& line : file.readAll().split('\r')) {
        lines += line.trimmed().isEmpty() ? 0 : 1;
    }
    return lines;
}

// Rows with Count >= sortCount first, then the rest; each block in the order of `col`
// (0: ascending bytes, else descending numbers).
bool SortedInBlocks(const StringGrid& table, int col, int sortCount) {
    bool upperBlock = true;
    for (int row = 1; row < table.RowCount(); ++row) {
        const bool upper = CellInteger(table.Cell(1, row)) >= sortCount;
        if (upper && !upperBlock) {
            return false;
        }
        const bool sameBlock = row > 1 && upper == upperBlock;
        upperBlock = upper;
        if (!sameBlock) {
            continue;
        }
        const std::string& before = table.Cell(col, row - 1);
        const std::string& here = table.Cell(col, row);
        if (col == 0 ? before > here : CellNumber(before) < CellNumber(here)) {
            return false;
        }
    }
    return true;
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

QStringList KeysAndValues(const QString& iniPath) {
    QFile file(iniPath);
    file.open(QIODevice::ReadOnly);
    QStringList pairs;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.contains('=')) {
            pairs << QString::fromLatin1(line.trimmed());
        }
    }
    return pairs;
}

// Records, in order, which grids were painted.
class PaintLog : public QObject {
public:
    void Watch(StringGridView* grid) {
        names_[grid->viewport()] = grid->objectName();
        grid->viewport()->installEventFilter(this);
    }
    QStringList painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QString name = names_.value(watched);
            if (painted.isEmpty() || painted.back() != name) {
                painted << name;
            }
        }
        return false;
    }

private:
    QHash<QObject*, QString> names_;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutOfTheWindow();
    void focusFollowsTheLeftPanelOrder();
    void leftPanelPlacesEveryControl();
    void thresholdControls_data();
    void thresholdControls();

    void startupFillsAndSortsEveryTable();
    void firstRunUsesDefaultsAndWritesTenKeys();
    void unreadableSettingsFallBack();
    void typedValuesAndHeaderPressSurviveARestart();
    void missingResultFileEndsWithoutSaving();
    void conversionErrorKeepsBusyUntilRegenerate();
    void phaseFollowsStartUpChoicesAndAFailedLoad();
    void unwritableSettingsStillClose();

    void dataRowPressDoesNotSort();
    void sortCountResortsOnlyTheActiveTable();
    void countryChoiceRefillsDiverList();
    void regenerateAppliesTheCountry();
    void headerCursorIsAPointingHand();
    void copyPutsTheActiveTableOnTheClipboard();
    void doubleClickOpensTheBreakdown();
    void thresholdChangeRepaintsWithoutResorting();
    void populateFillsTheDiversColumn();
    void regenerateDuringCountStopsIt();
    void closeDuringCountStopsIt();

private:
    void WriteW10MWithBadDD(int line, const QByteArray& dd);
    QString FolderFile(const QString& name) const { return folder_->filePath(name); }

    std::unique_ptr<TestFolder> folder_;
};

void TestMainWindow::initTestCase() {
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
}

void TestMainWindow::init() {
    folder_ = std::make_unique<TestFolder>();
    QVERIFY(folder_->Enter());
}

void TestMainWindow::cleanup() {
    folder_.reset();
}

void TestMainWindow::WriteW10MWithBadDD(int line, const QByteArray& dd) {
    QFile source(QStringLiteral(CORVANE_SAMPLE_DIR "/W10M"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = source.readAll().split('\r');
    QList<QByteArray> fields = lines[line].split('\t');
    fields[2] = dd;
    lines[line] = fields.join('\t');
    QVERIFY(folder_->WriteFile("W10M", lines.join('\r')));
}

// ---- Layout and small parts -----------------------------------------------------------

void TestMainWindow::layoutOfTheWindow() {
    Session session;
    MainWindow& form = *session.form;
    QCOMPARE(form.size(), QSize(1016, 716));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.windowTitle(), QStringLiteral("WAVO DD Analyser 2008-2012"));
    QCOMPARE(form.TheGrids()->geometry(), QRect(201, 17, 815, 680));
    QCOMPARE(form.TheGrids()->count(), 4);
    QCOMPARE(form.TheGrids()->tabText(3), QStringLiteral("W10M"));
    QCOMPARE(form.Logo()->pixmap().size(), QSize(151, 67));
    QCOMPARE(form.Logo()->pos(), QPoint(24, 592));

    QStringList status;
    for (QLabel* label : form.findChild<QFrame*>("StatusBar")->findChildren<QLabel*>()) {
        status << label->text();
    }
    QCOMPARE(status, QStringList({"   Version 1.1", "www.corvane.example", "All Intl Sr. Events",
                                  "M3M : 10081 Dives", "W3M : 7358 Dives", "M10M : 8317 Dives",
                                  "W10M : 6741 Dives", ""}));
    const std::pair<const char*, QColor> legends[] = {
        {"Panel6", QColor(0xFF99FF)}, {"Panel5", QColor(0xFF99FF)}, {"Panel4", QColor(0xFF99FF)},
        {"Panel7", QColor(0x0000FF)}, {"Panel3", QColor(0x008000)}, {"Panel8", QColor(0xB3D7FB)}};
    for (const auto& [name, colour] : legends) {
        const QFrame* legend = form.findChild<QFrame*>(name);
        QVERIFY2(legend, name);
        QCOMPARE(legend->palette().color(QPalette::Window), colour);
        QCOMPARE(legend->size(), QSize(30, 21));
    }
    // No display name: the window system shows the title exactly.
    session.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowHandle()->title(), QStringLiteral("WAVO DD Analyser 2008-2012"));
    form.close();
}

// Positions relative to the left panel (the panel's own controls) or to their group box.
void TestMainWindow::leftPanelPlacesEveryControl() {
    Session session;
    const MainWindow& form = *session.form;
    const QWidget* panel = form.findChild<QWidget*>(QStringLiteral("LeftPanel"));
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(0, 17, 201, 680));
    const std::pair<const char*, QRect> onPanel[] = {
        {"ButtonCopy", {16, 16, 169, 25}},
        {"ButtonPopulate", {16, 56, 169, 25}},
        {"CloseButton", {16, 552, 169, 25}},
        {"Logo", {24, 592, 151, 67}},
    };
    for (const auto& [name, rect] : onPanel) {
        const QWidget* widget = panel->findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget && widget->parentWidget() == panel, name);
        QCOMPARE(widget->geometry(), rect);
    }
    const QWidget* variables = form.VarCount()->parentWidget();
    QCOMPARE(variables->geometry(), QRect(8, 104, 185, 225));
    // Each edit with its colour legend on its right.
    const std::pair<const char*, QRect> inVariables[] = {
        {"VarCount", {72, 24, 49, 21}},      {"Panel6", {144, 24, 30, 21}},
        {"VarDD", {72, 56, 49, 21}},         {"Panel5", {144, 56, 30, 21}},
        {"VarPercent", {72, 88, 49, 21}},    {"Panel4", {144, 88, 30, 21}},
        {"Var2Col", {72, 120, 49, 21}},      {"Panel7", {144, 120, 30, 21}},
        {"Var9", {72, 152, 49, 21}},         {"Panel3", {144, 152, 30, 21}},
        {"VarSortCount", {72, 184, 49, 21}}, {"Panel8", {144, 184, 30, 21}},
    };
    for (const auto& [name, rect] : inVariables) {
        const QWidget* widget = variables->findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget, name);
        QCOMPARE(widget->geometry(), rect);
    }
    const QWidget* refine = form.GenerateStats()->parentWidget();
    QCOMPARE(refine->geometry(), QRect(8, 344, 185, 185));
    QCOMPARE(form.CountryList()->parentWidget(), refine);
    QCOMPARE(form.CountryList()->geometry(), QRect(8, 48, 161, 24));
    QCOMPARE(form.DiverList()->geometry(), QRect(8, 96, 161, 24));
    QCOMPARE(form.GenerateStats()->geometry(), QRect(16, 136, 145, 25));
    // 8 pt for the window, 10 pt for the commands and the groups' content.
    QCOMPARE(form.font().pixelSize(), 11);
    QCOMPARE(form.ButtonCopy()->font().pixelSize(), 13);
    QCOMPARE(form.VarCount()->font().pixelSize(), 13);
    QVERIFY(refine->font().bold());
    QVERIFY(!form.GenerateStats()->font().bold());
}

// Tab from "Copy Table to Clipboard" walks the left panel in its order and comes back round
// through the page control.
void TestMainWindow::focusFollowsTheLeftPanelOrder() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QApplication::setActiveWindow(&form);
    form.ButtonCopy()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(form.ButtonCopy()->hasFocus());
    const QStringList named{"ButtonCopy",  "VarCount",      "VarDD",        "VarPercent",
                            "Var9",        "Var2Col",       "VarSortCount", "ButtonPopulate",
                            "CloseButton", "GenerateStats", "DiverList",    "CountryList",
                            "TheGrids",    "TheGridM3M"};
    QStringList visited;
    for (int step = 0; step < 20 && visited.size() < named.size(); ++step) {
        QWidget* focus = QApplication::focusWidget();
        while (focus && !named.contains(focus->objectName())) {
            focus = focus->parentWidget();
        }
        const QString name = focus ? focus->objectName() : QStringLiteral("?");
        if (visited.isEmpty() || visited.back() != name) {
            visited << name;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, named);
    form.close();
}

void TestMainWindow::thresholdControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("decimals");
    QTest::newRow("Count") << "VarCount" << 5.0 << 9999.0 << 0;
    QTest::newRow("DD") << "VarDD" << 0.1 << 9.9 << 1;
    QTest::newRow("Percent") << "VarPercent" << 5.0 << 100.0 << 0;
    QTest::newRow("2 Column") << "Var2Col" << 5.0 << 100.0 << 0;
    QTest::newRow("> 9.0") << "Var9" << 1.0 << 100.0 << 0;
    QTest::newRow("Sort Count") << "VarSortCount" << 5.0 << 9999.0 << 0;
}

void TestMainWindow::thresholdControls() {
    QFETCH(QString, name);
    QFETCH(double, step);
    QFETCH(double, maximum);
    QFETCH(int, decimals);
    Session session;
    const auto* edit = session.form->findChild<SpinEdit*>(name);
    QVERIFY(edit);
    QCOMPARE(edit->singleStep(), step);
    QCOMPARE(edit->maximum(), maximum);
    QCOMPARE(edit->decimals(), decimals);
    QCOMPARE(edit->size(), QSize(49, 21));
}

// ---- Start-up, settings and close ------------------------------------------------------------

void TestMainWindow::startupFillsAndSortsEveryTable() {
    QVERIFY(folder_->CopySamples());
    QVERIFY(folder_->WriteFile("DD.ini",
                               "[Values]\nSortCount=5\n[Sort]\nM3M=1\nW3M=0\nM10M=4\nW10M=15\n"));
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QCOMPARE(form.DataDirectory(), QDir::currentPath().toStdString());
    QCOMPARE(form.TheGrids()->currentIndex(), 0);
    const int sortCols[] = {1, 0, 4, 15};
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex) {
        const StringGrid& table = form.EventTable(eventIndex);
        QCOMPARE(form.SortColOf(eventIndex), sortCols[eventIndex - 1]);
        QVERIFY(table.RowCount() > 10);
        QCOMPARE(table.Cell(0, 0), std::string("Dive"));
        // The initial run counts every dive of the file.
        QCOMPARE(SumOfCounts(table), NonBlankLines(FolderFile(kEventFiles[eventIndex - 1])));
        QVERIFY2(SortedInBlocks(table, sortCols[eventIndex - 1], 5),
                 qPrintable(kEventFiles[eventIndex - 1]));
    }
    // The filter lists: everything of the roster, byte order, "***ALL***" first.
    const QStringList divers = Items(form.DiverList());
    QCOMPARE(divers.size(), form.Roster().Size() + 1);
    QCOMPARE(divers.front(), QStringLiteral("***ALL***"));
    QVERIFY(std::is_sorted(divers.begin(), divers.end()));
    const QStringList countries = Items(form.CountryList());
    QCOMPARE(countries.size(), form.Lists().countryGrid.RowCount());
    QVERIFY(std::is_sorted(countries.begin(), countries.end()));
    QCOMPARE(form.CountryList()->currentIndex(), 0);
    QVERIFY(session.messages.errors.isEmpty());
}

void TestMainWindow::firstRunUsesDefaultsAndWritesTenKeys() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    const QStringList texts{form.VarCount()->text(),   form.VarDD()->text(),
                            form.VarPercent()->text(), form.Var2Col()->text(),
                            form.Var9()->text(),       form.VarSortCount()->text()};
    QCOMPARE(texts, QStringList({"50", "3.0", "30", "60", "5", "10"}));
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex) {
        QCOMPARE(form.SortColOf(eventIndex), 0);
    }
    QVERIFY(!QFile::exists(FolderFile("DD.ini")));
    form.CloseButton()->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(KeysAndValues(FolderFile("DD.ini")),
             QStringList({"Count=50", "DD=3.0", "Percent=30", "TwoCol=60", "Nine=5", "SortCount=10",
                          "M3M=0", "W3M=0", "M10M=0", "W10M=0"}));
}

void TestMainWindow::unreadableSettingsFallBack() {
    QVERIFY(folder_->CopySamples());
    QVERIFY(folder_->WriteFile("DD.ini",
                               "[Values]\nCount=\nDD=3,5\nPercent=12.5\nTwoCol=abc\nNine=7\n"
                               "[Sort]\nM3M=x\nW3M=2\n"));
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QCOMPARE(form.VarCount()->text(), QStringLiteral("50"));
    QCOMPARE(form.VarDD()->text(), QStringLiteral("3.0"));
    QCOMPARE(form.VarPercent()->text(), QStringLiteral("30"));
    QCOMPARE(form.Var2Col()->text(), QStringLiteral("60"));
    QCOMPARE(form.Var9()->text(), QStringLiteral("7"));
    QCOMPARE(form.SortColOf(1), 0);
    QCOMPARE(form.SortColOf(2), 2);
}

void TestMainWindow::typedValuesAndHeaderPressSurviveARestart() {
    QVERIFY(folder_->CopySamples());
    {
        Session session;
        QVERIFY(session.Start());
        TypeInto(session.form->Var9(), QStringLiteral("7"));
        TypeInto(session.form->VarSortCount(), QStringLiteral("25"));
        QTest::mouseClick(session.Viewport(1), Qt::LeftButton, {}, session.CellCentre(1, 3, 0));
        QCOMPARE(session.form->LastClickedRow(), 0);
        QCOMPARE(session.form->SortColOf(1), 3);
        QVERIFY(SortedInBlocks(session.form->EventTable(1), 3, 25));
        session.form->close();
    }
    Session again;
    QVERIFY(again.Start());
    QCOMPARE(again.form->Var9()->text(), QStringLiteral("7"));
    QCOMPARE(again.form->VarSortCount()->text(), QStringLiteral("25"));
    QCOMPARE(again.form->SortColOf(1), 3);
    QVERIFY(SortedInBlocks(again.form->EventTable(1), 3, 25));
}

void TestMainWindow::missingResultFileEndsWithoutSaving() {
    QVERIFY(folder_->CopySamples({"M3M", "W3M", "M10M"}));
    Session session;
    session.Show();
    QVERIFY(QTest::qWaitFor([&] { return !session.messages.notices.isEmpty(); }, kTimeoutMs));
    const QString path = QDir::currentPath() + QStringLiteral("/W10M");
    QCOMPARE(session.messages.notices, QStringList{QStringLiteral("Could not find file\n") + path +
                                                   QStringLiteral("\nCannot continue")});
    QVERIFY(!session.form->isVisible());
    QVERIFY(!QFile::exists(FolderFile("DD.ini")));
    // The three other files were read before the missing one was met.
    for (int eventIndex = 1; eventIndex <= 3; ++eventIndex) {
        QVERIFY(!session.form->Store().Dives(eventIndex)[0].DiveCode.empty());
    }
    QVERIFY(session.form->IsBusy());
}

void TestMainWindow::conversionErrorKeepsBusyUntilRegenerate() {
    QVERIFY(folder_->CopySamples({"M3M", "W3M", "M10M"}));
    constexpr int kBadLine = 40;
    WriteW10MWithBadDD(kBadLine, "2,4");

    Session session;
    session.Show();
    MainWindow& form = *session.form;
    QVERIFY(QTest::qWaitFor([&] { return !session.messages.errors.isEmpty(); }, kTimeoutMs));
    QCOMPARE(session.messages.errors,
             QStringList{QStringLiteral("'2,4' is not a valid floating point value")});
    QVERIFY(form.IsBusy());
    QVERIFY(form.isVisible());
    // While busy a threshold change repaints nothing.
    PaintLog log;
    log.Watch(form.EventGrid(1));
    form.VarCount()->setValue(70);
    QVERIFY(log.painted.isEmpty());
    // While busy the country list does not touch the diver list.
    form.DiverList()->AddSorted(QStringLiteral("SENTINEL"));
    form.CountryList()->AddSorted(QStringLiteral("XYZ"));
    form.CountryList()->setCurrentIndex(1);
    form.ListDiversOfCountry();
    QCOMPARE(form.DiverList()->count(), 2);

    form.CountryList()->ResetToAll();
    form.DiverList()->ResetToAll();
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    QVERIFY(!form.IsBusy());
    QCOMPARE(SumOfCounts(form.EventTable(1)), NonBlankLines(FolderFile("M3M")));
    QCOMPARE(form.DiverList()->count(), form.Roster().Size() + 1);
    // The dives read before the bad line are in the W10M table.
    const StringGrid& w10m = form.EventTable(4);
    const std::string firstCode = form.Store().Dives(4)[0].DiveCode.str();
    bool found = false;
    for (int row = 1; row < w10m.RowCount(); ++row) {
        found = found || w10m.Cell(0, row) == firstCode;
    }
    QVERIFY(found);
    QVERIFY(form.Store().Dives(4)[kBadLine].DiveCode.empty());
}

// The phase a handler reads: Ready once start-up has run, Ready again after the window
// filled the diver list itself, LoadFailed after a file that cannot be read.
void TestMainWindow::phaseFollowsStartUpChoicesAndAFailedLoad() {
    QVERIFY(folder_->CopySamples());
    {
        Session session;
        MainWindow& form = *session.form;
        QCOMPARE(form.CurrentPhase(), MainWindow::Phase::Created);
        QVERIFY(session.Start());
        QCOMPARE(form.CurrentPhase(), MainWindow::Phase::Ready);
        form.CountryList()->setCurrentIndex(1);
        form.ListDiversOfCountry();
        QVERIFY(form.DiverList()->count() < form.Roster().Size() + 1);
        QCOMPARE(form.CurrentPhase(), MainWindow::Phase::Ready);
    }
    WriteW10MWithBadDD(40, "2,4");
    Session session;
    session.Show();
    QVERIFY(QTest::qWaitFor([&] { return !session.messages.errors.isEmpty(); }, kTimeoutMs));
    QCOMPARE(session.form->CurrentPhase(), MainWindow::Phase::LoadFailed);
    QTest::mouseClick(session.form->GenerateStats(), Qt::LeftButton);
    QCOMPARE(session.form->CurrentPhase(), MainWindow::Phase::Ready);
}

void TestMainWindow::unwritableSettingsStillClose() {
    QVERIFY(folder_->CopySamples());
    // A folder in the settings file's place: the write cannot replace it.
    QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("DD.ini")));
    Session session;
    QVERIFY(session.Start());
    session.form->close();
    QCOMPARE(session.messages.errors,
             QStringList{QStringLiteral("Unable to write to ") + FolderFile("DD.ini")});
    QVERIFY(!session.form->isVisible());
}

// ---- Handlers after start-up ---------------------------------------------------------------

void TestMainWindow::dataRowPressDoesNotSort() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    const auto before = Snapshot(session.form->EventTable(1));
    QTest::mouseClick(session.Viewport(1), Qt::LeftButton, {}, session.CellCentre(1, 3, 2));
    QCOMPARE(session.form->LastClickedRow(), 2);
    QCOMPARE(session.form->SortColOf(1), 0);
    QVERIFY(Snapshot(session.form->EventTable(1)) == before);
}

void TestMainWindow::sortCountResortsOnlyTheActiveTable() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    form.TheGrids()->setCurrentIndex(1);
    // A header press on the W3M tab is W3M's sort column.
    QTest::mouseClick(session.Viewport(2), Qt::LeftButton, {}, session.CellCentre(2, 2, 0));
    QCOMPARE(form.SortColOf(2), 2);
    QCOMPARE(form.SortColOf(1), 0);
    const auto m3m = Snapshot(form.EventTable(1));
    TypeInto(form.VarSortCount(), QStringLiteral("0"));
    QVERIFY(SortedInBlocks(form.EventTable(2), 2, 0));
    QVERIFY(!SortedInBlocks(form.EventTable(2), 2, 10));
    QVERIFY(Snapshot(form.EventTable(1)) == m3m);
}

void TestMainWindow::countryChoiceRefillsDiverList() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    const QString nation = form.CountryList()->itemText(form.CountryList()->count() / 2);
    QTest::keyClicks(form.CountryList(), nation); // incremental search, as the user types
    QCOMPARE(form.CountryList()->currentText(), nation);

    QStringList expected;
    for (const DiverEntry& diver : form.Roster().Rows()) {
        if (diver.Nation == nation.toStdString()) {
            expected << FromCellBytes(DiverLabel(diver));
        }
    }
    std::sort(expected.begin(), expected.end());
    expected.prepend(QStringLiteral("***ALL***"));
    QCOMPARE(Items(form.DiverList()), expected);
    QCOMPARE(form.DiverList()->currentIndex(), 0);

    // Back to "***ALL***": the diver list keeps that country's divers.
    form.CountryList()->setCurrentIndex(0);
    emit form.CountryList()->activated(0);
    QCOMPARE(Items(form.DiverList()), expected);
}

void TestMainWindow::regenerateAppliesTheCountry() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    const QString nation = form.CountryList()->itemText(1);
    form.CountryList()->setCurrentIndex(1);
    emit form.CountryList()->activated(1);
    form.TheGrids()->setCurrentIndex(2);
    QTest::mouseClick(form.GenerateStats(), Qt::LeftButton);
    QVERIFY(!form.IsBusy());
    QCOMPARE(form.TheGrids()->currentIndex(), 0);
    QVERIFY(!QApplication::overrideCursor()); // the hourglass is gone after the run
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex) {
        long long expected = 0;
        for (const DiveRecord& record : form.Store().Filled(eventIndex)) {
            const DiverEntry* diver = form.Roster().FindDiver(record.DiverId.view());
            expected += diver && diver->Nation == nation.toStdString() ? 1 : 0;
        }
        QCOMPARE(SumOfCounts(form.EventTable(eventIndex)), expected);
    }
}

void TestMainWindow::headerCursorIsAPointingHand() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    QWidget* viewport = session.Viewport(1);
    const auto moveTo = [viewport](QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, viewport->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    };
    moveTo(session.CellCentre(1, 4, 0));
    QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
    moveTo(session.CellCentre(1, 4, 3));
    QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
}

void TestMainWindow::copyPutsTheActiveTableOnTheClipboard() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    form.TheGrids()->setCurrentIndex(3);
    QTest::mouseClick(form.ButtonCopy(), Qt::LeftButton);
    const QStringList lines = session.clipboard.contents.split(QStringLiteral("\r\n"));
    const StringGrid& w10m = form.EventTable(4);
    QCOMPARE(lines.size(), w10m.RowCount());
    for (const QString& line : lines) {
        QCOMPARE(line.count(u'\t'), 17);
    }
    QVERIFY(lines[0].startsWith(QStringLiteral("Dive\tCount\tDD\tAvg Pts\t")));
    QVERIFY(lines[1].startsWith(QString::fromStdString(w10m.Cell(0, 1) + "\t")));
    QVERIFY(session.messages.errors.isEmpty());

    session.clipboard.refuse = true;
    session.clipboard.contents = QStringLiteral("kept");
    QTest::mouseClick(form.ButtonCopy(), Qt::LeftButton);
    QCOMPARE(session.messages.errors, QStringList{QStringLiteral("Cannot open clipboard")});
    QCOMPARE(session.clipboard.contents, QStringLiteral("kept"));
}

void TestMainWindow::doubleClickOpensTheBreakdown() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QTest::mouseDClick(session.Viewport(1), Qt::LeftButton, {}, session.CellCentre(1, 0, 0));
    QVERIFY(!session.stats->isVisible()); // a header row opens nothing

    QTest::mouseDClick(session.Viewport(1), Qt::LeftButton, {}, session.CellCentre(1, 2, 1));
    QCOMPARE(form.LastClickedRow(), 1);
    QVERIFY(session.stats->isVisible());
    const StringGrid& table = form.EventTable(1);
    QVERIFY(!table.Cell(kDiversCol, 1).empty());
    const QString title =
        QStringLiteral("M3M - %1 - DD %2 - %3 divers")
            .arg(QString::fromStdString(table.Cell(0, 1)), QString::fromStdString(table.Cell(2, 1)),
                 QString::fromStdString(table.Cell(kDiversCol, 1)));
    QCOMPARE(session.stats->LabelTitle()->text(), title);

    // Closing the main window takes the breakdown window with it.
    form.close();
    QVERIFY(!session.stats->isVisible());
}

// A threshold change repaints at once (before the handler returns): the event grids, then the
// breakdown's per-diver grid and its summary while that window is shown; no row moves.
void TestMainWindow::thresholdChangeRepaintsWithoutResorting() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseDClick(session.Viewport(1), Qt::LeftButton, {}, session.CellCentre(1, 2, 1));
    QVERIFY(QTest::qWaitForWindowExposed(session.stats));
    // The paints the showing asked for are done before the log starts.
    bool handled = false;
    PostMarker(handled);
    QTRY_VERIFY(handled);
    PaintLog log;
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex) {
        log.Watch(form.EventGrid(eventIndex));
    }
    log.Watch(session.stats->DiveStatsGrid());
    log.Watch(session.stats->StatsGrid());
    const auto table = Snapshot(form.EventTable(1));
    const auto perDiver = Snapshot(session.stats->DiverTable());

    form.VarCount()->setValue(70);
    QCOMPARE(log.painted, QStringList({"TheGridM3M", "DiveStatsGrid", "StatsGrid"}));
    log.painted.clear();
    session.stats->close();
    form.Var9()->setValue(2);
    QCOMPARE(log.painted, QStringList{"TheGridM3M"});
    QVERIFY(Snapshot(form.EventTable(1)) == table);
    QVERIFY(Snapshot(session.stats->DiverTable()) == perDiver);
    form.close();
}

void TestMainWindow::populateFillsTheDiversColumn() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    form.TheGrids()->setCurrentIndex(2);
    QTest::mouseClick(form.ButtonPopulate(), Qt::LeftButton);
    const StringGrid& table = form.EventTable(3);
    for (int row = 1; row < table.RowCount(); ++row) {
        QVERIFY(!table.Cell(kDiversCol, row).empty());
    }
    // Row 1 against a count of its own: distinct names of rostered divers with a nation.
    std::set<std::string> names;
    for (const DiveRecord& record : form.Store().Filled(3)) {
        const DiverEntry* diver = form.Roster().FindDiver(record.DiverId.view());
        if (record.DiveCode == table.Cell(0, 1) && diver && !IsBlank(diver->Nation.view())) {
            names.insert(DiverName(*diver));
        }
    }
    QCOMPARE(table.Cell(kDiversCol, 1), std::to_string(names.size()));
    QVERIFY(form.EventTable(1).Cell(kDiversCol, 1).empty()); // the other tabs keep theirs
}

void TestMainWindow::regenerateDuringCountStopsIt() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    // Runs from inside the count's message processing after its first row.
    QMetaObject::invokeMethod(&form, &MainWindow::RunStatistics, Qt::QueuedConnection);
    form.FillDiverCounts();
    const StringGrid& table = form.EventTable(1);
    QVERIFY(table.RowCount() > 10);
    for (int row = 1; row < table.RowCount(); ++row) {
        QVERIFY2(table.Cell(kDiversCol, row).empty(), qPrintable(QString::number(row)));
    }
}

void TestMainWindow::closeDuringCountStopsIt() {
    QVERIFY(folder_->CopySamples());
    Session session;
    QVERIFY(session.Start());
    MainWindow& form = *session.form;
    QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
    form.FillDiverCounts();
    const StringGrid& table = form.EventTable(1);
    QVERIFY(!table.Cell(kDiversCol, 1).empty());
    QVERIFY(table.Cell(kDiversCol, 2).empty());
    QVERIFY(!form.isVisible());
    QVERIFY(QFile::exists(FolderFile("DD.ini")));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
