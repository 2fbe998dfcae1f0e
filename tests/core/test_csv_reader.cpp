// SPDX-License-Identifier: GPL-3.0-or-later
// CSV dialects and encodings as the importer reads them.

#include "import/csv_reader.h"
#include "import/file_kind.h"
#include "import/input_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {
namespace {

using Fields = std::vector<std::string>;

CsvTable Read(std::string_view bytes) {
    CsvTable table;
    const std::optional<std::string> error = ReadCsv(bytes, table);
    EXPECT_FALSE(error.has_value()) << *error;
    return table;
}

TEST(CsvReader, FindsTheSeparatorFromTheHeaderLine) {
    EXPECT_EQ(DetectDelimiter("Event,Name,Nation"), ',');
    EXPECT_EQ(DetectDelimiter("Event;Name;Nation,Team"), ';');
    EXPECT_EQ(DetectDelimiter("Event\tName\tDive, Code"), '\t');
    EXPECT_EQ(DetectDelimiter("\"Event;Round\",Name,Nation"), ',');
    EXPECT_EQ(DetectDelimiter("Event"), ',');
    const CsvTable table = Read("\r\n\"a\";b;c\r\n1;2,5;3\r\n");
    EXPECT_EQ(table.delimiter, ';');
    EXPECT_EQ(table.header, (Fields{"a", "b", "c"}));
    EXPECT_EQ(table.rows.at(0).fields, (Fields{"1", "2,5", "3"}));
}

TEST(CsvReader, QuotedFieldsAndLineNumbersFollowRfc4180) {
    const CsvTable table = Read("Name,Dive\r\n"
                                "\"SMITH, John\",\"say \"\"hi\"\"\"\r\n"
                                ",,\n"
                                "\"two\r\nlines\",105B\r"
                                "last,\"\"\n"
                                "no end,107B");
    ASSERT_EQ(table.rows.size(), 4u); // the blank ",," record is left out
    EXPECT_EQ(table.rows[0].fields, (Fields{"SMITH, John", "say \"hi\""}));
    EXPECT_EQ(table.rows[0].line, 2);
    EXPECT_EQ(table.rows[1].fields, (Fields{"two\r\nlines", "105B"}));
    EXPECT_EQ(table.rows[1].line, 4);
    EXPECT_EQ(table.rows[2].fields, (Fields{"last", ""}));
    EXPECT_EQ(table.rows[2].line, 6);
    EXPECT_EQ(table.rows[3].line, 7);

    CsvTable refused;
    EXPECT_EQ(ReadCsv("Name\r\nok\r\n\"open\r\nstill open", refused),
              "line 3: a quoted field is never closed");
    EXPECT_EQ(ReadCsv(" \r\n,\r\n", refused), "no header line");
}

TEST(CsvReader, Utf8WithOrWithoutByteOrderMarkElseLatin1) {
    bool latin1 = true;
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFZo\xC3\xAB", latin1), "Zo\xC3\xAB");
    EXPECT_FALSE(latin1);
    EXPECT_EQ(DecodeText("Zo\xEB \xC3\xAB", latin1), "Zo\xC3\xAB \xC3\x83\xC2\xAB");
    EXPECT_TRUE(latin1);
    // Overlong forms and surrogates are not UTF-8.
    DecodeText("\xC0\xAF", latin1);
    EXPECT_TRUE(latin1);
    DecodeText("\xED\xA0\x80", latin1);
    EXPECT_TRUE(latin1);
    DecodeText("\xF0\x9F\x8F\x8A", latin1);
    EXPECT_FALSE(latin1);
}

TEST(CsvReader, AFirstLineNamesTheSeparator) {
    const struct {
        std::string_view csv;
        char separator;
        Fields header;
        int firstLine;
    } cases[] = {
        {"sep=;\r\nEvent;Dive,Code\r\nM3M;105B\r\n", ';', {"Event", "Dive,Code"}, 3},
        {"\"sep=,\"\nEvent;Code,DD\nM3M;105B,2.4\n", ',', {"Event;Code", "DD"}, 3},
        {"sep=\t\nA,B\tC\n1,2\t3\n", '\t', {"A,B", "C"}, 3},
        {"sep=;;;\n\nA;B\n1;2\n", ';', {"A", "B"}, 4},
        {"separator;x\nA;B\n", ';', {"separator", "x"}, 2}, // not such a line: the header
    };
    for (const auto& c : cases) {
        const CsvTable table = Read(c.csv);
        EXPECT_EQ(table.delimiter, c.separator) << c.csv;
        EXPECT_EQ(table.header, c.header) << c.csv;
        ASSERT_FALSE(table.rows.empty());
        EXPECT_EQ(table.rows[0].line, c.firstLine) << c.csv;
    }
}

TEST(CsvReader, Utf16TextAsSpreadsheetsSaveIt) {
    // "Event\tZoë 🏊\r\n" in UTF-16, little- and big-endian, then a lone surrogate and an odd byte.
    const std::string little("\xFF\xFE"
                             "E\0v\0e\0n\0t\0\t\0Z\0o\0\xEB\0 \0\x3C\xD8\xCA\xDF\r\0\n\0",
                             30);
    const std::string big("\xFE\xFF"
                          "\0E\0v\0e\0n\0t\0\t\0Z\0o\0\xEB\0 \xD8\x3C\xDF\xCA\0\r\0\n",
                          30);
    const std::string broken("\xFF\xFE\x3C\xD8"
                             "A\0\x41",
                             7);
    const std::pair<std::string, std::string> cases[] = {
        {little, "Event\tZo\xC3\xAB \xF0\x9F\x8F\x8A\r\n"},
        {big, "Event\tZo\xC3\xAB \xF0\x9F\x8F\x8A\r\n"},
        {broken, "\xEF\xBF\xBD"
                 "A\xEF\xBF\xBD"},
    };
    for (const auto& [bytes, text] : cases) {
        bool latin1 = true;
        EXPECT_EQ(DecodeText(bytes, latin1), text);
        EXPECT_FALSE(latin1);
        EXPECT_EQ(KindOfContent(bytes), FileKind::Text);
    }
    CsvTable table;
    const auto error = ReadInputTable(little + std::string("M\0\x33\0M\0\t\0X\0", 10), "", table);
    ASSERT_FALSE(error.has_value()) << *error;
    EXPECT_EQ(table.header, (Fields{"Event", "Zo\xC3\xAB \xF0\x9F\x8F\x8A"}));
    EXPECT_EQ(table.rows.at(0).fields, (Fields{"M3M", "X"}));
}

} // namespace
} // namespace corvane
