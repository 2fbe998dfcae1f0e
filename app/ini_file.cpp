// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_file.h"

#include "store/file_text.h"
#include "store/ini_text.h"
#include "store/number_text.h"

#include <cerrno>
#include <random>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr int kTempNameAttempts = 16;

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t put = ::write(fd, content.data(), content.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// Creates a new file next to `path` that no one else uses; its mode follows the umask
// like any new file would.
int CreateTempFile(const std::string& path, std::string& tempPath) {
    std::random_device random;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(random());
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Writes `content` to a temporary file and renames it over `path`, so that a reader sees
// either the old file or the new one, never a half-written one.
bool ReplaceFile(const std::string& path, std::string_view content) {
    std::string tempPath;
    FileHandle temp(CreateTempFile(path, tempPath));
    if (temp.Get() < 0) {
        return false;
    }
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        (void)::fchmod(temp.Get(), old.st_mode & 07777); // keep the permissions the user gave it
    }
    const bool written = WriteAll(temp.Get(), content) && ::fsync(temp.Get()) == 0;
    const bool closed = temp.Close();
    if (!written || !closed || ::rename(tempPath.c_str(), path.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return false;
    }
    return true;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadText() const {
    std::string content;
    if (ReadWholeFile(path_, content).kind != LoadOutcome::Kind::Loaded) {
        return {};
    }
    return content;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    return IniValue(ReadText(), section, key).value_or(std::string(fallback));
}

long long IniFile::ReadInteger(std::string_view section, std::string_view key,
                               long long fallback) const {
    const std::string value = ReadString(section, key, {});
    return ParseInteger(value).value_or(fallback);
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const IniEntry entry{section, key, value};
    return WriteStrings(std::span(&entry, 1));
}

bool IniFile::WriteStrings(std::span<const IniEntry> entries) {
    return Rewrite([entries](std::string_view text) { return IniWithEntries(text, entries); });
}

bool IniFile::Rewrite(const std::function<std::string(std::string_view)>& edit) {
    std::string content;
    // An existing file that cannot be read must not be replaced by one without its lines.
    if (ReadWholeFile(path_, content).kind == LoadOutcome::Kind::Failed) {
        return false;
    }
    // The replace goes through a new file and a rename, which a read-only file would not stop:
    // honour the user's protection as a write into the file itself would. access() asks for
    // the real user, who started the program; root may write anything, as always.
    if (::access(path_.c_str(), W_OK) != 0 && errno != ENOENT) {
        return false;
    }
    return ReplaceFile(path_, edit(content));
}

} // namespace corvane
