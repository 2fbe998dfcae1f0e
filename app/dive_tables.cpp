#include "dive_tables.h"

#include "analysis/diver_count.h"
#include "analysis/drill_down.h"
#include "analysis/statistics.h"
#include "analysis/table_text.h"
#include "rawdata/roster.h"
#include "store/number_text.h"
#include "store/result_loader.h"

#include <memory>
#include <optional>
#include <ostream>

namespace corvane {

namespace {

constexpr const char* kUsage =
    R"(Usage: dive-tables [options]

Prints one table of the result files in a folder as tab-separated text, exactly as
"Copy Table to Clipboard" copies it from the window.

Options:
  --data DIR         folder holding M3M, W3M, M10M and W10M (default: the current folder)
  --event ID         M3M, W3M, M10M or W10M (default: M3M)
  --sort N           sort column of the event table, 0 to 16 (default: 0, the dive code)
  --sort-count N     rows whose count is below N sort after the others (default: 10)
  --country NATION   only this nation's divers (implies --regenerate)
  --diver LABEL      only this diver, written as in the diver list,
                     e.g. "SURNAME, GIVEN [NAT]" (implies --regenerate)
  --regenerate       the table as "Re-Generate Stats" makes it: only divers of the
                     roster count; without it, the table as the program opens it
  --diver-count      fill the "Divers" column as "Populate Diver Count" does
  --drill CODE       print the per-diver table of dive CODE instead (its first row
                     in the sorted event table)
  --stats-sort N     sort column of the per-diver table, -1 to 14 (default: 2)
  --help             show this text
)";

struct Options {
    std::string dataDir = ".";
    int eventIndex = 1;
    int sortCol = 0;
    int sortCount = 10;
    FilterSelection filter;
    bool regenerate = false;
    bool diverCount = false;
    std::optional<std::string> drill;
    int statsSortCol = 2;
    bool help = false;
};

struct UsageError {
    std::string message;
};

int EventIndexOf(const std::string& id) {
    for (int index = 1; index <= kEventCount; ++index) {
        if (EventByIndex(index).id == id)
            return index;
    }
    throw UsageError{"unknown event '" + id + "' (use M3M, W3M, M10M or W10M)"};
}

int IntegerIn(const std::string& option, const std::string& text, int low, int high) {
    const std::optional<long long> value = ParseInteger(text);
    if (!value || *value < low || *value > high)
        throw UsageError{option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'"};
    return static_cast<int>(*value);
}

void ApplyOption(Options& options, const std::string& option, const std::string& value) {
    if (option == "--data")
        options.dataDir = value;
    else if (option == "--event")
        options.eventIndex = EventIndexOf(value);
    else if (option == "--sort")
        options.sortCol = IntegerIn(option, value, 0, 16);
    else if (option == "--sort-count")
        options.sortCount = IntegerIn(option, value, 0, 9999);
    else if (option == "--country")
        options.filter.countryIndex = 1, options.filter.country = value;
    else if (option == "--diver")
        options.filter.diverIndex = 1, options.filter.diver = value;
    else if (option == "--drill")
        options.drill = value;
    else if (option == "--stats-sort")
        options.statsSortCol = IntegerIn(option, value, -1, 14);
    else
        throw UsageError{"unknown option '" + option + "'"};
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--regenerate")
            options.regenerate = true;
        else if (arg == "--diver-count")
            options.diverCount = true;
        else if (!arg.starts_with("--"))
            throw UsageError{"unexpected argument '" + arg + "'"};
        else if (i + 1 >= args.size())
            throw UsageError{arg + " needs a value"};
        else
            ApplyOption(options, arg, args[++i]);
    }
    if (options.filter.countryIndex != 0 || options.filter.diverIndex != 0)
        options.regenerate = true;
    return options;
}

int FirstRowOf(const StringGrid& table, const std::string& code) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(0, row) == code && !table.Cell(1, row).empty())
            return row;
    }
    return -1;
}

// The per-diver table of one dive, as the window's breakdown makes it.
int PrintBreakdown(const Options& options, StringGrid& table, const RecordStore& store,
                   const DiverRoster& roster, std::ostream& out, std::ostream& err) {
    const int row = FirstRowOf(table, *options.drill);
    if (row < 0) {
        err << "dive-tables: dive " << *options.drill << " is not in the "
            << EventByIndex(options.eventIndex).id << " table\n";
        return 1;
    }
    StringGrid statsGrid(kEventTableCols, 2);
    StringGrid diveStatsGrid(kEventTableCols, 2);
    diveStatsGrid.SetCell(0, 0, "Name");
    diveStatsGrid.SetCell(1, 0, "Nation");
    diveStatsGrid.SetCell(2, 0, "Count");
    DrillDown(table, options.eventIndex, row, store.Dives(options.eventIndex), roster,
              options.filter, BreakdownTarget{statsGrid, diveStatsGrid, options.statsSortCol},
              SortSplit{options.sortCount, {}});
    out << TableText(diveStatsGrid, diveStatsGrid.ColCount() - 2);
    return 0;
}

int Run(const Options& options, std::ostream& out, std::ostream& err) {
    auto store = std::make_unique<RecordStore>();
    const LoadOutcome loaded = LoadResultFiles(options.dataDir, *store);
    if (loaded.kind == LoadOutcome::Kind::MissingFile) {
        err << "dive-tables: could not find file " << loaded.path << "\n";
        return 1;
    }
    if (loaded.kind == LoadOutcome::Kind::Failed) {
        err << "dive-tables: " << loaded.message << "\n";
        return 1;
    }
    DiverRoster roster;
    FillReferenceTables(roster);

    const int event = options.eventIndex;
    StringGrid table(kEventTableCols, 2);
    const SortSplit split{options.sortCount, {}};
    GenerateEventTable(table, event, store->Dives(event), roster, !options.regenerate,
                       options.filter, options.sortCol, split);
    if (options.drill)
        return PrintBreakdown(options, table, *store, roster, out, err);
    if (options.diverCount) {
        StringGrid workingList(kEventTableCols, 2);
        PopulateDiverCount(table, store->Dives(event), roster, workingList,
                           DiverCountHooks{[&] { return options.filter; }, {}});
    }
    out << TableText(table, table.ColCount());
    return 0;
}

} // namespace

int RunDiveTables(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        const Options options = ParseOptions(args);
        if (options.help) {
            out << kUsage;
            return 0;
        }
        return Run(options, out, err);
    } catch (const UsageError& error) {
        err << "dive-tables: " << error.message << "\nTry 'dive-tables --help'.\n";
        return 2;
    }
}

} // namespace corvane
