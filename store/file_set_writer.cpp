// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_set_writer.h"

#include "file_text.h"

#include <cerrno>
#include <random>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr int kTempNameAttempts = 16;

WriteFailure Failure(std::string path, int error) {
    return {std::move(path), std::generic_category().message(error)};
}

// `.NAME.TAG` beside the file at `path`.
std::string TempPathStem(const std::string& path, std::string_view tag) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameAt) + "." + path.substr(nameAt) + "." + std::string(tag);
}

// Opens a new temporary for `path`; its mode follows the umask like any new file's would.
int CreateTemporary(const std::string& path, Temporaries temporaries, std::string& tempPath) {
    const std::string stem = TempPathStem(path, temporaries.tag);
    if (temporaries.names == TempNames::Fixed) {
        tempPath = stem;
        return ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    }
    std::random_device random;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(random());
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t put = ::write(fd, text.data(), text.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return put < 0 ? errno : EIO; // nothing written where something was asked for
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

// Writes `file` to a new temporary, whose path goes to `tempPath` once it exists.
std::optional<WriteFailure> WriteTemporary(const FileToWrite& file, Temporaries temporaries,
                                           std::string& tempPath) {
    std::string attempted;
    FileHandle temp(CreateTemporary(file.path, temporaries, attempted));
    if (temp.Get() < 0) {
        return Failure(attempted, errno);
    }
    tempPath = attempted;
    if (file.mode) {
        // Where the file system keeps no permissions the file is still written.
        (void)::fchmod(temp.Get(), static_cast<mode_t>(*file.mode & 07777));
    }
    int error = WriteAll(temp.Get(), file.text);
    // The data must be on disk before a rename makes it the file others read.
    if (error == 0 && ::fsync(temp.Get()) != 0) {
        error = errno;
    }
    if (!temp.Close() && error == 0) {
        error = errno;
    }
    return error == 0 ? std::nullopt : std::optional(Failure(file.path, error));
}

void RemoveAll(std::span<const std::string> paths) {
    for (const std::string& path : paths) {
        ::unlink(path.c_str());
    }
}

} // namespace

std::optional<WriteFailure> WriteFileSet(std::span<const FileToWrite> files,
                                         Temporaries temporaries,
                                         const BeforeRenames& beforeRenames) {
    // A folder in the place of a file would fail its rename after others were made.
    for (const FileToWrite& file : files) {
        struct stat status {};
        if (::lstat(file.path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            return WriteFailure{file.path, "it is a folder"};
        }
    }
    std::vector<std::string> written;
    for (const FileToWrite& file : files) {
        std::string tempPath;
        if (auto failure = WriteTemporary(file, temporaries, tempPath)) {
            if (!tempPath.empty()) {
                written.push_back(tempPath);
            }
            RemoveAll(written);
            return failure;
        }
        written.push_back(tempPath);
    }
    if (beforeRenames) {
        if (auto failure = beforeRenames()) {
            RemoveAll(written);
            return failure;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (::rename(written[i].c_str(), files[i].path.c_str()) != 0) {
            WriteFailure failure = Failure(files[i].path, errno);
            failure.renamed = i;
            RemoveAll(std::span(written).subspan(i));
            return failure;
        }
    }
    return std::nullopt;
}

} // namespace corvane
