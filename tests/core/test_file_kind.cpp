// SPDX-License-Identifier: GPL-3.0-or-later
// Files told apart by their bytes, whatever their names.

#include "import/file_kind.h"
#include "workbook_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace corvane {
namespace {

using testing::kMixedResults;
using testing::OdsWorkbook;
using testing::TestSheet;
using testing::XlsxWorkbook;

TEST(FileKind, ToldByContentNotByName) {
    const std::string xlsx = XlsxWorkbook({kMixedResults});
    const std::pair<std::string, FileKind> cases[] = {
        {"Event,Diver\nM3M,A B\n", FileKind::Text},
        {"Event,Diver\nM3M,A\x01 B\n", FileKind::Text}, // a stray control character
        {"", FileKind::Text},
        {xlsx, FileKind::Xlsx},
        {xlsx.substr(0, xlsx.size() / 2), FileKind::Xlsx}, // cut: still meant as a workbook
        {OdsWorkbook({kMixedResults}), FileKind::Ods},
        {testing::StoredZip({{"word/document.xml", "<w/>"}}), FileKind::Zip},
        {testing::StoredZip({{"mimetype", "application/vnd.oasis.opendocument.text"}}),
         FileKind::Zip},
        {"%PDF-1.7\n%\xE2\xE3\xCF\xD3\n", FileKind::Pdf},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10), FileKind::OldOffice},
        {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), FileKind::Binary},
        {"\x1F\x8B\x08\x01\x02\x03\x04\x05\x06\x07", FileKind::Binary},
    };
    for (const auto& [bytes, kind] : cases)
        EXPECT_EQ(KindOfContent(bytes), kind) << bytes.substr(0, 12);
}

} // namespace
} // namespace corvane
