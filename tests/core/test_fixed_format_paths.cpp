// SPDX-License-Identifier: GPL-3.0-or-later
// FormatFixed's quick road must end in exactly the text of the decimal expansion, for the
// values the tables produce and for everything around the places where rounding turns.

#include "store/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace corvane {
namespace {

// Counts the values that differ and reports the first few; a sweep of millions of values
// would otherwise drown the log.
class PathComparison {
public:
    void Check(double value, int decimals) {
        ++checked_;
        const std::string quick = FormatFixed(value, decimals);
        const std::string expanded = FormatFixedByExpansion(value, decimals);
        if (quick != expanded && ++mismatches_ <= 10) {
            ADD_FAILURE() << "value " << std::hexfloat << value << std::defaultfloat << " ("
                          << value << ") to " << decimals << " places: " << quick << " vs "
                          << expanded;
        }
    }
    // The value and its neighbouring doubles, `steps` on either side.
    void CheckAround(double value, int decimals, int steps) {
        double below = value;
        double above = value;
        Check(value, decimals);
        for (int i = 0; i < steps; ++i) {
            below = std::nextafter(below, -INFINITY);
            above = std::nextafter(above, INFINITY);
            Check(below, decimals);
            Check(above, decimals);
        }
    }
    long long checked() const { return checked_; }
    long long mismatches() const { return mismatches_; }

private:
    long long checked_ = 0;
    long long mismatches_ = 0;
};

TEST(FormatFixedPaths, AgreeOnTheSharesAndAveragesOfTheTables) {
    PathComparison paths;
    // Band shares: band count * 100 / Count, as the statistics and the breakdown compute them.
    for (int count = 1; count <= 700; ++count) {
        for (int band = 0; band <= count; ++band) {
            paths.Check(static_cast<double>(band) * 100 / count, 1);
            paths.Check(static_cast<double>(band) / count * 100, 1);
        }
    }
    // Average points of points on a half-point grid, and the average score on every DD.
    std::mt19937_64 random(20120101);
    std::uniform_int_distribution<int> halfPoints(0, 240);
    std::uniform_int_distribution<int> groupSize(1, 400);
    for (int group = 0; group < 6000; ++group) {
        const int count = groupSize(random);
        double sum = 0;
        for (int i = 0; i < count; ++i) {
            sum += halfPoints(random) / 2.0;
        }
        const double average = sum / count;
        paths.Check(average, 2);
        for (int ddTenths = 10; ddTenths <= 48; ++ddTenths) {
            paths.Check(average / (ddTenths / 10.0) / 3, 1);
        }
    }
    EXPECT_EQ(paths.mismatches(), 0) << "of " << paths.checked();
}

// The shares worked out on whole numbers against FormatFixed of the double quotient, for
// every part of the counts a small table holds and a spread of counts up to the limit.
TEST(FormatFixedPaths, SharesOnWholeNumbersAgreeWithTheDoubleQuotient) {
    long long mismatches = 0;
    const auto check = [&mismatches](int part, int whole) {
        std::string share;
        AppendShare(share, part, whole);
        // As the tables and as the breakdown compute the quotient.
        for (const double quotient :
             {static_cast<double>(part) * 100 / whole, static_cast<double>(part) / whole * 100}) {
            const std::string fixed = FormatFixed(quotient, 1);
            if (share != fixed && ++mismatches <= 10)
                ADD_FAILURE() << part << " of " << whole << ": " << share << " vs " << fixed;
        }
    };
    for (int whole = 1; whole <= 1000; ++whole) {
        for (int part = 0; part <= whole; ++part)
            check(part, whole);
    }
    std::mt19937_64 random(16);
    for (int i = 0; i < 200000; ++i) {
        const int whole = std::uniform_int_distribution<int>(1, kMaxShareWhole + 10)(random);
        check(std::uniform_int_distribution<int>(-1, whole + 1)(random), whole);
    }
    check(0, 0);
    EXPECT_EQ(mismatches, 0);
}

TEST(FormatFixedPaths, AgreeOnEveryDecimalStepAndItsNeighbours) {
    PathComparison paths;
    for (int decimals = 0; decimals <= 3; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        for (int step = -12000; step <= 12000; ++step) {
            paths.CheckAround(step / scale, decimals, 2);
            // Halfway between two shown values: where half away from zero matters.
            paths.CheckAround((step + 0.5) / scale, decimals, 3);
        }
    }
    EXPECT_EQ(paths.mismatches(), 0) << "of " << paths.checked();
}

TEST(FormatFixedPaths, AgreeOnRandomValuesOfEveryMagnitude) {
    PathComparison paths;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-14, 14);
    std::uniform_int_distribution<int> places(0, 9);
    for (int i = 0; i < 400000; ++i) {
        const double magnitude = mantissa(random) * std::pow(10.0, exponent(random));
        paths.Check((i % 2 == 0) ? magnitude : -magnitude, places(random));
    }
    EXPECT_EQ(paths.mismatches(), 0) << "of " << paths.checked();
}

TEST(FormatFixedPaths, AgreeAtTheEdgesOfTheQuickRoad) {
    PathComparison paths;
    for (int decimals = 0; decimals <= 8; ++decimals) {
        // The largest scaled value the quick road takes, and a long row of ties below it.
        paths.CheckAround(1e9 / std::pow(10.0, decimals), decimals, 50);
        for (double tie = 999999.5; tie < 1000010; tie += 1) {
            paths.CheckAround(tie / std::pow(10.0, decimals), decimals, 5);
        }
        for (const double value : {0.0, -0.0, 5e-324, 1e-300, 0.049999999999999, 0.05, 0.95, 9.995,
                                   99.995, 2.675, 1.005, 1e15, 123456789.125}) {
            paths.CheckAround(value, decimals, 3);
            paths.CheckAround(-value, decimals, 3);
        }
    }
    EXPECT_EQ(paths.mismatches(), 0) << "of " << paths.checked();
}

} // namespace
} // namespace corvane
