// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a results spreadsheet of 30,000 rows: a season of competitions, which should
// take well under the blink of an eye (target: 50 ms in a Release build).

#include "import/data_folder.h"
#include "import/dive_import.h"
#include "import/folder_files.h"
#include "import/source_input.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace corvane {
namespace {

constexpr int kRows = 30000;

// 600 divers of 40 nations, a third of them with accented names, half written
// "SURNAME, Given" (quoted) and half "SURNAME Given"; rows event by event.
std::string Spreadsheet() {
    constexpr std::array<const char*, 4> kEvents{"Men's 3m Springboard", "Women's 3m Springboard",
                                                 "Men's 10m Platform", "Women's 10m Platform"};
    constexpr std::array<const char*, 8> kCodes{"105B", "107B", "205B",  "207C",
                                                "305B", "407C", "5154B", "5337D"};
    constexpr std::array<const char*, 4> kAccented{"M\xC3\x9CLLER", "\xC3\x85STR\xC3\x96M",
                                                   "N\xC3\x9A\xC3\x91"
                                                   "EZ",
                                                   "DVO\xC5\x98\xC3\x81K"};
    std::mt19937 random(7);
    std::ostringstream csv;
    csv << "Event,Diver,Nation,Round,Dive,DD,Points\r\n";
    for (int row = 0; row < kRows; ++row) {
        const int diver = static_cast<int>(random() % 600);
        const std::string surname =
            (diver % 3 == 0 ? std::string(kAccented[diver % 4]) : "SURNAME") +
            std::to_string(diver);
        const std::string name = diver % 2 == 0 ? "\"" + surname + ", Given\"" : surname + " Given";
        const int award = 10 + static_cast<int>(random() % 9);
        // 9,000 M3M rows, 7,000 W3M, 8,000 M10M and 6,000 W10M: within every capacity.
        const int event = row < 9000 ? 0 : row < 16000 ? 1 : row < 24000 ? 2 : 3;
        csv << kEvents[event] << ',' << name << ",N" << static_cast<char>('A' + diver % 26)
            << static_cast<char>('A' + diver % 40 / 26) << ",Final," << kCodes[random() % 8]
            << ",3.0," << award * 9 / 2 << ".50\r\n";
    }
    return csv.str();
}

// Reading and checking the rows, building the folder and making the five files' texts, in
// memory.
void BM_ImportRows(benchmark::State& state) {
    const std::string csv = Spreadsheet();
    for (auto _ : state) {
        const InputOutcome input = ReadInput(csv, "bench", {});
        if (!input.read) {
            state.SkipWithError(input.message.c_str());
            break;
        }
        DataFolder folder;
        folder.Add({"bench", "", "", ""}, input.read->reading);
        std::size_t bytes = RosterFileText(folder).size();
        for (int event = 1; event <= kEventCount; ++event)
            bytes += ResultFileText(folder, event).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ImportRows)->Unit(benchmark::kMillisecond);

// The whole program: the file read, the import and the five files written and renamed.
void BM_DiveImportProgram(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "corvane-bench-import";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string input = (folder / "results.csv").string();
    std::ofstream(input, std::ios::binary) << Spreadsheet();
    const std::vector<std::string> args{"--force", "--out", (folder / "out").string(), input};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunDiveImport(args, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DiveImportProgram)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvane
