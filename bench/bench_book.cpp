// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a results book of 160 pages (a test book written with cairo) against poppler's
// own text extraction of the same pages, in the same run: the reader's share on top of
// poppler is the figure to watch. And the sample books kept beside the project, all three
// in one go, when they are there.
#include "import/results_book.h"
#include "tools/results_book_writer.h"

#include <benchmark/benchmark.h>
#include <poppler-document.h>
#include <poppler-page.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The 160-page test book's bytes, written once into the temporary folder.
const std::string& Book160() {
    static const std::string bytes = [] {
        corvane::ResultsBookOptions options;
        options.pages = 160;
        const fs::path path = fs::temp_directory_path() / "corvane-bench-book-160.pdf";
        if (corvane::WriteResultsBookPdf(corvane::PlanResultsBook(options), path.string()))
            return std::string();
        std::string read = ReadFile(path);
        fs::remove(path);
        return read;
    }();
    return bytes;
}

void PopplerText(benchmark::State& state) {
    const std::string& bytes = Book160();
    std::size_t words = 0;
    for (auto _ : state) {
        const std::unique_ptr<poppler::document> document(
            poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
        for (int i = 0; i < document->pages(); ++i) {
            const std::unique_ptr<poppler::page> page(document->create_page(i));
            words += page->text_list().size();
        }
    }
    benchmark::DoNotOptimize(words);
}
BENCHMARK(PopplerText)->Unit(benchmark::kMillisecond);

void ImportBook(benchmark::State& state) {
    const std::string& bytes = Book160();
    for (auto _ : state) {
        const corvane::BookOutcome outcome = corvane::ReadResultsBook(bytes, "book.pdf");
        if (outcome.error) {
            state.SkipWithError(outcome.error->c_str());
            return;
        }
        benchmark::DoNotOptimize(outcome.book.reading.dives.data());
    }
}
BENCHMARK(ImportBook)->Unit(benchmark::kMillisecond);

void ImportSampleBooks(benchmark::State& state) {
    std::vector<std::string> books;
    if (fs::is_directory(CORVANE_RESULTS_BOOKS))
        for (const auto& entry : fs::directory_iterator(CORVANE_RESULTS_BOOKS))
            if (entry.path().extension() == ".pdf")
                books.push_back(ReadFile(entry.path()));
    if (books.empty()) {
        state.SkipWithError("no sample books in " CORVANE_RESULTS_BOOKS);
        return;
    }
    for (auto _ : state)
        for (const std::string& bytes : books)
            benchmark::DoNotOptimize(corvane::ReadResultsBook(bytes, "book.pdf").book.pages.size());
}
BENCHMARK(ImportSampleBooks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
