// SPDX-License-Identifier: GPL-3.0-or-later
#include "columns.h"

#include "store/number_text.h"

#include <algorithm>
#include <initializer_list>

namespace corvane {

namespace {

struct FieldInfo {
    Field field;
    std::string_view name; // as --column takes it
    std::initializer_list<std::string_view> aliases;
};

// The headers each field is known by, as NormalHeader leaves them.
const std::array<FieldInfo, kFieldCount> kFields{{
    {Field::Event, "event", {"event", "event name", "discipline"}},
    {Field::Name, "name", {"name", "diver", "diver name", "athlete", "athlete name", "full name"}},
    {Field::Surname, "surname", {"surname", "last name", "lastname", "family name"}},
    {Field::GivenName,
     "given-name",
     {"given name", "givenname", "first name", "firstname", "forename"}},
    {Field::Nation, "nation", {"nation", "country", "noc", "nat", "country code"}},
    {Field::Code, "code", {"code", "dive", "dive code", "dive no", "dive number"}},
    {Field::DD, "dd", {"dd", "difficulty", "degree of difficulty"}},
    {Field::Points, "points", {"points", "dive points", "score", "pts"}},
    {Field::DiverId, "id", {"diver id", "id", "athlete id"}},
}};

const FieldInfo& InfoOf(Field field) {
    return kFields[static_cast<std::size_t>(field)];
}

int IndexOf(const std::vector<std::string>& normalHeaders, std::string_view name) {
    for (std::size_t col = 0; col < normalHeaders.size(); ++col) {
        if (normalHeaders[col] == name)
            return static_cast<int>(col);
    }
    return -1;
}

int FindByAlias(const std::vector<std::string>& normalHeaders, const FieldInfo& info) {
    for (const std::string_view alias : info.aliases) {
        if (const int col = IndexOf(normalHeaders, alias); col >= 0)
            return col;
    }
    return -1;
}

std::string HeadersFound(const std::vector<std::string>& header) {
    std::string list;
    for (const std::string& name : header)
        list += (list.empty() ? "'" : ", '") + name + "'";
    return "the headers found are " + (list.empty() ? std::string("none") : list);
}

// The fields a header must provide: every field but the optional ones, and a name unless
// the surname has its own column.
std::vector<Field> MissingFields(const ColumnMap& columns) {
    std::vector<Field> missing;
    for (const Field field : {Field::Event, Field::Nation, Field::Code, Field::DD, Field::Points}) {
        if (ColumnOf(columns, field) < 0)
            missing.push_back(field);
    }
    if (ColumnOf(columns, Field::Name) < 0 && ColumnOf(columns, Field::Surname) < 0)
        missing.push_back(Field::Name);
    return missing;
}

} // namespace

std::optional<Field> FieldByName(std::string_view name) {
    const std::string normal = NormalHeader(name);
    for (const FieldInfo& info : kFields) {
        if (NormalHeader(info.name) == normal ||
            (info.field == Field::GivenName && normal == "given"))
            return info.field;
    }
    return std::nullopt;
}

std::string_view FieldName(Field field) {
    return InfoOf(field).name;
}

std::string NormalHeader(std::string_view header) {
    std::string normal;
    bool space = false;
    for (char c : header) {
        if (c == '_' || c == '-' || c == '.' || static_cast<unsigned char>(c) <= ' ') {
            space = !normal.empty();
            continue;
        }
        if (space)
            normal += ' ';
        space = false;
        normal += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return normal;
}

std::optional<NumberCell> ReadNumberCell(std::string_view cell, PenaltyMark mark) {
    NumberCell number;
    std::string_view text = TrimControls(cell);
    if (mark == PenaltyMark::Allowed && text.starts_with('*')) {
        number.penalty = true;
        text = TrimControls(text.substr(1));
    }
    number.text = std::string(text);
    if (ParseNumber(number.text))
        return number;
    if (std::count(text.begin(), text.end(), ',') != 1 || text.find('.') != std::string::npos)
        return std::nullopt;
    std::replace(number.text.begin(), number.text.end(), ',', '.');
    number.decimalComma = true;
    if (!ParseNumber(number.text))
        return std::nullopt;
    return number;
}

std::optional<std::string> FindColumns(const std::vector<std::string>& header,
                                       const std::vector<ColumnChoice>& chosen,
                                       ColumnMap& columns) {
    std::vector<std::string> normal;
    for (const std::string& name : header)
        normal.push_back(NormalHeader(name));
    columns = ColumnMap{};
    for (const FieldInfo& info : kFields)
        columns[static_cast<std::size_t>(info.field)] = FindByAlias(normal, info);
    for (const ColumnChoice& choice : chosen) {
        const int col = IndexOf(normal, NormalHeader(choice.header));
        if (col < 0)
            return "no column '" + choice.header + "' for " + std::string(FieldName(choice.field)) +
                   "; " + HeadersFound(header);
        columns[static_cast<std::size_t>(choice.field)] = col;
    }
    const std::vector<Field> missing = MissingFields(columns);
    if (!missing.empty()) {
        std::string names;
        for (const Field field : missing)
            names += (names.empty() ? "" : ", ") + std::string(FieldName(field));
        return "no column for " + names + " (name them with --column FIELD=HEADER); " +
               HeadersFound(header);
    }
    return std::nullopt;
}

} // namespace corvane
