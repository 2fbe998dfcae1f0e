// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as the word boxes of a results book page, and two such pages
// as a book. The reader must neither crash nor keep a dive whose points do not follow from
// its DD and awards, nor one outside the four events.
//
// Input: records of [x][y][height][length][text bytes]; x is the byte times 2.5 points, y
// times 3.2, the height 6 to 15 points.
#include "import/book_layout.h"
#include "import/results_book.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

corvane::PageWords WordsOf(std::string_view bytes) {
    corvane::PageWords words;
    while (bytes.size() >= 4) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        const double height = 6 + byte(2) % 10;
        const std::size_t length = std::min<std::size_t>(byte(3) % 24, bytes.size() - 4);
        std::string text(bytes.substr(4, length));
        const double width = static_cast<double>(text.size()) * height * 0.5;
        words.push_back({std::move(text), byte(0) * 2.5, byte(1) * 3.2, width, height});
        bytes.remove_prefix(4 + length);
    }
    return words;
}

void CheckPage(const corvane::PageReading& page) {
    for (const corvane::PrintedDive& printed : page.dives) {
        Check(page.kind == corvane::PageKind::DetailedResults);
        Check(printed.dive.event >= 1 && printed.dive.event <= 4);
        Check(printed.dive.awards.size() == 5 || printed.dive.awards.size() == 7);
        Check(corvane::book::IsDiveCode(printed.dive.code));
        Check(printed.dive.diveNumber >= 1);
        Check(corvane::PointsAddUp(printed.dive));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const corvane::PageReading page = corvane::ReadBookPage(WordsOf(bytes));
    CheckPage(page);
    // The same words as the two pages of a book, split in the middle.
    const std::size_t half = bytes.size() / 2;
    const corvane::BookReading book = corvane::ReadBookPages(
        {WordsOf(bytes.substr(0, half)), WordsOf(bytes.substr(half))}, "fuzz.pdf");
    std::size_t dives = 0;
    for (const corvane::PageReading& read : book.pages) {
        CheckPage(read);
        dives += read.dives.size();
    }
    Check(book.reading.dives.size() <= dives);
    for (const corvane::SourceDive& dive : book.reading.dives)
        Check(corvane::PointsAddUp(dive) && dive.event >= 1 && dive.event <= 4);
    return 0;
}
