// SPDX-License-Identifier: GPL-3.0-or-later
// Results book pages read from word boxes alone: the table's rows and columns, the heading,
// what a page is, and a book's pages joined.

#include "import/results_book.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvane {
namespace {

constexpr double kHeight = 8.9;

// Writes a page the way a results book lays it out: words at given places, numbers right
// aligned under their column's header.
class PageWriter {
public:
    void Word(double x, double y, std::string text, double height = kHeight) {
        const double width = 4.0 * static_cast<double>(text.size());
        words_.push_back({std::move(text), x, y, width, height});
    }
    void Words(double x, double y, const std::string& text, double height = kHeight) {
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = std::min(text.find(' ', at), text.size());
            Word(x, y, text.substr(at, end - at), height);
            x += 4.0 * static_cast<double>(end - at) + 3;
            at = end + 1;
        }
    }
    void RightAligned(double right, double y, const std::string& text) {
        if (!text.empty())
            Word(right - 4.0 * static_cast<double>(text.size()), y, text);
    }
    // The heading: an event line with its round, or the older style of the event name on a
    // line of its own and the round beside the start time.
    void Heading(const std::string& event, const std::string& round, bool older = false) {
        Words(180, 15, "World Series 2015", 14);
        if (older) {
            Words(400, 46, event, 10);
            Words(96, 73, "Start Time 15:30");
            Word(450, 71, round, 10);
        } else {
            Words(83, 85, "Event 206 " + event, 12);
            Words(450, 85, round, 12);
        }
        Words(250, 128, "Detailed Results", 12);
    }
    void ColumnHeader(int judges = 7, const std::string& judge = "J") {
        Words(222, 165, "Dive");
        Words(299, 165, "Judge's Score");
        Word(53, 170, "Rank");
        Word(78, 170, "Name");
        Word(171, 170, "NAT");
        Word(249, 170, "DD");
        Word(226, 175, "No.");
        for (int j = 1; j <= judges; ++j)
            Word(269 + 18 * (j - 1), 175, judge + std::to_string(j));
        const std::vector<std::pair<double, std::string>> stacked = {{398, "Dive Points"},
                                                                     {430, "Dive Rank"},
                                                                     {460, "Total Points"},
                                                                     {490, "Overall Rank"},
                                                                     {525, "Points Behind"}};
        for (const auto& [x, label] : stacked) {
            Word(x, 165, label.substr(0, label.find(' ')));
            Word(x - 2, 175, label.substr(label.find(' ') + 1));
        }
        judges_ = judges;
    }
    void Diver(double y, const std::string& rank, const std::string& name, const std::string& nat) {
        RightAligned(72, y, rank);
        Words(78.5, y, name);
        Word(171, y, nat);
    }
    // A dive line: code, DD, awards, points (maybe with "*"), dive rank, total, overall rank,
    // points behind, each under its column.
    void Dive(double y, const std::vector<std::string>& cells) {
        static const double rights[] = {240, 258, 0, 420, 444, 482, 504, 547};
        RightAligned(rights[0], y, cells.at(0));
        RightAligned(rights[1], y, cells.at(1));
        std::size_t next = 2;
        for (int j = 0; j < judges_ && next < cells.size(); ++j, ++next)
            RightAligned(280 + 18 * j, y, cells[next]);
        for (int column = 3; column < 8 && next < cells.size(); ++column, ++next)
            RightAligned(rights[column], y, cells[next]);
    }
    const PageWords& Page() const { return words_; }

private:
    PageWords words_;
    int judges_ = 7;
};

std::vector<std::string> Seven(const std::string& code, const std::string& dd,
                               const std::string& awards, const std::vector<std::string>& rest) {
    std::vector<std::string> cells{code, dd};
    for (std::size_t at = 0; at < awards.size();) {
        const std::size_t end = std::min(awards.find(' ', at), awards.size());
        cells.push_back(awards.substr(at, end - at));
        at = end + 1;
    }
    cells.insert(cells.end(), rest.begin(), rest.end());
    return cells;
}

PageWriter ResultsPage(const std::string& event = "Men's 3m Springboard",
                       const std::string& round = "Semifinal A", int judges = 7,
                       const std::string& judge = "J") {
    PageWriter page;
    page.Heading(event, round);
    page.ColumnHeader(judges, judge);
    return page;
}

TEST(ResultsBookPage, ReadsEachDiveOfADiversBlockWithItsColumns) {
    PageWriter page = ResultsPage();
    page.Diver(185, "1", "LOS Emil", "CHN");
    page.Dive(184.9,
              Seven("407C", "3.4", "8.5 8.0 7.5 8.0 8.0 8.0 7.5", {"81.60", "=1", "81.60", "=1"}));
    page.Dive(193.9, Seven("5154B", "3.4", "8.5 8.5 9.0 8.5 8.5 8.5 10",
                           {"86.70", "1", "168.30", "1", "1.45"}));
    const PageReading read = ReadBookPage(page.Page());
    ASSERT_EQ(read.kind, PageKind::DetailedResults);
    EXPECT_EQ(read.event, 1);
    EXPECT_EQ(read.round, "Semifinal A");
    ASSERT_EQ(read.dives.size(), 2u) << (read.faults.empty() ? "" : read.faults[0]);
    const PrintedDive& second = read.dives[1];
    EXPECT_EQ(second.name, "LOS Emil");
    EXPECT_EQ(second.rank, "1");
    EXPECT_EQ(second.dive.nation, "CHN");
    EXPECT_EQ(second.dive.diveNumber, 2);
    EXPECT_EQ(second.dive.code, "5154B");
    EXPECT_EQ(second.dive.dd, "3.4");
    EXPECT_EQ(second.dive.awards,
              (std::vector<std::string>{"8.5", "8.5", "9.0", "8.5", "8.5", "8.5", "10"}));
    EXPECT_EQ(second.dive.points, "86.70");
    EXPECT_EQ(second.total, "168.30");
    EXPECT_EQ(second.behind, "1.45");
    EXPECT_EQ(read.dives[0].diveRank, "=1");
    EXPECT_EQ(read.dives[0].overallRank, "=1");
    EXPECT_TRUE(read.faults.empty());
}

// Rows of one diver's block, as a table of cases: what the page prints, what is read.
struct BlockCase {
    const char* what;
    std::function<void(PageWriter&)> write;
    std::vector<std::string> names; // per dive read
    std::vector<std::string> points;
    int unperformed;
    std::size_t faults;
    bool penaltyOnSecond = false;
    bool withdrawn = false;
};

TEST(ResultsBookPage, ReadsTheRowsOfDiverBlocks) {
    const std::vector<BlockCase> cases = {
        {"name wrapped onto the second and third lines of the block",
         [](PageWriter& p) {
             p.Diver(185, "5", "VERZEL-MATNE", "CAN");
             p.Words(78.5, 194.3, "DANTEKE Fernando");
             p.Word(78.5, 202.6, "Luis");
             p.Dive(184.9, Seven("405B", "3.0", "7.5 7.5 7.0 7.5 7.0 8.0 7.5",
                                 {"67.50", "5", "67.50", "5"}));
             p.Dive(193.9, Seven("107B", "3.1", "7.0 8.0 7.5 7.5 7.0 7.5 7.0",
                                 {"68.20", "4", "135.70", "5"}));
             p.Dive(202.9, Seven("205B", "3.0", "7.0 7.0 7.0 7.0 7.0 7.0 7.0",
                                 {"63.00", "4", "198.70", "5"}));
         },
         {"VERZEL-MATNE DANTEKE Fernando Luis", "VERZEL-MATNE DANTEKE Fernando Luis",
          "VERZEL-MATNE DANTEKE Fernando Luis"},
         {"67.50", "68.20", "63.00"},
         0,
         0},
        {"name wrapped onto lines of its own between the dive lines (a dive-off)",
         [](PageWriter& p) {
             p.Diver(185, "1", "VINMATLE-DANTEKE", "CAN");
             p.Dive(184.9, Seven("5152B", "3.0", "8.5 8.0 8.5 8.0 8.5 8.5 8.0",
                                 {"75.00", "1", "75.00", "1"}));
             p.Words(78.5, 194, "NENEDANKER Caterina");
             p.Word(78.5, 203, "Larissa");
             p.Diver(212, "2", "MITRESA Hanna", "RUS");
             p.Dive(211.9, Seven("205B", "3.0", "7.0 7.5 7.5 7.5 7.0 7.5 7.0",
                                 {"66.00", "2", "66.00", "2", "9.00"}));
         },
         {"VINMATLE-DANTEKE NENEDANKER Caterina Larissa", "MITRESA Hanna"},
         {"75.00", "66.00"},
         0,
         0},
        {"a penalty printed before the points, and a failed dive",
         [](PageWriter& p) {
             p.Diver(185, "=5", "DOR Ignacio", "GBR");
             p.Dive(184.9, Seven("305C", "2.8", "0.0 0.0 0.0 0.0 0.0 0.0 0.0",
                                 {"0.00", "35", "0.00", "=5"}));
             p.Dive(193.9, Seven("626C", "3.3", "5.0 5.0 5.0 5.5 4.5 5.5 4.5",
                                 {"*29.70", "6", "29.70", "6"}));
         },
         {"DOR Ignacio", "DOR Ignacio"},
         {"0.00", "29.70"},
         0,
         0,
         true},
        {"a ranked diver who withdrew: the remaining dives listed with code and DD only",
         [](PageWriter& p) {
             p.Diver(185, "18", "DAMERE Enzo", "BRA");
             p.Dive(184.9, Seven("407C", "3.2", "8.0 8.0 7.5 7.5 8.0 8.0 7.5",
                                 {"75.20", "8", "75.20", "8"}));
             p.Dive(193.9, {"107B", "3.0"});
             p.Dive(202.9, {"207C", "3.3"});
             p.RightAligned(482, 193.9, "75.20");
         },
         {"DAMERE Enzo"},
         {"75.20"},
         2,
         0,
         false,
         true},
        {"an unranked diver marked WD",
         [](PageWriter& p) {
             p.Diver(185, "", "LORDA Vesna", "GBR");
             p.Dive(184.9, Seven("6243D", "3.2", "7.0 7.0 7.0 7.0 6.5 7.0 8.0",
                                 {"67.20", "3", "67.20", "3"}));
             p.Dive(193.9, {"407C", "3.2"});
             p.Word(464, 193.9, "WD");
         },
         {"LORDA Vesna"},
         {"67.20"},
         1,
         0,
         false,
         true},
        {"points that do not follow from the awards, and a total that does not add up",
         [](PageWriter& p) {
             p.Diver(185, "2", "NORS Agnes", "CHN");
             p.Dive(184.9, Seven("405B", "3.0", "7.5 8.0 7.0 7.5 7.5 7.5 7.0",
                                 {"67.60", "1", "67.60", "1"}));
             p.Dive(193.9, Seven("205B", "3.0", "8.0 7.0 7.5 8.0 7.0 7.5 7.5",
                                 {"67.50", "2", "135.20", "2"}));
             p.Dive(202.9, Seven("305B", "3.0", "7.0 7.0 7.0 7.0 7.0 7.0 7.0",
                                 {"63.00", "2", "198.20", "2"}));
         },
         {"NORS Agnes"},
         {"63.00"},
         0,
         2},
    };
    for (const BlockCase& test : cases) {
        SCOPED_TRACE(test.what);
        PageWriter page = ResultsPage();
        test.write(page);
        const PageReading read = ReadBookPage(page.Page());
        ASSERT_EQ(read.dives.size(), test.names.size());
        for (std::size_t i = 0; i < read.dives.size(); ++i) {
            EXPECT_EQ(read.dives[i].name, test.names[i]);
            EXPECT_EQ(read.dives[i].dive.points, test.points[i]);
            EXPECT_EQ(read.dives[i].withdrawn, test.withdrawn);
        }
        EXPECT_EQ(read.unperformed, test.unperformed);
        EXPECT_EQ(read.faults.size(), test.faults);
        if (test.penaltyOnSecond) {
            EXPECT_TRUE(read.dives[1].dive.penalty && !read.dives[0].dive.penalty);
        }
    }
}

TEST(ResultsBookPage, ReadsFiveJudgesAndTheOlderHeadingStyle) {
    PageWriter page;
    page.Heading("Women's 10m Platform", "Preliminary", /*older=*/true);
    page.ColumnHeader(5);
    page.Diver(185, "1", "GOSE Charlotte Miriam", "MAS");
    // The middle three of five: 8.0 + 8.0 + 8.5.
    page.Dive(184.9, Seven("107B", "3.0", "8.5 8.0 9.0 7.5 8.0", {"73.50", "1", "73.50", "1"}));
    page.Word(540, 783, "Page");
    page.Word(560, 783, "3/4");
    const PageReading read = ReadBookPage(page.Page());
    EXPECT_EQ(read.event, 4);
    EXPECT_EQ(read.round, "Preliminary");
    EXPECT_EQ(read.pageOfRound, 3);
    EXPECT_EQ(read.pagesInRound, 4);
    ASSERT_EQ(read.dives.size(), 1u);
    EXPECT_EQ(read.dives[0].dive.awards.size(), 5u);
}

TEST(ResultsBookPage, TellsWhatAPageIsFromItsHeadingAndColumns) {
    struct KindCase {
        std::string event;
        std::string round;
        std::string judge; // the judges' columns: J1.., E1.. (execution), none
        std::string title;
        PageKind kind;
    };
    const std::vector<KindCase> cases = {
        {"Women's Synchronised 10m Platform", "Final", "J", "", PageKind::OtherEvent},
        {"Men's 1m Springboard", "Final", "J", "", PageKind::OtherEvent},
        {"Mixed 3m Springboard", "Final", "J", "", PageKind::Blank},
        {"Men's 3m Springboard", "Final", "E", "", PageKind::OtherEvent},
        {"Men's 3m Springboard", "Final", "", "Start List", PageKind::StartList},
        {"Men's 3m Springboard", "Final", "", "Panel of Judges", PageKind::JudgesPanel},
        {"Women's 3m Springboard", "Dive Off", "J", "", PageKind::DetailedResults},
        {"Men's 10m Platform", "Semifinal B", "J", "", PageKind::DetailedResults},
        // The platform is 10 m when the heading gives no height.
        {"Women's Platform", "Final", "J", "", PageKind::DetailedResults},
    };
    for (const KindCase& test : cases) {
        SCOPED_TRACE(test.event + " " + test.judge + " " + test.title);
        PageWriter page =
            ResultsPage(test.event, test.round, test.judge.empty() ? 0 : 7, test.judge);
        if (!test.title.empty())
            page.Words(270, 140, test.title, 12);
        page.Diver(185, "1", "LOS Emil", "CHN");
        page.Dive(184.9, Seven("407C", "3.4", "8.5 8.0 7.5 8.0 8.0 8.0 7.5",
                               {"81.60", "1", "81.60", "1"}));
        const PageReading read = ReadBookPage(page.Page());
        // An event named neither individual nor other is read as no event: other pages.
        const PageKind kind = test.kind == PageKind::Blank ? PageKind::Other : test.kind;
        EXPECT_EQ(read.kind, kind);
        EXPECT_EQ(read.dives.size(), kind == PageKind::DetailedResults ? 1u : 0u);
        if (kind == PageKind::DetailedResults) {
            EXPECT_EQ(read.round, test.round);
            EXPECT_EQ(read.event == 3 || read.event == 4,
                      test.event.find("Platform") != std::string::npos);
        }
    }
}

// A results summary lists each diver's points per round, no dives: it is one of the other
// pages whatever its event, synchronised and 1 m events' included.
TEST(ResultsBookPage, ASummaryIsNoDetailedResultsWhateverItsEvent) {
    for (const std::string event :
         {"Women's Synchronised 10m Platform", "Men's 1m Springboard", "Men's 3m Springboard"}) {
        SCOPED_TRACE(event);
        PageWriter page;
        page.Words(83, 85, "Event 206 " + event, 12);
        page.Words(250, 128, "Results Summary", 12);
        page.Word(53, 170, "Rank");
        page.Word(78, 170, "Name");
        page.Word(171, 170, "NAT");
        page.Word(300, 165, "Final");
        page.Word(300, 175, "Points");
        page.Word(340, 175, "Rank");
        page.Diver(185, "1", "LOS Emil", "CHN");
        page.RightAligned(330, 185, "412.50");
        page.RightAligned(350, 185, "1");
        EXPECT_EQ(PageKindText(ReadBookPage(page.Page()).kind), PageKindText(PageKind::Other));
    }
}

TEST(ResultsBookPage, FindsTheRoundAboveTheEventLineAndNoTitleInTheEventLine) {
    PageWriter page;
    page.Words(250, 60, "Final", 14);
    page.Words(83, 85, "Event 106 Women's 3m Springboard", 14);
    page.Words(250, 128, "Detailed Results", 12);
    page.ColumnHeader();
    page.Diver(185, "1", "LOS Emma", "CHN");
    page.Dive(184.9,
              Seven("407C", "3.4", "8.5 8.0 7.5 8.0 8.0 8.0 7.5", {"81.60", "1", "81.60", "1"}));
    const BookReading book = ReadBookPages({page.Page()}, "book.pdf");
    ASSERT_EQ(book.reading.dives.size(), 1u);
    EXPECT_EQ(book.reading.dives[0].round, "Final");
    EXPECT_EQ(book.reading.dives[0].event, 2);
    EXPECT_EQ(book.reading.title.find("Springboard"), std::string::npos) << book.reading.title;
}

TEST(PointsCheck, AddsTheMiddleAwardsTimesTheDDToTheCent) {
    struct Case {
        std::vector<std::string> awards;
        std::string dd, points;
        bool penalty, adds;
    };
    const std::vector<Case> cases = {
        {{"8.5", "8.0", "7.5", "8.0", "8.0", "8.0", "7.5"}, "3.4", "81.60", false, true},
        {{"8.5", "8.0", "7.5", "8.0", "8.0", "8.0", "7.5"}, "3.4", "81.65", false, false},
        {{"10", "10", "10", "9.5", "10", "10", "10"}, "3.6", "108.00", false, true},
        {{"0.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0"}, "2.8", "0.00", false, true},
        {{"8.5", "8.0", "9.0", "7.5", "8.0"}, "3.0", "73.50", false, true},
        // Penalty: 2 points off each counted award (5.0 5.0 5.0 -> 9.0 in all).
        {{"5.0", "5.0", "5.0", "5.5", "4.5", "5.5", "4.5"}, "3.3", "29.70", true, true},
        {{"5.0", "5.0", "5.0", "5.5", "4.5", "5.5", "4.5"}, "3.3", "45.54", true, false},
        {{"3.0", "2.0", "1.0", "3.5", "1.5", "2.5", "2.0"}, "3.3", "1.65", true, true},
        {{"8.0", "8.0", "8.0", "8.0", "8.0", "8.0"}, "3.0", "72.00", false, false},
        {{"8.0", "x", "8.0", "8.0", "8.0", "8.0", "8.0"}, "3.0", "72.00", false, false},
    };
    for (const Case& test : cases) {
        SourceDive dive;
        dive.awards = test.awards;
        dive.dd = test.dd;
        dive.points = test.points;
        dive.penalty = test.penalty;
        EXPECT_EQ(PointsAddUp(dive), test.adds) << test.points;
    }
}

PageWords CoverPage() {
    PageWriter page;
    page.Words(100, 266, "Diving World Series 2015", 26);
    page.Words(230, 310, "London, GBR", 22);
    page.Words(206, 345, "1st - 3rd of May 2015", 18);
    page.Words(220, 448, "Results Book", 20);
    return page.Page();
}

PageWords RoundPage(const std::string& event, const std::string& name, int of, int count) {
    PageWriter page = ResultsPage(event, "Final");
    page.Diver(185, std::to_string(of), name, "CHN");
    page.Dive(184.9,
              Seven("407C", "3.4", "8.5 8.0 7.5 8.0 8.0 8.0 7.5", {"81.60", "1", "81.60", "1"}));
    page.Dive(193.9,
              Seven("207C", "3.6", "8.0 8.0 8.0 8.0 8.0 8.0 8.0", {"86.40", "2", "168.00", "2"}));
    if (count > 0) {
        page.Word(540, 783, "Page");
        page.Word(560, 783, std::to_string(of) + "/" + std::to_string(count));
    }
    return page.Page();
}

TEST(ResultsBook, JoinsARoundsPagesInTheirOrderAndReportsWhatItSkipped) {
    const std::vector<PageWords> pages = {
        CoverPage(),
        RoundPage("Women's 10m Platform", "SECOND Ana", 2, 3),
        RoundPage("Men's 3m Springboard", "van DER Piet", 0, 0),
        RoundPage("Women's 10m Platform", "FIRST Eva", 1, 3),
        RoundPage("Women's 10m Platform", "FIRST Eva", 1, 3),
        RoundPage("Women's Synchronised 10m Platform", "PAIR Ann", 1, 1),
    };
    const BookReading book = ReadBookPages(pages, "book.pdf");
    const SourceReading& reading = book.reading;
    EXPECT_EQ(reading.title, "Diving World Series 2015");
    EXPECT_EQ(reading.dates, "1st - 3rd of May 2015");
    ASSERT_EQ(reading.dives.size(), 6u);
    EXPECT_EQ(reading.dives[0].surname, "FIRST");
    EXPECT_EQ(reading.dives[0].given, "EVA");
    EXPECT_EQ(reading.dives[0].event, 4);
    EXPECT_EQ(reading.dives[2].surname, "SECOND");
    EXPECT_EQ(reading.dives[4].event, 1);
    const auto said = [&](const std::string& words) {
        return std::any_of(reading.report.begin(), reading.report.end(),
                           [&](const std::string& line) { return line.find(words) != line.npos; });
    };
    EXPECT_TRUE(said("page 5 repeats page 4")) << testing::PrintToString(reading.report);
    EXPECT_TRUE(said("1 of its 3 pages are not in the book"));
    EXPECT_TRUE(said("1 detailed results of other events"));
    EXPECT_TRUE(said("1 cover"));
    EXPECT_TRUE(reading.faults.empty());
}

// A cover: its lines top down, each "size|text".
PageWords Cover(const std::vector<std::string>& lines) {
    PageWriter page;
    double y = 200;
    for (const std::string& line : lines) {
        const double size = std::stod(line.substr(0, line.find('|')));
        page.Words(150, y, line.substr(line.find('|') + 1), size);
        y += size + 12;
    }
    return page.Page();
}

// A results page whose header block prints title, place and dates above the event line.
PageWords MastheadPage(const std::string& title, const std::string& dates) {
    PageWriter page;
    page.Words(180, 10, title, 14);
    page.Words(200, 30, "London, GBR", 14);
    page.Words(200, 50, dates, 12);
    page.Words(83, 85, "Event 206 Men's 3m Springboard", 12);
    page.Words(450, 85, "Final", 12);
    page.Words(83, 100, "2 MAY 2015 - 11:30", 10);
    page.Words(250, 128, "Detailed Results", 12);
    page.ColumnHeader();
    return page.Page();
}

TEST(ResultsBook, ReadsTheTitleFromThePagesHeaderBlockElseFromTheCover) {
    struct TitleCase {
        const char* name;
        std::vector<PageWords> pages;
        std::string title, dates;
    };
    const std::vector<TitleCase> cases = {
        {"cover printing its name larger than the title",
         {Cover(
             {"20|Diving Grand Prix 2016", "16|Rostock", "14|3 - 9 JUN 2016", "24|Results Book"})},
         "Diving Grand Prix 2016",
         "3 - 9 JUN 2016"},
        {"place and dates on one line; a title naming no month",
         {Cover(
              {"20|Marseille 2016 Diving Cup", "14|Marseille, 2 - 4 Sept 2016", "24|Results Book"}),
          RoundPage("Men's 3m Springboard", "LOS Emil", 1, 1)},
         "Marseille 2016 Diving Cup",
         "2 - 4 Sept 2016"},
        {"header block of the results pages over a cover without the title",
         {Cover({"30|Results Book", "14|Official"}),
          MastheadPage("Diving World Series 2015", "1st - 3rd of May 2015"),
          MastheadPage("Diving World Series 2015", "1st - 3rd of May 2015")},
         "Diving World Series 2015",
         "1st - 3rd of May 2015"},
        {"most pages' header block",
         {MastheadPage("Diving World Cup", "May 1 - 6"), MastheadPage("Misprint", "May 1 - 6"),
          MastheadPage("Diving World Cup", "May 1 - 6")},
         "Diving World Cup",
         "May 1 - 6"},
    };
    for (const TitleCase& test : cases) {
        SCOPED_TRACE(test.name);
        const BookReading book = ReadBookPages(test.pages, "book.pdf");
        EXPECT_EQ(book.reading.title, test.title);
        EXPECT_EQ(book.reading.dates, test.dates);
    }
}

TEST(ResultsBook, NamesTheBookThePageTheDiverAndTheDiveOfAFault) {
    PageWriter page = ResultsPage("Men's 10m Platform", "Final");
    page.Diver(185, "1", "LOS Emil", "CHN");
    page.Dive(184.9,
              Seven("407C", "3.4", "8.5 8.0 7.5 8.0 8.0 8.0 7.5", {"80.60", "1", "80.60", "1"}));
    const BookReading book = ReadBookPages({CoverPage(), page.Page()}, "worlds.pdf");
    ASSERT_EQ(book.reading.faults.size(), 1u);
    EXPECT_EQ(book.reading.faults[0],
              "worlds.pdf, page 2, Men's 10m Platform Final: LOS Emil (CHN), dive 1 (407C): "
              "points 80.60 do not follow from the DD and the awards");
    EXPECT_TRUE(book.reading.dives.empty());
}

} // namespace
} // namespace corvane
