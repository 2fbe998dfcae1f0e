// libFuzzer target: any bytes as a settings file. Reading must give values inside the
// controls' ranges, and a write must keep the file readable with the written value.
#include "app/ini_file.h"
#include "app/settings.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

std::string FuzzFile() {
    static const std::string path = "/tmp/corvane-fuzz-" + std::to_string(getpid()) + ".ini";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzFile();
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    corvane::IniFile ini(path);
    const corvane::Settings settings = corvane::ReadSettings(ini);
    Check(settings.count >= 0 && settings.count <= 9999);
    Check(settings.dd >= 0 && settings.dd <= 9.9);
    Check(settings.percent >= 0 && settings.percent <= 100);
    Check(settings.twoCol >= 0 && settings.twoCol <= 100);
    Check(settings.nine >= 0 && settings.nine <= 100);
    Check(settings.sortCount >= 0 && settings.sortCount <= 9999);
    for (int col : settings.sortCol)
        Check(col >= 0 && col <= 16);

    Check(ini.WriteString("Sort", "W10M", "7"));
    Check(ini.ReadInteger("sort", "w10m", -1) == 7);
    return 0;
}
