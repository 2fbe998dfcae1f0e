// SPDX-License-Identifier: GPL-3.0-or-later
#include "rawdata/roster.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace corvane {
namespace {

using testing::TempDir;

constexpr std::string_view kHeader = "Id\tSurname\tGivenName\tNation\r\n";

// Fills a roster from a folder holding `divers` as its Divers.tsv.
std::optional<std::string> FillFrom(const TempDir& dir, std::string_view divers,
                                    DiverRoster& roster) {
    dir.Write(kRosterFileName, divers);
    return FillReferenceTables(roster, dir.Path().string());
}

TEST(RosterFile, WithoutOneTheBuiltInRosterIsUsed) {
    const TempDir dir;
    DiverRoster roster;
    EXPECT_EQ(FillReferenceTables(roster, dir.Path().string()), std::nullopt);
    EXPECT_EQ(roster.Size(), BuiltInRoster().Size());
    EXPECT_EQ(FillReferenceTables(roster, (dir.Path() / "missing").string()), std::nullopt);
    EXPECT_EQ(roster.Size(), BuiltInRoster().Size());
}

TEST(RosterFile, ReplacesTheBuiltInRosterKeepingFileOrderAndTheFirstOfARepeatedId) {
    const TempDir dir;
    DiverRoster roster;
    // CR, LF and CRLF line ends, blank lines, an empty given name and an empty nation.
    const auto error =
        FillFrom(dir,
                 "\xEF\xBB\xBFId\tSurname\tGivenName\tNation\r900\tZED\tANN\tNOR\n\n  \r\n"
                 "12\tDOE\t\tCAN\r\n900\tLATER\tROW\tFIN\r\n7\tNONATION\tX\t",
                 roster);
    ASSERT_EQ(error, std::nullopt) << *error;
    ASSERT_EQ(roster.Size(), 4);
    EXPECT_EQ(DiverLabel(roster.Rows()[0]), "ZED, ANN [NOR]");
    EXPECT_EQ(DiverLabel(roster.Rows()[1]), "DOE,  [CAN]");
    EXPECT_EQ(roster.FindDiver("900"), &roster.Rows()[0]);
    EXPECT_EQ(roster.Rows()[3].Nation, "");
    EXPECT_EQ(roster.FindDiver("15"), nullptr); // a built-in id is not there
}

TEST(RosterFile, ABrokenRuleIsReportedWithLineAndReasonAndNoRosterIsLeft) {
    std::string tenGood(kHeader);
    for (int id = 1; id <= 10; ++id)
        tenGood += std::to_string(id) + "\tSURNAME\tGIVEN\tCAN\r\n";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {tenGood + "11\tSURNAME\tGIVEN\tCan\r\n",
         "Divers.tsv line 12: the nation 'Can' is not three capital letters"},
        {"1\tA\tB\tCA\n", "Divers.tsv line 1: the nation 'CA' is not three capital letters"},
        {"1\tA\tB\tC1N\n", "Divers.tsv line 1: the nation 'C1N' is not three capital letters"},
        {"1\tA\tB\tCAN\n\n\tA\tB\tCAN\n", "Divers.tsv line 3: the id is empty"},
        {"12345678901\tA\tB\tCAN", "Divers.tsv line 1: the id '12345678901' is longer than 10 "
                                   "characters"},
        {"1\t\tB\tCAN", "Divers.tsv line 1: the surname is empty"},
        {"1\tABCDEFGHIJKLMNOPQRSTUVWXYZ\tB\tCAN",
         "Divers.tsv line 1: the surname 'ABCDEFGHIJKLMNOPQRSTUVWXYZ' is longer than 25 "
         "characters"},
        {"1\tA\tABCDEFGHIJKLMNOPQRSTU\tCAN",
         "Divers.tsv line 1: the given name 'ABCDEFGHIJKLMNOPQRSTU' is longer than 20 characters"},
        {"1\tA\tB\tCAN\r2\tA B CAN\r",
         "Divers.tsv line 2: expected 4 tab-separated fields (Id, Surname, GivenName, Nation), "
         "found 2"},
        {"1\tA\tB\tCAN\t\n", "Divers.tsv line 1: expected 4 tab-separated fields (Id, Surname, "
                             "GivenName, Nation), found 5"},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        DiverRoster roster = BuiltInRoster();
        EXPECT_EQ(FillFrom(dir, c.text, roster), c.message);
        EXPECT_EQ(roster.Size(), 0) << c.message;
    }
}

TEST(RosterFile, AtMostOneHundredThousandDivers) {
    std::string text(kHeader);
    for (std::size_t id = 1; id <= kMaxRosterRows; ++id)
        text += std::to_string(id) + "\tSURNAME\tGIVEN\tCAN\n";
    const TempDir dir;
    DiverRoster roster;
    EXPECT_EQ(FillFrom(dir, text, roster), std::nullopt);
    EXPECT_EQ(roster.Size(), 100000);
    EXPECT_EQ(FillFrom(dir, text + "\n100001\tONE\tTOO MANY\tCAN\n", roster),
              "Divers.tsv line 100003: more than 100000 divers");
}

TEST(RosterFile, AFolderOrAFifoInItsPlaceIsAnErrorNotTheBuiltInRoster) {
    const TempDir dir;
    const std::string path = dir.File(kRosterFileName);
    std::filesystem::create_directory(path);
    DiverRoster roster;
    const auto folder = FillReferenceTables(roster, dir.Path().string());
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(folder->find(path), std::string::npos) << *folder;
    EXPECT_EQ(roster.Size(), 0);

    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto fifo = testing::WithoutWaitingForAWriter(
        path, [&] { return FillReferenceTables(roster, dir.Path().string()); });
    EXPECT_EQ(fifo, "Cannot read " + path + ": not a regular file");
}

} // namespace
} // namespace corvane
