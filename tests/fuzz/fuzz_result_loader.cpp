// libFuzzer target: any bytes as a result file. The loader must neither crash nor write
// past its slots, and what it stores must keep to the record's capacities.
#include "store/result_loader.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::size_t kSlots = 64;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One guard record after the slots shows any write past the last one.
    std::array<corvane::TDiveRecord, kSlots + 1> records{};
    const std::span<corvane::TDiveRecord> slots(records.data(), kSlots);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const corvane::LoadOutcome outcome = corvane::LoadResultText(text, slots, "fuzz");
    Check(outcome.kind != corvane::LoadOutcome::Kind::MissingFile);
    Check(outcome.kind == corvane::LoadOutcome::Kind::Loaded || !outcome.message.empty());
    const corvane::TDiveRecord& guard = records[kSlots];
    Check(guard.DiverId.empty() && guard.DiveCode.empty() && guard.DD == 0 && guard.Points == 0);
    for (const corvane::TDiveRecord& record : slots)
        Check(record.DiverId.size() <= 10 && record.DiveCode.size() <= 5);
    return 0;
}
