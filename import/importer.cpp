// SPDX-License-Identifier: GPL-3.0-or-later
#include "importer.h"

#include "store/number_text.h"

#include <algorithm>

namespace corvane {

namespace {

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

std::size_t SheetReading::SkippedRows() const {
    std::size_t rows = 0;
    for (const Occurrences& reason : skipped)
        rows += reason.count;
    return rows;
}

// The cells of one row, by field; empty where the field has no column or the row is short.
struct SheetReader::Cells {
    std::array<std::string_view, kFieldCount> text{};
    std::string_view round;
    std::vector<std::string_view> awards; // one per award column, in order J1, J2, ...
    bool hasIdColumn = false;
    bool hasSurnameColumn = false;

    std::string_view Get(Field field) const { return text[static_cast<std::size_t>(field)]; }
};

namespace {

// The columns beyond the fields: the round and the awards J1 to J7 (up to the first missing).
struct ExtraColumns {
    int round = -1;
    std::vector<int> awards;
};

ExtraColumns FindExtraColumns(const std::vector<std::string>& header) {
    const auto find = [&](std::string_view name) {
        const auto at = std::find_if(header.begin(), header.end(),
                                     [&](const std::string& h) { return NormalHeader(h) == name; });
        return at == header.end() ? -1 : static_cast<int>(at - header.begin());
    };
    ExtraColumns extra;
    extra.round = find("round");
    for (std::size_t judge = 1; judge <= kMaxAwards; ++judge) {
        const int col = find("j" + std::to_string(judge));
        if (col < 0)
            break;
        extra.awards.push_back(col);
    }
    return extra;
}

std::string_view CellAt(const CsvRow& row, int col) {
    const bool present = col >= 0 && static_cast<std::size_t>(col) < row.fields.size();
    return present ? std::string_view(row.fields[col]) : std::string_view();
}

} // namespace

std::optional<std::string> SheetReader::Read(const CsvTable& table,
                                             const std::vector<ColumnChoice>& chosen,
                                             const std::string& source) {
    ColumnMap columns;
    if (const auto problem = FindColumns(table.header, chosen, columns))
        return source + ": " + *problem;
    const ExtraColumns extra = FindExtraColumns(table.header);
    Cells cells;
    cells.hasIdColumn = ColumnOf(columns, Field::DiverId) >= 0;
    cells.hasSurnameColumn = ColumnOf(columns, Field::Surname) >= 0;
    cells.awards.resize(extra.awards.size());
    for (const CsvRow& row : table.rows) {
        for (std::size_t field = 0; field < kFieldCount; ++field)
            cells.text[field] = CellAt(row, columns[field]);
        cells.round = CellAt(row, extra.round);
        for (std::size_t judge = 0; judge < extra.awards.size(); ++judge)
            cells.awards[judge] = CellAt(row, extra.awards[judge]);
        ++data_.rowsRead;
        AddRow(cells, RowPlace{source, row.line});
    }
    return std::nullopt;
}

void SheetReader::AddRow(const Cells& cells, const RowPlace& where) {
    const std::string_view event = TrimControls(cells.Get(Field::Event));
    const std::optional<int> eventIndex = EventOf(event);
    if (!eventIndex) {
        CountOtherEvent(event.empty() ? "(no event)" : event);
        return;
    }
    SourceDive dive;
    dive.event = *eventIndex;
    std::optional<SkipReason> skip = CheckDive(cells, dive, where);
    if (!skip)
        skip = CheckDiver(cells, dive, where);
    if (skip) {
        data_.skipped[static_cast<std::size_t>(*skip)].Add(where);
        return;
    }
    dive.round = folder_.Fold(cells.round);
    // Awards only when the row has them all: an empty award cell is a sheet without them.
    for (const std::string_view award : cells.awards)
        dive.awards.emplace_back(TrimControls(award));
    if (std::any_of(dive.awards.begin(), dive.awards.end(),
                    [](const std::string& award) { return !ParseNumber(award); }))
        dive.awards.clear();
    data_.reading.dives.push_back(std::move(dive));
}

std::optional<SkipReason> SheetReader::CheckDive(const Cells& cells, SourceDive& dive,
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

std::optional<SkipReason> SheetReader::CheckDiver(const Cells& cells, SourceDive& dive,
                                                  const RowPlace& where) {
    if (cells.hasIdColumn) {
        dive.sourceId = std::string(TrimControls(cells.Get(Field::DiverId)));
        if (dive.sourceId.empty() || dive.sourceId.size() > kIdCapacity ||
            !IsPrintable(dive.sourceId))
            return SkipReason::IdEmptyOrTooLong;
    }
    dive.nation = Capitals(folder_.Fold(cells.Get(Field::Nation)));
    if (!IsNation(dive.nation))
        return SkipReason::NationNotThreeLetters;
    PersonName name;
    if (cells.hasSurnameColumn)
        name = {folder_.Fold(cells.Get(Field::Surname)), folder_.Fold(cells.Get(Field::GivenName))};
    else
        name = NameOf(cells.Get(Field::Name));
    dive.surname = Capitals(name.surname);
    dive.given = Capitals(name.given);
    if (dive.surname.empty())
        return SkipReason::NoSurname;
    if (CutToRosterWidths(dive.surname, dive.given))
        data_.namesCut.Add(where);
    return std::nullopt;
}

std::optional<int> SheetReader::EventOf(std::string_view cell) {
    const auto known = eventByCell_.find(cell);
    if (known != eventByCell_.end())
        return known->second;
    return eventByCell_.emplace(std::string(cell), EventOfCell(cell)).first->second;
}

const PersonName& SheetReader::NameOf(std::string_view cell) {
    const auto known = nameByCell_.find(cell);
    if (known != nameByCell_.end())
        return known->second;
    return nameByCell_.emplace(std::string(cell), SplitWrittenName(cell, folder_)).first->second;
}

void SheetReader::CountOtherEvent(std::string_view event) {
    for (auto& [name, rows] : data_.otherEvents) {
        if (name == event) {
            ++rows;
            return;
        }
    }
    data_.otherEvents.emplace_back(std::string(event), 1);
}

namespace {

std::string Listed(const Occurrences& where) {
    std::string list;
    for (const std::string& place : where.first)
        list += (list.empty() ? " (" : ", ") + place;
    return list.empty() ? list : list + (where.count > where.first.size() ? ", ...)" : ")");
}

// The ten event names not recognised with the most rows, and what the others add up to.
void ReportOtherEvents(const std::vector<std::pair<std::string, std::size_t>>& otherEvents,
                       std::vector<std::string>& report) {
    constexpr std::size_t kShown = 10;
    const auto events = LargestFirst(otherEvents);
    std::size_t restRows = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (i < kShown)
            report.push_back("skipped, event '" + events[i].first + "': " + Rows(events[i].second));
        else
            restRows += events[i].second;
    }
    if (events.size() > kShown)
        report.push_back("skipped, " + std::to_string(events.size() - kShown) +
                         " other event names: " + Rows(restRows));
}

} // namespace

std::vector<std::pair<std::string, std::size_t>>
LargestFirst(std::vector<std::pair<std::string, std::size_t>> events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return events;
}

std::string Rows(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " row" : " rows");
}

SheetReading SheetReader::Finish(const std::string& title) {
    SourceReading& reading = data_.reading;
    reading.title = title;
    for (std::size_t reason = 0; reason < kSkipReasonCount; ++reason) {
        const Occurrences& skipped = data_.skipped[reason];
        if (skipped.count > 0)
            reading.faults.push_back("skipped, " +
                                     std::string(SkipReasonText(static_cast<SkipReason>(reason))) +
                                     ": " + Rows(skipped.count) + Listed(skipped));
    }
    ReportOtherEvents(data_.otherEvents, reading.report);
    if (data_.namesCut.count > 0)
        reading.report.push_back("names cut to 25 (surname) and 20 (given name) characters: " +
                                 std::to_string(data_.namesCut.count) + Listed(data_.namesCut));
    if (data_.decimalCommas.count > 0)
        reading.report.push_back("numbers with a decimal comma, written with a point: " +
                                 Rows(data_.decimalCommas.count) + Listed(data_.decimalCommas));
    if (data_.penaltyMarks.count > 0)
        reading.report.push_back("points with a penalty mark (*), read as the number: " +
                                 Rows(data_.penaltyMarks.count) + Listed(data_.penaltyMarks));
    return std::move(data_);
}

} // namespace corvane
