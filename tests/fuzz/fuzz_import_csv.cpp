// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a results spreadsheet. The CSV reader and the importer must
// neither crash nor lose a row unaccounted for, and whatever the importer would write must be
// read back whole by the program's own result-file loader and roster parser. What tells a file
// apart (its ZIP directory above all) must take any bytes too.
#include "import/csv_reader.h"
#include "import/file_kind.h"
#include "import/importer.h"
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

// The written text of one event, loaded back: every line becomes one record.
void CheckReadsBack(const std::vector<corvane::ImportedDive>& dives) {
    const std::string text = corvane::ResultFileText(dives);
    auto slots = std::make_unique<corvane::TDiveRecord[]>(dives.size() + 1);
    const corvane::LoadOutcome outcome = corvane::LoadResultText(
        text, std::span<corvane::TDiveRecord>(slots.get(), dives.size() + 1), "fuzz");
    Check(outcome.kind == corvane::LoadOutcome::Kind::Loaded && outcome.filled == dives.size());
    for (std::size_t i = 0; i < dives.size(); ++i) {
        Check(slots[i].DiverId == dives[i].diverId && slots[i].DiveCode == dives[i].code);
        Check(i == 0 || dives[i - 1].code <= dives[i].code);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvane::KindOfContent(bytes);
    if (const auto entries = corvane::ZipDirectory(bytes)) {
        for (const corvane::ZipEntry& entry : *entries)
            Check(entry.name.size() < size);
    }
    std::string error;
    const std::optional<corvane::CsvTable> table = corvane::ReadCsv(bytes, error);
    if (!table) {
        Check(!error.empty());
        return 0;
    }
    for (std::size_t i = 1; i < table->rows.size(); ++i)
        Check(table->rows[i - 1].line < table->rows[i].line);
    corvane::Importer importer;
    if (!importer.Add(*table, {}, "fuzz", error))
        return 0;
    const corvane::ImportData imported = importer.Finish();
    std::size_t kept = 0;
    for (const auto& dives : imported.dives) {
        CheckReadsBack(dives);
        kept += dives.size();
    }
    std::size_t otherRows = 0;
    for (const auto& [event, rows] : imported.otherEvents)
        otherRows += rows;
    Check(kept + imported.SkippedRows() + otherRows == table->rows.size());
    Check(corvane::ParseRoster(corvane::RosterFileText(imported.divers), nullptr).has_value());
    return 0;
}
