// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

// The folder of a user's own results that --user-folder opens: $XDG_DATA_HOME/NAME, or
// $HOME/.local/share/NAME when XDG_DATA_HOME is unset, empty or relative (the XDG base
// directory rules ignore a relative one). Empty when neither gives an absolute path.
// The arguments are the two variables' values, null when unset.
std::filesystem::path UserFolderPath(const char* xdgDataHome, const char* home);

// The sample results installed with the program, found from the folder the running program
// lies in, so that any installation prefix works: share/corvane-dive-analyzer/sample-results
// beside its bin folder.
std::filesystem::path InstalledSampleDir(const std::filesystem::path& programDir);

// Makes `folder` ready to be the data folder. When it holds none of the four result files
// (the first start), it is created as needed and given copies of those in `sampleDir`;
// anything already there is left as it is. Returns a message for the user that names the
// folder when it cannot be made ready, nothing when it is.
std::optional<std::string> PrepareUserFolder(const std::filesystem::path& folder,
                                             const std::filesystem::path& sampleDir);

// All of --user-folder: the folder from this process's XDG_DATA_HOME and HOME, the samples
// from where this program is installed, and PrepareUserFolder. Sets `folder`; returns the
// message for the user when the folder cannot be used.
std::optional<std::string> ChooseUserFolder(std::filesystem::path& folder);

} // namespace corvane
