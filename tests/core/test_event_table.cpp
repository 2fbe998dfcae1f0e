// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/event_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace corvane {
namespace {

// The one band rule of the tables and the breakdown: a limit's own score stays in its band,
// and a score that is not a number exceeds no limit.
TEST(ScoreBand, LimitsBelongToTheBandBelowThem) {
    EXPECT_EQ(ScoreBand(-2.0), 0);
    EXPECT_EQ(ScoreBand(1.0), 0);
    EXPECT_EQ(ScoreBand(1.0001), 1);
    EXPECT_EQ(ScoreBand(5.0), 4);
    EXPECT_EQ(ScoreBand(9.0), 8);
    EXPECT_EQ(ScoreBand(9.01), 9);
    EXPECT_EQ(ScoreBand(std::numeric_limits<double>::infinity()), 9);
    EXPECT_EQ(ScoreBand(std::numeric_limits<double>::quiet_NaN()), 0);
    // Every limit, 10 and their neighbouring doubles, against the rule read literally.
    const auto firstLimitNotExceeded = [](double score) {
        for (int limit = 1; limit <= 9; ++limit) {
            if (score <= limit)
                return limit - 1;
        }
        return 9;
    };
    for (int limit = 0; limit <= 11; ++limit) {
        for (double score : {std::nextafter(double(limit), -1.0), double(limit),
                             std::nextafter(double(limit), 20.0), limit + 0.5, -limit - 0.5}) {
            EXPECT_EQ(ScoreBand(score), firstLimitNotExceeded(score)) << score;
        }
    }
    EXPECT_EQ(ScoreBand(-std::numeric_limits<double>::infinity()), 0);
}

} // namespace
} // namespace corvane
