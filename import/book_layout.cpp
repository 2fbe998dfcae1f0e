// SPDX-License-Identifier: GPL-3.0-or-later
#include "book_layout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>

namespace corvane::book {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A word's text in lower case without the punctuation around it ("Men's," -> "men's").
std::string Token(std::string_view text) {
    const auto punctuation = [](char c) { return c == ',' || c == ':' || c == ';' || c == '-'; };
    while (!text.empty() && punctuation(text.back()))
        text.remove_suffix(1);
    while (!text.empty() && punctuation(text.front()))
        text.remove_prefix(1);
    return Lower(text);
}

bool Usable(const WordBox& word) {
    return !word.text.empty() && std::isfinite(word.x) && std::isfinite(word.y) &&
           std::isfinite(word.width) && std::isfinite(word.height) && word.width >= 0 &&
           word.height >= 0 && std::abs(word.x) < 1e6 && std::abs(word.y) < 1e6 &&
           word.width < 1e6 && word.height < 1e6;
}

double Center(const WordBox& word) {
    return word.y + word.height / 2;
}

} // namespace

std::string Line::Text() const {
    std::string text;
    for (const WordBox* word : words)
        text += (text.empty() ? "" : " ") + word->text;
    return text;
}

std::vector<Line> LinesOf(const PageWords& words) {
    std::vector<const WordBox*> sorted;
    for (const WordBox& word : words)
        if (Usable(word))
            sorted.push_back(&word);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const WordBox* a, const WordBox* b) { return Center(*a) < Center(*b); });
    std::vector<Line> lines;
    double lineCenter = 0;
    for (const WordBox* word : sorted) {
        const double tolerance = 0.3 * std::max(word->height, 1.0);
        if (lines.empty() || Center(*word) - lineCenter > tolerance) {
            lines.push_back({word->y, word->y + word->height, {}});
            lineCenter = Center(*word);
        }
        Line& line = lines.back();
        line.top = std::min(line.top, word->y);
        line.bottom = std::max(line.bottom, word->y + word->height);
        line.words.push_back(word);
    }
    for (Line& line : lines)
        std::stable_sort(line.words.begin(), line.words.end(),
                         [](const WordBox* a, const WordBox* b) { return a->x < b->x; });
    return lines;
}

std::optional<long> FixedNumber(std::string_view text, int decimals) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 6 || !digits(whole) || !digits(fraction) ||
        static_cast<int>(fraction.size()) > decimals ||
        (point != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    long value = 0;
    for (char c : whole)
        value = value * 10 + (c - '0');
    for (int i = 0; i < decimals; ++i)
        value = value * 10 + (i < static_cast<int>(fraction.size()) ? fraction[i] - '0' : 0);
    return value;
}

bool IsDiveCode(std::string_view text) {
    if (text.size() < 4 || text.size() > 5 || text.front() < '1' || text.front() > '6')
        return false;
    const char position = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    return position >= 'A' && position <= 'D' &&
           std::all_of(text.begin(), text.end() - 1, [](char c) { return c >= '0' && c <= '9'; });
}

bool IsDateLine(std::string_view text) {
    static constexpr const char* kMonths[] = {"january",   "february", "march",    "april",
                                              "may",       "june",     "july",     "august",
                                              "september", "october",  "november", "december"};
    const std::string lower = Lower(text);
    if (std::none_of(lower.begin(), lower.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    // A month is a word of its own, in full or its first three letters ("FEB", "Sept"): a
    // title such as "Marseille 2016" names none.
    const auto month = [](std::string_view word) {
        return std::any_of(std::begin(kMonths), std::end(kMonths), [&](std::string_view name) {
            return word == name || word == name.substr(0, 3) || (word == "sept" && name[0] == 's');
        });
    };
    std::size_t at = 0;
    while (at < lower.size()) {
        const auto letter = [&](std::size_t i) {
            return std::isalpha(static_cast<unsigned char>(lower[i])) != 0;
        };
        std::size_t end = at;
        while (end < lower.size() && letter(end))
            ++end;
        if (end > at && month(std::string_view(lower).substr(at, end - at)))
            return true;
        at = end + 1;
    }
    return false;
}

std::string DatesOf(const std::string& text) {
    const std::size_t comma = text.rfind(',');
    if (comma == std::string::npos || !IsDateLine(text.substr(comma + 1)))
        return text;
    const std::size_t start = text.find_first_not_of(' ', comma + 1);
    return start == std::string::npos ? text : text.substr(start);
}

int EventOfLine(const Line& line) {
    bool women = false, men = false, board = false, platform = false, other = false;
    int height = 0;
    for (std::size_t i = 0; i < line.words.size(); ++i) {
        const std::string token = Token(line.words[i]->text);
        const std::string next = i + 1 < line.words.size() ? Token(line.words[i + 1]->text) : "";
        women |= token.starts_with("women") || token.starts_with("ladies");
        men |= token == "men" || token == "men's" || token == "mens";
        board |= token == "springboard";
        platform |= token == "platform" || token == "highboard";
        other |= token.starts_with("synchro") || token == "team" || token == "mixed" ||
                 token == "pairs" || token == "duet";
        for (const int metres : {1, 3, 10}) {
            const std::string number = std::to_string(metres);
            if (token == number + "m" || (token == number && (next == "m" || next == "metre")))
                height = metres;
        }
    }
    // Without a height the apparatus tells it: the platform event is 10 m, and a 1 m event
    // always says so.
    if (height == 0)
        height = platform ? 10 : 3;
    if (!(women || men) || !(board || platform))
        return 0;
    if (other || height == 1 || (height == 3) != board)
        return -1;
    return (height == 3 ? 1 : 3) + (women ? 1 : 0);
}

std::string RoundOfLine(const Line& line) {
    for (std::size_t i = 0; i < line.words.size(); ++i) {
        const std::string token = Token(line.words[i]->text);
        const std::string next = i + 1 < line.words.size() ? Token(line.words[i + 1]->text) : "";
        if (token == "dive" && next == "off")
            return "Dive Off";
        if (token == "preliminary" || token == "preliminaries")
            return "Preliminary";
        const bool semi =
            token == "semifinal" || token == "semi-final" || (token == "semi" && next == "final");
        if (semi) {
            const std::size_t after = token == "semi" ? i + 2 : i + 1;
            const std::string group =
                after < line.words.size() ? Token(line.words[after]->text) : "";
            if (group == "a" || group == "b")
                return std::string("Semifinal ") + static_cast<char>(std::toupper(group[0]));
            return "Semifinal";
        }
        if (token == "final")
            return "Final";
    }
    return {};
}

} // namespace corvane::book
