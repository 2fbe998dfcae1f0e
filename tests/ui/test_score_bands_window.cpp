// SPDX-License-Identifier: GPL-3.0-or-later
// The "Score Bands" window on the sample results: it follows the Dive Statistics window and
// saves its picture.

#include "analysis/score_band_chart.h"
#include "store/number_text.h"
#include "ui/filter_combo.h"
#include "ui/score_band_chart_view.h"
#include "ui/score_bands_window.h"
#include "ui/string_grid_view.h"
#include "window_test_support.h"

#include <QBarSet>
#include <QChart>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <memory>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The program wired as main() wires it, with the file dialog answered by the test.
struct ChartSession {
    DdIniSettings settings;
    RecordingMessages messages;
    FakeClipboard clipboard;
    std::unique_ptr<MainWindow> form;
    BreakdownWindow* stats = nullptr;
    QString proposed;
    QString answer;

    ChartSession()
        : form(MakeMainWindow(settings, &messages, &clipboard,
                              [this](BreakdownHost& host) {
                                  host.chart.askFile = [this](QWidget*, const QString& offered) {
                                      proposed = offered;
                                      return answer;
                                  };
                              })),
          stats(form->Breakdown()) {}
    void DrillInto(int row) {
        StringGridView* m3m = form->EventGrid(1);
        QTest::mouseDClick(m3m->viewport(), Qt::LeftButton, {}, m3m->cellRect(2, row).center());
    }
    void Press(int col, int row) {
        StringGridView* view = stats->DiveStatsGrid();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(col, row).center());
    }
    ScoreBandChartView& chart() { return *stats->ChartWindow()->Chart(); }
};

// The drawn bars hold the shares of the grids' rows: the field's and the given diver row's.
bool BarsShow(ScoreBandChartView& chart, const StringGrid& statsGrid, const StringGrid& divers,
              int row) {
    const QString label =
        QString::fromLatin1((divers.Cell(0, row) + " [" + divers.Cell(1, row) + "]").c_str());
    if (!chart.DiverSet() || chart.DiverSet()->label() != label)
        return false;
    for (int band = 0; band < kBandCount; ++band) {
        if (chart.FieldSet()->at(band) != CellNumber(statsGrid.Cell(5 + band, 1)) ||
            chart.DiverSet()->at(band) != CellNumber(divers.Cell(5 + band, row)))
            return false;
    }
    return true;
}

} // namespace

class TestScoreBandsWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestFolder> folder_;

private slots:
    void init() {
        folder_ = std::make_unique<TestFolder>();
        QVERIFY(folder_->Enter());
        QVERIFY(folder_->CopySamples());
    }
    void cleanup() { folder_.reset(); }

    void followsDrillDownSortAndRowClick();
    void savesPngOrSvgWholeOrNotAtAll();
    void anyCellOfADiverRowPicksTheDiver();
    void titleAndPictureNameTheFilter();
    void opensBesideTheStatisticsWindow_data();
    void opensBesideTheStatisticsWindow();
};

void TestScoreBandsWindow::followsDrillDownSortAndRowClick() {
    ChartSession session;
    session.form->show();
    QVERIFY(QTest::qWaitFor([&] { return !session.form->IsBusy(); }, kTimeoutMs));
    session.DrillInto(1);
    QVERIFY(session.stats->isVisible());
    QVERIFY(!session.stats->ChartWindow());

    QTest::mouseClick(session.stats->ButtonChart(), Qt::LeftButton);
    ScoreBandsWindow* window = session.stats->ChartWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Score Bands"));
    QCOMPARE(window->parentWidget(), session.form.get());
    QCOMPARE(session.chart().chart()->title(), session.stats->LabelTitle()->text());
    const StringGrid& statsGrid = session.stats->SummaryTable();
    const StringGrid& divers = session.stats->DiverTable();
    QVERIFY(BarsShow(session.chart(), statsGrid, divers, 1));
    QCOMPARE(session.chart().FieldSet()->label(), QStringLiteral("All divers"));

    // A bar under the pointer tells its value.
    int band = 0;
    while (band < kBandCount - 1 && statsGrid.Cell(5 + band, 1).empty())
        ++band;
    emit session.chart().FieldSet()->hovered(true, band);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("All divers\n%1: %2%")
                                   .arg(QString::fromStdString(statsGrid.Cell(5 + band, 0)),
                                        QString::fromStdString(statsGrid.Cell(5 + band, 1))));

    session.Press(3, 3);
    QVERIFY(BarsShow(session.chart(), statsGrid, divers, 3));
    const std::string third = divers.Cell(0, 3);
    session.Press(0, 0); // by name: another diver comes to row 3
    QVERIFY(divers.Cell(0, 3) != third);
    QVERIFY(BarsShow(session.chart(), statsGrid, divers, 3));

    const QString before = session.chart().chart()->title();
    session.DrillInto(2);
    QVERIFY(session.chart().chart()->title() != before);
    QCOMPARE(session.chart().chart()->title(), session.stats->LabelTitle()->text());
    QVERIFY(BarsShow(session.chart(), statsGrid, divers, 3));

    // Closed, it only hides; shown again, it stays where the user put it.
    window->move(window->pos() + QPoint(-30, 20));
    const QPoint moved = window->pos();
    window->close();
    QVERIFY(!window->isVisible());
    QTest::mouseClick(session.stats->ButtonChart(), Qt::LeftButton);
    QCOMPARE(session.stats->ChartWindow(), window);
    QCOMPARE(window->pos(), moved);
}

void TestScoreBandsWindow::savesPngOrSvgWholeOrNotAtAll() {
    ChartSession session;
    session.form->show();
    QVERIFY(QTest::qWaitFor([&] { return !session.form->IsBusy(); }, kTimeoutMs));
    session.DrillInto(1);
    QTest::mouseClick(session.stats->ButtonChart(), Qt::LeftButton);
    ScoreBandsWindow& window = *session.stats->ChartWindow();
    const QString code = QString::fromLatin1(session.form->EventTable(1).Cell(0, 1).c_str());
    const QString png = folder_->filePath(QStringLiteral("M3M-%1.png").arg(code));

    session.answer = png;
    QTest::mouseClick(window.ButtonSave(), Qt::LeftButton);
    QCOMPARE(session.proposed, png);
    const QImage image(png);
    QCOMPARE(image.size(), ScoreBandChartView::kChartSize);
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));

    session.answer = folder_->filePath(QStringLiteral("chart.SVG"));
    QTest::mouseClick(window.ButtonSave(), Qt::LeftButton);
    QFile svg(session.answer);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    QVERIFY(text.contains("<svg") && text.contains("</svg>"));
    QVERIFY(session.messages.errors.isEmpty());

    // Failures reach the error box, and leave an existing file as it was.
    QVERIFY(folder_->WriteFile(QStringLiteral("old.jpg"), "kept"));
    for (const QString& name : {QStringLiteral("old.jpg"), QStringLiteral("no/such/dir.png")}) {
        session.answer = folder_->filePath(name);
        QTest::mouseClick(window.ButtonSave(), Qt::LeftButton);
        QVERIFY(session.messages.errors.last().startsWith("Unable to write to " + session.answer));
    }
    QCOMPARE(session.messages.errors.size(), 2);
    QFile old(folder_->filePath(QStringLiteral("old.jpg")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("kept"));
    QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("no"))));
    QCOMPARE(QDir(folder_->path()).entryList({"*.png", "*.svg", "*.SVG"}, QDir::Files).size(), 2);
}

void TestScoreBandsWindow::anyCellOfADiverRowPicksTheDiver() {
    ChartSession session;
    session.form->show();
    QVERIFY(QTest::qWaitFor([&] { return !session.form->IsBusy(); }, kTimeoutMs));
    session.DrillInto(1);
    QTest::mouseClick(session.stats->ButtonChart(), Qt::LeftButton);
    const StringGrid& divers = session.stats->DiverTable();
    QVERIFY(divers.RowCount() > 5);
    // Name (the fixed column), Nation, Count and a band share, each on another row.
    const int cells[][2] = {{0, 3}, {1, 4}, {2, 2}, {7, 5}, {0, 1}};
    for (const auto& [col, row] : cells) {
        session.Press(col, row);
        QVERIFY2(BarsShow(session.chart(), session.stats->SummaryTable(), divers, row),
                 qPrintable(QStringLiteral("column %1, row %2").arg(col).arg(row)));
        QCOMPARE(session.stats->DiveStatsGrid()->currentRow(), row);
    }
}

void TestScoreBandsWindow::titleAndPictureNameTheFilter() {
    ChartSession session;
    session.form->show();
    QVERIFY(QTest::qWaitFor([&] { return !session.form->IsBusy(); }, kTimeoutMs));
    FilterCombo* countries = session.form->CountryList();
    const int chn = countries->findText(QStringLiteral("CHN"));
    QVERIFY(chn > 0);
    countries->setCurrentIndex(chn);
    emit countries->activated(chn);
    session.DrillInto(1);
    QTest::mouseClick(session.stats->ButtonChart(), Qt::LeftButton);
    const QString title = session.stats->LabelTitle()->text() + QStringLiteral(" - country CHN");
    QCOMPARE(session.chart().chart()->title(), title);

    session.answer = folder_->filePath(QStringLiteral("chart.svg"));
    QTest::mouseClick(session.stats->ChartWindow()->ButtonSave(), Qt::LeftButton);
    QFile svg(session.answer);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("country CHN"));

    // The diver too; back to ***ALL***, the title is the breakdown's alone.
    FilterCombo* diverList = session.form->DiverList();
    diverList->setCurrentIndex(1);
    emit diverList->activated(1);
    session.DrillInto(1);
    QCOMPARE(session.chart().chart()->title(), session.stats->LabelTitle()->text() +
                                                   QStringLiteral(" - country CHN - diver ") +
                                                   diverList->itemText(1));
    countries->setCurrentIndex(0);
    emit countries->activated(0);
    diverList->setCurrentIndex(0);
    session.DrillInto(1);
    QCOMPARE(session.chart().chart()->title(), session.stats->LabelTitle()->text());
}

void TestScoreBandsWindow::opensBesideTheStatisticsWindow_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");
    const QSize frame(720, 480);
    QTest::newRow("room on the right")
        << QRect(0, 0, 900, 740) << QRect(0, 0, 1920, 1080) << QPoint(900, 0);
    QTest::newRow("right, kept on the screen")
        << QRect(100, 700, 900, 740) << QRect(0, 0, 1920, 1080) << QPoint(1000, 600);
    QTest::newRow("no room right: below")
        << QRect(300, 0, 900, 500) << QRect(0, 0, 1280, 1024) << QPoint(300, 500);
    QTest::newRow("below, kept on the screen")
        << QRect(700, 100, 900, 400) << QRect(0, 0, 1280, 1024) << QPoint(560, 500);
    // Too little room either way: below, up over the anchor's lower part, not its top.
    QTest::newRow("no room at all") << QRect(190, 150, 900, 740) << QRect(0, 0, 1280, 1024)
                                    << QPoint(190, 1024 - frame.height());
    QTest::newRow("second screen") << QRect(1920, 0, 900, 740) << QRect(1920, 0, 1280, 1024)
                                   << QPoint(1920, 1024 - frame.height());
}

void TestScoreBandsWindow::opensBesideTheStatisticsWindow() {
    QFETCH(QRect, anchor);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(BesidePosition(anchor, QSize(720, 480), available), expected);

    // The real windows: the chart leaves the Dive Statistics title bar and its button free.
    if (QByteArray(QTest::currentDataTag()) != "room on the right")
        return;
    ChartSession session;
    session.form->show();
    QVERIFY(QTest::qWaitFor([&] { return !session.form->IsBusy(); }, kTimeoutMs));
    session.DrillInto(1);
    QTest::mouseClick(session.stats->ButtonChart(), Qt::LeftButton);
    const QWidget* button = session.stats->ButtonChart();
    const QRect buttonRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    QTRY_VERIFY(session.stats->ChartWindow()->isVisible());
    QVERIFY(!session.stats->ChartWindow()->frameGeometry().intersects(buttonRect));
}

QTEST_MAIN(TestScoreBandsWindow)
#include "test_score_bands_window.moc"
