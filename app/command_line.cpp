// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include "cli/command_frame.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace corvane {

namespace {

constexpr const char* kProgram = "corvane-dive-analyzer";

constexpr const char* kUsage = R"(Usage: corvane-dive-analyzer [OPTION]... [FOLDER]

Opens the results of the four events, the files M3M, W3M, M10M and W10M of FOLDER
(default: the current folder). The thresholds and sort columns are kept in FOLDER/DD.ini.
When FOLDER holds a file Divers.tsv, its divers take the place of the built-in roster.

  --user-folder  open the folder of your own results instead:
                 $XDG_DATA_HOME/corvane-dive-analyzer (by default
                 ~/.local/share/corvane-dive-analyzer); the first start fills it
                 with copies of the sample results
  --help         show this help and exit
  --version      show the version and exit
)";

StartRequest Refused(std::string reason) {
    StartRequest request;
    request.action = StartRequest::Action::Refuse;
    request.reason = std::move(reason);
    return request;
}

} // namespace

StartRequest ParseStartArguments(const std::vector<std::string>& args) {
    StartRequest request;
    bool folderGiven = false;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            request.action = StartRequest::Action::PrintHelp;
        } else if (!optionsEnded && arg == "--version") {
            request.action = StartRequest::Action::PrintVersion;
        } else if (!optionsEnded && arg == "--user-folder") {
            request.userFolder = true;
        } else if (!optionsEnded && arg.starts_with('-') && arg != "-") {
            return Refused("unknown option '" + arg + "'");
        } else if (folderGiven) {
            return Refused("only one folder can be opened, not both '" + request.dataFolder +
                           "' and '" + arg + "'");
        } else if (arg.empty()) {
            return Refused("the folder name is empty");
        } else {
            request.dataFolder = arg;
            folderGiven = true;
        }
    }
    if (folderGiven && request.userFolder)
        return Refused("open either the folder '" + request.dataFolder + "' or --user-folder");
    return request;
}

std::optional<std::string> DataFolderProblem(const std::string& folder) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return "the folder '" + folder + "' does not exist";
    if (error)
        return "cannot open the folder '" + folder + "': " + error.message();
    if (status.type() != std::filesystem::file_type::directory)
        return "'" + folder + "' is not a folder";
    return std::nullopt;
}

StartRequest RefuseMissingFolder(StartRequest request) {
    if (request.action != StartRequest::Action::OpenWindow || request.dataFolder.empty())
        return request;
    if (auto problem = DataFolderProblem(request.dataFolder))
        return Refused(std::move(*problem));
    return request;
}

std::optional<int> AnswerWithoutWindow(const StartRequest& request, std::ostream& out,
                                       std::ostream& err) {
    switch (request.action) {
    case StartRequest::Action::OpenWindow:
        return std::nullopt;
    case StartRequest::Action::PrintHelp:
        out << kUsage;
        return kExitDone;
    case StartRequest::Action::PrintVersion:
        PrintVersion(kProgram, out);
        return kExitDone;
    case StartRequest::Action::Refuse:
        break;
    }
    return RefuseUsage(kProgram, request.reason, err);
}

std::string DataFolderPath(const std::string& given) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(given, error);
    if (error) {
        return given;
    }
    path = path.lexically_normal();
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

} // namespace corvane
