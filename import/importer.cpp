// SPDX-License-Identifier: GPL-3.0-or-later
#include "importer.h"

#include "rawdata/roster.h"
#include "store/number_text.h"

#include <algorithm>
#include <numeric>

namespace corvane {

namespace {

constexpr std::size_t kSurnameCapacity = 25;
constexpr std::size_t kGivenNameCapacity = 20;
constexpr std::size_t kIdCapacity = 10;

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsPrintable(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < ' ' || static_cast<unsigned char>(c) == 0x7F;
    });
}

bool IsNation(std::string_view nation) {
    return nation.empty() ||
           (nation.size() == 3 &&
            std::all_of(nation.begin(), nation.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

// Cuts `text` to `capacity` characters, dropping a blank left at the end; true if it cut.
bool CutTo(std::string& text, std::size_t capacity) {
    if (text.size() <= capacity)
        return false;
    text.resize(capacity);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return true;
}

} // namespace

std::string_view SkipReasonText(SkipReason reason) {
    constexpr std::array<std::string_view, kSkipReasonCount> kTexts{
        "DD is not a number",
        "points are not a number",
        "dive code is empty",
        "dive code is longer than 5 characters",
        "dive code holds other characters than letters and digits",
        "no surname",
        "nation is neither empty nor three letters",
        "diver id is empty, longer than 10 characters or holds a control character",
    };
    return kTexts[static_cast<std::size_t>(reason)];
}

std::size_t ImportData::SkippedRows() const {
    std::size_t rows = 0;
    for (const Occurrences& reason : skipped)
        rows += reason.count;
    return rows;
}

// The cells of one row, by field; empty where the field has no column or the row is short.
struct Importer::Cells {
    std::array<std::string_view, kFieldCount> text{};
    bool hasIdColumn = false;
    bool hasSurnameColumn = false;

    std::string_view Get(Field field) const { return text[static_cast<std::size_t>(field)]; }
};

bool Importer::Add(const CsvTable& table, const std::vector<ColumnChoice>& chosen,
                   const std::string& source, std::string& error) {
    const std::optional<ColumnMap> columns = FindColumns(table.header, chosen, error);
    if (!columns) {
        error = source + ": " + error;
        return false;
    }
    Cells cells;
    cells.hasIdColumn = ColumnOf(*columns, Field::DiverId) >= 0;
    cells.hasSurnameColumn = ColumnOf(*columns, Field::Surname) >= 0;
    for (const CsvRow& row : table.rows) {
        for (std::size_t field = 0; field < kFieldCount; ++field) {
            const int col = (*columns)[field];
            const bool present = col >= 0 && static_cast<std::size_t>(col) < row.fields.size();
            cells.text[field] = present ? std::string_view(row.fields[col]) : std::string_view();
        }
        ++data_.rowsRead;
        AddRow(cells, RowPlace{source, row.line});
    }
    return true;
}

void Importer::AddRow(const Cells& cells, const RowPlace& where) {
    const std::string_view event = TrimControls(cells.Get(Field::Event));
    const std::optional<int> eventIndex = EventOf(event);
    if (!eventIndex) {
        CountOtherEvent(event.empty() ? "(no event)" : event);
        return;
    }
    ImportedDive dive;
    ImportedDiver diver;
    std::optional<SkipReason> skip = CheckDive(cells, dive, where);
    if (!skip)
        skip = CheckDiver(cells, diver, where);
    if (skip) {
        data_.skipped[static_cast<std::size_t>(*skip)].Add(where);
        return;
    }
    dive.diverId = IdOf(std::move(diver));
    data_.dives[static_cast<std::size_t>(*eventIndex - 1)].push_back(std::move(dive));
}

std::optional<SkipReason> Importer::CheckDive(const Cells& cells, ImportedDive& dive,
                                              const RowPlace& where) {
    const std::string_view code = TrimControls(cells.Get(Field::Code));
    if (code.empty())
        return SkipReason::CodeEmpty;
    if (code.size() > 5)
        return SkipReason::CodeTooLong;
    if (!std::all_of(code.begin(), code.end(), IsLetterOrDigit))
        return SkipReason::CodeNotLettersAndDigits;
    dive.code = Capitals(code);
    const std::optional<NumberCell> dd = ReadNumberCell(cells.Get(Field::DD), PenaltyMark::Refused);
    if (!dd)
        return SkipReason::DDNotANumber;
    const std::optional<NumberCell> points =
        ReadNumberCell(cells.Get(Field::Points), PenaltyMark::Allowed);
    if (!points)
        return SkipReason::PointsNotANumber;
    dive.dd = dd->text;
    dive.points = points->text;
    dive.penalty = points->penalty;
    // A number written with a decimal comma is taken with a point, which the result files
    // need.
    if (dd->decimalComma || points->decimalComma)
        data_.decimalCommas.Add(where);
    if (points->penalty)
        data_.penaltyMarks.Add(where);
    return std::nullopt;
}

std::optional<SkipReason> Importer::CheckDiver(const Cells& cells, ImportedDiver& diver,
                                               const RowPlace& where) {
    if (cells.hasIdColumn) {
        diver.id = std::string(TrimControls(cells.Get(Field::DiverId)));
        if (diver.id.empty() || diver.id.size() > kIdCapacity || !IsPrintable(diver.id))
            return SkipReason::IdEmptyOrTooLong;
    }
    diver.nation = Capitals(folder_.Fold(cells.Get(Field::Nation)));
    if (!IsNation(diver.nation))
        return SkipReason::NationNotThreeLetters;
    PersonName name;
    if (cells.hasSurnameColumn)
        name = {folder_.Fold(cells.Get(Field::Surname)), folder_.Fold(cells.Get(Field::GivenName))};
    else
        name = NameOf(cells.Get(Field::Name));
    diver.surname = Capitals(name.surname);
    diver.given = Capitals(name.given);
    if (diver.surname.empty())
        return SkipReason::NoSurname;
    const bool cutSurname = CutTo(diver.surname, kSurnameCapacity);
    if (CutTo(diver.given, kGivenNameCapacity) || cutSurname)
        data_.namesCut.Add(where);
    return std::nullopt;
}

std::optional<int> Importer::EventOf(std::string_view cell) {
    const auto known = eventByCell_.find(cell);
    if (known != eventByCell_.end())
        return known->second;
    return eventByCell_.emplace(std::string(cell), EventOfCell(cell)).first->second;
}

void Importer::AddReading(const SourceReading& reading, const std::string& source) {
    bool namesCut = false;
    for (const SourceDive& read : reading.dives) {
        if (read.event < 1 || read.event > kEventCount)
            continue;
        ++data_.rowsRead;
        ImportedDiver diver{{}, read.surname, read.given, read.nation};
        const bool cutSurname = CutTo(diver.surname, kSurnameCapacity);
        namesCut |= CutTo(diver.given, kGivenNameCapacity) || cutSurname;
        ImportedDive dive{IdOf(std::move(diver)), Capitals(read.code), read.dd, read.points,
                          read.penalty};
        data_.dives[static_cast<std::size_t>(read.event - 1)].push_back(std::move(dive));
    }
    if (namesCut) {
        ++data_.namesCut.count;
        if (data_.namesCut.first.size() < Occurrences::kShown)
            data_.namesCut.first.push_back(source);
    }
}

const PersonName& Importer::NameOf(std::string_view cell) {
    const auto known = nameByCell_.find(cell);
    if (known != nameByCell_.end())
        return known->second;
    return nameByCell_.emplace(std::string(cell), SplitWrittenName(cell, folder_)).first->second;
}

const std::string& Importer::IdOf(ImportedDiver diver) {
    // Keys of the two kinds cannot meet: an id holds no tab, a name key starts with one.
    key_.clear();
    if (diver.id.empty())
        key_.append(1, '\t')
            .append(diver.surname)
            .append(1, '\t')
            .append(diver.given)
            .append(1, '\t')
            .append(diver.nation);
    else
        key_ = diver.id;
    if (const auto known = diverByKey_.find(key_); known != diverByKey_.end())
        return data_.divers[known->second].id;
    if (diver.id.empty()) {
        // Ascending numbers from 10, passing over ids the spreadsheet gave.
        while (diverByKey_.contains(std::to_string(nextId_)))
            ++nextId_;
        diver.id = std::to_string(nextId_++);
    }
    diverByKey_.emplace(key_, data_.divers.size());
    data_.divers.push_back(std::move(diver));
    return data_.divers.back().id;
}

void Importer::CountOtherEvent(std::string_view event) {
    for (auto& [name, rows] : data_.otherEvents) {
        if (name == event) {
            ++rows;
            return;
        }
    }
    data_.otherEvents.emplace_back(std::string(event), 1);
}

ImportData Importer::Finish() {
    // The tables make one row of each run of records of one code: a code's dives must stand
    // together, in the spreadsheet's order. Positions are sorted rather than the dives,
    // which are costly to move.
    for (auto& dives : data_.dives) {
        std::vector<std::size_t> order(dives.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return dives[a].code < dives[b].code;
        });
        std::vector<ImportedDive> sorted;
        sorted.reserve(dives.size());
        for (const std::size_t at : order)
            sorted.push_back(std::move(dives[at]));
        dives = std::move(sorted);
    }
    return std::move(data_);
}

std::string ResultFileText(const std::vector<ImportedDive>& dives) {
    std::string text;
    text.reserve(dives.size() * 32);
    for (const ImportedDive& dive : dives)
        text.append(dive.diverId)
            .append(1, '\t')
            .append(dive.code)
            .append(1, '\t')
            .append(dive.dd)
            .append(1, '\t')
            .append(dive.points)
            .append("\t\r\n");
    return text;
}

std::string RosterFileText(const std::vector<ImportedDiver>& divers) {
    std::string text = "Id\tSurname\tGivenName\tNation\r\n";
    for (const ImportedDiver& diver : divers)
        text.append(diver.id + '\t' + diver.surname + '\t' + diver.given + '\t' + diver.nation +
                    "\r\n");
    return text;
}

} // namespace corvane
