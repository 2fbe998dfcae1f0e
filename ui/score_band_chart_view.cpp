// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/score_band_chart_view.h"

#include "ui/cell_painters.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCursor>
#include <QToolTip>
#include <QValueAxis>

namespace corvane {

namespace {

constexpr int kTitlePixels = 16;
constexpr int kLabelPixels = 11;
constexpr std::uint32_t kGridLines = 0xD0D0D0;

QColor Rgb(std::uint32_t rgb) {
    return QColor::fromRgb(QRgb(rgb));
}

QFont PixelFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Cell text is Latin-1, as the grids show it.
QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QStringList Labels(const ScoreBandChart& chart) {
    QStringList labels;
    for (const std::string& label : chart.bandLabels)
        labels << Latin1(label);
    return labels;
}

void StyleAxis(QAbstractAxis& axis) {
    axis.setLabelsFont(PixelFont(kLabelPixels));
    axis.setTitleFont(PixelFont(kLabelPixels));
    axis.setGridLineColor(Rgb(kGridLines));
    axis.setLabelsColor(Qt::black);
}

} // namespace

// Given its chart at construction: a chart view made without one makes its own, which
// setChart() would later release and leave to no one.
ScoreBandChartView::ScoreBandChartView(QWidget* parent) : QChartView(new QChart(), parent) {
    setObjectName(QStringLiteral("ScoreBandChart"));
    resize(kChartSize);
    BuildChart();
    ShowChart(ScoreBandChartOf(DiveBreakdown{}, nullptr));
}

void ScoreBandChartView::BuildChart() {
    QChart* chart = this->chart();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setTitleFont(PixelFont(kTitlePixels, true));
    chart->setTitleBrush(Qt::black);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(PixelFont(kLabelPixels));
    chart->legend()->setLabelColor(Qt::black);

    series_ = new QBarSeries(chart);
    fieldSet_ = MakeSet(colours::kGridBackground);
    series_->append(fieldSet_);
    chart->addSeries(series_);

    bandAxis_ = new QBarCategoryAxis(chart);
    StyleAxis(*bandAxis_);
    chart->addAxis(bandAxis_, Qt::AlignBottom);
    shareAxis_ = new QValueAxis(chart);
    StyleAxis(*shareAxis_);
    shareAxis_->setLabelFormat(QStringLiteral("%.0f%%"));
    shareAxis_->setTitleText(QStringLiteral("share of the dives"));
    chart->addAxis(shareAxis_, Qt::AlignLeft);
    series_->attachAxis(bandAxis_);
    series_->attachAxis(shareAxis_);
    setBackgroundBrush(Qt::white);
}

QBarSet* ScoreBandChartView::MakeSet(std::uint32_t rgb) {
    auto* set = new QBarSet(QString(), this);
    set->setColor(Rgb(rgb));
    // A darker outline keeps the pale field blue readable on white.
    set->setBorderColor(Rgb(rgb).darker(170));
    connect(set, &QBarSet::hovered, this,
            [this, set](bool status, int band) { ShowTooltip(set, status, band); });
    return set;
}

void ScoreBandChartView::FillSet(QBarSet& set, const BandSeries& series) {
    set.setLabel(Latin1(series.name));
    if (set.count() != kBandCount) {
        set.remove(0, set.count());
        for (int band = 0; band < kBandCount; ++band)
            set.append(series.shares[band]);
        return;
    }
    for (int band = 0; band < kBandCount; ++band) {
        if (set.at(band) != series.shares[band])
            set.replace(band, series.shares[band]);
    }
}

void ScoreBandChartView::ShowDiver(const std::optional<BandSeries>& diver) {
    if (!diver) {
        if (diverSet_) {
            series_->remove(diverSet_); // deletes the set
            diverSet_ = nullptr;
        }
        return;
    }
    if (!diverSet_) {
        diverSet_ = MakeSet(colours::kPink);
        FillSet(*diverSet_, *diver);
        series_->append(diverSet_);
        return;
    }
    FillSet(*diverSet_, *diver);
}

void ScoreBandChartView::ShowChart(const ScoreBandChart& chart) {
    // Only what changed is set again, so a row click costs no new layout of the axes.
    if (chart.title != shown_.title)
        this->chart()->setTitle(Latin1(chart.title));
    if (chart.bandLabels != shown_.bandLabels)
        bandAxis_->setCategories(Labels(chart));
    FillSet(*fieldSet_, chart.field);
    ShowDiver(chart.diver);
    shareAxis_->setRange(0, chart.axisTop);
    shareAxis_->setTickCount(int(chart.axisTop / 10) + 1);
    shown_ = chart;
}

void ScoreBandChartView::ShowTooltip(const QBarSet* set, bool hovered, int band) {
    if (!hovered || band < 0 || band >= kBandCount) {
        QToolTip::hideText();
        return;
    }
    const QString text = QStringLiteral("%1\n%2: %3%")
                             .arg(set->label(), Latin1(shown_.bandLabels[band]))
                             .arg(set->at(band), 0, 'f', 1);
    QToolTip::showText(QCursor::pos(), text, this);
}

} // namespace corvane
