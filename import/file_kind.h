// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What an input file holds, told from its bytes, whatever its name says.
enum class FileKind {
    Text,      // CSV or other text, UTF-16 with its byte-order mark included
    Xlsx,      // an Office Open XML workbook
    Ods,       // an OpenDocument spreadsheet
    Pdf,       // a PDF document
    Zip,       // a ZIP archive that is not a workbook (a .docx, an .odt, a plain .zip)
    OldOffice, // an Office file of before 2007 (.xls, .doc)
    Binary,    // anything else that is not text
};

FileKind KindOfContent(std::string_view bytes);

// What a file of a kind that cannot be imported looks like, for a message: "a ZIP archive,
// not a workbook", "binary data". Empty for the kinds that are read.
std::string_view KindDescription(FileKind kind);

// One entry of a ZIP archive's central directory.
struct ZipEntry {
    std::string name;
    std::uint16_t method = 0; // 0 stored, 8 deflated
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0; // unpacked
    std::uint64_t localHeader = 0;
};

// The entries of a ZIP archive as its central directory lists them; nothing when the bytes
// hold no whole, consistent central directory (a damaged or cut archive).
std::optional<std::vector<ZipEntry>> ZipDirectory(std::string_view bytes);

} // namespace corvane
