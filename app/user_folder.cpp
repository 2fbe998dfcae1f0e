// SPDX-License-Identifier: GPL-3.0-or-later
#include "user_folder.h"

#include "store/events.h"
#include "store/file_set_writer.h"
#include "store/file_text.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr char kFolderName[] = "corvane-dive-analyzer";

bool HoldsAnyResultFile(const fs::path& folder) {
    std::error_code ignored;
    for (const EventInfo& event : kEvents) {
        // A dangling link counts as there: it is the user's, not ours to replace.
        if (fs::exists(fs::symlink_status(folder / event.id, ignored)))
            return true;
    }
    return false;
}

bool HoldsAllResultFiles(const fs::path& folder) {
    std::error_code ignored;
    for (const EventInfo& event : kEvents) {
        if (!fs::is_regular_file(folder / event.id, ignored))
            return false;
    }
    return true;
}

// Why a sample cannot be read, in the system's words alone, as the message wants them.
std::string ReadFailureReason(const LoadOutcome& outcome, const std::string& path) {
    if (outcome.kind == LoadOutcome::Kind::MissingFile)
        return std::generic_category().message(ENOENT);
    const std::string prefix = "Cannot read " + path + ": ";
    return outcome.message.starts_with(prefix) ? outcome.message.substr(prefix.size())
                                               : outcome.message;
}

// Copies the four files under temporary names first and renames them only when all four
// are there, so that a full disk never leaves a folder with some of the events, which
// would keep the next start from filling it. Each copy keeps its sample's permissions.
// Returns why it failed, or nothing.
std::optional<std::string> CopySamples(const fs::path& sampleDir, const fs::path& folder) {
    std::array<std::string, kEventCount> texts;
    std::vector<FileToWrite> files;
    for (const EventInfo& event : kEvents) {
        const std::string sample = (sampleDir / event.id).string();
        std::string& text = texts.at(files.size());
        if (const LoadOutcome read = ReadWholeFile(sample, text);
            read.kind != LoadOutcome::Kind::Loaded)
            return ReadFailureReason(read, sample);
        struct stat status {};
        const bool known = ::stat(sample.c_str(), &status) == 0;
        files.push_back({(folder / event.id).string(), text,
                         known ? std::optional<unsigned>(status.st_mode & 07777) : std::nullopt});
    }
    const auto failure = WriteFileSet(files, {"part", TempNames::Fixed});
    if (!failure)
        return std::nullopt;
    // A rename that failed half-way: the copies already placed go again. They are ours, as
    // the folder held no result file before.
    for (std::size_t i = 0; i < failure->renamed; ++i)
        ::unlink(files[i].path.c_str());
    return failure->reason;
}

} // namespace

fs::path UserFolderPath(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / kFolderName;
    if (home && fs::path(home).is_absolute())
        return fs::path(home) / ".local" / "share" / kFolderName;
    return {};
}

fs::path InstalledSampleDir(const fs::path& programDir) {
    return (programDir / CORVANE_SAMPLES_FROM_BINDIR).lexically_normal();
}

std::optional<std::string> PrepareUserFolder(const fs::path& folder, const fs::path& sampleDir) {
    // One line for the folder: a message box wraps lines at blanks, never inside a path.
    const std::string where = "The folder for your results\n" + folder.string() + "\n";
    if (HoldsAnyResultFile(folder))
        return std::nullopt;
    if (!HoldsAllResultFiles(sampleDir))
        return where + "holds no results, and no sample results to start it with are installed " +
               "in\n" + sampleDir.string();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return where + "cannot be created: " + error.message();
    if (const auto copyError = CopySamples(sampleDir, folder))
        return where + "cannot be filled with the sample results: " + *copyError;
    return std::nullopt;
}

std::optional<std::string> ChooseUserFolder(fs::path& folder) {
    folder = UserFolderPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (folder.empty())
        return "Neither XDG_DATA_HOME nor HOME names a folder for your results";
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return "The folder for your results\n" + folder.string() +
               "\ncannot be filled: the program cannot tell where it is installed";
    return PrepareUserFolder(folder, InstalledSampleDir(program.parent_path()));
}

} // namespace corvane
