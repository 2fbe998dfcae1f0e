// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_text.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

FileHandle::~FileHandle() {
    Close();
}

bool FileHandle::Close() {
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || ::close(fd) == 0;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path.append(name);
    return path;
}

namespace {

LoadOutcome Failure(const std::string& path, std::string message) {
    return {LoadOutcome::Kind::Failed, path, std::move(message)};
}

std::string SystemMessage(const std::string& path, int error) {
    return "Cannot read " + path + ": " + std::generic_category().message(error);
}

// Reads all of an open regular file into `text` (a std::string or FileBytes); returns 0 or
// the errno of the failing read.
template <class Buffer> int ReadAll(int fd, std::size_t sizeHint, Buffer& text) {
    // Emptied first: a reused buffer need not keep its old bytes while it grows.
    text.resize(0);
    text.resize(sizeHint + 1); // one spare byte tells a grown file at the first read
    std::size_t used = 0;
    for (;;) {
        if (used == text.size()) {
            text.resize(text.size() * 2);
        }
        const ssize_t got = ::read(fd, text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return errno;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    text.resize(used);
    return 0;
}

template <class Buffer> LoadOutcome ReadWholeFileInto(const std::string& path, Buffer& text) {
    // O_NONBLOCK: a FIFO in place of the file must fail below, not wait for a writer; it
    // changes nothing for a regular file.
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return {LoadOutcome::Kind::MissingFile, path, {}};
        }
        return Failure(path, SystemMessage(path, error));
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        return Failure(path, SystemMessage(path, errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure(path, SystemMessage(path, EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure(path, "Cannot read " + path + ": not a regular file");
    }
    if (const int error = ReadAll(file.Get(), static_cast<std::size_t>(info.st_size), text)) {
        return Failure(path, SystemMessage(path, error));
    }
    return {};
}

} // namespace

void FileBytes::resize(std::size_t size) {
    if (size > capacity_) {
        auto grown = std::make_unique_for_overwrite<char[]>(size);
        if (size_ != 0) {
            std::memcpy(grown.get(), data_.get(), size_);
        }
        data_ = std::move(grown);
        capacity_ = size;
    }
    size_ = size;
}

LoadOutcome ReadWholeFile(const std::string& path, std::string& text) {
    return ReadWholeFileInto(path, text);
}

LoadOutcome ReadWholeFile(const std::string& path, FileBytes& bytes) {
    return ReadWholeFileInto(path, bytes);
}

} // namespace corvane
