// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a result file. The loader must neither crash nor write
// past its slots, what it stores must keep to the record's capacities, and its outcome and
// every slot must match a plain reference reading of the file rules (no fast paths).
#include "store/number_text.h"
#include "store/result_loader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kSlots = 64;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The reference reading: lines cut at CR, CRLF or LF before the first Ctrl+Z, blank lines
// skipped, fields split at tabs one by one, numbers by the written grammar and from_chars.
std::vector<std::string_view> ReferenceLines(std::string_view text) {
    text = text.substr(0, text.find('\x1a'));
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (!corvane::IsBlank(text.substr(0, end)))
            lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

std::string_view ReferenceField(std::string_view& line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return {};
    const std::string_view field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
    return field;
}

bool ReferenceDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    return pos > start;
}

std::optional<double> ReferenceNumber(std::string_view text) {
    while (!text.empty() && text.front() >= 1 && text.front() <= 32)
        text.remove_prefix(1);
    while (!text.empty() && text.back() >= 1 && text.back() <= 32)
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    std::size_t pos = 0;
    bool mantissa = ReferenceDigits(text, pos);
    if (pos < text.size() && text[pos] == '.')
        mantissa = ReferenceDigits(text, ++pos) || mantissa;
    if (mantissa && pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        pos += pos + 1 < text.size() && (text[pos + 1] == '+' || text[pos + 1] == '-') ? 2 : 1;
        mantissa = ReferenceDigits(text, pos);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!mantissa || pos != text.size() || ec != std::errc{} || end != text.data() + pos ||
        !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

bool SameNumber(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Reads `text` by the reference rules and checks the loader's outcome and slots against it.
// The conversion error for `field`; a long field is quoted shortened, so only its head is
// checked then.
void CheckNumberMessage(const std::string& message, std::string_view field) {
    const std::string tail = "' is not a valid floating point value";
    if (field.size() <= 100)
        Check(message == "'" + std::string(field) + tail);
    else
        Check(message.starts_with("'" + std::string(field.substr(0, 57))) &&
              message.ends_with(tail));
}

// Reads `text` by the reference rules and checks the loader's outcome and slots against it.
void CheckAgainstReference(std::string_view text, const corvane::LoadOutcome& outcome,
                           std::span<const corvane::DiveRecord> slots) {
    std::size_t used = 0;
    for (std::string_view line : ReferenceLines(text)) {
        if (used == slots.size()) {
            Check(outcome.message == "Too many dives in fuzz: at most " + std::to_string(used));
            Check(outcome.filled == used);
            return;
        }
        const std::string_view id = ReferenceField(line);
        const std::string_view code = ReferenceField(line);
        const std::string_view fields[2] = {ReferenceField(line), ReferenceField(line)};
        const auto dd = ReferenceNumber(fields[0]);
        const auto points = dd ? ReferenceNumber(fields[1]) : std::nullopt;
        if (!points) {
            Check(outcome.kind == corvane::LoadOutcome::Kind::Failed && outcome.filled == used);
            CheckNumberMessage(outcome.message, dd ? fields[1] : fields[0]);
            return;
        }
        const corvane::DiveRecord& slot = slots[used++];
        Check(slot.DiverId.view() == id.substr(0, 10) && slot.DiveCode.view() == code.substr(0, 5));
        Check(SameNumber(slot.DD, *dd) && SameNumber(slot.Points, *points));
    }
    Check(outcome.kind == corvane::LoadOutcome::Kind::Loaded && outcome.filled == used);
}

bool IsEmptyRecord(const corvane::DiveRecord& record) {
    return record.DiverId.empty() && record.DiveCode.empty() && record.DD == 0 &&
           record.Points == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One guard record after the slots shows any write past the last one.
    std::array<corvane::DiveRecord, kSlots + 1> records{};
    const std::span<corvane::DiveRecord> slots(records.data(), kSlots);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const corvane::LoadOutcome outcome = corvane::LoadResultText(text, slots, "fuzz");
    Check(outcome.kind != corvane::LoadOutcome::Kind::MissingFile);
    Check(outcome.kind == corvane::LoadOutcome::Kind::Loaded || !outcome.message.empty());
    Check(IsEmptyRecord(records[kSlots]));
    for (const corvane::DiveRecord& record : slots) {
        Check(record.DiverId.size() <= 10 && record.DiveCode.size() <= 5);
        // Only numbers that read as finite decimals get in.
        Check(record.DD - record.DD == 0 && record.Points - record.Points == 0);
    }

    CheckAgainstReference(text, outcome, slots);
    for (std::size_t slot = outcome.filled; slot < kSlots; ++slot)
        Check(IsEmptyRecord(slots[slot]));
    return 0;
}
