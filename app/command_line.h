// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// What the window program's command line asks for. Kept free of the toolkit, so that
// --help and a bad argument are answered before any window or display is touched.
struct StartRequest {
    enum class Action { OpenWindow, PrintHelp, PrintVersion, Refuse };
    Action action = Action::OpenWindow;
    // The data folder as given; empty for the current folder.
    std::string dataFolder;
    // --user-folder: the folder of the user's own results instead (app/user_folder.h).
    bool userFolder = false;
    // Why the arguments were refused (Action::Refuse).
    std::string reason;
};

// `args` are the arguments without the program name. "--" ends the options, so that a
// folder whose name starts with '-' can be given.
StartRequest ParseStartArguments(const std::vector<std::string>& args);

// Why `folder` cannot be a data folder ("the folder 'x' does not exist", "'x' is not a
// folder"), or nothing when it is one.
std::optional<std::string> DataFolderProblem(const std::string& folder);

// The request, refused when the data folder it names does not exist or is not a folder: the
// window would only find no result file in it. A request without a folder is kept as it is.
StartRequest RefuseMissingFolder(StartRequest request);

// Prints what a request other than OpenWindow asks for and returns the exit status
// (0 for help and version, 2 for refused arguments); nothing for OpenWindow.
std::optional<int> AnswerWithoutWindow(const StartRequest& request, std::ostream& out,
                                       std::ostream& err);

// The data folder the window works in: `given` made absolute against the current folder,
// without "." or ".." steps or a trailing separator, so that messages name it in full.
std::string DataFolderPath(const std::string& given);

} // namespace corvane
