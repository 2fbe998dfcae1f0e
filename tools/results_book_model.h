// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The competition behind a test results book, and the steps from it to pages; used only by
// the results book writer.

#include "tools/results_book_writer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane::book {

// Our own generator, so that a seed gives the same book on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }

private:
    std::uint64_t state_;
};

// A diver as the book prints the name (UTF-8, lowercase particles) and as an importer
// writes it.
struct Diver {
    std::string surname;
    std::string given;
    std::string asciiSurname;
    std::string asciiGiven;
    std::string nation;
    std::string born;
};

// One listed dive: awards in half points, points in cents.
struct Dive {
    std::string code;
    int ddTenths = 0;
    std::vector<int> halves; // empty when not performed
    bool penalty = false;
    int cents = 0;
    bool Performed() const { return !halves.empty(); }
};

enum class Withdrawal { None, Ranked, Unranked };

// A diver's (or a synchronised pair's) block in a round.
struct Entry {
    std::vector<int> divers; // indexes into Competition::divers, two for a pair
    std::vector<Dive> dives;
    Withdrawal withdrawal = Withdrawal::None;
    int level = 14; // the diver's usual award, in halves
    int Total() const;
};

enum class EventKind { Individual, Synchro };

struct Event {
    int index = 0; // 1..4 for M3M, W3M, M10M, W10M; 0 for the events a reader skips
    EventKind kind = EventKind::Individual;
    std::array<std::string, 3> names; // English, Portuguese, French
    int dives = 6;
};

struct Round {
    int event = 0; // index into Competition::events
    std::array<std::string, 3> names;
    int number = 0; // the event number printed on the page
    int day = 0;
    std::string time;
    int judges = 7;
    bool summaryAfter = false;  // the event's results summary follows this round
    std::vector<Entry> entries; // in the order printed: by rank, withdrawn last
};

struct Competition {
    std::string title;
    std::string venue;
    std::string dates;
    std::vector<std::string> days; // "SUN 21 FEB 2016" per competition day
    std::vector<Diver> divers;
    std::vector<Event> events;
    std::vector<Round> rounds; // in the book's order
    int fillerPages = 0;       // medal standings pages at the end
};

// The size of the competition: field of a preliminary round, extra skipped events.
struct CompetitionSize {
    int preliminary = 14;
    int semifinal = 10;
    int final = 8;
    int extraEvents = 0;
};

Competition PlanCompetition(const ResultsBookOptions& options, const CompetitionSize& size);

// Points of one dive in cents: DD times the middle three awards, less 2 points a counted
// judge for a penalty.
int DiveCents(int ddTenths, const std::vector<int>& halves, bool penalty);

// Texts as the book prints them.
std::string AwardText(int halves);
std::string TenthsText(int tenths);
std::string CentsText(int cents);

// Widths of texts in the book's fonts (Liberation Sans), as the PDF writer will set them.
class FontMetrics {
public:
    FontMetrics();
    ~FontMetrics();
    FontMetrics(const FontMetrics&) = delete;
    FontMetrics& operator=(const FontMetrics&) = delete;
    double Width(const std::string& text, double size, bool bold) const;

private:
    struct Cairo;
    std::unique_ptr<Cairo> cairo_;
};

std::vector<BookPage> LayOutBook(const Competition& competition, const ResultsBookOptions& options,
                                 const FontMetrics& metrics);

} // namespace corvane::book
