// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/thresholds.h"

#include <string>
#include <string_view>

namespace corvane {

// The ten keys of the settings file, read from its text with their defaults and fallbacks
// (a value that does not convert is its default); never fails.
Settings SettingsFromText(std::string_view text);

// `text` with the ten keys written in their fixed order; every other line stays.
std::string TextWithSettings(std::string_view text, const ThresholdTexts& texts,
                             const SortColumns& sortCol);

} // namespace corvane
