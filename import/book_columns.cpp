// SPDX-License-Identifier: GPL-3.0-or-later
// The column header of a detailed results table: its words stacked into labels, the labels
// into columns, and the data words of a row into those columns.
#include "book_layout.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace corvane::book {

namespace {

bool IsNameWord(const WordBox& word) {
    std::string lower;
    for (char c : word.text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "name" || lower == "diver" || lower == "athlete";
}

// The header lines: the line with "Name" and the lines just above and below it that hold no
// numbers (the rows start with a number or a dive code).
std::pair<std::size_t, std::size_t> HeaderBand(const std::vector<Line>& lines, std::size_t at) {
    const double reach = 1.6 * lines[at].Height();
    const auto part = [&](std::size_t i) {
        if (std::abs(lines[i].Middle() - lines[at].Middle()) > reach)
            return false;
        return std::none_of(lines[i].words.begin(), lines[i].words.end(), [](const WordBox* w) {
            return std::any_of(w->text.begin(), w->text.end(),
                               [](char c) { return c >= '0' && c <= '9'; }) &&
                   !(w->text.size() <= 3 && std::isalpha(static_cast<unsigned char>(w->text[0])));
        });
    };
    std::size_t first = at, last = at;
    while (first > 0 && part(first - 1))
        --first;
    while (last + 1 < lines.size() && part(last + 1))
        ++last;
    return {first, last};
}

struct Label {
    const WordBox* word;
    std::string text;
    double left, right;
};

// The words of the band with nothing of the header below them, each with the words above it
// that stand over it alone ("Dive" over "No."); a heading over several columns is dropped.
std::vector<Label> StackedLabels(const std::vector<const WordBox*>& words) {
    const auto below = [](const WordBox* upper, const WordBox* lower) {
        return lower->y > upper->y + 0.3 * upper->height && upper->x < lower->x + lower->width &&
               lower->x < upper->x + upper->width;
    };
    std::vector<Label> leaves;
    for (const WordBox* word : words)
        if (std::none_of(words.begin(), words.end(),
                         [&](const WordBox* o) { return below(word, o); }))
            leaves.push_back({word, word->text, word->x, word->x + word->width});
    std::vector<const WordBox*> upper(words);
    std::sort(upper.begin(), upper.end(),
              [](const WordBox* a, const WordBox* b) { return a->y > b->y; });
    for (const WordBox* word : upper) {
        std::vector<Label*> under;
        for (Label& leaf : leaves)
            if (leaf.word != word && below(word, leaf.word))
                under.push_back(&leaf);
        if (under.size() == 1)
            under[0]->text = word->text + " " + under[0]->text;
    }
    return leaves;
}

// Joins labels that follow each other on one line with no more than a space between them.
std::vector<Label> JoinedLabels(std::vector<Label> leaves) {
    std::sort(leaves.begin(), leaves.end(),
              [](const Label& a, const Label& b) { return a.left < b.left; });
    std::vector<Label> joined;
    for (const Label& leaf : leaves) {
        if (!joined.empty()) {
            Label& last = joined.back();
            const double gap = leaf.left - last.right;
            if (std::abs(leaf.word->y - last.word->y) < 0.3 * leaf.word->height && gap >= 0 &&
                gap < 0.3 * leaf.word->height) {
                last.text += " " + leaf.text;
                last.right = leaf.right;
                continue;
            }
        }
        joined.push_back(leaf);
    }
    return joined;
}

bool Has(const std::string& label, std::string_view part) {
    return label.find(part) != std::string::npos;
}

ColumnKind KindOf(const std::string& label, bool afterName, bool afterTotal, int& award) {
    // A judge's column is "J1" (execution "E1", synchronisation "S1" in pairs' events), maybe
    // under a heading of its own.
    const std::string judge = label.substr(label.size() >= 2 ? label.size() - 2 : 0);
    const bool numbered = judge.size() == 2 && judge[1] >= '1' && judge[1] <= '9' &&
                          (label.size() == 2 || label[label.size() - 3] == ' ');
    if (numbered && judge[0] == 'j') {
        award = judge[1] - '0';
        return ColumnKind::Award;
    }
    if (numbered && (judge[0] == 'e' || judge[0] == 's'))
        return ColumnKind::PairOrPanel;
    if (Has(label, "name") || label == "diver" || label == "athlete")
        return ColumnKind::Name;
    if (label == "nat" || label == "noc" || label == "nation" || label == "country")
        return ColumnKind::Nation;
    if (label == "dd" || label == "dd." || Has(label, "difficulty"))
        return ColumnKind::DD;
    if (Has(label, "behind"))
        return ColumnKind::Behind;
    if (Has(label, "total"))
        return ColumnKind::Total;
    if (Has(label, "points") || Has(label, "pts") || label == "score")
        return ColumnKind::Points;
    if (Has(label, "rank") || Has(label, "rk") || label == "pl." || label == "pos")
        return Has(label, "dive")                                          ? ColumnKind::DiveRank
               : Has(label, "overall") || Has(label, "ovrl") || afterTotal ? ColumnKind::OverallRank
               : afterName                                                 ? ColumnKind::DiveRank
                                                                           : ColumnKind::Rank;
    if (Has(label, "dive") || label == "no." || label == "no" || label == "code")
        return ColumnKind::Code;
    return ColumnKind::Other;
}

std::string LowerText(const std::string& text) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

ColumnHeader ColumnsOf(const std::vector<Line>& lines, std::size_t first, std::size_t last) {
    std::vector<const WordBox*> words;
    for (std::size_t i = first; i <= last; ++i)
        words.insert(words.end(), lines[i].words.begin(), lines[i].words.end());
    ColumnHeader header;
    header.firstLine = first;
    header.lastLine = last;
    bool afterName = false, afterTotal = false;
    for (const Label& label : JoinedLabels(StackedLabels(words))) {
        Column column{ColumnKind::Other, 0, label.left, label.right, LowerText(label.text)};
        column.kind = KindOf(column.label, afterName, afterTotal, column.award);
        afterName |= column.kind == ColumnKind::Name;
        afterTotal |= column.kind == ColumnKind::Total;
        header.columns.push_back(column);
    }
    int expected = 1;
    for (const Column& column : header.columns)
        if (column.kind == ColumnKind::Award)
            expected = column.award == expected ? expected + 1 : 100;
    header.awards = expected == 6 || expected == 8 ? expected - 1 : 0;
    return header;
}

} // namespace

bool ColumnHeader::Individual() const {
    const auto has = [&](ColumnKind kind) {
        return std::any_of(columns.begin(), columns.end(),
                           [&](const Column& column) { return column.kind == kind; });
    };
    return awards > 0 && has(ColumnKind::Name) && has(ColumnKind::Nation) &&
           has(ColumnKind::Code) && has(ColumnKind::DD) && has(ColumnKind::Points) &&
           !has(ColumnKind::PairOrPanel);
}

const Column* ColumnHeader::ColumnAt(const WordBox& word) const {
    const double middle = word.x + word.width / 2;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& column = columns[i];
        if (i + 1 == columns.size())
            return &column;
        const Column& next = columns[i + 1];
        // A name runs on to the next column; numbers sit under their header's middle.
        const double border = column.kind == ColumnKind::Name ? next.left - 0.25 * word.height
                                                              : (column.right + next.left) / 2;
        if (column.kind == ColumnKind::Name ? word.x < border : middle < border)
            return &column;
    }
    return nullptr;
}

std::optional<ColumnHeader> FindColumnHeader(const std::vector<Line>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (std::none_of(lines[i].words.begin(), lines[i].words.end(),
                         [](const WordBox* word) { return IsNameWord(*word); }))
            continue;
        const auto [first, last] = HeaderBand(lines, i);
        // A header has a few dozen words; stacking labels costs the square of their number.
        constexpr std::size_t kMostHeaderWords = 200;
        std::size_t words = 0;
        for (std::size_t line = first; line <= last; ++line)
            words += lines[line].words.size();
        if (words > kMostHeaderWords)
            continue;
        ColumnHeader header = ColumnsOf(lines, first, last);
        if (header.columns.size() >= 4)
            return header;
    }
    return std::nullopt;
}

} // namespace corvane::book
