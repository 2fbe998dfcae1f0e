// SPDX-License-Identifier: GPL-3.0-or-later
#include "ods_repeated_rows.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace corvane {

namespace {

constexpr std::string_view kTable = "<table:table";
constexpr std::string_view kRow = "<table:table-row";
constexpr std::string_view kRowEnd = "</table:table-row>";
constexpr std::string_view kRepeat = "table:number-rows-repeated=\"";

bool EndsName(std::string_view xml, std::size_t at) {
    return at < xml.size() && (xml[at] == ' ' || xml[at] == '>' || xml[at] == '/' ||
                               xml[at] == '\n' || xml[at] == '\r' || xml[at] == '\t');
}

int RepeatCount(std::string_view tag, int maxCount) {
    const std::size_t at = tag.find(kRepeat);
    if (at == std::string_view::npos)
        return 1;
    int count = 1;
    const char* first = tag.data() + at + kRepeat.size();
    std::from_chars(first, tag.data() + tag.size(), count);
    return std::clamp(count, 1, maxCount);
}

// A row element has content when one of its cells holds a value or text.
bool HasContent(std::string_view body) {
    return body.find("office:value") != std::string_view::npos ||
           body.find("<text:p>") != std::string_view::npos;
}

} // namespace

std::vector<RepeatedRow> RepeatedOdsRows(std::string_view xml, int maxCount) {
    std::vector<RepeatedRow> repeated;
    std::size_t table = 0;
    bool inTable = false;
    int row = 0;
    for (std::size_t at = xml.find(kTable); at != std::string_view::npos;
         at = xml.find(kTable, at + 1)) {
        if (EndsName(xml, at + kTable.size())) {
            table += inTable ? 1 : 0;
            inTable = true;
            row = 0;
            continue;
        }
        if (!inTable || xml.compare(at, kRow.size(), kRow) != 0 || !EndsName(xml, at + kRow.size()))
            continue;
        const std::size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string_view::npos)
            break;
        const int count = RepeatCount(xml.substr(at, tagEnd - at), maxCount);
        if (xml[tagEnd - 1] != '/') {
            const std::size_t end = std::min(xml.size(), xml.find(kRowEnd, tagEnd));
            if (count > 1 && HasContent(xml.substr(tagEnd, end - tagEnd)))
                repeated.push_back({table, row, count});
            at = end == xml.size() ? end - 1 : end;
        }
        row = std::min(row + count, maxCount);
    }
    return repeated;
}

} // namespace corvane
