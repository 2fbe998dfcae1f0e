// SPDX-License-Identifier: GPL-3.0-or-later
#include "result_loader.h"

#include "number_text.h"

#include <array>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr char kEndOfFile = 26; // Ctrl+Z
constexpr int kFieldCount = 4;

// Hands out the lines of a text one by one. CR, CRLF and a lone LF each end a line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& line) {
        if (rest_.empty()) {
            return false;
        }
        const std::size_t end = FindLineEnd(rest_);
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, end);
        const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + (crlf ? 2 : 1));
        return true;
    }

private:
    // A plain loop: find_first_of tests every byte against the set one member at a time.
    static std::size_t FindLineEnd(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                return i;
            }
        }
        return std::string_view::npos;
    }

    std::string_view rest_;
};

// The first four tab-separated fields of a record line. Each field is the text before the
// first tab of what is left (all of it when no tab is left), and that text plus its tab
// are then taken away, so a line with too few tabs leaves the later fields empty.
std::array<std::string_view, kFieldCount> SplitFields(std::string_view line) {
    std::array<std::string_view, kFieldCount> fields{};
    for (auto& field : fields) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            field = {};
            continue;
        }
        field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    return fields;
}

LoadOutcome Failure(const std::string& path, std::string message) {
    return {LoadOutcome::Kind::Failed, path, std::move(message)};
}

// Text read from a file goes into a message whole when short, else as its first and last
// bytes around "...": a line can hold a field of megabytes, which no message box can show.
// The cuts fall between UTF-8 characters, so a message in UTF-8 stays readable.
std::string QuotedFileText(std::string_view text) {
    constexpr std::size_t kLongest = 100;
    constexpr std::size_t kHead = 60;
    constexpr std::size_t kTail = 30;
    if (text.size() <= kLongest) {
        return std::string(text);
    }
    const auto continuation = [text](std::size_t at) {
        return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    // A UTF-8 character has at most three continuation bytes; text in another 8-bit
    // encoding may have any number of such bytes in a row.
    std::size_t head = kHead;
    for (int step = 0; step < 3 && continuation(head); ++step) {
        --head;
    }
    std::size_t tail = text.size() - kTail;
    for (int step = 0; step < 3 && continuation(tail); ++step) {
        ++tail;
    }
    return std::string(text.substr(0, head)) + "..." + std::string(text.substr(tail));
}

LoadOutcome NotANumber(const std::string& path, std::string_view field) {
    return Failure(path, "'" + QuotedFileText(field) + "' is not a valid floating point value");
}

// Converts one record line into `slot`; the slot is only written once the whole line
// converted, so a failing line leaves its slot empty.
LoadOutcome ParseRecord(std::string_view line, TDiveRecord& slot, const std::string& path) {
    const auto fields = SplitFields(line);
    const auto dd = ParseNumber(fields[2]);
    if (!dd) {
        return NotANumber(path, fields[2]);
    }
    const auto points = ParseNumber(fields[3]);
    if (!points) {
        return NotANumber(path, fields[3]);
    }
    slot.DiverId.assign(fields[0]);
    slot.DiveCode.assign(fields[1]);
    slot.DD = *dd;
    slot.Points = *points;
    return {};
}

// The records read before a failure stay in their slots, so they count as filled too.
LoadOutcome Filled(LoadOutcome outcome, std::size_t used) {
    outcome.filled = used;
    return outcome;
}

std::string SystemMessage(const std::string& path, int error) {
    return "Cannot read " + path + ": " + std::generic_category().message(error);
}

// Closes a POSIX file descriptor on every way out.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

// Reads all of an open regular file; returns 0 or the errno of the failing read.
int ReadAll(int fd, std::size_t sizeHint, std::string& text) {
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

} // namespace

LoadOutcome ReadWholeFile(const std::string& path, std::string& text) {
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

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path.append(name);
    return path;
}

LoadOutcome LoadResultText(std::string_view text, std::span<TDiveRecord> slots,
                           const std::string& path) {
    text = text.substr(0, text.find(kEndOfFile));
    LineReader lines(text);
    std::size_t used = 0;
    std::string_view line;
    while (lines.Next(line)) {
        if (IsBlank(line)) {
            continue;
        }
        if (used == slots.size()) {
            return Filled(Failure(path, "Too many dives in " + path + ": at most " +
                                            std::to_string(slots.size())),
                          used);
        }
        if (LoadOutcome outcome = ParseRecord(line, slots[used], path);
            outcome.kind != LoadOutcome::Kind::Loaded) {
            return Filled(std::move(outcome), used);
        }
        ++used;
    }
    return Filled({}, used);
}

LoadOutcome LoadResultFile(const std::string& path, std::span<TDiveRecord> slots) {
    std::string text;
    if (LoadOutcome outcome = ReadWholeFile(path, text);
        outcome.kind != LoadOutcome::Kind::Loaded) {
        return outcome;
    }
    return LoadResultText(text, slots, path);
}

LoadOutcome LoadResultFiles(const std::string& dataDir, RecordStore& store) {
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        const std::string path = JoinPath(dataDir, EventByIndex(eventIndex).id);
        LoadOutcome outcome = LoadResultFile(path, store.Dives(eventIndex));
        store.filled.at(static_cast<std::size_t>(eventIndex - 1)) = outcome.filled;
        if (outcome.kind != LoadOutcome::Kind::Loaded) {
            return outcome;
        }
    }
    return {};
}

} // namespace corvane
