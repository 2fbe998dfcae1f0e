// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/score_band_chart.h"

#include <optional>
#include <string>

namespace corvane {

// Draws `chart` as the "Score Bands" window shows it into a PNG or SVG file (by the extension
// of `path`), without a window or a display. Returns the reason of a failure.
std::optional<std::string> WriteChartPicture(const ScoreBandChart& chart, const std::string& path);

} // namespace corvane
