// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data_folder.h"
#include "output_folder.h"

#include "rawdata/catalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr char kScoresFileName[] = "Scores.tsv";
inline constexpr char kSourcesFileName[] = "Sources.tsv";
// The source that results held before a folder's first import become.
inline constexpr char kEarlierResultsName[] = "earlier-results";

// The text of Sources.tsv and Scores.tsv (LF lines, a header line, tabs and line breaks in a
// text as spaces), of one event's result file (its dives sorted by code, stable; CRLF lines,
// every field followed by a tab) and of Divers.tsv (divers without a surname left out).
std::string SourcesText(const DataFolder& folder);
std::string ScoresText(const DataFolder& folder);
std::string ResultFileText(const DataFolder& folder, int event);
std::string RosterFileText(const DataFolder& folder);

// Every file an import writes: the four result files, Divers.tsv, Scores.tsv, Sources.tsv
// and `catalogue` as Catalogue.tsv.
OutputFiles FolderFiles(const DataFolder& folder, std::string catalogue);
// Their names, in that order.
std::vector<std::string> FolderFileNames();

// What a data folder held before an import.
struct FolderOutcome {
    enum class Kind {
        Empty,    // no results: a missing folder, or one without result files
        Imported, // an import's files (Sources.tsv)
        Earlier,  // results no import wrote, now one source of their own
    };
    Kind kind = Kind::Empty;
    std::optional<DataFolder> folder; // nothing when it cannot be read
    std::string message;              // why not
};

// Reads the data folder `dir`: Sources.tsv, Scores.tsv and Divers.tsv where an import wrote
// them, else the result files that are there with Divers.tsv or the built-in roster.
FolderOutcome LoadDataFolder(const std::string& dir);

} // namespace corvane
