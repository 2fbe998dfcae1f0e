// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/breakdown_window.h"
#include "ui/clipboard.h"
#include "ui/string_grid_view.h"
#include "ui/user_messages.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

struct DiverRow {
    const char* name;
    const char* nation;
    const char* count;
    const char* band7;
};

// Four divers in first-appearance order; column 7 is the band the colour checks use.
const std::vector<DiverRow> kDivers = {
    {"Chen, Li", "CHN", "5", "20.0"},
    {"Adams, Jo", "USA", "2", "40.0"},
    {"Brown, Al", "AUS", "3", ""},
    {"Diaz, Eva", "MEX", "1", "50.0"},
};

void FillPerDiverGrid(StringGrid& grid) {
    const char* headers[] = {"Avg Pts", "Avg Score", "0 to 1",  ">1 to 2", ">2 to 3", ">3 to 4",
                             ">4 to 5", ">5 to 6",   ">6 to 7", ">7 to 8", ">8 to 9", ">9 to 10"};
    for (int col = 3; col <= 14; ++col)
        grid.SetCell(col, 0, headers[col - 3]);
    grid.SetColWidth(15, 0);
    grid.SetColWidth(16, 0);
    grid.SetRowCount(static_cast<int>(kDivers.size()) + 1);
    for (int i = 0; i < static_cast<int>(kDivers.size()); ++i) {
        const int row = i + 1;
        grid.SetCell(0, row, kDivers[i].name);
        grid.SetCell(1, row, kDivers[i].nation);
        grid.SetCell(2, row, kDivers[i].count);
        grid.SetCell(3, row, "55.00");
        grid.SetCell(4, row, "6.1");
        grid.SetCell(7, row, kDivers[i].band7);
        grid.SetCell(15, row, "275.5"); // working columns: never exported
        grid.SetCell(16, row, kDivers[i].count);
    }
}

// A breakdown that only has a title: the tests fill the grids themselves.
DiveBreakdown Titled(const char* title) {
    DiveBreakdown breakdown;
    breakdown.title = title;
    return breakdown;
}

QStringList NamesInOrder(const StringGrid& grid) {
    QStringList names;
    for (int row = 1; row < grid.RowCount(); ++row)
        names << QString::fromStdString(grid.Cell(0, row));
    return names;
}

} // namespace

class TestBreakdownWindow : public QObject {
    Q_OBJECT

private:
    RecordingMessages messages_;
    FakeClipboard clipboard_;
    Thresholds thresholds_;
    int sortCount_ = 0;
    int pumps_ = 0;
    std::vector<int> clickedRows_;
    std::unique_ptr<QWidget> owner_;
    BreakdownWindow* window_ = nullptr;

    StringGridView& view() { return *window_->DiveStatsGrid(); }
    QPoint cellCentre(int col, int row) { return view().cellRect(col, row).center(); }
    void press(Qt::MouseButton button, QPoint pos) {
        QTest::mousePress(view().viewport(), button, Qt::NoModifier, pos);
        QTest::mouseRelease(view().viewport(), button, Qt::NoModifier, pos);
    }
    void moveTo(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, view().viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view().viewport(), &move);
    }
    QColor pixelOf(int col, int row) {
        const QRect rect = view().cellRect(col, row);
        // Left of any centred text, below the top edge: the cell's own background.
        return view().viewport()->grab().toImage().pixelColor(rect.left() + 2, rect.top() + 8);
    }

private slots:
    void init() {
        messages_ = {};
        clipboard_ = {};
        thresholds_ = Thresholds{};
        thresholds_.percent = 30;
        thresholds_.twoCol = 60;
        sortCount_ = 0;
        pumps_ = 0;
        clickedRows_.clear();
        owner_ = std::make_unique<QWidget>();
        owner_->setGeometry(40, 30, 1000, 800);
        owner_->show();
        BreakdownHost host;
        host.thresholds = [this] { return thresholds_; };
        host.sortSplit = [this] { return SortSplit{sortCount_, [this] { ++pumps_; }}; };
        host.setClickedRow = [this](int row) { clickedRows_.push_back(row); };
        host.messages = &messages_;
        host.clipboard = &clipboard_;
        window_ = new BreakdownWindow(std::move(host), owner_.get());
    }

    void cleanup() {
        owner_.reset();
        window_ = nullptr;
    }

    void createdHiddenWithItsLayout() {
        QVERIFY(window_->isHidden());
        QCOMPARE(window_->windowTitle(), QStringLiteral("Dive Statistics"));
        QCOMPARE(window_->size(), QSize(898, 710));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        const StringGrid& grid = window_->DiverTable();
        QCOMPARE(grid.Cell(0, 0), std::string("Name"));
        QCOMPARE(grid.Cell(1, 0), std::string("Nation"));
        QCOMPARE(grid.Cell(2, 0), std::string("Count"));
        QCOMPARE(grid.ColWidth(0), 200);
        QCOMPARE(grid.ColWidth(1), 46);
        QCOMPARE(grid.ColWidth(2), 46);
        QCOMPARE(window_->DiverSortCol(), 2);

        QCOMPARE(window_->StatsGrid()->geometry(), QRect(0, 0, 898, 40));
        QCOMPARE(window_->DiveStatsGrid()->geometry(), QRect(0, 69, 898, 641));
        QCOMPARE(window_->LabelTitle()->text(), QStringLiteral("LabelTitle"));
        QCOMPARE(window_->LabelTitle()->geometry(), QRect(1, 1, 896, 24));
        QCOMPARE(window_->ButtonCopy()->text(), QStringLiteral("Copy Table to Clipboard"));
        QCOMPARE(window_->ButtonCopy()->geometry(), QRect(8, 2, 137, 25));
        QCOMPARE(window_->ButtonCopy()->parentWidget(), window_->LabelTitle()->parentWidget());
        QCOMPARE(window_->ButtonChart()->text(), QStringLiteral("Show Chart"));
        QCOMPARE(window_->ButtonChart()->geometry(), QRect(753, 2, 137, 25));
        QCOMPARE(window_->ButtonChart()->parentWidget(), window_->LabelTitle()->parentWidget());
    }

    void headerPressSorts_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("sortCount");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name ascending")
            << int(Qt::LeftButton) << 0 << 0
            << QStringList{"Adams, Jo", "Brown, Al", "Chen, Li", "Diaz, Eva"};
        QTest::newRow("nation, right button")
            << int(Qt::RightButton) << 1 << 0
            << QStringList{"Brown, Al", "Chen, Li", "Diaz, Eva", "Adams, Jo"};
        QTest::newRow("count descending")
            << int(Qt::LeftButton) << 2 << 0
            << QStringList{"Chen, Li", "Brown, Al", "Adams, Jo", "Diaz, Eva"};
        // Diaz has the largest band value but only one dive: below Sort Count 2 by "Count".
        QTest::newRow("band split by count")
            << int(Qt::LeftButton) << 7 << 2
            << QStringList{"Adams, Jo", "Chen, Li", "Brown, Al", "Diaz, Eva"};
    }

    void headerPressSorts() {
        QFETCH(int, button);
        QFETCH(int, col);
        QFETCH(int, sortCount);
        QFETCH(QStringList, expected);
        FillPerDiverGrid(window_->DiverTable());
        sortCount_ = sortCount;
        window_->ShowBreakdown(Titled("W3M - 101B - DD 1.5 - 4 divers"));

        press(static_cast<Qt::MouseButton>(button), cellCentre(col, 0));

        QCOMPARE(NamesInOrder(window_->DiverTable()), expected);
        QCOMPARE(window_->DiverSortCol(), col);
        QCOMPARE(clickedRows_, std::vector<int>{0});
        QVERIFY(pumps_ > 0);
    }

    void pressOffTheHeaderOnlyRecords_data() {
        QTest::addColumn<QPoint>("where"); // (-1, y): below the last row; (x, -1): right
        QTest::addColumn<int>("expectedCol");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("data cell in column 7") << QPoint(7, 2) << 7 << 2;
        QTest::newRow("below the last row") << QPoint(-1, 0) << -1 << -1;
        QTest::newRow("right of the last column") << QPoint(0, -1) << -1 << -1;
    }

    void pressOffTheHeaderOnlyRecords() {
        QFETCH(QPoint, where);
        QFETCH(int, expectedCol);
        QFETCH(int, expectedRow);
        FillPerDiverGrid(window_->DiverTable());
        window_->ShowBreakdown(Titled("title"));
        const QStringList before = NamesInOrder(window_->DiverTable());

        const int lastRow = window_->DiverTable().RowCount() - 1;
        QPoint pos;
        if (where.x() >= 0 && where.y() >= 0)
            pos = cellCentre(where.x(), where.y());
        else if (where.x() < 0)
            pos = QPoint(cellCentre(3, lastRow).x(), view().cellRect(3, lastRow).bottom() + 20);
        else
            pos = QPoint(view().cellRect(14, 1).right() + 20, cellCentre(14, 1).y());
        press(Qt::LeftButton, pos);

        QCOMPARE(NamesInOrder(window_->DiverTable()), before);
        QCOMPARE(window_->DiverSortCol(), expectedCol);
        QCOMPARE(clickedRows_, std::vector<int>{expectedRow});
        QCOMPARE(pumps_, 0);
        if (expectedRow > 0)
            QCOMPARE(QPoint(view().currentCol(), view().currentRow()), where);
    }

    void closingHidesAndKeepsContents() {
        FillPerDiverGrid(window_->DiverTable());
        window_->ShowBreakdown(Titled("W3M - 101B - DD 1.5 - 4 divers"));
        QPointer<BreakdownWindow> alive(window_);

        window_->close();
        QVERIFY(window_->isHidden());
        window_->ShowBreakdown(Titled("again"));
        // Escape is no close command, wherever the focus is.
        const QPoint pos = window_->pos();
        QTest::keyClick(window_, Qt::Key_Escape);
        QTest::keyClick(window_->DiveStatsGrid(), Qt::Key_Escape);
        QTest::keyClick(window_->ButtonCopy(), Qt::Key_Escape);
        QVERIFY(window_->isVisible());
        QCOMPARE(window_->pos(), pos);
        window_->close();
        QVERIFY(window_->isHidden());

        QVERIFY(!alive.isNull());
        QCOMPARE(window_->DiverTable().Cell(0, 1), std::string("Chen, Li"));
        QCOMPARE(window_->LabelTitle()->text(), QStringLiteral("again"));
    }

    void placementCentredThenKept() {
        window_->ShowBreakdown(Titled("first"));
        const QPoint ownerCentre = owner_->frameGeometry().center();
        const QPoint centre = window_->frameGeometry().center();
        QVERIFY2((centre - ownerCentre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("centre %1,%2 owner %3,%4")
                                .arg(centre.x())
                                .arg(centre.y())
                                .arg(ownerCentre.x())
                                .arg(ownerCentre.y())));

        const QPoint moved = window_->pos() + QPoint(-37, 23);
        window_->move(moved);
        window_->close();
        window_->ShowBreakdown(Titled("second"));
        QVERIFY(window_->isVisible());
        QCOMPARE(window_->pos(), moved);
        QCOMPARE(window_->LabelTitle()->text(), QStringLiteral("second"));
    }

    void copyGivesFifteenFieldsPerLine() {
        StringGrid& grid = window_->DiverTable();
        FillPerDiverGrid(grid);
        grid.SetCell(0, 4, "M\xFCller, Ute"); // a Latin-1 byte from the 8-bit sources

        window_->ButtonCopy()->click();

        const QStringList lines = clipboard_.contents.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), grid.RowCount());
        for (const QString& line : lines)
            QCOMPARE(line.count(QLatin1Char('\t')), 15);
        QVERIFY(!clipboard_.contents.endsWith(QStringLiteral("\n")));
        QCOMPARE(lines[0], QStringLiteral("Name\tNation\tCount\tAvg Pts\tAvg Score\t0 to 1\t>1 to "
                                          "2\t>2 to 3\t>3 to 4\t>4 to 5\t>5 to 6\t>6 to 7\t>7 "
                                          "to 8\t>8 to 9\t>9 to 10\t"));
        QCOMPARE(lines[2],
                 QStringLiteral("Adams, Jo\tUSA\t2\t55.00\t6.1\t\t\t40.0\t\t\t\t\t\t\t\t"));
        QCOMPARE(lines[4].section(QLatin1Char('\t'), 0, 0), QStringLiteral(u"M\u00fcller, Ute"));
        QVERIFY(!clipboard_.contents.contains(QStringLiteral("275.5")));
        QVERIFY(messages_.errors.empty());
    }

    void refusedClipboardReportsAndKeepsItsContents() {
        FillPerDiverGrid(window_->DiverTable());
        clipboard_.refuse = true;
        window_->CopyTableToClipboard();
        QCOMPARE(messages_.errors, QStringList{QStringLiteral("Cannot open clipboard")});
        QCOMPARE(clipboard_.contents, QStringLiteral("held before"));
        QVERIFY(messages_.notices.empty());
    }

    void systemClipboardTakesPlainText() {
        SystemClipboard system;
        QVERIFY(system.SetText(QStringLiteral("a\tb\t\r\nc\t")));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\t\r\nc\t"));
    }

    void handCursorOverTheHeaderOnly() {
        FillPerDiverGrid(window_->DiverTable());
        window_->ShowBreakdown(Titled("title"));
        QWidget* viewport = view().viewport();

        moveTo(cellCentre(0, 0));
        QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
        moveTo(cellCentre(5, 2));
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
        moveTo(cellCentre(9, 0));
        QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
        moveTo(QPoint(cellCentre(9, 0).x(), viewport->height() - 3));
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
    }

    void cellColoursFollowTheThresholds() {
        FillPerDiverGrid(window_->DiverTable());
        window_->ShowBreakdown(Titled("title"));
        // Row 2 is Adams: 40.0 in column 7, blank neighbours.
        QCOMPARE(pixelOf(7, 2), QColor(0xFF, 0x99, 0xFF));
        QCOMPARE(pixelOf(6, 2), QColor(0xB3, 0xD7, 0xFB));

        thresholds_.percent = 45;
        view().repaintNow();
        QCOMPARE(pixelOf(7, 2), QColor(0xB3, 0xD7, 0xFB));

        const QImage whole = window_->grab().toImage();
        QCOMPARE(whole.pixelColor(600, 40 + 14), QColor(0x00, 0x00, 0xFF)); // the title bar
    }
};

QTEST_MAIN(TestBreakdownWindow)
#include "test_breakdown_window.moc"
