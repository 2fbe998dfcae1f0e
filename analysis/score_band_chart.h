// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drill_down.h"
#include "event_table.h"
#include "filter.h"

#include <array>
#include <optional>
#include <string>

namespace corvane {

inline constexpr char kFieldSeriesName[] = "All divers";

// One row of shares drawn as bars: its name and the percentage in each of the ten bands.
struct BandSeries {
    std::string name;
    std::array<double, kBandCount> shares{};
};

// The score-band chart of one breakdown, decided apart from drawing it: the band labels under
// the bars, the whole dive, the diver of the current row (if any), the title and the top of
// the value axis.
struct ScoreBandChart {
    std::string title;
    std::array<std::string, kBandCount> bandLabels;
    BandSeries field;
    std::optional<BandSeries> diver;
    double axisTop = 10;
};

// The chart of a breakdown: the field's shares of its event-table row, the diver's of
// `diver` (one of `breakdown.divers`, or none), the breakdown's title with its filter
// (ChartTitle). A breakdown not yet made gives an empty chart that still names the bands.
ScoreBandChart ScoreBandChartOf(const DiveBreakdown& breakdown, const DiverShares* diver);

// The chart's title: the breakdown's title line, then the country and diver filter it was made
// under, where one is chosen, so that a saved picture keeps it ("M3M - 107B - DD 3.1 - 7 divers
// - country CAN", "... - diver TAN, MEI [SIN]").
std::string ChartTitle(std::string breakdownTitle, const FilterSelection& filter);

} // namespace corvane
