// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// One file offered to a data folder, as it was read.
struct OfferedFile {
    std::string path;
    std::string reason;                 // why it cannot be used; empty when it can
    std::string what;                   // a results book's title and dates, or the sheet's name
    std::array<std::size_t, 4> dives{}; // per event, in the order M3M, W3M, M10M, W10M
    std::vector<std::string> rounds;    // "M3M: Preliminary 71, Final 48", an event a line
    std::vector<std::string> newDivers; // "SURNAME, Given (NAT)": divers new to the folder
    std::vector<std::string> warnings;  // rows or dives left out and why, notes of the reader

    bool Usable() const { return reason.empty(); }
};

// What adding comes to under one choice: why it cannot be done (empty when it can), and
// what the folder as a whole would hold that a coach should look at (probably-same divers,
// codes of more than one DD).
struct AddCheck {
    std::string refusal;
    std::vector<std::string> findings;
};

// What the folder does with results that no import wrote (sample results, a hand-made folder).
enum class EarlierResults {
    KeepBeside, // they become a source of their own
    Replace,    // they are moved into a dated subfolder, never deleted
};

// Kept by the implementation between a preview and the add it was shown for.
struct PendingAdd;

// What adding some files to a folder would do, worked out before anything is written.
struct AddPreview {
    std::string folder;
    std::vector<std::string> earlierFiles; // result files no import wrote; empty when none
    std::vector<OfferedFile> files;        // in the order given
    AddCheck keepBeside;                   // the add itself (earlier results kept beside)
    AddCheck replace;                      // only when earlierFiles is not empty
    bool cancelled = false;                // reading stopped on request: nothing to add
    std::shared_ptr<const PendingAdd> pending;
};

// One source of a folder, as the "Sources" window lists it.
struct SourceRow {
    std::string name;
    std::string title;
    std::string dates;
    std::array<std::size_t, 4> dives{}; // per event, in the order M3M, W3M, M10M, W10M
};

// What a folder holds, or the message why it cannot be told.
struct SourceList {
    std::vector<SourceRow> sources; // empty for a folder no import wrote
    std::string message;            // empty on success
};

// What the main window needs of its data folder to add results and take them out again.
// The program connects the importer; window tests connect a fake. Preview runs off the
// window's thread; the others are quick and run on it.
class ResultsFolder {
public:
    virtual ~ResultsFolder() = default;
    // Reads `paths` against what `folder` holds; writes nothing. Stops soon after
    // `cancelled` becomes true.
    virtual AddPreview Preview(const std::string& folder, const std::vector<std::string>& paths,
                               const std::atomic<bool>& cancelled) = 0;
    // Writes the usable files of `preview` into its folder in one step; the message for the
    // error box when that failed, in which case the folder is as it was.
    virtual std::optional<std::string> Add(const AddPreview& preview, EarlierResults choice) = 0;
    virtual SourceList Sources(const std::string& folder) = 0;
    // Takes the source `name` out of `folder`; the message for the error box when it could not.
    virtual std::optional<std::string> Remove(const std::string& folder,
                                              const std::string& name) = 0;
};

} // namespace corvane
