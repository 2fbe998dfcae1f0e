// SPDX-License-Identifier: GPL-3.0-or-later
#include "score_band_chart.h"

#include "statistics.h"
#include "store/number_text.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr double kAxisStep = 10;
constexpr double kAxisMax = 100;

std::array<double, kBandCount> SharesOf(const StringGrid& grid, int row) {
    std::array<double, kBandCount> shares{};
    for (int band = 0; band < kBandCount; ++band)
        shares[band] = CellNumber(grid.Cell(kFirstBandCol + band, row));
    return shares;
}

// The header as the grid shows it; a summary grid not yet filled falls back to the event
// table's own header.
std::string BandLabel(const StringGrid& statsGrid, int band) {
    const std::string& header = statsGrid.Cell(kFirstBandCol + band, 0);
    return IsBlank(header) ? EventHeader(kFirstBandCol + band) : header;
}

bool IsDiverRow(const StringGrid& grid, int row) {
    return row >= 1 && row < grid.RowCount() && !IsBlank(grid.Cell(kDiverNameCol, row));
}

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

ScoreBandChart ScoreBandChartOf(const StringGrid& statsGrid, const StringGrid& diveStatsGrid,
                                int diverRow, std::string title) {
    ScoreBandChart chart;
    chart.title = std::move(title);
    for (int band = 0; band < kBandCount; ++band)
        chart.bandLabels[band] = BandLabel(statsGrid, band);
    chart.field = BandSeries{kFieldSeriesName, SharesOf(statsGrid, 1)};
    if (IsDiverRow(diveStatsGrid, diverRow)) {
        // The diver label, as the diver list writes it.
        const std::string label = diveStatsGrid.Cell(kDiverNameCol, diverRow) + " [" +
                                  diveStatsGrid.Cell(kDiverNationCol, diverRow) + "]";
        chart.diver = BandSeries{label, SharesOf(diveStatsGrid, diverRow)};
    }
    chart.axisTop = AxisTop(chart);
    return chart;
}

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
