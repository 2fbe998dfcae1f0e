// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include "app/settings_text.h"
#include "store/file_text.h"

namespace corvane {

Settings ReadSettings(const IniFile& ini) {
    return SettingsFromText(ini.ReadText());
}

std::optional<std::string> WriteSettings(IniFile& ini, const ThresholdTexts& texts,
                                         const SortColumns& sortCol) {
    // One replacement of the file for all ten keys: a write that fails part-way (a full
    // disk) must not leave some keys new and the others old.
    const bool written =
        ini.Rewrite([&](std::string_view text) { return TextWithSettings(text, texts, sortCol); });
    if (!written) {
        return "Unable to write to " + ini.Path();
    }
    return std::nullopt;
}

Settings DdIniSettings::Read(const std::string& folder) const {
    return ReadSettings(IniFile(JoinPath(folder, kSettingsFileName)));
}

std::optional<std::string> DdIniSettings::Write(const std::string& folder,
                                                const ThresholdTexts& texts,
                                                const SortColumns& sortCol) {
    IniFile ini(JoinPath(folder, kSettingsFileName));
    return WriteSettings(ini, texts, sortCol);
}

} // namespace corvane
