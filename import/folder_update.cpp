// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_update.h"

#include "importer.h"

#include "rawdata/roster.h"
#include "store/file_set_writer.h"
#include "store/file_text.h"
#include "store/sha256.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

OfferedInput ReadOffered(const std::string& path, const DataFolder& folder,
                         const InputOptions& options) {
    OfferedInput input;
    input.path = path;
    std::string bytes;
    const LoadOutcome read = ReadWholeFile(path, bytes);
    if (read.kind != LoadOutcome::Kind::Loaded) {
        input.refused = OfferedInput::Refused::Unreadable;
        input.reason = read.kind == LoadOutcome::Kind::MissingFile
                           ? "cannot read " + path + ": no such file"
                           : read.message;
        return input;
    }
    input.sha256 = Sha256Hex(bytes);
    if (const auto known = folder.SourceWithSha(input.sha256)) {
        input.refused = OfferedInput::Refused::AlreadyInFolder;
        input.reason =
            path + " is already in the folder as source " + folder.Sources()[*known].name;
        return input;
    }
    InputOutcome outcome = ReadInput(bytes, path, options);
    input.notes = std::move(outcome.notes);
    if (!outcome.read) {
        input.refused = OfferedInput::Refused::NotResults;
        input.reason = std::move(outcome.message);
        return input;
    }
    input.read = std::move(*outcome.read);
    return input;
}

std::vector<std::size_t> AddOffered(DataFolder& folder, const OfferedInput& input) {
    const SourceReading& reading = input.read.reading;
    return folder.Add(
        {folder.FreeSourceName(BaseName(input.path)), input.sha256, reading.title, reading.dates},
        reading);
}

std::vector<std::pair<std::string, std::size_t>> RoundCounts(const SourceReading& reading,
                                                             int event) {
    std::vector<std::pair<std::string, std::size_t>> rounds;
    for (const SourceDive& dive : reading.dives) {
        if (dive.event != event)
            continue;
        const auto at = std::find_if(rounds.begin(), rounds.end(),
                                     [&](const auto& round) { return round.first == dive.round; });
        if (at == rounds.end())
            rounds.emplace_back(dive.round, 1);
        else
            ++at->second;
    }
    if (rounds.size() == 1 && rounds.front().first.empty())
        rounds.clear();
    return rounds;
}

std::array<std::size_t, kEventCount> DivesPerEvent(const SourceReading& reading) {
    std::array<std::size_t, kEventCount> dives{};
    for (const SourceDive& dive : reading.dives)
        ++dives[static_cast<std::size_t>(dive.event - 1)];
    return dives;
}

namespace {

// Why inputs that hold no dive of the four events cannot be added, with the event names
// found, or nothing when there are dives.
std::optional<std::string> NothingToImport(const std::vector<OfferedInput>& inputs) {
    std::vector<std::pair<std::string, std::size_t>> found;
    for (const OfferedInput& input : inputs) {
        if (!input.Usable())
            continue;
        if (!input.read.reading.dives.empty())
            return std::nullopt;
        for (const auto& other : input.read.otherEvents) {
            const auto at = std::find_if(found.begin(), found.end(), [&](const auto& event) {
                return event.first == other.first;
            });
            if (at == found.end())
                found.push_back(other);
            else
                at->second += other.second;
        }
    }
    constexpr std::size_t kNamed = 10;
    std::string names;
    const auto events = LargestFirst(found);
    for (std::size_t i = 0; i < events.size() && i < kNamed; ++i)
        names += (i == 0 ? "; the event names found are '" : ", '") + events[i].first + "' (" +
                 Rows(events[i].second) + ")";
    if (events.size() > kNamed)
        names += ", ...";
    return "no dive of M3M, W3M, M10M or W10M to import" + names + "; nothing written";
}

// The faults of the inputs counted by what they are: "2 rows skipped and 1 dive fails the
// points check", or nothing when there are none.
std::optional<std::string> FaultsCounted(const std::vector<OfferedInput>& inputs) {
    std::vector<std::pair<std::size_t, const InputReading*>> kinds;
    for (const OfferedInput& input : inputs) {
        const InputReading& read = input.read;
        if (!input.Usable() || read.faultCount == 0)
            continue;
        const auto same = std::find_if(kinds.begin(), kinds.end(), [&](const auto& kind) {
            return kind.second->faultOne == read.faultOne;
        });
        if (same == kinds.end())
            kinds.emplace_back(read.faultCount, &read);
        else
            same->first += read.faultCount;
    }
    if (kinds.empty())
        return std::nullopt;
    std::string faults;
    for (const auto& [count, read] : kinds)
        faults += (faults.empty() ? "" : " and ") + std::to_string(count) + " " +
                  (count == 1 ? read->faultOne : read->faultMany);
    return faults;
}

// Every event over its capacity, so that one look tells what to split, or nothing.
std::optional<std::string> OverCapacity(const DataFolder& folder) {
    std::array<std::size_t, kEventCount> dives{};
    for (const FolderDive& dive : folder.Dives())
        ++dives[static_cast<std::size_t>(dive.event - 1)];
    std::string over;
    for (int event = 1; event <= kEventCount; ++event) {
        const EventInfo& info = EventByIndex(event);
        if (dives[event - 1] > static_cast<std::size_t>(info.capacity))
            over += (over.empty() ? "" : "; ") + std::string(info.id) + ": " +
                    std::to_string(dives[event - 1]) + " dives, at most " +
                    std::to_string(info.capacity);
    }
    return over.empty() ? std::nullopt : std::optional(over);
}

} // namespace

std::optional<std::string>
AddRefusal(const DataFolder& folder, const std::vector<OfferedInput>& inputs, FaultsRefuse faults) {
    if (std::none_of(inputs.begin(), inputs.end(), [](auto& input) { return input.Usable(); }))
        return "none of the files can be added";
    if (auto nothing = NothingToImport(inputs))
        return nothing;
    if (faults == FaultsRefuse::Yes) {
        if (auto counted = FaultsCounted(inputs))
            return *counted + " under --strict; nothing written";
    }
    if (auto over = OverCapacity(folder))
        return over;
    if (folder.Divers().size() > kMaxRosterRows)
        return std::to_string(folder.Divers().size()) + " divers, at most " +
               std::to_string(kMaxRosterRows);
    return std::nullopt;
}

std::vector<std::string> FolderFindings(const DataFolder& folder,
                                        const FolderCatalogue& catalogue) {
    std::vector<std::string> findings;
    for (const std::string& pair : ProbablySameDivers(folder))
        findings.push_back("probably the same diver, not merged: " + pair);
    for (const std::string& mixed : catalogue.mixed)
        findings.push_back("dives of more than one DD: " + mixed);
    return findings;
}

FolderOutcome LoadImportedFolder(const std::string& dir) {
    FolderOutcome loaded = LoadDataFolder(dir);
    if (loaded.folder && loaded.kind != FolderOutcome::Kind::Imported) {
        loaded.folder.reset();
        loaded.message = dir + " holds no sources of an import";
    }
    return loaded;
}

SourceRemoval RemoveSource(const std::string& dir, const std::string& name) {
    SourceRemoval removal;
    FolderOutcome loaded = LoadImportedFolder(dir);
    if (!loaded.folder) {
        removal.message = std::move(loaded.message);
        return removal;
    }
    DataFolder& folder = *loaded.folder;
    const std::optional<std::size_t> source = folder.SourceNamed(name);
    if (!source) {
        removal.unknownName = true;
        removal.message = dir + " has no source " + name;
        return removal;
    }
    if (folder.Sources().size() == 1) {
        removal.message = name + " is the only source of " + dir +
                          "; nothing removed (remove the folder instead)";
        return removal;
    }
    const std::size_t divers = folder.Divers().size();
    for (const std::size_t count : folder.DivesPerEvent(*source))
        removal.dives += count;
    folder.Remove(*source);
    removal.divers = divers - folder.Divers().size();
    removal.folder = std::move(folder);
    return removal;
}

namespace {

std::optional<std::string> NoFolder(const std::string& dir) {
    std::error_code error;
    if (std::filesystem::is_directory(dir, error))
        return std::nullopt;
    return dir + " is no longer there (removed or renamed?)";
}

// What the files of a folder hold, to tell whether they changed between reading and writing.
std::string FolderStamp(const std::string& dir) {
    std::error_code error;
    std::string stamp = std::filesystem::is_directory(dir, error) ? "" : "no folder\n";
    for (const std::string& name : FolderFileNames()) {
        std::string text;
        const LoadOutcome read = ReadWholeFile(JoinPath(dir, name), text);
        stamp += name + ' ' +
                 (read.kind == LoadOutcome::Kind::Loaded        ? Sha256Hex(text)
                  : read.kind == LoadOutcome::Kind::MissingFile ? std::string("-")
                                                                : read.message) +
                 '\n';
    }
    return stamp;
}

PlanCheck CheckFolder(const std::optional<DataFolder>& folder,
                      const std::vector<OfferedInput>& inputs, const std::string& unreadable) {
    if (!folder)
        return {unreadable, {}};
    PlanCheck check;
    check.refusal = AddRefusal(*folder, inputs, FaultsRefuse::No).value_or("");
    check.findings = FolderFindings(*folder, BuildCatalogue(*folder));
    return check;
}

// Why files of a folder without results cannot be kept beside the new ones.
std::string NothingToKeep(const std::string& dir, const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& name : files)
        names += (names.empty() ? "" : ", ") + name;
    return dir + " holds " + names + " but no result files to keep beside; replace them instead";
}

// Reads each file against `base` and adds what is usable to it and to `also`, when given.
void ReadInputs(AddPlan& plan, const std::vector<std::string>& paths, DataFolder& base,
                DataFolder* also, const InputOptions& options) {
    for (const std::string& path : paths) {
        if (options.cancelled->load()) {
            plan.cancelled = true;
            return;
        }
        OfferedInput input = ReadOffered(path, base, options);
        std::vector<FolderDiver> newDivers;
        if (input.Usable()) {
            for (const std::size_t at : AddOffered(base, input))
                newDivers.push_back(base.Divers()[at]);
            if (also)
                AddOffered(*also, input);
        }
        plan.inputs.push_back(std::move(input));
        plan.newDivers.push_back(std::move(newDivers));
    }
    plan.cancelled = options.cancelled->load();
}

} // namespace

AddPlan PlanAdd(const std::string& dir, const std::vector<std::string>& paths, InputOptions options,
                const std::atomic<bool>& cancelled) {
    AddPlan plan;
    plan.dir = dir;
    plan.stamp = FolderStamp(dir);
    FolderOutcome loaded = LoadDataFolder(dir);
    // Files no import wrote are never written over: a roster without result files too.
    if (loaded.kind != FolderOutcome::Kind::Imported)
        plan.earlierFiles = ExistingFiles(dir, FolderFileNames());
    if (!plan.earlierFiles.empty())
        plan.replacing.emplace();
    plan.kept = std::move(loaded.folder);
    // Per file, what is new is told against what the folder holds now, where it can be read.
    DataFolder scratch;
    DataFolder& base = plan.kept ? *plan.kept : plan.replacing ? *plan.replacing : scratch;
    DataFolder* also = plan.kept && plan.replacing ? &*plan.replacing : nullptr;
    options.cancelled = &cancelled;
    ReadInputs(plan, paths, base, also, options);
    if (plan.cancelled)
        return plan;
    plan.keepBeside = CheckFolder(plan.kept, plan.inputs, loaded.message);
    if (loaded.kind == FolderOutcome::Kind::Empty && !plan.earlierFiles.empty())
        plan.keepBeside.refusal = NothingToKeep(dir, plan.earlierFiles);
    if (auto gone = NoFolder(dir))
        plan.keepBeside.refusal = *gone;
    if (plan.replacing)
        plan.replace = CheckFolder(plan.replacing, plan.inputs, "");
    return plan;
}

std::optional<std::string> RenameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return std::generic_category().message(errno);
    return std::nullopt;
}

namespace {

// The name of the subfolder that an ordinary write moves the files it replaces into while
// it runs; removed once the new files are in.
constexpr char kReplacedFolder[] = ".dive-import-replaced";

struct Moved {
    std::string from;
    std::string to;
};

// The files of `dir` that a write replaces, moved into a subfolder named `name` (or
// "name-2", ...) while it renames the new ones in, and where they went.
struct Aside {
    std::string dir;
    std::string name;
    std::vector<std::string> files;
    const MoveFile& move;
    std::string subfolder;
    std::vector<Moved> moved;
};

std::optional<WriteFailure> MakeSubfolder(Aside& aside) {
    constexpr int kAttempts = 100;
    const std::string stem = JoinPath(aside.dir, aside.name);
    for (int n = 1; n <= kAttempts; ++n) {
        const std::string path = n == 1 ? stem : stem + "-" + std::to_string(n);
        if (::mkdir(path.c_str(), 0777) == 0) {
            aside.subfolder = path;
            return std::nullopt;
        }
        if (errno != EEXIST)
            return WriteFailure{path, std::generic_category().message(errno)};
    }
    return WriteFailure{stem, "every name up to -" + std::to_string(kAttempts) + " is taken"};
}

// Makes the subfolder and moves the files into it, noting each move made.
std::optional<WriteFailure> MoveAside(Aside& aside) {
    if (auto failure = MakeSubfolder(aside))
        return failure;
    for (const std::string& name : aside.files) {
        Moved move{JoinPath(aside.dir, name), JoinPath(aside.subfolder, name)};
        if (auto why = aside.move(move.from, move.to))
            return WriteFailure{move.from, *why};
        aside.moved.push_back(std::move(move));
    }
    return std::nullopt;
}

// Undoes the moves, last first; the files it could not move back, or nothing.
std::optional<std::string> MoveBack(const Aside& aside) {
    std::string stuck;
    for (auto at = aside.moved.rbegin(); at != aside.moved.rend(); ++at) {
        if (aside.move(at->to, at->from))
            stuck += (stuck.empty() ? "" : ", ") + BaseName(at->from);
    }
    return stuck.empty() ? std::nullopt : std::optional(stuck);
}

// "cannot write into DIR: REASON (FILE)"; a temporary, hidden, is not named.
std::string CannotWrite(const std::string& dir, const WriteFailure& failure) {
    const std::string name = BaseName(failure.path);
    return "cannot write into " + dir + ": " + failure.reason +
           (name.starts_with('.') ? "" : " (" + name + ")");
}

// Writes `files` into `aside.dir` in one step: the files they replace are moved aside only
// once every new file is written, and moved back when a rename fails after that, so that
// no failure leaves a mix of old and new files. The moved files stay in the subfolder.
std::optional<std::string> WriteInPlace(const std::vector<FileToWrite>& files, Aside& aside) {
    const auto failure =
        WriteFileSet(files, {"dive-import"}, [&aside] { return MoveAside(aside); });
    if (!failure)
        return std::nullopt;
    // The new files renamed in stand where moved files stood, or where there were none.
    for (std::size_t i = 0; i < failure->renamed; ++i)
        ::unlink(files[i].path.c_str());
    if (const auto stuck = MoveBack(aside))
        return CannotWrite(aside.dir, *failure) + "; " + *stuck + " could not be moved back from " +
               aside.subfolder;
    if (!aside.subfolder.empty())
        ::rmdir(aside.subfolder.c_str());
    return CannotWrite(aside.dir, *failure) + "; nothing was changed";
}

std::vector<FileToWrite> FilesIn(const std::string& dir, const OutputFiles& files) {
    std::vector<FileToWrite> set;
    for (const auto& [name, text] : files)
        set.push_back({JoinPath(dir, name), text, std::nullopt});
    return set;
}

// Writes the files of `folder` into `dir` over those there.
std::optional<std::string> WriteOver(const DataFolder& folder, const std::string& dir,
                                     const MoveFile& move) {
    const OutputFiles files = FolderFiles(folder, BuildCatalogue(folder).text);
    Aside aside{dir, kReplacedFolder, ExistingFiles(dir, FolderFileNames()), move, {}, {}};
    const auto failure = WriteInPlace(FilesIn(dir, files), aside);
    if (!failure) {
        std::error_code ignored;
        std::filesystem::remove_all(aside.subfolder, ignored);
    }
    return failure;
}

// Why the folder is no longer the one the plan read, or nothing.
std::optional<std::string> FolderChanged(const AddPlan& plan) {
    if (auto gone = NoFolder(plan.dir))
        return *gone + "; nothing written";
    if (FolderStamp(plan.dir) != plan.stamp)
        return plan.dir +
               " changed since the files were read (results were added or removed "
               "meanwhile); nothing written: add the files again to see what they add now";
    return std::nullopt;
}

} // namespace

std::optional<std::string> WriteDataFolder(const DataFolder& folder, const std::string& dir) {
    return WriteOver(folder, dir, RenameFile);
}

std::optional<std::string> ApplyAdd(const AddPlan& plan, EarlierFiles choice,
                                    const AsideFolder& aside) {
    if (plan.cancelled)
        return "reading the files was cancelled; nothing written";
    const bool moveAside = choice == EarlierFiles::MoveAside && !plan.earlierFiles.empty();
    const PlanCheck& check = moveAside ? plan.replace : plan.keepBeside;
    const std::optional<DataFolder>& folder = moveAside ? plan.replacing : plan.kept;
    if (!check.refusal.empty())
        return check.refusal;
    if (!folder)
        return plan.dir + " cannot be read; nothing written";
    if (auto changed = FolderChanged(plan))
        return changed;
    if (!moveAside)
        return WriteOver(*folder, plan.dir, aside.move);
    const OutputFiles files = FolderFiles(*folder, BuildCatalogue(*folder).text);
    Aside earlier{plan.dir,
                  std::string(kEarlierResultsName) + "-" + aside.date,
                  plan.earlierFiles,
                  aside.move,
                  {},
                  {}};
    return WriteInPlace(FilesIn(plan.dir, files), earlier);
}

} // namespace corvane
