// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_folder.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

constexpr const char* kEventFiles[] = {"M3M", "W3M", "M10M", "W10M"};

TEST(UserFolder, FollowsXdgDataHomeAndFallsBackToHome) {
    EXPECT_EQ(UserFolderPath("/data", "/home/coach"), fs::path("/data/corvane-dive-analyzer"));
    for (const char* ignored : {"", "relative/data"}) {
        EXPECT_EQ(UserFolderPath(ignored, "/home/coach"),
                  fs::path("/home/coach/.local/share/corvane-dive-analyzer"))
            << ignored;
    }
    EXPECT_EQ(UserFolderPath(nullptr, "/home/coach"),
              fs::path("/home/coach/.local/share/corvane-dive-analyzer"));
    EXPECT_EQ(UserFolderPath(nullptr, nullptr), fs::path());
    EXPECT_EQ(UserFolderPath("", "relative-home"), fs::path());
}

TEST(UserFolder, FirstStartCreatesTheFolderWithCopiesOfTheSamples) {
    const TempDir home;
    const fs::path folder = home.Path() / "share" / "corvane-dive-analyzer";
    ASSERT_EQ(PrepareUserFolder(folder, CORVANE_SAMPLE_DIR), std::nullopt);
    for (const char* event : kEventFiles) {
        EXPECT_EQ(ReadBytes(folder / event), ReadBytes(fs::path(CORVANE_SAMPLE_DIR) / event))
            << event;
    }
    // Nothing else: no temporary copy is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 4);
}

TEST(UserFolder, NeverReplacesWhatIsThere) {
    const TempDir folder;
    // The user's own settings in a folder without results: the samples join them.
    folder.Write("DD.ini", "[Values]\nNine=7\n");
    ASSERT_EQ(PrepareUserFolder(folder.Path(), CORVANE_SAMPLE_DIR), std::nullopt);
    EXPECT_EQ(folder.Read("DD.ini"), "[Values]\nNine=7\n");
    EXPECT_EQ(folder.EntryCount(), 5u);

    // The user's own results, even an incomplete set, are left alone: no sample joins them.
    const TempDir own;
    own.Write("M3M", "1\t101A\t1.4\t30\t\r\n");
    ASSERT_EQ(PrepareUserFolder(own.Path(), CORVANE_SAMPLE_DIR), std::nullopt);
    EXPECT_EQ(own.Read("M3M"), "1\t101A\t1.4\t30\t\r\n");
    EXPECT_EQ(own.EntryCount(), 1u);
}

TEST(UserFolder, SaysWhichFolderCannotBeMadeReady) {
    const TempDir home;
    home.Write("share", "a file where the folder should be");
    const fs::path blocked = home.Path() / "share" / "corvane-dive-analyzer";
    const auto cannotCreate = PrepareUserFolder(blocked, CORVANE_SAMPLE_DIR);
    ASSERT_TRUE(cannotCreate);
    EXPECT_NE(cannotCreate->find(blocked.string() + "\ncannot be created: "), std::string::npos)
        << *cannotCreate;

    // Samples that are missing or incomplete: nothing is created at all.
    const TempDir samples;
    samples.Write("M3M", "");
    const fs::path folder = home.Path() / "results";
    const auto noSamples = PrepareUserFolder(folder, samples.Path());
    ASSERT_TRUE(noSamples);
    EXPECT_NE(noSamples->find(folder.string()), std::string::npos) << *noSamples;
    EXPECT_NE(noSamples->find("are installed in\n" + samples.Path().string()), std::string::npos)
        << *noSamples;
    EXPECT_FALSE(fs::exists(folder));
}

TEST(UserFolder, AFailedCopyLeavesNoPartOfTheSamples) {
    // The last copy cannot be written, even by root: a folder stands where it would go.
    const TempDir folder;
    fs::create_directory(folder.Path() / ".W10M.part");
    const auto failed = PrepareUserFolder(folder.Path(), CORVANE_SAMPLE_DIR);
    ASSERT_TRUE(failed);
    EXPECT_NE(failed->find(folder.Path().string() + "\ncannot be filled with the sample results: "),
              std::string::npos)
        << *failed;
    // No event without the others, which would keep the next start from filling the folder.
    for (const char* event : kEventFiles)
        EXPECT_FALSE(fs::exists(folder.Path() / event)) << event;
    EXPECT_FALSE(fs::exists(folder.Path() / ".M3M.part"));
}

} // namespace
} // namespace corvane
