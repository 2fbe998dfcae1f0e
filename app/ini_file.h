// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/ini_text.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// A sectioned key=value settings file on disk (its text as store/ini_text.h reads and
// writes it). Every read and every write goes to the disk; a write replaces the file
// atomically through a temporary file in the same folder.
class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }

    // The whole text; empty when the file is missing or cannot be read.
    std::string ReadText() const;
    // The value of section/key, or `fallback` when the file, section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // The value as a whole number, or `fallback` when missing or not a whole number.
    long long ReadInteger(std::string_view section, std::string_view key, long long fallback) const;

    // False when the file could not be written, a file whose permissions forbid writing it
    // included; the previous file is then intact.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Writes the entries in their order as one replacement of the file, so that either all
    // of them reach the disk or, on failure, none does and the previous file is intact.
    bool WriteStrings(std::span<const IniEntry> entries);
    // Replaces the file by `edit` of its text (empty when there is no file yet), as one
    // replacement; false, with the previous file intact, when it cannot be read or written.
    bool Rewrite(const std::function<std::string(std::string_view)>& edit);

private:
    std::string path_;
};

} // namespace corvane
