// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One word of a PDF page as its text layer gives it: its text (UTF-8) and its box in points,
// from the page's top left corner. The box's height stands for the font size.
struct WordBox {
    std::string text;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

using PageWords = std::vector<WordBox>;

// What a hostile file may cost at most: a book of the largest competitions has some 300 pages
// of at most 2,500 words each.
inline constexpr int kMaxPdfPages = 2000;
inline constexpr std::size_t kMaxPdfWords = 2'000'000;
inline constexpr std::size_t kMaxPdfBytes = 256u << 20;

// The words of every page of a PDF, or why there are none.
struct PdfText {
    std::vector<PageWords> pages;
    std::optional<std::string> error; // the message for the user, naming the file
};

// True when the bytes start as a PDF does ("%PDF-", maybe after a few bytes of noise).
bool LooksLikePdf(std::string_view bytes);

// Reads the text layer of a PDF held in memory with poppler; `name` names the file in
// messages. Refuses what is not a PDF, a damaged or encrypted one, and one without any text.
// Stops before the next page once `cancelled`, when given, is true: a large book takes a
// second or more.
PdfText ReadPdfText(std::string_view bytes, const std::string& name,
                    const std::atomic<bool>* cancelled = nullptr);

} // namespace corvane
