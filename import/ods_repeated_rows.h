// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvane {

// A row with content that an ODS sheet writes once for several identical rows in a row.
struct RepeatedRow {
    std::size_t table = 0; // the sheet, from 0
    int row = 0;           // from 0
    int count = 0;         // 2 or more
};

// The repeated rows with content in an ODS workbook's content.xml, found by a plain scan
// of its table and row elements. LibreOffice writes identical rows that follow each other
// once, with a repeat count, and liborcus 0.17 gives such a row only once: the reader
// copies it into the rows that follow. Empty repeated rows (the rest of a sheet) are passed
// over; counts are capped at `maxCount`.
std::vector<RepeatedRow> RepeatedOdsRows(std::string_view contentXml, int maxCount);

} // namespace corvane
