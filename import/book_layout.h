// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps of reading a results book page: words into lines, the column header into
// columns, and the heading's event and round. Shared by the page reader and its tests.

#include "pdf_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::book {

// Words that share a baseline, left to right.
struct Line {
    double top = 0;
    double bottom = 0;
    std::vector<const WordBox*> words;

    double Middle() const { return (top + bottom) / 2; }
    double Height() const { return bottom - top; }
    std::string Text() const;
};

// Groups the words of a page into lines, top to bottom. Words without text or with a box
// that is not finite are left out.
std::vector<Line> LinesOf(const PageWords& words);

enum class ColumnKind {
    Rank,
    Name,
    Nation,
    Code,
    DD,
    Award,
    Points,
    DiveRank,
    Total,
    OverallRank,
    Behind,
    PairOrPanel, // execution or synchronisation judges: not an individual event
    Other,
};

struct Column {
    ColumnKind kind = ColumnKind::Other;
    int award = 0; // 1..7 for Award
    double left = 0;
    double right = 0;
    std::string label; // lower case, as the header prints it
};

// The column header of a results table and the lines it takes.
struct ColumnHeader {
    std::vector<Column> columns; // left to right
    std::size_t firstLine = 0;   // index in the page's lines
    std::size_t lastLine = 0;
    int awards = 0; // J1..Jn present and in order, else 0

    bool Individual() const; // the columns of an individual event's detailed results
    // The column a word of a data row belongs to, or nothing left of all columns.
    const Column* ColumnAt(const WordBox& word) const;
};

// Finds the column header (the line holding "Name", with the lines above and below that
// hold no numbers) and its columns.
std::optional<ColumnHeader> FindColumnHeader(const std::vector<Line>& lines);

// The event (1..4) a heading line names, 0 when none, -1 for another event (synchronised,
// team, mixed, 1 m).
int EventOfLine(const Line& line);

// The round a heading line names ("Preliminary", "Semifinal A", "Final", "Dive Off"), or
// empty.
std::string RoundOfLine(const Line& line);

// Fixed-point numbers as printed: "8.5" with `decimals` 1 gives 85; "10" gives 100. Nothing
// for any other text.
std::optional<long> FixedNumber(std::string_view text, int decimals);

bool IsDiveCode(std::string_view text);

// Whether a text names a month beside a number: a competition's dates or a day of it.
bool IsDateLine(std::string_view text);

// The dates a date line gives: after the place when a comma parts them ("Rio de Janeiro,
// 19 - 24 FEB 2016" gives "19 - 24 FEB 2016").
std::string DatesOf(const std::string& text);

} // namespace corvane::book

namespace corvane::book {

// What the lines above a table (or the top of a page without one) say.
struct Heading {
    int event = 0; // as EventOfLine
    std::string round;
    std::string text; // all its words in lower case
    int pageOfRound = 0;
    int pagesInRound = 0;
    // The header block above the event line, when it prints the competition's dates: its
    // top line (the competition's title) and those dates. Empty otherwise.
    std::string title;
    std::string dates;
};

// Reads the heading from the lines before `end`, and the "Page 2/7" mark from any line.
Heading ReadHeading(const std::vector<Line>& lines, std::size_t end);

} // namespace corvane::book
