// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "columns.h"
#include "csv_reader.h"
#include "names.h"
#include "source.h"

#include "store/events.h"

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
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

// One dive as a result file line holds it.
struct ImportedDive {
    std::string diverId;
    std::string code;
    std::string dd;
    std::string points;
    bool penalty = false; // the points carried a penalty mark
};

// One diver of the roster to write.
struct ImportedDiver {
    std::string id;
    std::string surname;
    std::string given;
    std::string nation;
};

// What an import read: the dives of each event and the roster, and what it left out.
struct ImportData {
    std::array<std::vector<ImportedDive>, kEventCount> dives;
    std::vector<ImportedDiver> divers;
    std::size_t rowsRead = 0;
    std::array<Occurrences, kSkipReasonCount> skipped;
    // Rows of other events, by the event cell as written, in order of first appearance.
    std::vector<std::pair<std::string, std::size_t>> otherEvents;
    Occurrences namesCut;
    Occurrences decimalCommas;
    Occurrences penaltyMarks;

    std::size_t SkippedRows() const;
};

// Turns spreadsheet rows into dives and divers. Divers are told apart by their id when the
// spreadsheet has an id column, else by surname, given name and nation, and then get ids
// 10, 11, 12, ... in order of first appearance.
class Importer {
public:
    // Adds the rows of one CSV file; `source` names it in line references. Returns false and
    // sets `error` when its columns cannot be found.
    bool Add(const CsvTable& table, const std::vector<ColumnChoice>& chosen,
             const std::string& source, std::string& error);

    // Adds the dives of a source read whole (a results book); `source` names it in the report.
    void AddReading(const SourceReading& reading, const std::string& source);

    // Sorts each event by dive code (byte order, stable) and hands the data over.
    ImportData Finish();

private:
    struct Cells;
    void AddRow(const Cells& cells, const RowPlace& where);
    std::optional<SkipReason> CheckDive(const Cells& cells, ImportedDive& dive,
                                        const RowPlace& where);
    std::optional<SkipReason> CheckDiver(const Cells& cells, ImportedDiver& diver,
                                         const RowPlace& where);
    std::optional<int> EventOf(std::string_view cell);
    const PersonName& NameOf(std::string_view cell);
    const std::string& IdOf(ImportedDiver diver);
    void CountOtherEvent(std::string_view event);

    ImportData data_;
    AsciiFolder folder_;
    TextMap<std::size_t> diverByKey_; // key to index in divers
    std::string key_;                 // the key of the row at hand, kept for its buffer
    // What the cells of events and names came to, by their text: a spreadsheet repeats them.
    TextMap<std::optional<int>> eventByCell_;
    TextMap<PersonName> nameByCell_;
    int nextId_ = 10;
};

// The text of a result file (CRLF lines, every field followed by a tab) and of Divers.tsv.
std::string ResultFileText(const std::vector<ImportedDive>& dives);
std::string RosterFileText(const std::vector<ImportedDiver>& divers);

} // namespace corvane
