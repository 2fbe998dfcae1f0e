// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// One key's new value, for a write of several keys at once.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// A sectioned key=value settings file. Every read and every write goes to the disk.
// Section and key names match without regard to case; blanks around keys and values are
// trimmed. A write keeps every other line, replaces the key's line in place or adds it at
// the end of its section (adding the section at the end of the file), and replaces the file
// atomically through a temporary file in the same folder.
class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }

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

private:
    std::string path_;
};

} // namespace corvane
