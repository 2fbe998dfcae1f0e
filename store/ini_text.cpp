// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_text.h"

#include "number_text.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace corvane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\n";

constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Where `part` lies inside `whole`.
std::pair<std::size_t, std::size_t> Span(std::string_view whole, std::string_view part) {
    return {static_cast<std::size_t>(part.data() - whole.data()), part.size()};
}

// Where a key is or would go: the index of its line, or, when absent, the index after the
// last non-blank line of the first matching section.
struct KeyPlace {
    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> sectionEnd;
};

// Walks every occurrence of the section; the first matching key line wins.
KeyPlace FindKey(std::span<const IniLine> lines, std::string_view section, std::string_view key) {
    KeyPlace place;
    bool inSection = false; // inside any occurrence of the section
    bool inFirst = false;   // inside its first occurrence, the one that grows on a write
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const IniLine& line = lines[i];
        if (line.kind == IniLine::Kind::Section) {
            inSection = EqualNoCase(line.Name(), section);
            inFirst = inSection && !place.sectionEnd;
            if (inFirst) {
                place.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (line.kind == IniLine::Kind::Key && EqualNoCase(line.Name(), key)) {
            place.keyLine = i;
            return place;
        }
        if (inFirst && line.kind != IniLine::Kind::Blank) {
            place.sectionEnd = i + 1;
        }
    }
    return place;
}

} // namespace

IniLine::IniLine(std::string line) : text(std::move(line)) {
    const std::string_view whole(text);
    const std::string_view trimmed = TrimControls(whole);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        kind = Kind::Section;
        std::tie(nameAt, nameSize) =
            Span(whole, TrimControls(trimmed.substr(1, trimmed.size() - 2)));
    } else if (const std::size_t equals = whole.find('='); equals != std::string_view::npos) {
        kind = Kind::Key;
        std::tie(nameAt, nameSize) = Span(whole, TrimControls(whole.substr(0, equals)));
        std::tie(valueAt, valueSize) = Span(whole, TrimControls(whole.substr(equals + 1)));
    } else if (trimmed.empty()) {
        kind = Kind::Blank;
    }
}

IniText::IniText(std::string_view content) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        byteOrderMark_ = true;
        content.remove_prefix(kByteOrderMark.size());
    }
    while (!content.empty()) {
        const std::size_t end = content.find_first_of("\r\n");
        lines_.emplace_back(std::string(content.substr(0, end)));
        if (end == std::string_view::npos) {
            break;
        }
        const bool crlf = content[end] == '\r' && content.substr(end + 1, 1) == "\n";
        content.remove_prefix(end + (crlf ? 2 : 1));
    }
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
    const KeyPlace place = FindKey(lines_, section, key);
    if (!place.keyLine) {
        return std::nullopt;
    }
    return std::string(lines_[*place.keyLine].Value());
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    // A line break inside the value would split it into lines of its own.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const KeyPlace place = FindKey(lines_, section, key);
    if (place.keyLine) {
        lines_[*place.keyLine] = IniLine(std::move(line));
    } else if (place.sectionEnd) {
        const auto at = static_cast<std::ptrdiff_t>(*place.sectionEnd);
        lines_.insert(lines_.begin() + at, IniLine(std::move(line)));
    } else {
        lines_.emplace_back("[" + std::string(section) + "]");
        lines_.emplace_back(std::move(line));
    }
}

std::string IniText::Text() const {
    std::string content(byteOrderMark_ ? kByteOrderMark : std::string_view{});
    for (const IniLine& line : lines_) {
        content += line.text;
        content += kLineEnd;
    }
    return content;
}

std::optional<std::string> IniValue(std::string_view content, std::string_view section,
                                    std::string_view key) {
    return IniText(content).Value(section, key);
}

std::string IniWithEntries(std::string_view content, std::span<const IniEntry> entries) {
    IniText text(content);
    for (const IniEntry& entry : entries) {
        text.Set(entry.section, entry.key, entry.value);
    }
    return text.Text();
}

} // namespace corvane
