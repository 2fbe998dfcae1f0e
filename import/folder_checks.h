// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data_folder.h"

#include <string>
#include <vector>

namespace corvane {

// The folder's own DD table and what it found on the way.
struct FolderCatalogue {
    std::string text; // Catalogue.tsv
    // Codes whose dives on one apparatus carry more than one DD, as the report prints them:
    // "207C on 3 m: 3.5 in 120 dives, 3.6 in 84".
    std::vector<std::string> mixed;
};

// For each dive code and apparatus the DD that most of the folder's dives carry (on a tie the
// one a later source gave, then a later dive), the built-in DD where the code has no dive on
// that apparatus, "0.0" where neither; every built-in code and every code of a dive, by code.
FolderCatalogue BuildCatalogue(const DataFolder& folder);

// Pairs of divers that are probably one diver written differently, as report lines: the same
// nation and surname with given names one letter apart (two when the shorter has five or
// more); the same surname and given name under two nations; the same name and nation under
// two ids (sources with their own ids).
std::vector<std::string> ProbablySameDivers(const DataFolder& folder);

} // namespace corvane
