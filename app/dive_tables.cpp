// SPDX-License-Identifier: GPL-3.0-or-later
#include "dive_tables.h"

#include "analysis/event_table.h"
#include "analysis/session.h"
#include "analysis/statistics.h"
#include "analysis/table_text.h"
#include "app/command_line.h"
#include "cli/command_frame.h"
#include "rawdata/roster.h"
#include "store/file_text.h"
#include "store/number_text.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <ostream>

namespace corvane {

namespace {

constexpr const char* kProgram = "dive-tables";

constexpr const char* kUsage =
    R"(Usage: dive-tables [OPTION]...

Prints one table of the result files M3M, W3M, M10M and W10M in a folder as the
tab-separated text that "Copy Table to Clipboard" puts on the clipboard: the header
row first, every cell followed by a tab, lines joined by CR LF and no line end after
the last line. Nothing is written to any file but the picture of --chart.

Which table:
  --data DIR           folder with the four result files (default: the current folder);
                       its Divers.tsv, if any, takes the place of the built-in roster,
                       and its Catalogue.tsv, if any, that of the built-in DD catalogue
  --event EVENT        M3M, W3M, M10M or W10M (default: M3M)
  --drill DIVE         the per-diver table of one dive code instead, as a double-click
                       on its row shows it (its first row in the sorted event table)

Filters, as chosen under "Refine the results" before "Re-Generate Stats":
  --country NATION     only divers of this nation, e.g. CHN
  --diver LABEL        only this diver, written as in the diver list:
                       "SURNAME, GIVEN NAME [NATION]"
  --regenerate         the table as "Re-Generate Stats" makes it with no filter: only
                       divers of the roster count. Without it (and without a filter)
                       the table is the one the program opens with, counting every dive.
                       --country and --diver imply it; ***ALL*** stands for no filter.

Order and the "Divers" column:
  --sort COLUMN        sort column of the event table, as a press on its header
                       (default 0): a number 0 to 16 or a header such as Count or
                       "Avg Score". Dive (0) sorts the codes in text order; any other
                       column sorts by value, highest first.
  --sort-count N       Sort Count: rows whose count reaches N come first (default 10)
  --stats-sort COLUMN  sort column of the per-diver table (default 2, Count): a number
                       -1 to 14 or a header such as Name; -1 keeps the order of first
                       appearance
  --diver-count        fill the "Divers" column as "Populate Diver Count" does

The score-band chart of the --drill dive, as "Show Chart" draws it:
  --chart FILE         write the chart as a picture instead of printing the table;
                       FILE ends in .png or .svg
  --chart-diver LABEL  add the bars of this diver of the breakdown, written as in the
                       diver list; without it the chart shows all divers alone

  --help               show this help and exit
  --version            show the version and exit

The table is the one a statistics run makes with these choices: at start-up with them
remembered, or after "Re-Generate Stats". A header press or a new Sort Count on a table
already shown may leave rows with equal values in the sort column in another order.

Options take their value as the next argument or after '=' (--sort=Count).

Exit status: 0 the table was printed (or the chart written); 1 the result files,
Divers.tsv or Catalogue.tsv could not be read, the dive of --drill has no row in the table, the diver of
--chart-diver has no row in its breakdown, or the picture could not be written; 2 bad
arguments, or a --data folder that does not exist or is not a folder.

Examples:
  dive-tables --data results --event W10M --sort "Avg Score" > w10m.tsv
  dive-tables --data results --country CHN --drill 5154B --stats-sort Name
  dive-tables --data results --drill 107B --chart 107B.svg
)";

struct Options {
    std::string dataDir = ".";
    int eventIndex = 1;
    int sortCol = 0;
    int sortCount = 10;
    std::optional<std::string> country; // as given; checked against the roster later
    std::optional<std::string> diver;
    bool regenerate = false;
    bool diverCount = false;
    std::optional<std::string> drill;
    int statsSortCol = 2;
    std::optional<std::string> chart;
    std::optional<std::string> chartDiver;
    bool help = false;
    bool version = false;
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

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

// A column given by number (low..high) or by its header text, in any letter case.
int ColumnIn(const std::string& option, const std::string& text, int low, int high,
             const std::function<std::string(int)>& header) {
    if (ParseInteger(text))
        return IntegerIn(option, text, low, high);
    for (int col = std::max(low, 0); col <= high; ++col) {
        if (!header(col).empty() && SameIgnoringCase(header(col), text))
            return col;
    }
    throw UsageError{option + " takes a column number from " + std::to_string(low) + " to " +
                     std::to_string(high) + " or a column header, not '" + text + "'"};
}

// The per-diver table's headers: its own first three, then the event table's.
std::string DiverTableHeader(int col) {
    static constexpr std::array<std::string_view, 3> kOwn{"Name", "Nation", "Count"};
    return col < 3 ? std::string(kOwn[col]) : EventHeader(col);
}

void ApplyOption(Options& options, const std::string& option, const std::string& value) {
    if (option == "--data")
        options.dataDir = value;
    else if (option == "--event")
        options.eventIndex = EventIndexOf(value);
    else if (option == "--sort")
        options.sortCol = ColumnIn(option, value, 0, kEventTableCols - 1, EventHeader);
    else if (option == "--sort-count")
        options.sortCount = IntegerIn(option, value, 0, 9999);
    else if (option == "--country")
        options.country = value;
    else if (option == "--diver")
        options.diver = value;
    else if (option == "--drill")
        options.drill = value;
    else if (option == "--stats-sort")
        options.statsSortCol = ColumnIn(option, value, -1, 14, DiverTableHeader);
    else if (option == "--chart")
        options.chart = value;
    else if (option == "--chart-diver")
        options.chartDiver = value;
}

bool IsFlag(std::string_view arg) {
    return arg == "--help" || arg == "-h" || arg == "--version" || arg == "--regenerate" ||
           arg == "--diver-count";
}

bool TakesValue(std::string_view name) {
    for (const std::string_view known :
         {"--data", "--event", "--sort", "--sort-count", "--country", "--diver", "--drill",
          "--stats-sort", "--chart", "--chart-diver"}) {
        if (name == known)
            return true;
    }
    return false;
}

void ApplyFlag(Options& options, std::string_view flag) {
    if (flag == "--regenerate")
        options.regenerate = true;
    else if (flag == "--diver-count")
        options.diverCount = true;
    else if (flag == "--version")
        options.version = true;
    else
        options.help = true;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() &&
           SameIgnoringCase(text.substr(text.size() - end.size()), end);
}

void CheckChartOptions(const Options& options) {
    if (options.chartDiver && !options.chart)
        throw UsageError{"--chart-diver adds a diver to the chart of --chart"};
    if (!options.chart)
        return;
    if (!options.drill)
        throw UsageError{"--chart draws the breakdown of one dive: give it with --drill"};
    if (!EndsWithIgnoringCase(*options.chart, ".png") &&
        !EndsWithIgnoringCase(*options.chart, ".svg"))
        throw UsageError{"--chart takes a file name ending in .png or .svg, not '" +
                         *options.chart + "'"};
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (IsFlag(arg)) {
            ApplyFlag(options, arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (!arg.starts_with("--"))
            throw UsageError{"unexpected argument '" + arg + "'"};
        if (IsFlag(name))
            throw UsageError{name + " takes no value"};
        if (!TakesValue(name))
            throw UsageError{"unknown option '" + name + "'"};
        if (equals != std::string::npos)
            ApplyOption(options, name, arg.substr(equals + 1));
        else if (i + 1 < args.size())
            ApplyOption(options, name, args[++i]);
        else
            throw UsageError{name + " needs a value"};
    }
    if (options.drill && options.diverCount)
        throw UsageError{"--diver-count fills the event table's \"Divers\" column; it does not "
                         "apply to the per-diver table of --drill"};
    CheckChartOptions(options);
    return options;
}

bool InDiverList(const FilterLists& lists, const std::string& label) {
    for (int row = 1; row < lists.diverGrid.RowCount(); ++row) {
        if (DiverLabel(lists.diverGrid.Diver(row)) == label)
            return true;
    }
    return false;
}

// ", e.g. "..."" with the first label of the diver list; nothing for an empty roster.
std::string ExampleLabel(const FilterLists& lists) {
    if (lists.diverGrid.RowCount() < 2)
        return {};
    return ", e.g. \"" + lists.diverGrid.Cell(DiverGrid::kLabelCol, 1) + "\"";
}

// The filter lists as the window offers them; a choice that is not in them is refused, since
// the window could not make it either. Returns why, or fills `filter`.
std::optional<std::string> ChooseFilter(const Options& options, const FilterLists& lists,
                                        FilterSelection& filter) {
    const auto listed = [](const std::vector<std::string>& items, const std::string& text) {
        return std::find(items.begin(), items.end(), text) != items.end();
    };
    filter = FilterSelection{};
    if (options.country && *options.country != kAllEntry) {
        if (!listed(lists.countryItems, *options.country))
            return "no diver of the roster has the nation '" + *options.country + "'";
        filter.countryIndex = 1;
        filter.country = *options.country;
    }
    if (options.diver && *options.diver != kAllEntry) {
        if (!InDiverList(lists, *options.diver))
            return "'" + *options.diver + "' is not in the diver list; write it as " +
                   "\"SURNAME, GIVEN NAME [NATION]\"" + ExampleLabel(lists);
        if (filter.countryIndex != 0 && !options.diver->ends_with(" [" + filter.country + "]"))
            return "'" + *options.diver + "' is not a diver of " + filter.country;
        filter.diverIndex = 1;
        filter.diver = *options.diver;
    }
    return std::nullopt;
}

int FirstRowOf(const StringGrid& table, const std::string& code) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(0, row) == code && !table.Cell(1, row).empty())
            return row;
    }
    return -1;
}

// The chart of a breakdown, with the diver of --chart-diver if it has a row there.
int WriteChart(const Options& options, const DiveBreakdown& breakdown,
               const ChartWriter& writeChart, std::ostream& err) {
    const DiverShares* diver = nullptr;
    if (options.chartDiver) {
        for (const DiverShares& row : breakdown.divers) {
            if (row.name + " [" + row.nation + "]" == *options.chartDiver)
                diver = &row;
        }
        if (!diver) {
            err << "dive-tables: " << *options.chartDiver << " has no row in the breakdown of "
                << *options.drill << "\n";
            return kExitFailed;
        }
    }
    const std::optional<std::string> reason =
        writeChart(ScoreBandChartOf(breakdown, diver), *options.chart);
    if (!reason)
        return kExitDone;
    err << "dive-tables: cannot write " << *options.chart << ": " << *reason << "\n";
    return kExitFailed;
}

// The per-diver table of one dive, as the window's breakdown makes it, or its chart.
int PrintBreakdown(const Options& options, const FilterSelection& filter, AnalysisSession& session,
                   const ChartWriter& writeChart, std::ostream& out, std::ostream& err) {
    const int row = FirstRowOf(session.EventTable(options.eventIndex), *options.drill);
    if (row < 0) {
        err << "dive-tables: dive " << *options.drill << " is not in the "
            << EventByIndex(options.eventIndex).id << " table\n";
        return kExitFailed;
    }
    StringGrid statsGrid(kEventTableCols, 2);
    StringGrid diveStatsGrid(kEventTableCols, 2);
    for (int col = 0; col < 3; ++col)
        diveStatsGrid.SetCell(col, 0, DiverTableHeader(col));
    const DiveBreakdown breakdown =
        session.BreakDown(options.eventIndex, row, filter,
                          BreakdownTarget{statsGrid, diveStatsGrid, options.statsSortCol},
                          SortSplit{options.sortCount, {}});
    if (options.chart)
        return WriteChart(options, breakdown, writeChart, err);
    // The copy of the per-diver table leaves out its two hidden working columns.
    out << TableText(diveStatsGrid, diveStatsGrid.ColCount() - 2);
    return kExitDone;
}

// Reads the four files; reports and returns false when they cannot be read.
bool LoadResults(const std::string& dataDir, AnalysisSession& session, std::ostream& err) {
    const LoadOutcome loaded = session.ReadResults(dataDir);
    if (loaded.kind == LoadOutcome::Kind::MissingFile) {
        err << "dive-tables: could not find file " << loaded.path
            << " (the folder must hold M3M, W3M, M10M and W10M)\n";
        return false;
    }
    if (loaded.kind == LoadOutcome::Kind::Failed) {
        err << "dive-tables: " << loaded.path << ": " << loaded.message << "\n";
        return false;
    }
    return true;
}

int Run(const Options& options, const ChartWriter& writeChart, std::ostream& out,
        std::ostream& err) {
    // A folder that is not there is a wrong argument, not a folder without result files.
    if (const auto problem = DataFolderProblem(options.dataDir))
        return RefuseUsage(kProgram, *problem, err);
    AnalysisSession session;
    if (const auto tablesError = session.ReadReferenceTables(options.dataDir)) {
        err << "dive-tables: " << *tablesError << "\n";
        return kExitFailed;
    }
    session.FillFilterLists();
    FilterSelection filter;
    if (const auto refused = ChooseFilter(options, session.Lists(), filter))
        return RefuseUsage(kProgram, *refused, err);
    if (!LoadResults(options.dataDir, session, err))
        return kExitFailed;

    // The program's own first run counts every dive; any run the user starts applies the
    // filter and the roster.
    const bool initialRun = !options.regenerate && !options.country && !options.diver;
    const int event = options.eventIndex;
    session.RunStatistics(
        event, RunChoices{initialRun, filter, options.sortCol, SortSplit{options.sortCount, {}}});
    if (options.drill)
        return PrintBreakdown(options, filter, session, writeChart, out, err);
    if (options.diverCount) {
        StringGrid workingList(kEventTableCols, 2);
        session.CountDivers(event, workingList, DiverCountHooks{[&] { return filter; }, {}});
    }
    out << TableText(session.EventTable(event), kEventTableCols);
    return kExitDone;
}

} // namespace

int RunDiveTables(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const ChartWriter& writeChart) {
    return RunCommandLine(kProgram, kUsage, args, out, err, ParseOptions,
                          [&](const Options& options) {
                              if (options.chart && !writeChart)
                                  return RefuseUsage(kProgram,
                                                     "--chart is not available: this dive-tables "
                                                     "draws no pictures",
                                                     err);
                              return Run(options, writeChart, out, err);
                          });
}

} // namespace corvane
