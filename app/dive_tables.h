// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/score_band_chart.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The command-line companion: prints an event table or the per-diver table of one dive as
// the tab-separated text the window copies, under the same filter and sort choices.
// `args` are the command-line arguments without the program name. Nothing is read from the
// environment and nothing is written but `out` and `err`. Returns the process exit code:
// 0 done, 1 the result files could not be read or the dive to break down is not in the
// table, 2 bad usage.
// `writeChart` draws the score-band chart of --chart into a picture file and returns the
// reason of a failure; without it --chart is refused.
using ChartWriter =
    std::function<std::optional<std::string>(const ScoreBandChart& chart, const std::string& path)>;
int RunDiveTables(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const ChartWriter& writeChart = {});

} // namespace corvane
