// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the result files: the whole of start-up's file work, which should stay well
// under the time a user would notice (a few milliseconds for the four sample files).

#include "store/result_loader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

bool SampleFilesPresent(std::string& missing) {
    for (const EventInfo& event : kEvents) {
        const std::string path = JoinPath(CORVANE_SAMPLE_DIR, event.id);
        if (!std::filesystem::is_regular_file(path)) {
            missing = "sample file not found: " + path;
            return false;
        }
    }
    return true;
}

std::int64_t SampleBytes() {
    std::int64_t bytes = 0;
    for (const EventInfo& event : kEvents) {
        bytes += static_cast<std::int64_t>(
            std::filesystem::file_size(JoinPath(CORVANE_SAMPLE_DIR, event.id)));
    }
    return bytes;
}

void BM_LoadResultFiles(benchmark::State& state) {
    std::string missing;
    if (!SampleFilesPresent(missing)) {
        state.SkipWithError(missing.c_str());
        return;
    }
    // The store is about a megabyte: too big for the stack.
    auto store = std::make_unique<RecordStore>();
    for (auto _ : state) {
        const LoadOutcome outcome = LoadResultFiles(CORVANE_SAMPLE_DIR, *store);
        if (outcome.kind != LoadOutcome::Kind::Loaded) {
            state.SkipWithError((outcome.path + ": " + outcome.message).c_str());
            break;
        }
        benchmark::DoNotOptimize(store->W10MDives.back());
    }
    state.SetBytesProcessed(state.iterations() * SampleBytes());
}
BENCHMARK(BM_LoadResultFiles)->Unit(benchmark::kMillisecond);

// The four sample files' bytes, read once.
std::string SampleText() {
    std::string text;
    for (const EventInfo& event : kEvents) {
        std::ifstream in(JoinPath(CORVANE_SAMPLE_DIR, event.id), std::ios::binary);
        text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return text;
}

// The floor for any loader: one pass that finds every line end and every tab of the sample
// bytes and does nothing else. The loader's times are read as multiples of this one.
void BM_ScanLinesAndTabs(benchmark::State& state) {
    const std::string text = SampleText();
    for (auto _ : state) {
        std::size_t lines = 0;
        std::size_t tabs = 0;
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p != end) {
            const auto* lineEnd = static_cast<const char*>(std::memchr(p, '\r', end - p));
            const char* stop = lineEnd ? lineEnd : end;
            while (const auto* tab = static_cast<const char*>(std::memchr(p, '\t', stop - p))) {
                ++tabs;
                p = tab + 1;
            }
            ++lines;
            p = lineEnd ? lineEnd + 1 : end;
        }
        benchmark::DoNotOptimize(lines);
        benchmark::DoNotOptimize(tabs);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ScanLinesAndTabs)->Unit(benchmark::kMicrosecond);

// The loader on the same bytes in memory: BM_LoadResultFiles without the file reading.
// Loads `text` from memory into `slots` once per iteration; a load that fails ends the
// benchmark with its message instead of timing the error path.
void LoadEachIteration(benchmark::State& state, std::string_view text,
                       std::vector<DiveRecord>& slots) {
    for (auto _ : state) {
        const LoadOutcome outcome = LoadResultText(text, slots, "memory");
        if (outcome.kind != LoadOutcome::Kind::Loaded) {
            state.SkipWithError(outcome.message.c_str());
            break;
        }
        benchmark::DoNotOptimize(slots.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_LoadSampleText(benchmark::State& state) {
    const std::string text = SampleText();
    std::vector<DiveRecord> slots(text.size() / 8);
    LoadEachIteration(state, text, slots);
}
BENCHMARK(BM_LoadSampleText)->Unit(benchmark::kMicrosecond);

// Lines shaped like real ones: runs of the same dive code, CRLF line ends, a fifth field.
std::string SyntheticResultText(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text += "D" + std::to_string(100000 + i % 700) + "\t" + std::to_string(101 + i / 40) +
                "B\t" + std::to_string(1 + i % 3) + ".2\t" + std::to_string(30 + i % 50) +
                ".50\tRound " + std::to_string(i % 6) + "\r\n";
    }
    return text;
}

void BM_LoadResultText(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string text = SyntheticResultText(lines);
    std::vector<DiveRecord> slots(static_cast<std::size_t>(lines));
    LoadEachIteration(state, text, slots);
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_LoadResultText)->Arg(kEvents[0].capacity)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace corvane
