// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a settings file. Reading must give values inside the
// controls' ranges; writes must succeed, read back as written, and leave every other key
// as it was.
#include "app/ini_file.h"
#include "app/settings.h"
#include "store/number_text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// One scratch file per fuzzing process, on a memory file system where there is one (every
// write ends with an fsync), removed when the process ends normally.
class ScratchFile {
public:
    ScratchFile() {
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path folder =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        path_ = (folder / ("corvane-fuzz-" + std::to_string(::getpid()) + ".ini")).string();
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

struct Key {
    std::string_view section;
    std::string_view key;
};

// Every key but the two the target writes.
constexpr std::array<Key, 8> kOtherKeys{{{"Values", "DD"},
                                         {"Values", "Percent"},
                                         {"Values", "TwoCol"},
                                         {"Values", "Nine"},
                                         {"Values", "SortCount"},
                                         {"Sort", "M3M"},
                                         {"Sort", "W3M"},
                                         {"Sort", "M10M"}}};

void CheckRanges(const corvane::Settings& settings) {
    Check(settings.count >= 0 && settings.count <= 9999);
    Check(settings.dd >= 0 && settings.dd <= 9.9);
    Check(settings.percent >= 0 && settings.percent <= 100);
    Check(settings.twoCol >= 0 && settings.twoCol <= 100);
    Check(settings.nine >= 0 && settings.nine <= 100);
    Check(settings.sortCount >= 0 && settings.sortCount <= 9999);
    for (int col : settings.sortCol)
        Check(col >= 0 && col <= 16);
}

// What a read gives back for a written value: one line, blanks and controls trimmed.
std::string AsReadBack(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return std::string(corvane::TrimControls(line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream file(scratch.Path(), std::ios::binary | std::ios::trunc);
        file.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    corvane::IniFile ini(scratch.Path());
    CheckRanges(corvane::ReadSettings(ini));

    std::array<std::string, kOtherKeys.size()> before;
    for (std::size_t i = 0; i < kOtherKeys.size(); ++i)
        before[i] = ini.ReadString(kOtherKeys[i].section, kOtherKeys[i].key, "<absent>");

    // The first bytes of the input double as a value, so odd values get written too.
    const std::string_view value = content.substr(0, 12);
    Check(ini.WriteString("Sort", "W10M", "7"));
    Check(ini.WriteString("Values", "Count", value));
    Check(ini.ReadInteger("sort", "w10m", -1) == 7);
    Check(ini.ReadString("VALUES", "count", "<absent>") == AsReadBack(value));
    for (std::size_t i = 0; i < kOtherKeys.size(); ++i)
        Check(ini.ReadString(kOtherKeys[i].section, kOtherKeys[i].key, "<absent>") == before[i]);
    CheckRanges(corvane::ReadSettings(ini));
    return 0;
}
