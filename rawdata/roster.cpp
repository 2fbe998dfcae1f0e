// SPDX-License-Identifier: GPL-3.0-or-later
#include "roster.h"

#include "store/file_text.h"
#include "store/number_text.h"

#include <algorithm>

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

namespace {

// FNV-1a over the id's bytes (at most 10).
std::size_t HashId(std::string_view id) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : id)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

} // namespace

void DiverRoster::BuildIndex() {
    // At most half full, so a probe sequence stays short.
    std::size_t size = 16;
    while (size < 2 * rows_.size())
        size *= 2;
    idSlots_.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const std::string_view id = rows_[row].Id.view();
        std::size_t slot = HashId(id) & mask;
        // An id met again keeps its first row, as a scan from the top would.
        while (idSlots_[slot] != 0 && !SameShortText(rows_[idSlots_[slot] - 1].Id.view(), id))
            slot = (slot + 1) & mask;
        if (idSlots_[slot] == 0)
            idSlots_[slot] = static_cast<std::uint32_t>(row + 1);
    }
}

const TDiverEntry* DiverRoster::FindDiver(std::string_view id) const {
    if (idSlots_.empty())
        return nullptr;
    const std::size_t mask = idSlots_.size() - 1;
    for (std::size_t slot = HashId(id) & mask; idSlots_[slot] != 0; slot = (slot + 1) & mask) {
        const TDiverEntry& row = rows_[idSlots_[slot] - 1];
        if (SameShortText(row.Id.view(), id))
            return &row;
    }
    return nullptr;
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

// Takes the next line off `text`; CR, LF and CRLF each end a line.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == '\r' && text.substr(end + 1).starts_with('\n');
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// What is wrong with the length of a field, or nothing.
std::string LengthProblem(std::string_view what, std::string_view field, std::size_t least,
                          std::size_t most) {
    if (field.size() < least)
        return "the " + std::string(what) + " is empty";
    if (field.size() > most)
        return "the " + std::string(what) + " " + Quoted(field) + " is longer than " +
               std::to_string(most) + " characters";
    return {};
}

bool IsNationCode(std::string_view nation) {
    return nation.empty() ||
           (nation.size() == 3 &&
            std::all_of(nation.begin(), nation.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

// Checks the four fields of a row; says what is wrong with the first bad one.
std::string RowProblem(const std::vector<std::string_view>& fields) {
    if (fields.size() != 4)
        return "expected 4 tab-separated fields (Id, Surname, GivenName, Nation), found " +
               std::to_string(fields.size());
    for (std::string problem :
         {LengthProblem("id", fields[0], 1, 10), LengthProblem("surname", fields[1], 1, 25),
          LengthProblem("given name", fields[2], 0, 20)}) {
        if (!problem.empty())
            return problem;
    }
    if (!IsNationCode(fields[3]))
        return "the nation " + Quoted(fields[3]) + " is not three capital letters";
    return {};
}

bool Fail(std::string* error, int lineNo, const std::string& problem) {
    if (error)
        *error = "line " + std::to_string(lineNo) + ": " + problem;
    return false;
}

bool ParseRow(std::string_view line, int lineNo, TDiverEntry& row, std::string* error) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (const std::string problem = RowProblem(fields); !problem.empty())
        return Fail(error, lineNo, problem);
    row.Id.assign(fields[0]);
    row.Surname.assign(fields[1]);
    row.GivenName.assign(fields[2]);
    row.Nation.assign(fields[3]);
    return true;
}

} // namespace

std::optional<DiverRoster> ParseRoster(std::string_view text, std::string* error) {
    // A spreadsheet may save the file with a UTF-8 byte-order mark before the header.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<TDiverEntry> rows;
    int lineNo = 0;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        ++lineNo;
        if (IsBlank(line) || (lineNo == 1 && line.starts_with("Id\t")))
            continue;
        if (rows.size() == kMaxRosterRows) {
            Fail(error, lineNo, "more than " + std::to_string(kMaxRosterRows) + " divers");
            return std::nullopt;
        }
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

std::optional<std::string> FillReferenceTables(DiverRoster& roster, const std::string& dataDir) {
    roster = DiverRoster();
    std::string text;
    const LoadOutcome read = ReadWholeFile(JoinPath(dataDir, kRosterFileName), text);
    if (read.kind == LoadOutcome::Kind::MissingFile) {
        roster = BuiltInRoster();
        return std::nullopt;
    }
    if (read.kind == LoadOutcome::Kind::Failed)
        return read.message;
    // A bad file stops the program rather than fall back to the built-in rows, whose names
    // would be wrong for these results.
    std::string error;
    std::optional<DiverRoster> parsed = ParseRoster(text, &error);
    if (!parsed)
        return std::string(kRosterFileName) + " " + error;
    roster = std::move(*parsed);
    return std::nullopt;
}

} // namespace corvane
