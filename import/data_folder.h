// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "names.h"
#include "output_folder.h"
#include "source.h"

#include "store/events.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// One source of a data folder, as Sources.tsv lists it.
struct FolderSource {
    std::string name; // unique in the folder
    std::string sha256;
    std::string title;
    std::string dates;
};

// One dive as Scores.tsv keeps it.
struct FolderDive {
    std::size_t source = 0; // index in the folder's sources
    int event = 0;          // 1..4
    std::string round;
    std::string diverId;
    int diveNumber = 0; // 0 when unknown
    std::string code;
    std::string dd;
    std::vector<std::string> awards;
    bool penalty = false;
    std::string points;
};

// One diver of the folder's roster. A diver without a surname is an id that results held
// before any import named without a roster row: kept on its dives, not written to Divers.tsv.
struct FolderDiver {
    std::string id;
    std::string surname;
    std::string given;
    std::string nation;
};

// Every dive of a data folder with the source it came from, and the divers they name. Divers
// are one by surname, given name and nation; a source with its own diver ids names its divers
// by those ids instead (a known id is that diver, a new one is kept as the folder's id). New
// divers of either kind get ids 10, 11, ... passing over ids in use.
class DataFolder {
public:
    const std::vector<FolderSource>& Sources() const { return sources_; }
    const std::vector<FolderDive>& Dives() const { return dives_; }
    const std::vector<FolderDiver>& Divers() const { return divers_; }

    // The source named `name` or holding those bytes, or nothing.
    std::optional<std::size_t> SourceNamed(const std::string& name) const;
    std::optional<std::size_t> SourceWithSha(const std::string& sha256) const;
    // `name`, or "name (2)", "name (3)", ... when a source has that name already.
    std::string FreeSourceName(const std::string& name) const;

    // Adds a source's dives after those already there. Returns the positions in Divers() of
    // the divers it brought that the folder did not know.
    std::vector<std::size_t> Add(FolderSource source, const SourceReading& reading);
    // Takes a source and its dives out; divers no dive names any longer leave the roster.
    void Remove(std::size_t source);

    // Rebuilds a folder from its files' contents (see folder_files.h), keeping ids.
    void Restore(std::vector<FolderSource> sources, std::vector<FolderDive> dives,
                 std::vector<FolderDiver> divers);

    // The dives of the source at `source` in each event.
    std::array<std::size_t, kEventCount> DivesPerEvent(std::size_t source) const;

private:
    std::size_t DiverOf(const SourceDive& dive);
    std::size_t NewDiver(FolderDiver diver);
    void IndexDivers();

    std::vector<FolderSource> sources_;
    std::vector<FolderDive> dives_;
    std::vector<FolderDiver> divers_;
    TextMap<std::size_t> byId_;   // every diver by id
    TextMap<std::size_t> byName_; // the first diver of each surname, given name and nation
    int nextId_ = 10;
};

} // namespace corvane
