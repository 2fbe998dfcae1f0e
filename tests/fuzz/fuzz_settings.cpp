// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as the text of a settings file, all in memory. Reading must
// give values inside the controls' ranges; writes must read back as written and leave
// every other key as it was.
#include "app/settings_text.h"
#include "store/ini_text.h"
#include "store/number_text.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct Key {
    std::string_view section;
    std::string_view key;
};

// Every key but the two the target writes.
constexpr std::array<Key, 8> kOtherKeys{{{"Values", "DD"},
                                         {"Values", "Percent"},
                                         {"Values", "TwoCol"},
                                         {"Values", "Nine"},
                                         {"Values", "SortCount"},
                                         {"Sort", "M3M"},
                                         {"Sort", "W3M"},
                                         {"Sort", "M10M"}}};

void CheckRanges(const corvane::Settings& settings) {
    Check(settings.count >= 0 && settings.count <= 9999);
    Check(settings.dd >= 0 && settings.dd <= 9.9);
    Check(settings.percent >= 0 && settings.percent <= 100);
    Check(settings.twoCol >= 0 && settings.twoCol <= 100);
    Check(settings.nine >= 0 && settings.nine <= 100);
    Check(settings.sortCount >= 0 && settings.sortCount <= 9999);
    for (int col : settings.sortCol)
        Check(col >= 0 && col <= 16);
}

// What a read gives back for a written value: one line, blanks and controls trimmed.
std::string AsReadBack(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return std::string(corvane::TrimControls(line));
}

std::string ValueOf(const corvane::IniText& text, const Key& key) {
    return text.Value(key.section, key.key).value_or("<absent>");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    CheckRanges(corvane::SettingsFromText(content));

    corvane::IniText text(content);
    std::array<std::string, kOtherKeys.size()> before;
    for (std::size_t i = 0; i < kOtherKeys.size(); ++i)
        before[i] = ValueOf(text, kOtherKeys[i]);

    // The first bytes of the input double as a value, so odd values get written too.
    const std::string_view value = content.substr(0, 12);
    text.Set("Sort", "W10M", "7");
    text.Set("Values", "Count", value);
    const std::string written = text.Text();
    const corvane::IniText reread(written);
    Check(ValueOf(reread, {"sort", "w10m"}) == "7");
    Check(ValueOf(reread, {"VALUES", "count"}) == AsReadBack(value));
    for (std::size_t i = 0; i < kOtherKeys.size(); ++i)
        Check(ValueOf(reread, kOtherKeys[i]) == before[i]);
    CheckRanges(corvane::SettingsFromText(written));

    // The ten keys as the window writes them read back as those values.
    const std::string saved = corvane::TextWithSettings(
        content, {"41", "2.5", "20", "50", "3", "8"}, corvane::SortColumns{1, 2, 3, 16});
    const corvane::Settings settings = corvane::SettingsFromText(saved);
    Check(settings.count == 41 && settings.dd == 2.5 && settings.sortCount == 8);
    Check(settings.sortCol == corvane::SortColumns{1, 2, 3, 16});
    return 0;
}
