// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "columns.h"
#include "csv_reader.h"
#include "names.h"
#include "source.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Why a row of a spreadsheet was left out.
enum class SkipReason {
    DDNotANumber,
    PointsNotANumber,
    CodeEmpty,
    CodeTooLong,
    CodeNotLettersAndDigits,
    NoSurname,
    NationNotThreeLetters,
    IdEmptyOrTooLong,
};
inline constexpr std::size_t kSkipReasonCount = 8;
std::string_view SkipReasonText(SkipReason reason);

// "1 row", "2 rows".
std::string Rows(std::size_t count);

// Event names with their rows, the most rows first, names with as many in order of appearance.
std::vector<std::pair<std::string, std::size_t>>
LargestFirst(std::vector<std::pair<std::string, std::size_t>> events);

// A row of an input file, as reports name it: "file:line".
struct RowPlace {
    const std::string& source;
    int line;

    std::string Text() const { return source + ":" + std::to_string(line); }
};

// How many times something happened, and where the first few times were.
struct Occurrences {
    static constexpr std::size_t kShown = 5;
    std::size_t count = 0;
    std::vector<std::string> first;

    void Add(const RowPlace& where) {
        if (first.size() < kShown)
            first.push_back(where.Text());
        ++count;
    }
};

// What a spreadsheet's rows came to: its dives as a source reading, and the counts its
// report lines are made of.
struct SheetReading {
    SourceReading reading;
    std::size_t rowsRead = 0;
    std::array<Occurrences, kSkipReasonCount> skipped;
    // Rows of other events, by the event cell as written, in order of first appearance.
    std::vector<std::pair<std::string, std::size_t>> otherEvents;
    Occurrences namesCut;
    Occurrences decimalCommas;
    Occurrences penaltyMarks;

    std::size_t SkippedRows() const;
};

// Turns the rows of one spreadsheet into the dives of a source reading: each row of the
// four events is checked and its names written in capitals and plain ASCII; rows of other
// events are counted. Besides the columns FindColumns finds, optional columns "round" and
// "J1" to "J7" (the judges' awards) are kept when the sheet has them.
class SheetReader {
public:
    // Reads `table`; `source` names it in line references. Returns why its columns cannot be
    // found, or nothing.
    std::optional<std::string> Read(const CsvTable& table, const std::vector<ColumnChoice>& chosen,
                                    const std::string& source);

    // The reading with its report lines and faults written in, handed over.
    SheetReading Finish(const std::string& title);

private:
    struct Cells;
    void AddRow(const Cells& cells, const RowPlace& where);
    std::optional<SkipReason> CheckDive(const Cells& cells, SourceDive& dive,
                                        const RowPlace& where);
    std::optional<SkipReason> CheckDiver(const Cells& cells, SourceDive& dive,
                                         const RowPlace& where);
    std::optional<int> EventOf(std::string_view cell);
    const PersonName& NameOf(std::string_view cell);
    void CountOtherEvent(std::string_view event);

    SheetReading data_;
    AsciiFolder folder_;
    // What the cells of events and names came to, by their text: a spreadsheet repeats them.
    TextMap<std::optional<int>> eventByCell_;
    TextMap<PersonName> nameByCell_;
};

} // namespace corvane
