// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace corvane {
namespace {

using namespace std::string_view_literals;

struct FixedCase {
    double value;
    int decimals;
    const char* text;
};

// Binary doubles such as 2.25 or 1.005 must round the way their decimal text reads.
TEST(FormatFixed, RoundsHalfAwayFromZeroOnTheDecimalText) {
    const FixedCase cases[] = {
        {2.25, 1, "2.3"},
        {0.15, 1, "0.2"},
        {0.05, 1, "0.1"},
        {0.04, 1, "0.0"},
        {-2.25, 1, "-2.3"},
        {0.45, 1, "0.5"},
        {2.675, 2, "2.68"},
        {1.005, 2, "1.01"},
        {0.005, 2, "0.01"},
        {9.95, 1, "10.0"},
        {99.95, 1, "100.0"},
        {99.999, 2, "100.00"},
        {132.5, 2, "132.50"},
        {7.0, 1, "7.0"},
        {123.456, 1, "123.5"},
        {0.0, 1, "0.0"},
        {0.0, 2, "0.00"},
        {1e-20, 1, "0.0"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {1234567.891, 2, "1234567.89"},
        {1e20, 1, "100000000000000000000.0"},
        {33.333333333333336, 1, "33.3"},
        {66.66666666666667, 1, "66.7"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value << " to " << c.decimals;
    }
}

TEST(FormatFixed, NegativeValueRoundingToZeroHasNoSign) {
    EXPECT_EQ(FormatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(FormatFixed(-0.0, 1), "0.0");
    EXPECT_EQ(FormatFixed(-0.004, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.05, 1), "-0.1");
}

TEST(FormatGeneral, ShortestFormUpTo15Digits) {
    EXPECT_EQ(FormatGeneral(60.0), "60");
    EXPECT_EQ(FormatGeneral(132.5), "132.5");
    EXPECT_EQ(FormatGeneral(3.0), "3");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(-2.4), "-2.4");
    EXPECT_EQ(FormatGeneral(-0.0), "0");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
}

struct NumberCase {
    std::string_view text;
    std::optional<double> value;
};

TEST(ParseNumber, AcceptsOnlyPlainDecimalNotation) {
    const NumberCase cases[] = {
        {"2.4", 2.4},  {" 2.4 ", 2.4},  {"\t2.4\t", 2.4}, {"-2.4", -2.4},    {"+2.4", 2.4},
        {".5", 0.5},   {"5.", 5.0},     {"1e3", 1000.0},  {"1.5E-2", 0.015}, {"1e+2", 100.0},
        {"0", 0.0},    {"66.00", 66.0}, {"2,4", {}},      {"1e400", {}},     {"-1e400", {}},
        {"nan", {}},   {"inf", {}},     {"-inf", {}},     {"0x10", {}},      {"--2.4", {}},
        {"+-2.4", {}}, {"", {}},        {"   ", {}},      {".", {}},         {"-", {}},
        {"1e", {}},    {"1e+", {}},     {"e5", {}},       {"1.2.3", {}},     {"1 000", {}},
        {"2.4x", {}},  {"2.4\0"sv, {}}, {"2\0.4"sv, {}},  {"\0"sv, {}},      {"1,000.5", {}},
        {"１", {}},
    };
    for (const NumberCase& c : cases) {
        const auto parsed = ParseNumber(c.text);
        ASSERT_EQ(parsed.has_value(), c.value.has_value()) << "'" << c.text << "'";
        if (c.value) {
            EXPECT_DOUBLE_EQ(*parsed, *c.value) << "'" << c.text << "'";
        }
    }
}

struct IntegerCase {
    std::string_view text;
    std::optional<long long> value;
};

TEST(ParseInteger, AcceptsOnlyWholeNumbers) {
    const IntegerCase cases[] = {
        {"12", 12},
        {" 7 ", 7},
        {"+5", 5},
        {"-7", -7},
        {"0", 0},
        {"-9223372036854775808", std::numeric_limits<long long>::min()},
        {"9223372036854775807", std::numeric_limits<long long>::max()},
        {"9223372036854775808", {}},
        {"12.5", {}},
        {"12.0", {}},
        {"1e2", {}},
        {"", {}},
        {"+", {}},
        {"+-5", {}},
        {"--5", {}},
        {"0x10", {}},
        {"5 5", {}},
        {"abc", {}},
        {"5\0"sv, {}},
    };
    for (const IntegerCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << "'" << c.text << "'";
    }
}

TEST(CellText, BlankOrUnreadableCellCountsAsZero) {
    EXPECT_DOUBLE_EQ(CellNumber("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(CellNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(CellNumber("abc"), 0.0);
    EXPECT_EQ(CellInteger("42"), 42);
    EXPECT_EQ(CellInteger(""), 0);
    EXPECT_EQ(CellInteger("x"), 0);
}

TEST(BlankText, OnlyBytesUpTo32AreBlank) {
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t\x01\x1f "));
    EXPECT_FALSE(IsBlank(" a "));
    EXPECT_FALSE(IsBlank("\xA0")); // bytes beyond ASCII are text
    EXPECT_FALSE(IsBlank("\x7f"));
    EXPECT_EQ(TrimControls("\t 105B \x01"), "105B");
    EXPECT_EQ(TrimControls(" \xE9 "), "\xE9");
}

} // namespace
} // namespace corvane
