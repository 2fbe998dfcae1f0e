// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Number <-> text conventions of the whole program: '.' is the decimal separator, no
// thousands separator, and fixed formats round half away from zero.

// True when nothing is left after removing leading and trailing bytes of code 32 or below.
bool IsBlank(std::string_view text);
// The text without its leading and trailing bytes of code 32 or below.
std::string_view TrimControls(std::string_view text);

// Decimal number: optional blanks around, optional sign, digits with an optional '.'
// fraction (at least one digit in all), optional exponent. No comma, hex, inf or nan;
// out-of-range values fail.
std::optional<double> ParseNumber(std::string_view text);
// Whole number: optional blanks around, optional sign, decimal digits only.
std::optional<long long> ParseInteger(std::string_view text);

// The value rounded to `decimals` places ("0.0" for 1, "0.00" for 2): the decimal
// expansion to 15 significant digits, then rounded half away from zero. 2.25 -> "2.3".
std::string FormatFixed(double value, int decimals);
// FormatFixed's text appended to `out`, for tables that build their cells into one buffer.
void AppendFixed(std::string& out, double value, int decimals);
// FormatFixed(part * 100.0 / whole, 1) appended to `out`: the share of a count in percent,
// worked out on whole numbers for 0 <= part <= whole <= kMaxShareWhole, 0 < whole. The text
// of FormatFixed(part / whole * 100.0, 1) is the same: both quotients are within two roundings
// of the exact share.
inline constexpr int kMaxShareWhole = 1000000;
void AppendShare(std::string& out, int part, int whole);
// FormatFixed always by way of the 15-digit expansion. FormatFixed takes a quicker road for
// most values that ends in the same text; tests hold the two to each other.
std::string FormatFixedByExpansion(double value, int decimals);
// Shortest general form with up to 15 significant digits (60 -> "60", 132.5 -> "132.5").
std::string FormatGeneral(double value);

// A cell's text read back as a number; a blank or unreadable cell counts as 0.
double CellNumber(std::string_view text);
// A cell's text read back as a whole number; a blank or unreadable cell counts as 0.
long long CellInteger(std::string_view text);

} // namespace corvane
