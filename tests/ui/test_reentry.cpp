// SPDX-License-Identifier: GPL-3.0-or-later
// Re-entry through the windows' real handlers. Clicks, double-clicks, tab presses and closes go
// through the window system's queue like a user's, so they reach the program only where it
// lets pending messages run: inside a statistics run (which holds user input off), between two
// rows of a diver count, inside a sort. Every case must end as the same actions taken one
// after another.
#include "analysis/diver_count.h"
#include "analysis/drill_down.h"
#include "analysis/statistics.h"
#include "ui/breakdown_window.h"
#include "ui/clipboard.h"
#include "ui/main_window.h"
#include "ui/string_grid_view.h"
#include "ui/user_messages.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

// A user at the mouse. Every action waits in the window system's queue until the event loop
// next takes input from it, exactly like a click on a real screen.
class User {
public:
    void Click(QWidget* widget, QPoint pos) {
        Press(widget, pos);
        time_ += kQuickMs;
        Release(widget, pos);
        time_ += kApartMs;
    }
    void DoubleClick(QWidget* widget, QPoint pos) {
        Click(widget, pos);
        time_ -= kApartMs - kQuickMs; // the second click follows at once
        Click(widget, pos);
    }
    // The title bar's close button of `window`.
    void Close(QWidget* window) {
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window->windowHandle());
    }

private:
    static constexpr ulong kQuickMs = 20;
    static constexpr ulong kApartMs = 5000; // never taken for a double-click

    void Press(QWidget* widget, QPoint pos) {
        Send(widget, pos, Qt::LeftButton, QEvent::MouseButtonPress);
    }
    void Release(QWidget* widget, QPoint pos) {
        Send(widget, pos, Qt::NoButton, QEvent::MouseButtonRelease);
    }
    void Send(QWidget* widget, QPoint pos, Qt::MouseButtons buttons, QEvent::Type type) {
        QWidget* top = widget->window();
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            top->windowHandle(), time_, QPointF(widget->mapTo(top, pos)),
            QPointF(widget->mapToGlobal(pos)), buttons, Qt::LeftButton, type);
    }

    ulong time_ = 1000000;
};

// Calls `probe` whenever `watched` receives an event of `type`, before the widget sees it:
// it tells what the program was doing when the input reached it.
class InputProbe : public QObject {
public:
    InputProbe(QObject* watched, QEvent::Type type, std::function<void()> probe)
        : watched_(watched), type_(type), probe_(std::move(probe)) {
        watched_->installEventFilter(this);
    }
    ~InputProbe() override {
        if (watched_)
            watched_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == watched_ && event->type() == type_)
            probe_();
        return false;
    }

private:
    QPointer<QObject> watched_;
    QEvent::Type type_;
    std::function<void()> probe_;
};

// One run of the program, driven through the window system's queue.
struct Session : WindowSession {
    User user;

    bool Start() {
        Show();
        return QTest::qWaitForWindowExposed(form.get()) && WaitUntilIdle();
    }
    StringGrid& Table(int eventIndex) { return form->EventTable(eventIndex); }
    QWidget* Viewport(int eventIndex) { return form->EventGrid(eventIndex)->viewport(); }
    QPoint Cell(int eventIndex, int col, int row) {
        return form->EventGrid(eventIndex)->cellRect(col, row).center();
    }
    void ClickButton(QPushButton* button) { user.Click(button, button->rect().center()); }
    void ClickTab(int index) {
        QTabBar* bar = form->TheGrids()->tabBar();
        user.Click(bar, bar->tabRect(index).center());
    }
    void DoubleClickRow(int row) {
        const int eventIndex = form->ActiveEvent();
        user.DoubleClick(Viewport(eventIndex), Cell(eventIndex, 2, row));
    }
    void PressHeader(int col) {
        const int eventIndex = form->ActiveEvent();
        user.Click(Viewport(eventIndex), Cell(eventIndex, col, 0));
    }
    // Waits until `done` holds. It is tested between two top-level rounds of the event loop,
    // so every handler that ran meanwhile has returned, nested ones included: once the input
    // queued behind a command has been seen, that command has ended.
    static bool WaitFor(const std::function<bool()>& done) {
        return QTest::qWaitFor(done, kTimeoutMs);
    }
    SortSplit Split() const {
        return SortSplit{static_cast<int>(form->CurrentThresholds().sortCount), {}};
    }
};

using Cells = std::vector<std::string>;

Cells Snapshot(const StringGrid& grid) {
    Cells cells;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col)
            cells.push_back(grid.Cell(col, row));
    }
    return cells;
}

Cells Column(const StringGrid& grid, int col) {
    Cells cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.push_back(grid.Cell(col, row));
    return cells;
}

bool DiversFilled(const StringGrid& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(kDiversCol, row).empty())
            return false;
    }
    return true;
}

bool DiversEmpty(const StringGrid& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!table.Cell(kDiversCol, row).empty())
            return false;
    }
    return true;
}

// Between two rows of a count that started on a table with an empty "Divers" column.
bool CountUnderWay(const StringGrid& table) {
    return !DiversFilled(table) && !DiversEmpty(table);
}

// A copy of a window's grid that no view watches.
StringGrid Detached(const StringGrid& grid) {
    StringGrid copy = grid;
    copy.SetObserver({});
    return copy;
}

// The active table after a whole count of its own, started from `table`.
StringGrid CountedAlone(Session& session, const StringGrid& table) {
    StringGrid counted = Detached(table);
    StringGrid workingList(17, 2);
    DiverCountHooks hooks;
    hooks.filter = [&session] { return session.form->CurrentFilter(); };
    PopulateDiverCount(counted, session.form->Store().Filled(session.form->ActiveEvent()),
                       session.form->Roster(), workingList, hooks);
    return counted;
}

// What a double-click on `row` alone gives: the two grids of the breakdown and its title.
struct Breakdown {
    Cells summary;
    Cells perDiver;
    QString title;
};

Breakdown DrillDownAlone(Session& session, int row) {
    const int eventIndex = session.form->ActiveEvent();
    StringGrid table = Detached(session.Table(eventIndex));
    StringGrid summary = Detached(session.stats->SummaryTable());
    StringGrid perDiver = Detached(session.stats->DiverTable());
    const DiveBreakdown result = DrillDown(
        table, eventIndex, row, session.form->Store().Filled(eventIndex), session.form->Roster(),
        session.form->CurrentFilter(),
        BreakdownTarget{summary, perDiver, session.stats->DiverSortCol()}, session.Split());
    return {Snapshot(summary), Snapshot(perDiver), QString::fromLatin1(result.title)};
}

Breakdown Shown(Session& session) {
    return {Snapshot(session.stats->SummaryTable()), Snapshot(session.stats->DiverTable()),
            session.stats->LabelTitle()->text()};
}

} // namespace

class TestReentry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void regenerateDuringARunRunsAfterIt();
    void headerPressDuringARunSortsAfterIt();
    void populateAgainDuringACount();
    void regenerateDuringACountStopsIt();
    void tabSwitchDuringACount();
    void doubleClickDuringACount();
    void headerPressDuringACount();
    void closeDuringACount();
    void drillDownWithTheWindowHiddenVisibleAndMoved();
    void doubleClickDuringADrillDown();
    void reloadDuringADrillDownFollowsIt();
    void closeDuringARunClosesAfterIt();

private:
    QString FolderFile(const QString& name) const { return folder_->filePath(name); }

    std::unique_ptr<TestFolder> folder_;
};

void TestReentry::initTestCase() {
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
}

void TestReentry::init() {
    folder_ = std::make_unique<TestFolder>();
    QVERIFY(folder_->Enter());
    QVERIFY(folder_->CopySamples());
}

void TestReentry::cleanup() {
    folder_.reset();
}

void TestReentry::regenerateDuringARunRunsAfterIt() {
    Session session;
    QVERIFY(session.Start());
    QPushButton* generate = session.form->GenerateStats();
    const auto generation = [&session] { return session.Table(1).Generation(); };
    // One run alone, to learn how far one run moves the table's generation.
    const auto before = generation();
    session.ClickButton(generate);
    QVERIFY(Session::WaitFor([&] { return generation() != before; }));
    const auto perRun = generation() - before;

    // The second click is queued while the first run is under way (the hourglass shows).
    std::vector<bool> deliveredDuringRun;
    InputProbe probe(generate, QEvent::MouseButtonRelease, [&] {
        deliveredDuringRun.push_back(QApplication::overrideCursor() != nullptr);
    });
    bool queued = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
        if (!queued && QApplication::overrideCursor()) {
            session.ClickButton(generate);
            queued = true;
        }
    });
    watcher.start(0);
    const auto start = generation();
    session.ClickButton(generate);
    QVERIFY(Session::WaitFor([&] { return generation() == start + 2 * perRun; }));
    watcher.stop();
    QVERIFY(queued);
    QCOMPARE(deliveredDuringRun, (std::vector<bool>{false, false}));

    // Two more runs one after another give the same tables.
    std::vector<Cells> tables;
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex)
        tables.push_back(Snapshot(session.Table(eventIndex)));
    for (int run = 1; run <= 2; ++run) {
        const auto now = generation();
        session.ClickButton(generate);
        QVERIFY(Session::WaitFor([&] { return generation() == now + perRun; }));
    }
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex)
        QCOMPARE(Snapshot(session.Table(eventIndex)), tables[eventIndex - 1]);
}

void TestReentry::headerPressDuringARunSortsAfterIt() {
    constexpr int kColumn = 3; // "Avg Pts"
    Cells sequential;
    {
        Session session;
        QVERIFY(session.Start());
        const auto before = session.Table(1).Generation();
        session.ClickButton(session.form->GenerateStats());
        QVERIFY(Session::WaitFor([&] { return session.Table(1).Generation() != before; }));
        session.PressHeader(kColumn);
        QVERIFY(Session::WaitFor([&] { return session.form->SortColOf(1) == kColumn; }));
        sequential = Snapshot(session.Table(1));
    }
    Session session;
    QVERIFY(session.Start());
    std::vector<bool> deliveredDuringRun;
    InputProbe probe(session.Viewport(1), QEvent::MouseButtonPress, [&] {
        deliveredDuringRun.push_back(QApplication::overrideCursor() != nullptr);
    });
    bool queued = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
        if (!queued && QApplication::overrideCursor()) {
            session.PressHeader(kColumn);
            queued = true;
        }
    });
    watcher.start(0);
    session.ClickButton(session.form->GenerateStats());
    QVERIFY(Session::WaitFor([&] { return session.form->SortColOf(1) == kColumn; }));
    watcher.stop();
    QVERIFY(queued);
    QCOMPARE(deliveredDuringRun, std::vector<bool>{false});
    QCOMPARE(Snapshot(session.Table(1)), sequential);
}

void TestReentry::populateAgainDuringACount() {
    Session session;
    QVERIFY(session.Start());
    StringGrid& table = session.Table(1);
    const StringGrid expected = CountedAlone(session, table);
    std::vector<bool> deliveredDuringCount;
    QPushButton* populate = session.form->ButtonPopulate();
    InputProbe probe(populate, QEvent::MouseButtonRelease,
                     [&] { deliveredDuringCount.push_back(CountUnderWay(table)); });
    session.ClickButton(populate);
    session.ClickButton(populate);
    QVERIFY(Session::WaitFor([&] { return deliveredDuringCount.size() == 2; }));
    QCOMPARE(deliveredDuringCount, (std::vector<bool>{false, true}));
    QCOMPARE(Snapshot(table), Snapshot(expected));
}

void TestReentry::regenerateDuringACountStopsIt() {
    Session session;
    QVERIFY(session.Start());
    StringGrid& table = session.Table(1);
    const auto before = table.Generation();
    std::vector<bool> deliveredDuringCount;
    QPushButton* generate = session.form->GenerateStats();
    InputProbe probe(generate, QEvent::MouseButtonRelease,
                     [&] { deliveredDuringCount.push_back(CountUnderWay(table)); });
    session.ClickButton(session.form->ButtonPopulate());
    session.ClickButton(generate);
    QVERIFY(Session::WaitFor([&] { return table.Generation() != before; }));
    QCOMPARE(deliveredDuringCount, std::vector<bool>{true});
    QVERIFY(table.RowCount() > 10);
    QVERIFY(DiversEmpty(table)); // the count stopped and left the fresh table alone

    // Regenerating once more, with nothing in between, gives the same tables.
    std::vector<Cells> tables;
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex)
        tables.push_back(Snapshot(session.Table(eventIndex)));
    const auto regenerated = table.Generation();
    session.ClickButton(generate);
    QVERIFY(Session::WaitFor([&] { return table.Generation() != regenerated; }));
    for (int eventIndex = 1; eventIndex <= 4; ++eventIndex)
        QCOMPARE(Snapshot(session.Table(eventIndex)), tables[eventIndex - 1]);
}

void TestReentry::tabSwitchDuringACount() {
    Session session;
    QVERIFY(session.Start());
    StringGrid& table = session.Table(1);
    const StringGrid expected = CountedAlone(session, table);
    std::vector<bool> deliveredDuringCount;
    InputProbe probe(session.form->TheGrids()->tabBar(), QEvent::MouseButtonPress,
                     [&] { deliveredDuringCount.push_back(CountUnderWay(table)); });
    session.ClickButton(session.form->ButtonPopulate());
    session.ClickTab(1);
    QVERIFY(Session::WaitFor([&] { return !deliveredDuringCount.empty(); }));
    QCOMPARE(deliveredDuringCount, std::vector<bool>{true});
    QCOMPARE(session.form->TheGrids()->currentIndex(), 1);
    QCOMPARE(Snapshot(table), Snapshot(expected));
    QVERIFY(DiversEmpty(session.Table(2))); // the table now shown was never the count's
}

void TestReentry::doubleClickDuringACount() {
    constexpr int kRow = 3;
    Session session;
    QVERIFY(session.Start());
    StringGrid& table = session.Table(1);
    const StringGrid expected = CountedAlone(session, table);
    const Breakdown alone = DrillDownAlone(session, kRow);
    std::vector<bool> deliveredDuringCount;
    InputProbe probe(session.Viewport(1), QEvent::MouseButtonDblClick,
                     [&] { deliveredDuringCount.push_back(CountUnderWay(table)); });
    session.ClickButton(session.form->ButtonPopulate());
    session.DoubleClickRow(kRow);
    QVERIFY(Session::WaitFor([&] { return !deliveredDuringCount.empty(); }));
    QCOMPARE(deliveredDuringCount, std::vector<bool>{true});
    QCOMPARE(Snapshot(table), Snapshot(expected));
    QVERIFY(session.stats->isVisible());

    // As the double-click followed by the count: the breakdown's title and summary stay, and
    // the count's rows after it leave their working list (the names of the last row's dive)
    // in the per-diver grid.
    const Breakdown shown = Shown(session);
    QCOMPARE(shown.title, alone.title);
    QCOMPARE(shown.summary, alone.summary);
    StringGrid workingList(17, 2);
    const int lastRow = table.RowCount() - 1;
    CountDistinctDivers(table.Cell(0, lastRow), session.form->Store().Filled(1),
                        session.form->Roster(), session.form->CurrentFilter(), workingList);
    QCOMPARE(Column(session.stats->DiverTable(), 0), Column(workingList, 0));
}

void TestReentry::headerPressDuringACount() {
    constexpr int kColumn = 3; // "Avg Pts": moves most rows of the code-sorted table
    Cells sequential;
    {
        Session session;
        QVERIFY(session.Start());
        session.ClickButton(session.form->ButtonPopulate());
        QVERIFY(Session::WaitFor([&] { return DiversFilled(session.Table(1)); }));
        session.PressHeader(kColumn);
        QVERIFY(Session::WaitFor([&] { return session.form->SortColOf(1) == kColumn; }));
        sequential = Snapshot(session.Table(1));
    }
    Session session;
    QVERIFY(session.Start());
    StringGrid& table = session.Table(1);
    std::vector<bool> deliveredDuringCount;
    InputProbe probe(session.Viewport(1), QEvent::MouseButtonPress,
                     [&] { deliveredDuringCount.push_back(CountUnderWay(table)); });
    session.ClickButton(session.form->ButtonPopulate());
    session.PressHeader(kColumn);
    QVERIFY(Session::WaitFor([&] { return !deliveredDuringCount.empty(); }));
    QCOMPARE(deliveredDuringCount, std::vector<bool>{true});
    QCOMPARE(session.form->SortColOf(1), kColumn);
    QCOMPARE(Snapshot(table), sequential);
}

void TestReentry::closeDuringACount() {
    Session session;
    QVERIFY(session.Start());
    // The breakdown of another event is open while M3M is counted.
    session.ClickTab(1);
    QVERIFY(Session::WaitFor([&] { return session.form->ActiveEvent() == 2; }));
    session.DoubleClickRow(2);
    QVERIFY(Session::WaitFor([&] { return session.stats->isVisible(); }));
    session.ClickTab(0);
    QVERIFY(Session::WaitFor([&] { return session.form->ActiveEvent() == 1; }));
    StringGrid& table = session.Table(1);
    bool deliveredDuringCount = false;
    InputProbe probe(session.form.get(), QEvent::Close,
                     [&] { deliveredDuringCount = CountUnderWay(table); });
    session.ClickButton(session.form->ButtonPopulate());
    session.user.Close(session.form.get());
    QVERIFY(Session::WaitFor([&] { return !session.form->isVisible(); }));
    QVERIFY(deliveredDuringCount);
    // The count stopped at the close, the settings were saved and both windows are gone.
    QVERIFY(CountUnderWay(table));
    QVERIFY(!session.stats->isVisible());
    QVERIFY(QFile::exists(FolderFile("DD.ini")));
    QVERIFY(session.messages.errors.isEmpty());
    // Nothing left over runs after the close.
    bool handled = false;
    PostMarker(handled);
    QTRY_VERIFY(handled);
    QVERIFY(!session.stats->isVisible());
}

void TestReentry::drillDownWithTheWindowHiddenVisibleAndMoved() {
    Session session;
    QVERIFY(session.Start());
    BreakdownWindow& stats = *session.stats;
    const auto drillDown = [&session](int row) {
        const Breakdown alone = DrillDownAlone(session, row);
        session.DoubleClickRow(row);
        QVERIFY(Session::WaitFor([&] {
            return session.stats->isVisible() && session.stats->LabelTitle()->text() == alone.title;
        }));
        const Breakdown shown = Shown(session);
        QCOMPARE(shown.summary, alone.summary);
        QCOMPARE(shown.perDiver, alone.perDiver);
    };
    drillDown(2); // hidden: shown for the first time
    const QPoint first = stats.pos();
    drillDown(4); // visible: refilled where it is
    QCOMPARE(stats.pos(), first);
    const QPoint moved = first + QPoint(40, 30);
    stats.move(moved);
    drillDown(5); // moved: stays where the user put it
    QCOMPARE(stats.pos(), moved);
    session.user.Close(&stats);
    QVERIFY(Session::WaitFor([&] { return !stats.isVisible(); }));
    drillDown(1); // hidden again: back where it was
    QCOMPARE(stats.pos(), moved);
}

void TestReentry::doubleClickDuringADrillDown() {
    Session session;
    QVERIFY(session.Start());
    const Breakdown second = DrillDownAlone(session, 5);
    int doubleClicks = 0;
    InputProbe probe(session.Viewport(1), QEvent::MouseButtonDblClick, [&] { ++doubleClicks; });
    session.DoubleClickRow(2);
    session.DoubleClickRow(5);
    QVERIFY(Session::WaitFor([&] { return doubleClicks == 2; }));
    QVERIFY(session.stats->isVisible());
    const Breakdown shown = Shown(session);
    QCOMPARE(shown.title, second.title);
    QCOMPARE(shown.summary, second.summary);
    QCOMPARE(shown.perDiver, second.perDiver);
    QCOMPARE(session.form->LastClickedRow(), 5);
}

// A reload of the folder asked for while a breakdown is made (an add that ended just then)
// waits until the breakdown is shown and then hides it with the tables it came from: the
// breakdown of the results before is never left over the tables read again.
void TestReentry::reloadDuringADrillDownFollowsIt() {
    Session session;
    QVERIFY(session.Start());
    int doubleClicks = 0;
    InputProbe clicks(session.Viewport(1), QEvent::MouseButtonDblClick, [&] { ++doubleClicks; });
    session.DoubleClickRow(2);
    QVERIFY(Session::WaitFor([&] { return doubleClicks == 1 && session.stats->isVisible(); }));
    // The second breakdown's sort paints the per-diver grid and lets messages run: the reload
    // is asked for there.
    bool asked = false;
    InputProbe paint(session.stats->DiveStatsGrid()->viewport(), QEvent::Paint, [&] {
        if (!asked && doubleClicks == 2) {
            asked = true;
            QMetaObject::invokeMethod(session.form.get(), &MainWindow::ReloadFolder,
                                      Qt::QueuedConnection);
        }
    });
    const auto before = session.Table(1).Generation();
    session.DoubleClickRow(5);
    QVERIFY(Session::WaitFor([&] {
        return asked && session.Table(1).Generation() != before && !session.stats->isVisible();
    }));
}

void TestReentry::closeDuringARunClosesAfterIt() {
    Session session;
    QVERIFY(session.Start());
    std::vector<bool> closedDuringRun;
    InputProbe probe(session.form.get(), QEvent::Close,
                     [&] { closedDuringRun.push_back(QApplication::overrideCursor() != nullptr); });
    bool queued = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
        if (!queued && QApplication::overrideCursor()) {
            session.user.Close(session.form.get());
            queued = true;
        }
    });
    watcher.start(0);
    const auto before = session.Table(4).Generation();
    session.ClickButton(session.form->GenerateStats());
    QVERIFY(Session::WaitFor([&] { return !session.form->isVisible(); }));
    QVERIFY(queued);
    QCOMPARE(closedDuringRun, std::vector<bool>{false});
    QVERIFY(session.Table(4).Generation() != before); // the run went to its last event
    QVERIFY(QFile::exists(FolderFile("DD.ini")));
}

QTEST_MAIN(TestReentry)
#include "test_reentry.moc"
