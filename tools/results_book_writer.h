// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test books: writes PDF results books in the layout of official ones (detailed results of
// several events and rounds, start lists, panels of judges, summaries, synchronised and 1 m
// events) together with the dives a reader must find in them. Tests and benchmarks link this
// library; tools/gen_results_book is its command. A book of about 160 pages for the import
// benchmark: ResultsBookOptions::pages = 160 (gen_results_book --pages 160 OUT.pdf).

#include "import/source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// How the header of an event's page names the event and its round.
enum class BookHeaderStyle {
    EventLine,     // "Event 206  Men's 3m Springboard  Semifinal A", date and time below
    StartTimeLine, // event name on its own line, round on the "Start Time" line, three languages
};

// On which pages the timekeeper's "Official Timekeeping" line is printed.
enum class TimekeeperFooter { EveryPage, RoundLastPage };

// What the book holds; the same options and seed give the same book.
struct ResultsBookOptions {
    std::uint64_t seed = 1;
    BookHeaderStyle style = BookHeaderStyle::EventLine;
    bool secondLanguage = true; // EventLine: a French line under the event line
    TimekeeperFooter footer = TimekeeperFooter::EveryPage;
    int judges = 7; // 7 or 5 judges in the individual events
    // 0: as many pages as a small competition needs (some 60). Else exactly this many, by
    // larger fields, more of the events a reader skips and medal standings pages at the end;
    // but never fewer than full-size fields need (some 80 pages).
    int pages = 0;
};

// A line of text on a page: its start (or right end, or centre), its baseline, from the
// page's top left corner in points.
struct BookText {
    enum class Align { Left, Right, Centre };
    double x = 0;
    double baseline = 0;
    double size = 8;
    bool bold = false;
    Align align = Align::Left;
    std::string text; // UTF-8
};

// What a page is: the detailed results of one of the four individual events, or a page a
// reader skips.
enum class BookPageKind {
    DetailedResults,
    OtherEventResults, // synchronised and 1 m events
    StartList,
    JudgesPanel,
    Summary,
    Cover,
    MedalStandings,
};

// One page of the book.
struct BookPage {
    BookPageKind kind = BookPageKind::Cover;
    std::vector<BookText> texts;
};

// A planned book: its pages, and what of them a reader of the four individual events must
// report.
struct ResultsBook {
    std::vector<BookPage> pages;
    // Every performed dive of the four individual events, as an importer writes it (names in
    // capitals, plain ASCII, particles with the surname; round as printed), with title and
    // dates as printed on the cover.
    SourceReading expected;
    // Dives listed with code and DD only (withdrawn divers): not performed, not to be imported.
    std::vector<SourceDive> unperformed;
};

// Plans the whole book: competition, scores, pages.
ResultsBook PlanResultsBook(const ResultsBookOptions& options);

// Writes the planned book as a PDF file. Returns the message for the user when it cannot be
// written, nothing on success.
std::optional<std::string> WriteResultsBookPdf(const ResultsBook& book, const std::string& path);

} // namespace corvane
