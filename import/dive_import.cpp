// SPDX-License-Identifier: GPL-3.0-or-later
#include "dive_import.h"

#include "importer.h"
#include "input_table.h"
#include "output_folder.h"
#include "results_book.h"

#include "app/command_frame.h"
#include "rawdata/roster.h"
#include "store/result_loader.h"

#include <ostream>

namespace corvane {

namespace {

constexpr const char* kUsage =
    R"(Usage: dive-import [OPTION]... --out FOLDER FILE...

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
header line, or named by a first line "sep=;"), UTF-8 or Latin-1. Any other file
(another archive, binary data) is refused with what it looks like.

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

  --out FOLDER          the folder to write (required; made when missing)
  --column FIELD=HEADER the column of FIELD (one of the names above) is HEADER;
                        may be given more than once
  --sheet NAME          read the sheet NAME of each workbook, not the first
  --strict              refuse the import when any row is left out as bad, or
                        a book's dive fails the points check
  --force               replace the results already in FOLDER
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
already holds results and --force is not given.

Examples:
  dive-import --out ~/dives/worlds results.csv && corvane-dive-analyzer ~/dives/worlds
  dive-import --out ~/dives/cup cup-results-book.pdf
)";

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

struct Options {
    std::vector<std::string> inputs;
    std::string outDir;
    std::vector<ColumnChoice> columns;
    std::string sheet; // of a workbook; empty for the first
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
        name == "--force") {
        if (equals != std::string::npos)
            throw UsageError{name + " takes no value"};
        options.help |= name == "--help" || name == "-h";
        options.version |= name == "--version";
        options.strict |= name == "--strict";
        options.force |= name == "--force";
        return;
    }
    if (name != "--out" && name != "--column" && name != "--sheet")
        throw UsageError{"unknown option '" + name + "'"};
    if (equals == std::string::npos && i + 1 >= args.size())
        throw UsageError{name + " needs a value"};
    const std::string value = equals != std::string::npos ? arg.substr(equals + 1) : args[++i];
    if (name == "--out")
        options.outDir = value;
    else if (name == "--sheet")
        options.sheet = value;
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
    if (options.outDir.empty())
        throw UsageError{"--out FOLDER is required"};
    if (options.inputs.empty())
        throw UsageError{"no CSV file to import"};
    return options;
}

std::string Listed(const Occurrences& where) {
    std::string list;
    for (const std::string& place : where.first)
        list += (list.empty() ? " (" : ", ") + place;
    return list.empty() ? list : list + (where.count > where.first.size() ? ", ...)" : ")");
}

std::string Rows(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " row" : " rows");
}

// The event names with the most rows first, names with as many in order of appearance.
std::vector<std::pair<std::string, std::size_t>>
LargestFirst(std::vector<std::pair<std::string, std::size_t>> events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return events;
}

// The ten event names not recognised with the most rows, and what the others add up to.
void PrintOtherEvents(const std::vector<std::pair<std::string, std::size_t>>& otherEvents,
                      std::ostream& err) {
    constexpr std::size_t kShown = 10;
    const auto events = LargestFirst(otherEvents);
    std::size_t restRows = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (i < kShown)
            err << "  skipped, event '" << events[i].first << "': " << Rows(events[i].second)
                << "\n";
        else
            restRows += events[i].second;
    }
    if (events.size() > kShown)
        err << "  skipped, " << events.size() - kShown << " other event names: " << Rows(restRows)
            << "\n";
}

void PrintReport(const ImportData& data, std::ostream& err) {
    err << "dive-import: " << Rows(data.rowsRead) << " read\n";
    for (int event = 1; event <= kEventCount; ++event)
        err << "  " << EventByIndex(event).id << ": " << data.dives[event - 1].size() << " dives\n";
    err << "  divers in the roster: " << data.divers.size() << "\n";
    for (std::size_t reason = 0; reason < kSkipReasonCount; ++reason) {
        const Occurrences& skipped = data.skipped[reason];
        if (skipped.count > 0)
            err << "  skipped, " << SkipReasonText(static_cast<SkipReason>(reason)) << ": "
                << Rows(skipped.count) << Listed(skipped) << "\n";
    }
    PrintOtherEvents(data.otherEvents, err);
    if (data.namesCut.count > 0)
        err << "  names cut to 25 (surname) and 20 (given name) characters: " << data.namesCut.count
            << Listed(data.namesCut) << "\n";
    if (data.decimalCommas.count > 0)
        err << "  numbers with a decimal comma, written with a point: "
            << Rows(data.decimalCommas.count) << Listed(data.decimalCommas) << "\n";
    if (data.penaltyMarks.count > 0)
        err << "  points with a penalty mark (*), read as the number: "
            << Rows(data.penaltyMarks.count) << Listed(data.penaltyMarks) << "\n";
}

// Reads a results book into the importer, with its report; counts the dives that failed the
// points check. Reports and returns false when the book cannot be read.
bool AddBook(Importer& importer, const std::string& input, std::string_view bytes,
             std::size_t& faults, std::ostream& err) {
    const BookOutcome book = ReadResultsBook(bytes, input);
    if (book.error) {
        err << "dive-import: " << *book.error << "\n";
        return false;
    }
    const SourceReading& reading = book.book.reading;
    err << "dive-import: " << input << ": " << reading.title
        << (reading.dates.empty() ? "" : ", " + reading.dates) << ": " << reading.dives.size()
        << " dives\n";
    for (const std::string& line : reading.report)
        err << "  " << line << "\n";
    for (const std::string& fault : reading.faults)
        err << "  left out: " << fault << "\n";
    faults += reading.faults.size();
    importer.AddReading(reading, input);
    return true;
}

// Reads one CSV file or results book into the importer; reports and returns false when it
// cannot.
bool AddInput(Importer& importer, const std::string& input, const Options& options,
              std::size_t& bookFaults, std::ostream& err) {
    std::string bytes;
    const LoadOutcome read = ReadWholeFile(input, bytes);
    if (read.kind != LoadOutcome::Kind::Loaded) {
        err << "dive-import: "
            << (read.kind == LoadOutcome::Kind::MissingFile
                    ? "cannot read " + input + ": no such file"
                    : read.message)
            << "\n";
        return false;
    }
    // By content; a file named as a PDF that is none is told so rather than read as CSV.
    const bool pdfName = input.size() >= 4 && Capitals(input.substr(input.size() - 4)) == ".PDF";
    if (LooksLikePdf(bytes) || pdfName)
        return AddBook(importer, input, bytes, bookFaults, err);
    std::string error;
    const std::optional<CsvTable> table = ReadInputTable(bytes, options.sheet, error);
    if (!table || !importer.Add(*table, options.columns, input, error)) {
        err << "dive-import: " << (table ? "" : input + ": ") << error
            << (table ? SheetHint(*table) : "") << "\n";
        return false;
    }
    if (table->readAsLatin1)
        err << "dive-import: " << input << " is not UTF-8; read as Latin-1\n";
    return true;
}

// Why an import without a dive of the four events fails, with the event names found, or
// nothing when there are dives.
std::optional<std::string> NothingToImport(const ImportData& data) {
    for (const auto& dives : data.dives) {
        if (!dives.empty())
            return std::nullopt;
    }
    constexpr std::size_t kNamed = 10;
    std::string names;
    const auto events = LargestFirst(data.otherEvents);
    for (std::size_t i = 0; i < events.size() && i < kNamed; ++i)
        names += (i == 0 ? "; the event names found are '" : ", '") + events[i].first + "' (" +
                 Rows(events[i].second) + ")";
    if (events.size() > kNamed)
        names += ", ...";
    return "no dive of M3M, W3M, M10M or W10M to import" + names + "; nothing written";
}

// Why the data cannot be written (--strict, capacities), or nothing.
std::optional<std::string> Refusal(const ImportData& data, const Options& options) {
    if (const auto nothing = NothingToImport(data))
        return nothing;
    if (options.strict && data.SkippedRows() > 0)
        return Rows(data.SkippedRows()) + " skipped under --strict; nothing written";
    // Every event over its capacity is named, so that one run tells what to split.
    std::string overCapacity;
    for (int event = 1; event <= kEventCount; ++event) {
        const EventInfo& info = EventByIndex(event);
        const std::size_t dives = data.dives[event - 1].size();
        if (dives > static_cast<std::size_t>(info.capacity))
            overCapacity += (overCapacity.empty() ? "" : "; ") + std::string(info.id) + ": " +
                            std::to_string(dives) + " dives, at most " +
                            std::to_string(info.capacity);
    }
    if (!overCapacity.empty())
        return overCapacity;
    if (data.divers.size() > kMaxRosterRows)
        return std::to_string(data.divers.size()) + " divers, at most " +
               std::to_string(kMaxRosterRows);
    return std::nullopt;
}

OutputFiles FilesOf(const ImportData& data) {
    OutputFiles files;
    for (int event = 1; event <= kEventCount; ++event)
        files.emplace_back(std::string(EventByIndex(event).id),
                           ResultFileText(data.dives[event - 1]));
    files.emplace_back(kRosterFileName, RosterFileText(data.divers));
    return files;
}

std::vector<std::string> OutputNames() {
    std::vector<std::string> names;
    for (const EventInfo& event : kEvents)
        names.emplace_back(event.id);
    names.emplace_back(kRosterFileName);
    return names;
}

// Refuses to replace results that are there already, unless told to.
bool OutputFolderFree(const Options& options, std::ostream& err) {
    if (options.force)
        return true;
    const std::vector<std::string> existing = ExistingFiles(options.outDir, OutputNames());
    if (existing.empty())
        return true;
    std::string list;
    for (const std::string& name : existing)
        list += (list.empty() ? "" : ", ") + name;
    err << "dive-import: " << options.outDir << " already holds " << list
        << "; give --force to replace them\n";
    return false;
}

int Import(const Options& options, std::ostream& err) {
    if (!OutputFolderFree(options, err))
        return kBadUsage;
    Importer importer;
    std::size_t bookFaults = 0;
    for (const std::string& input : options.inputs) {
        if (!AddInput(importer, input, options, bookFaults, err))
            return kFailed;
    }
    if (options.strict && bookFaults > 0) {
        err << "dive-import: " << bookFaults << (bookFaults == 1 ? " dive fails" : " dives fail")
            << " the points check under --strict; nothing written\n";
        return kFailed;
    }
    const ImportData data = importer.Finish();
    PrintReport(data, err);
    if (const auto refusal = Refusal(data, options)) {
        err << "dive-import: " << *refusal << "\n";
        return kFailed;
    }
    if (const auto failure = WriteOutputFiles(options.outDir, FilesOf(data))) {
        err << "dive-import: " << *failure << "; nothing written\n";
        return kFailed;
    }
    err << "dive-import: wrote " << options.outDir << "\n";
    return kDone;
}

} // namespace

int RunDiveImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommandLine("dive-import", kUsage, args, out, err, ParseOptions,
                          [&](const Options& options) { return Import(options, err); });
}

} // namespace corvane
