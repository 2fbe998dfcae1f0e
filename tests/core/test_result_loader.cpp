// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/number_text.h"
#include "store/result_loader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Kind = LoadOutcome::Kind;
using testing::TempDir;
using testing::WithoutWaitingForAWriter;

constexpr std::size_t kSlots = 8;
using Slots = std::array<DiveRecord, kSlots>;

LoadOutcome Load(std::string_view text, Slots& slots) {
    return LoadResultText(text, slots, "dir/M3M");
}

std::string Ids(const Slots& slots) {
    std::string ids = slots[0].DiverId.str();
    for (std::size_t i = 1; i < slots.size(); ++i) {
        ids += "|" + slots[i].DiverId.str();
    }
    return ids;
}

bool IsEmptyRecord(const DiveRecord& r) {
    return r.DiverId.empty() && r.DiveCode.empty() && r.DD == 0.0 && r.Points == 0.0;
}

struct LineEndCase {
    const char* name;
    std::string text;
};

TEST(ResultLineEnds, CrCrlfAndLfEachEndALine) {
    const LineEndCase cases[] = {
        {"CR", "a\t101A\t1.2\t3\t\rb\t102B\t1.4\t5\t\rc\t103C\t1.6\t7\t"},
        {"CRLF", "a\t101A\t1.2\t3\t\r\nb\t102B\t1.4\t5\t\r\nc\t103C\t1.6\t7\t\r\n"},
        {"LF", "a\t101A\t1.2\t3\t\nb\t102B\t1.4\t5\t\nc\t103C\t1.6\t7\t\n"},
        {"mixed", "a\t101A\t1.2\t3\t\r\nb\t102B\t1.4\t5\t\nc\t103C\t1.6\t7\t\r"},
        {"LF CR", "a\t101A\t1.2\t3\t\n\rb\t102B\t1.4\t5\t\n\rc\t103C\t1.6\t7\t"},
        {"runs", "\r\n\r\n\ra\t101A\t1.2\t3\t\n\n\r\r\nb\t102B\t1.4\t5\t\r\n\nc\t103C\t1.6\t7\t"},
    };
    for (const LineEndCase& c : cases) {
        Slots slots{};
        EXPECT_EQ(Load(c.text, slots).kind, Kind::Loaded) << c.name;
        EXPECT_EQ(Ids(slots), "a|b|c|||||") << c.name;
        EXPECT_EQ(slots[2].DiveCode, "103C") << c.name;
        EXPECT_DOUBLE_EQ(slots[2].Points, 7.0) << c.name;
    }
}

TEST(ResultLineEnds, LastLineNeedsNoLineEnd) {
    Slots slots{};
    // The last tab is the fourth field's end; without it the points field would be empty.
    EXPECT_EQ(Load("a\t101A\t1.2\t3\t", slots).kind, Kind::Loaded);
    EXPECT_EQ(slots[0].DiverId, "a");
}

TEST(ResultLineEnds, CtrlZEndsTheFile) {
    Slots slots{};
    EXPECT_EQ(Load("a\t101A\t1.2\t3\t\r\n\x1a"
                   "b\t102B\tjunk\t5\t\r\n",
                   slots)
                  .kind,
              Kind::Loaded);
    EXPECT_EQ(Ids(slots), "a|||||||");

    // Ctrl+Z inside a line ends that line too, here before the fourth field's tab.
    Slots cut{};
    const LoadOutcome outcome = Load("a\t101A\t1.2\t3\t\r\nb\t102B\t1.4\t5\x1a\t\r\n", cut);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "'' is not a valid floating point value");
}

TEST(ResultBlankLines, BlankLinesTakeNoSlot) {
    Slots slots{};
    const std::string text = "  \t \r\n"
                             "a\t101A\t1.2\t3\t\r\n"
                             "\t\t\t\t\r\n"
                             "\x01\x02\x1f\x0b\x0c\r\n"
                             "b\t102B\t1.4\t5\t\r\n"
                             "   ";
    EXPECT_EQ(Load(text, slots).kind, Kind::Loaded);
    EXPECT_EQ(Ids(slots), "a|b||||||");
}

TEST(ResultBlankLines, BytesBeyondAsciiAreNotBlank) {
    Slots slots{};
    const LoadOutcome outcome = Load("\xA0\r\n", slots);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "'' is not a valid floating point value");
}

struct SplitCase {
    std::string line;
    const char* message; // nullptr: the line loads
};

TEST(ResultFields, FourTabsDelimitFourFields) {
    const SplitCase cases[] = {
        {"a", "'' is not a valid floating point value"},
        {"a\t101A", "'' is not a valid floating point value"},
        {"a\t101A\t1.2", "'' is not a valid floating point value"},
        {"a\t101A\t1.2\t3", "'' is not a valid floating point value"},
        {"a\t101A\t1.2\t3\t", nullptr},
        {"a\t101A\t1.2\t3\tignored\tmore\t", nullptr},
        {"a\t101A\t1.2\t3\t2,4\tx", nullptr},
        {"a\t101A\t2,4\t3\t", "'2,4' is not a valid floating point value"},
        {"a\t101A\t1.2\tabc\t", "'abc' is not a valid floating point value"},
        {"a\t101A\t\t3\t", "'' is not a valid floating point value"},
        {"a\t101A\t1,2\tabc\t", "'1,2' is not a valid floating point value"},
        {"\t\t1.2\t3\t", nullptr},
        {"a\t101A\t 1.2 \t 3\t", nullptr},
    };
    for (const SplitCase& c : cases) {
        Slots slots{};
        const LoadOutcome outcome = Load(c.line, slots);
        if (c.message == nullptr) {
            EXPECT_EQ(outcome.kind, Kind::Loaded) << c.line << ": " << outcome.message;
            EXPECT_DOUBLE_EQ(slots[0].DD, 1.2) << c.line;
            EXPECT_DOUBLE_EQ(slots[0].Points, 3.0) << c.line;
        } else {
            EXPECT_EQ(outcome.kind, Kind::Failed) << c.line;
            EXPECT_EQ(outcome.message, c.message) << c.line;
            EXPECT_TRUE(IsEmptyRecord(slots[0])) << c.line;
        }
    }
}

TEST(ResultFields, NumberGrammar) {
    const std::pair<std::string, bool> cases[] = {
        {"2.4", true},   {" 2.4 ", true},  {"-2.4", true},    {"2e1", true},
        {"2,4", false},  {"1e400", false}, {"nan", false},    {"inf", false},
        {"0x10", false}, {"--2.4", false}, {"2\0.4"s, false}, {"2.4\0"s, false},
    };
    for (const auto& [field, valid] : cases) {
        Slots slots{};
        const LoadOutcome outcome = Load("a\t101A\t" + field + "\t60\t", slots);
        EXPECT_EQ(outcome.kind == Kind::Loaded, valid) << field;
        if (!valid) {
            EXPECT_EQ(outcome.message, "'" + field + "' is not a valid floating point value");
        }
    }
}

// A long field is quoted by its first and last bytes, cut between UTF-8 characters; the path
// never goes into this message, and nothing else of it is shortened.
TEST(ResultFields, LongFieldIsQuotedShort) {
    const std::string hundred(100, 'x');
    std::string accented = "a";
    for (int i = 0; i < 100; ++i) {
        accented += "\xC3\xA9"; // e acute: two bytes, so byte 60 is inside a character
    }
    std::string head = "a";
    std::string tail;
    for (int i = 0; i < 29; ++i) {
        head += "\xC3\xA9";
    }
    for (int i = 0; i < 15; ++i) {
        tail += "\xC3\xA9";
    }
    const std::pair<std::string, std::string> cases[] = {
        {hundred, hundred},
        {hundred + "y", std::string(60, 'x') + "..." + std::string(29, 'x') + "y"},
        {accented, head + "..." + tail},
    };
    for (const auto& [field, quoted] : cases) {
        Slots slots{};
        const LoadOutcome outcome = Load("a\t101A\t" + field + "\t60\t", slots);
        EXPECT_EQ(outcome.message, "'" + quoted + "' is not a valid floating point value");
    }
}

// Plain decimals take a quicker road than the rest, and short lines with 32 bytes ahead of
// them one quicker still; all must read every field alike, in either number field, at the
// edges of those roads (7, 8, 15 and 16 digits, a bare point, a sign, blanks, an exponent)
// and with fields that span the eight-byte steps of the line scan.
TEST(ResultFields, PlainAndOtherNumbersReadAlike) {
    const std::string numbers[] = {
        "0",
        "007.50",
        "1.",
        ".5",
        "0.1",
        "66.50",
        "+1.5",
        "1.5 ",
        "\x01"
        "2.5",
        "1e2",
        "-0",
        "1234567",
        "123456.7",
        "9.99999",
        "123456789012345",
        "99999999999999.9",
        "1234567890123456",
        "0.0000000000000001",
        "9007199254740993",
        ".",
        "1.2.3",
        "",
        "1.5\x01",
    };
    const std::string ids[] = {"7", "1234567", "12345678", "123456789012", "\xe9\xff"};
    for (const std::string& number : numbers) {
        for (const std::string& id : ids) {
            const std::string blankLine = "\r\n" + std::string(32, ' ');
            for (const std::string& line :
                 {id + "\t101A\t" + number + "\t60\t",
                  id + "\t5337D\t2.4\t" + number + "\tround 1\r\n",
                  id + "\t101A\t" + number + "\t60\t" + blankLine,
                  id + "\t5337D\t2.4\t" + number + "\tround\x02 1\n" + blankLine}) {
                Slots slots{};
                const LoadOutcome outcome = Load(line, slots);
                const auto expected = ParseNumber(number);
                ASSERT_EQ(outcome.kind == Kind::Loaded, expected.has_value()) << line;
                if (!expected)
                    continue;
                const bool inDD = line.find("101A") != std::string::npos;
                const double read = inDD ? slots[0].DD : slots[0].Points;
                EXPECT_EQ(read, *expected) << line;
                EXPECT_EQ(std::signbit(read), std::signbit(*expected)) << line;
                EXPECT_EQ(slots[0].DiverId.view(), std::string_view(id).substr(0, 10));
                EXPECT_EQ(slots[0].DiveCode.view(), inDD ? "101A" : "5337D");
            }
        }
    }
}

// A whole file of plain lines in every position against the 32-byte line window, long and
// short notes, every line end: each record must hold its line's fields as the number rules
// read them one by one.
TEST(ResultFields, WholeFileReadsEveryLineByTheNumberRules) {
    const char* const numbers[] = {"0",       "7.5", "66.50", "007.5",      "1234567",
                                   "98.25",   "1.",  ".5",    "12345678.5", "3",
                                   "81.6000", "2",   "10",    "0.05"};
    const char* const lineEnds[] = {"\r\n", "\n", "\r"};
    std::mt19937 random(7);
    const auto pick = [&random](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    struct Fields {
        std::string id, code, dd, points;
    };
    std::string text;
    std::vector<Fields> lines;
    for (int i = 0; i < 3000; ++i) {
        Fields f{std::to_string(pick(1000000) * 997 % 1000000000),
                 std::to_string(101 + pick(5000)) + "BCD"[pick(3)], numbers[pick(14)],
                 numbers[pick(14)]};
        text += f.id + "\t" + f.code + "\t" + f.dd + "\t" + f.points + "\t" +
                std::string(pick(40), 'n') + lineEnds[pick(3)];
        lines.push_back(std::move(f));
    }
    std::vector<DiveRecord> records(lines.size());
    ASSERT_EQ(LoadResultText(text, records, "M3M").kind, Kind::Loaded);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Fields& f = lines[i];
        const DiveRecord& got = records[i];
        ASSERT_TRUE(got.DiverId.view() == f.id && got.DiveCode.view() == f.code &&
                    got.DD == ParseNumber(f.dd).value() &&
                    got.Points == ParseNumber(f.points).value())
            << "line " << i << ": " << f.id << " " << f.code << " " << f.dd << " " << f.points;
    }
}

// A Ctrl+Z or a lone control byte in a line that is otherwise plain: the line is read by the
// full rules, and the text still ends at the Ctrl+Z.
TEST(ResultFields, ControlBytesInPlainLines) {
    Slots slots{};
    const LoadOutcome outcome =
        Load("a\x01\t101A\t1.5\t60\tx\x02y\r\nb\t102B\t1.6\t61\tnote\x1a\r\nc\t1\t2\t3\t", slots);
    ASSERT_EQ(outcome.kind, Kind::Loaded);
    EXPECT_EQ(outcome.filled, 2u);
    EXPECT_EQ(slots[0].DiverId.view(), "a\x01");
    EXPECT_EQ(slots[1].DiveCode.view(), "102B");
    EXPECT_EQ(slots[1].Points, 61.0);
}

TEST(ResultFields, TextFieldsAreCutNotTrimmed) {
    Slots slots{};
    ASSERT_EQ(Load("ABCDEFGHIJKL\t5337DX\t3.2\t50\t\r\n"
                   " id\t 105B\t1.3\t20\t\r\n"
                   "\xC3\x84\xFF\t\xE9\x31\t1.3\t20\t\r\n",
                   slots)
                  .kind,
              Kind::Loaded);
    EXPECT_EQ(slots[0].DiverId, "ABCDEFGHIJ");
    EXPECT_EQ(slots[0].DiveCode, "5337D");
    EXPECT_EQ(slots[1].DiverId, " id");
    EXPECT_EQ(slots[1].DiveCode, " 105B");
    EXPECT_EQ(slots[2].DiverId, "\xC3\x84\xFF");
    EXPECT_EQ(slots[2].DiveCode, "\xE9\x31");
}

TEST(ResultSlots, UnfilledSlotsStayEmpty) {
    Slots slots{};
    ASSERT_EQ(Load("a\t101A\t1.2\t3\t\r\nb\t102B\t1.4\t5\t\r\n", slots).kind, Kind::Loaded);
    EXPECT_EQ(slots[1].DiverId, "b");
    EXPECT_DOUBLE_EQ(slots[1].DD, 1.4);
    for (std::size_t i = 2; i < kSlots; ++i) {
        EXPECT_TRUE(IsEmptyRecord(slots[i])) << i;
    }
}

TEST(ResultSlots, RecordsBeforeAnErrorStay) {
    Slots slots{};
    const LoadOutcome outcome = Load(
        "a\t101A\t1.2\t3\t\r\nb\t102B\t1.4\t5\t\r\nc\t103C\tX\t7\t\r\nd\t104D\t1\t1\t\r\n", slots);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "'X' is not a valid floating point value");
    EXPECT_EQ(Ids(slots), "a|b||||||");
    EXPECT_TRUE(IsEmptyRecord(slots[2]));
    EXPECT_EQ(outcome.filled, 2u) << "the records before the error count as filled";
}

TEST(ResultSlots, SurplusLinesNeverPassTheLastSlot) {
    std::array<DiveRecord, 3> storage{};
    const std::span<DiveRecord> slots(storage.data(), 2);
    const std::string two = "a\t101A\t1.2\t3\t\r\nb\t102B\t1.4\t5\t\r\n";

    const LoadOutcome full = LoadResultText(two + "  \r\n\r\n", slots, "p");
    EXPECT_EQ(full.kind, Kind::Loaded);
    EXPECT_EQ(full.filled, 2u);

    const LoadOutcome outcome = LoadResultText(two + "c\t103C\t1.6\t7\t\r\n", slots, "dir/W3M");
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "Too many dives in dir/W3M: at most 2");
    EXPECT_EQ(storage[1].DiverId, "b");
    EXPECT_TRUE(IsEmptyRecord(storage[2]));
}

TEST(ResultFiles, MissingFileNamesThePath) {
    TempDir dir;
    Slots slots{};
    const LoadOutcome outcome = LoadResultFile(dir.File("M3M"), slots);
    EXPECT_EQ(outcome.kind, Kind::MissingFile);
    EXPECT_EQ(outcome.path, dir.File("M3M"));
}

TEST(ResultFiles, FolderInPlaceOfAFileFails) {
    TempDir dir;
    fs::create_directory(dir.File("M3M"));
    Slots slots{};
    const LoadOutcome outcome = LoadResultFile(dir.File("M3M"), slots);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_NE(outcome.message.find(dir.File("M3M")), std::string::npos) << outcome.message;
}

TEST(ResultFiles, FifoInPlaceOfAFileFailsAtOnce) {
    TempDir dir;
    const std::string path = dir.File("M3M");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    Slots slots{};
    const LoadOutcome outcome =
        WithoutWaitingForAWriter(path, [&] { return LoadResultFile(path, slots); });
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_NE(outcome.message.find(path), std::string::npos) << outcome.message;
}

TEST(ResultFiles, UnreadableFileFails) {
    TempDir dir;
    dir.Write("M3M", "a\t101A\t1.2\t3\t\r\n");
    fs::permissions(dir.File("M3M"), fs::perms::none);
    const auto result = testing::AsOrdinaryUser({dir.Path(), dir.File("M3M")}, [&dir] {
        Slots slots{};
        const LoadOutcome outcome = LoadResultFile(dir.File("M3M"), slots);
        return std::to_string(static_cast<int>(outcome.kind)) + "|" + outcome.message + "|" +
               (IsEmptyRecord(slots[0]) ? "empty" : "filled");
    });
    EXPECT_EQ(result, std::to_string(static_cast<int>(Kind::Failed)) + "|Cannot read " +
                          dir.File("M3M") + ": Permission denied|empty");
}

TEST(ResultFiles, FileOnDiskReadsLikeText) {
    TempDir dir;
    dir.Write("M3M", "a\t101A\t1.2\t3\t\r\n\r\nb\t102B\t1.4\t5\t\nc\t103C\t1.6\t7\t\r\x1a\r\n");
    Slots slots{};
    const LoadOutcome outcome = LoadResultFile(dir.File("M3M"), slots);
    EXPECT_EQ(outcome.kind, Kind::Loaded);
    EXPECT_EQ(Ids(slots), "a|b|c|||||");
    EXPECT_EQ(outcome.filled, 3u) << "blank lines fill no slot";
}

TEST(ResultFiles, EachEventGoesToItsOwnArray) {
    TempDir dir;
    for (const EventInfo& event : kEvents) {
        dir.Write(event.id, "id" + std::string(event.id) + "\t101A\t1.2\t3\t\r\n");
    }
    auto store = std::make_unique<RecordStore>();
    EXPECT_EQ(LoadResultFiles(dir.Path(), *store).kind, Kind::Loaded);
    for (int i = 1; i <= kEventCount; ++i) {
        EXPECT_EQ(store->Dives(i)[0].DiverId.view(), "id" + std::string(EventByIndex(i).id));
        EXPECT_EQ(store->Dives(i).size(), static_cast<std::size_t>(EventByIndex(i).capacity));
        EXPECT_TRUE(IsEmptyRecord(store->Dives(i)[1]));
        EXPECT_EQ(store->Filled(i).data(), store->Dives(i).data());
        EXPECT_EQ(store->Filled(i).size(), 1u);
    }
}

TEST(ResultFiles, MissingFileStopsTheLoad) {
    TempDir dir;
    dir.Write("M3M", "m\t101A\t1.2\t3\t\r\n");
    dir.Write("M10M", "p\t101A\t1.2\t3\t\r\n");
    auto store = std::make_unique<RecordStore>();
    const LoadOutcome outcome = LoadResultFiles(dir.Path(), *store);
    EXPECT_EQ(outcome.kind, Kind::MissingFile);
    EXPECT_EQ(outcome.path, dir.File("W3M"));
    EXPECT_EQ(store->M3MDives[0].DiverId, "m");
    EXPECT_TRUE(IsEmptyRecord(store->M10MDives[0]));
}

TEST(ResultFiles, FailedFileStopsTheLoad) {
    TempDir dir;
    for (const EventInfo& event : kEvents) {
        dir.Write(event.id, "x\t101A\t1.2\t3\t\r\n");
    }
    dir.Write("W3M", "w\t101A\t1.2\t3\t\r\nbad line\r\n");
    auto store = std::make_unique<RecordStore>();
    const LoadOutcome outcome = LoadResultFiles(dir.Path(), *store);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "'' is not a valid floating point value");
    EXPECT_EQ(store->W3MDives[0].DiverId, "w");
    EXPECT_TRUE(IsEmptyRecord(store->M10MDives[0]));
    EXPECT_EQ(store->Filled(2).size(), 1u);
    EXPECT_EQ(store->Filled(3).size(), 0u);
}

TEST(ResultFiles, JoinPathUsesOneSlash) {
    EXPECT_EQ(JoinPath("/data", "M3M"), "/data/M3M");
    EXPECT_EQ(JoinPath("/data/", "W10M"), "/data/W10M");
    EXPECT_EQ(JoinPath("/", "M3M"), "/M3M");
}

} // namespace
} // namespace corvane
