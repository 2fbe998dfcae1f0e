// SPDX-License-Identifier: GPL-3.0-or-later
// A results book as a whole: its pages read one by one, rounds joined over their pages, the
// title and dates from the pages' header blocks or the cover, and the report of what was
// left out.
#include "results_book.h"

#include "book_layout.h"
#include "names.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace corvane {

using namespace book;

namespace {

constexpr const char* kEventNames[] = {"Men's 3m Springboard", "Women's 3m Springboard",
                                       "Men's 10m Platform", "Women's 10m Platform"};

// The title and dates that most of the event pages' header blocks print, if any do.
bool ReadMastheadTitle(const std::vector<PageReading>& pages, SourceReading& reading) {
    std::map<std::pair<std::string, std::string>, std::size_t> seen;
    std::size_t most = 0;
    for (const PageReading& page : pages) {
        if (page.title.empty())
            continue;
        const std::size_t count = ++seen[{page.title, page.dates}];
        if (count > most) {
            most = count;
            reading.title = page.title;
            reading.dates = page.dates;
        }
    }
    return most > 0;
}

// A cover prints the title above the place and dates, but not always largest: the words
// "Results Book" may be larger still. So the title is the largest print above the first
// line that names a month (of the whole page when none does); the dates that line.
void ReadCoverTitle(const PageWords& words, SourceReading& reading) {
    const std::vector<Line> lines = LinesOf(words);
    std::size_t datesLine = 0;
    while (datesLine < lines.size() && !IsDateLine(lines[datesLine].Text()))
        ++datesLine;
    const std::size_t titleEnd = datesLine > 0 ? datesLine : lines.size();
    const auto height = [](const Line& line) {
        double largest = 0;
        for (const WordBox* word : line.words)
            largest = std::max(largest, word->height);
        return largest;
    };
    // A book without a cover starts with a results page: its event line is no title.
    const auto candidate = [&](std::size_t i) { return EventOfLine(lines[i]) == 0; };
    double largest = 0;
    for (std::size_t i = 0; i < titleEnd; ++i)
        if (candidate(i))
            largest = std::max(largest, height(lines[i]));
    std::size_t last = titleEnd;
    for (std::size_t i = 0; i < titleEnd; ++i) {
        const bool big = candidate(i) && height(lines[i]) >= 0.95 * largest;
        if (big && (last == titleEnd || last + 1 == i)) {
            reading.title += (reading.title.empty() ? "" : " ") + lines[i].Text();
            last = i;
        }
    }
    if (datesLine < lines.size())
        reading.dates = DatesOf(lines[datesLine].Text());
}

std::string PersonText(const PrintedDive& dive) {
    return dive.name;
}

// Fills the folder's form of the diver's name and nation in from the printed ones.
void FoldNames(SourceDive& dive, const PrintedDive& printed, AsciiFolder& folder) {
    const PersonName name = SplitWrittenName(PersonText(printed), folder);
    dive.surname = Capitals(name.surname);
    dive.given = Capitals(name.given);
    const std::string nation = Capitals(folder.Fold(dive.nation));
    const bool threeLetters =
        nation.size() == 3 &&
        std::all_of(nation.begin(), nation.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    dive.nation = threeLetters ? nation : "";
}

std::string Plural(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The pages skipped, by kind, as one report line.
std::string SkippedLine(const std::vector<PageReading>& pages) {
    std::map<PageKind, std::size_t> skipped;
    for (const PageReading& page : pages)
        if (page.kind != PageKind::DetailedResults)
            ++skipped[page.kind];
    std::string line;
    for (const auto& [kind, count] : skipped)
        line += (line.empty() ? "" : ", ") + std::to_string(count) + " " +
                std::string(PageKindText(kind));
    return line.empty() ? "" : "pages skipped: " + line;
}

struct RoundKey {
    int event;
    std::string round;
    auto operator<=>(const RoundKey&) const = default;
};

// The detailed results pages in the order of their rounds (as the book first shows each)
// and of their "Page k/n" marks; a page printed twice is read once.
std::vector<std::size_t> RoundOrder(const std::vector<PageReading>& pages,
                                    std::vector<std::string>& report) {
    std::map<RoundKey, std::size_t> firstSeen;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (pages[i].kind == PageKind::DetailedResults) {
            firstSeen.try_emplace({pages[i].event, pages[i].round}, firstSeen.size());
            order.push_back(i);
        }
    const auto key = [&](std::size_t i) {
        return std::tuple(firstSeen.at({pages[i].event, pages[i].round}), pages[i].pageOfRound, i);
    };
    std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) { return key(a) < key(b); });
    std::vector<std::size_t> unique;
    for (std::size_t i : order) {
        const bool repeated = !unique.empty() && pages[i].pageOfRound > 0 &&
                              std::get<0>(key(unique.back())) == std::get<0>(key(i)) &&
                              pages[unique.back()].pageOfRound == pages[i].pageOfRound;
        if (repeated)
            report.push_back("page " + std::to_string(i + 1) + " repeats page " +
                             std::to_string(unique.back() + 1) + "; read once");
        else
            unique.push_back(i);
    }
    return unique;
}

std::string RoundName(const PageReading& page) {
    return std::string(kEventNames[page.event - 1]) + (page.round.empty() ? "" : " " + page.round);
}

// Says which pages of each round that its marks count are not in the book.
void ReportMissingPages(const std::vector<PageReading>& pages,
                        const std::vector<std::size_t>& order, std::vector<std::string>& report) {
    std::map<RoundKey, std::pair<int, int>> marks; // pages seen, pages in the round
    for (std::size_t i : order) {
        auto& [seen, count] = marks[{pages[i].event, pages[i].round}];
        seen += pages[i].pagesInRound > 0 ? 1 : 0;
        count = std::max(count, pages[i].pagesInRound);
    }
    for (const auto& [round, mark] : marks)
        if (mark.first > 0 && mark.first < mark.second)
            report.push_back(std::string(kEventNames[round.event - 1]) + " " + round.round + ": " +
                             std::to_string(mark.second - mark.first) + " of its " +
                             std::to_string(mark.second) + " pages are not in the book");
}

} // namespace

BookReading ReadBookPages(const std::vector<PageWords>& pages, const std::string& name) {
    BookReading book;
    SourceReading& reading = book.reading;
    for (const PageWords& words : pages)
        book.pages.push_back(ReadBookPage(words));
    if (!pages.empty()) {
        if (!ReadMastheadTitle(book.pages, reading))
            ReadCoverTitle(pages.front(), reading);
        if (book.pages.front().kind == PageKind::Other)
            book.pages.front().kind = PageKind::Cover;
    }
    const std::vector<std::size_t> order = RoundOrder(book.pages, reading.report);
    ReportMissingPages(book.pages, order, reading.report);
    AsciiFolder folder;
    std::size_t unperformed = 0;
    for (std::size_t i : order) {
        const PageReading& page = book.pages[i];
        for (const PrintedDive& printed : page.dives) {
            reading.dives.push_back(printed.dive);
            FoldNames(reading.dives.back(), printed, folder);
        }
        for (const std::string& fault : page.faults)
            reading.faults.push_back(name + ", page " + std::to_string(i + 1) + ", " +
                                     RoundName(page) + ": " + fault);
        unperformed += static_cast<std::size_t>(page.unperformed);
    }
    reading.report.insert(reading.report.begin(),
                          Plural(order.size(), "page", "pages") + " of detailed results read");
    if (const std::string skipped = SkippedLine(book.pages); !skipped.empty())
        reading.report.push_back(skipped);
    if (unperformed > 0)
        reading.report.push_back(Plural(unperformed, "dive", "dives") +
                                 " listed but not performed (withdrawals), left out");
    return book;
}

BookOutcome ReadResultsBook(std::string_view bytes, const std::string& name,
                            const std::atomic<bool>* cancelled) {
    BookOutcome outcome;
    PdfText text = ReadPdfText(bytes, name, cancelled);
    if (text.error) {
        outcome.error = std::move(text.error);
        return outcome;
    }
    outcome.book = ReadBookPages(text.pages, name);
    if (outcome.book.reading.dives.empty() && outcome.book.reading.faults.empty())
        outcome.error = "no detailed results of the four individual events in " + name +
                        ": is it a results book?";
    return outcome;
}

} // namespace corvane
