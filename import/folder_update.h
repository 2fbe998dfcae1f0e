// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps of adding files to a data folder, taking a source out and listing its sources,
// shared by dive-import and the window: read files against a folder without writing, what
// refuses the add, and writing the folder in one step.

#include "data_folder.h"
#include "folder_checks.h"
#include "folder_files.h"
#include "source_input.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// One file offered to a folder, read: what it holds, or why it cannot be added.
struct OfferedInput {
    enum class Refused {
        No,
        Unreadable,      // no such file, or it cannot be read
        AlreadyInFolder, // its bytes are a source of the folder already
        NotResults,      // no reader can use it
    };
    std::string path;
    std::string sha256;
    Refused refused = Refused::No;
    std::string reason;             // why it cannot be added, naming the file; empty when it can
    std::vector<std::string> notes; // said whether or not it was read ("... read as Latin-1")
    InputReading read;

    bool Usable() const { return refused == Refused::No; }
};

// Reads the file at `path` for `folder`, which is left as it is.
OfferedInput ReadOffered(const std::string& path, const DataFolder& folder,
                         const InputOptions& options);

// Adds a usable input to `folder` as a source named after its file. Returns the positions in
// the folder's divers of the divers it brought that the folder did not know.
std::vector<std::size_t> AddOffered(DataFolder& folder, const OfferedInput& input);

// A source's dives in each round of `event`, in the order the rounds first come; empty when
// the source names no round.
std::vector<std::pair<std::string, std::size_t>> RoundCounts(const SourceReading& reading,
                                                             int event);
// Dives per event, in the order M3M, W3M, M10M, W10M.
std::array<std::size_t, kEventCount> DivesPerEvent(const SourceReading& reading);

// Whether rows or dives left out as faults refuse the add (dive-import --strict).
enum class FaultsRefuse { No, Yes };

// Why the folder that the usable `inputs` went into cannot be written: no usable input, no
// dive of the four events, faults under FaultsRefuse::Yes, an event over its capacity, more
// divers than a roster holds. Nothing when it can.
std::optional<std::string> AddRefusal(const DataFolder& folder,
                                      const std::vector<OfferedInput>& inputs, FaultsRefuse faults);

// What the folder as a whole holds that a coach should look at: divers that are probably one,
// codes of more than one DD ("probably the same diver, not merged: ...").
std::vector<std::string> FolderFindings(const DataFolder& folder, const FolderCatalogue& catalogue);

// A folder that an import wrote, read, or why it cannot be ("DIR holds no sources of an
// import" for any other).
FolderOutcome LoadImportedFolder(const std::string& dir);

// A folder with one source taken out, in memory: the folder, or the message why not.
struct SourceRemoval {
    std::optional<DataFolder> folder;
    std::string message;
    bool unknownName = false; // the folder has no source of that name
    std::size_t dives = 0;    // taken out with it
    std::size_t divers = 0;   // that no other source names
};
SourceRemoval RemoveSource(const std::string& dir, const std::string& name);

// How an add treats results in the folder that no import wrote (samples, a hand-made folder).
enum class EarlierFiles {
    KeepBeside, // they become the source earlier-results, as dive-import --add keeps them
    MoveAside,  // they go into a dated subfolder, and the folder holds the new sources alone
};

// What one way of adding comes to: why it cannot be written (empty when it can), and the
// folder's findings.
struct PlanCheck {
    std::string refusal;
    std::vector<std::string> findings;
};

// Adding files to a data folder worked out in memory: nothing is written until ApplyAdd.
struct AddPlan {
    std::string dir;
    std::string stamp;                     // the folder's files as they were read
    std::vector<std::string> earlierFiles; // the files of results no import wrote, by name
    std::vector<OfferedInput> inputs;      // in the order given, usable or not
    std::vector<std::vector<FolderDiver>> newDivers; // per input, divers new to the folder
    std::optional<DataFolder> kept;                  // what the folder holds with the usable inputs
    std::optional<DataFolder> replacing;             // with earlier files: the usable inputs alone
    PlanCheck keepBeside;
    PlanCheck replace; // with earlier files only
    bool cancelled = false;
};

// Reads `paths` against the folder `dir`; writes nothing. A file that cannot be used is
// kept in the plan with its reason and left out of the folders. Stops before the next file,
// or the next page of a results book, once `cancelled` is true.
AddPlan PlanAdd(const std::string& dir, const std::vector<std::string>& paths, InputOptions options,
                const std::atomic<bool>& cancelled);

// Moves a file within one file system; why it could not, or nothing.
using MoveFile =
    std::function<std::optional<std::string>(const std::string& from, const std::string& to)>;
std::optional<std::string> RenameFile(const std::string& from, const std::string& to);

// Where earlier results go when an add moves them aside: a subfolder named after the day
// ("earlier-results-2026-12-08", or "...-2" and up when that exists). Every write moves the
// files it replaces aside with `move` once the new ones are written, and back when renaming
// the new ones in fails; those of an ordinary write go to a hidden subfolder, removed after.
struct AsideFolder {
    std::string date; // "2026-12-08"
    MoveFile move = RenameFile;
};

// Writes the folder of `plan` under `choice` in one step. Refuses, with the reason, a plan
// that was cancelled or refused, and a folder that is gone or whose files changed since the
// plan read them. Returns the message for the user when it could not, in which case the
// folder is as it was.
std::optional<std::string> ApplyAdd(const AddPlan& plan, EarlierFiles choice,
                                    const AsideFolder& aside);

// Writes every file of `folder` into the existing folder `dir` in one step, as ApplyAdd
// does; the message for the user, naming the folder, when it could not (the folder is then
// as it was).
std::optional<std::string> WriteDataFolder(const DataFolder& folder, const std::string& dir);

} // namespace corvane
