// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/score_band_chart.h"

#include <QChartView>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QValueAxis;

namespace corvane {

// Draws a ScoreBandChart as grouped bars: the field in the grids' data-cell blue, the diver
// in the highlight pink, on white, with each bar's value as its tooltip.
class ScoreBandChartView : public QChartView {
    Q_OBJECT

public:
    // The size the chart is drawn and saved at, readable with ten band labels.
    static constexpr QSize kChartSize{720, 440};

    explicit ScoreBandChartView(QWidget* parent = nullptr);

    // Shows `chart`, reusing the bars already there: a new diver only changes values.
    void ShowChart(const ScoreBandChart& chart);
    const ScoreBandChart& Shown() const { return shown_; }
    QBarSet* FieldSet() const { return fieldSet_; }
    QBarSet* DiverSet() const { return diverSet_; }

private:
    void BuildChart();
    QBarSet* MakeSet(std::uint32_t rgb);
    void FillSet(QBarSet& set, const BandSeries& series);
    void ShowDiver(const std::optional<BandSeries>& diver);
    void ShowTooltip(const QBarSet* set, bool hovered, int band);

    ScoreBandChart shown_;
    QBarSeries* series_ = nullptr;
    QBarSet* fieldSet_ = nullptr;
    QBarSet* diverSet_ = nullptr;
    QBarCategoryAxis* bandAxis_ = nullptr;
    QValueAxis* shareAxis_ = nullptr;
};

} // namespace corvane
