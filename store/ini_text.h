// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One key's new value, for a write of several keys at once.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// One line of a settings text, with what it is worked out once: the section name of a
// "[name]" line, or the key and value of a "key=value" line, blanks trimmed.
struct IniLine {
    enum class Kind { Blank, Other, Section, Key };
    std::string text;
    Kind kind = Kind::Other;
    std::size_t nameAt = 0, nameSize = 0;   // the section name or the key in `text`
    std::size_t valueAt = 0, valueSize = 0; // the value of a key line

    explicit IniLine(std::string line);
    std::string_view Name() const { return std::string_view(text).substr(nameAt, nameSize); }
    std::string_view Value() const { return std::string_view(text).substr(valueAt, valueSize); }
};

// The text of a sectioned key=value settings file, split into its lines once. Section and
// key names match without regard to case; blanks around keys and values are trimmed; CR,
// CRLF and LF end lines.
class IniText {
public:
    explicit IniText(std::string_view text);

    // The value of section/key; nothing when the section or key is missing. The first
    // matching line of any occurrence of the section wins.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Replaces the key's line in place, or adds it at the end of its section (a missing
    // section at the end of the text). A line break in `value` becomes a blank.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Every line ended by LF; a leading byte-order mark is kept, so a rewrite does not
    // change the file's encoding marker.
    std::string Text() const;

private:
    std::vector<IniLine> lines_;
    bool byteOrderMark_ = false;
};

// One value of `text`, as IniText::Value.
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// `text` with the entries set in their order, every other line kept.
std::string IniWithEntries(std::string_view text, std::span<const IniEntry> entries);

} // namespace corvane
