// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled sample results: they must load into the record arrays exactly and make sense
// against the catalogue and the roster that ship with the program.

#include "rawdata/catalogue.h"
#include "rawdata/roster.h"
#include "store/events.h"
#include "store/result_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

std::string ReadBytes(std::string_view eventId) {
    std::ifstream in(std::string(CORVANE_SAMPLE_DIR) + "/" + std::string(eventId),
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Line {
    std::string id;
    std::string code;
    double dd = NAN;
    double points = NAN;
};

// NaN when the text is not a plain decimal number.
double Number(std::string_view text) {
    double value = NAN;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : NAN;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line); // what follows the last tab
    return fields;
}

// The lines up to each CR LF; the format test checks that nothing else ends a line.
std::vector<std::string_view> Lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    for (std::size_t end = bytes.find("\r\n"); end != std::string_view::npos;
         end = bytes.find("\r\n")) {
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 2);
    }
    if (!bytes.empty())
        lines.push_back(bytes);
    return lines;
}

Line ParseLine(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.size() < 4)
        return {};
    return {std::string(fields[0]), std::string(fields[1]), Number(fields[2]), Number(fields[3])};
}

// The four files, read once for all tests.
class SampleData : public testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const EventInfo& event : kEvents) {
            std::string& bytes = bytes_[std::string(event.id)];
            bytes = ReadBytes(event.id);
            std::vector<Line>& lines = lines_[std::string(event.id)];
            for (std::string_view text : Lines(bytes))
                lines.push_back(ParseLine(text));
        }
        roster_ = BuiltInRoster();
    }

    static int EventIndex(const EventInfo& event) {
        return static_cast<int>(&event - kEvents.data()) + 1;
    }

    static std::map<std::string, std::string> bytes_;
    static std::map<std::string, std::vector<Line>> lines_;
    static DiverRoster roster_;
};

std::map<std::string, std::string> SampleData::bytes_;
std::map<std::string, std::vector<Line>> SampleData::lines_;
DiverRoster SampleData::roster_;

// Every line, the last included, ends with CR LF and holds id, code, DD and points, each
// followed by a tab and nothing after the fourth.
TEST_F(SampleData, LinesAreCrlfEndedAndHoldFourTabbedFields) {
    for (const EventInfo& event : kEvents) {
        const std::string& bytes = bytes_[std::string(event.id)];
        ASSERT_FALSE(bytes.empty()) << event.id << " is missing or empty";
        EXPECT_TRUE(bytes.ends_with("\r\n")) << event.id;
        EXPECT_EQ(bytes.find('\x1a'), std::string::npos) << event.id;
        for (std::size_t at = bytes.find_first_of("\r\n"); at != std::string::npos;
             at = bytes.find_first_of("\r\n", at + 2)) {
            ASSERT_EQ(bytes.compare(at, 2, "\r\n"), 0) << event.id << " byte " << at;
        }
        int lineNo = 0;
        for (std::string_view line : Lines(bytes)) {
            ++lineNo;
            const std::vector<std::string_view> fields = Fields(line);
            ASSERT_EQ(fields.size(), 5u) << event.id << " line " << lineNo;
            EXPECT_TRUE(fields[4].empty()) << event.id << " line " << lineNo;
            EXPECT_FALSE(std::isnan(Number(fields[2])) || std::isnan(Number(fields[3])))
                << event.id << " line " << lineNo;
        }
    }
}

TEST_F(SampleData, EachFileFillsItsRecordArrayExactly) {
    for (const EventInfo& event : kEvents) {
        const std::vector<Line>& lines = lines_[std::string(event.id)];
        EXPECT_EQ(static_cast<int>(lines.size()), event.capacity) << event.id;
        for (const Line& line : lines) {
            EXPECT_TRUE(!line.id.empty() && line.id.size() <= 10) << event.id << " " << line.id;
            EXPECT_TRUE(line.code.size() == 4 || line.code.size() == 5) << event.id;
        }
    }
}

TEST_F(SampleData, TheProgramsLoaderFillsEverySlotWithTheLines) {
    auto store = std::make_unique<RecordStore>();
    const LoadOutcome outcome = LoadResultFiles(CORVANE_SAMPLE_DIR, *store);
    ASSERT_EQ(outcome.kind, LoadOutcome::Kind::Loaded) << outcome.path << ": " << outcome.message;
    for (const EventInfo& event : kEvents) {
        const std::span<const DiveRecord> slots = store->Dives(EventIndex(event));
        const std::vector<Line>& lines = lines_[std::string(event.id)];
        ASSERT_EQ(slots.size(), lines.size()) << event.id;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            ASSERT_TRUE(slots[i].DiverId == lines[i].id && slots[i].DiveCode == lines[i].code &&
                        slots[i].DD == lines[i].dd && slots[i].Points == lines[i].points)
                << event.id << " slot " << i + 1;
        }
    }
}

TEST_F(SampleData, EveryDiveHasADDOnTheEventsApparatus) {
    for (const EventInfo& event : kEvents) {
        for (const Line& line : lines_[std::string(event.id)]) {
            const auto dd = CatalogueDD(line.code, EventIndex(event));
            ASSERT_TRUE(dd.has_value()) << event.id << " " << line.code;
            EXPECT_NE(*dd, "0.0") << event.id << " " << line.code;
        }
    }
}

TEST_F(SampleData, AllLinesOfADiveStandTogether) {
    for (const EventInfo& event : kEvents) {
        std::set<std::string> finished;
        const std::vector<Line>& lines = lines_[std::string(event.id)];
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (lines[i].code == lines[i - 1].code)
                continue;
            finished.insert(lines[i - 1].code);
            EXPECT_FALSE(finished.contains(lines[i].code))
                << event.id << " line " << i + 1 << ": " << lines[i].code << " again";
        }
    }
}

// The record DD may come from an older table, a tenth off; the score of each record, taken
// the way the event table takes it (the catalogue DD for a group's first record, the
// record's own DD after that), is one judge's award.
TEST_F(SampleData, DDsFollowTheCatalogueAndScoresAreAwards) {
    for (const EventInfo& event : kEvents) {
        const std::vector<Line>& lines = lines_[std::string(event.id)];
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Line& line = lines[i];
            const auto catalogueText = CatalogueDD(line.code, EventIndex(event));
            if (!catalogueText)
                continue; // an unknown code fails the catalogue test
            const double catalogue = Number(*catalogueText);
            SCOPED_TRACE(std::string(event.id) + " line " + std::to_string(i + 1));
            EXPECT_LE(std::abs(line.dd - catalogue), 0.1 + 1e-9);
            const bool first = i == 0 || lines[i - 1].code != line.code;
            const double score = line.points / (first ? catalogue : line.dd) / 3;
            EXPECT_GE(score, 0.0);
            EXPECT_LE(score, 10.0 + 1e-9);
            // Three awards in half points: points / DD is a multiple of 0.5.
            const double halves = line.points / line.dd * 2;
            EXPECT_NEAR(halves, std::round(halves), 1e-6);
        }
    }
}

TEST_F(SampleData, DiversAreInTheRosterBarAFewAndKeepToOneSex) {
    std::map<std::string, std::set<char>> sexes; // 'M' or 'W' by event
    for (const EventInfo& event : kEvents) {
        std::set<std::string> unknown;
        for (const Line& line : lines_[std::string(event.id)]) {
            sexes[line.id].insert(event.id.front());
            if (!roster_.FindDiver(line.id))
                unknown.insert(line.id);
        }
        EXPECT_GE(unknown.size(), 1u) << event.id;
        EXPECT_LE(unknown.size(), 8u) << event.id;
    }
    for (const auto& [id, seen] : sexes)
        EXPECT_EQ(seen.size(), 1u) << id << " competes in men's and women's events";
}

TEST_F(SampleData, BothIdsOfTheTwiceListedDiverHaveDives) {
    std::map<std::string, std::vector<std::string>> idsByLabel;
    for (const DiverEntry& diver : roster_.Rows())
        idsByLabel[DiverLabel(diver)].push_back(diver.Id.str());
    std::set<std::string> withDives;
    for (const auto& [event, lines] : lines_) {
        for (const Line& line : lines)
            withDives.insert(line.id);
    }
    int twiceListed = 0;
    for (const auto& [label, ids] : idsByLabel) {
        if (ids.size() < 2)
            continue;
        ++twiceListed;
        for (const std::string& id : ids)
            EXPECT_TRUE(withDives.contains(id)) << label << " id " << id;
    }
    EXPECT_EQ(twiceListed, 1);
}

TEST_F(SampleData, SomeRosterDiversPerformOnlyOneDive) {
    std::map<std::string, std::set<std::string>> codesById;
    for (const auto& [event, lines] : lines_) {
        for (const Line& line : lines)
            codesById[line.id].insert(line.code);
    }
    int singleDive = 0;
    for (const auto& [id, codes] : codesById)
        singleDive += codes.size() == 1 && roster_.FindDiver(id) ? 1 : 0;
    EXPECT_GE(singleDive, 2);
}

} // namespace
} // namespace corvane
