// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a result file. The loader must neither crash nor write
// past its slots, what it stores must keep to the record's capacities, and the number of
// records it takes must match a plain count of the non-blank lines.
#include "store/number_text.h"
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

// The non-blank lines before the first Ctrl+Z, counted the simplest way: CR, LF and CRLF
// each end a line.
std::size_t NonBlankLines(std::string_view text) {
    text = text.substr(0, text.find('\x1a'));
    std::size_t count = 0;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        count += corvane::IsBlank(text.substr(0, end)) ? 0 : 1;
        if (end == std::string_view::npos)
            break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return count;
}

bool IsEmptyRecord(const corvane::TDiveRecord& record) {
    return record.DiverId.empty() && record.DiveCode.empty() && record.DD == 0 &&
           record.Points == 0;
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
    Check(IsEmptyRecord(records[kSlots]));
    for (const corvane::TDiveRecord& record : slots) {
        Check(record.DiverId.size() <= 10 && record.DiveCode.size() <= 5);
        // Only numbers that read as finite decimals get in.
        Check(record.DD - record.DD == 0 && record.Points - record.Points == 0);
    }

    const std::size_t lines = NonBlankLines(text);
    const bool tooMany = outcome.message.rfind("Too many dives in fuzz", 0) == 0;
    Check(!tooMany || lines > kSlots);
    if (outcome.kind == corvane::LoadOutcome::Kind::Loaded) {
        Check(lines <= kSlots);
        for (std::size_t slot = lines; slot < kSlots; ++slot)
            Check(IsEmptyRecord(slots[slot]));
    }
    return 0;
}
