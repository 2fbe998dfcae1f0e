// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// One dive code with its degree of difficulty on each apparatus ("0.0": none there).
struct CatalogueEntry {
    char Code[6];
    char DD3m[4];
    char DD10m[4];
};

inline constexpr int kCatalogueSize = 293;

// The built-in dive catalogue in its fixed order (ascending by code).
extern const std::array<CatalogueEntry, kCatalogueSize> DiveCatalogue;

// The DD text that event `eventIndex` (1..4) uses for `code` in the built-in catalogue: the
// 3 m column for events 1 and 2, the 10 m column for 3 and 4. Exact, case-sensitive match;
// first match wins.
std::optional<std::string_view> CatalogueDD(std::string_view code, int eventIndex);

// The catalogue in use: the built-in rows, or those of a data folder's Catalogue.tsv. Rows keep
// their supplied order; a code that occurs twice is found at its first row, as a scan from
// the top would find it.
class DDCatalogue {
public:
    // The DDs of a code as numbers, 3 m and 10 m; 0 where the catalogue rates "0.0".
    using DDs = std::array<double, 2>;

    DDCatalogue() = default;
    explicit DDCatalogue(std::vector<CatalogueEntry> rows);
    DDCatalogue(const DDCatalogue& other);
    DDCatalogue& operator=(const DDCatalogue& other);
    DDCatalogue(DDCatalogue&&) noexcept = default;
    DDCatalogue& operator=(DDCatalogue&&) noexcept = default;

    std::span<const CatalogueEntry> Rows() const { return rows_; }
    int Size() const { return static_cast<int>(rows_.size()); }

    // The DD text event `eventIndex` (1..4) uses for `code`, as CatalogueDD does.
    std::optional<std::string_view> DD(std::string_view code, int eventIndex) const;
    // The numbers of the first row of `code`, or nullptr.
    const DDs* FindDDs(std::string_view code) const;

private:
    void BuildIndex();

    std::vector<CatalogueEntry> rows_;
    // Keys view the codes in rows_; the statistics look a code up for every dive group.
    std::unordered_map<std::string_view, std::pair<std::size_t, DDs>> index_;
};

// The catalogue that ships inside the program, built once.
const DDCatalogue& BuiltInCatalogue();

// The data folder's own catalogue, used in place of the built-in one when present.
inline constexpr char kCatalogueFileName[] = "Catalogue.tsv";
inline constexpr std::size_t kMaxCatalogueRows = 10000;

// Parses catalogue text: one dive code per line (CR, LF or CRLF), `Code`, `DD3m`, `DD10m`
// separated by tabs, an optional header line starting with "Code\t" (after a UTF-8 byte-order
// mark, if any), blank lines skipped. A code has 1 to 5 letters and digits; a DD is written as
// in the built-in catalogue, one digit, a point and one digit ("0.0" where the dive has none
// on that apparatus). Fills `catalogue`, or returns the reason for the first line that breaks
// these rules ("line 12: ...") or for more than kMaxCatalogueRows rows; `catalogue` is then
// empty.
std::optional<std::string> ParseCatalogue(std::string_view text, DDCatalogue& catalogue);

// Fills `catalogue` from the Catalogue.tsv of `dataDir` when there is one, else with the
// built-in rows. Returns why Catalogue.tsv cannot be used ("Catalogue.tsv line 12: ..."),
// leaving the catalogue empty.
std::optional<std::string> FillCatalogue(DDCatalogue& catalogue, const std::string& dataDir);

} // namespace corvane
