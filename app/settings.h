// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ini_file.h"
#include "store/events.h"

#include <array>
#include <optional>
#include <string>

namespace corvane {

// The six thresholds, as numbers the controls take (already brought into each control's
// range), and the sort column of each event (0..16).
struct Settings {
    int count = 50;
    double dd = 3.0;
    int percent = 30;
    int twoCol = 60;
    int nine = 5;
    int sortCount = 10;
    std::array<int, kEventCount> sortCol{};
};

// The texts the six threshold controls show, in the order Count, DD, Percent, TwoCol,
// Nine, SortCount.
using ThresholdTexts = std::array<std::string, 6>;

inline constexpr const char* kSettingsFileName = "DD.ini";

// Reads the ten keys with their defaults and fallbacks; never fails.
Settings ReadSettings(const IniFile& ini);

// Writes the ten keys in their fixed order, all in one replacement of the file. On failure
// returns the message "Unable to write to <path>"; the previous file is then intact.
std::optional<std::string> WriteSettings(IniFile& ini, const ThresholdTexts& texts,
                                         const std::array<int, kEventCount>& sortCol);

} // namespace corvane
