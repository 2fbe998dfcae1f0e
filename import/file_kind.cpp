// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_kind.h"

#include <algorithm>
#include <array>

namespace corvane {

namespace {

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kEmptyZipMagic = "PK\x05\x06";
constexpr std::string_view kOldOfficeMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kPdfMagic = "%PDF-";
constexpr std::string_view kOdsMime = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view kXlsxWorkbook = "xl/workbook.xml";

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;

// A little-endian number of `Size` bytes at `at`; the caller has checked the bounds.
template <std::size_t Size> std::uint64_t LittleEndian(std::string_view bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t i = Size; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Where the end-of-directory record starts, searched from the end past a comment.
std::optional<std::size_t> EndOfDirectory(std::string_view bytes) {
    if (bytes.size() < kEndOfDirectorySize)
        return std::nullopt;
    const std::size_t lowest = bytes.size() > 0xFFFF + kEndOfDirectorySize
                                   ? bytes.size() - 0xFFFF - kEndOfDirectorySize
                                   : 0;
    for (std::size_t at = bytes.size() - kEndOfDirectorySize + 1; at-- > lowest;) {
        if (LittleEndian<4>(bytes, at) == kEndOfDirectory)
            return at;
    }
    return std::nullopt;
}

// Reads the directory entry at `at` and moves past it; false when it does not fit.
bool ReadEntry(std::string_view directory, std::size_t& at, ZipEntry& entry) {
    if (at + kDirectoryEntrySize > directory.size() ||
        LittleEndian<4>(directory, at) != kDirectoryEntry)
        return false;
    entry.method = static_cast<std::uint16_t>(LittleEndian<2>(directory, at + 10));
    entry.packedSize = LittleEndian<4>(directory, at + 20);
    entry.size = LittleEndian<4>(directory, at + 24);
    const std::size_t nameSize = LittleEndian<2>(directory, at + 28);
    const std::size_t rest =
        nameSize + LittleEndian<2>(directory, at + 30) + LittleEndian<2>(directory, at + 32);
    entry.localHeader = LittleEndian<4>(directory, at + 42);
    if (at + kDirectoryEntrySize + rest > directory.size())
        return false;
    entry.name = std::string(directory.substr(at + kDirectoryEntrySize, nameSize));
    at += kDirectoryEntrySize + rest;
    return true;
}

// The stored (not deflated) data of an entry, or nothing.
std::optional<std::string_view> StoredData(std::string_view bytes, const ZipEntry& entry) {
    const std::uint64_t at = entry.localHeader;
    if (entry.method != 0 || at + kLocalHeaderSize > bytes.size() ||
        LittleEndian<4>(bytes, at) != kLocalHeader)
        return std::nullopt;
    const std::uint64_t data =
        at + kLocalHeaderSize + LittleEndian<2>(bytes, at + 26) + LittleEndian<2>(bytes, at + 28);
    if (data + entry.size > bytes.size())
        return std::nullopt;
    return bytes.substr(data, entry.size);
}

FileKind KindOfArchive(std::string_view bytes) {
    const std::optional<std::vector<ZipEntry>> entries = ZipDirectory(bytes);
    if (!entries) {
        // A damaged or cut archive: what its first entries name tells what it was meant to
        // be, so that its reader can say it is damaged.
        const std::string_view head = bytes.substr(0, 4096);
        if (head.find(kOdsMime) != std::string_view::npos)
            return FileKind::Ods;
        return bytes.find(kXlsxWorkbook) != std::string_view::npos ? FileKind::Xlsx : FileKind::Zip;
    }
    for (const ZipEntry& entry : *entries) {
        if (entry.name == kXlsxWorkbook)
            return FileKind::Xlsx;
        if (entry.name == "mimetype") {
            const auto mime = StoredData(bytes, entry);
            if (mime && mime->starts_with(kOdsMime))
                return FileKind::Ods;
        }
    }
    return FileKind::Zip;
}

// Text holds no NUL byte and few control characters (a stray one in a CSV is allowed).
bool LooksLikeText(std::string_view bytes) {
    const std::string_view sample = bytes.substr(0, 1 << 16);
    std::size_t controls = 0;
    for (const char c : sample) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            return false;
        controls += byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f';
    }
    return controls * 20 <= sample.size();
}

} // namespace

FileKind KindOfContent(std::string_view bytes) {
    if (bytes.starts_with(kZipMagic) || bytes.starts_with(kEmptyZipMagic))
        return KindOfArchive(bytes);
    // UTF-16 text, as spreadsheets save "Unicode text", is full of NUL bytes.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return FileKind::Text;
    if (bytes.starts_with(kOldOfficeMagic))
        return FileKind::OldOffice;
    // A PDF may have a few bytes before its header.
    if (bytes.substr(0, 1024).find(kPdfMagic) != std::string_view::npos)
        return FileKind::Pdf;
    return LooksLikeText(bytes) ? FileKind::Text : FileKind::Binary;
}

std::string_view KindDescription(FileKind kind) {
    switch (kind) {
    case FileKind::Text:
    case FileKind::Xlsx:
    case FileKind::Ods:
        return {};
    case FileKind::Pdf:
        return "a PDF";
    case FileKind::Zip:
        return "a ZIP archive, not a workbook";
    case FileKind::OldOffice:
        return "an old Excel workbook (.xls) or another Office file of before 2007, which is "
               "not read; save it as .xlsx, .ods or CSV";
    case FileKind::Binary:
        return "binary data, not CSV text";
    }
    return {};
}

std::optional<std::vector<ZipEntry>> ZipDirectory(std::string_view bytes) {
    const std::optional<std::size_t> end = EndOfDirectory(bytes);
    if (!end)
        return std::nullopt;
    const std::size_t count = LittleEndian<2>(bytes, *end + 10);
    const std::uint64_t size = LittleEndian<4>(bytes, *end + 12);
    const std::uint64_t offset = LittleEndian<4>(bytes, *end + 16);
    if (offset + size > *end)
        return std::nullopt;
    const std::string_view directory = bytes.substr(offset, size);
    std::vector<ZipEntry> entries(count);
    std::size_t at = 0;
    for (ZipEntry& entry : entries) {
        if (!ReadEntry(directory, at, entry))
            return std::nullopt;
    }
    return entries;
}

} // namespace corvane
