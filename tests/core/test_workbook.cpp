// SPDX-License-Identifier: GPL-3.0-or-later
// Workbooks as the importer meets them: XLSX and ODS sheets read into rows, damaged workbooks
// refused with a message.

#include "import/ods_repeated_rows.h"
#include "import/workbook_reader.h"
#include "workbook_writer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace corvane {
namespace {

using testing::kMixedResults;
using testing::OdsWorkbook;
using testing::TestSheet;
using testing::XlsxWorkbook;
using Fields = std::vector<std::string>;

// The table of a workbook; a refusal fails the test with its message.
CsvTable Read(std::string_view bytes, WorkbookFormat format, const std::string& sheet = "") {
    CsvTable table;
    const std::optional<std::string> problem = ReadWorkbook(bytes, format, sheet, table);
    EXPECT_FALSE(problem.has_value()) << *problem;
    return table;
}

// Why a workbook is refused; empty when it is read.
std::string Refusal(std::string_view bytes, WorkbookFormat format, const std::string& sheet = "") {
    CsvTable table;
    return ReadWorkbook(bytes, format, sheet, table).value_or("");
}

struct Format {
    const char* name;
    WorkbookFormat format;
    std::string (*write)(const std::vector<TestSheet>&);
};
const Format kFormats[] = {{"xlsx", WorkbookFormat::Xlsx, XlsxWorkbook},
                           {"ods", WorkbookFormat::Ods, OdsWorkbook}};

TEST(Workbook, SheetCellsAsTheSheetShowsThem) {
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const CsvTable table = Read(format.write({kMixedResults}), format.format);
        EXPECT_EQ(table.header, (Fields{"Event", "Diver", "Nation", "Dive", "DD", "Points"}));
        ASSERT_EQ(table.rows.size(), 3u);
        EXPECT_EQ(table.rows[0].line, 3);
        EXPECT_EQ(table.rows[0].fields,
                  (Fields{"Women's 3m Springboard", "\xE5\xBC\xB5 \xE5\x81\x89", "CHN", "5253B",
                          "3.4", "66.3"}));
        EXPECT_EQ(table.rows[1].fields[1], "SMITH & SONS John");
        EXPECT_EQ(table.rows[1].fields[2], "");
        EXPECT_EQ(table.rows[1].fields[5], "49.6");
        EXPECT_EQ(table.rows[2].line, 6);
        EXPECT_EQ(table.rows[2].fields, (Fields{"M3M", "DOE Jane", "CAN", "107", "3", "-0.5"}));
    }
}

TEST(Workbook, XlsxNumbersGetTheDecimalsOfTheirFormat) {
    const TestSheet sheet{"S",
                          {{"DD", "Points", "Total"},
                           {"#3~0.0", "#49.6~0.00", "=A2+B2|52.6~#,##0.00;[Red]-#,##0.00"},
                           {"#3.45~0.0", "#49.6~builtin:2", "#8~0"},
                           {"#2.4~0.0%", "#1E+21~0.00", "#3~[h]:mm"}}};
    const CsvTable table = Read(XlsxWorkbook({sheet}), WorkbookFormat::Xlsx);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].fields, (Fields{"3.0", "49.60", "52.60"}));
    // Never cut to the format's places; other formats leave the number as it is.
    EXPECT_EQ(table.rows[1].fields, (Fields{"3.45", "49.60", "8"}));
    EXPECT_EQ(table.rows[2].fields, (Fields{"2.4", "1e+21", "3"}));

    const std::pair<std::string_view, int> codes[] = {
        {"General", 0}, {"0", 0},           {"0.0", 1},         {"0.00", 2},
        {"0.0#", 1},    {"#,##0.000", 3},   {"0.00;(0.00)", 2}, {"\"pts\" 0.00", 2},
        {"0.00%", 0},   {"0.00E+00", 0},    {"yyyy-mm-dd", 0},  {"[Red]0.0", 1},
        {"0.0_)", 1},   {"[$-409]0.00", 2},
    };
    for (const auto& [code, decimals] : codes)
        EXPECT_EQ(MinDecimalsOf(code), decimals) << code;
}

TEST(Workbook, IdenticalRowsInARowAreEachRead) {
    const std::vector<std::string> dive{"M3M", "DOE John", "CAN", "105B", "#2.4", "#60"};
    const TestSheet sheet{"S",
                          {{"Event", "Diver", "Nation", "Dive", "DD", "Points"},
                           dive,
                           dive,
                           dive,
                           {"M3M", "DOE John", "CAN", "107B", "#3", "#70"},
                           {},
                           {},
                           dive}};
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const CsvTable table =
            Read(format.write({{"Cover", {{"x"}, {"x"}}}, sheet}), format.format, "S");
        std::vector<int> lines;
        for (const CsvRow& row : table.rows)
            lines.push_back(row.line);
        EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 8}));
        EXPECT_EQ(table.rows.at(2).fields, (Fields{"M3M", "DOE John", "CAN", "105B", "2.4", "60"}));
    }
    // A repeated empty row, a repeated row of another sheet: no copies.
    const std::string xml = "<table:table table:name=\"A\"><table:table-row "
                            "table:number-rows-repeated=\"2\"><table:table-cell office:value-type="
                            "\"float\" office:value=\"1\"/></table:table-row></table:table>"
                            "<table:table table:name=\"B\"><table:table-row><table:table-cell/>"
                            "</table:table-row><table:table-row table:number-rows-repeated=\"9\">"
                            "<table:table-cell/></table:table-row><table:table-row "
                            "table:number-rows-repeated=\"99999999\"><table:table-cell><text:p>"
                            "x</text:p></table:table-cell></table:table-row></table:table>";
    const std::vector<RepeatedRow> repeated = RepeatedOdsRows(xml, 1000);
    ASSERT_EQ(repeated.size(), 2u);
    EXPECT_EQ(repeated[0].table, 0u);
    EXPECT_EQ(repeated[0].row, 0);
    EXPECT_EQ(repeated[0].count, 2);
    EXPECT_EQ(repeated[1].table, 1u);
    EXPECT_EQ(repeated[1].row, 10);
    EXPECT_EQ(repeated[1].count, 1000);
}

TEST(Workbook, TheSheetNamedIsRead) {
    const TestSheet cover{"Cover", {{"Championships 2021"}}};
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const std::string bytes = format.write({cover, kMixedResults});
        EXPECT_EQ(Read(bytes, format.format).header, Fields{"Championships 2021"});
        EXPECT_EQ(Read(bytes, format.format, "Results").rows.size(), 3u);
        EXPECT_EQ(Refusal(bytes, format.format, "results"),
                  "no sheet 'results'; the sheets are 'Cover', 'Results'");
        EXPECT_EQ(Refusal(format.write({{"Empty", {{""}}}, kMixedResults}), format.format),
                  "the sheet 'Empty' is empty");
    }
}

// Damaged copies of a good workbook: each ends with a message, soon.
TEST(Workbook, DamagedWorkbooksEndWithAMessage) {
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const std::string good = format.write({kMixedResults});
        std::string garbled = good;
        for (std::size_t at = good.size() / 3; at < good.size() / 2; at += 7)
            garbled[at] = static_cast<char>(garbled[at] ^ 0x5A);
        std::string hugeEntry = good; // the first entry claims 4 GB unpacked
        // Texts in the cells, which the parser would pass over: refused, not read half.
        const std::string inlineTexts =
            format.write({{"S", {{"Event", "^Diver"}, {"M3M", "^DOE John"}}}});
        const std::size_t directory = hugeEntry.find("PK\x01\x02");
        hugeEntry.replace(directory + 24, 4, "\xFF\xFF\xFF\xF0");
        const std::pair<std::string, std::string> cases[] = {
            {good.substr(0, good.size() / 2), "its ZIP directory is missing or cut"},
            {good.substr(0, good.size() - 30), "its ZIP directory is missing or cut"},
            {garbled, "a damaged workbook, not read"},
            {hugeEntry, "a workbook that unpacks to more than 512 MB, not read"},
        };
        const std::string inlineError = Refusal(inlineTexts, format.format);
        const bool inlineRead = inlineError.empty();
        EXPECT_EQ(inlineRead, format.format == WorkbookFormat::Ods) << inlineError;
        EXPECT_EQ(inlineError.find("(inline strings), which is not read") == std::string::npos,
                  format.format == WorkbookFormat::Ods)
            << inlineError;
        for (const auto& [bytes, says] : cases) {
            const auto start = std::chrono::steady_clock::now();
            const std::string error = Refusal(bytes, format.format);
            EXPECT_NE(error.find(says), std::string::npos) << error;
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        }
    }
}

} // namespace
} // namespace corvane
