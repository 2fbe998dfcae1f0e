// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_file.h"

#include "store/file_set_writer.h"
#include "store/file_text.h"
#include "store/ini_text.h"
#include "store/number_text.h"

#include <cerrno>
#include <string>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

// Writes `content` through a temporary and a rename, so that a reader sees either the old file
// or the new one, never a half-written one.
bool ReplaceFile(const std::string& path, std::string_view content) {
    FileToWrite file{path, content, std::nullopt};
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        file.mode = old.st_mode & 07777; // keep the permissions the user gave it
    }
    return !WriteFileSet(std::span(&file, 1), {"tmp"});
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
