// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder that keeps every dive with its source: adding and removing sources, the
// files written, the folder's own DD table and the divers that are probably one.

#include "import/dive_import.h"
#include "import/folder_checks.h"
#include "rawdata/catalogue.h"
#include "store/sha256.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::vector<std::string> kFiles{"M3M",        "W3M",        "M10M",        "W10M",
                                      "Divers.tsv", "Scores.tsv", "Sources.tsv", "Catalogue.tsv"};
const std::string kHeader = "Event,Round,Diver,Nation,Dive,DD,J1,J2,J3,J4,J5,Points\n";

struct Ran {
    int code = -1;
    std::string out;
    std::string err;
};

Ran Import(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    Ran run;
    run.code = RunDiveImport(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Three small sheets: divers met again under the same name, a new code, a DD that changed.
void WriteSheets(const TempDir& dir) {
    dir.Write("a.csv", kHeader + "M3M,Final,SMITH John,GBR,207C,3.5,7,7,7,7,7,73.50\n"
                                 "M3M,Final,BROWN Tom,CAN,105B,2.4,6,6,6,6,6,43.20\n"
                                 "W10M,Final,LI Xue,CHN,107B,3.0,8,8,8,8,8,72.00\n");
    dir.Write("b.csv", kHeader + "M3M,Final,SMITH John,GBR,207C,3.6,7,7,7,7,7,75.60\n"
                                 "M3M,Prelim,GREEN Al,USA,207C,3.6,6,6,6,6,6,64.80\n"
                                 "W10M,Final,LI Xue,CHN,6243D,3.2,8,8,8,8,8,76.80\n");
    dir.Write("c.csv", kHeader + "M3M,Final,SMITH Jon,GBR,207C,3.6,6,6,6,6,6,64.80\n"
                                 "W3M,Final,LI Xue,HKG,105B,2.4,5,5,5,5,5,36.00\n");
}

std::map<std::string, std::string> FolderFiles(const TempDir& dir, const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.Path() / folder))
        files[entry.path().filename().string()] = testing::ReadBytes(entry.path());
    return files;
}

TEST(DataFolder, AddingOneByOneEqualsAllAtOnce) {
    const TempDir dir;
    WriteSheets(dir);
    const Ran all =
        Import({"--out", dir.File("all"), dir.File("a.csv"), dir.File("b.csv"), dir.File("c.csv")});
    ASSERT_EQ(all.code, 0) << all.err;
    // The report of each source names it, with its rounds and the divers new to the folder.
    EXPECT_TRUE(Has(all.err, "dive-import: " + dir.File("b.csv") +
                                 ": 3 rows read\n  M3M: 2 dives\n  W3M: 0 dives\n  M10M: 0 dives\n"
                                 "  W10M: 1 dives\n  divers in the roster: 4\n"
                                 "  M3M by round: Final 1, Prelim 1\n"
                                 "  W10M by round: Final 1\n  title: b.csv\n"
                                 "  divers new to the folder: 1 (GREEN, AL)\n"))
        << all.err;
    for (const std::string sheet : {"a.csv", "b.csv", "c.csv"}) {
        const Ran one = Import({"--add", "--out", dir.File("each"), dir.File(sheet)});
        ASSERT_EQ(one.code, 0) << one.err;
    }
    const auto each = FolderFiles(dir, "each");
    EXPECT_EQ(each, FolderFiles(dir, "all"));
    EXPECT_EQ(each.size(), kFiles.size());
    // Known divers keep their ids; new ones get the next; the result files stay sorted.
    EXPECT_EQ(each.at("Divers.tsv"), "Id\tSurname\tGivenName\tNation\r\n10\tSMITH\tJOHN\tGBR\r\n"
                                     "11\tBROWN\tTOM\tCAN\r\n12\tLI\tXUE\tCHN\r\n"
                                     "13\tGREEN\tAL\tUSA\r\n14\tSMITH\tJON\tGBR\r\n"
                                     "15\tLI\tXUE\tHKG\r\n");
    EXPECT_EQ(each.at("M3M"), "11\t105B\t2.4\t43.20\t\r\n10\t207C\t3.5\t73.50\t\r\n"
                              "10\t207C\t3.6\t75.60\t\r\n13\t207C\t3.6\t64.80\t\r\n"
                              "14\t207C\t3.6\t64.80\t\r\n");
    EXPECT_EQ(each.at("Sources.tsv").substr(0, each.at("Sources.tsv").find("\nb.csv")),
              "Name\tSHA256\tTitle\tDates\tM3M\tW3M\tM10M\tW10M\na.csv\t" +
                  Sha256Hex(dir.Read("a.csv")) + "\ta.csv\t\t2\t0\t0\t1");
    EXPECT_TRUE(Has(each.at("Sources.tsv"),
                    "\nc.csv\t" + Sha256Hex(dir.Read("c.csv")) + "\tc.csv\t\t1\t1\t0\t0\n"));
    EXPECT_TRUE(Has(each.at("Scores.tsv"),
                    "\nb.csv\tM3M\tPrelim\t13\t\t207C\t3.6\t6\t6\t6\t6\t6\t\t\t\t64.80\n"));
}

TEST(DataFolder, AKnownFileIsRefusedAndNothingChanges) {
    const TempDir dir;
    WriteSheets(dir);
    ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}).code, 0);
    const auto before = FolderFiles(dir, "f");
    fs::copy_file(dir.Path() / "a.csv", dir.Path() / "renamed.csv");
    const Ran again =
        Import({"--add", "--out", dir.File("f"), dir.File("b.csv"), dir.File("renamed.csv")});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(Has(again.err, "renamed.csv is already in the folder as source a.csv"))
        << again.err;
    EXPECT_EQ(FolderFiles(dir, "f"), before);
    // The same file twice in one import is refused alike.
    const Ran twice = Import({"--out", dir.File("g"), dir.File("b.csv"), dir.File("b.csv")});
    EXPECT_EQ(twice.code, 1);
    EXPECT_FALSE(fs::exists(dir.Path() / "g"));
    // Without --add a folder of an import is not replaced, and the message names --add.
    const Ran plain = Import({"--out", dir.File("f"), dir.File("b.csv")});
    EXPECT_EQ(plain.code, 2);
    EXPECT_TRUE(Has(plain.err, "give --add to add to them or --force to replace them"));
}

TEST(DataFolder, OptionsThatDoNotGoTogether) {
    const std::pair<std::vector<std::string>, std::string> usage[] = {
        {{"--list", "f", "--out", "g"}, "--list FOLDER takes no other option or file"},
        {{"--list", "f", "--add"}, "--list FOLDER takes no other option or file"},
        {{"--out", "f", "--remove", "a.csv", "b.csv"}, "--remove NAME takes no file to import"},
        {{"--remove", "a.csv"}, "--out FOLDER is required"},
        {{"--add", "--out", "f"}, "no CSV file to import"},
    };
    for (const auto& [args, says] : usage) {
        const Ran run = Import(args);
        EXPECT_EQ(run.code, 2) << says;
        EXPECT_EQ(run.err.rfind("dive-import: " + says, 0), 0u) << run.err;
    }
}

TEST(DataFolder, RemoveAndList) {
    const TempDir dir;
    WriteSheets(dir);
    ASSERT_EQ(
        Import({"--out", dir.File("f"), dir.File("a.csv"), dir.File("b.csv"), dir.File("c.csv")})
            .code,
        0);
    const Ran list = Import({"--list", dir.File("f")});
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(list.out, "a.csv: a.csv: M3M 2, W3M 0, M10M 0, W10M 1 dives\n"
                        "b.csv: b.csv: M3M 2, W3M 0, M10M 0, W10M 1 dives\n"
                        "c.csv: c.csv: M3M 1, W3M 1, M10M 0, W10M 0 dives\n");

    const Ran removed = Import({"--out", dir.File("f"), "--remove", "b.csv"});
    ASSERT_EQ(removed.code, 0) << removed.err;
    EXPECT_TRUE(Has(removed.err, "removed b.csv: 3 dives, 1 diver no other source names"));
    // What is left equals a folder made of the other two but for the ids: those stay, and
    // GREEN, whom only b.csv named, goes.
    const Ran two = Import({"--out", dir.File("two"), dir.File("a.csv"), dir.File("c.csv")});
    ASSERT_EQ(two.code, 0);
    auto left = FolderFiles(dir, "f");
    auto fresh = FolderFiles(dir, "two");
    EXPECT_TRUE(Has(left.at("Scores.tsv"), "\nc.csv\tW3M\tFinal\t15\t\t105B\t2.4\t5\t"));
    EXPECT_EQ(left.at("Scores.tsv").size(), fresh.at("Scores.tsv").size());
    EXPECT_EQ(left.at("Sources.tsv"), fresh.at("Sources.tsv"));
    EXPECT_EQ(left.at("Catalogue.tsv"), fresh.at("Catalogue.tsv"));
    EXPECT_TRUE(Has(left.at("Divers.tsv"), "\r\n15\tLI\tXUE\tHKG\r\n"));
    EXPECT_FALSE(Has(left.at("Divers.tsv"), "GREEN"));

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--out", dir.File("f"), "--remove", "b.csv"}, "has no source b.csv"},
        {{"--list", dir.File("nothing")}, "holds no sources of an import"},
    };
    for (const auto& [args, says] : refused) {
        const Ran run = Import(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Has(run.err, says)) << run.err;
    }
    EXPECT_EQ(FolderFiles(dir, "f"), left);
}

TEST(DataFolder, AddingToResultsNoImportWroteKeepsThem) {
    const TempDir dir;
    WriteSheets(dir);
    fs::create_directory(dir.Path() / "own");
    dir.Write("own/M3M", "7\t105B\t2.4\t50.40\t\r\n99\t101A\t1.6\t30\t\r\n");
    dir.Write("own/W3M", "");
    dir.Write("own/M10M", "");
    dir.Write("own/W10M", "");
    dir.Write("own/Divers.tsv", "Id\tSurname\tGivenName\tNation\r\n7\tSMITH\tJOHN\tGBR\r\n"
                                "8\tNOBODY\tAT ALL\tFRA\r\n");
    const Ran run = Import({"--add", "--out", dir.File("own"), dir.File("a.csv")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "are kept as source earlier-results"));
    // The hand-made dives stay with their ids, SMITH is one diver, the id without a roster
    // row keeps its dive, and the new divers are numbered past those in use.
    EXPECT_EQ(dir.Read("own/M3M"), "99\t101A\t1.6\t30\t\r\n7\t105B\t2.4\t50.40\t\r\n"
                                   "10\t105B\t2.4\t43.20\t\r\n7\t207C\t3.5\t73.50\t\r\n");
    EXPECT_EQ(dir.Read("own/Divers.tsv"),
              "Id\tSurname\tGivenName\tNation\r\n7\tSMITH\tJOHN\tGBR\r\n"
              "10\tBROWN\tTOM\tCAN\r\n11\tLI\tXUE\tCHN\r\n");
    const Ran list = Import({"--list", dir.File("own")});
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')),
              "earlier-results: results in the folder before its first import: M3M 2, W3M 0, "
              "M10M 0, W10M 0 dives");
    // Adding to the result is an ordinary --add now.
    EXPECT_EQ(Import({"--add", "--out", dir.File("own"), dir.File("b.csv")}).code, 0);
    EXPECT_TRUE(Has(dir.Read("own/M3M"), "99\t101A\t1.6\t30\t\r\n"));
}

TEST(DataFolder, AFolderThatCannotBeReadIsRefusedAndLeftAsItWas) {
    const TempDir dir;
    WriteSheets(dir);
    struct Case {
        std::string file;
        std::string text;
        std::string says;
    };
    const std::string sha(64, '0');
    const Case cases[] = {
        {"Scores.tsv", "Source\tEvent\n", "Scores.tsv line 1: not the header line"},
        {"Scores.tsv", "", "Scores.tsv line 1: not the header line"},
        {"Sources.tsv", "Name\tSHA256\n", "Sources.tsv line 1: not the header line"},
        {"Sources.tsv",
         "Name\tSHA256\tTitle\tDates\tM3M\tW3M\tM10M\tW10M\na.csv\tabc\tT\t\t1\t0\t0\t0\n",
         "Sources.tsv line 2: not a name, a SHA-256 and six more fields"},
        {"Divers.tsv", "Id\tSurname\n10\n", "Divers.tsv line 2"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file + ": " + test.text);
        fs::remove_all(dir.Path() / "f");
        ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}).code, 0);
        dir.Write("f/" + test.file, test.text);
        const auto before = FolderFiles(dir, "f");
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--add", "--out", dir.File("f"), dir.File("b.csv")},
              std::vector<std::string>{"--out", dir.File("f"), "--remove", "a.csv"},
              std::vector<std::string>{"--list", dir.File("f")}}) {
            const Ran run = Import(args);
            EXPECT_EQ(run.code, 1);
            EXPECT_TRUE(Has(run.err, test.says)) << run.err;
        }
        EXPECT_EQ(FolderFiles(dir, "f"), before);
    }
    // Scores.tsv lines that do not fit the sources or the events.
    const std::pair<std::string, std::string> lines[] = {
        {"x.csv\tM3M\t\t10\t\t105B\t2.4\t\t\t\t\t\t\t\t\t50", "source 'x.csv' is not in"},
        {"a.csv\tM1M\t\t10\t\t105B\t2.4\t\t\t\t\t\t\t\t\t50", "event 'M1M' is not"},
        {"a.csv\tM3M\t\t10\t1x\t105B\t2.4\t\t\t\t\t\t\t\t\t50", "dive number '1x'"},
        {"a.csv\tM3M\t\t10\t\t105B\t2.4\t50", "not 16 fields"},
    };
    for (const auto& [line, says] : lines) {
        fs::remove_all(dir.Path() / "f");
        ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}).code, 0);
        dir.Write("f/Scores.tsv", dir.Read("f/Scores.tsv") + line + "\n");
        const Ran run = Import({"--add", "--out", dir.File("f"), dir.File("b.csv")});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Has(run.err, "Scores.tsv line 5: " + says)) << run.err;
    }
    // Results no import wrote that the window could not load are not taken in either.
    fs::remove_all(dir.Path() / "own");
    fs::create_directory(dir.Path() / "own");
    dir.Write("own/M3M", "7\t105B\tNA\t50\t\r\n");
    const Ran own = Import({"--add", "--out", dir.File("own"), dir.File("a.csv")});
    EXPECT_EQ(own.code, 1);
    EXPECT_EQ(dir.Read("own/M3M"), "7\t105B\tNA\t50\t\r\n");
    EXPECT_FALSE(fs::exists(dir.Path() / "own/Scores.tsv"));
}

TEST(DataFolder, SheetsWithTheirOwnIdsAndSheetsOfOneName) {
    const TempDir dir;
    fs::create_directories(dir.Path() / "other");
    dir.Write("ids.csv", "event,id,name,noc,code,dd,points\n"
                         "W10M,A-7,LI Xue,CHN,107B,3.0,81\n"
                         "W10M,3,LI Xue,CHN,107B,3.0,80\n");
    dir.Write("names.csv", "event,name,noc,code,dd,points\nW10M,LI Xue,CHN,109C,3.7,90\n");
    dir.Write("other/ids.csv",
              "event,id,name,noc,code,dd,points\nW10M,A-7,LI X.,CHN,305C,3.0,70\n");
    const Ran run = Import({"--out", dir.File("f"), dir.File("ids.csv"), dir.File("names.csv"),
                            dir.File("other/ids.csv")});
    ASSERT_EQ(run.code, 0) << run.err;
    // A name meets the first diver of that name; a known id is that diver, its first name kept.
    EXPECT_EQ(dir.Read("f/W10M"), "A-7\t107B\t3.0\t81\t\r\n3\t107B\t3.0\t80\t\r\n"
                                  "A-7\t109C\t3.7\t90\t\r\nA-7\t305C\t3.0\t70\t\r\n");
    EXPECT_EQ(dir.Read("f/Divers.tsv"),
              "Id\tSurname\tGivenName\tNation\r\nA-7\tLI\tXUE\tCHN\r\n3\tLI\tXUE\tCHN\r\n");
    EXPECT_TRUE(
        Has(run.err, "A-7 LI, XUE [CHN] and 3 LI, XUE [CHN] (same name and nation, two ids)"));
    // Two files of one name are two sources.
    EXPECT_TRUE(Has(dir.Read("f/Sources.tsv"), "\nids.csv (2)\t"));

    // Under --strict the rows left out of every sheet are counted together.
    dir.Write("bad1.csv", "Event,Diver,Nation,Dive,DD,Points\nM3M,A B,CAN,105B,x,60\n");
    dir.Write("bad2.csv", "Event,Diver,Nation,Dive,DD,Points\nM3M,A B,CAN,105B,2.4,60\n"
                          "M3M,A B,CAN,,2.4,60\n");
    const Ran strict =
        Import({"--strict", "--out", dir.File("g"), dir.File("bad1.csv"), dir.File("bad2.csv")});
    EXPECT_EQ(strict.code, 1);
    EXPECT_TRUE(Has(strict.err, "dive-import: 2 rows skipped under --strict; nothing written\n"))
        << strict.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "g"));
}

TEST(DataFolder, ProbablyTheSameDiverIsListedNotMerged) {
    const TempDir dir;
    dir.Write("s.csv", "Event,Diver,Nation,Dive,DD,Points\n"
                       "M3M,SMITH John,GBR,105B,2.4,50\n"
                       "M3M,SMITH Jon,GBR,105B,2.4,50\n"        // one letter
                       "M3M,SMITH Jan,GBR,105B,2.4,50\n"        // one from each
                       "M3M,SMITH Joanna,GBR,105B,2.4,50\n"     // far from all
                       "M3M,SMITH John,IRL,105B,2.4,50\n"       // another nation
                       "M3M,LOPEZ Maria Jose,MEX,105B,2.4,50\n" //
                       "M3M,LOPEZ Maria Joes,MEX,105B,2.4,50\n" // two letters, long
                       "M3M,LOPEZ Ana,MEX,105B,2.4,50\n"        //
                       "M3M,LOPEZ Eve,MEX,105B,2.4,50\n"        // two letters, short
                       "M3M,LOPEZ Ana,ESP,105B,2.4,50\n");      // not a pair with Eve
    const Ran run = Import({"--out", dir.File("f"), dir.File("s.csv")});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string says = "dive-import: probably the same diver, not merged: ";
    const std::vector<std::string> pairs{
        "15 LOPEZ, MARIA JOSE [MEX] and 16 LOPEZ, MARIA JOES [MEX] (given names a letter or two "
        "apart)",
        "17 LOPEZ, ANA [MEX] and 19 LOPEZ, ANA [ESP] (same name, two nations)",
        "10 SMITH, JOHN [GBR] and 11 SMITH, JON [GBR] (given names a letter or two apart)",
        "10 SMITH, JOHN [GBR] and 14 SMITH, JOHN [IRL] (same name, two nations)",
        "11 SMITH, JON [GBR] and 12 SMITH, JAN [GBR] (given names a letter or two apart)",
    };
    std::string expected;
    for (const std::string& pair : pairs)
        expected += says + pair + "\n";
    std::string listed;
    for (std::size_t at = run.err.find(says); at != std::string::npos;
         at = run.err.find(says, at + 1))
        listed += run.err.substr(at, run.err.find('\n', at) + 1 - at);
    EXPECT_EQ(listed, expected);
    const std::string roster = dir.Read("f/Divers.tsv");
    EXPECT_EQ(std::count(roster.begin(), roster.end(), '\n'), 11);
}

std::string CatalogueRow(const std::string& catalogue, const std::string& code) {
    const std::size_t at = catalogue.find("\n" + code + "\t");
    return at == std::string::npos
               ? ""
               : catalogue.substr(at + 1, catalogue.find('\n', at + 1) - at - 1);
}

TEST(DataFolder, CatalogueTakesTheDDMostDivesCarry) {
    const TempDir dir;
    dir.Write("old.csv", "Event,Diver,Nation,Dive,DD,Points\n"
                         "M3M,A B,GBR,207C,3.5,70\nM3M,C D,GBR,207C,3.5,70\n"
                         "W3M,E F,GBR,207C,3.50,70\n"   // one DD, written longer
                         "M10M,A B,GBR,207C,3.6,70\n"   // tie on 10 m: 3.6 ...
                         "W10M,E F,GBR,999Z,3.3,70\n"); // not in the built-in table
    dir.Write("new.csv", "Event,Diver,Nation,Dive,DD,Points\n"
                         "M3M,A B,GBR,207C,3.6,70\nW3M,E F,GBR,207C,3.6,70\n"
                         "M10M,C D,GBR,207C,3.4,70\n"); // ... and 3.4, the later source
    const Ran run = Import({"--out", dir.File("f"), dir.File("old.csv"), dir.File("new.csv")});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string catalogue = dir.Read("f/Catalogue.tsv");
    EXPECT_EQ(catalogue.substr(0, catalogue.find('\n')), "Code\tDD3m\tDD10m");
    // The window takes it as it is written.
    DDCatalogue parsed;
    const std::optional<std::string> problem = ParseCatalogue(catalogue, parsed);
    EXPECT_FALSE(problem.has_value()) << *problem;
    const std::pair<std::string, std::string> rows[] = {
        {"207C", "207C\t3.5\t3.4"}, // majority on 3 m, the later source's on a tie
        {"999Z", "999Z\t0.0\t3.3"}, // a new code: "0.0" where it has no dive
        {"105B", "105B\t2.4\t2.3"}, // no dive: the built-in values
        {"001A", "001A\t1.0\t1.0"},
    };
    for (const auto& [code, row] : rows)
        EXPECT_EQ(CatalogueRow(catalogue, code), row);
    EXPECT_EQ(std::count(catalogue.begin(), catalogue.end(), '\n'), 1 + 293 + 1);
    EXPECT_TRUE(Has(run.err, "dive-import: dives of more than one DD: 207C on 3 m: 3.5 in 3 "
                             "dives, 3.6 in 2\n"))
        << run.err;
    EXPECT_TRUE(Has(run.err, "207C on 10 m: 3.4 in 1 dive, 3.6 in 1\n")) << run.err;
}

// Files larger than the limit cannot be written, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

TEST(DataFolder, AFailingWriteLeavesTheFolderAsItWas) {
    const TempDir dir;
    WriteSheets(dir);
    ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}).code, 0);
    const auto before = FolderFiles(dir, "f");
    {
        // The catalogue is the largest file: the others are written before it fails.
        const FileSizeLimit limit(2000);
        const Ran run = Import({"--add", "--out", dir.File("f"), dir.File("b.csv")});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Has(run.err, "Catalogue.tsv: File too large; nothing written")) << run.err;
    }
    EXPECT_EQ(FolderFiles(dir, "f"), before); // no temporary file left either
    {
        const FileSizeLimit limit(2000);
        const Ran run = Import({"--out", dir.File("f"), "--remove", "a.csv"});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Has(run.err, "is the only source"));
    }
    EXPECT_EQ(FolderFiles(dir, "f"), before);
}

} // namespace
} // namespace corvane
