// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"
#include "app/settings_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::WithoutWaitingForAWriter;

// A scratch folder for one settings file.
class SettingsDir : public testing::TempDir {
public:
    std::string Ini() const { return File(kSettingsFileName); }
    void WriteIni(std::string_view content) const { Write(kSettingsFileName, content); }
    std::string ReadIni() const { return Read(kSettingsFileName); }
};

const ThresholdTexts kDefaultTexts{"50", "3.0", "30", "60", "5", "10"};

void ExpectDefaults(const Settings& s) {
    EXPECT_EQ(s.count, 50);
    EXPECT_DOUBLE_EQ(s.dd, 3.0);
    EXPECT_EQ(s.percent, 30);
    EXPECT_EQ(s.twoCol, 60);
    EXPECT_EQ(s.nine, 5);
    EXPECT_EQ(s.sortCount, 10);
    EXPECT_EQ(s.sortCol, (std::array<int, kEventCount>{0, 0, 0, 0}));
}

TEST(SettingsRead, NoFileGivesDefaults) {
    SettingsDir dir;
    const IniFile ini(dir.Ini());
    ExpectDefaults(ReadSettings(ini));
    EXPECT_EQ(dir.EntryCount(), 0u); // reading creates nothing
}

TEST(SettingsRead, FolderInPlaceOfTheFileGivesDefaults) {
    SettingsDir dir;
    fs::create_directory(dir.Ini());
    ExpectDefaults(ReadSettings(IniFile(dir.Ini())));
}

TEST(SettingsWrite, NewFileHoldsTheTenKeysInOrder) {
    SettingsDir dir;
    IniFile ini(dir.Ini());
    EXPECT_EQ(WriteSettings(ini, kDefaultTexts, {1, 2, 3, 16}), std::nullopt);
    EXPECT_EQ(dir.ReadIni(), "[Values]\nCount=50\nDD=3.0\nPercent=30\nTwoCol=60\nNine=5\n"
                             "SortCount=10\n[Sort]\nM3M=1\nW3M=2\nM10M=3\nW10M=16\n");
    EXPECT_EQ(dir.EntryCount(), 1u); // no temporary file left behind
}

TEST(SettingsWrite, RoundTrip) {
    SettingsDir dir;
    IniFile ini(dir.Ini());
    ASSERT_EQ(WriteSettings(ini, {"7", "2.5", "40", "70", "7", "25"}, {0, 2, 5, 16}), std::nullopt);
    const Settings s = ReadSettings(ini);
    EXPECT_EQ(s.count, 7);
    EXPECT_DOUBLE_EQ(s.dd, 2.5);
    EXPECT_EQ(s.percent, 40);
    EXPECT_EQ(s.twoCol, 70);
    EXPECT_EQ(s.nine, 7);
    EXPECT_EQ(s.sortCount, 25);
    EXPECT_EQ(s.sortCol, (std::array<int, kEventCount>{0, 2, 5, 16}));

    // A second save replaces the values in place instead of adding lines.
    ASSERT_EQ(WriteSettings(ini, kDefaultTexts, {0, 0, 0, 0}), std::nullopt);
    ExpectDefaults(ReadSettings(ini));
    EXPECT_EQ(dir.ReadIni(), "[Values]\nCount=50\nDD=3.0\nPercent=30\nTwoCol=60\nNine=5\n"
                             "SortCount=10\n[Sort]\nM3M=0\nW3M=0\nM10M=0\nW10M=0\n");
}

struct ValueCase {
    const char* line;
    double Settings::*field; // nullptr: the DD value
    double expected;
};

TEST(SettingsRead, UnconvertibleValuesFallBackAndValuesAreClamped) {
    const ValueCase cases[] = {
        {"Count=", &Settings::count, 50},
        {"Count=abc", &Settings::count, 50},
        {"Count=12", &Settings::count, 12},
        {"Count=-5", &Settings::count, 0},
        {"Count=99999", &Settings::count, 9999},
        {"DD=3,5", nullptr, 3.0},
        {"DD=2.8", nullptr, 2.8},
        {"DD=", nullptr, 3.0},
        {"DD=12", nullptr, 9.9},
        {"DD=-1", nullptr, 0.0},
        {"DD=1e400", nullptr, 3.0},
        {"Percent=12.5", &Settings::percent, 30},
        {"Percent=150", &Settings::percent, 100},
        {"TwoCol=x", &Settings::twoCol, 60},
        {"TwoCol=101", &Settings::twoCol, 100},
        {"Nine= 7 ", &Settings::nine, 7},
        {"Nine=7.0", &Settings::nine, 5},
        {"SortCount=25", &Settings::sortCount, 25},
        {"SortCount=10000", &Settings::sortCount, 9999},
        {"SortCount=99999999999999999999", &Settings::sortCount, 10},
    };
    SettingsDir dir;
    const IniFile ini(dir.Ini());
    for (const ValueCase& c : cases) {
        dir.WriteIni(std::string("[Values]\n") + c.line + "\n");
        const Settings s = ReadSettings(ini);
        const double actual = c.field ? s.*c.field : s.dd;
        EXPECT_DOUBLE_EQ(actual, c.expected) << c.line;
    }
}

TEST(SettingsRead, SortColumnOutsideTheTableReadsAsZero) {
    SettingsDir dir;
    dir.WriteIni("[Sort]\nM3M=99\nW3M=-7\nM10M=16\nW10M=x\n");
    EXPECT_EQ(ReadSettings(IniFile(dir.Ini())).sortCol,
              (std::array<int, kEventCount>{0, 0, 16, 0}));
    dir.WriteIni("[Sort]\nM3M=3.0\nW3M=4\nM10M=\nW10M= 2 \n");
    EXPECT_EQ(ReadSettings(IniFile(dir.Ini())).sortCol, (std::array<int, kEventCount>{0, 4, 0, 2}));
}

TEST(IniFileFormat, NamesMatchWithoutRegardToCase) {
    SettingsDir dir;
    dir.WriteIni("[values]\ncOUNT = 12\n[ SORT ]\nm3m=4\n");
    IniFile ini(dir.Ini());
    const Settings s = ReadSettings(ini);
    EXPECT_EQ(s.count, 12);
    EXPECT_EQ(s.sortCol[0], 4);

    ASSERT_TRUE(ini.WriteString("Values", "Count", "13"));
    EXPECT_EQ(dir.ReadIni(), "[values]\nCount=13\n[ SORT ]\nm3m=4\n");
}

TEST(IniFileFormat, LineEndsAndByteOrderMark) {
    SettingsDir dir;
    const IniFile ini(dir.Ini());
    for (const char* content : {"\xEF\xBB\xBF[Values]\r\nCount=11\r\n", "[Values]\rCount=11\r",
                                "\r\n[Values]\n\r\nCount=11"}) {
        dir.WriteIni(content);
        EXPECT_EQ(ini.ReadString("Values", "Count", "x"), "11") << content;
    }
}

TEST(IniFileFormat, ByteOrderMarkIsKeptOnWrite) {
    SettingsDir dir;
    dir.WriteIni("\xEF\xBB\xBF[Values]\r\nCount=11\r\n");
    IniFile ini(dir.Ini());
    ASSERT_TRUE(ini.WriteString("Values", "Count", "12"));
    EXPECT_EQ(dir.ReadIni(), "\xEF\xBB\xBF[Values]\nCount=12\n");
}

TEST(IniFileFormat, FirstOccurrenceWins) {
    SettingsDir dir;
    dir.WriteIni("[Values]\nCount=1\nCount=2\n[Other]\nNine=6\n[Values]\nCount=3\nNine=8\n");
    IniFile ini(dir.Ini());
    const Settings s = ReadSettings(ini);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.nine, 8); // found in the second Values section

    ASSERT_TRUE(ini.WriteString("Values", "Count", "5"));
    ASSERT_TRUE(ini.WriteString("values", "TwoCol", "65"));
    EXPECT_EQ(dir.ReadIni(), "[Values]\nCount=5\nCount=2\nTwoCol=65\n[Other]\nNine=6\n"
                             "[Values]\nCount=3\nNine=8\n");
}

TEST(IniFileFormat, WriteKeepsEveryOtherLine) {
    SettingsDir dir;
    dir.WriteIni("; saved by hand\n[Values]\nCount=1\nno equals sign here\n\n[Other]\nX = 1\n");
    IniFile ini(dir.Ini());
    ASSERT_EQ(WriteSettings(ini, {"9", "2.0", "31", "61", "6", "11"}, {1, 0, 0, 4}), std::nullopt);
    EXPECT_EQ(dir.ReadIni(), "; saved by hand\n[Values]\nCount=9\nno equals sign here\n"
                             "DD=2.0\nPercent=31\nTwoCol=61\nNine=6\nSortCount=11\n\n[Other]\n"
                             "X = 1\n[Sort]\nM3M=1\nW3M=0\nM10M=0\nW10M=4\n");
    EXPECT_EQ(ini.ReadString("Other", "X", ""), "1");
}

TEST(IniFileFormat, LineBreakInAValueStaysOnOneLine) {
    SettingsDir dir;
    IniFile ini(dir.Ini());
    ASSERT_TRUE(ini.WriteString("Values", "Count", "1\r\n[Sort]\nM3M=9"));
    EXPECT_EQ(ini.ReadString("Sort", "M3M", "none"), "none");
}

TEST(IniFileFormat, EveryReadGoesToTheDisk) {
    SettingsDir dir;
    const IniFile ini(dir.Ini());
    dir.WriteIni("[Values]\nCount=1\n");
    EXPECT_EQ(ini.ReadInteger("Values", "Count", 0), 1);
    dir.WriteIni("[Values]\nCount=2\n");
    EXPECT_EQ(ini.ReadInteger("Values", "Count", 0), 2);
    fs::remove(dir.Ini());
    EXPECT_EQ(ini.ReadInteger("Values", "Count", 0), 0);
}

// The text layer needs no file: what the window saves reads back from memory, and lines
// that are not among the ten keys stay where they were.
TEST(SettingsText, WrittenAndReadInMemory) {
    const std::string text = TextWithSettings("; kept\n[Values]\nDD=2.0\n",
                                              {"7", "2.5", "40", "70", "7", "25"}, {0, 2, 5, 16});
    EXPECT_EQ(text, "; kept\n[Values]\nDD=2.5\nCount=7\nPercent=40\nTwoCol=70\nNine=7\n"
                    "SortCount=25\n[Sort]\nM3M=0\nW3M=2\nM10M=5\nW10M=16\n");
    const Settings s = SettingsFromText(text);
    EXPECT_EQ(s.count, 7);
    EXPECT_DOUBLE_EQ(s.dd, 2.5);
    EXPECT_EQ(s.sortCount, 25);
    EXPECT_EQ(s.sortCol, (SortColumns{0, 2, 5, 16}));
    ExpectDefaults(SettingsFromText(""));
}

TEST(SettingsWriteFailure, MissingFolder) {
    SettingsDir dir;
    const std::string path = (dir.Path() / "gone" / kSettingsFileName).string();
    IniFile ini(path);
    EXPECT_EQ(WriteSettings(ini, kDefaultTexts, {}), "Unable to write to " + path);
    EXPECT_FALSE(fs::exists(dir.Path() / "gone"));
}

TEST(SettingsWriteFailure, FolderInPlaceOfTheFileStays) {
    SettingsDir dir;
    fs::create_directory(dir.Ini());
    std::ofstream(fs::path(dir.Ini()) / "inside") << "kept";
    IniFile ini(dir.Ini());
    EXPECT_EQ(WriteSettings(ini, kDefaultTexts, {}), "Unable to write to " + dir.Ini());
    EXPECT_TRUE(fs::is_directory(dir.Ini()));
    EXPECT_TRUE(fs::exists(fs::path(dir.Ini()) / "inside"));
    EXPECT_EQ(dir.EntryCount(), 1u); // the temporary file was removed
}

TEST(SettingsFile, FifoInPlaceOfTheFileIsNeitherWaitedForNorReplaced) {
    SettingsDir dir;
    ASSERT_EQ(::mkfifo(dir.Ini().c_str(), 0600), 0);
    IniFile ini(dir.Ini());
    const Settings settings =
        WithoutWaitingForAWriter(dir.Ini(), [&] { return ReadSettings(ini); });
    ExpectDefaults(settings);
    EXPECT_EQ(
        WithoutWaitingForAWriter(dir.Ini(), [&] { return WriteSettings(ini, kDefaultTexts, {}); }),
        "Unable to write to " + dir.Ini());
    EXPECT_TRUE(fs::is_fifo(dir.Ini()));
}

// What a settings write run by an unprivileged owner of `dir` says.
std::optional<std::string> WriteAsOwner(const SettingsDir& dir) {
    return testing::AsOrdinaryUser({dir.Path(), dir.Ini()}, [&dir] {
        IniFile ini(dir.Ini());
        return WriteSettings(ini, kDefaultTexts, {}).value_or("written");
    });
}

TEST(SettingsWriteFailure, ReadOnlyFolderKeepsTheOldFile) {
    SettingsDir dir;
    dir.WriteIni("[Values]\nCount=1\n");
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(WriteAsOwner(dir), "Unable to write to " + dir.Ini());
    EXPECT_EQ(dir.ReadIni(), "[Values]\nCount=1\n");
    EXPECT_EQ(dir.EntryCount(), 1u); // no temporary file left behind
}

// The folder may be written but the file may not: the new file must not be renamed over it.
TEST(SettingsWriteFailure, ReadOnlyFileIsNotReplaced) {
    SettingsDir dir;
    dir.WriteIni("[Values]\nCount=1\n");
    fs::permissions(dir.Ini(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(WriteAsOwner(dir), "Unable to write to " + dir.Ini());
    EXPECT_EQ(dir.ReadIni(), "[Values]\nCount=1\n");
    EXPECT_EQ(dir.EntryCount(), 1u); // no temporary file left behind
    if (::geteuid() == 0) {
        // Root may write any file, so it may write this one too.
        IniFile ini(dir.Ini());
        EXPECT_EQ(WriteSettings(ini, kDefaultTexts, {}), std::nullopt);
    }
}

TEST(SettingsWriteFailure, UnreadableFileIsNotReplaced) {
    SettingsDir dir;
    dir.WriteIni("[Values]\nCount=1\n[Other]\nX=1\n");
    fs::permissions(dir.Ini(), fs::perms::owner_write);
    EXPECT_EQ(testing::AsOrdinaryUser({dir.Path(), dir.Ini()},
                                      [&dir] {
                                          IniFile ini(dir.Ini());
                                          return ini.WriteString("Values", "Count", "2")
                                                     ? std::string("written")
                                                     : std::string("refused");
                                      }),
              "refused");
    fs::permissions(dir.Ini(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(dir.ReadIni(), "[Values]\nCount=1\n[Other]\nX=1\n");
}

} // namespace
} // namespace corvane
