// SPDX-License-Identifier: GPL-3.0-or-later
#include "roster.h"

#include "folder_table.h"
#include "store/file_text.h"
#include "store/number_text.h"
#include "text_lines.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace corvane {

extern const char kRosterText[];

std::string DiverName(const DiverEntry& diver) {
    std::string name(diver.Surname.view());
    name += ", ";
    name += diver.GivenName.view();
    return name;
}

std::size_t DiverLabelSize(const DiverEntry& diver) {
    return diver.Surname.size() + diver.GivenName.size() + diver.Nation.size() + 5;
}

std::string DiverLabel(const DiverEntry& diver) {
    std::string label = DiverName(diver);
    label += " [";
    label += diver.Nation.view();
    label += "]";
    return label;
}

DiverRoster::DiverRoster(std::vector<DiverEntry> rows) : rows_(std::move(rows)) {
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

// An id as two words: its bytes (at most 10) zero-padded, and its length beside the last two.
// Ids compare equal exactly when their keys do, which takes two compares instead of a loop.
struct IdKey {
    std::uint64_t head = 0;
    std::uint32_t tail = 0;
    bool operator==(const IdKey&) const = default;
};

constexpr std::size_t kIdBytes = FixedText<10>::capacity();

// Per id length, which bits of the two words are the id's bytes: read from a table, as the
// lookups of a pass would otherwise branch on the length of every id.
constexpr std::array<std::uint64_t, kIdBytes + 1> kHeadMasks = [] {
    std::array<std::uint64_t, kIdBytes + 1> masks{};
    for (std::size_t size = 0; size <= kIdBytes; ++size)
        masks[size] = size >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * size)) - 1;
    return masks;
}();
constexpr std::array<std::uint32_t, kIdBytes + 1> kTailMasks{0, 0, 0, 0,    0,     0,
                                                             0, 0, 0, 0xFF, 0xFFFF};

// `data` holds kIdBytes readable bytes; those past `size` may be anything (a FixedText keeps
// what a longer text left there), so they are masked off.
IdKey KeyOfIdBytes(const char* data, std::size_t size) {
    std::uint64_t head = 0;
    std::uint16_t tail = 0;
    std::memcpy(&head, data, sizeof head);
    std::memcpy(&tail, data + sizeof head, sizeof tail);
    return {head & kHeadMasks[size], (tail & kTailMasks[size]) | static_cast<std::uint32_t>(size)
                                                                     << 16};
}

IdKey KeyOf(const FixedText<10>& id) {
    return KeyOfIdBytes(id.view().data(), id.size());
}

// Multiplicative hashing: the top bits of the product mix every byte of the id.
std::size_t SlotOf(const IdKey& key, int shift) {
    const std::uint64_t mixed = key.head * 0x9E3779B97F4A7C15ULL + key.tail * 0xC2B2AE3D27D4EB4FULL;
    return static_cast<std::size_t>(mixed >> shift);
}

} // namespace

void DiverRoster::BuildIndex() {
    // At most half full, so a probe sequence stays short.
    std::size_t size = 16;
    slotShift_ = 60;
    while (size < 2 * rows_.size()) {
        size *= 2;
        --slotShift_;
    }
    idSlots_.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const IdKey key = KeyOf(rows_[row].Id);
        std::size_t slot = SlotOf(key, slotShift_);
        // An id met again keeps its first row, as a scan from the top would.
        while (idSlots_[slot] != 0 && !(KeyOf(rows_[idSlots_[slot] - 1].Id) == key))
            slot = (slot + 1) & mask;
        if (idSlots_[slot] == 0)
            idSlots_[slot] = static_cast<std::uint32_t>(row + 1);
    }
}

const DiverEntry* DiverRoster::FindDiver(const FixedText<10>& id) const {
    if (idSlots_.empty())
        return nullptr;
    const IdKey key = KeyOf(id);
    const std::size_t mask = idSlots_.size() - 1;
    for (std::size_t slot = SlotOf(key, slotShift_); idSlots_[slot] != 0;
         slot = (slot + 1) & mask) {
        const DiverEntry& row = rows_[idSlots_[slot] - 1];
        if (KeyOf(row.Id) == key)
            return &row;
    }
    return nullptr;
}

const DiverEntry* DiverRoster::FindDiver(std::string_view id) const {
    // No roster id is longer than an id holds.
    if (id.size() > kIdBytes)
        return nullptr;
    return FindDiver(FixedText<10>(id));
}

namespace {

// The tab-separated fields of a line: the first four, and how many there are in all.
struct RowFields {
    std::array<std::string_view, 4> text;
    std::size_t count = 0;
};

RowFields SplitTabs(std::string_view line) {
    RowFields fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        const std::string_view field = line.substr(start, tab - start);
        if (fields.count < fields.text.size())
            fields.text[fields.count] = field;
        ++fields.count;
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// What is wrong with the length of a field, if anything.
std::optional<std::string> LengthProblem(std::string_view what, std::string_view field,
                                         std::size_t least, std::size_t most) {
    if (field.size() < least)
        return "the " + std::string(what) + " is empty";
    if (field.size() > most)
        return "the " + std::string(what) + " " + Quoted(field) + " is longer than " +
               std::to_string(most) + " characters";
    return std::nullopt;
}

bool IsNationCode(std::string_view nation) {
    return nation.empty() ||
           (nation.size() == 3 &&
            std::all_of(nation.begin(), nation.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

// Checks the four fields of a row; says what is wrong with the first bad one.
std::optional<std::string> RowProblem(const RowFields& row) {
    if (row.count != row.text.size())
        return "expected 4 tab-separated fields (Id, Surname, GivenName, Nation), found " +
               std::to_string(row.count);
    const auto& fields = row.text;
    for (std::optional<std::string> problem :
         {LengthProblem("id", fields[0], 1, 10), LengthProblem("surname", fields[1], 1, 25),
          LengthProblem("given name", fields[2], 0, 20)}) {
        if (problem)
            return problem;
    }
    if (!IsNationCode(fields[3]))
        return "the nation " + Quoted(fields[3]) + " is not three capital letters";
    return std::nullopt;
}

std::string LineProblem(int lineNo, const std::string& problem) {
    return "line " + std::to_string(lineNo) + ": " + problem;
}

// One row of the roster from `line`, or what is wrong with it.
std::optional<std::string> ParseRow(std::string_view line, DiverEntry& diver) {
    const RowFields row = SplitTabs(line);
    if (auto problem = RowProblem(row))
        return problem;
    const auto& fields = row.text;
    diver.Id.assign(fields[0]);
    diver.Surname.assign(fields[1]);
    diver.GivenName.assign(fields[2]);
    diver.Nation.assign(fields[3]);
    return std::nullopt;
}

} // namespace

std::optional<std::string> ParseRoster(std::string_view text, DiverRoster& roster) {
    roster = DiverRoster();
    text = WithoutByteOrderMark(text);
    std::vector<DiverEntry> rows;
    rows.reserve(std::min(CountLines(text), kMaxRosterRows));
    int lineNo = 0;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        ++lineNo;
        if (IsBlank(line) || (lineNo == 1 && line.starts_with("Id\t")))
            continue;
        if (rows.size() == kMaxRosterRows)
            return LineProblem(lineNo, "more than " + std::to_string(kMaxRosterRows) + " divers");
        DiverEntry row;
        if (auto problem = ParseRow(line, row))
            return LineProblem(lineNo, *problem);
        rows.push_back(row);
    }
    roster = DiverRoster(std::move(rows));
    return std::nullopt;
}

DiverRoster BuiltInRoster() {
    // The embedded text is checked by the tests; a broken one yields an empty roster rather
    // than a crash.
    DiverRoster roster;
    ParseRoster(kRosterText, roster);
    return roster;
}

std::optional<std::string> FillReferenceTables(DiverRoster& roster, const std::string& dataDir) {
    return FillFromFolderFile(roster, dataDir, kRosterFileName, BuiltInRoster, ParseRoster);
}

std::optional<std::string> FillReferenceTables(DiverRoster& roster, DDCatalogue& catalogue,
                                               const std::string& dataDir) {
    catalogue = DDCatalogue();
    if (auto rosterError = FillReferenceTables(roster, dataDir))
        return rosterError;
    if (auto catalogueError = FillCatalogue(catalogue, dataDir)) {
        roster = DiverRoster();
        return catalogueError;
    }
    return std::nullopt;
}

} // namespace corvane
