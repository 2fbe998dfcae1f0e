// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pdf_text.h"
#include "source.h"

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What a page of a results book is, as the report counts skipped pages.
enum class PageKind {
    DetailedResults, // detailed results of one of the four individual events
    OtherEvent,      // detailed results of a synchronised, team, mixed or 1 m event
    StartList,
    JudgesPanel,
    Cover,
    Other, // summaries, schedules, medal tables, entry lists, ...
    Blank,
};
std::string_view PageKindText(PageKind kind);

// One dive row of a detailed results page, with what the page prints beside it.
struct PrintedDive {
    SourceDive dive;      // the dive as a source gives it (names as printed, not folded)
    std::string name;     // the diver's name as printed, wrapped parts joined
    std::string rank;     // the diver's rank in the round ("=3"), empty when unranked
    std::string diveRank; // "=1", "12", ...
    std::string total;    // the running total after this dive
    std::string overallRank;
    std::string behind;     // points behind the leader, empty for the leader
    bool withdrawn = false; // the diver withdrew later in the round
};

// What one page holds. Dives listed without awards and points (not performed) are counted;
// dives whose points or running total do not add up are not kept but described in `faults`.
struct PageReading {
    PageKind kind = PageKind::Blank;
    int event = 0;        // 1..4 for DetailedResults
    std::string round;    // "Preliminary", "Semifinal A", "Final", "Dive Off", ...
    int pageOfRound = 0;  // "Page 2/7": 2, or 0 when not printed
    int pagesInRound = 0; // 7, or 0
    std::vector<PrintedDive> dives;
    int unperformed = 0;
    std::vector<std::string> faults; // each names the diver and the dive
    // The competition's title and dates as the header block above an event's line prints
    // them, empty on a page without one.
    std::string title;
    std::string dates;
};

// Reads one page from its words alone: what it is, and for detailed results of the four
// individual events its dives. Columns are found from the column header's words.
PageReading ReadBookPage(const PageWords& words);

// The whole of a book read: the source reading and every page's rows, in book order.
struct BookReading {
    SourceReading reading;
    std::vector<PageReading> pages; // one per page of the book
};

// Joins the pages of a book: title and dates from the header block its event pages repeat,
// else from its first page; rounds over several pages; the report (pages skipped by kind,
// dives not performed) and the faults, each naming `name` and the page. The dives are those of the
// detailed results pages in book order.
BookReading ReadBookPages(const std::vector<PageWords>& pages, const std::string& name);

// A results book read from a PDF file's bytes, or the message why it cannot be (not a PDF,
// damaged, encrypted, without text, without detailed results of the four events, or reading
// cancelled through `cancelled`, see ReadPdfText).
struct BookOutcome {
    std::optional<std::string> error;
    BookReading book;
};
BookOutcome ReadResultsBook(std::string_view bytes, const std::string& name,
                            const std::atomic<bool>* cancelled = nullptr);

// True when the points of a dive are its DD times the sum of the middle three awards (less
// 2 points an award for a penalty), to the cent; awards, DD and points as printed.
bool PointsAddUp(const SourceDive& dive);

} // namespace corvane
