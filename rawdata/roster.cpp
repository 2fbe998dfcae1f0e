// SPDX-License-Identifier: GPL-3.0-or-later
#include "roster.h"

namespace corvane {

extern const char kRosterText[];

std::string DiverName(const TDiverEntry& diver) {
    std::string name(diver.Surname.view());
    name += ", ";
    name += diver.GivenName.view();
    return name;
}

std::string DiverLabel(const TDiverEntry& diver) {
    std::string label = DiverName(diver);
    label += " [";
    label += diver.Nation.view();
    label += "]";
    return label;
}

DiverRoster::DiverRoster(std::vector<TDiverEntry> rows) : rows_(std::move(rows)) {
    BuildIndex();
}

DiverRoster::DiverRoster(const DiverRoster& other) : rows_(other.rows_) {
    BuildIndex();
}

DiverRoster& DiverRoster::operator=(const DiverRoster& other) {
    if (this != &other) {
        rows_ = other.rows_;
        BuildIndex();
    }
    return *this;
}

void DiverRoster::BuildIndex() {
    byId_.clear();
    byId_.reserve(rows_.size());
    // emplace keeps the first row of an id that occurs twice, as a scan from the top would.
    for (const TDiverEntry& row : rows_)
        byId_.emplace(row.Id.view(), &row);
}

const TDiverEntry* DiverRoster::FindDiver(std::string_view id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

template <std::size_t N>
bool Assign(FixedText<N>& target, std::string_view field, std::string_view what, int lineNo,
            std::string* error) {
    if (field.size() > N) {
        if (error)
            *error = "line " + std::to_string(lineNo) + ": " + std::string(what) + " longer than " +
                     std::to_string(N) + " characters";
        return false;
    }
    target.assign(field);
    return true;
}

bool ParseRow(std::string_view line, int lineNo, TDiverEntry& row, std::string* error) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != 4) {
        if (error)
            *error = "line " + std::to_string(lineNo) + ": expected 4 tab-separated fields";
        return false;
    }
    return Assign(row.Id, fields[0], "id", lineNo, error) &&
           Assign(row.Surname, fields[1], "surname", lineNo, error) &&
           Assign(row.GivenName, fields[2], "given name", lineNo, error) &&
           Assign(row.Nation, fields[3], "nation", lineNo, error);
}

} // namespace

std::optional<DiverRoster> ParseRoster(std::string_view text, std::string* error) {
    std::vector<TDiverEntry> rows;
    int lineNo = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || (lineNo == 1 && line.starts_with("Id\t")))
            continue;
        TDiverEntry row;
        if (!ParseRow(line, lineNo, row, error))
            return std::nullopt;
        rows.push_back(row);
    }
    return DiverRoster(std::move(rows));
}

DiverRoster BuiltInRoster() {
    // The embedded text is checked by the tests; a broken one yields an empty roster rather
    // than a crash.
    std::optional<DiverRoster> roster = ParseRoster(kRosterText, nullptr);
    return roster ? std::move(*roster) : DiverRoster();
}

void FillReferenceTables(DiverRoster& roster) {
    roster = BuiltInRoster();
}

} // namespace corvane
