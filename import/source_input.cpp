// SPDX-License-Identifier: GPL-3.0-or-later
#include "source_input.h"

#include "importer.h"
#include "input_table.h"
#include "names.h"
#include "pdf_text.h"
#include "results_book.h"

#include "store/events.h"

namespace corvane {

namespace {

InputOutcome ReadSheet(std::string_view bytes, const std::string& path,
                       const InputOptions& options) {
    InputOutcome outcome;
    CsvTable table;
    if (const auto problem = ReadInputTable(bytes, options.sheet, table)) {
        outcome.message = path + ": " + *problem;
        return outcome;
    }
    SheetReader reader;
    if (auto failure = reader.Read(table, options.columns, path)) {
        outcome.message = std::move(*failure) + SheetHint(table);
        return outcome;
    }
    if (table.readAsLatin1)
        outcome.notes.push_back(path + " is not UTF-8; read as Latin-1");
    SheetReading sheet = reader.Finish(BaseName(path));
    InputReading& read = outcome.read.emplace();
    read.headline = Rows(sheet.rowsRead) + " read";
    read.faultCount = sheet.SkippedRows();
    read.faultOne = "row skipped";
    read.faultMany = "rows skipped";
    read.otherEvents = std::move(sheet.otherEvents);
    read.reading = std::move(sheet.reading);
    return outcome;
}

// A results book: its dives as the book gives them, names cut as a sheet's are, and the
// dives that fail the points check as faults.
InputOutcome ReadBook(std::string_view bytes, const std::string& path,
                      const std::atomic<bool>* cancelled) {
    InputOutcome outcome;
    BookOutcome book = ReadResultsBook(bytes, path, cancelled);
    if (book.error) {
        outcome.message = std::move(*book.error);
        return outcome;
    }
    InputReading& read = outcome.read.emplace();
    SourceReading& reading = read.reading = std::move(book.book.reading);
    std::erase_if(reading.dives, [](const SourceDive& dive) {
        return dive.event < 1 || dive.event > kEventCount;
    });
    std::size_t namesCut = 0;
    for (SourceDive& dive : reading.dives) {
        dive.code = Capitals(dive.code);
        namesCut += CutToRosterWidths(dive.surname, dive.given) ? 1 : 0;
    }
    if (namesCut > 0)
        reading.report.push_back("names cut to 25 (surname) and 20 (given name) characters: " +
                                 std::to_string(namesCut) + (namesCut == 1 ? " dive" : " dives"));
    for (std::string& fault : reading.faults)
        fault = "left out: " + fault;
    read.headline = path + ": " + reading.title +
                    (reading.dates.empty() ? "" : ", " + reading.dates) + ": " +
                    std::to_string(reading.dives.size()) + " dives";
    read.headlineNamesInput = true;
    read.faultCount = reading.faults.size();
    read.faultOne = "dive fails the points check";
    read.faultMany = "dives fail the points check";
    return outcome;
}

} // namespace

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

InputOutcome ReadInput(std::string_view bytes, const std::string& path,
                       const InputOptions& options) {
    // By content; a file named as a PDF that is none is told so rather than read as CSV.
    const bool pdfName = path.size() >= 4 && Capitals(path.substr(path.size() - 4)) == ".PDF";
    if (LooksLikePdf(bytes) || pdfName)
        return ReadBook(bytes, path, options.cancelled);
    return ReadSheet(bytes, path, options);
}

} // namespace corvane
