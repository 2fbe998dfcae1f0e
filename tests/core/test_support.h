// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scratch folders and file helpers shared by the tests that read and write real files.

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
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

// Runs `body` in a child process and returns what it returned (nothing when the child did not
// end normally), so that a test can change what must not reach the rest of the suite: the
// user id, a file size limit, a mount.
inline std::optional<std::string> InChild(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const std::string result = body();
        const bool sent =
            ::write(fds[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    ::close(fds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}

inline constexpr uid_t kNobody = 65534;

// As root, permissions stop nothing: become the unprivileged user "nobody" (in a child). The
// `owned` files and folders are handed to that user first, so that it meets them as their
// owner, the way a user meets their own data folder. An ordinary user stays as it is.
inline bool DropRootPrivileges(std::initializer_list<std::filesystem::path> owned = {}) {
    if (::geteuid() != 0)
        return true;
    for (const std::filesystem::path& path : owned) {
        if (::chown(path.c_str(), kNobody, kNobody) != 0)
            return false;
    }
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// `body` run by an unprivileged user that owns `owned`, in a child; so a permission test
// means the same whether the suite runs as root or not.
inline std::optional<std::string> AsOrdinaryUser(std::initializer_list<std::filesystem::path> owned,
                                                 const std::function<std::string()>& body) {
    return InChild([owned, &body] {
        return DropRootPrivileges(owned) ? body() : std::string("cannot drop privileges");
    });
}

} // namespace corvane::testing
