// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_text.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <memory>

namespace corvane {

namespace {

// Poppler prints what it thinks of a damaged file on standard error; the import's own
// message says it once, naming the file.
void Silence(const std::string& /*message*/, void* /*closure*/) {}

PdfText Failure(std::string message) {
    PdfText text;
    text.error = std::move(message);
    return text;
}

void AddWords(const poppler::page& page, PageWords& words, std::size_t& total) {
    // Without font information: the layout is read from positions and sizes alone, and
    // asking poppler for fonts costs a tenth more.
    for (const poppler::text_box& box : page.text_list()) {
        if (++total > kMaxPdfWords)
            return;
        const poppler::rectf rect = box.bbox();
        const poppler::byte_array utf8 = box.text().to_utf8();
        words.push_back({std::string(utf8.begin(), utf8.end()), rect.x(), rect.y(), rect.width(),
                         rect.height()});
    }
}

} // namespace

bool LooksLikePdf(std::string_view bytes) {
    // Readers accept the signature within the first kilobyte.
    return bytes.substr(0, 1024).find("%PDF-") != std::string_view::npos;
}

PdfText ReadPdfText(std::string_view bytes, const std::string& name,
                    const std::atomic<bool>* cancelled) {
    poppler::set_debug_error_function(Silence, nullptr);
    if (!LooksLikePdf(bytes))
        return Failure(name + ": not a PDF file");
    if (bytes.size() > kMaxPdfBytes)
        return Failure(name + ": a PDF larger than " + std::to_string(kMaxPdfBytes >> 20) +
                       " MB; is it a results book?");
    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    if (!document)
        return Failure(name + ": a PDF, damaged or truncated; not read");
    if (document->is_locked() || document->is_encrypted())
        return Failure(name + ": an encrypted PDF; not read");
    const int pages = document->pages();
    if (pages > kMaxPdfPages)
        return Failure(name + ": a PDF of " + std::to_string(pages) + " pages, at most " +
                       std::to_string(kMaxPdfPages) + " are read; is it a results book?");
    PdfText text;
    std::size_t total = 0;
    for (int i = 0; i < pages && total <= kMaxPdfWords; ++i) {
        if (cancelled && cancelled->load(std::memory_order_relaxed))
            return Failure(name + ": reading cancelled");
        text.pages.emplace_back();
        if (const std::unique_ptr<poppler::page> page(document->create_page(i)); page)
            AddWords(*page, text.pages.back(), total);
    }
    if (total > kMaxPdfWords)
        return Failure(name + ": a PDF of more than " + std::to_string(kMaxPdfWords) +
                       " words; is it a results book?");
    if (total == 0)
        return Failure(name + ": a PDF without text (a scanned book?); only books with a "
                              "text layer are read");
    return text;
}

} // namespace corvane
