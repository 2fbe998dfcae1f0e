// SPDX-License-Identifier: GPL-3.0-or-later
// Results books written by the test book writer, read back by the importer: every performed
// dive of the four individual events exactly as written, nothing more, in both header styles,
// with seven or five judges, the footer on every page or on a round's last page.

#include "import/dive_import.h"
#include "import/results_book.h"
#include "tools/results_book_writer.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace corvane {
namespace {

// A dive as one comparable line: everything a reader must get right.
std::string DiveLine(const SourceDive& dive) {
    std::ostringstream line;
    line << dive.event << " | " << dive.round << " | " << dive.surname << " | " << dive.given
         << " | " << dive.nation << " | " << dive.diveNumber << " | " << dive.code << " | "
         << dive.dd << " |";
    for (const std::string& award : dive.awards) {
        line << ' ' << award;
    }
    line << " | " << (dive.penalty ? "*" : "") << dive.points;
    return line.str();
}

std::multiset<std::string> DiveLines(const std::vector<SourceDive>& dives) {
    std::multiset<std::string> lines;
    for (const SourceDive& dive : dives) {
        lines.insert(DiveLine(dive));
    }
    return lines;
}

// The lines of `a` not in `b`, the first few, for a message a reader of the log can act on.
std::string Missing(const std::multiset<std::string>& a, const std::multiset<std::string>& b) {
    std::vector<std::string> missing;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(missing));
    std::string text = std::to_string(missing.size()) + " dive(s):\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(missing.size(), 12); ++i) {
        text += "  " + missing[i] + "\n";
    }
    return text;
}

using testing::ReadBytes;
using testing::TempDir;

struct RoundTripCase {
    const char* name;
    ResultsBookOptions options;
};

void PrintTo(const RoundTripCase& test, std::ostream* out) {
    *out << test.name;
}

ResultsBookOptions Options(std::uint64_t seed, BookHeaderStyle style, int judges,
                           TimekeeperFooter footer, bool secondLanguage) {
    ResultsBookOptions options;
    options.seed = seed;
    options.style = style;
    options.judges = judges;
    options.footer = footer;
    options.secondLanguage = secondLanguage;
    return options;
}

// A book as written and as read.
struct Trip {
    ResultsBook book;
    BookOutcome outcome;
};

// Each case's book is written and read once, for all the tests that look at it.
const Trip& TripOf(const RoundTripCase& test) {
    static std::map<std::string, Trip> trips;
    auto found = trips.find(test.name);
    if (found == trips.end()) {
        const TempDir folder;
        Trip trip{PlanResultsBook(test.options), {}};
        const auto path = folder.Path() / "book.pdf";
        const auto written = WriteResultsBookPdf(trip.book, path.string());
        trip.outcome =
            written ? BookOutcome{written, {}} : ReadResultsBook(ReadBytes(path), "book.pdf");
        found = trips.emplace(test.name, std::move(trip)).first;
    }
    return found->second;
}

class BookRoundTrip : public ::testing::TestWithParam<RoundTripCase> {
protected:
    void SetUp() override {
        const Trip& trip = TripOf(GetParam());
        ASSERT_EQ(trip.outcome.error, std::nullopt) << *trip.outcome.error;
        book_ = &trip.book;
        outcome_ = &trip.outcome;
    }

    const ResultsBook* book_ = nullptr;
    const BookOutcome* outcome_ = nullptr;
};

TEST_P(BookRoundTrip, EveryPerformedDiveReadExactlyOthersCounted) {
    const auto written = DiveLines(book_->expected.dives);
    const auto read = DiveLines(outcome_->book.reading.dives);
    EXPECT_TRUE(written == read) << "written, not read: " << Missing(written, read)
                                 << "read, not written: " << Missing(read, written);
    EXPECT_TRUE(outcome_->book.reading.faults.empty())
        << outcome_->book.reading.faults.size()
        << " fault(s), the first: " << outcome_->book.reading.faults.front();
    int unperformed = 0;
    for (const PageReading& page : outcome_->book.pages) {
        unperformed += page.unperformed;
    }
    EXPECT_EQ(unperformed, static_cast<int>(book_->unperformed.size()))
        << "dives listed without awards";
}

// Every page counted as what it is; the results summary of a synchronised or 1 m event is a
// summary, not that event's detailed results.
TEST_P(BookRoundTrip, PagesKnownByKind) {
    const std::map<BookPageKind, PageKind> kinds = {
        {BookPageKind::DetailedResults, PageKind::DetailedResults},
        {BookPageKind::OtherEventResults, PageKind::OtherEvent},
        {BookPageKind::StartList, PageKind::StartList},
        {BookPageKind::JudgesPanel, PageKind::JudgesPanel},
        {BookPageKind::Summary, PageKind::Other},
        {BookPageKind::Cover, PageKind::Cover},
        {BookPageKind::MedalStandings, PageKind::Other},
    };
    const auto& pages = outcome_->book.pages;
    ASSERT_EQ(pages.size(), book_->pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(PageKindText(pages[p].kind), PageKindText(kinds.at(book_->pages[p].kind)))
            << "page " << p + 1;
    }
}

// Title and dates as printed, also where the cover prints "Results Book" larger than the
// title (even seeds) and the pages' headers do not name the competition (start time style).
TEST_P(BookRoundTrip, TitleAndDatesAsPrintedOnTheCover) {
    EXPECT_EQ(outcome_->book.reading.title, book_->expected.title);
    EXPECT_EQ(outcome_->book.reading.dates, book_->expected.dates);
}

INSTANTIATE_TEST_SUITE_P(
    Books, BookRoundTrip,
    ::testing::Values(
        RoundTripCase{"EventLineTwoLanguages", Options(11, BookHeaderStyle::EventLine, 7,
                                                       TimekeeperFooter::EveryPage, true)},
        RoundTripCase{"EventLineOneLanguage", Options(12, BookHeaderStyle::EventLine, 7,
                                                      TimekeeperFooter::RoundLastPage, false)},
        RoundTripCase{"StartTimeLine", Options(13, BookHeaderStyle::StartTimeLine, 7,
                                               TimekeeperFooter::RoundLastPage, true)},
        RoundTripCase{"StartTimeLineFiveJudges", Options(14, BookHeaderStyle::StartTimeLine, 5,
                                                         TimekeeperFooter::EveryPage, true)},
        RoundTripCase{"EventLineFiveJudges", Options(15, BookHeaderStyle::EventLine, 5,
                                                     TimekeeperFooter::EveryPage, false)}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

// The dives of the folder's four result files, with the names of Divers.tsv:
// "event | surname | given | nation | code | dd | points".
constexpr const char* kEventIds[] = {"M3M", "W3M", "M10M", "W10M"};

// The fields of each line of a tab-separated text with CRLF or LF line ends.
std::vector<std::vector<std::string>> TabRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        std::vector<std::string> fields(1);
        for (char c : line) {
            if (c == '\t') {
                fields.emplace_back();
            } else {
                fields.back() += c;
            }
        }
        rows.push_back(std::move(fields));
    }
    return rows;
}

// Divers.tsv: id -> "surname|given|nation".
std::map<std::string, std::string> Roster(const std::filesystem::path& folder) {
    std::map<std::string, std::string> divers;
    const auto rows = TabRows(ReadBytes(folder / "Divers.tsv"));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        divers[rows[i][0]] = rows[i][1] + "|" + rows[i][2] + "|" + rows[i][3];
    }
    return divers;
}

// The dives of the folder's four result files: "event|surname|given|nation|code|dd|points".
std::multiset<std::string> ResultFileLines(const std::filesystem::path& folder) {
    auto divers = Roster(folder);
    std::multiset<std::string> lines;
    for (int event = 1; event <= 4; ++event) {
        for (const auto& row : TabRows(ReadBytes(folder / kEventIds[event - 1]))) {
            lines.insert(std::to_string(event) + "|" + divers[row.at(0)] + "|" + row.at(1) + "|" +
                         row.at(2) + "|" + row.at(3));
        }
    }
    return lines;
}

// The dives of Scores.tsv, every field, the diver by name: "event|round|surname|given|
// nation|dive number|code|dd|J1|...|J7|penalty|points".
std::multiset<std::string> ScoresLines(const std::filesystem::path& folder) {
    auto divers = Roster(folder);
    std::multiset<std::string> lines;
    const auto rows = TabRows(ReadBytes(folder / "Scores.tsv"));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& row = rows[i];
        std::string line = row.at(1) + "|" + row.at(2) + "|" + divers[row.at(3)];
        for (std::size_t f = 4; f < row.size(); ++f) {
            line += "|" + row[f];
        }
        lines.insert(line);
    }
    return lines;
}

// A name as the roster keeps it: at most `capacity` characters, no blank left at the end.
std::string Cut(std::string text, std::size_t capacity) {
    text.resize(std::min(text.size(), capacity));
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string ExpectedScoresLine(const SourceDive& dive) {
    std::string line = std::string(kEventIds[dive.event - 1]) + "|" + dive.round + "|" +
                       Cut(dive.surname, 25) + "|" + Cut(dive.given, 20) + "|" + dive.nation + "|" +
                       std::to_string(dive.diveNumber) + "|" + dive.code + "|" + dive.dd;
    for (std::size_t j = 0; j < kMaxAwards; ++j) {
        line += "|" + (j < dive.awards.size() ? dive.awards[j] : "");
    }
    return line + "|" + (dive.penalty ? "*" : "") + "|" + dive.points;
}

// dive-import on a book: the result files and Scores.tsv hold exactly the book's performed
// dives, under names cut to the roster's 25 and 20 characters.
TEST(BookImport, FolderHoldsExactlyTheBooksDives) {
    const TempDir folder;
    ResultsBookOptions options;
    options.seed = 21;
    options.style = BookHeaderStyle::StartTimeLine;
    options.judges = 5;
    const ResultsBook book = PlanResultsBook(options);
    const auto pdf = folder.Path() / "book.pdf";
    ASSERT_EQ(WriteResultsBookPdf(book, pdf.string()), std::nullopt);
    std::ostringstream out, err;
    const int status =
        RunDiveImport({"--out", (folder.Path() / "data").string(), pdf.string()}, out, err);
    ASSERT_EQ(status, 0) << err.str();
    std::multiset<std::string> results, scores;
    for (const SourceDive& dive : book.expected.dives) {
        results.insert(std::to_string(dive.event) + "|" + Cut(dive.surname, 25) + "|" +
                       Cut(dive.given, 20) + "|" + dive.nation + "|" + dive.code + "|" + dive.dd +
                       "|" + dive.points);
        scores.insert(ExpectedScoresLine(dive));
    }
    const auto imported = ResultFileLines(folder.Path() / "data");
    EXPECT_TRUE(imported == results)
        << "in the book, not in the result files: " << Missing(results, imported)
        << "in the result files, not in the book: " << Missing(imported, results);
    const auto kept = ScoresLines(folder.Path() / "data");
    EXPECT_TRUE(kept == scores) << "in the book, not in Scores.tsv: " << Missing(scores, kept)
                                << "in Scores.tsv, not in the book: " << Missing(kept, scores);
}

} // namespace
} // namespace corvane
