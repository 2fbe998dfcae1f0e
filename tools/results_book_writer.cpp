// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results_book_writer.h"

#include "tools/results_book_model.h"

#include <cairo-pdf.h>
#include <cairo.h>

namespace corvane {
namespace book {

// The two faces of the book, set through cairo's own font selection.
struct FontMetrics::Cairo {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* context = cairo_create(surface);
    ~Cairo() {
        cairo_destroy(context);
        cairo_surface_destroy(surface);
    }
};

namespace {

void SelectFont(cairo_t* context, double size, bool bold) {
    cairo_select_font_face(context, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(context, size);
}

double Advance(cairo_t* context, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(context, text.c_str(), &extents);
    return extents.x_advance;
}

} // namespace

FontMetrics::FontMetrics() : cairo_(std::make_unique<Cairo>()) {}
FontMetrics::~FontMetrics() = default;

double FontMetrics::Width(const std::string& text, double size, bool bold) const {
    SelectFont(cairo_->context, size, bold);
    return Advance(cairo_->context, text);
}

namespace {

std::vector<SourceDive> Dives(const Competition& competition, bool performed) {
    std::vector<SourceDive> dives;
    for (const Round& round : competition.rounds) {
        const Event& event = competition.events[round.event];
        if (event.index == 0) {
            continue;
        }
        for (const Entry& entry : round.entries) {
            const Diver& diver = competition.divers[entry.divers.front()];
            for (std::size_t d = 0; d < entry.dives.size(); ++d) {
                const Dive& dive = entry.dives[d];
                if (dive.Performed() != performed) {
                    continue;
                }
                SourceDive source{event.index,
                                  round.names[0],
                                  diver.asciiSurname,
                                  diver.asciiGiven,
                                  diver.nation,
                                  "",
                                  static_cast<int>(d) + 1,
                                  dive.code,
                                  TenthsText(dive.ddTenths),
                                  {},
                                  dive.penalty,
                                  ""};
                for (int halves : dive.halves) {
                    source.awards.push_back(AwardText(halves));
                }
                source.points = performed ? CentsText(dive.cents) : "";
                dives.push_back(std::move(source));
            }
        }
    }
    return dives;
}

ResultsBook BookOf(const Competition& competition, const ResultsBookOptions& options,
                   const FontMetrics& metrics) {
    ResultsBook book;
    book.pages = LayOutBook(competition, options, metrics);
    book.expected.title = competition.title;
    book.expected.dates = competition.dates;
    book.expected.dives = Dives(competition, true);
    book.unperformed = Dives(competition, false);
    return book;
}

// Grows the competition towards the wanted page count (larger fields, then more of the
// events a reader skips), then fills the rest with medal standings pages.
ResultsBook BookOfPages(const ResultsBookOptions& options, const FontMetrics& metrics) {
    CompetitionSize size{24, 18, 12, 0};
    Competition competition = PlanCompetition(options, size);
    int pages = static_cast<int>(LayOutBook(competition, options, metrics).size());
    while (pages < options.pages) {
        CompetitionSize bigger = size;
        if (bigger.preliminary < 60) {
            bigger.preliminary += 6;
        } else {
            ++bigger.extraEvents;
        }
        Competition next = PlanCompetition(options, bigger);
        const int nextPages = static_cast<int>(LayOutBook(next, options, metrics).size());
        if (nextPages > options.pages) {
            break;
        }
        size = bigger;
        competition = std::move(next);
        pages = nextPages;
    }
    competition.fillerPages = std::max(0, options.pages - pages);
    return BookOf(competition, options, metrics);
}

} // namespace
} // namespace book

ResultsBook PlanResultsBook(const ResultsBookOptions& options) {
    const book::FontMetrics metrics;
    if (options.pages > 0) {
        return book::BookOfPages(options, metrics);
    }
    // fields of a few sizes, so that blocks fall differently on the pages
    const int extra = static_cast<int>(options.seed % 5);
    const book::CompetitionSize size{12 + extra, 9 + extra % 3, 8, 0};
    return book::BookOf(book::PlanCompetition(options, size), options, metrics);
}

namespace {

void DrawPage(cairo_t* context, const BookPage& page) {
    for (const BookText& text : page.texts) {
        book::SelectFont(context, text.size, text.bold);
        double x = text.x;
        if (text.align != BookText::Align::Left) {
            const double width = book::Advance(context, text.text);
            x -= text.align == BookText::Align::Right ? width : width / 2;
        }
        cairo_move_to(context, x, text.baseline);
        cairo_show_text(context, text.text.c_str());
    }
    cairo_show_page(context);
}

} // namespace

std::optional<std::string> WriteResultsBookPdf(const ResultsBook& book, const std::string& path) {
    constexpr double kA4Width = 595;
    constexpr double kA4Height = 842;
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), kA4Width, kA4Height);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE,
                                   (book.expected.title + " - Results Book").c_str());
    cairo_t* context = cairo_create(surface);
    for (const BookPage& page : book.pages) {
        DrawPage(context, page);
    }
    cairo_destroy(context);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        return "cannot write " + path + ": " + cairo_status_to_string(status);
    }
    return std::nullopt;
}

} // namespace corvane
