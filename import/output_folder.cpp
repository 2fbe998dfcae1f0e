// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_folder.h"

#include "store/result_loader.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

std::string Reason(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::generic_category().message(error);
}

// Writes all of `text` to a fresh temporary file in `folder`; its path goes to `tempPath`.
std::optional<std::string> WriteTemporary(const std::string& folder, const std::string& name,
                                          const std::string& text, std::string& tempPath) {
    std::string pattern = JoinPath(folder, "." + name + ".dive-import-XXXXXX");
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return Reason(pattern, errno);
    tempPath = pattern;
    std::size_t written = 0;
    int error = 0;
    while (written < text.size() && error == 0) {
        const ssize_t got = ::write(fd, text.data() + written, text.size() - written);
        if (got >= 0)
            written += static_cast<std::size_t>(got);
        else if (errno != EINTR)
            error = errno;
    }
    // The data must be on disk before a rename makes it the file others read.
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    // mkstemp makes the file private; a result file gets the rights of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (error == 0 && ::fchmod(fd, 0666 & ~mask) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error == 0 ? std::nullopt : std::optional(Reason(JoinPath(folder, name), error));
}

void RemoveAll(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        ::unlink(path.c_str());
}

} // namespace

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
    // A folder in the place of a file would fail its rename after others were made.
    for (const auto& file : files) {
        const std::string target = JoinPath(folder, file.first);
        if (std::filesystem::is_directory(std::filesystem::symlink_status(target, error)))
            return "cannot write " + target + ": it is a folder";
    }
    std::vector<std::string> temporaries;
    for (const auto& [name, text] : files) {
        std::string tempPath;
        if (auto failure = WriteTemporary(folder, name, text, tempPath)) {
            if (!tempPath.empty())
                temporaries.push_back(tempPath);
            RemoveAll(temporaries);
            return failure;
        }
        temporaries.push_back(tempPath);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string target = JoinPath(folder, files[i].first);
        if (::rename(temporaries[i].c_str(), target.c_str()) != 0) {
            const int renameError = errno;
            RemoveAll({temporaries.begin() + static_cast<std::ptrdiff_t>(i), temporaries.end()});
            return Reason(target, renameError);
        }
    }
    return std::nullopt;
}

} // namespace corvane
