// SPDX-License-Identifier: GPL-3.0-or-later
// The importer program through its entry point: what it writes, what it leaves out and
// reports, and when it refuses to write anything.

#include "import/dive_import.h"

#include "rawdata/roster.h"
#include "store/record_store.h"
#include "store/result_loader.h"
#include "test_support.h"
#include "workbook_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::string kRealistic = CORVANE_TEST_DATA_DIR "/import/results.csv";
const std::vector<std::string> kOutputs{"M3M",        "W3M",        "M10M",        "W10M",
                                        "Divers.tsv", "Scores.tsv", "Sources.tsv", "Catalogue.tsv"};

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome RunImport(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.code = RunDiveImport(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

// Imports `csv` into the folder `out` of `dir`.
Outcome ImportText(const TempDir& dir, std::string_view csv, std::vector<std::string> extra = {}) {
    dir.Write("in.csv", csv);
    std::vector<std::string> args{"--out", dir.File("out"), dir.File("in.csv")};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunImport(args);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DiveImport, WritesResultFilesAndARosterThatTheProgramReads) {
    const TempDir dir;
    const Outcome outcome = RunImport({"--out", dir.File("out"), kRealistic});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(dir.EntryCount(), 1u);
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir.Path() / "out"))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, std::set<std::string>(kOutputs.begin(), kOutputs.end()));

    // The window's own loaders take it all, and every record's diver is in the roster.
    DiverRoster roster;
    ASSERT_EQ(FillReferenceTables(roster, dir.File("out")), std::nullopt);
    EXPECT_EQ(roster.Size(), 24);
    auto store = std::make_unique<RecordStore>();
    ASSERT_EQ(LoadResultFiles(dir.File("out"), *store).kind, LoadOutcome::Kind::Loaded);
    // 12 divers in the heats and 8 in the final, men 6 dives, women 5; a row without points
    // in M3M, a DD written NA in W3M.
    const std::size_t expected[] = {119, 99, 120, 100};
    for (int event = 1; event <= 4; ++event) {
        const auto dives = std::as_const(*store).Filled(event);
        EXPECT_EQ(dives.size(), expected[event - 1]) << event;
        for (std::size_t i = 0; i < dives.size(); ++i) {
            EXPECT_NE(roster.FindDiver(dives[i].DiverId.view()), nullptr);
            if (i > 0) {
                EXPECT_LE(dives[i - 1].DiveCode.view(), dives[i].DiveCode.view());
            }
        }
    }
    EXPECT_TRUE(Has(outcome.err, "  M3M: 119 dives\n  W3M: 99 dives\n  M10M: 120 dives\n"
                                 "  W10M: 100 dives\n  divers in the roster: 24\n"))
        << outcome.err;
}

TEST(DiveImport, NamesIdsAndTheOrderOfOneCode) {
    const TempDir dir;
    const Outcome outcome =
        ImportText(dir, "Event;Surname;First Name;Country;Dive;DD;Points\r\n"
                        "M3M;M\xFCller;J\xFCrgen;ger;107b;3.1;72,85\r\n"             // Latin-1
                        "M3M;Smith;John;GBR;105B;2.4;60\r\n"                         //
                        "M3M;M\xFCller;J\xFCrgen;GER;105B;2.4;61.5\r\n"              //
                        "M3M;Abcdefghijklmnopqrstuvwxyz;Given;GBR;105B;2.4;50\r\n"); // cut
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(dir.Read("out/M3M"), "11\t105B\t2.4\t60\t\r\n10\t105B\t2.4\t61.5\t\r\n"
                                   "12\t105B\t2.4\t50\t\r\n10\t107B\t3.1\t72.85\t\r\n");
    EXPECT_EQ(dir.Read("out/Divers.tsv"), "Id\tSurname\tGivenName\tNation\r\n"
                                          "10\tMULLER\tJURGEN\tGER\r\n11\tSMITH\tJOHN\tGBR\r\n"
                                          "12\tABCDEFGHIJKLMNOPQRSTUVWXY\tGIVEN\tGBR\r\n");
    EXPECT_EQ(dir.Read("out/W3M"), "");
    EXPECT_TRUE(Has(outcome.err, "in.csv is not UTF-8; read as Latin-1"));
    EXPECT_TRUE(Has(outcome.err, "names cut to 25 (surname) and 20 (given name) characters: 1 ("))
        << outcome.err;
    EXPECT_TRUE(Has(outcome.err, "numbers with a decimal comma, written with a point: 1 row ("));
}

TEST(DiveImport, AnIdColumnNamesTheDivers) {
    const TempDir dir;
    const Outcome outcome = ImportText(dir, "event,id,name,noc,code,dd,points\n"
                                            "W10M,A-7,\"LI, Xue\",CHN,107B,3.0,81\n"
                                            "W10M,3,LI Xue,CHN,107B,3.0,80\n"
                                            "W10M,A-7,LI X.,CHN,109C,3.7,90\n");
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(dir.Read("out/W10M"), "A-7\t107B\t3.0\t81\t\r\n3\t107B\t3.0\t80\t\r\n"
                                    "A-7\t109C\t3.7\t90\t\r\n");
    EXPECT_EQ(dir.Read("out/Divers.tsv"),
              "Id\tSurname\tGivenName\tNation\r\nA-7\tLI\tXUE\tCHN\r\n3\tLI\tXUE\tCHN\r\n");
}

TEST(DiveImport, EverySkipReasonIsCountedWithItsLines) {
    const TempDir dir;
    const Outcome outcome = ImportText(dir, "Event,Diver,Nation,Dive,DD,Points\n"
                                            "M3M,GOOD Diver,CAN,105B,2.4,60\n"
                                            "M3M,NO Points,CAN,105B,2.4,\n"
                                            "M3M,NA Points,CAN,105B,2.4,NA\n"
                                            "M3M,STRAY Mark,CAN,105B,2.4x,60\n"
                                            "M3M,NO Code,CAN,,2.4,60\n"
                                            "M3M,LONG Code,CAN,5337DX,3.3,60\n"
                                            "M3M,ODD Code,CAN,10 5B,2.4,60\n"
                                            "M3M,,CAN,105B,2.4,60\n"
                                            "M3M,BAD Nation,Canada,105B,2.4,60\n"
                                            "Men's 3m Synchro,A / B,CAN,105B,2.4,60\n"
                                            "Men's 3m Synchro,A / B,CAN,107B,3.1,60\n"
                                            ",X Y,CAN,105B,2.4,60\n");
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(dir.Read("out/M3M"), "10\t105B\t2.4\t60\t\r\n");
    const std::string in = dir.File("in.csv");
    for (const std::string& line :
         {"  skipped, DD is not a number: 1 row (" + in + ":5)\n",
          "  skipped, points are not a number: 2 rows (" + in + ":3, " + in + ":4)\n",
          "  skipped, dive code is empty: 1 row (" + in + ":6)\n",
          "  skipped, dive code is longer than 5 characters: 1 row (" + in + ":7)\n",
          "  skipped, dive code holds other characters than letters and digits: 1 row (" + in +
              ":8)\n",
          "  skipped, no surname: 1 row (" + in + ":9)\n",
          "  skipped, nation is neither empty nor three letters: 1 row (" + in + ":10)\n",
          std::string("  skipped, event 'Men's 3m Synchro': 2 rows\n"),
          std::string("  skipped, event '(no event)': 1 row\n")})
        EXPECT_TRUE(Has(outcome.err, line)) << line << outcome.err;

    // Under --strict any of them refuses the whole import; other events do not count.
    const Outcome strict = ImportText(dir,
                                      "Event,Diver,Nation,Dive,DD,Points\n"
                                      "M3M,GOOD Diver,CAN,105B,2.4,60\n"
                                      "M3M,NO Points,CAN,105B,2.4,\n",
                                      {"--strict", "--force"});
    EXPECT_EQ(strict.code, 1);
    EXPECT_TRUE(Has(strict.err, "dive-import: 1 row skipped under --strict; nothing written\n"));
    EXPECT_EQ(dir.Read("out/M3M"), "10\t105B\t2.4\t60\t\r\n");
}

TEST(DiveImport, MoreDivesThanAnEventHoldsWritesNothing) {
    std::string csv = "Event,Diver,Nation,Dive,DD,Points\n";
    for (int i = 0; i <= 6741; ++i)
        csv +=
            "W10M,DIVER " + std::string(1, static_cast<char>('A' + i % 26)) + ",CAN,107B,3.0,60\n";
    const TempDir dir;
    const Outcome outcome = ImportText(dir, csv);
    EXPECT_EQ(outcome.code, 1);
    EXPECT_TRUE(Has(outcome.err, "dive-import: W10M: 6742 dives, at most 6741\n")) << outcome.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "out"));
}

TEST(DiveImport, EventNamesAsWrittenAndTheTenLargestNotRecognised) {
    std::string csv = "Event,Diver,Nation,Dive,DD,Points\n"
                      "men's 3m springboard - Final,ONE Diver,CAN,105B,2.4,60\n"
                      "Women's Platform 10m,TWO Diver,CAN,107B,3.0,61\n";
    // Twelve other names, the one with most rows last: it must still be listed.
    for (int name = 1; name <= 12; ++name) {
        for (int row = 0; row < (name == 12 ? 5 : 1 + name % 2); ++row)
            csv += "Event " + std::to_string(name) + ",X Y,CAN,105B,2.4,60\n";
    }
    const TempDir dir;
    const Outcome outcome = ImportText(dir, csv);
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(dir.Read("out/M3M"), "10\t105B\t2.4\t60\t\r\n");
    EXPECT_EQ(dir.Read("out/W10M"), "11\t107B\t3.0\t61\t\r\n");
    EXPECT_TRUE(Has(outcome.err, "  skipped, event 'Event 12': 5 rows\n"
                                 "  skipped, event 'Event 1': 2 rows\n"
                                 "  skipped, event 'Event 3': 2 rows\n"))
        << outcome.err;
    EXPECT_TRUE(Has(outcome.err, "  skipped, event 'Event 9': 2 rows\n"
                                 "  skipped, event 'Event 11': 2 rows\n"
                                 "  skipped, event 'Event 2': 1 row\n"
                                 "  skipped, event 'Event 4': 1 row\n"
                                 "  skipped, event 'Event 6': 1 row\n"
                                 "  skipped, 2 other event names: 2 rows\n"))
        << outcome.err;
}

TEST(DiveImport, NoDiveOfTheFourEventsWritesNothingEvenWithForce) {
    const TempDir dir;
    fs::create_directory(dir.Path() / "out");
    dir.Write("out/M3M", "10\t105B\t2.4\t60\t\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {"Event,Diver,Nation,Dive,DD,Points\n"
         "Men's 3m Synchro,A / B,CAN,105B,2.4,60\n"
         "Men's 3m Synchro,A / B,CAN,107B,3.1,60\n"
         "Men's 1m Springboard,ONE Diver,CAN,105B,2.4,60\n",
         "dive-import: no dive of M3M, W3M, M10M or W10M to import; the event names found are "
         "'Men's 3m Synchro' (2 rows), 'Men's 1m Springboard' (1 row); nothing written\n"},
        {"Event,Diver,Nation,Dive,DD,Points\nM3M,ONE Diver,CAN,105B,2.4,\n",
         "dive-import: no dive of M3M, W3M, M10M or W10M to import; nothing written\n"},
        {"Event,Diver,Nation,Dive,DD,Points\n",
         "dive-import: no dive of M3M, W3M, M10M or W10M to import; nothing written\n"},
    };
    for (const auto& [csv, says] : cases) {
        const Outcome outcome = ImportText(dir, csv, {"--force"});
        EXPECT_EQ(outcome.code, 1) << csv;
        EXPECT_TRUE(Has(outcome.err, says)) << outcome.err;
        EXPECT_EQ(dir.Read("out/M3M"), "10\t105B\t2.4\t60\t\r\n");
        EXPECT_FALSE(fs::exists(dir.Path() / "out/W3M"));
    }
}

TEST(DiveImport, PenaltyMarksParticlesAndOneDiverWrittenTwoWays) {
    const TempDir dir;
    const Outcome outcome = ImportText(dir, "Event;Diver;Nation;Dive;DD;Points\n"
                                            "W3M;del ANGEL PENICHE Viviana;MEX;105B;2.4;*49,60\n"
                                            "W3M;DEL ANGEL PENICHE Viviana;MEX;107B;3.0;* 61.5\n"
                                            "W3M;van DUIJN Celine;NED;105B;2.4;50\n"
                                            "W3M;Mc GING Ciara;IRL;105B;*2.4;50\n");
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(dir.Read("out/W3M"),
              "10\t105B\t2.4\t49.60\t\r\n11\t105B\t2.4\t50\t\r\n10\t107B\t3.0\t61.5\t\r\n");
    EXPECT_EQ(dir.Read("out/Divers.tsv"), "Id\tSurname\tGivenName\tNation\r\n"
                                          "10\tDEL ANGEL PENICHE\tVIVIANA\tMEX\r\n"
                                          "11\tVAN DUIJN\tCELINE\tNED\r\n");
    const std::string in = dir.File("in.csv");
    EXPECT_TRUE(Has(outcome.err, "  points with a penalty mark (*), read as the number: 2 rows (" +
                                     in + ":2, " + in + ":3)\n"))
        << outcome.err;
    // A mark before a DD is no penalty: that row is left out.
    EXPECT_TRUE(Has(outcome.err, "  skipped, DD is not a number: 1 row (" + in + ":5)\n"));
}

TEST(DiveImport, EveryEventOverItsCapacityIsNamed) {
    std::string csv = "Event,Diver,Nation,Dive,DD,Points\n";
    for (int i = 0; i <= 7358; ++i)
        csv += "W3M,DIVER A,CAN,107B,3.0,60\n";
    for (int i = 0; i <= 6741; ++i)
        csv += "W10M,DIVER A,CAN,107B,3.0,60\n";
    const TempDir dir;
    const Outcome outcome = ImportText(dir, csv);
    EXPECT_EQ(outcome.code, 1);
    EXPECT_TRUE(Has(outcome.err,
                    "dive-import: W3M: 7359 dives, at most 7358; W10M: 6742 dives, at most 6741\n"))
        << outcome.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "out"));
}

TEST(DiveImport, WorkbooksAsTheyComeWhateverTheirName) {
    const testing::TestSheet cover{"Cover", {{"World Championships"}}};
    const testing::TestSheet results{
        "Results",
        {{"Event", "Diver", "Nation", "Dive", "DD", "Points"},
         {"Women's Platform 10m", "van DUIJN Celine", "NED", "107B", "#3.3999999999999999",
          "=E2*20|67.999999999999986"},
         {"Women's Platform 10m - Final", "van DUIJN Celine", "NED", "#205", "#3", "*49.60"}}};
    const struct {
        const char* name;
        std::string (*write)(const std::vector<testing::TestSheet>&);
    } formats[] = {{"xlsx", testing::XlsxWorkbook}, {"ods", testing::OdsWorkbook}};
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        const TempDir dir;
        dir.Write("results.csv", format.write({cover, results}));
        const Outcome first = RunImport({"--out", dir.File("out"), dir.File("results.csv")});
        EXPECT_EQ(first.code, 1);
        EXPECT_TRUE(Has(first.err, "the headers found are 'World Championships' (sheet 'Cover' "
                                   "of 'Cover', 'Results'; name another with --sheet NAME)\n"))
            << first.err;
        const Outcome unknown =
            RunImport({"--out", dir.File("out"), "--sheet", "Heats", dir.File("results.csv")});
        EXPECT_EQ(unknown.code, 1);
        EXPECT_TRUE(Has(unknown.err, "results.csv: no sheet 'Heats'; the sheets are 'Cover', "
                                     "'Results'\n"))
            << unknown.err;
        EXPECT_FALSE(fs::exists(dir.Path() / "out"));

        const Outcome chosen =
            RunImport({"--out", dir.File("out"), "--sheet=Results", dir.File("results.csv")});
        ASSERT_EQ(chosen.code, 0) << chosen.err;
        EXPECT_EQ(dir.Read("out/W10M"), "10\t107B\t3.4\t68\t\r\n10\t205\t3\t49.60\t\r\n");
        EXPECT_EQ(dir.Read("out/Divers.tsv"),
                  "Id\tSurname\tGivenName\tNation\r\n10\tVAN DUIJN\tCELINE\tNED\r\n");
    }
}

TEST(DiveImport, AFileThatIsNoTableIsNamedForWhatItLooksLike) {
    const std::string xlsx =
        testing::XlsxWorkbook({{"Sheet1", {{"Event", "Diver", "Nation", "Dive", "DD", "Points"}}}});
    const std::pair<std::string, std::string> cases[] = {
        {"%PDF-1.5\n%\xE2\xE3\xCF\xD3\n1 0 obj\n", "a PDF"},
        {testing::StoredZip({{"word/document.xml", "<w:document/>"}}),
         "a ZIP archive, not a workbook"},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\x3E\0\x03\0", 14),
         "an old Excel workbook (.xls)"},
        {std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0",
                     18),
         "binary data"},
        {xlsx.substr(0, xlsx.size() - 40), "a damaged workbook, not read"},
    };
    for (const auto& [bytes, says] : cases) {
        const TempDir dir;
        dir.Write("in.csv", bytes);
        const Outcome outcome = RunImport({"--out", dir.File("out"), dir.File("in.csv")});
        EXPECT_EQ(outcome.code, 1) << says;
        EXPECT_EQ(outcome.err.rfind("dive-import: " + dir.File("in.csv") + ": " + says, 0), 0u)
            << outcome.err;
        // One line of text, none of the file's bytes.
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_TRUE(std::all_of(outcome.err.begin(), outcome.err.end(), [](char c) {
            return c == '\n' || (c >= ' ' && c < 0x7F);
        })) << outcome.err;
        EXPECT_FALSE(fs::exists(dir.Path() / "out"));
    }
}

TEST(DiveImport, ResultsAlreadyThereAreReplacedOnlyWithForceAndOnlyWhole) {
    const TempDir dir;
    const std::string csv = "Event,Diver,Nation,Dive,DD,Points\nM3M,ONE Diver,CAN,105B,2.4,60\n";
    fs::create_directory(dir.Path() / "out");
    dir.Write("out/W3M", "old\t105B\t2.4\t60\t\r\n");
    dir.Write("out/DD.ini", "[Values]\r\n");
    const Outcome refused = ImportText(dir, csv);
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(Has(refused.err, "already holds W3M; give --force to replace them"));
    EXPECT_EQ(dir.Read("out/W3M"), "old\t105B\t2.4\t60\t\r\n");

    // A folder in the place of one file: nothing is replaced, no temporary file is left.
    fs::create_directory(dir.Path() / "out/W10M");
    const Outcome blocked = ImportText(dir, csv, {"--force"});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_TRUE(Has(blocked.err, "W10M: it is a folder")) << blocked.err;
    EXPECT_EQ(dir.Read("out/W3M"), "old\t105B\t2.4\t60\t\r\n");
    EXPECT_FALSE(fs::exists(dir.Path() / "out/M3M"));

    fs::remove(dir.Path() / "out/W10M");
    const Outcome forced = ImportText(dir, csv, {"--force"});
    EXPECT_EQ(forced.code, 0) << forced.err;
    EXPECT_EQ(dir.Read("out/W3M"), "");
    EXPECT_EQ(dir.Read("out/M3M"), "10\t105B\t2.4\t60\t\r\n");
    EXPECT_EQ(dir.Read("out/DD.ini"), "[Values]\r\n"); // the user's settings stay
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path() / "out"))
        ++entries;
    EXPECT_EQ(entries, 9u);
}

TEST(DiveImport, AHandMadeRosterOrDdTableWithoutResultsIsReplacedOnlyWithForce) {
    const TempDir dir;
    const std::string csv = "Event,Diver,Nation,Dive,DD,Points\nM3M,ONE Diver,CAN,105B,2.4,60\n";
    const std::string roster = "Id\tSurname\tGivenName\tNation\n7\tOWN\tROSTER\tCAN\n";
    fs::create_directory(dir.Path() / "out");
    dir.Write("out/Divers.tsv", roster);
    dir.Write("out/Catalogue.tsv", "hand-made");
    for (const std::vector<std::string>& add : {std::vector<std::string>{}, {"--add"}}) {
        const Outcome refused = ImportText(dir, csv, add);
        EXPECT_EQ(refused.code, 2) << refused.err;
        EXPECT_TRUE(Has(refused.err, "already holds Divers.tsv, Catalogue.tsv; give --force"))
            << refused.err;
        EXPECT_EQ(dir.Read("out/Divers.tsv"), roster);
        EXPECT_EQ(dir.Read("out/Catalogue.tsv"), "hand-made");
        EXPECT_FALSE(fs::exists(dir.Path() / "out/M3M"));
    }
    const Outcome forced = ImportText(dir, csv, {"--add", "--force"});
    EXPECT_EQ(forced.code, 0) << forced.err;
    EXPECT_EQ(dir.Read("out/M3M"), "10\t105B\t2.4\t60\t\r\n");
}

TEST(DiveImport, BadArgumentsAndUnreadableInput) {
    const TempDir dir;
    const std::pair<std::vector<std::string>, std::string> usage[] = {
        {{kRealistic}, "--out FOLDER is required"},
        {{"--out", dir.File("out")}, "no CSV file to import"},
        {{"--out"}, "--out needs a value"},
        {{"--out", "x", "--column", "height=H", kRealistic}, "--column takes FIELD=HEADER"},
        {{"--out", "x", "--strict=yes", kRealistic}, "--strict takes no value"},
        {{"--out", "x", "--outfile", kRealistic}, "unknown option '--outfile'"},
    };
    for (const auto& [args, says] : usage) {
        const Outcome outcome = RunImport(args);
        EXPECT_EQ(outcome.code, 2) << says;
        EXPECT_EQ(outcome.err.rfind("dive-import: " + says, 0), 0u) << outcome.err;
    }
    const Outcome help = RunImport({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: dive-import", 0), 0u);

    const Outcome missing = RunImport({"--out", dir.File("out"), dir.File("none.csv")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "dive-import: cannot read " + dir.File("none.csv") + ": no such file\n");
    const Outcome columns = ImportText(dir, "Event,Diver,Dive\n");
    EXPECT_EQ(columns.code, 1);
    EXPECT_TRUE(Has(columns.err, "in.csv: no column for nation, dd, points"));
    EXPECT_FALSE(fs::exists(dir.Path() / "out"));
}

} // namespace
} // namespace corvane
