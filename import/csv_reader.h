// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One record of a CSV file: its fields and the line it starts on (from 1).
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

// A whole CSV file as UTF-8 text, or a workbook's sheet: the header line, then the records
// that are not blank.
struct CsvTable {
    char delimiter = ',';
    bool readAsLatin1 = false;
    std::string sheet;               // the sheet read, for a workbook
    std::vector<std::string> sheets; // every sheet of the workbook, in order
    std::vector<std::string> header;
    std::vector<CsvRow> rows;
};

// The bytes as UTF-8: a leading byte-order mark is dropped, UTF-16 (with its byte-order
// mark) is converted, and bytes that are not valid UTF-8 as a whole are read as Latin-1
// (`latin1` says which).
std::string DecodeText(std::string_view bytes, bool& latin1);

// The separator of a header line: whichever of tab, semicolon and comma occurs most often
// outside quotes (tab, then semicolon, on a tie); comma when none occurs.
char DetectDelimiter(std::string_view headerLine);

// The separator a first line "sep=X" names (as spreadsheets write it when they export CSV,
// possibly in quotes or followed by more separators), or nothing for any other line.
std::optional<char> SeparatorLine(std::string_view line);

// Reads a CSV file: a first line "sep=X" sets the separator and is not the header. Quoted
// fields as RFC 4180 (a doubled quote inside quotes is a quote, and quotes may enclose
// separators and line ends), CRLF, LF or CR line ends, records
// whose fields are all blank skipped. Fills `table`, or returns why not ("line 7: ...") when
// there is no header line or a quoted field is never closed; `table` is then empty.
std::optional<std::string> ReadCsv(std::string_view bytes, CsvTable& table);

} // namespace corvane
