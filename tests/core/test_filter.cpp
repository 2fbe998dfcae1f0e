// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/filter.h"

#include "analysis_test_support.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using namespace corvane::testing;

TEST(Filter, SelectionRules) {
    const DiverEntry diver = Diver("1", "ALPHA", "Ann", "USA");
    const DiverEntry blank = Diver("2", "BETA", "Bo", " ");
    EXPECT_TRUE(PassesFilter(diver, {}));
    EXPECT_TRUE(PassesFilter(diver, CountryFilter("USA")));
    EXPECT_FALSE(PassesFilter(diver, CountryFilter("usa")));
    EXPECT_TRUE(PassesFilter(diver, DiverFilter("ALPHA, Ann [USA]")));
    EXPECT_FALSE(PassesFilter(diver, DiverFilter("ALPHA, Ann [USA] ")));
    EXPECT_FALSE(PassesFilter(diver, DiverFilter("ALPHA, Ann")));
    FilterSelection indexZero = CountryFilter("CHN");
    indexZero.countryIndex = 0;
    EXPECT_TRUE(PassesFilter(diver, indexZero)) << "index 0 restricts nothing, whatever the text";

    EXPECT_TRUE(PassesFilter(blank, {}));
    EXPECT_FALSE(PassesBreakdownFilter(blank, {}));
    EXPECT_TRUE(PassesBreakdownFilter(diver, {}));
    EXPECT_FALSE(IsDiverLabel("ALPHA, An [USA]", diver));
    EXPECT_FALSE(IsDiverLabel("ALPHA,Ann [USA]", diver));
}

} // namespace
} // namespace corvane
