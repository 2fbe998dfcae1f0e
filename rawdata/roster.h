// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rawdata/catalogue.h"
#include "store/fixed_text.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One diver of the roster.
struct DiverEntry {
    FixedText<10> Id;
    FixedText<25> Surname;
    FixedText<20> GivenName;
    FixedText<3> Nation;
};

// "SURNAME, GIVEN" and "SURNAME, GIVEN [NAT]".
std::string DiverName(const DiverEntry& diver);
std::string DiverLabel(const DiverEntry& diver);
// DiverLabel(diver).size(), without making the text.
std::size_t DiverLabelSize(const DiverEntry& diver);

// The diver roster: rows in their supplied order plus an id index that keeps, for an id
// that occurs twice, its first row, so lookups equal a scan from the first row.
class DiverRoster {
public:
    DiverRoster() = default;
    explicit DiverRoster(std::vector<DiverEntry> rows);
    DiverRoster(const DiverRoster& other);
    DiverRoster& operator=(const DiverRoster& other);
    DiverRoster(DiverRoster&&) noexcept = default;
    DiverRoster& operator=(DiverRoster&&) noexcept = default;

    std::span<const DiverEntry> Rows() const { return rows_; }
    int Size() const { return static_cast<int>(rows_.size()); }

    // The first row whose id equals `id` exactly, or nullptr.
    const DiverEntry* FindDiver(std::string_view id) const;
    // The same for a record's id, without copying it first: what every record lookup uses.
    const DiverEntry* FindDiver(const FixedText<10>& id) const;

private:
    void BuildIndex();

    std::vector<DiverEntry> rows_;
    // Open addressing on a hash of the id: each slot holds a row number + 1, 0 when free. The
    // filtered passes look up every record, so a lookup is a few instructions and no call.
    std::vector<std::uint32_t> idSlots_;
    int slotShift_ = 60; // 64 - log2(idSlots_.size()): the hash bits that pick a slot
};

// The data folder's own roster, used in place of the built-in one when present.
inline constexpr char kRosterFileName[] = "Divers.tsv";
inline constexpr std::size_t kMaxRosterRows = 100000;

// Parses roster text: one row per line (CR, LF or CRLF), `Id`, `Surname`, `GivenName`,
// `Nation` separated by tabs, an optional header line starting with "Id\t" (after a UTF-8
// byte-order mark, if any), blank lines skipped. Fills `roster`, or returns why not ("line 12:
// ...") when a line does not have that shape, the id (1 to 10 characters), surname (1 to 25) or
// given name (up to 20) is out of bounds, the nation is neither empty nor three capital letters,
// or there are more than kMaxRosterRows rows; `roster` is then empty.
std::optional<std::string> ParseRoster(std::string_view text, DiverRoster& roster);

// The roster that ships inside the program.
DiverRoster BuiltInRoster();

// Fills the roster alone, from the Divers.tsv of `dataDir` when there is one, else with the
// built-in rows. Returns why Divers.tsv cannot be used ("Divers.tsv line 12: ..."), leaving the
// roster empty.
std::optional<std::string> FillReferenceTables(DiverRoster& roster, const std::string& dataDir);

// The one start-up call: the roster as above, then the catalogue from the folder's
// Catalogue.tsv when there is one, else the built-in one. Returns why either file cannot be
// used, leaving both tables empty: results scored against the wrong names or DDs would mislead.
std::optional<std::string> FillReferenceTables(DiverRoster& roster, DDCatalogue& catalogue,
                                               const std::string& dataDir);

} // namespace corvane
