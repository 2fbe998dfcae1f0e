// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/thresholds.h"

#include <optional>
#include <string>

namespace corvane {

// Where the main window keeps its ten values between runs. The program connects the
// settings file of its data folder; tests may connect their own.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The values kept for `folder`; defaults where nothing is kept. Never fails.
    virtual Settings Read(const std::string& folder) const = 0;
    // Keeps the texts the six controls show and the sort columns; the message for the
    // error box when that failed.
    virtual std::optional<std::string> Write(const std::string& folder, const ThresholdTexts& texts,
                                             const SortColumns& sortCol) = 0;
};

} // namespace corvane
