// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "csv_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The workbook formats that are read.
enum class WorkbookFormat { Xlsx, Ods };

// Reads the cells of one sheet of a workbook (the first one when `sheet` is empty) into the
// table ReadCsv gives: the first row that is not blank is the header, the rows after it
// that are not blank are the records, each with its row number as its line. Cells come as
// the sheet shows them: numbers to 15 significant digits (3.4, not 3.3999999999999999),
// given at least the decimals of an XLSX cell's number format ("49.60" under "0.00") but
// never cut to them; truth values TRUE or FALSE, dates as 2021-07-30, a formula's stored
// result. Fills `table`, or returns why not when the workbook is damaged, too large, or has
// no sheet of that name (the message lists its sheets); `table` is then empty.
std::optional<std::string> ReadWorkbook(std::string_view bytes, WorkbookFormat format,
                                        const std::string& sheet, CsvTable& table);

// The decimals a spreadsheet number format code shows at least: 2 for "0.00" and
// "#,##0.00;[Red]-#,##0.00", 1 for "0.0" and "0.0#" (optional places do not count), 0 for
// "General" and "0", and 0 for percentages, scientific, date and time formats.
int MinDecimalsOf(std::string_view code);

} // namespace corvane
