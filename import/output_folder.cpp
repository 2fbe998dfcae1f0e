// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_folder.h"

#include "store/file_set_writer.h"
#include "store/file_text.h"

#include <filesystem>
#include <system_error>

namespace corvane {

std::vector<std::string> ExistingFiles(const std::string& folder,
                                       const std::vector<std::string>& names) {
    std::vector<std::string> existing;
    for (const std::string& name : names) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(JoinPath(folder, name), error)))
            existing.push_back(name);
    }
    return existing;
}

std::optional<std::string> WriteOutputFiles(const std::string& folder, const OutputFiles& files) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return "cannot make the folder " + folder + ": " + error.message();
    std::vector<FileToWrite> set;
    for (const auto& [name, text] : files)
        set.push_back({JoinPath(folder, name), text, std::nullopt});
    if (auto failure = WriteFileSet(set, {"dive-import"}))
        return "cannot write " + failure->path + ": " + failure->reason;
    return std::nullopt;
}

} // namespace corvane
