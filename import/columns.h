// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What a column of a results spreadsheet holds.
enum class Field { Event, Name, Surname, GivenName, Nation, Code, DD, Points, DiverId };
inline constexpr std::size_t kFieldCount = 9;

// The column index of each field in a header, -1 where the field has no column.
using ColumnMap = std::array<int, kFieldCount>;

inline int ColumnOf(const ColumnMap& columns, Field field) {
    return columns[static_cast<std::size_t>(field)];
}

// A column named on the command line: --column FIELD=HEADER.
struct ColumnChoice {
    Field field;
    std::string header;
};

// The field of a --column option: event, name, surname, given-name, nation, code, dd,
// points or id, in any letter case.
std::optional<Field> FieldByName(std::string_view name);
std::string_view FieldName(Field field);

// A header name as it is compared: ASCII letters in small case, '_', '-' and '.' as spaces,
// runs of blanks as one space, none at the ends.
std::string NormalHeader(std::string_view header);

// A number cell as results print it, in the form the result files take.
struct NumberCell {
    std::string text;          // "72.85"
    bool decimalComma = false; // it was written "72,85" (a sheet of a comma locale)
    bool penalty = false;      // a penalty mark stood before it ("*49.60")
};

// Whether a penalty mark '*' may stand before the number (points, not a DD).
enum class PenaltyMark { Refused, Allowed };

// Reads a DD or points cell: a decimal number with a point, or with one decimal comma and
// no point; blanks and control characters around are dropped. Nothing when the cell holds
// no such number.
std::optional<NumberCell> ReadNumberCell(std::string_view cell, PenaltyMark mark);

// Finds the columns of every field: a chosen column by its header, the others by their
// aliases (earlier aliases first, then the leftmost column). A name column is needed unless
// there is a surname column. Fills `columns`, or returns why not when a required or chosen
// column is missing, listing the headers found.
std::optional<std::string> FindColumns(const std::vector<std::string>& header,
                                       const std::vector<ColumnChoice>& chosen, ColumnMap& columns);

} // namespace corvane
