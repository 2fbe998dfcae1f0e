// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace corvane {

// One dive code with its degree of difficulty on each apparatus ("0.0": none there).
struct TCatalogueEntry {
    char Code[6];
    char DD3m[4];
    char DD10m[4];
};

inline constexpr int kCatalogueSize = 293;

// The dive catalogue in its fixed order (ascending by code).
extern const std::array<TCatalogueEntry, kCatalogueSize> DiveCatalogue;

// The DD text that event `eventIndex` (1..4) uses for `code`: the 3 m column for events 1
// and 2, the 10 m column for 3 and 4. Exact, case-sensitive match; first match wins.
std::optional<std::string_view> CatalogueDD(std::string_view code, int eventIndex);

} // namespace corvane
