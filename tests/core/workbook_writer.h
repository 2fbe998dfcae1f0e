// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small XLSX and ODS workbooks for the importer's tests, written here rather than kept as
// binary fixtures: a ZIP archive with its parts stored (not compressed).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::testing {

// A sheet's rows of cells. A cell is text, except: "#3.4" a number cell holding the number
// as written after '#'; "=B2*C2|49.6" a formula cell whose stored result is the number after
// '|'; "^text" in XLSX a text kept in its cell (an inline string); "" no cell. A number or
// formula may end in a number format, in XLSX only: "#3~0.0"
// a format code, "#49.6~builtin:2" a built-in format's id. An empty row holds no cell, so the rows
// after it keep their numbers.
struct TestSheet {
    std::string name;
    std::vector<std::vector<std::string>> rows;
};

// A results sheet of every kind of cell: a blank row, a formula, text beyond ASCII, a row of
// empty cells, numbers written as numbers where text is expected.
inline const TestSheet kMixedResults{
    "Results",
    {{"Event", "Diver", "Nation", "Dive", "DD", "Points"},
     {},
     {"Women's 3m Springboard", "\xE5\xBC\xB5 \xE5\x81\x89", "CHN", "5253B", "#3.3999999999999999",
      "=E3*19.5|66.299999999999997"},
     {"M3M", "SMITH & SONS John", "", "105B", "#2.4", "#49.6"},
     {"", "", "", "", "", ""},
     {"M3M", "DOE Jane", "CAN", "#107", "#3", "#-0.5"}}};

using ZipParts = std::vector<std::pair<std::string, std::string>>; // name, contents

inline std::uint32_t Crc32(std::string_view data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void AppendLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value & 0xFF);
        value >>= 8;
    }
}

// The header fields a local header and a directory entry share, from "version needed".
inline std::string CommonZipFields(const std::string& name, const std::string& data) {
    std::string fields;
    AppendLittleEndian(fields, 20, 2);   // version needed
    AppendLittleEndian(fields, 0, 2);    // flags
    AppendLittleEndian(fields, 0, 2);    // stored
    AppendLittleEndian(fields, 0, 2);    // time
    AppendLittleEndian(fields, 0x21, 2); // date: 1980-01-01
    AppendLittleEndian(fields, Crc32(data), 4);
    AppendLittleEndian(fields, static_cast<std::uint32_t>(data.size()), 4);
    AppendLittleEndian(fields, static_cast<std::uint32_t>(data.size()), 4);
    AppendLittleEndian(fields, static_cast<std::uint32_t>(name.size()), 2);
    AppendLittleEndian(fields, 0, 2); // extra field
    return fields;
}

inline std::string StoredZip(const ZipParts& parts) {
    std::string zip;
    std::string directory;
    for (const auto& [name, data] : parts) {
        const auto offset = static_cast<std::uint32_t>(zip.size());
        zip += "PK\x03\x04" + CommonZipFields(name, data) + name + data;
        directory += std::string("PK\x01\x02") + "\x14\x03" + CommonZipFields(name, data);
        AppendLittleEndian(directory, 0, 2 + 2 + 2 + 4); // comment, disk, attributes
        AppendLittleEndian(directory, offset, 4);
        directory += name;
    }
    const auto directoryAt = static_cast<std::uint32_t>(zip.size());
    zip += directory + "PK\x05\x06";
    AppendLittleEndian(zip, 0, 4); // disks
    AppendLittleEndian(zip, static_cast<std::uint32_t>(parts.size()), 2);
    AppendLittleEndian(zip, static_cast<std::uint32_t>(parts.size()), 2);
    AppendLittleEndian(zip, static_cast<std::uint32_t>(directory.size()), 4);
    AppendLittleEndian(zip, directoryAt, 4);
    AppendLittleEndian(zip, 0, 2); // comment
    return zip;
}

inline std::string XmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '"')
            escaped += "&quot;";
        else
            escaped += c;
    }
    return escaped;
}

inline std::string ColumnLetters(std::size_t col) {
    std::string letters;
    for (std::size_t n = col + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

// The texts and number formats an XLSX workbook shares between its sheets.
struct XlsxShared {
    std::vector<std::string> strings;
    std::vector<std::string> formats; // of cell formats 1, 2, ...: a code, or "builtin:" an id
};

// The attribute that gives a number cell the format after '~', if any; `cell` loses it.
inline std::string XlsxStyle(std::string& cell, XlsxShared& shared) {
    const std::size_t tilde = cell.find('~');
    if (tilde == std::string::npos)
        return {};
    const std::string format = cell.substr(tilde + 1);
    cell.resize(tilde);
    std::size_t xf = 0;
    while (xf < shared.formats.size() && shared.formats[xf] != format)
        ++xf;
    if (xf == shared.formats.size())
        shared.formats.push_back(format);
    return " s=\"" + std::to_string(xf + 1) + "\"";
}

// One XLSX cell; texts go to the shared strings.
inline std::string XlsxCell(const std::string& ref, std::string cell, XlsxShared& shared) {
    if (cell.starts_with('#')) {
        const std::string style = XlsxStyle(cell, shared);
        return "<c r=\"" + ref + "\"" + style + "><v>" + cell.substr(1) + "</v></c>";
    }
    if (cell.starts_with('=')) {
        const std::string style = XlsxStyle(cell, shared);
        const std::size_t bar = cell.find('|');
        return "<c r=\"" + ref + "\"" + style + "><f>" + XmlEscaped(cell.substr(1, bar - 1)) +
               "</f><v>" + cell.substr(bar + 1) + "</v></c>";
    }
    if (cell.starts_with('^'))
        return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + XmlEscaped(cell.substr(1)) +
               "</t></is></c>";
    std::vector<std::string>& strings = shared.strings;
    strings.push_back(cell);
    return "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(strings.size() - 1) + "</v></c>";
}

inline std::string XlsxSheet(const TestSheet& sheet, XlsxShared& shared) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                      "main\"><sheetData>";
    for (std::size_t row = 0; row < sheet.rows.size(); ++row) {
        if (sheet.rows[row].empty())
            continue;
        xml += "<row r=\"" + std::to_string(row + 1) + "\">";
        for (std::size_t col = 0; col < sheet.rows[row].size(); ++col) {
            if (!sheet.rows[row][col].empty())
                xml += XlsxCell(ColumnLetters(col) + std::to_string(row + 1), sheet.rows[row][col],
                                shared);
        }
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

// The styles part: a number format per cell format, custom ones numbered from 164.
inline std::string XlsxStyles(const std::vector<std::string>& formats) {
    std::string codes, xfs = "<xf numFmtId=\"0\" xfId=\"0\"/>";
    std::size_t custom = 0;
    for (const std::string& format : formats) {
        std::string id = format.substr(format.find(':') + 1);
        if (!format.starts_with("builtin:")) {
            id = std::to_string(164 + custom++);
            codes += "<numFmt numFmtId=\"" + id + "\" formatCode=\"" + XmlEscaped(format) + "\"/>";
        }
        xfs += "<xf numFmtId=\"" + id + "\" xfId=\"0\" applyNumberFormat=\"1\"/>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<styleSheet xmlns=\"http://"
           "schemas.openxmlformats.org/spreadsheetml/2006/main\"><numFmts>" +
           codes +
           "</numFmts><fonts count=\"1\"><font/></fonts><fills count=\"1\"><fill/></fills>"
           "<borders count=\"1\"><border/></borders><cellStyleXfs count=\"1\"><xf "
           "numFmtId=\"0\"/></cellStyleXfs><cellXfs>" +
           xfs + "</cellXfs></styleSheet>";
}

inline std::string XlsxWorkbook(const std::vector<TestSheet>& sheets) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string rels = "http://schemas.openxmlformats.org/package/2006/relationships";
    const std::string ml = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    std::string types = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Types xmlns=\""
                        "http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/"
                        "vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
                        ml + "sheet.main+xml\"/><Override PartName=\"/xl/sharedStrings.xml\" " +
                        "ContentType=\"" + ml + "sharedStrings+xml\"/><Override PartName=\"" +
                        "/xl/styles.xml\" ContentType=\"" + ml + "styles+xml\"/>";
    std::string book = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<workbook xmlns=\""
                       "http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
                       rel + "\"><sheets>";
    std::string bookRels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"" +
                           rels + "\"><Relationship Id=\"rIdS\" Type=\"" + rel +
                           "/sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship " +
                           "Id=\"rIdT\" Type=\"" + rel + "/styles\" Target=\"styles.xml\"/>";
    ZipParts parts;
    XlsxShared shared;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n + ".xml\" ContentType=\"" + ml +
                 "worksheet+xml\"/>";
        book += "<sheet name=\"" + XmlEscaped(sheets[i].name) + "\" sheetId=\"" + n +
                "\" r:id=\"rId" + n + "\"/>";
        bookRels += "<Relationship Id=\"rId" + n + "\" Type=\"" + rel +
                    "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", XlsxSheet(sheets[i], shared));
    }
    std::string sharedPart = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sst xmlns=\"http://"
                             "schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const std::string& text : shared.strings)
        sharedPart += "<si><t>" + XmlEscaped(text) + "</t></si>";
    parts.insert(parts.begin(),
                 {{"[Content_Types].xml", types + "</Types>"},
                  {"_rels/.rels", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships "
                                  "xmlns=\"" +
                                      rels + "\"><Relationship Id=\"rId1\" Type=\"" + rel +
                                      "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                                      "</Relationships>"},
                  {"xl/workbook.xml", book + "</sheets></workbook>"},
                  {"xl/_rels/workbook.xml.rels", bookRels + "</Relationships>"},
                  {"xl/sharedStrings.xml", sharedPart + "</sst>"},
                  {"xl/styles.xml", XlsxStyles(shared.formats)}});
    return StoredZip(parts);
}

inline std::string OdsCell(std::string cell) {
    cell.resize(std::min(cell.size(), cell.find('~'))); // number formats: XLSX only
    if (cell.starts_with('^'))
        cell.erase(0, 1); // so are inline strings
    if (cell.empty())
        return "<table:table-cell/>";
    if (cell.starts_with('#'))
        return "<table:table-cell office:value-type=\"float\" office:value=\"" + cell.substr(1) +
               "\"><text:p>" + cell.substr(1) + "</text:p></table:table-cell>";
    if (cell.starts_with('=')) {
        const std::size_t bar = cell.find('|');
        return "<table:table-cell table:formula=\"of:" + XmlEscaped(cell.substr(0, bar)) +
               "\" office:value-type=\"float\" office:value=\"" + cell.substr(bar + 1) +
               "\"><text:p>" + cell.substr(bar + 1) + "</text:p></table:table-cell>";
    }
    return "<table:table-cell office:value-type=\"string\"><text:p>" + XmlEscaped(cell) +
           "</text:p></table:table-cell>";
}

inline std::string OdsWorkbook(const std::vector<TestSheet>& sheets) {
    std::string content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
        "<office:body><office:spreadsheet>";
    for (const TestSheet& sheet : sheets) {
        content += "<table:table table:name=\"" + XmlEscaped(sheet.name) + "\">";
        // Identical rows that follow each other are written once with a count, as
        // LibreOffice writes them.
        for (std::size_t row = 0; row < sheet.rows.size();) {
            std::size_t same = 1;
            while (row + same < sheet.rows.size() && sheet.rows[row + same] == sheet.rows[row])
                ++same;
            content += same == 1 ? std::string("<table:table-row>")
                                 : "<table:table-row table:number-rows-repeated=\"" +
                                       std::to_string(same) + "\">";
            for (const std::string& cell : sheet.rows[row])
                content += OdsCell(cell);
            content += "</table:table-row>";
            row += same;
        }
        content += "</table:table>";
    }
    content += "</office:spreadsheet></office:body></office:document-content>";
    const std::string manifest =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest xmlns:manifest=\""
        "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.2\">"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/"
        "vnd.oasis.opendocument.spreadsheet\"/><manifest:file-entry manifest:full-path=\""
        "content.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>";
    return StoredZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                      {"content.xml", content},
                      {"META-INF/manifest.xml", manifest}});
}

} // namespace corvane::testing
