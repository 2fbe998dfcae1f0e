// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

// The most judges' awards a dive carries (five or seven judges).
inline constexpr std::size_t kMaxAwards = 7;

// One performed dive as a source gives it, before its diver gets the folder's id. Texts are
// as the folder writes them: names in capitals and plain ASCII, numbers as printed ("3.4",
// "81.60", "10"), points without a penalty mark.
struct SourceDive {
    int event = 0;     // 1..4: M3M, W3M, M10M, W10M
    std::string round; // "Preliminary", "Semifinal A", "Final", ...; empty when unknown
    std::string surname;
    std::string given;
    std::string nation;   // three capitals, or empty
    std::string sourceId; // the diver's id in the source (a spreadsheet's id column), or empty
    int diveNumber = 0;   // the dive's place in the diver's round, from 1; 0 when unknown
    std::string code;
    std::string dd;
    std::vector<std::string> awards; // as printed, none when the source has none
    bool penalty = false;            // the points carry a penalty mark
    std::string points;
};

// What one source (a results book, a spreadsheet) gave: its dives of the four individual
// events, what it is, and what its reader has to say about it.
struct SourceReading {
    std::string title; // the competition's title as printed, or the sheet's name
    std::string dates; // the competition's dates as printed, or empty
    std::vector<SourceDive> dives;
    // Lines for the import report particular to this kind of source (pages skipped by kind,
    // dives not performed, ...), without the program name in front.
    std::vector<std::string> report;
    // Faults that --strict refuses the import for (a dive whose points do not add up, a row
    // left out as bad), each as the report prints it.
    std::vector<std::string> faults;
};

} // namespace corvane
