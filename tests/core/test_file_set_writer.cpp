// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/file_set_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include <sys/stat.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

unsigned Mode(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(FileSetWriter, WritesTheSetWithItsPermissionsAndLeavesNoTemporary) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const TempNames names : {TempNames::Unique, TempNames::Fixed}) {
        const TempDir dir;
        WriteBytes(dir.Path() / "a", "old a");
        ::chmod(dir.File("a").c_str(), 0600);
        const FileToWrite files[] = {{dir.File("a"), "new a\n", 0640},
                                     {dir.File("b"), std::string_view("b\0b", 3), std::nullopt}};
        const auto failure = WriteFileSet(files, {"part", names});
        ASSERT_FALSE(failure) << failure->path << ": " << failure->reason;
        EXPECT_EQ(ReadBytes(dir.Path() / "a"), "new a\n");
        EXPECT_EQ(ReadBytes(dir.Path() / "b"), std::string("b\0b", 3));
        EXPECT_EQ(Mode(dir.Path() / "a"), 0640u);
        EXPECT_EQ(Mode(dir.Path() / "b"), 0666u & ~mask);
        EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"a", "b"}));
    }
}

// Each failure comes before any rename: the folder holds what it held, with no temporary.
TEST(FileSetWriter, AFailureLeavesWhatWasThere) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> block;
        const char* second; // the second file of the set, in the folder
        TempNames names;
        const char* path; // the failure's path, in the folder
        const char* reason;
    };
    const Case cases[] = {
        {"a folder in the file's place",
         [](const TempDir& d) { fs::create_directory(d.Path() / "b"); }, "b", TempNames::Unique,
         "b", "it is a folder"},
        {"no folder for the temporary", [](const TempDir&) {}, "missing/b", TempNames::Unique,
         "missing/.b.part-", "No such file or directory"},
        {"a folder where the fixed temporary goes",
         [](const TempDir& d) { fs::create_directory(d.Path() / ".b.part"); }, "b",
         TempNames::Fixed, ".b.part", "Is a directory"},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        WriteBytes(dir.Path() / "a", "old a");
        c.block(dir);
        const std::set<std::string> before = Listing(dir.Path());
        const FileToWrite files[] = {{dir.File("a"), "new a", std::nullopt},
                                     {dir.File(c.second), "new b", std::nullopt}};
        const auto failure = WriteFileSet(files, {"part", c.names});
        ASSERT_TRUE(failure) << c.what;
        EXPECT_TRUE(failure->path.starts_with(dir.File(c.path))) << c.what << ": " << failure->path;
        EXPECT_EQ(failure->reason, c.reason) << c.what;
        EXPECT_EQ(failure->renamed, 0u) << c.what;
        EXPECT_EQ(ReadBytes(dir.Path() / "a"), "old a") << c.what;
        EXPECT_EQ(Listing(dir.Path()), before) << c.what;
    }
}

} // namespace
} // namespace corvane
