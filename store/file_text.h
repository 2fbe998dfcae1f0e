// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace corvane {

// What reading a file (or a set of them) came to. The core shows nothing; its caller
// reports it.
struct LoadOutcome {
    enum class Kind {
        Loaded,      // every file read
        MissingFile, // no file at `path`; later files were not read
        Failed,      // `message` says why; records read so far stay
    };
    Kind kind = Kind::Loaded;
    std::string path;
    std::string message;
    std::size_t filled = 0; // slots filled by the last file read (also when it failed)
};

// Joins a folder and a file name with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view name);

// Reads the whole file at `path` into `text`. A missing file, or one that is not a readable
// regular file (a FIFO fails at once rather than wait for a writer), is reported.
LoadOutcome ReadWholeFile(const std::string& path, std::string& text);

// A file's bytes in a buffer that grows without zero-filling what a read then overwrites, and
// that keeps its memory for the next file (the four result files are read into one).
class FileBytes {
public:
    std::string_view view() const { return {data_.get(), size_}; }
    char* data() { return data_.get(); }
    std::size_t size() const { return size_; }
    // The bytes up to the old size stay; those beyond it hold nothing defined until written.
    void resize(std::size_t size);

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// ReadWholeFile into `bytes`, with the same outcomes.
LoadOutcome ReadWholeFile(const std::string& path, FileBytes& bytes);

// Closes a POSIX file descriptor on every way out.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (it can fail on a full disk).
    bool Close();

private:
    int fd_;
};

} // namespace corvane
