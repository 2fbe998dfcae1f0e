// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scratch folders and file helpers shared by the tests that read and write real files.

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace corvane::testing {

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// A fresh folder under the system's temporary folder, removed with everything in it. An
// unprivileged user may enter it, so a child that drops its rights can still work in it.
class TempDir {
public:
    TempDir() {
        namespace fs = std::filesystem;
        std::random_device random;
        path_ = fs::temp_directory_path() /
                ("corvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        fs::create_directories(path_);
        fs::permissions(path_, fs::perms::owner_all | fs::perms::group_exec |
                                   fs::perms::group_read | fs::perms::others_exec |
                                   fs::perms::others_read);
    }
    // Tests take rights away from the folder and what is in it: give them back to remove it.
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(std::string_view name) const { return (path_ / name).string(); }
    void Write(std::string_view name, std::string_view content) const {
        WriteBytes(path_ / name, content);
    }
    std::string Read(std::string_view name) const { return ReadBytes(path_ / name); }
    std::size_t EntryCount() const {
        namespace fs = std::filesystem;
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(path_), fs::directory_iterator{}));
    }

private:
    std::filesystem::path path_;
};

// Runs `access` on a thread of its own. An access that blocks opening the FIFO `fifo` (waiting
// for a writer) fails the test and is then let go by opening the other end.
template <typename Access> auto WithoutWaitingForAWriter(const std::string& fifo, Access access) {
    auto result = std::async(std::launch::async, access);
    if (result.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
        return result.get();
    }
    ADD_FAILURE() << "opening " << fifo << " waited for a writer";
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    auto value = result.get();
    if (writer >= 0) {
        ::close(writer);
    }
    return value;
}

} // namespace corvane::testing
