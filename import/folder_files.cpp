// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_files.h"

#include "rawdata/roster.h"
#include "store/file_text.h"
#include "store/number_text.h"
#include "store/result_loader.h"
#include "store/sha256.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace corvane {

namespace {

constexpr std::string_view kSourcesHeader = "Name\tSHA256\tTitle\tDates\tM3M\tW3M\tM10M\tW10M";
constexpr std::string_view kScoresHeader =
    "Source\tEvent\tRound\tDiverId\tDiveNo\tCode\tDD\tJ1\tJ2\tJ3\tJ4\tJ5\tJ6\tJ7\tPenalty\tPoints";
constexpr std::size_t kScoresFields = 16;
constexpr std::size_t kSourcesFields = 8;

// Appends a text as one field: tabs and line breaks become spaces.
void AppendField(std::string& out, std::string_view text) {
    const std::size_t at = out.size();
    out.append(text);
    std::replace_if(
        out.begin() + static_cast<std::ptrdiff_t>(at), out.end(),
        [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
}

std::string Field(std::string_view text) {
    std::string field;
    AppendField(field, text);
    return field;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos;) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

// The lines of a text (LF or CRLF), each with its number from 1; blank lines left out.
std::vector<std::pair<int, std::string_view>> Lines(std::string_view text) {
    std::vector<std::pair<int, std::string_view>> lines;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!line.empty())
            lines.emplace_back(number, line);
    }
    return lines;
}

std::optional<int> EventNamed(std::string_view id) {
    for (int event = 1; event <= kEventCount; ++event) {
        if (EventByIndex(event).id == id)
            return event;
    }
    return std::nullopt;
}

} // namespace

std::string SourcesText(const DataFolder& folder) {
    std::string text = std::string(kSourcesHeader) + '\n';
    for (std::size_t i = 0; i < folder.Sources().size(); ++i) {
        const FolderSource& source = folder.Sources()[i];
        text += Field(source.name) + '\t' + source.sha256 + '\t' + Field(source.title) + '\t' +
                Field(source.dates);
        for (const std::size_t dives : folder.DivesPerEvent(i))
            text += '\t' + std::to_string(dives);
        text += '\n';
    }
    return text;
}

std::string ScoresText(const DataFolder& folder) {
    std::string text = std::string(kScoresHeader) + '\n';
    text.reserve(folder.Dives().size() * 96);
    for (const FolderDive& dive : folder.Dives()) {
        AppendField(text, folder.Sources()[dive.source].name);
        text.append(1, '\t').append(EventByIndex(dive.event).id).append(1, '\t');
        AppendField(text, dive.round);
        text.append(1, '\t').append(dive.diverId).append(1, '\t');
        if (dive.diveNumber > 0)
            text.append(std::to_string(dive.diveNumber));
        text.append(1, '\t');
        AppendField(text, dive.code);
        text.append(1, '\t');
        AppendField(text, dive.dd);
        for (std::size_t judge = 0; judge < kMaxAwards; ++judge) {
            text.append(1, '\t');
            if (judge < dive.awards.size())
                AppendField(text, dive.awards[judge]);
        }
        text.append(dive.penalty ? "\t*\t" : "\t\t");
        AppendField(text, dive.points);
        text.append(1, '\n');
    }
    return text;
}

std::string ResultFileText(const DataFolder& folder, int event) {
    // The tables make one row of each run of records of one code: a code's dives must stand
    // together, in the order the folder keeps them.
    std::vector<const FolderDive*> dives;
    for (const FolderDive& dive : folder.Dives()) {
        if (dive.event == event)
            dives.push_back(&dive);
    }
    std::stable_sort(dives.begin(), dives.end(),
                     [](const FolderDive* a, const FolderDive* b) { return a->code < b->code; });
    std::string text;
    text.reserve(dives.size() * 32);
    for (const FolderDive* dive : dives)
        text.append(dive->diverId)
            .append(1, '\t')
            .append(dive->code)
            .append(1, '\t')
            .append(dive->dd)
            .append(1, '\t')
            .append(dive->points)
            .append("\t\r\n");
    return text;
}

std::string RosterFileText(const DataFolder& folder) {
    std::string text = "Id\tSurname\tGivenName\tNation\r\n";
    for (const FolderDiver& diver : folder.Divers()) {
        if (!diver.surname.empty())
            text.append(diver.id + '\t' + diver.surname + '\t' + diver.given + '\t' + diver.nation +
                        "\r\n");
    }
    return text;
}

std::vector<std::string> FolderFileNames() {
    std::vector<std::string> names;
    for (const EventInfo& event : kEvents)
        names.emplace_back(event.id);
    names.insert(names.end(),
                 {kRosterFileName, kScoresFileName, kSourcesFileName, kCatalogueFileName});
    return names;
}

OutputFiles FolderFiles(const DataFolder& folder, std::string catalogue) {
    OutputFiles files;
    for (int event = 1; event <= kEventCount; ++event)
        files.emplace_back(std::string(EventByIndex(event).id), ResultFileText(folder, event));
    files.emplace_back(kRosterFileName, RosterFileText(folder));
    files.emplace_back(kScoresFileName, ScoresText(folder));
    files.emplace_back(kSourcesFileName, SourcesText(folder));
    files.emplace_back(kCatalogueFileName, std::move(catalogue));
    return files;
}

namespace {

// A file of the folder: its text, nothing when it is missing, or why it cannot be read.
struct FileRead {
    std::optional<std::string> text;
    std::string message;
};

FileRead ReadFolderFile(const std::string& dir, const std::string& name) {
    FileRead read;
    std::string text;
    const LoadOutcome outcome = ReadWholeFile(JoinPath(dir, name), text);
    if (outcome.kind == LoadOutcome::Kind::Loaded)
        read.text = std::move(text);
    else if (outcome.kind == LoadOutcome::Kind::Failed)
        read.message = outcome.message;
    return read;
}

std::optional<std::string> ParseSources(std::string_view text, std::vector<FolderSource>& sources) {
    const auto lines = Lines(text);
    if (lines.empty() || lines.front().second != kSourcesHeader)
        return std::string(kSourcesFileName) + " line 1: not the header line of a sources list";
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = SplitTabs(lines[i].second);
        const bool shaOk = fields.size() > 1 && fields[1].size() == 64;
        if (fields.size() != kSourcesFields || fields[0].empty() || !shaOk)
            return std::string(kSourcesFileName) + " line " + std::to_string(lines[i].first) +
                   ": not a name, a SHA-256 and six more fields";
        sources.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                           std::string(fields[3])});
    }
    return std::nullopt;
}

// One line of Scores.tsv into `dive`; why it is not one, or nothing.
std::optional<std::string> ParseScore(std::string_view line, const DataFolder& names,
                                      FolderDive& dive) {
    const auto fields = SplitTabs(line);
    if (fields.size() != kScoresFields)
        return "not " + std::to_string(kScoresFields) + " fields";
    const auto source = names.SourceNamed(std::string(fields[0]));
    if (!source)
        return "source '" + std::string(fields[0]) + "' is not in " + kSourcesFileName;
    const auto event = EventNamed(fields[1]);
    if (!event)
        return "event '" + std::string(fields[1]) + "' is not M3M, W3M, M10M or W10M";
    const std::string_view number = fields[4];
    const auto parsed =
        std::from_chars(number.data(), number.data() + number.size(), dive.diveNumber);
    if (!number.empty() && (parsed.ec != std::errc{} || parsed.ptr != number.end()))
        return "dive number '" + std::string(number) + "' is not a number";
    if (fields[3].empty() || fields[5].empty())
        return "no diver id or no dive code";
    dive.source = *source;
    dive.event = *event;
    dive.round = fields[2];
    dive.diverId = fields[3];
    dive.code = fields[5];
    dive.dd = fields[6];
    std::size_t judges = kMaxAwards;
    while (judges > 0 && fields[6 + judges].empty())
        --judges;
    for (std::size_t judge = 1; judge <= judges; ++judge)
        dive.awards.emplace_back(fields[6 + judge]);
    dive.penalty = fields[14] == "*";
    dive.points = fields[15];
    return std::nullopt;
}

std::optional<std::string> ParseScores(std::string_view text, const DataFolder& names,
                                       std::vector<FolderDive>& dives) {
    const auto lines = Lines(text);
    if (lines.empty() || lines.front().second != kScoresHeader)
        return std::string(kScoresFileName) + " line 1: not the header line of a scores list";
    dives.reserve(lines.size());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        FolderDive& dive = dives.emplace_back();
        if (auto why = ParseScore(lines[i].second, names, dive))
            return std::string(kScoresFileName) + " line " + std::to_string(lines[i].first) + ": " +
                   *why;
    }
    return std::nullopt;
}

std::vector<FolderDiver> DiversOf(const DiverRoster& roster) {
    std::vector<FolderDiver> divers;
    divers.reserve(roster.Rows().size());
    for (const DiverEntry& row : roster.Rows())
        divers.push_back({row.Id.str(), row.Surname.str(), row.GivenName.str(), row.Nation.str()});
    return divers;
}

// Fills `roster` from the Divers.tsv of `dir`, else with the built-in one when `builtIn`
// allows; returns why not.
std::optional<std::string> ReadFolderRoster(const std::string& dir, bool builtIn,
                                            DiverRoster& roster) {
    FileRead read = ReadFolderFile(dir, kRosterFileName);
    if (!read.text) {
        if (read.message.empty() && builtIn) {
            roster = BuiltInRoster();
            return std::nullopt;
        }
        return read.message.empty() ? JoinPath(dir, kRosterFileName) + ": no such file"
                                    : read.message;
    }
    if (const auto problem = ParseRoster(*read.text, roster))
        return std::string(kRosterFileName) + " " + *problem;
    return std::nullopt;
}

FolderOutcome LoadImported(const std::string& dir, const std::string& sourcesText) {
    FolderOutcome outcome;
    outcome.kind = FolderOutcome::Kind::Imported;
    std::vector<FolderSource> sources;
    if (auto why = ParseSources(sourcesText, sources)) {
        outcome.message = JoinPath(dir, *why);
        return outcome;
    }
    const FileRead scores = ReadFolderFile(dir, kScoresFileName);
    if (!scores.text) {
        outcome.message = scores.message.empty() ? JoinPath(dir, kScoresFileName) + ": no such file"
                                                 : scores.message;
        return outcome;
    }
    DataFolder names;
    names.Restore(sources, {}, {});
    std::vector<FolderDive> dives;
    if (auto why = ParseScores(*scores.text, names, dives)) {
        outcome.message = JoinPath(dir, *why);
        return outcome;
    }
    DiverRoster roster;
    if (auto why = ReadFolderRoster(dir, false, roster)) {
        outcome.message = std::move(*why);
        return outcome;
    }
    outcome.folder.emplace().Restore(std::move(sources), std::move(dives), DiversOf(roster));
    return outcome;
}

// The dives of one result file as a source gives them: ids and codes cut as the window cuts
// them, DD and points as written.
void AddResultDives(std::string_view text, int event, const DiverRoster& roster,
                    SourceReading& reading) {
    for (const auto& [number, line] : Lines(text)) {
        std::array<std::string_view, 4> fields{};
        std::string_view rest = line;
        for (auto& field : fields) {
            const std::size_t tab = rest.find('\t');
            field = tab == std::string_view::npos ? std::string_view() : rest.substr(0, tab);
            rest.remove_prefix(tab == std::string_view::npos ? rest.size() : tab + 1);
        }
        SourceDive& dive = reading.dives.emplace_back();
        dive.event = event;
        dive.sourceId = FixedText<10>(fields[0]).str();
        dive.code = FixedText<5>(fields[1]).str();
        dive.dd = TrimControls(fields[2]);
        dive.points = TrimControls(fields[3]);
        if (const DiverEntry* diver = roster.FindDiver(dive.sourceId)) {
            dive.surname = diver->Surname.str();
            dive.given = diver->GivenName.str();
            dive.nation = diver->Nation.str();
        }
    }
}

// Results no import wrote, with their roster, as a source of their own. Files the window
// could not load are refused with its message.
FolderOutcome LoadEarlier(const std::string& dir) {
    FolderOutcome outcome;
    outcome.kind = FolderOutcome::Kind::Earlier;
    DiverRoster roster;
    if (auto why = ReadFolderRoster(dir, true, roster)) {
        outcome.message = std::move(*why);
        return outcome;
    }
    SourceReading reading;
    reading.title = "results in the folder before its first import";
    std::string allBytes;
    for (int event = 1; event <= kEventCount; ++event) {
        const std::string name(EventByIndex(event).id);
        const FileRead read = ReadFolderFile(dir, name);
        if (!read.text && !read.message.empty()) {
            outcome.message = read.message;
            return outcome;
        }
        const std::string text = read.text.value_or("");
        std::vector<DiveRecord> slots(static_cast<std::size_t>(EventByIndex(event).capacity));
        const LoadOutcome loaded = LoadResultText(text, slots, JoinPath(dir, name));
        if (loaded.kind != LoadOutcome::Kind::Loaded) {
            outcome.message = loaded.message;
            return outcome;
        }
        AddResultDives(text, event, roster, reading);
        allBytes += text;
    }
    const FileRead rosterFile = ReadFolderFile(dir, kRosterFileName);
    allBytes += rosterFile.text.value_or("");
    DataFolder& folder = outcome.folder.emplace();
    folder.Add({kEarlierResultsName, Sha256Hex(allBytes), reading.title, ""}, reading);
    return outcome;
}

} // namespace

FolderOutcome LoadDataFolder(const std::string& dir) {
    const FileRead sources = ReadFolderFile(dir, kSourcesFileName);
    if (sources.text)
        return LoadImported(dir, *sources.text);
    if (!sources.message.empty())
        return {FolderOutcome::Kind::Imported, std::nullopt, sources.message};
    std::vector<std::string> results;
    for (const EventInfo& event : kEvents)
        results.emplace_back(event.id);
    if (ExistingFiles(dir, results).empty())
        return {FolderOutcome::Kind::Empty, DataFolder{}, ""};
    return LoadEarlier(dir);
}

} // namespace corvane
