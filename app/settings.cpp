// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include "store/number_text.h"

#include <algorithm>
#include <string_view>

namespace corvane {

namespace {

constexpr std::string_view kValuesSection = "Values";
constexpr std::string_view kSortSection = "Sort";
constexpr int kMaxSortCol = 16;

// One whole-number threshold: its key, default text, fallback and the control's range.
struct IntegerKey {
    std::string_view key;
    std::string_view defaultText;
    int fallback;
    int maximum;
    int Settings::*field;
};

constexpr std::array<IntegerKey, 5> kIntegerKeys{{
    {"Count", "50", 50, 9999, &Settings::count},
    {"Percent", "30", 30, 100, &Settings::percent},
    {"TwoCol", "60", 60, 100, &Settings::twoCol},
    {"Nine", "5", 5, 100, &Settings::nine},
    {"SortCount", "10", 10, 9999, &Settings::sortCount},
}};
constexpr std::string_view kDDKey = "DD";
constexpr std::string_view kDDDefaultText = "3.0";
constexpr double kDDFallback = 3.0;
constexpr double kDDMaximum = 9.9;

// The keys of section Values in the order the file holds them, matching ThresholdTexts.
constexpr std::array<std::string_view, 6> kValueKeys{"Count",  "DD",   "Percent",
                                                     "TwoCol", "Nine", "SortCount"};

void ReadIntegerKey(const IniFile& ini, const IntegerKey& entry, Settings& settings) {
    const std::string text = ini.ReadString(kValuesSection, entry.key, entry.defaultText);
    const long long value = ParseInteger(text).value_or(entry.fallback);
    settings.*entry.field = static_cast<int>(std::clamp<long long>(value, 0, entry.maximum));
}

double ReadDD(const IniFile& ini) {
    const std::string text = ini.ReadString(kValuesSection, kDDKey, kDDDefaultText);
    return std::clamp(ParseNumber(text).value_or(kDDFallback), 0.0, kDDMaximum);
}

// A sort column outside the table's columns reads as the dive code column.
int ReadSortCol(const IniFile& ini, std::string_view eventId) {
    const long long value = ini.ReadInteger(kSortSection, eventId, 0);
    return (value >= 0 && value <= kMaxSortCol) ? static_cast<int>(value) : 0;
}

} // namespace

Settings ReadSettings(const IniFile& ini) {
    Settings settings;
    for (const IntegerKey& entry : kIntegerKeys) {
        ReadIntegerKey(ini, entry, settings);
    }
    settings.dd = ReadDD(ini);
    for (int i = 0; i < kEventCount; ++i) {
        settings.sortCol[static_cast<std::size_t>(i)] = ReadSortCol(ini, kEvents[i].id);
    }
    return settings;
}

std::optional<std::string> WriteSettings(IniFile& ini, const ThresholdTexts& texts,
                                         const std::array<int, kEventCount>& sortCol) {
    // One replacement of the file for all ten keys: a write that fails part-way (a full
    // disk) must not leave some keys new and the others old.
    std::array<std::string, kEventCount> sortTexts;
    std::array<IniEntry, kValueKeys.size() + kEventCount> entries;
    for (std::size_t i = 0; i < kValueKeys.size(); ++i) {
        entries[i] = {kValuesSection, kValueKeys[i], texts[i]};
    }
    for (std::size_t i = 0; i < kEvents.size(); ++i) {
        sortTexts[i] = std::to_string(sortCol[i]);
        entries[kValueKeys.size() + i] = {kSortSection, kEvents[i].id, sortTexts[i]};
    }
    if (!ini.WriteStrings(entries)) {
        return "Unable to write to " + ini.Path();
    }
    return std::nullopt;
}

} // namespace corvane
