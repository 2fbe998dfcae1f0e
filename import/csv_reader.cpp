// SPDX-License-Identifier: GPL-3.0-or-later
#include "csv_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace corvane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// Length of the UTF-8 sequence at `at`, or 0 when it is not a valid one (overlong forms,
// surrogates and code points above U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF; // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

void AppendUtf8(std::string& utf8, std::uint32_t c) {
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 text (after its byte-order mark) as UTF-8; a lone surrogate or an odd last byte
// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t at) -> std::uint32_t {
        const auto first = static_cast<std::uint8_t>(bytes[at]);
        const auto second = static_cast<std::uint8_t>(bytes[at + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    constexpr std::uint32_t kReplacement = 0xFFFD;
    std::string utf8;
    utf8.reserve(bytes.size());
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        std::uint32_t c = unit(at);
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 && unit(at + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (high || low) {
            c = kReplacement;
        }
        AppendUtf8(utf8, c);
    }
    if (at < bytes.size())
        AppendUtf8(utf8, kReplacement);
    return utf8;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Walks the text record by record, counting lines as it goes.
class CsvScanner {
public:
    // Starts at byte `at`, which is on line `line`.
    CsvScanner(std::string_view text, char delimiter, std::size_t at, int line)
        : text_(text), delimiter_(delimiter), at_(at), line_(line) {}

    bool AtEnd() const { return at_ >= text_.size(); }

    // Reads one record into `row`; says why not on an unclosed quote.
    std::optional<std::string> Next(CsvRow& row) {
        row.line = line_;
        row.fields.clear();
        for (;;) {
            std::string& field = row.fields.emplace_back();
            if (!AtEnd() && text_[at_] == '"' && !ReadQuoted(field)) {
                return "line " + std::to_string(row.line) + ": a quoted field is never closed";
            }
            ReadPlain(field);
            if (AtEnd() || text_[at_] != delimiter_)
                break;
            ++at_;
        }
        EndLine();
        return std::nullopt;
    }

private:
    // From an opening quote to its closing one; the text in between, quotes undoubled.
    bool ReadQuoted(std::string& field) {
        ++at_;
        for (;;) {
            const std::size_t quote = text_.find('"', at_);
            if (quote == std::string_view::npos)
                return false;
            CountLines(at_, quote);
            field.append(text_.substr(at_, quote - at_));
            at_ = quote + 1;
            if (AtEnd() || text_[at_] != '"')
                return true;
            field += '"';
            ++at_;
        }
    }

    // Up to the next separator or line end, taken as it stands (a stray quote included).
    void ReadPlain(std::string& field) {
        const std::size_t start = at_;
        while (!AtEnd() && text_[at_] != delimiter_ && !IsLineEnd(text_[at_]))
            ++at_;
        field.append(text_.substr(start, at_ - start));
    }

    void EndLine() {
        if (AtEnd())
            return;
        const bool crlf = text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n';
        at_ += crlf ? 2 : 1;
        ++line_;
    }

    // Line ends inside a quoted field still count as lines of the file.
    void CountLines(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= to || text_[i + 1] != '\n')))
                ++line_;
        }
    }

    std::string_view text_;
    char delimiter_;
    std::size_t at_;
    int line_;
};

bool AllBlank(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const std::string& field) {
        return std::all_of(field.begin(), field.end(),
                           [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    });
}

// Where the text after the first line starts, and the line it is on.
std::pair<std::size_t, int> AfterFirstLine(std::string_view text) {
    const std::size_t end = std::min(text.size(), text.find_first_of("\r\n"));
    const bool crlf = text.substr(end).starts_with("\r\n");
    return {std::min(text.size(), end + (crlf ? 2 : 1)), 2};
}

} // namespace

std::optional<char> SeparatorLine(std::string_view line) {
    // Spreadsheets write it bare, in quotes, or padded with separators ("sep=;;;").
    if (line.starts_with('"'))
        line.remove_prefix(1);
    if (line.size() < 5 || (line.substr(0, 4) != "sep=" && line.substr(0, 4) != "SEP="))
        return std::nullopt;
    const char separator = line[4];
    if (separator == '"' || IsLineEnd(separator))
        return std::nullopt;
    for (const char c : line.substr(5)) {
        if (c != separator && c != '"' && c != ' ')
            return std::nullopt;
    }
    return separator;
}

std::string DecodeText(std::string_view bytes, bool& latin1) {
    latin1 = false;
    // What a spreadsheet saves as "Unicode text".
    if (bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark))
        return Utf16ToUtf8(bytes.substr(2), bytes.starts_with(kUtf16BigEndianMark));
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    latin1 = !IsUtf8(bytes);
    return latin1 ? Latin1ToUtf8(bytes) : std::string(bytes);
}

char DetectDelimiter(std::string_view headerLine) {
    std::array<std::size_t, 3> counts{}; // tab, semicolon, comma: the order that wins a tie
    constexpr std::array<char, 3> kCandidates{'\t', ';', ','};
    bool quoted = false;
    for (const char c : headerLine) {
        if (c == '"')
            quoted = !quoted;
        for (std::size_t i = 0; i < kCandidates.size(); ++i)
            counts[i] += !quoted && c == kCandidates[i];
    }
    const auto best = std::max_element(counts.begin(), counts.end());
    return *best == 0 ? ',' : kCandidates[static_cast<std::size_t>(best - counts.begin())];
}

std::optional<std::string> ReadCsv(std::string_view bytes, CsvTable& table) {
    table = CsvTable{};
    const std::string text = DecodeText(bytes, table.readAsLatin1);
    const std::string_view firstLine = std::string_view(text).substr(0, text.find_first_of("\r\n"));
    // A spreadsheet's CSV export may name its separator on a first line of its own.
    const std::optional<char> named = SeparatorLine(firstLine);
    const auto [start, line] = named ? AfterFirstLine(text) : std::pair<std::size_t, int>{0, 1};
    // Else the header is the first line that is not empty.
    std::string_view first(text);
    first.remove_prefix(std::min(first.size(), first.find_first_not_of("\r\n")));
    table.delimiter =
        named ? *named : DetectDelimiter(first.substr(0, first.find_first_of("\r\n")));
    CsvScanner scanner(text, table.delimiter, start, line);
    CsvRow row;
    bool haveHeader = false;
    while (!scanner.AtEnd()) {
        if (auto problem = scanner.Next(row)) {
            table = CsvTable{};
            return problem;
        }
        if (AllBlank(row.fields))
            continue;
        if (!haveHeader) {
            table.header = std::move(row.fields);
            haveHeader = true;
        } else {
            table.rows.push_back(std::move(row));
        }
    }
    if (!haveHeader) {
        table = CsvTable{};
        return "no header line";
    }
    return std::nullopt;
}

} // namespace corvane
