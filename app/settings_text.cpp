// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_text.h"

#include "analysis/event_table.h"
#include "store/ini_text.h"
#include "store/number_text.h"

#include <algorithm>
#include <optional>

namespace corvane {

namespace {

constexpr std::string_view kValuesSection = "Values";
constexpr std::string_view kSortSection = "Sort";
constexpr int kMaxSortCol = kEventTableCols - 1;

// One threshold: its key, the control's field and range, and whether it takes a fraction.
struct ValueKey {
    std::string_view key;
    double Thresholds::*field;
    double maximum;
    bool fraction;
};

// The keys of section Values in the order the file holds them, matching ThresholdTexts.
constexpr std::array<ValueKey, 6> kValueKeys{{
    {"Count", &Thresholds::count, 9999, false},
    {"DD", &Thresholds::dd, 9.9, true},
    {"Percent", &Thresholds::percent, 100, false},
    {"TwoCol", &Thresholds::twoCol, 100, false},
    {"Nine", &Thresholds::nine, 100, false},
    {"SortCount", &Thresholds::sortCount, 9999, false},
}};

// A missing key or a value that does not convert reads as the default.
double ReadValue(const IniText& text, const ValueKey& entry) {
    const std::string value = text.Value(kValuesSection, entry.key).value_or("");
    const double fallback = Thresholds{}.*entry.field;
    if (entry.fraction) {
        return std::clamp(ParseNumber(value).value_or(fallback), 0.0, entry.maximum);
    }
    const auto whole = ParseInteger(value);
    const long long number = whole ? *whole : static_cast<long long>(fallback);
    return static_cast<double>(
        std::clamp<long long>(number, 0, static_cast<long long>(entry.maximum)));
}

// A sort column outside the table's columns reads as the dive code column.
int ReadSortCol(const IniText& text, std::string_view eventId) {
    const std::string value = text.Value(kSortSection, eventId).value_or("");
    const long long col = ParseInteger(value).value_or(0);
    return (col >= 0 && col <= kMaxSortCol) ? static_cast<int>(col) : 0;
}

} // namespace

Settings SettingsFromText(std::string_view content) {
    const IniText text(content);
    Settings settings;
    for (const ValueKey& entry : kValueKeys) {
        settings.*entry.field = ReadValue(text, entry);
    }
    for (std::size_t i = 0; i < kEvents.size(); ++i) {
        settings.sortCol[i] = ReadSortCol(text, kEvents[i].id);
    }
    return settings;
}

std::string TextWithSettings(std::string_view text, const ThresholdTexts& texts,
                             const SortColumns& sortCol) {
    IniText ini(text);
    for (std::size_t i = 0; i < kValueKeys.size(); ++i) {
        ini.Set(kValuesSection, kValueKeys[i].key, texts[i]);
    }
    for (std::size_t i = 0; i < kEvents.size(); ++i) {
        ini.Set(kSortSection, kEvents[i].id, std::to_string(sortCol[i]));
    }
    return ini.Text();
}

} // namespace corvane
