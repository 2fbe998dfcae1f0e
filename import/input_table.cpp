// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_table.h"

#include "file_kind.h"
#include "workbook_reader.h"

namespace corvane {

std::optional<std::string> ReadInputTable(std::string_view bytes, const std::string& sheet,
                                          CsvTable& table) {
    const FileKind kind = KindOfContent(bytes);
    switch (kind) {
    case FileKind::Text:
        return ReadCsv(bytes, table);
    case FileKind::Xlsx:
        return ReadWorkbook(bytes, WorkbookFormat::Xlsx, sheet, table);
    case FileKind::Ods:
        return ReadWorkbook(bytes, WorkbookFormat::Ods, sheet, table);
    default:
        table = CsvTable{};
        return std::string(KindDescription(kind)) + "; dive-import reads CSV, XLSX and ODS files";
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
