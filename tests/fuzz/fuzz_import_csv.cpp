// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a results spreadsheet. The CSV reader and the importer must
// neither crash nor lose a row unaccounted for, and whatever the importer would write must be
// read back whole by the program's own result-file loader, roster and catalogue parsers. What tells
// a file apart (its ZIP directory above all) must take any bytes too.
#include "import/csv_reader.h"
#include "import/data_folder.h"
#include "import/file_kind.h"
#include "import/folder_checks.h"
#include "import/folder_files.h"
#include "import/importer.h"
#include "rawdata/catalogue.h"
#include "rawdata/roster.h"
#include "store/result_loader.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The written text of one event, loaded back: every dive becomes one record, codes in order.
std::size_t CheckReadsBack(const corvane::DataFolder& folder, int event) {
    const std::string text = corvane::ResultFileText(folder, event);
    const std::size_t dives = folder.Dives().size();
    auto slots = std::make_unique<corvane::DiveRecord[]>(dives + 1);
    const corvane::LoadOutcome outcome = corvane::LoadResultText(
        text, std::span<corvane::DiveRecord>(slots.get(), dives + 1), "fuzz");
    Check(outcome.kind == corvane::LoadOutcome::Kind::Loaded);
    for (std::size_t i = 1; i < outcome.filled; ++i)
        Check(slots[i - 1].DiveCode.view() <= slots[i].DiveCode.view());
    return outcome.filled;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvane::KindOfContent(bytes);
    if (const auto entries = corvane::ZipDirectory(bytes)) {
        for (const corvane::ZipEntry& entry : *entries)
            Check(entry.name.size() < size);
    }
    corvane::CsvTable table;
    if (const std::optional<std::string> error = corvane::ReadCsv(bytes, table)) {
        Check(!error->empty() && table.rows.empty());
        return 0;
    }
    for (std::size_t i = 1; i < table.rows.size(); ++i)
        Check(table.rows[i - 1].line < table.rows[i].line);
    corvane::SheetReader reader;
    if (reader.Read(table, {}, "fuzz"))
        return 0;
    const corvane::SheetReading sheet = reader.Finish("fuzz");
    corvane::DataFolder folder;
    folder.Add({"fuzz", "", "", ""}, sheet.reading);
    std::size_t kept = 0;
    for (int event = 1; event <= corvane::kEventCount; ++event)
        kept += CheckReadsBack(folder, event);
    Check(kept == sheet.reading.dives.size());
    std::size_t otherRows = 0;
    for (const auto& [event, rows] : sheet.otherEvents)
        otherRows += rows;
    Check(kept + sheet.SkippedRows() + otherRows == table.rows.size());
    corvane::DiverRoster roster;
    Check(!corvane::ParseRoster(corvane::RosterFileText(folder), roster).has_value());
    corvane::DDCatalogue catalogue;
    Check(!corvane::ParseCatalogue(corvane::BuildCatalogue(folder).text, catalogue).has_value());
    return 0;
}
