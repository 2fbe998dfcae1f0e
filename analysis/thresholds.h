// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/events.h"

#include <array>
#include <string>

namespace corvane {

// The six threshold controls as numbers; the defaults are what a first run shows. An empty
// control reads as 0.
struct Thresholds {
    double count = 50;
    double dd = 3.0;
    double percent = 30;
    double twoCol = 60;
    double nine = 5;
    double sortCount = 10;
};

// The texts the six threshold controls show, in the order Count, DD, Percent, TwoCol,
// Nine, SortCount.
using ThresholdTexts = std::array<std::string, 6>;

// The sort column of each event's table (0..16), in event order.
using SortColumns = std::array<int, kEventCount>;

// The ten values kept between runs: the thresholds, brought into each control's range,
// and the sort columns.
struct Settings : Thresholds {
    SortColumns sortCol{};
};

} // namespace corvane
