// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_folder_importer.h"

#include "import/folder_update.h"

#include <ctime>

namespace corvane {

// What a preview read, kept for the add it was shown for.
struct PendingAdd {
    AddPlan plan;
};

namespace {

std::string RoundsLine(const SourceReading& reading, int event) {
    const auto rounds = RoundCounts(reading, event);
    std::string line;
    for (const auto& [round, dives] : rounds)
        line += (line.empty() ? std::string(EventByIndex(event).id) + ": " : ", ") +
                (round.empty() ? std::string("no round") : round) + " " + std::to_string(dives);
    return line;
}

OfferedFile Describe(const OfferedInput& input, const std::vector<FolderDiver>& newDivers) {
    OfferedFile file;
    file.path = input.path;
    file.reason = input.reason;
    file.warnings = input.notes;
    if (!input.Usable())
        return file;
    const SourceReading& reading = input.read.reading;
    file.what = reading.title + (reading.dates.empty() ? "" : ", " + reading.dates);
    file.dives = DivesPerEvent(reading);
    for (int event = 1; event <= kEventCount; ++event) {
        if (std::string line = RoundsLine(reading, event); !line.empty())
            file.rounds.push_back(std::move(line));
    }
    for (const FolderDiver& diver : newDivers)
        file.newDivers.push_back(diver.surname + ", " + diver.given +
                                 (diver.nation.empty() ? "" : " (" + diver.nation + ")"));
    file.warnings.insert(file.warnings.end(), reading.faults.begin(), reading.faults.end());
    file.warnings.insert(file.warnings.end(), reading.report.begin(), reading.report.end());
    return file;
}

AddCheck CheckOf(const PlanCheck& check) {
    return {check.refusal, check.findings};
}

// "2026-12-08", the local day of `when`.
std::string DayOf(std::chrono::system_clock::time_point when) {
    const std::time_t time = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&time, &local);
    char day[16];
    std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    return day;
}

} // namespace

ResultsFolderImporter::ResultsFolderImporter(Clock clock) : clock_(std::move(clock)) {}

AddPreview ResultsFolderImporter::Preview(const std::string& folder,
                                          const std::vector<std::string>& paths,
                                          const std::atomic<bool>& cancelled) {
    AddPlan plan = PlanAdd(folder, paths, {}, cancelled);
    AddPreview preview;
    preview.folder = folder;
    preview.earlierFiles = plan.earlierFiles;
    preview.cancelled = plan.cancelled;
    for (std::size_t i = 0; i < plan.inputs.size(); ++i)
        preview.files.push_back(Describe(plan.inputs[i], plan.newDivers[i]));
    preview.keepBeside = CheckOf(plan.keepBeside);
    preview.replace = CheckOf(plan.replace);
    if (!plan.cancelled)
        preview.pending = std::make_shared<const PendingAdd>(PendingAdd{std::move(plan)});
    return preview;
}

std::optional<std::string> ResultsFolderImporter::Add(const AddPreview& preview,
                                                      EarlierResults choice) {
    if (!preview.pending)
        return "nothing was read to add to " + preview.folder + "; nothing written";
    const EarlierFiles earlier =
        choice == EarlierResults::Replace ? EarlierFiles::MoveAside : EarlierFiles::KeepBeside;
    return ApplyAdd(preview.pending->plan, earlier, AsideFolder{DayOf(clock_())});
}

SourceList ResultsFolderImporter::Sources(const std::string& folder) {
    SourceList list;
    const FolderOutcome loaded = LoadDataFolder(folder);
    if (!loaded.folder) {
        list.message = loaded.message;
        return list;
    }
    if (loaded.kind != FolderOutcome::Kind::Imported)
        return list;
    for (std::size_t i = 0; i < loaded.folder->Sources().size(); ++i) {
        const FolderSource& source = loaded.folder->Sources()[i];
        list.sources.push_back(
            {source.name, source.title, source.dates, loaded.folder->DivesPerEvent(i)});
    }
    return list;
}

std::optional<std::string> ResultsFolderImporter::Remove(const std::string& folder,
                                                         const std::string& name) {
    const SourceRemoval removal = RemoveSource(folder, name);
    if (!removal.folder)
        return removal.message;
    return WriteDataFolder(*removal.folder, folder);
}

} // namespace corvane
