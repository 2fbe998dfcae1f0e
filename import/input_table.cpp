// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_table.h"

#include "file_kind.h"
#include "workbook_reader.h"

namespace corvane {

std::optional<CsvTable> ReadInputTable(std::string_view bytes, const std::string& sheet,
                                       std::string& error) {
    const FileKind kind = KindOfContent(bytes);
    switch (kind) {
    case FileKind::Text:
        return ReadCsv(bytes, error);
    case FileKind::Xlsx:
        return ReadWorkbook(bytes, WorkbookFormat::Xlsx, sheet, error);
    case FileKind::Ods:
        return ReadWorkbook(bytes, WorkbookFormat::Ods, sheet, error);
    default:
        error = std::string(KindDescription(kind)) + "; dive-import reads CSV, XLSX and ODS files";
        return std::nullopt;
    }
}

std::string SheetHint(const CsvTable& table) {
    if (table.sheets.size() < 2)
        return {};
    std::string list;
    for (const std::string& name : table.sheets)
        list += (list.empty() ? "'" : ", '") + name + "'";
    return " (sheet '" + table.sheet + "' of " + list + "; name another with --sheet NAME)";
}

} // namespace corvane
