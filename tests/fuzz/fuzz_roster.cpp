// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a Divers.tsv. The parser must neither crash nor take a row
// that breaks the roster's rules, every error must name its line, and each id must be found.
#include "rawdata/roster.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsNation(std::string_view nation) {
    return nation.empty() ||
           (nation.size() == 3 &&
            std::all_of(nation.begin(), nation.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    corvane::DiverRoster roster;
    if (const std::optional<std::string> error = corvane::ParseRoster(text, roster)) {
        Check(error->rfind("line ", 0) == 0);
        Check(roster.Rows().empty());
        return 0;
    }
    Check(roster.Rows().size() <= corvane::kMaxRosterRows);
    for (const corvane::DiverEntry& row : roster.Rows()) {
        Check(!row.Id.empty() && !row.Surname.empty());
        Check(IsNation(row.Nation.view()));
        for (const std::string_view field :
             {row.Id.view(), row.Surname.view(), row.GivenName.view(), row.Nation.view()})
            Check(field.find_first_of("\t\r\n") == std::string_view::npos);
        const corvane::DiverEntry* found = roster.FindDiver(row.Id.view());
        Check(found != nullptr && found->Id == row.Id && found <= &row);
    }
    return 0;
}
