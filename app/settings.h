// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/thresholds.h"
#include "app/ini_file.h"
#include "ui/settings_store.h"

#include <optional>
#include <string>

namespace corvane {

inline constexpr const char* kSettingsFileName = "DD.ini";

// Reads the ten keys with their defaults and fallbacks; never fails.
Settings ReadSettings(const IniFile& ini);

// Writes the ten keys in their fixed order, all in one replacement of the file. On failure
// returns the message "Unable to write to <path>"; the previous file is then intact.
std::optional<std::string> WriteSettings(IniFile& ini, const ThresholdTexts& texts,
                                         const SortColumns& sortCol);

// The window's settings kept in DD.ini of the data folder.
class DdIniSettings : public SettingsStore {
public:
    Settings Read(const std::string& folder) const override;
    std::optional<std::string> Write(const std::string& folder, const ThresholdTexts& texts,
                                     const SortColumns& sortCol) override;
};

} // namespace corvane
