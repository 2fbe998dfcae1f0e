// SPDX-License-Identifier: GPL-3.0-or-later
// One page of a results book, from its words: what the page is, and the dives of a detailed
// results table, diver block by diver block.
#include "book_layout.h"
#include "results_book.h"

#include <algorithm>
#include <array>

namespace corvane {

using namespace book;

namespace {

// One line of a results table, its words put into the header's columns.
struct Cells {
    std::string rank, nation, code, dd, points, diveRank, total, overallRank, behind;
    std::vector<std::string> name;
    std::array<std::string, kMaxAwards> awards;
    bool penalty = false;
    bool withdrawn = false;
    bool outside = false; // words in no column the table reads

    bool NameOnly() const {
        return !name.empty() && !outside && rank.empty() && nation.empty() && code.empty() &&
               dd.empty() && points.empty() && total.empty() &&
               std::all_of(awards.begin(), awards.end(), [](auto& a) { return a.empty(); });
    }
};

std::string* CellOf(Cells& cells, const Column& column) {
    switch (column.kind) {
    case ColumnKind::Rank:
        return &cells.rank;
    case ColumnKind::Nation:
        return &cells.nation;
    case ColumnKind::Code:
        return &cells.code;
    case ColumnKind::DD:
        return &cells.dd;
    case ColumnKind::Points:
        return &cells.points;
    case ColumnKind::DiveRank:
        return &cells.diveRank;
    case ColumnKind::Total:
        return &cells.total;
    case ColumnKind::OverallRank:
        return &cells.overallRank;
    case ColumnKind::Behind:
        return &cells.behind;
    case ColumnKind::Award:
        return column.award <= static_cast<int>(kMaxAwards) ? &cells.awards[column.award - 1]
                                                            : nullptr;
    default:
        return nullptr;
    }
}

Cells CellsOf(const Line& line, const ColumnHeader& header) {
    Cells cells;
    for (const WordBox* word : line.words) {
        if (word->text == "WD" || word->text == "DNS" || word->text == "DNF") {
            cells.withdrawn = true;
            continue;
        }
        if (word->text == "*") {
            cells.penalty = true;
            continue;
        }
        const Column* column = header.ColumnAt(*word);
        if (column && column->kind == ColumnKind::Name) {
            cells.name.push_back(word->text);
            continue;
        }
        std::string* cell = column ? CellOf(cells, *column) : nullptr;
        if (!cell) {
            cells.outside = true;
            continue;
        }
        *cell += word->text; // "=" and "1" printed apart are one rank
    }
    if (cells.points.starts_with('*')) {
        cells.penalty = true;
        cells.points.erase(0, 1);
    }
    return cells;
}

// A diver's block: the first dive line (rank, name, nation) and the lines below it.
struct Block {
    Cells first;
    std::string name;
    std::vector<Cells> dives;
    double bottom = 0;
    int nameLines = 0;
    bool withdrawn = false;

    void AddName(const std::vector<std::string>& words) {
        for (const std::string& word : words)
            name += (name.empty() ? "" : " ") + word;
        ++nameLines;
    }
};

std::string Hundredths(long value) {
    const std::string cents = std::to_string(value % 100);
    return std::to_string(value / 100) + "." + (cents.size() < 2 ? "0" : "") + cents;
}

std::string DiveText(const Block& block, std::size_t number, const Cells& dive) {
    return block.name + (block.first.nation.empty() ? "" : " (" + block.first.nation + ")") +
           ", dive " + std::to_string(number) + " (" + dive.code + ")";
}

// A performed dive's awards and points, or why the row cannot be one.
std::optional<std::string> CheckRow(const Cells& dive, int awards) {
    int given = 0;
    for (int i = 0; i < awards; ++i) {
        const std::optional<long> award = FixedNumber(dive.awards[i], 1);
        if (!award || *award > 100)
            return dive.awards[i].empty() ? "awards missing" : "award '" + dive.awards[i] + "'";
        ++given;
    }
    if (given == 0 || !FixedNumber(dive.points, 2))
        return "points '" + dive.points + "'";
    return std::nullopt;
}

struct RoundTotals {
    std::optional<long> previous; // the running total printed on the block's previous line
};

void AddDive(PageReading& page, const Block& block, std::size_t number, const Cells& row,
             int awards, RoundTotals& totals) {
    const std::optional<long> total = FixedNumber(row.total, 2);
    const std::optional<long> previous = totals.previous;
    totals.previous = total;
    PrintedDive printed{{},        block.name,      block.first.rank, row.diveRank,
                        row.total, row.overallRank, row.behind,       block.withdrawn};
    SourceDive& dive = printed.dive;
    dive.event = page.event;
    dive.round = page.round;
    dive.nation = block.first.nation;
    dive.diveNumber = static_cast<int>(number);
    dive.code = row.code;
    dive.dd = row.dd;
    dive.awards.assign(row.awards.begin(), row.awards.begin() + awards);
    dive.penalty = row.penalty;
    dive.points = row.points;
    if (!PointsAddUp(dive)) {
        page.faults.push_back(DiveText(block, number, row) + ": points " + row.points +
                              " do not follow from the DD and the awards");
        return;
    }
    const long points = *FixedNumber(row.points, 2);
    if (previous && total && *total - *previous != points) {
        page.faults.push_back(DiveText(block, number, row) + ": the total goes from " +
                              Hundredths(*previous) + " to " + row.total + ", not by " +
                              row.points);
        return;
    }
    page.dives.push_back(std::move(printed));
}

bool ListedOnly(const Cells& row) {
    return row.points.empty() && std::all_of(row.awards.begin(), row.awards.end(),
                                             [](const std::string& a) { return a.empty(); });
}

void AddBlock(PageReading& page, Block block, int awards) {
    // A ranked diver who withdrew has the remaining dives listed without awards.
    block.withdrawn |= std::any_of(block.dives.begin(), block.dives.end(), ListedOnly);
    RoundTotals totals;
    for (std::size_t i = 0; i < block.dives.size(); ++i) {
        const Cells& row = block.dives[i];
        if (ListedOnly(row)) {
            ++page.unperformed;
            totals.previous = FixedNumber(row.total, 2);
        } else if (const auto problem = CheckRow(row, awards)) {
            page.faults.push_back(DiveText(block, i + 1, row) + ": not read, " + *problem);
            totals.previous = FixedNumber(row.total, 2);
        } else {
            AddDive(page, block, i + 1, row, awards, totals);
        }
    }
}

bool IsDiveLine(const Cells& cells) {
    return IsDiveCode(cells.code) && FixedNumber(cells.dd, 2).has_value();
}

// Reads the table's lines below the header into diver blocks, and their dives into `page`.
void ReadTable(PageReading& page, const std::vector<Line>& lines, const ColumnHeader& header) {
    std::optional<Block> block;
    for (std::size_t i = header.lastLine + 1; i < lines.size(); ++i) {
        const Cells cells = CellsOf(lines[i], header);
        if (IsDiveLine(cells)) {
            if (!block || !cells.rank.empty() || !cells.nation.empty()) {
                if (block)
                    AddBlock(page, *block, header.awards);
                block.emplace();
                block->first = cells;
            }
            if (!cells.name.empty())
                block->AddName(cells.name);
            block->dives.push_back(cells);
        } else if (block && cells.NameOnly() && block->nameLines < 3 &&
                   lines[i].top - block->bottom < 1.5 * lines[i].Height()) {
            block->AddName(cells.name);
        } else {
            continue;
        }
        block->withdrawn |= cells.withdrawn;
        block->bottom = lines[i].bottom;
    }
    if (block)
        AddBlock(page, *block, header.awards);
}

} // namespace

bool PointsAddUp(const SourceDive& dive) {
    const std::size_t judges = dive.awards.size();
    if (judges < 3 || judges % 2 == 0)
        return false;
    std::vector<long> awards;
    for (const std::string& text : dive.awards) {
        const std::optional<long> award = FixedNumber(text, 1);
        if (!award || *award > 100)
            return false;
        awards.push_back(*award);
    }
    const std::optional<long> dd = FixedNumber(dive.dd, 2);
    const std::optional<long> points = FixedNumber(dive.points, 2);
    if (!dd || !points)
        return false;
    std::sort(awards.begin(), awards.end());
    const std::size_t dropped = (judges - 3) / 2;
    long sum = 0, reduced = 0; // in tenths
    for (std::size_t i = dropped; i < dropped + 3; ++i) {
        sum += awards[i];
        reduced += std::max(0L, awards[i] - 20);
    }
    // DD (hundredths) times awards (tenths) is in thousandths.
    if (!dive.penalty)
        return *dd * sum == *points * 10;
    // The penalty takes 2 points from each award, none below 0; the sum less 6 is the same
    // unless an award is under 2.
    return *dd * reduced == *points * 10 || *dd * std::max(0L, sum - 60) == *points * 10;
}

} // namespace corvane

namespace corvane {

namespace {

// Heading lines of a page without a table: those above its first long line.
std::size_t HeadingEnd(const std::vector<Line>& lines) {
    constexpr std::size_t kMostHeadingLines = 15;
    return std::min(lines.size(), kMostHeadingLines);
}

PageKind KindOf(const Heading& heading, const std::optional<ColumnHeader>& header) {
    const auto says = [&](std::string_view words) {
        return heading.text.find(words) != std::string::npos;
    };
    if (header && header->Individual() && heading.event > 0)
        return PageKind::DetailedResults;
    if (says("start list") || says("start order"))
        return PageKind::StartList;
    if (says("judges") && (says("panel") || says("referee")))
        return PageKind::JudgesPanel;
    const auto has = [&](ColumnKind kind) {
        return header && std::any_of(header->columns.begin(), header->columns.end(),
                                     [&](const Column& column) { return column.kind == kind; });
    };
    const bool pairs = has(ColumnKind::PairOrPanel);
    // Detailed results say so or list dives; a summary does neither, whatever its event.
    const bool detailed = says("detailed result") || pairs || (header && header->awards > 0) ||
                          (has(ColumnKind::Code) && has(ColumnKind::DD));
    if (header && (heading.event < 0 || pairs) && detailed && says("result"))
        return PageKind::OtherEvent;
    if (says("results book") || says("result book"))
        return PageKind::Cover;
    return PageKind::Other;
}

} // namespace

PageReading ReadBookPage(const PageWords& words) {
    PageReading page;
    const std::vector<Line> lines = LinesOf(words);
    if (lines.empty())
        return page;
    const std::optional<ColumnHeader> header = FindColumnHeader(lines);
    const Heading heading = ReadHeading(lines, header ? header->firstLine : HeadingEnd(lines));
    page.kind = KindOf(heading, header);
    page.pageOfRound = heading.pageOfRound;
    page.pagesInRound = heading.pagesInRound;
    page.title = heading.title;
    page.dates = heading.dates;
    if (page.kind != PageKind::DetailedResults)
        return page;
    page.event = heading.event;
    page.round = heading.round;
    ReadTable(page, lines, *header);
    return page;
}

} // namespace corvane
