// SPDX-License-Identifier: GPL-3.0-or-later
// The window's data folder on real files: what a preview tells of each file, an add under
// either choice, the sources listed and one removed.

#include "app/results_folder_importer.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::string kHeader = "Event,Round,Diver,Nation,Dive,DD,J1,J2,J3,J4,J5,Points\n";
const std::atomic<bool> kGoOn{false};

// Noon of 8 December 2026 UTC: the same day in every time zone a test machine keeps.
std::chrono::system_clock::time_point Noon() {
    return std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours{12};
}

// A folder of results no import wrote, and two sheets: one to add, one to add after it.
void WriteFolderAndSheets(const TempDir& dir) {
    fs::create_directory(dir.Path() / "own");
    dir.Write("own/M3M", "7\t105B\t2.4\t50.40\t\r\n");
    for (const char* name : {"own/W3M", "own/M10M", "own/W10M"})
        dir.Write(name, "");
    dir.Write("cup.csv", kHeader + "M3M,Final,SMITH John,GBR,207C,3.5,7,7,7,7,7,73.50\n"
                                   "M3M,Prelim,SMITH John,GBR,105B,2.4,6,6,6,6,6,43.20\n"
                                   "W10M,Final,LI Xue,CHN,107B,3.0,8,8,8,8,8,72.00\n"
                                   "W10M,Final,LI Xue,CHN,107B,x,8,8,8,8,8,72.00\n");
    dir.Write("worlds.csv", kHeader + "W3M,Final,KIM Ana,KOR,105B,2.4,5,5,5,5,5,36.00\n");
}

TEST(ResultsFolderImporter, PreviewTellsEachFileThenAddListAndRemove) {
    const TempDir dir;
    WriteFolderAndSheets(dir);
    const std::string own = dir.File("own");
    ResultsFolderImporter importer(Noon);
    const AddPreview preview =
        importer.Preview(own, {dir.File("cup.csv"), dir.File("none.csv")}, kGoOn);
    EXPECT_EQ(preview.earlierFiles, (std::vector<std::string>{"M3M", "W3M", "M10M", "W10M"}));
    ASSERT_EQ(preview.files.size(), 2u);
    const OfferedFile& cup = preview.files[0];
    EXPECT_TRUE(cup.Usable());
    EXPECT_EQ(cup.what, "cup.csv");
    EXPECT_EQ(cup.dives, (std::array<std::size_t, 4>{2, 0, 0, 1}));
    EXPECT_EQ(cup.rounds, (std::vector<std::string>{"M3M: Final 1, Prelim 1", "W10M: Final 1"}));
    EXPECT_EQ(cup.newDivers, (std::vector<std::string>{"SMITH, JOHN (GBR)", "LI, XUE (CHN)"}));
    ASSERT_EQ(cup.warnings.size(), 1u);
    EXPECT_NE(cup.warnings[0].find("DD is not a number: 1 row"), std::string::npos);
    EXPECT_FALSE(preview.files[1].Usable());
    EXPECT_EQ(preview.files[1].reason, "cannot read " + dir.File("none.csv") + ": no such file");
    EXPECT_EQ(preview.keepBeside.refusal, "");
    EXPECT_EQ(preview.replace.refusal, "");

    // No sources before the add; the replaced results lie in the subfolder of the clock's day.
    EXPECT_TRUE(importer.Sources(own).sources.empty());
    ASSERT_EQ(importer.Add(preview, EarlierResults::Replace), std::nullopt);
    EXPECT_TRUE(fs::exists(dir.Path() / "own" / "earlier-results-2026-12-08" / "M3M"));
    ASSERT_EQ(importer.Add(importer.Preview(own, {dir.File("worlds.csv")}, kGoOn),
                           EarlierResults::KeepBeside),
              std::nullopt);
    const SourceList list = importer.Sources(own);
    ASSERT_EQ(list.sources.size(), 2u);
    EXPECT_EQ(list.sources[1].name, "worlds.csv");
    EXPECT_EQ(list.sources[1].dives, (std::array<std::size_t, 4>{0, 1, 0, 0}));
    ASSERT_EQ(importer.Remove(own, "worlds.csv"), std::nullopt);
    EXPECT_EQ(importer.Sources(own).sources.size(), 1u);
    EXPECT_TRUE(importer.Remove(own, "cup.csv")); // the only source
    dir.Write("own/Sources.tsv", "not a list\n");
    EXPECT_NE(importer.Sources(own).message, "");
}

} // namespace
} // namespace corvane
