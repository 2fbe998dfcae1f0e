// SPDX-License-Identifier: GPL-3.0-or-later
#include "dive_import.h"

#include "folder_update.h"
#include "importer.h"
#include "output_folder.h"

#include "cli/command_frame.h"
#include "rawdata/roster.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>

namespace corvane {

namespace {

constexpr const char* kUsage =
    R"(Usage: dive-import [OPTION]... --out FOLDER FILE...
       dive-import [OPTION]... --add --out FOLDER FILE...
       dive-import --out FOLDER --remove NAME
       dive-import --list FOLDER

Turns results spreadsheets (CSV, XLSX or ODS), one row per dive, into a folder that
corvane-dive-analyzer opens: the result files M3M, W3M, M10M and W10M and the
diver roster Divers.tsv. Rows of the four individual events are kept (M3M, W3M,
M10M, W10M, or names made of their parts in any order, with a round after
them: "men's 3m springboard - Final", "Women's Platform 10m"); rows of other
events are counted and left out, and an import without a dive of the four
events fails.

A file is read by what it holds, whatever its name: a competition's official
results book (a PDF file), an XLSX or ODS workbook (its first sheet, or the one
--sheet names), else CSV text, comma, semicolon or tab separated (found from the
header line, or named by a first line "sep=;"), UTF-8, UTF-16 with its byte-order
mark ("Unicode text") or Latin-1. Any other file (an old .xls, another archive,
binary data) is refused with what it looks like.

Of a results book, every performed dive of the four individual events on its
"Detailed Results" pages is read, all rounds; other pages and events are
skipped and counted, and so are dives listed but not performed. Each dive's
points are checked against its DD and awards, and the running totals added up;
a dive that fails is left out and named.

The header line of a table names the columns, in any letter case:
  event      event, event name, discipline
  name       name, diver, diver name, athlete ("SURNAME, Given" or "SURNAME Given",
             "van DUIJN Celine"), or instead: surname (last name) and given-name
             (first name)
  nation     nation, country, noc, nat
  code       code, dive, dive code, dive no
  dd         dd, difficulty, degree of difficulty
  points     points, dive points, score, pts (a penalty mark "*49.60" is read)
  id         diver id, id, athlete id (optional; else divers get ids from 10 up)
  round, J1 .. J7   the round and the judges' awards (optional; kept in Scores.tsv)

The folder keeps every dive with its source: Sources.tsv (name, SHA-256, title,
dates, dives per event), Scores.tsv (one row per dive: source, event, round,
diver, dive number, code, DD, awards, penalty, points) and Catalogue.tsv (for
each code and apparatus the DD most of its dives carry, else the built-in one).
The result files and Divers.tsv are written from them. A diver is one surname,
given name and nation in every source; known divers keep their ids, new ones
get the next free ids. Divers probably written two ways, and codes whose dives
carry more than one DD, are reported.

  --out FOLDER          the folder to write (required; made when missing)
  --column FIELD=HEADER the column of FIELD (one of the names above) is HEADER;
                        may be given more than once
  --sheet NAME          read the sheet NAME of each workbook, not the first
  --strict              refuse the import when any row is left out as bad, or
                        a book's dive fails the points check
  --force               replace the results already in FOLDER
  --add                 add the files to the sources FOLDER holds (a file already
                        imported is refused; results no import wrote are kept
                        as the source earlier-results)
  --remove NAME         take the source NAME and its dives out of FOLDER
  --list FOLDER         print the sources of FOLDER
  --help                show this help and exit
  --version             show the version and exit

A row whose dive code is empty or longer than 5 characters, or whose DD or
points are not a number, is left out; the report on standard error says how
many rows were left out for each reason and where. Files in FOLDER are replaced
only when the whole import succeeds.

Exit status: 0 the folder was written; 1 an input could not be read or used (a
PDF that is damaged, encrypted, without text or without detailed results), it
holds no dive of the four events, a row was left out under --strict, or an
event has more dives than the program holds; 2 bad arguments, or FOLDER
already holds results and neither --force nor --add is given, or holds a
Divers.tsv or Catalogue.tsv but no results and --force is not given.

Examples:
  dive-import --out ~/dives/worlds results.csv && corvane-dive-analyzer ~/dives/worlds
  dive-import --out ~/dives/cup cup-results-book.pdf
  dive-import --add --out ~/dives/cup europeans.pdf && dive-import --list ~/dives/cup
)";

struct Options {
    std::vector<std::string> inputs;
    std::string outDir;
    std::vector<ColumnChoice> columns;
    std::string sheet;  // of a workbook; empty for the first
    std::string remove; // --remove NAME
    std::string list;   // --list FOLDER
    bool add = false;
    bool strict = false;
    bool force = false;
    bool help = false;
    bool version = false;
};

ColumnChoice ParseColumnChoice(const std::string& value) {
    const std::size_t equals = value.find('=');
    const std::optional<Field> field =
        equals == std::string::npos ? std::nullopt : FieldByName(value.substr(0, equals));
    if (!field || equals + 1 >= value.size())
        throw UsageError{"--column takes FIELD=HEADER with FIELD one of event, name, surname, "
                         "given-name, nation, code, dd, points, id; not '" +
                         value + "'"};
    return {*field, value.substr(equals + 1)};
}

// Applies the option `arg` (with its value taken from `args` at `i` when it needs one).
void ApplyOption(Options& options, const std::string& arg, const std::vector<std::string>& args,
                 std::size_t& i) {
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (name == "--help" || name == "-h" || name == "--version" || name == "--strict" ||
        name == "--force" || name == "--add") {
        if (equals != std::string::npos)
            throw UsageError{name + " takes no value"};
        options.help |= name == "--help" || name == "-h";
        options.version |= name == "--version";
        options.strict |= name == "--strict";
        options.force |= name == "--force";
        options.add |= name == "--add";
        return;
    }
    if (name != "--out" && name != "--column" && name != "--sheet" && name != "--remove" &&
        name != "--list")
        throw UsageError{"unknown option '" + name + "'"};
    if (equals == std::string::npos && i + 1 >= args.size())
        throw UsageError{name + " needs a value"};
    const std::string value = equals != std::string::npos ? arg.substr(equals + 1) : args[++i];
    if (name == "--out")
        options.outDir = value;
    else if (name == "--sheet")
        options.sheet = value;
    else if (name == "--remove")
        options.remove = value;
    else if (name == "--list")
        options.list = value;
    else
        options.columns.push_back(ParseColumnChoice(value));
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (!optionsEnded && arg.starts_with('-') && arg != "-")
            ApplyOption(options, arg, args, i);
        else
            options.inputs.push_back(arg);
    }
    if (options.help || options.version)
        return options;
    if (!options.list.empty()) {
        if (!options.outDir.empty() || !options.inputs.empty() || !options.remove.empty() ||
            options.add)
            throw UsageError{"--list FOLDER takes no other option or file"};
        return options;
    }
    if (!options.remove.empty()) {
        if (!options.inputs.empty() || options.add)
            throw UsageError{"--remove NAME takes no file to import"};
        if (options.outDir.empty())
            throw UsageError{"--out FOLDER is required"};
        return options;
    }
    if (options.outDir.empty())
        throw UsageError{"--out FOLDER is required"};
    if (options.inputs.empty())
        throw UsageError{"no CSV file to import"};
    return options;
}

// One input of the import as the report tells it: the file read and the divers it brought.
struct ImportedInput {
    OfferedInput offered;
    std::vector<std::size_t> newDivers; // positions in the folder's divers
    std::size_t rosterSize = 0;         // the folder's divers once it was added
};

std::string Counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// "  M3M by round: Preliminary 71, Final 48", or nothing when the source names no round.
std::string RoundsLine(const SourceReading& reading, int event) {
    const auto rounds = RoundCounts(reading, event);
    if (rounds.empty())
        return "";
    std::string line = "  " + std::string(EventByIndex(event).id) + " by round:";
    for (std::size_t i = 0; i < rounds.size(); ++i)
        line += (i == 0 ? " " : ", ") +
                (rounds[i].first.empty() ? std::string("no round") : rounds[i].first) + " " +
                std::to_string(rounds[i].second);
    return line;
}

// "  divers new to the folder: 24 (HALVERSEN, JONAS; ...)", the first five named.
std::string NewDiversLine(const std::vector<std::size_t>& newDivers, const DataFolder& folder) {
    constexpr std::size_t kNamed = 5;
    std::string line = "  divers new to the folder: " + std::to_string(newDivers.size());
    for (std::size_t i = 0; i < newDivers.size() && i < kNamed; ++i) {
        const FolderDiver& diver = folder.Divers()[newDivers[i]];
        line += (i == 0 ? " (" : "; ") + diver.surname + ", " + diver.given;
    }
    return line + (newDivers.size() > kNamed ? "; ...)" : newDivers.empty() ? "" : ")");
}

// The report on one source: what its reader said, its dives, and the divers it brought.
void PrintSource(const ImportedInput& input, const DataFolder& folder, bool named,
                 std::ostream& err) {
    const InputReading& read = input.offered.read;
    const SourceReading& reading = read.reading;
    const bool withPath = named && !read.headlineNamesInput;
    err << "dive-import: " << (withPath ? input.offered.path + ": " : "") << read.headline << "\n";
    const auto dives = DivesPerEvent(reading);
    for (int event = 1; event <= kEventCount; ++event)
        err << "  " << EventByIndex(event).id << ": " << dives[event - 1] << " dives\n";
    err << "  divers in the roster: " << input.rosterSize << "\n";
    for (const std::string& fault : reading.faults)
        err << "  " << fault << "\n";
    for (const std::string& line : reading.report)
        err << "  " << line << "\n";
    for (int event = 1; event <= kEventCount; ++event) {
        if (const std::string rounds = RoundsLine(reading, event); !rounds.empty())
            err << rounds << "\n";
    }
    if (!read.headlineNamesInput)
        err << "  title: " << reading.title << (reading.dates.empty() ? "" : ", " + reading.dates)
            << "\n";
    err << NewDiversLine(input.newDivers, folder) << "\n";
}

// Refuses to replace results that are there already, unless told to.
bool OutputFolderFree(const Options& options, std::ostream& err) {
    if (options.force)
        return true;
    std::vector<std::string> names;
    for (const EventInfo& event : kEvents)
        names.emplace_back(event.id);
    names.emplace_back(kRosterFileName);
    names.emplace_back(kCatalogueFileName);
    const std::vector<std::string> existing = ExistingFiles(options.outDir, names);
    if (existing.empty())
        return true;
    std::string list;
    for (const std::string& name : existing)
        list += (list.empty() ? "" : ", ") + name;
    const bool imported = !ExistingFiles(options.outDir, {kSourcesFileName}).empty();
    err << "dive-import: " << options.outDir << " already holds " << list
        << (imported ? "; give --add to add to them or --force to replace them\n"
                     : "; give --force to replace them\n");
    return false;
}

// Whether `dir` holds results that --add adds to: result files, or the sources of an import.
bool HoldsResults(const std::string& dir) {
    std::vector<std::string> names{kSourcesFileName};
    for (const EventInfo& event : kEvents)
        names.emplace_back(event.id);
    return !ExistingFiles(dir, names).empty();
}

// The folder an import starts from: empty, or with --add what it holds.
std::optional<DataFolder> StartingFolder(const Options& options, std::ostream& err) {
    if (!options.add)
        return DataFolder{};
    FolderOutcome loaded = LoadDataFolder(options.outDir);
    if (!loaded.folder)
        err << "dive-import: " << loaded.message << "\n";
    else if (loaded.kind == FolderOutcome::Kind::Earlier)
        err << "dive-import: the results already in " << options.outDir << " are kept as source "
            << kEarlierResultsName << "\n";
    return std::move(loaded.folder);
}

// Reads one input and adds it to the folder; reports and returns nothing when it cannot.
std::optional<ImportedInput> AddInput(DataFolder& folder, const std::string& path,
                                      const Options& options, std::ostream& err) {
    ImportedInput input{
        ReadOffered(path, folder, InputOptions{options.columns, options.sheet}), {}, 0};
    for (const std::string& note : input.offered.notes)
        err << "dive-import: " << note << "\n";
    if (!input.offered.Usable()) {
        const bool known = input.offered.refused == OfferedInput::Refused::AlreadyInFolder;
        err << "dive-import: " << input.offered.reason << (known ? "; nothing written" : "")
            << "\n";
        return std::nullopt;
    }
    input.newDivers = AddOffered(folder, input.offered);
    input.rosterSize = folder.Divers().size();
    return input;
}

// Writes every file of the folder in one step; reports and returns the exit status.
int WriteFolder(const DataFolder& folder, const std::string& dir, std::ostream& err) {
    FolderCatalogue catalogue = BuildCatalogue(folder);
    for (const std::string& finding : FolderFindings(folder, catalogue))
        err << "dive-import: " << finding << "\n";
    if (const auto failure =
            WriteOutputFiles(dir, FolderFiles(folder, std::move(catalogue.text)))) {
        err << "dive-import: " << *failure << "; nothing written\n";
        return kExitFailed;
    }
    err << "dive-import: wrote " << dir << "\n";
    return kExitDone;
}

int Import(const Options& options, std::ostream& err) {
    // A roster or DD table made by hand, without results to add to, is the user's too: --add
    // replaces it only with --force, as an import without --add would.
    if ((!options.add || !HoldsResults(options.outDir)) && !OutputFolderFree(options, err))
        return kExitBadUsage;
    std::optional<DataFolder> folder = StartingFolder(options, err);
    if (!folder)
        return kExitFailed;
    std::vector<ImportedInput> inputs;
    for (const std::string& path : options.inputs) {
        std::optional<ImportedInput> input = AddInput(*folder, path, options, err);
        if (!input)
            return kExitFailed;
        inputs.push_back(std::move(*input));
    }
    std::vector<OfferedInput> offered;
    for (ImportedInput& input : inputs) {
        PrintSource(input, *folder, inputs.size() > 1, err);
        offered.push_back(std::move(input.offered));
    }
    const FaultsRefuse faults = options.strict ? FaultsRefuse::Yes : FaultsRefuse::No;
    if (const auto refusal = AddRefusal(*folder, offered, faults)) {
        err << "dive-import: " << *refusal << "\n";
        return kExitFailed;
    }
    return WriteFolder(*folder, options.outDir, err);
}

// Loads a folder an import wrote; reports and returns nothing when it cannot.
std::optional<DataFolder> ImportedFolder(const std::string& dir, std::ostream& err) {
    FolderOutcome loaded = LoadImportedFolder(dir);
    if (!loaded.folder)
        err << "dive-import: " << loaded.message << "\n";
    return std::move(loaded.folder);
}

int RemoveNamedSource(const Options& options, std::ostream& err) {
    SourceRemoval removal = RemoveSource(options.outDir, options.remove);
    if (!removal.folder) {
        err << "dive-import: " << removal.message
            << (removal.unknownName ? " (--list shows its sources)" : "") << "\n";
        return kExitFailed;
    }
    err << "dive-import: removed " << options.remove << ": " << Counted(removal.dives, "dive")
        << ", " << Counted(removal.divers, "diver") << " no other source names\n";
    return WriteFolder(*removal.folder, options.outDir, err);
}

int ListSources(const Options& options, std::ostream& out, std::ostream& err) {
    const std::optional<DataFolder> folder = ImportedFolder(options.list, err);
    if (!folder)
        return kExitFailed;
    for (std::size_t i = 0; i < folder->Sources().size(); ++i) {
        const FolderSource& source = folder->Sources()[i];
        out << source.name << ": " << source.title
            << (source.dates.empty() ? "" : ", " + source.dates) << ":";
        const auto dives = folder->DivesPerEvent(i);
        for (int event = 1; event <= kEventCount; ++event)
            out << (event == 1 ? " " : ", ") << EventByIndex(event).id << " " << dives[event - 1];
        out << " dives\n";
    }
    return kExitDone;
}

int Run(const Options& options, std::ostream& out, std::ostream& err) {
    if (!options.list.empty())
        return ListSources(options, out, err);
    if (!options.remove.empty())
        return RemoveNamedSource(options, err);
    return Import(options, err);
}
} // namespace

int RunDiveImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommandLine("dive-import", kUsage, args, out, err, ParseOptions,
                          [&](const Options& options) { return Run(options, out, err); });
}

} // namespace corvane
