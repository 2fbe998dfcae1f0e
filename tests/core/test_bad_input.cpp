// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile result and settings files. The cases of tests/data/bad-input each hold the files
// to read and an expected.txt that says what must come of them; the cases that need a size,
// a permission or a full disk are made here.
#include "app/settings.h"
#include "store/number_text.h"
#include "store/result_loader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Kind = LoadOutcome::Kind;
using testing::DropRootPrivileges;
using testing::InChild;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::string_view kSkipped = "skipped";

fs::path CorpusDir() {
    return fs::path(CORVANE_TEST_DATA_DIR) / "bad-input";
}

// expected.txt values may hold \xHH, \t, \r, \n and \\; {path} stands for the file's path.
std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[++i];
        if (kind == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += kind == 't' ? '\t' : kind == 'r' ? '\r' : kind == 'n' ? '\n' : kind;
        }
    }
    return out;
}

std::string WithPath(std::string text, const std::string& path) {
    const std::size_t at = text.find("{path}");
    return at == std::string::npos ? text : text.replace(at, 6, path);
}

// The "key: value" lines of a case's expected.txt.
std::map<std::string, std::string> ReadExpected(const fs::path& caseDir) {
    std::map<std::string, std::string> expected;
    std::istringstream lines(ReadBytes(caseDir / "expected.txt"));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos)
            expected[line.substr(0, colon)] = Unescape(line.substr(colon + 2));
    }
    return expected;
}

std::vector<std::string> CaseNames(const char* kind) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(CorpusDir() / kind))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// Copies a case's files (folders included) into `dir`, leaving expected.txt behind.
void CopyCase(const fs::path& caseDir, const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(caseDir)) {
        if (entry.path().filename() != "expected.txt")
            fs::copy(entry.path(), dir / entry.path().filename(), fs::copy_options::recursive);
    }
}

// ---- Result files -------------------------------------------------------------------

constexpr std::string_view kOtherEventLine = "\t101B\t1.5\t39.75\t\r\n";

// The three events after M3M, one record each (id = event id), where the case has none.
void FillOtherEvents(const fs::path& dir) {
    for (int eventIndex = 2; eventIndex <= kEventCount; ++eventIndex) {
        const std::string id(EventByIndex(eventIndex).id);
        if (!fs::exists(dir / id))
            WriteBytes(dir / id, id + std::string(kOtherEventLine));
    }
}

bool IsEmptyRecord(const DiveRecord& r) {
    return r.DiverId.empty() && r.DiveCode.empty() && r.DD == 0.0 && r.Points == 0.0;
}

// Slots 1..records hold records and every later slot is still empty.
void ExpectRecords(std::span<const DiveRecord> slots, std::size_t records) {
    for (std::size_t i = 0; i < records; ++i)
        EXPECT_FALSE(IsEmptyRecord(slots[i])) << "slot " << i + 1;
    const auto firstFilledAfter =
        std::find_if(slots.begin() + static_cast<std::ptrdiff_t>(records), slots.end(),
                     [](const DiveRecord& r) { return !IsEmptyRecord(r); });
    EXPECT_EQ(firstFilledAfter, slots.end()) << "a record after slot " << records;
}

// "id|code|dd|points" of one slot.
void ExpectSlot(const DiveRecord& record, const std::string& expected) {
    std::array<std::string, 4> fields;
    std::istringstream parts(expected);
    for (std::string& field : fields)
        std::getline(parts, field, '|');
    EXPECT_EQ(record.DiverId.view(), fields[0]);
    EXPECT_EQ(record.DiveCode.view(), fields[1]);
    EXPECT_DOUBLE_EQ(record.DD, std::stod(fields[2]));
    EXPECT_DOUBLE_EQ(record.Points, std::stod(fields[3]));
}

std::string KindName(Kind kind) {
    switch (kind) {
    case Kind::Loaded:
        return "loaded";
    case Kind::MissingFile:
        return "missing";
    case Kind::Failed:
        return "failed";
    }
    return "?";
}

class ResultFileCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ResultFileCase, EndsAsExpected) {
    const fs::path caseDir = CorpusDir() / "results" / GetParam();
    auto expected = ReadExpected(caseDir);
    TempDir dir;
    CopyCase(caseDir, dir.Path());
    FillOtherEvents(dir.Path());
    const std::string path = dir.File("M3M");

    auto store = std::make_unique<RecordStore>();
    const LoadOutcome outcome = LoadResultFiles(dir.Path().string(), *store);
    ASSERT_EQ(KindName(outcome.kind), expected["outcome"]) << outcome.message;
    EXPECT_EQ(outcome.message, WithPath(expected["message"], path));
    if (outcome.kind == Kind::MissingFile) {
        EXPECT_EQ(outcome.path, path);
    }
    ExpectRecords(store->M3MDives, std::stoul(expected["records"]));
    for (std::size_t slot = 1; slot <= 3; ++slot) {
        if (expected.count("slot" + std::to_string(slot)))
            ExpectSlot(store->M3MDives[slot - 1], expected["slot" + std::to_string(slot)]);
    }
    // The array after M3M's is only ever filled from its own file.
    const bool loaded = outcome.kind == Kind::Loaded;
    EXPECT_EQ(store->W3MDives[0].DiverId.view(), loaded ? "W3M" : "");
    ExpectRecords(store->W3MDives, loaded ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(BadInput, ResultFileCase, ::testing::ValuesIn(CaseNames("results")),
                         TestName);

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

struct LongLineCase {
    const char* name;
    std::string line;
    Kind kind;
    std::size_t messageSize; // 0: no message
};

TEST(BadInputGenerated, TenMegabyteLine) {
    const std::string huge(kTenMegabytes, '7');
    const std::string blanks(kTenMegabytes, ' ');
    const std::string quoted = "'" + huge.substr(0, 60) + "..." + huge.substr(0, 30) +
                               "' is not a valid floating point value";
    const LongLineCase cases[] = {
        {"in the id", huge + "\t101B\t1.5\t39.75\t", Kind::Loaded, 0},
        {"in the points", "1\t101B\t1.5\t" + huge + "\t", Kind::Failed, quoted.size()},
        {"of blanks", blanks, Kind::Loaded, 0},
        {"without a tab", huge, Kind::Failed,
         std::string_view("'' is not a valid floating point value").size()},
    };
    for (const LongLineCase& c : cases) {
        TempDir dir;
        WriteBytes(dir.Path() / "M3M", "1\t101B\t1.5\t39.75\t\r\n" + c.line + "\r\n");
        std::array<DiveRecord, 4> slots{};
        const LoadOutcome outcome = LoadResultFile(dir.File("M3M"), std::span(slots).first(3));
        EXPECT_EQ(outcome.kind, c.kind) << c.name;
        EXPECT_EQ(outcome.message.size(), c.messageSize) << c.name;
        EXPECT_TRUE(IsEmptyRecord(slots[3])) << c.name;
        if (c.kind == Kind::Loaded && c.line != blanks) {
            EXPECT_EQ(slots[1].DiverId.view(), huge.substr(0, 10)) << c.name;
        }
    }
}

TEST(BadInputGenerated, OneLineMoreThanTheCapacity) {
    for (const int eventIndex : {1, 4}) {
        const EventInfo& event = EventByIndex(eventIndex);
        TempDir dir;
        std::string text;
        for (int line = 0; line <= event.capacity; ++line)
            text += std::to_string(line) + "\t101B\t1.5\t39.75\t\r\n";
        for (const EventInfo& each : kEvents)
            WriteBytes(dir.Path() / each.id, each.id == event.id ? text : "");

        auto store = std::make_unique<RecordStore>();
        const LoadOutcome outcome = LoadResultFiles(dir.Path().string(), *store);
        EXPECT_EQ(outcome.kind, Kind::Failed);
        EXPECT_EQ(outcome.message, "Too many dives in " + dir.File(event.id) + ": at most " +
                                       std::to_string(event.capacity));
        const auto slots = store->Dives(eventIndex);
        EXPECT_EQ(slots.back().DiverId.view(), std::to_string(event.capacity - 1));
        // The array that follows in memory is untouched.
        if (eventIndex < kEventCount)
            ExpectRecords(store->Dives(eventIndex + 1), 0);
    }
}

TEST(BadInputGenerated, FileWithoutReadPermission) {
    TempDir dir;
    WriteBytes(dir.Path() / "M3M", "1\t101B\t1.5\t39.75\t\r\n");
    fs::permissions(dir.Path() / "M3M", fs::perms::none);
    const auto result = InChild([&dir] {
        if (!DropRootPrivileges())
            return std::string("cannot drop privileges");
        std::array<DiveRecord, 2> slots{};
        const LoadOutcome outcome = LoadResultFile(dir.File("M3M"), slots);
        return KindName(outcome.kind) + "|" + outcome.message + "|" +
               (IsEmptyRecord(slots[0]) ? "empty" : "filled");
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, "failed|Cannot read " + dir.File("M3M") + ": Permission denied|empty");
}

// ---- Settings files -----------------------------------------------------------------

const ThresholdTexts kNewTexts{"41", "2.5", "20", "50", "3", "8"};
constexpr std::array<int, kEventCount> kNewSortCols{1, 2, 3, 4};

// "count dd percent twoCol nine sortCount / m3m w3m m10m w10m"
std::string Describe(const Settings& s) {
    std::ostringstream text;
    text << s.count << ' ' << FormatFixed(s.dd, 1) << ' ' << s.percent << ' ' << s.twoCol << ' '
         << s.nine << ' ' << s.sortCount << " /";
    for (const int col : s.sortCol)
        text << ' ' << col;
    return text.str();
}

// What is at `path`: the bytes of a file, or the names inside a folder.
std::string Contents(const fs::path& path) {
    if (!fs::is_directory(path))
        return ReadBytes(path);
    std::string names = "folder:";
    for (const auto& entry : fs::directory_iterator(path))
        names += " " + entry.path().filename().string();
    return names;
}

class SettingsFileCase : public ::testing::TestWithParam<std::string> {};

TEST_P(SettingsFileCase, ReadsAndWritesAsExpected) {
    const fs::path caseDir = CorpusDir() / "settings" / GetParam();
    auto expected = ReadExpected(caseDir);
    TempDir dir;
    CopyCase(caseDir, dir.Path());
    IniFile ini(dir.File(kSettingsFileName));
    EXPECT_EQ(Describe(ReadSettings(ini)), expected["read"]);

    const std::string before = Contents(ini.Path());
    const auto failure = WriteSettings(ini, kNewTexts, kNewSortCols);
    if (expected["write"] == "ok") {
        EXPECT_FALSE(failure) << *failure;
        EXPECT_EQ(Describe(ReadSettings(ini)), "41 2.5 20 50 3 8 / 1 2 3 4");
    } else {
        EXPECT_EQ(failure.value_or("written"), WithPath(expected["write"], ini.Path()));
        EXPECT_EQ(Contents(ini.Path()), before);
    }
    // No temporary file is left behind, whatever happened.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator{}), 1);
}

INSTANTIATE_TEST_SUITE_P(BadInput, SettingsFileCase, ::testing::ValuesIn(CaseNames("settings")),
                         TestName);

TEST(BadInputGenerated, OneMegabyteValues) {
    constexpr std::size_t kOneMegabyte = 1024 * 1024;
    TempDir dir;
    WriteBytes(dir.Path() / kSettingsFileName,
               "[Values]\nCount=" + std::string(kOneMegabyte, '7') + "\nDD=3." +
                   std::string(kOneMegabyte, '0') + "1\nPercent=" + std::string(kOneMegabyte, ' ') +
                   "12\nNine=" + std::string(kOneMegabyte, 'x') +
                   "\n[Sort]\nM3M=" + std::string(kOneMegabyte, '0') + "3\n");
    IniFile ini(dir.File(kSettingsFileName));
    EXPECT_EQ(Describe(ReadSettings(ini)), "50 3.0 12 60 5 10 / 3 0 0 0");
    EXPECT_FALSE(WriteSettings(ini, kNewTexts, kNewSortCols));
    EXPECT_EQ(Describe(ReadSettings(ini)), "41 2.5 20 50 3 8 / 1 2 3 4");
    EXPECT_LT(fs::file_size(ini.Path()), 200u); // the long lines were replaced, not kept
}

constexpr std::string_view kOldSettings = "[Values]\nCount=70\n";

// In a child: `prepare` (false: the system does not allow it), then the settings write into
// `dir`, which held kOldSettings. Returns the message and what became of the folder, seen
// from inside the child (a mount made there is gone once it ends).
std::optional<std::string> WriteInChild(const TempDir& dir, const std::function<bool()>& prepare) {
    return InChild([&dir, &prepare] {
        if (!prepare())
            return std::string(kSkipped);
        IniFile ini(dir.File(kSettingsFileName));
        std::string result = WriteSettings(ini, kNewTexts, kNewSortCols).value_or("written");
        result += ReadBytes(ini.Path()) == kOldSettings ? "|old file kept" : "|file changed";
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name != kSettingsFileName && name != "filler")
                result += "|left behind: " + name;
        }
        return result;
    });
}

void ExpectOldSettingsKept(const TempDir& dir, const std::optional<std::string>& result) {
    ASSERT_TRUE(result);
    if (*result == kSkipped)
        GTEST_SKIP() << "this system does not allow the set-up";
    EXPECT_EQ(*result, "Unable to write to " + dir.File(kSettingsFileName) + "|old file kept");
}

TEST(BadInputGenerated, FolderPathThatIsAFile) {
    TempDir dir;
    WriteBytes(dir.Path() / "data", "a file where the folder should be");
    IniFile ini((dir.Path() / "data" / kSettingsFileName).string());
    EXPECT_EQ(WriteSettings(ini, kNewTexts, kNewSortCols), "Unable to write to " + ini.Path());
    EXPECT_EQ(Describe(ReadSettings(ini)), "50 3.0 30 60 5 10 / 0 0 0 0");
}

// The disk fills up while the settings are written: a size limit on the files this process
// writes makes the write fail the way a full disk does, once part of the data went out.
TEST(BadInputGenerated, FullDiskPartWayThroughKeepsTheOldFile) {
    TempDir dir;
    WriteBytes(dir.Path() / kSettingsFileName, kOldSettings);
    ExpectOldSettingsKept(
        dir, WriteInChild(dir, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{kOldSettings.size() + 12, kOldSettings.size() + 12};
            return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        }));
}

// A real full disk: a small memory file system, mounted where only the child sees it.
TEST(BadInputGenerated, FullDiskOnASmallFileSystem) {
    TempDir dir;
    const std::string mountPoint = dir.Path().string();
    ExpectOldSettingsKept(dir, WriteInChild(dir, [&mountPoint] {
                              if (::unshare(CLONE_NEWNS) != 0 ||
                                  ::mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) != 0 ||
                                  ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
                                  return false;
                              WriteBytes(fs::path(mountPoint) / kSettingsFileName, kOldSettings);
                              std::ofstream filler(fs::path(mountPoint) / "filler",
                                                   std::ios::binary);
                              const std::string block(4096, 'x');
                              while (filler.write(block.data(), block.size()) && filler.flush()) {
                              }
                              return true;
                          }));
}

} // namespace
} // namespace corvane
