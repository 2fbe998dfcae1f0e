// SPDX-License-Identifier: GPL-3.0-or-later
// Painting one screen of the M3M table as the window shows it after start-up, rendered into
// an off-screen image on the offscreen platform: a grid view at the size of an event tab with
// the event painter and the default thresholds (repeated paints, and paints with nothing
// measured yet), and the M3M grid of the program's own started window, whose painter reads
// the thresholds from the controls. Also the score-band chart following a row click.

#include "analysis/drill_down.h"
#include "analysis/statistics.h"
#include "app/settings.h"
#include "store/number_text.h"
#include "store/result_loader.h"
#include "ui/breakdown_window.h"
#include "ui/cell_drawing.h"
#include "ui/cell_painters.h"
#include "ui/main_window.h"
#include "ui/score_band_chart_view.h"
#include "ui/score_bands_window.h"
#include "ui/string_grid_view.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBarSet>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

namespace corvane {
namespace {

// An event grid of the main window: the page control is 815 x 680, of which the tab row
// takes the top 24 pixels; inside, the viewport is 799 x 654 beside the scroll bar.
constexpr QSize kEventGridSize{815, 656};
constexpr int kSortCol = 0;

// The face and size the main window gives its grids.
QFont GridFont() {
    const QString preferred = QStringLiteral("MS Sans Serif");
    QFont font(QFontDatabase::families().contains(preferred) ? preferred
                                                             : QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    return font;
}

// The M3M table of the initial run, sorted on the dive code with the default Sort Count; why
// not, when the sample results cannot be read.
std::optional<std::string> GenerateM3M(StringGrid& table, RecordStore& store) {
    const LoadOutcome outcome = LoadResultFiles(CORVANE_SAMPLE_DIR, store);
    if (outcome.kind != LoadOutcome::Kind::Loaded)
        return "sample results not loaded: " + outcome.path + " " + outcome.message;
    const Thresholds defaults;
    GenerateEventTable(table, 1, store.Dives(1), BuiltInRoster(), BuiltInCatalogue(), true, {},
                       kSortCol, SortSplit{static_cast<int>(defaults.sortCount), {}});
    return std::nullopt;
}

// The event painter with nothing measured yet, as a new grid starts.
void UseEventPainter(StringGridView& view) {
    StringGridView* target = &view;
    UseCellLook(view, [target](int col, int row, bool isCurrent) {
        return EventCellLook(target->grid(), col, row, Thresholds{}, kSortCol, isCurrent);
    });
}

// The view set up as the main window sets up its event grids.
std::unique_ptr<StringGridView> EventGridView(StringGrid& table) {
    auto view = std::make_unique<StringGridView>(table);
    view->setFixedCounts(1, 1);
    view->setHorizontalScrolling(false);
    view->setBackgroundColour(colours::kGridBackground);
    view->setFont(GridFont());
    UseEventPainter(*view);
    view->resize(kEventGridSize);
    return view;
}

// A painted screen has the header blue in its top left cell (right of the text "Dive") and
// more rows than fit.
bool LooksPainted(const QImage& image, const StringGridView& view) {
    const QPoint besideText = view.viewport()->mapTo(&view, QPoint(view.grid().ColWidth(0) - 3, 1));
    return image.pixel(besideText) == ToQColor(colours::kHeaderBlue).rgb() &&
           view.grid().RowCount() > 40;
}

void BM_PaintEventGridScreen(benchmark::State& state) {
    StringGrid table(kEventTableCols, 2);
    if (const auto problem = GenerateM3M(table, *std::make_unique<RecordStore>())) {
        state.SkipWithError(problem->c_str());
        return;
    }
    const std::unique_ptr<StringGridView> view = EventGridView(table);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    view->render(&image);
    if (!LooksPainted(image, *view)) {
        state.SkipWithError("the grid did not paint as the window paints it");
        return;
    }
    // Argument 1: every paint as the first one, before any text of the grid was measured.
    const bool firstPaint = state.range(0) == 1;
    for (auto _ : state) {
        if (firstPaint)
            UseEventPainter(*view);
        view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    const int rowsShown = (view->viewport()->height() + StringGridView::kLineWidth) /
                          (StringGridView::kRowHeight + StringGridView::kLineWidth);
    state.counters["rows"] = rowsShown;
    state.counters["width"] = view->viewport()->width();
    state.counters["height"] = view->viewport()->height();
}
BENCHMARK(BM_PaintEventGridScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The program's own window after start-up on the sample results, its M3M grid repainted as
// the window repaints it: thresholds read from the controls for every cell.
class StartedWindow {
public:
    StartedWindow() {
        for (const char* event : {"M3M", "W3M", "M10M", "W10M"}) {
            QFile::copy(QStringLiteral(CORVANE_SAMPLE_DIR "/") + QLatin1String(event),
                        folder_.filePath(QLatin1String(event)));
        }
        QDir::setCurrent(folder_.path());
        form_ = std::make_unique<MainWindow>(settings_);
        form_->AttachBreakdown(new BreakdownWindow(form_->MakeBreakdownHost(), form_.get()));
        form_->show();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!form_->IsBusy() || QDeadlineTimer::current() > deadline_)
                loop.quit();
        });
        poll.start(1);
        loop.exec();
    }
    ~StartedWindow() {
        form_.reset();
        QDir::setCurrent(startDir_);
    }
    StartedWindow(const StartedWindow&) = delete;
    StartedWindow& operator=(const StartedWindow&) = delete;

    bool started() const { return !form_->IsBusy() && form_->EventTable(1).RowCount() > 40; }
    StringGridView& m3m() const { return *form_->EventGrid(1); }

private:
    QString startDir_ = QDir::currentPath();
    QTemporaryDir folder_;
    QDeadlineTimer deadline_{30000};
    DdIniSettings settings_;
    std::unique_ptr<MainWindow> form_;
};

void BM_PaintMainWindowGrid(benchmark::State& state) {
    const StartedWindow window;
    if (!window.started()) {
        state.SkipWithError("the main window did not start on the sample results");
        return;
    }
    StringGridView& view = window.m3m();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&image);
    if (!LooksPainted(image, view)) {
        state.SkipWithError("the grid did not paint");
        return;
    }
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = view.viewport()->width();
    state.counters["height"] = view.viewport()->height();
}
BENCHMARK(BM_PaintMainWindowGrid)->Unit(benchmark::kMillisecond);

// The Dive Statistics window holding the breakdown of the most performed M3M dive, with its
// "Score Bands" window shown; why not, when it could not be opened.
std::optional<std::string> OpenChartOfMostPerformedDive(BreakdownWindow& stats) {
    const auto store = std::make_unique<RecordStore>();
    StringGrid table(kEventTableCols, 2);
    if (auto problem = GenerateM3M(table, *store))
        return problem;
    int row = 1;
    for (int other = 2; other < table.RowCount(); ++other) {
        if (CellInteger(table.Cell(1, other)) > CellInteger(table.Cell(1, row)))
            row = other;
    }
    const DiveBreakdown result =
        DrillDown(table, 1, row, store->Dives(1), BuiltInRoster(), {},
                  {stats.SummaryTable(), stats.DiverTable(), stats.DiverSortCol()}, {});
    stats.ShowBreakdown(result);
    stats.ShowChartWindow();
    if (result.diverCount < 3 || !stats.ChartWindow() || !stats.ChartWindow()->isVisible())
        return "the chart of the breakdown did not open";
    return std::nullopt;
}

// A click on another diver row until the chart shows it. Argument 1 also paints the chart
// window as the screen would show it.
void BM_ChartAfterRowClick(benchmark::State& state) {
    BreakdownWindow stats(BreakdownHost{});
    if (const auto problem = OpenChartOfMostPerformedDive(stats)) {
        state.SkipWithError(problem->c_str());
        return;
    }
    StringGridView& divers = *stats.DiveStatsGrid();
    ScoreBandChartView& chart = *stats.ChartWindow()->Chart();
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    const bool paint = state.range(0) == 1;
    int row = 1;
    for (auto _ : state) {
        row = row == 1 ? 2 : 1;
        divers.setCurrentCell(5, row);
        QCoreApplication::sendPostedEvents();
        if (paint)
            static_cast<QWidget&>(chart).render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (chart.DiverSet() == nullptr ||
        chart.DiverSet()->label().toStdString().rfind(stats.DiverTable().Cell(0, row), 0) != 0)
        state.SkipWithError("the chart did not follow the row");
    state.counters["divers"] = stats.DiverTable().RowCount() - 1;
}
BENCHMARK(BM_ChartAfterRowClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    // No display is needed to measure painting; a platform named by the caller wins.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
