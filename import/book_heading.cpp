// SPDX-License-Identifier: GPL-3.0-or-later
// The heading of a results book page: event, round and what kind of page it is.
#include "book_layout.h"
#include "results_book.h"

#include <algorithm>
#include <cctype>

namespace corvane::book {

namespace {

// The round: a dive-off wherever it is named, else the first round named on the event's
// line or below it (the competition's title above may name a "Final" of its own), else the
// first named above it.
std::string RoundOf(const std::vector<Line>& lines, std::size_t end, std::size_t eventLine) {
    std::string below, above;
    for (std::size_t i = 0; i < end; ++i) {
        const std::string round = RoundOfLine(lines[i]);
        if (round == "Dive Off")
            return round;
        std::string& found = i >= eventLine ? below : above;
        if (found.empty())
            found = round;
    }
    return below.empty() ? above : below;
}

void ReadPageMark(const Line& line, Heading& heading) {
    for (std::size_t i = 0; i + 1 < line.words.size(); ++i) {
        std::string word = line.words[i]->text;
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (word != "page")
            continue;
        std::string mark = line.words[i + 1]->text;
        if (i + 3 < line.words.size() && line.words[i + 2]->text == "of")
            mark += "/" + line.words[i + 3]->text;
        const std::size_t slash = mark.find('/');
        const auto of = FixedNumber(mark.substr(0, slash), 0);
        const auto count =
            slash == std::string::npos ? std::nullopt : FixedNumber(mark.substr(slash + 1), 0);
        if (of && count && *of >= 1 && *of <= *count && *count < 10000) {
            heading.pageOfRound = static_cast<int>(*of);
            heading.pagesInRound = static_cast<int>(*count);
        }
    }
}

// The header block that the pages of an event repeat above its event line: the competition's
// title on top, its place, and its dates (a day of the competition comes below the event).
void ReadMasthead(const std::vector<Line>& lines, std::size_t eventLine, Heading& heading) {
    for (std::size_t i = 1; i < eventLine; ++i) {
        const std::string text = lines[i].Text();
        if (IsDateLine(text)) {
            heading.title = lines[0].Text();
            heading.dates = DatesOf(text);
            return;
        }
    }
}

} // namespace

Heading ReadHeading(const std::vector<Line>& lines, std::size_t end) {
    Heading heading;
    std::size_t eventLine = end;
    for (std::size_t i = 0; i < end && i < lines.size(); ++i) {
        const int event = EventOfLine(lines[i]);
        if (event != 0 && heading.event == 0) {
            heading.event = event;
            eventLine = i;
        }
        for (const WordBox* word : lines[i].words) {
            for (char c : word->text)
                heading.text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            heading.text += ' ';
        }
    }
    heading.round = RoundOf(lines, std::min(end, lines.size()), eventLine);
    if (heading.event != 0)
        ReadMasthead(lines, eventLine, heading);
    for (const Line& line : lines)
        ReadPageMark(line, heading);
    return heading;
}

} // namespace corvane::book

namespace corvane {

std::string_view PageKindText(PageKind kind) {
    switch (kind) {
    case PageKind::DetailedResults:
        return "detailed results";
    case PageKind::OtherEvent:
        return "detailed results of other events";
    case PageKind::StartList:
        return "start lists";
    case PageKind::JudgesPanel:
        return "panels of judges";
    case PageKind::Cover:
        return "cover";
    case PageKind::Other:
        return "other pages (summaries, schedules, medal tables, ...)";
    case PageKind::Blank:
        return "pages without text";
    }
    return "pages";
}

} // namespace corvane
