// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_sources.h"

#include "rawdata/text_lines.h"
#include "store/file_text.h"
#include "store/number_text.h"

#include <algorithm>
#include <vector>

namespace corvane {

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Where the header puts column `name`; `agreed` (its place in the agreed layout) when it
// names none.
std::size_t ColumnOf(std::string_view header, std::string_view name, std::size_t agreed) {
    const std::vector<std::string_view> names = Fields(header);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? agreed : static_cast<std::size_t>(found - names.begin());
}

// Field `col` of `fields` without surrounding spaces; empty when the line is shorter.
std::string_view FieldAt(const std::vector<std::string_view>& fields, std::size_t col) {
    return col < fields.size() ? Trimmed(fields[col]) : std::string_view();
}

} // namespace

std::string SourcesCaption(std::string_view sourcesText, std::string_view folderName) {
    sourcesText = WithoutByteOrderMark(sourcesText);
    const std::string_view header = NextLine(sourcesText);
    const std::size_t nameCol = ColumnOf(header, "Name", 0);
    const std::size_t titleCol = ColumnOf(header, "Title", 2);
    std::vector<std::string_view> names;
    while (!sourcesText.empty()) {
        const std::string_view line = NextLine(sourcesText);
        if (IsBlank(line))
            continue;
        const std::vector<std::string_view> fields = Fields(line);
        std::string_view name = FieldAt(fields, titleCol);
        if (name.empty())
            name = FieldAt(fields, nameCol);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    if (names.empty())
        return std::string(folderName);
    std::string caption(names[0]);
    for (std::size_t i = 1; i < names.size(); ++i) {
        caption += "; ";
        caption += names[i];
    }
    return caption;
}

std::string FolderSourcesCaption(const std::string& dataDir) {
    std::string text;
    // A folder without the list, or one that cannot be read, is named by itself.
    if (ReadWholeFile(JoinPath(dataDir, kSourcesFileName), text).kind != LoadOutcome::Kind::Loaded)
        text.clear();
    const std::size_t slash = dataDir.find_last_of('/');
    const std::string_view folderName = slash == std::string::npos
                                            ? std::string_view(dataDir)
                                            : std::string_view(dataDir).substr(slash + 1);
    return SourcesCaption(text, folderName.empty() ? std::string_view(dataDir) : folderName);
}

} // namespace corvane
