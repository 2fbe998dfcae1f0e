// SPDX-License-Identifier: GPL-3.0-or-later
#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <system_error>

namespace corvane {

namespace {

constexpr bool IsControlOrSpace(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Blanks around a number; NUL is deliberately not one of them, so a NUL anywhere in a
// field makes the conversion fail instead of silently cutting the field short.
constexpr bool IsNumberBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimNumberBlanks(std::string_view text) {
    while (!text.empty() && IsNumberBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsNumberBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Skips a run of digits starting at `pos`; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos - start;
}

// True when `text` (sign already removed) is digits, optional '.' fraction and optional
// exponent, with at least one mantissa digit. from_chars alone would also take inf/nan.
bool IsDecimalNotation(std::string_view text) {
    std::size_t pos = 0;
    std::size_t digits = SkipDigits(text, pos);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        digits += SkipDigits(text, pos);
    }
    if (digits == 0) {
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            ++pos;
        }
        if (SkipDigits(text, pos) == 0) {
            return false;
        }
    }
    return pos == text.size();
}

constexpr int kExactDigits = 15; // any 15-digit integer is exact in a double
constexpr std::array<double, kExactDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The common short case ("2.5", "66.50") without from_chars: with at most 15 digits and no
// exponent, both the digits and the power of ten are exact doubles, so one division gives
// the correctly rounded value, the same one from_chars would. `text` is already checked.
std::optional<double> ShortDecimal(std::string_view text) {
    std::uint64_t digits = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    bool inFraction = false;
    for (const char c : text) {
        if (c == '.') {
            inFraction = true;
            continue;
        }
        if (!IsDigit(c) || ++digitCount > kExactDigits) {
            return std::nullopt;
        }
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        fractionDigits += inFraction ? 1 : 0;
    }
    return static_cast<double>(digits) / kPowersOfTen[static_cast<std::size_t>(fractionDigits)];
}

// Splits an optional leading sign off `text`; true when it was '-'.
bool TakeSign(std::string_view& text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        const bool negative = text.front() == '-';
        text.remove_prefix(1);
        return negative;
    }
    return false;
}

// |value| * 10^decimals rounded half away from zero, as a decimal digit string, working on
// the 15-significant-digit decimal expansion so that 2.25 rounds up like it reads.
std::string ScaledRoundedDigits(double magnitude, int decimals) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, 14);
    const std::string_view sci(buffer.data(), result.ptr - buffer.data());
    // sci is "d.dddddddddddddde±xx".
    std::string digits;
    digits += sci[0];
    digits.append(sci.substr(2, 14));
    const int exponent = std::atoi(std::string(sci.substr(sci.find('e') + 1)).c_str());

    // Number of leading digits that fall at or before the last kept decimal place.
    const long keep = static_cast<long>(exponent) + 1 + decimals;
    if (keep < 0) {
        return "0";
    }
    if (keep >= static_cast<long>(digits.size())) {
        digits.append(static_cast<std::size_t>(keep) - digits.size(), '0');
        return digits;
    }
    const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
    std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
    if (kept.empty()) {
        kept = "0";
    }
    if (roundUp) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') {
            kept[--i] = '0';
        }
        if (i == 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[i - 1];
        }
    }
    return kept;
}

// FormatFixed without the decimal expansion, for the values the tables hold. The scaled value
// |value| * 10^decimals is a double within 2^-53 of exact (relative), and the 15-digit
// expansion, scaled alike, lies within 5e-15 of it (relative); the two round alike unless the
// scaled fraction sits that close to one half. Such near-ties, and values out of range, get
// nothing here (0) and take the expansion. The text ends at the end of `buffer`; returns its
// length.
std::size_t FixedByScaling(double value, int decimals, std::array<char, 24>& buffer) {
    constexpr int kMaxDecimals = 6;
    constexpr double kMaxScaled = 1e9;
    constexpr double kTieMargin = 1e-12; // relative: 200 times the worst expansion error
    if (decimals > kMaxDecimals) {
        return 0;
    }
    const double scaled = std::fabs(value) * kPowersOfTen[static_cast<std::size_t>(decimals)];
    if (!(scaled < kMaxScaled)) {
        return 0;
    }
    // Truncation is the floor here (0 <= scaled < 1e9); the difference is exact, as `whole`
    // is 0 or at least half of `scaled`.
    const auto whole = static_cast<std::uint32_t>(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) <= kTieMargin * std::max(scaled, 1.0)) {
        return 0;
    }
    const std::uint32_t units = whole + (fraction > 0.5 ? 1 : 0);

    // Digits of `units`, at least decimals + 1 of them, with the point set in.
    char* const end = buffer.data() + buffer.size();
    char* first = end;
    std::uint32_t rest = units;
    for (int place = 0; place <= decimals || rest != 0; ++place) {
        if (place == decimals && decimals > 0) {
            *--first = '.';
        }
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    // A negative value that rounds to zero shows no sign.
    if (std::signbit(value) && units != 0) {
        *--first = '-';
    }
    return static_cast<std::size_t>(end - first);
}

} // namespace

bool IsBlank(std::string_view text) {
    return TrimControls(text).empty();
}

std::string_view TrimControls(std::string_view text) {
    while (!text.empty() && IsControlOrSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsControlOrSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = TrimNumberBlanks(text);
    const bool negative = TakeSign(text);
    if (!IsDecimalNotation(text)) {
        return std::nullopt;
    }
    if (const auto value = ShortDecimal(text)) {
        return negative ? -*value : *value;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<long long> ParseInteger(std::string_view text) {
    text = TrimNumberBlanks(text);
    // from_chars takes '-' but not '+'; a '+' must be followed directly by a digit.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || !IsDigit(text.front())) {
            return std::nullopt;
        }
    }
    long long value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string FormatFixed(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

void AppendFixed(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += FormatGeneral(value);
        return;
    }
    decimals = std::max(decimals, 0);
    std::array<char, 24> buffer{};
    if (const std::size_t length = FixedByScaling(value, decimals, buffer)) {
        out.append(buffer.data() + buffer.size() - length, length);
        return;
    }
    out += FormatFixedByExpansion(value, decimals);
}

void AppendShare(std::string& out, int part, int whole) {
    // Exact on integers: part * 1000 / whole rounded half up is the shown value in tenths.
    // The double quotient, in tenths, lies within 5e-13 of that exact value; a quotient that is no
    // exact tie is then at least 1 / (2 * whole) from the rounding point, so the quick road of
    // FormatFixed rounds it alike, and an exact tie (n + 1/2 tenths, a short decimal) is what
    // its 15-digit expansion reads, rounded up alike.
    if (whole <= 0 || part < 0 || part > whole || whole > kMaxShareWhole) {
        AppendFixed(out, static_cast<double>(part) * 100 / whole, 1);
        return;
    }
    // At most 2000 * 10^6 + 10^6: a 32-bit division, much quicker than a 64-bit one.
    const std::uint32_t tenths =
        (2000U * static_cast<std::uint32_t>(part) + static_cast<std::uint32_t>(whole)) /
        (2U * static_cast<std::uint32_t>(whole));
    std::array<char, 8> buffer{};
    char* const end = buffer.data() + buffer.size();
    char* first = end;
    *--first = static_cast<char>('0' + tenths % 10);
    *--first = '.';
    std::uint32_t rest = tenths / 10;
    do {
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    out.append(first, end);
}

std::string FormatFixedByExpansion(double value, int decimals) {
    if (!std::isfinite(value)) {
        return FormatGeneral(value);
    }
    decimals = std::max(decimals, 0);
    std::string digits = ScaledRoundedDigits(std::fabs(value), decimals);
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    // A negative value that rounds to zero shows no sign.
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    std::string text = (std::signbit(value) && !isZero) ? "-" : "";
    text.append(digits, 0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        text += '.';
        text.append(digits, digits.size() - static_cast<std::size_t>(decimals));
    }
    return text;
}

std::string FormatGeneral(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    return text == "-0" ? "0" : text;
}

double CellNumber(std::string_view text) {
    return ParseNumber(text).value_or(0.0);
}

long long CellInteger(std::string_view text) {
    return ParseInteger(text).value_or(0);
}

} // namespace corvane
