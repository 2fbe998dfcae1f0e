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

// Finds the columns of every field: a chosen column by its header, the others by their
// aliases (earlier aliases first, then the leftmost column). A name column is needed unless
// there is a surname column. Returns nothing and sets `error` when a required or chosen
// column is missing, listing the headers found.
std::optional<ColumnMap> FindColumns(const std::vector<std::string>& header,
                                     const std::vector<ColumnChoice>& chosen, std::string& error);

} // namespace corvane
