// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a result file: the map.
//
// The format. One dive per line: diver id, dive code, DD and points, each followed by a tab;
// what follows the fourth tab is ignored. CR, CRLF and a lone LF each end a line; a line of
// nothing but bytes of code 32 or below is skipped. The first Ctrl+Z (byte 26) ends the text,
// wherever it stands. Ids keep their first 10 bytes, codes their first 5; DD and points follow
// the number rules of ParseNumber, and the first field that does not is the load's error. The
// records read before an error stay in their slots; a record beyond the last slot is an error.
//
// Three roads read a line, tried in this order:
//   1. TakeShortRecord, the 32-byte window (SSE2 builds): a line with at least 32 bytes ahead
//      of it to the end of the text, whose first four control bytes are its tabs, all within
//      those 32 bytes; ids and codes of at most 8 bytes, numbers of at most 7 bytes of digits
//      and one point. It loads the line's start in whole words, and every word lies within
//      the 32 bytes: that is the bound, and a shorter rest of the text goes to road 2.
//   2. TakePlainRecord, the plain line: ids and codes up to their tab, numbers of 1 to 15
//      digits with an optional point and nothing else.
//   3. ParseRecord, the full rules, for every other line (blanks, signs, exponents, short
//      lines, a Ctrl+Z within the line) and for every line once the slots are full.
//
// The rule that keeps the roads honest: a fast road either gives exactly what the full rules
// give for that line (the same id and code bytes, the same doubles, the same next line) or
// declines by returning nullptr without touching the slot, so that the next road starts from a
// clean slot. A Ctrl+Z inside a line makes both fast roads decline, as it also cuts the text.
// tests/core/test_result_loader.cpp and the fuzz target hold the roads to a reading by the
// full rules alone.
#include "result_loader.h"

#include "number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvane {

namespace {

constexpr char kEndOfFile = 26; // Ctrl+Z
constexpr int kFieldCount = 4;

// The start of the next line after a line that ends at `lineEnd`: CR, CRLF and a lone LF
// each end a line.
const char* SkipLineEnd(const char* lineEnd, const char* end) {
    if (lineEnd == end) {
        return end;
    }
    const bool crlf = *lineEnd == '\r' && lineEnd + 1 != end && lineEnd[1] == '\n';
    return lineEnd + (crlf ? 2 : 1);
}

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

constexpr bool kWordScan = std::endian::native == std::endian::little;
constexpr std::uint64_t kOnes = 0x0101010101010101;

// Flags (0x80) the bytes of `word` below 32. In word - 0x20.. a byte below 0x20 is the first
// one to borrow, so the lowest flag is exact; bytes of 0x80 and up are masked out by ~word.
constexpr std::uint64_t ControlBytes(std::uint64_t word) {
    return (word - 0x20 * kOnes) & ~word & (0x80 * kOnes);
}

// The first byte below 32 (a tab, a line end, Ctrl+Z or another control character) in
// [p, end), or `end`; eight bytes at a time.
const char* FindControl(const char* p, const char* end) {
    if constexpr (kWordScan) {
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            if (const std::uint64_t below = ControlBytes(word); below != 0) {
                return p + (std::countr_zero(below) >> 3);
            }
            p += 8;
        }
    }
    while (p != end && static_cast<unsigned char>(*p) >= 32) {
        ++p;
    }
    return p;
}

// Takes a text field up to its tab and returns the byte after the tab; nullptr when the
// field holds another control character or the line or the text ends first.
const char* TakeTextField(const char* p, const char* end, std::string_view& field) {
    const char* stop = FindControl(p, end);
    if (stop == end || *stop != '\t') {
        return nullptr;
    }
    field = std::string_view(p, static_cast<std::size_t>(stop - p));
    return stop + 1;
}

// Where the line that goes on at `p` ends: its CR or LF, or `end`. A Ctrl+Z ends the whole
// text, so it moves `end` back to itself.
const char* FindLineEnd(const char* p, const char*& end) {
    for (;;) {
        p = FindControl(p, end);
        if (p == end || *p == '\r' || *p == '\n') {
            return p;
        }
        if (*p == kEndOfFile) {
            end = p;
            return p;
        }
        ++p;
    }
}

constexpr bool IsDigit(char c) {
    return static_cast<unsigned char>(c) - static_cast<unsigned>('0') < 10;
}

// Appends the digits at `p` to `digits`; returns the byte after them.
const char* TakeDigits(const char* p, const char* end, std::uint64_t& digits) {
    while (p != end && IsDigit(*p)) {
        digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    return p;
}

// Takes a plain decimal (digits with an optional '.' fraction, 1 to kPlainDigits digits in
// all) up to its tab and returns the byte after the tab; nullptr for anything else, which
// the full number rules then judge. The digits and the power of ten are exact doubles, so
// the one division rounds correctly, as the full rules' conversion does.
constexpr int kPlainDigits = 15;
constexpr std::array<double, kPlainDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

const char* TakePlainNumber(const char* p, const char* end, double& value) {
    std::uint64_t digits = 0; // wraps only beyond kPlainDigits, which is refused below
    const char* start = p;
    p = TakeDigits(p, end, digits);
    const long whole = p - start;
    long fraction = 0;
    if (p != end && *p == '.') {
        const char* first = p + 1;
        p = TakeDigits(first, end, digits);
        fraction = p - first;
    }
    const long count = whole + fraction;
    if (p == end || *p != '\t' || count == 0 || count > kPlainDigits) {
        return nullptr;
    }
    value = static_cast<double>(digits) / kPowersOfTen[static_cast<std::size_t>(fraction)];
    return p + 1;
}

// A record line in the shape real files have (id, code, two plain decimals, each followed by
// its tab) goes straight into `slot`; the result is the start of the next line. Anything else
// (a blank or short line, signs, blanks or exponents in a number, a Ctrl+Z) gives nullptr
// and leaves the slot alone: the full rules then read the line.
const char* TakePlainRecord(const char* p, const char* end, DiveRecord& slot) {
    std::string_view id;
    std::string_view code;
    double dd = 0.0;
    double points = 0.0;
    if (!(p = TakeTextField(p, end, id)) || !(p = TakeTextField(p, end, code)) ||
        !(p = TakePlainNumber(p, end, dd)) || !(p = TakePlainNumber(p, end, points))) {
        return nullptr;
    }
    const char* textEnd = end;
    const char* lineEnd = FindLineEnd(p, textEnd);
    if (textEnd != end) {
        return nullptr; // a Ctrl+Z among the ignored fields
    }
    slot.DiverId.assign(id);
    slot.DiveCode.assign(code);
    slot.DD = dd;
    slot.Points = points;
    return SkipLineEnd(lineEnd, end);
}

// The bytes TakeShortRecord reads from the start of a line: every word it takes lies within
// the 32 it classifies.
constexpr long kShortRecordBytes = 32;

#if defined(__SSE2__)
// One bit per byte of the 32 at a line's start for the bytes below 32 (tabs, line ends and
// other control bytes), and for the tabs. All 32 bytes are judged at once, so where a field
// ends does not wait on where the one before it ended, as in a byte or word scan.
struct ByteClasses {
    std::uint32_t controls = 0;
    std::uint32_t tabs = 0;
};

ByteClasses ClassifyHalf(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // An unsigned minimum with 31 leaves exactly the bytes up to 31 unchanged.
    const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(31)), bytes);
    const __m128i tabs = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t'));
    return {static_cast<std::uint32_t>(_mm_movemask_epi8(controls)),
            static_cast<std::uint32_t>(_mm_movemask_epi8(tabs))};
}

ByteClasses Classify(const char* p) {
    const ByteClasses low = ClassifyHalf(p);
    const ByteClasses high = ClassifyHalf(p + 16);
    return {low.controls | high.controls << 16, low.tabs | high.tabs << 16};
}

// The low `count` bytes of a word (count below 8).
constexpr std::uint64_t LowBytes(int count) {
    return (std::uint64_t{1} << (8 * count)) - 1;
}

// The number field that ends at offset `last` of the line at `p` (at least 8) and is
// `length` bytes long, when it is 1 to 7 bytes of digits and at most one point, with a
// digit: its digits, one per byte with the last one highest, zeros in front (as
// JoinDigitPair takes them), and how many of them follow the point. It is read as the
// word that ends with it, so its last digit lands in the word's last byte.
bool ShortNumberDigits(const char* p, int last, int length, std::uint64_t& digits, int& fraction) {
    if (length < 1 || length > 7) {
        return false;
    }
    std::memcpy(&digits, p + last - 8, sizeof digits);
    // '0'..'9' become 0..9; the bytes before the field become zeros in front of it.
    digits = (digits ^ (0x30 * kOnes)) & ~LowBytes(8 - length);
    // A byte of 10 or more gets its 0x80 bit from the sum or, at 0x80 and up, from itself.
    const std::uint64_t others =
        (((digits & (0x7F * kOnes)) + 0x76 * kOnes) | digits) & (0x80 * kOnes);
    fraction = 0;
    if (others != 0) {
        const int point = std::countr_zero(others) >> 3;
        if ((others & (others - 1)) != 0 || ((digits >> (8 * point)) & 0xFF) != ('.' ^ 0x30) ||
            length == 1) {
            return false;
        }
        // The digits before the point move up into its place.
        const std::uint64_t after = (~std::uint64_t{0} << (8 * point)) << 8;
        digits = (digits & after) | ((digits & LowBytes(point)) << 8);
        fraction = 7 - point;
    }
    return true;
}

// The values of two digit words (see ShortNumberDigits), each its integer over its power of
// ten: the same integers and divisions as TakePlainNumber, so the same values. Both words
// are joined side by side in one register (pairs of digits, pairs of pairs, then the two
// halves) and divided by one instruction.
void JoinDigitPair(std::uint64_t first, int firstFraction, std::uint64_t second, int secondFraction,
                   double& firstValue, double& secondValue) {
    __m128i v = _mm_set_epi64x(static_cast<long long>(second), static_cast<long long>(first));
    // Pairs of digits: the first of each pair (the lower byte) is worth ten.
    v = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(v, _mm_set1_epi16(0xFF)), _mm_set1_epi16(10)),
                      _mm_srli_epi16(v, 8));
    v = _mm_madd_epi16(v, _mm_set1_epi32(0x00010064)); // pairs of pairs: 100 and 1
    // Halves: the lower four digits are worth 10,000 (each value is below 10^8).
    v = _mm_add_epi64(_mm_mul_epu32(v, _mm_set1_epi32(10000)), _mm_srli_epi64(v, 32));
    const __m128d values =
        _mm_div_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(v, _MM_SHUFFLE(2, 0, 2, 0))),
                   _mm_set_pd(kPowersOfTen[static_cast<std::size_t>(secondFraction)],
                              kPowersOfTen[static_cast<std::size_t>(firstFraction)]));
    _mm_storel_pd(&firstValue, values);
    _mm_storeh_pd(&secondValue, values);
}

// TakePlainRecord for a line with at least kShortRecordBytes bytes from `p` to the end of the
// text whose first four control bytes are its tabs, with ids and codes of at most eight
// bytes (they are cut to fewer anyway) and numbers of at most seven; nullptr for any other.
const char* TakeShortRecord(const char* p, const char* end, DiveRecord& slot) {
    const ByteClasses bytes = Classify(p);
    std::array<int, kFieldCount> tabs{};
    std::uint32_t rest = bytes.controls;
    for (int& tab : tabs) {
        tab = std::countr_zero(rest); // 32 when there is none
        rest &= rest - 1;
    }
    std::uint64_t ddDigits = 0;
    std::uint64_t pointsDigits = 0;
    int ddFraction = 0;
    int pointsFraction = 0;
    if (tabs[3] == 32 || ((bytes.controls ^ rest) & ~bytes.tabs) != 0 || tabs[0] > 8 ||
        tabs[1] - tabs[0] > 9 || tabs[2] < 8 ||
        !ShortNumberDigits(p, tabs[2], tabs[2] - tabs[1] - 1, ddDigits, ddFraction) ||
        !ShortNumberDigits(p, tabs[3], tabs[3] - tabs[2] - 1, pointsDigits, pointsFraction)) {
        return nullptr;
    }
    const char* lineEnd = p + std::countr_zero(rest); // when the 32 bytes hold it
    if (rest == 0 || (*lineEnd != '\r' && *lineEnd != '\n')) {
        const char* textEnd = end;
        lineEnd = FindLineEnd(p + tabs[3] + 1, textEnd);
        if (textEnd != end) {
            return nullptr; // a Ctrl+Z among the ignored fields
        }
    }
    slot.DiverId.assign_from_block(p, static_cast<std::size_t>(tabs[0]));
    slot.DiveCode.assign_from_block(p + tabs[0] + 1,
                                    static_cast<std::size_t>(tabs[1] - tabs[0] - 1));
    JoinDigitPair(ddDigits, ddFraction, pointsDigits, pointsFraction, slot.DD, slot.Points);
    return SkipLineEnd(lineEnd, end);
}
#else
// Without SSE2 there is no window road: every line goes on to TakePlainRecord.
const char* TakeShortRecord(const char*, const char*, DiveRecord&) {
    return nullptr;
}
#endif

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
LoadOutcome ParseRecord(std::string_view line, DiveRecord& slot, const std::string& path) {
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

} // namespace

LoadOutcome LoadResultText(std::string_view text, std::span<DiveRecord> slots,
                           const std::string& path) {
    const char* p = text.data();
    const char* end = p + text.size();
    std::size_t used = 0;
    while (p != end) {
        if (used < slots.size()) {
            const char* next =
                end - p >= kShortRecordBytes ? TakeShortRecord(p, end, slots[used]) : nullptr;
            if (next || (next = TakePlainRecord(p, end, slots[used]))) {
                ++used;
                p = next;
                continue;
            }
        }
        const char* lineEnd = FindLineEnd(p, end);
        const std::string_view line(p, static_cast<std::size_t>(lineEnd - p));
        p = SkipLineEnd(lineEnd, end);
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

namespace {

LoadOutcome LoadResultFile(const std::string& path, std::span<DiveRecord> slots, FileBytes& bytes) {
    if (LoadOutcome outcome = ReadWholeFile(path, bytes);
        outcome.kind != LoadOutcome::Kind::Loaded) {
        return outcome;
    }
    return LoadResultText(bytes.view(), slots, path);
}

} // namespace

LoadOutcome LoadResultFile(const std::string& path, std::span<DiveRecord> slots) {
    FileBytes bytes;
    return LoadResultFile(path, slots, bytes);
}

LoadOutcome LoadResultFiles(const std::string& dataDir, RecordStore& store) {
    FileBytes bytes; // one buffer for the four files
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        const std::string path = JoinPath(dataDir, EventByIndex(eventIndex).id);
        LoadOutcome outcome = LoadResultFile(path, store.Dives(eventIndex), bytes);
        store.filled.at(static_cast<std::size_t>(eventIndex - 1)) = outcome.filled;
        if (outcome.kind != LoadOutcome::Kind::Loaded) {
            return outcome;
        }
    }
    return {};
}

} // namespace corvane
