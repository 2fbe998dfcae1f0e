// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "csv_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Reads an input file's rows, whatever its name says: CSV text, or one sheet of an XLSX or
// ODS workbook (the first, or the one `sheet` names; CSV has no sheets and ignores it).
// Fills `table`, or returns why not when the file cannot be read as one of them: damaged, or
// something else, which the message names ("a PDF", "a ZIP archive, not a workbook",
// "binary data") without showing its bytes; `table` is then empty.
std::optional<std::string> ReadInputTable(std::string_view bytes, const std::string& sheet,
                                          CsvTable& table);

// For a table read from a workbook of several sheets, which sheet it was and which others
// there are, for a message about its columns: " (sheet 'Cover' of 'Cover', 'Results'; name
// another with --sheet NAME)". Empty for CSV and for a workbook of one sheet.
std::string SheetHint(const CsvTable& table);

} // namespace corvane
