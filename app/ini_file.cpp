// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_file.h"

#include "store/number_text.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\n";
constexpr int kTempNameAttempts = 16;

// The lines of a settings file, without their line ends, and whether it began with a
// byte-order mark (kept so that a rewrite does not change the file's encoding marker).
struct IniText {
    std::vector<std::string> lines;
    bool byteOrderMark = false;
};

enum class ReadResult { Ok, Missing, Error };

constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Closes a POSIX file descriptor on every way out.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (it can fail on a full disk).
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// The whole content of a regular file. A folder or any read error is an Error.
ReadResult ReadFile(const std::string& path, std::string& content) {
    // O_NONBLOCK: a FIFO in place of the file must fail below, not wait for a writer; it
    // changes nothing for a regular file.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Error;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return ReadResult::Error;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return ReadResult::Error;
        }
        if (got == 0) {
            return ReadResult::Ok;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

// Splits at CR, CRLF or LF.
IniText SplitLines(std::string_view content) {
    IniText text;
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.byteOrderMark = true;
        content.remove_prefix(kByteOrderMark.size());
    }
    while (!content.empty()) {
        const std::size_t end = content.find_first_of("\r\n");
        text.lines.emplace_back(content.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        const bool crlf = content[end] == '\r' && content.substr(end + 1, 1) == "\n";
        content.remove_prefix(end + (crlf ? 2 : 1));
    }
    return text;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimControls(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return TrimControls(line.substr(1, line.size() - 2));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// The key and value of a "key=value" line; nothing for a line without '='.
std::optional<KeyLine> SplitKeyLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{TrimControls(line.substr(0, equals)), TrimControls(line.substr(equals + 1))};
}

// Where a key is or would go: the index of its line, or, when absent, the index after the
// last non-blank line of the first matching section.
struct KeyPlace {
    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> sectionEnd;
};

// Walks every occurrence of the section; the first matching key line wins.
KeyPlace FindKey(const IniText& text, std::string_view section, std::string_view key) {
    KeyPlace place;
    bool inSection = false; // inside any occurrence of the section
    bool inFirst = false;   // inside its first occurrence, the one that grows on a write
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        const std::string_view line = text.lines[i];
        if (const auto name = SectionName(line)) {
            inSection = EqualNoCase(*name, section);
            inFirst = inSection && !place.sectionEnd;
            if (inFirst) {
                place.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        const auto keyLine = SplitKeyLine(line);
        if (keyLine && EqualNoCase(keyLine->key, key)) {
            place.keyLine = i;
            return place;
        }
        if (inFirst && !IsBlank(line)) {
            place.sectionEnd = i + 1;
        }
    }
    return place;
}

// Puts "key=value" in place of the key's line, at the end of its section, or in a new
// section at the end of the file.
void SetKey(IniText& text, std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    const KeyPlace place = FindKey(text, section, key);
    if (place.keyLine) {
        text.lines[*place.keyLine] = std::move(line);
    } else if (place.sectionEnd) {
        const auto at = static_cast<std::ptrdiff_t>(*place.sectionEnd);
        text.lines.insert(text.lines.begin() + at, std::move(line));
    } else {
        text.lines.push_back("[" + std::string(section) + "]");
        text.lines.push_back(std::move(line));
    }
}

std::string JoinLines(const IniText& text) {
    std::string content(text.byteOrderMark ? kByteOrderMark : std::string_view{});
    for (const std::string& line : text.lines) {
        content += line;
        content += kLineEnd;
    }
    return content;
}

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

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::string content;
    if (ReadFile(path_, content) != ReadResult::Ok) {
        return std::string(fallback);
    }
    const IniText text = SplitLines(content);
    const KeyPlace place = FindKey(text, section, key);
    if (!place.keyLine) {
        return std::string(fallback);
    }
    return std::string(SplitKeyLine(text.lines[*place.keyLine])->value);
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
    std::string content;
    // An existing file that cannot be read must not be replaced by one without its lines.
    if (ReadFile(path_, content) == ReadResult::Error) {
        return false;
    }
    // The replace goes through a new file and a rename, which a read-only file would not stop:
    // honour the user's protection as a write into the file itself would. access() asks for
    // the real user, who started the program; root may write anything, as always.
    if (::access(path_.c_str(), W_OK) != 0 && errno != ENOENT) {
        return false;
    }
    IniText text = SplitLines(content);
    for (const IniEntry& entry : entries) {
        // A line break inside the value would split it into lines of its own.
        std::string oneLine(entry.value);
        for (char& c : oneLine) {
            if (c == '\r' || c == '\n') {
                c = ' ';
            }
        }
        SetKey(text, entry.section, entry.key, oneLine);
    }
    return ReplaceFile(path_, JoinLines(text));
}

} // namespace corvane
