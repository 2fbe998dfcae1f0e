// SPDX-License-Identifier: GPL-3.0-or-later
// The test book writer: the dives it says it printed must be dives a correct reader can
// accept (points that add up to the cent), and every book must hold the cases the reader is
// tested on.

#include "tools/results_book_writer.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace corvane {
namespace {

// "8.5" -> 17 halves, "10" -> 20.
int Halves(const std::string& award) {
    const auto dot = award.find('.');
    const int whole = std::stoi(award.substr(0, dot));
    return whole * 2 + (dot != std::string::npos && award[dot + 1] == '5' ? 1 : 0);
}

// "81.60" -> 8160; "3.4" -> 34 (tenths).
int Digits(const std::string& number) {
    std::string digits = number;
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    return std::stoi(digits);
}

// Points in cents from the printed texts alone: DD x middle three awards, less 2 points a
// counted judge under a penalty.
int ExpectedCents(const SourceDive& dive) {
    std::vector<int> halves;
    for (const std::string& award : dive.awards) {
        halves.push_back(Halves(award));
    }
    std::sort(halves.begin(), halves.end());
    const std::size_t dropped = halves.size() == 7 ? 2 : 1;
    const int middle = halves[dropped] + halves[dropped + 1] + halves[dropped + 2];
    return Digits(dive.dd) * std::max(0, middle - (dive.penalty ? 12 : 0)) * 5;
}

bool PlainCapitals(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || c == ' ' || c == '-' || c == '\'' || c == '.';
    });
}

struct BookCase {
    const char* name;
    ResultsBookOptions options;
};

class ResultsBookWriter : public ::testing::TestWithParam<BookCase> {};

TEST_P(ResultsBookWriter, PrintedDivesAddUpAndCoverTheReadersCases) {
    const ResultsBookOptions& options = GetParam().options;
    const ResultsBook book = PlanResultsBook(options);
    ASSERT_FALSE(book.expected.dives.empty());
    int penalties = 0, failed = 0, tens = 0, particles = 0, diveOffs = 0;
    for (const SourceDive& dive : book.expected.dives) {
        ASSERT_EQ(dive.awards.size(), static_cast<std::size_t>(options.judges));
        EXPECT_EQ(Digits(dive.points), ExpectedCents(dive))
            << dive.surname << " " << dive.code << " " << dive.round;
        EXPECT_TRUE(PlainCapitals(dive.surname) && PlainCapitals(dive.given)) << dive.surname;
        EXPECT_TRUE(dive.event >= 1 && dive.event <= 4);
        penalties += dive.penalty;
        failed += dive.points == "0.00";
        tens += std::count(dive.awards.begin(), dive.awards.end(), "10") > 0;
        particles += dive.surname.rfind("VAN ", 0) == 0 || dive.surname.rfind("DEL ", 0) == 0;
        diveOffs += dive.round == "Dive Off";
    }
    // the event-line books split one event's semifinal in two, with a dive-off after it
    EXPECT_EQ(diveOffs, options.style == BookHeaderStyle::EventLine ? 2 : 0);
    EXPECT_GE(penalties, 4);
    EXPECT_GE(failed, 4);
    EXPECT_GE(tens, 4);
    EXPECT_GT(particles, 0);
    // two withdrawn divers of each event leave dives listed without awards
    EXPECT_GE(book.unperformed.size(), 4u);
    for (const SourceDive& dive : book.unperformed) {
        EXPECT_TRUE(dive.awards.empty() && dive.points.empty());
    }
}

TEST_P(ResultsBookWriter, SameSeedSameBook) {
    const ResultsBook a = PlanResultsBook(GetParam().options);
    const ResultsBook b = PlanResultsBook(GetParam().options);
    ASSERT_EQ(a.pages.size(), b.pages.size());
    ASSERT_EQ(a.expected.dives.size(), b.expected.dives.size());
    for (std::size_t i = 0; i < a.expected.dives.size(); ++i) {
        EXPECT_EQ(a.expected.dives[i].points, b.expected.dives[i].points);
    }
}

ResultsBookOptions Options(std::uint64_t seed, BookHeaderStyle style, int judges,
                           TimekeeperFooter footer) {
    ResultsBookOptions options;
    options.seed = seed;
    options.style = style;
    options.judges = judges;
    options.footer = footer;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Books, ResultsBookWriter,
    ::testing::Values(BookCase{"EventLine", Options(1, BookHeaderStyle::EventLine, 7,
                                                    TimekeeperFooter::EveryPage)},
                      BookCase{"StartTime", Options(2, BookHeaderStyle::StartTimeLine, 7,
                                                    TimekeeperFooter::RoundLastPage)},
                      BookCase{"FiveJudges", Options(3, BookHeaderStyle::EventLine, 5,
                                                     TimekeeperFooter::RoundLastPage)}),
    [](const ::testing::TestParamInfo<BookCase>& info) { return info.param.name; });

TEST(ResultsBookWriterPages, AskedPageCountIsMetExactly) {
    ResultsBookOptions options;
    options.pages = 160;
    const ResultsBook book = PlanResultsBook(options);
    EXPECT_EQ(book.pages.size(), 160u);
    EXPECT_GT(book.expected.dives.size(), 1500u); // mostly pages a reader reads
}

TEST(ResultsBookWriterPdf, WritesAPdfOrSaysWhyNot) {
    const testing::TempDir temp;
    const auto& folder = temp.Path();
    const ResultsBook book = PlanResultsBook(ResultsBookOptions{});
    const auto path = folder / "book.pdf";
    EXPECT_EQ(WriteResultsBookPdf(book, path.string()), std::nullopt);
    std::ifstream in(path, std::ios::binary);
    std::string start(5, '\0');
    in.read(start.data(), 5);
    EXPECT_EQ(start, "%PDF-");
    const auto message = WriteResultsBookPdf(book, (folder / "missing" / "book.pdf").string());
    ASSERT_TRUE(message.has_value());
    EXPECT_NE(message->find("missing/book.pdf"), std::string::npos);
}

} // namespace
} // namespace corvane
