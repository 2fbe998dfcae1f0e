// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line companion through its entry point: what it refuses and why, the exit
// codes, and that the tables it prints hang together on the sample results.

#include "app/dive_tables.h"

#include "store/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace corvane {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome RunTool(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.code = RunDiveTables(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

// A run on the sample results that must succeed; its text split into rows of cells.
using Table = std::vector<std::vector<std::string>>;

Table SampleTable(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", CORVANE_SAMPLE_DIR});
    const Outcome outcome = RunTool(args);
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    Table table;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = outcome.out.find("\r\n", start);
        const std::string line = outcome.out.substr(start, end - start);
        std::vector<std::string> cells;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            cells.push_back(line.substr(from, tab - from));
        EXPECT_EQ(from, line.size()) << "every cell ends with a tab: " << line;
        table.push_back(cells);
        if (end == std::string::npos)
            return table;
        start = end + 2;
    }
}

long long Cell(const Table& table, std::size_t row, std::size_t col) {
    return CellInteger(table.at(row).at(col));
}

// A private folder that goes away with the test.
class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "corvane-dive-tables-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path_); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const fs::path& path() const { return path_; }
    void CopySamples() const {
        for (const char* event : {"M3M", "W3M", "M10M", "W10M"})
            fs::copy_file(fs::path(CORVANE_SAMPLE_DIR) / event, path_ / event);
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

struct BadUsage {
    std::vector<std::string> args;
    std::string says;
};

TEST(DiveTables, RefusesBadArgumentsWithAReasonAndCodeTwo) {
    const BadUsage cases[] = {
        {{"--bogus", "1"}, "unknown option '--bogus'"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"M3M"}, "unexpected argument 'M3M'"},
        {{"-e", "M3M"}, "unexpected argument '-e'"},
        {{"--event"}, "--event needs a value"},
        {{"--event", "m3m"}, "unknown event 'm3m' (use M3M, W3M, M10M or W10M)"},
        {{"--sort", "17"}, "--sort takes a whole number from 0 to 16, not '17'"},
        {{"--sort", "-1"}, "--sort takes a whole number from 0 to 16"},
        {{"--sort", "Average"}, "--sort takes a column number from 0 to 16 or a column header"},
        {{"--sort-count", "ten"}, "--sort-count takes a whole number from 0 to 9999, not 'ten'"},
        {{"--sort-count", "10000"}, "--sort-count takes a whole number from 0 to 9999"},
        {{"--stats-sort", "15"}, "--stats-sort takes a whole number from -1 to 14"},
        {{"--stats-sort", "Divers"}, "--stats-sort takes a column number from -1 to 14"},
        {{"--regenerate=yes"}, "--regenerate takes no value"},
        {{"--drill", "105B", "--diver-count"}, "--diver-count fills the event table's"},
        {{"--country", "chn"}, "no diver of the roster has the nation 'chn'"},
        {{"--country", ""}, "no diver of the roster has the nation ''"},
        {{"--diver", "NOBODY, AT ALL [XYZ]"}, "'NOBODY, AT ALL [XYZ]' is not in the diver list"},
        {{"--country", "FIN", "--diver", "TAN, MEI YEE [SIN]"},
         "'TAN, MEI YEE [SIN]' is not a diver of FIN"},
        {{"--chart", "a.png"}, "--chart draws the breakdown of one dive: give it with --drill"},
        {{"--drill", "105B", "--chart", "a.jpg"}, "--chart takes a file name ending in .png"},
        {{"--drill", "105B", "--chart-diver", "X"}, "--chart-diver adds a diver to the chart"},
        {{"--drill", "105B", "--chart", "a.svg"}, "--chart is not available"},
    };
    for (const BadUsage& bad : cases) {
        std::vector<std::string> args = bad.args;
        args.insert(args.begin(), {"--data", CORVANE_SAMPLE_DIR});
        const Outcome outcome = RunTool(args);
        EXPECT_EQ(outcome.code, 2) << bad.says;
        EXPECT_EQ(outcome.out, "") << bad.says;
        EXPECT_EQ(outcome.err.rfind("dive-tables: " + bad.says, 0), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find("Try 'dive-tables --help'."), std::string::npos) << bad.says;
    }
}

TEST(DiveTables, HelpNamesEveryOptionTheParserTakes) {
    const Outcome outcome = RunTool({"--help"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out.rfind("Usage: dive-tables", 0), 0u);
    for (const std::string option :
         {"--data", "--event", "--drill", "--country", "--diver", "--regenerate", "--sort",
          "--sort-count", "--stats-sort", "--diver-count", "--chart", "--chart-diver", "--help",
          "--version"}) {
        EXPECT_NE(outcome.out.find("  " + option + " "), std::string::npos) << option;
        // Each of them is an option the parser knows (a wrong value is its only complaint).
        const Outcome tried = RunTool({option, "\x01"});
        EXPECT_EQ(tried.err.find("unknown option"), std::string::npos) << option;
    }
    EXPECT_EQ(RunTool({"-h"}).out, outcome.out);
}

// A --data folder that is not there, or a file named as one, is a wrong argument.
TEST(DiveTables, AMissingDataFolderIsRefusedWithCodeTwo) {
    Folder folder;
    folder.CopySamples();
    const std::string m3m = (folder.path() / "M3M").string();
    const struct {
        std::string data;
        std::string says;
    } cases[] = {
        {"/nonexistent/folder", "the folder '/nonexistent/folder' does not exist"},
        {m3m, "'" + m3m + "' is not a folder"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunTool({"--data", c.data});
        EXPECT_EQ(outcome.code, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "dive-tables: " + c.says + "\nTry 'dive-tables --help'.\n");
    }
}

TEST(DiveTables, UnreadableResultsGiveCodeOne) {
    Folder folder;
    const std::string empty = folder.path().string();
    const Outcome missing = RunTool({"--data", empty});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err.rfind("dive-tables: could not find file " + empty + "/M3M", 0), 0u)
        << missing.err;

    folder.CopySamples();
    {
        std::ofstream w10m(folder.path() / "W10M", std::ios::binary | std::ios::trunc);
        w10m << "12345\t107B\t2.4\t50.00\t\r\n12345\t107B\t2,4\t50.00\t\r\n";
    }
    const Outcome broken = RunTool({"--data", folder.path().string(), "--event", "M3M"});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_NE(broken.err.find((folder.path() / "W10M").string()), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("'2,4' is not a valid floating point value"), std::string::npos);

    const Outcome noRow = RunTool({"--data", CORVANE_SAMPLE_DIR, "--drill", "999Z"});
    EXPECT_EQ(noRow.code, 1);
    EXPECT_EQ(noRow.out, "");
    EXPECT_EQ(noRow.err, "dive-tables: dive 999Z is not in the M3M table\n");
}

TEST(DiveTables, EveryLoadedLineCountsInTheFirstRunAndNoUnfilledSlot) {
    Folder folder;
    folder.CopySamples();
    {
        // A real line may hold an empty id and an empty code; the thousands of slots this
        // short file leaves unfilled must not show up at all.
        std::ofstream m3m(folder.path() / "M3M", std::ios::binary | std::ios::trunc);
        m3m << "X\t101B\t1.5\t30\t\r\n\t\t2.4\t72\t\r\nX\t101B\t1.5\t30\t\r\n";
    }
    const Outcome first = RunTool({"--data", folder.path().string()});
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out.substr(first.out.find("\r\n") + 2, 7), "\t1\t2.4\t") << first.out;
    EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), 3) << first.out;
    // A run the user starts counts rostered divers only: nothing is left.
    const Outcome later = RunTool({"--data", folder.path().string(), "--regenerate"});
    EXPECT_EQ(std::count(later.out.begin(), later.out.end(), '\n'), 1) << later.out;
    EXPECT_EQ(later.out.substr(later.out.find("\r\n") + 2, 2), "\t\t") << later.out;
}

TEST(DiveTables, WritesNothingIntoTheDataFolder) {
    Folder folder;
    folder.CopySamples();
    const std::set<std::string> before = folder.Names();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--sort", "3", "--diver-count"}, {"--drill", "101B"}}) {
        std::vector<std::string> withData = args;
        withData.insert(withData.begin(), {"--data", folder.path().string()});
        EXPECT_EQ(RunTool(withData).code, 0);
    }
    EXPECT_EQ(folder.Names(), before);
}

TEST(DiveTables, ColumnsByHeaderOrNumberAndValuesAfterAnEqualsSign) {
    const auto text = [](std::vector<std::string> args) {
        args.insert(args.begin(), {"--data", CORVANE_SAMPLE_DIR});
        return RunTool(args).out;
    };
    EXPECT_EQ(text({"--sort", "Count"}), text({"--sort", "1"}));
    EXPECT_EQ(text({"--sort", "avg score"}), text({"--sort=4"}));
    EXPECT_EQ(text({"--sort", ">9 to 10", "--event=W10M"}),
              text({"--sort", "14", "--event", "W10M"}));
    EXPECT_NE(text({"--sort", "Count"}), text({"--sort", "0"}));
    EXPECT_EQ(text({"--drill", "101B", "--stats-sort", "Name"}),
              text({"--drill", "101B", "--stats-sort", "0"}));
    EXPECT_EQ(text({"--country", "***ALL***"}), text({"--regenerate"}));
    EXPECT_EQ(text({"--country", "***ALL***", "--diver", "***ALL***"}), text({"--regenerate"}));
}

// The first table counts every dive of the file; a regenerated one only rostered divers;
// a country only its own. Sort Count puts the rows that reach it first.
TEST(DiveTables, FiltersNarrowTheCountsAndSortCountSplitsTheRows) {
    const Table opening = SampleTable({"--event", "W3M", "--sort", "4", "--sort-count", "30"});
    ASSERT_GT(opening.size(), 20u);
    EXPECT_EQ(opening[0][0], "Dive");
    std::map<std::string, long long> all;
    long long dives = 0;
    bool reachedBefore = true;
    for (std::size_t row = 1; row < opening.size(); ++row) {
        ASSERT_EQ(opening[row].size(), 17u);
        all[opening[row][0]] += Cell(opening, row, 1);
        dives += Cell(opening, row, 1);
        const bool reached = Cell(opening, row, 1) >= 30;
        EXPECT_TRUE(reachedBefore || !reached) << "row " << row;
        reachedBefore = reached;
    }
    std::ifstream file(std::string(CORVANE_SAMPLE_DIR) + "/W3M", std::ios::binary);
    long long lines = 0;
    for (std::string line; std::getline(file, line, '\n');)
        lines += IsBlank(line) ? 0 : 1;
    EXPECT_EQ(dives, lines);

    const Table chn = SampleTable({"--event", "W3M", "--country", "CHN"});
    ASSERT_GT(chn.size(), 2u);
    long long chnDives = 0;
    for (std::size_t row = 1; row < chn.size(); ++row) {
        EXPECT_LE(Cell(chn, row, 1), all[chn[row][0]]) << chn[row][0];
        chnDives += Cell(chn, row, 1);
    }
    EXPECT_LT(chnDives, dives);
}

// Two roads to the number of divers of a dive: the "Divers" column of a diver count and the
// rows of the dive's per-diver table, under the same country.
TEST(DiveTables, DiverCountAgreesWithTheBreakdownOfEachDive) {
    const Table counted = SampleTable({"--event", "M10M", "--country", "CHN", "--diver-count"});
    ASSERT_GT(counted.size(), 3u);
    for (std::size_t row = 1; row < counted.size() && row <= 6; ++row) {
        const std::string& dive = counted[row][0];
        const Table divers = SampleTable({"--event", "M10M", "--country", "CHN", "--drill", dive});
        EXPECT_EQ(divers[0][0], "Name");
        long long dives = 0;
        for (std::size_t line = 1; line < divers.size(); ++line) {
            ASSERT_EQ(divers[line].size(), 15u);
            EXPECT_EQ(divers[line][1], "CHN");
            dives += Cell(divers, line, 2);
        }
        EXPECT_EQ(Cell(counted, row, 15), static_cast<long long>(divers.size() - 1)) << dive;
        EXPECT_EQ(dives, Cell(counted, row, 1)) << dive;
    }
}

// The folder's Divers.tsv is the roster of the filters; a broken one is an error, never the
// built-in roster in its place.
TEST(DiveTables, UsesTheFolderRosterAndRefusesABrokenOne) {
    Folder folder;
    folder.CopySamples();
    const auto writeRoster = [&](std::string_view text) {
        std::ofstream(folder.path() / "Divers.tsv", std::ios::binary) << text;
    };
    writeRoster("Id\tSurname\tGivenName\tNation\r\n15\tRENAMED\tDIVER\tXYZ\r\n");
    const std::string data = folder.path().string();
    const Outcome ours = RunTool({"--data", data, "--country", "XYZ"});
    EXPECT_EQ(ours.code, 0) << ours.err;
    EXPECT_EQ(RunTool({"--data", data, "--country", "SIN"}).code, 2);

    // A roster of no divers has no label to give as an example.
    writeRoster("Id\tSurname\tGivenName\tNation\r\n");
    const Outcome none = RunTool({"--data", data, "--diver", "TAN, MEI YEE [SIN]"});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err.rfind("dive-tables: 'TAN, MEI YEE [SIN]' is not in the diver list; write "
                             "it as \"SURNAME, GIVEN NAME [NATION]\"\n",
                             0),
              0u)
        << none.err;

    writeRoster("Id\tSurname\tGivenName\tNation\r\n15\tTAN\tMEI YEE\tSin\r\n");
    const Outcome broken = RunTool({"--data", data});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err,
              "dive-tables: Divers.tsv line 2: the nation 'Sin' is not three capital letters\n");
}

// The folder's Catalogue.tsv gives the DD column and so the band of each code's first dive;
// a broken one is an error, never the built-in catalogue in its place.
TEST(DiveTables, UsesTheFolderCatalogueAndRefusesABrokenOne) {
    Folder folder;
    folder.CopySamples();
    const std::string data = folder.path().string();
    const auto row101B = [&] {
        const Outcome outcome = RunTool({"--data", data});
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        const std::size_t start = outcome.out.find("\r\n101B\t");
        EXPECT_NE(start, std::string::npos);
        return outcome.out.substr(start + 2, outcome.out.find("\r\n", start + 2) - start - 2);
    };
    const std::string builtIn = row101B();
    ASSERT_EQ(builtIn.find("101B\t"), 0u);
    std::ofstream(folder.path() / "Catalogue.tsv", std::ios::binary)
        << "Code\tDD3m\tDD10m\n101B\t3.0\t1.5\n";
    const std::string own = row101B();
    // Count stays; DD and average score change; the first dive falls into a lower band.
    const auto cells = [](const std::string& line) {
        std::vector<std::string> cells;
        for (std::size_t from = 0, tab; (tab = line.find('\t', from)) != std::string::npos;
             from = tab + 1)
            cells.push_back(line.substr(from, tab - from));
        return cells;
    };
    const std::vector<std::string> before = cells(builtIn);
    const std::vector<std::string> after = cells(own);
    ASSERT_EQ(after.size(), 17u) << own;
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(before[2], "1.5");
    EXPECT_EQ(after[2], "3.0");
    EXPECT_NE(std::vector(after.begin() + 5, after.begin() + 15),
              std::vector(before.begin() + 5, before.begin() + 15));

    std::ofstream(folder.path() / "Catalogue.tsv", std::ios::binary)
        << "Code\tDD3m\tDD10m\n101B\t3.0\n";
    const Outcome broken = RunTool({"--data", data});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err, "dive-tables: Catalogue.tsv line 2: expected 3 tab-separated fields "
                          "(Code, DD3m, DD10m), found 2\n");
}

// --chart hands the drawing the chart of the breakdown that --drill prints, and prints
// nothing itself; the diver of --chart-diver must have a row in that breakdown.
TEST(DiveTables, ChartOfTheBreakdownGoesToTheWriter) {
    const Table divers = SampleTable({"--event", "W3M", "--drill", "105B"});
    ASSERT_GT(divers.size(), 2u);
    const std::string label = divers[2][0] + " [" + divers[2][1] + "]";
    std::vector<std::pair<ScoreBandChart, std::string>> drawn;
    std::optional<std::string> failure;
    const ChartWriter writer = [&](const ScoreBandChart& chart, const std::string& path) {
        drawn.emplace_back(chart, path);
        return failure;
    };
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"--data", CORVANE_SAMPLE_DIR, "--event", "W3M", "--drill", "105B"});
        std::ostringstream out, err;
        const int code = RunDiveTables(args, out, err, writer);
        EXPECT_EQ(out.str(), "");
        return std::make_pair(code, err.str());
    };

    EXPECT_EQ(run({"--chart", "w3m.SVG"}).first, 0);
    EXPECT_EQ(run({"--chart", "w3m.png", "--chart-diver", label}).first, 0);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].second, "w3m.SVG");
    EXPECT_FALSE(drawn[0].first.diver);
    EXPECT_EQ(drawn[0].first.title.rfind("W3M - 105B - DD ", 0), 0u);
    EXPECT_NE(drawn[0].first.title.find(" - " + std::to_string(divers.size() - 1) + " divers"),
              std::string::npos);
    ASSERT_TRUE(drawn[1].first.diver);
    EXPECT_EQ(drawn[1].first.diver->name, label);
    for (int band = 0; band < kBandCount; ++band)
        EXPECT_EQ(drawn[1].first.diver->shares[band], CellNumber(divers[2][5 + band])) << band;

    const auto absent = run({"--chart", "a.png", "--chart-diver", "NOBODY, AT ALL [XYZ]"});
    EXPECT_EQ(absent.first, 1);
    EXPECT_EQ(absent.second,
              "dive-tables: NOBODY, AT ALL [XYZ] has no row in the breakdown of 105B\n");
    failure = "No space left on device";
    const auto failed = run({"--chart", "/full/a.png"});
    EXPECT_EQ(failed.first, 1);
    EXPECT_EQ(failed.second, "dive-tables: cannot write /full/a.png: No space left on device\n");
}

} // namespace
} // namespace corvane
