// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "columns.h"
#include "source.h"

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// How inputs are read: what the command line says about them.
struct InputOptions {
    std::vector<ColumnChoice> columns; // --column FIELD=HEADER, for spreadsheets
    std::string sheet;                 // --sheet NAME, of a workbook; empty for the first
    // When given and true, a results book stops being read at its next page.
    const std::atomic<bool>* cancelled = nullptr;
};

// One input read: its reading and what the report says about it as a whole.
struct InputReading {
    SourceReading reading;
    std::string headline;             // the report's first line for it: "463 rows read"
    bool headlineNamesInput = false;  // the headline names the file already
    std::size_t faultCount = 0;       // what --strict refuses, counted
    std::string faultOne = "fault";   // what one of them is: "row skipped"
    std::string faultMany = "faults"; // and several: "rows skipped"
    // Events found that are not the four, with their rows: named when nothing is imported.
    std::vector<std::pair<std::string, std::size_t>> otherEvents;
};

// What reading one input came to: the reading, or the message why it cannot be used.
// `notes` are said at once, whether or not it was read ("... read as Latin-1").
struct InputOutcome {
    std::optional<InputReading> read;
    std::string message;
    std::vector<std::string> notes;
};

// Every kind of input becomes a SourceReading here, told apart by its bytes (not its
// name): results books (PDF), workbook sheets and CSV text; the readers of other kinds sit behind
// this one function. `path` names the input in messages and line references; the reading's title is
// its file name.
InputOutcome ReadInput(std::string_view bytes, const std::string& path,
                       const InputOptions& options);

// The file name of a path: what is after the last '/'.
std::string BaseName(const std::string& path);

} // namespace corvane
