// SPDX-License-Identifier: GPL-3.0-or-later
#include "score_band_chart.h"

#include "statistics.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr double kAxisStep = 10;
constexpr double kAxisMax = 100;

// The largest share rounded up to a whole step, so the tallest bar nearly fills the plot
// and the axis reads in round numbers.
double AxisTop(const ScoreBandChart& chart) {
    double largest = *std::max_element(chart.field.shares.begin(), chart.field.shares.end());
    if (chart.diver)
        largest = std::max(
            largest, *std::max_element(chart.diver->shares.begin(), chart.diver->shares.end()));
    const double top = std::ceil(largest / kAxisStep) * kAxisStep;
    return std::clamp(top, kAxisStep, kAxisMax);
}

} // namespace

ScoreBandChart ScoreBandChartOf(const DiveBreakdown& breakdown, const DiverShares* diver) {
    ScoreBandChart chart;
    chart.title = ChartTitle(breakdown.title, breakdown.filter);
    for (int band = 0; band < kBandCount; ++band)
        chart.bandLabels[band] = EventHeader(kFirstBandCol + band);
    chart.field = BandSeries{kFieldSeriesName, breakdown.fieldShares};
    if (diver)
        chart.diver = BandSeries{diver->name + " [" + diver->nation + "]", diver->shares};
    chart.axisTop = AxisTop(chart);
    return chart;
}

std::string ChartTitle(std::string breakdownTitle, const FilterSelection& filter) {
    if (filter.countryIndex > 0) {
        breakdownTitle += " - country ";
        breakdownTitle += filter.country;
    }
    if (filter.diverIndex > 0) {
        breakdownTitle += " - diver ";
        breakdownTitle += filter.diver;
    }
    return breakdownTitle;
}

} // namespace corvane
