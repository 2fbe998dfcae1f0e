// SPDX-License-Identifier: GPL-3.0-or-later
#include "rawdata/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

std::vector<std::string> CodesWhere(bool (*keep)(const CatalogueEntry&)) {
    std::vector<std::string> codes;
    for (const CatalogueEntry& entry : DiveCatalogue) {
        if (keep(entry))
            codes.emplace_back(entry.Code);
    }
    return codes;
}

int Tenths(std::string_view dd) {
    return (dd[0] - '0') * 10 + (dd[2] - '0');
}

bool IsDDText(std::string_view dd) {
    return dd.size() == 3 && std::isdigit(static_cast<unsigned char>(dd[0])) && dd[1] == '.' &&
           std::isdigit(static_cast<unsigned char>(dd[2]));
}

TEST(DiveCatalogue, CodesHaveTheDiveCodeShapeAndLengths) {
    ASSERT_EQ(DiveCatalogue.size(), 293u);
    int four = 0;
    int five = 0;
    for (const CatalogueEntry& entry : DiveCatalogue) {
        const std::string_view code = entry.Code;
        SCOPED_TRACE(std::string(code));
        ASSERT_TRUE(code.size() == 4 || code.size() == 5);
        (code.size() == 4 ? four : five)++;
        EXPECT_TRUE(std::all_of(code.begin(), code.end() - 1, [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }));
        EXPECT_NE(std::string_view("ABCD").find(code.back()), std::string_view::npos);
    }
    EXPECT_EQ(four, 167);
    EXPECT_EQ(five, 126);
}

TEST(DiveCatalogue, CodesAscendByCharacterCodeAndAreUnique) {
    for (std::size_t i = 1; i < DiveCatalogue.size(); ++i)
        EXPECT_LT(std::string_view(DiveCatalogue[i - 1].Code), DiveCatalogue[i].Code)
            << "row " << i;
}

TEST(DiveCatalogue, DDTextsAreOneDigitPointOneDigitBetween1And48OrNone) {
    for (const CatalogueEntry& entry : DiveCatalogue) {
        for (std::string_view dd : {std::string_view(entry.DD3m), std::string_view(entry.DD10m)}) {
            ASSERT_TRUE(IsDDText(dd)) << entry.Code << " '" << dd << "'";
            EXPECT_TRUE(dd == "0.0" || (Tenths(dd) >= 10 && Tenths(dd) <= 48))
                << entry.Code << " " << dd;
        }
    }
}

TEST(DiveCatalogue, ArmstandsAnd5271HaveNoSpringboardDD) {
    std::vector<std::string> expected =
        CodesWhere([](const CatalogueEntry& e) { return e.Code[0] == '6'; });
    expected.insert(expected.end(), {"5271B", "5271C"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected.size(), 48u);
    EXPECT_EQ(CodesWhere([](const CatalogueEntry& e) { return std::string_view(e.DD3m) == "0.0"; }),
              expected);
}

TEST(DiveCatalogue, ThreeDivesHaveNoPlatformDD) {
    EXPECT_EQ(
        CodesWhere([](const CatalogueEntry& e) { return std::string_view(e.DD10m) == "0.0"; }),
        (std::vector<std::string>{"5151B", "5151C", "5227D"}));
}

TEST(DiveCatalogue, FourteenPlaceholderRowsCarryOnePointZeroOnBoth) {
    const std::vector<std::string> expected{"001A", "001B", "001C", "002A", "002B", "002C", "100A",
                                            "100B", "100C", "200A", "200B", "200C", "888D", "999D"};
    EXPECT_EQ(CodesWhere([](const CatalogueEntry& e) {
                  return std::string_view(e.DD3m) == "1.0" && std::string_view(e.DD10m) == "1.0";
              }),
              expected);
}

TEST(DiveCatalogue, BothDDsOfADiveDifferByAtMostPointTwo) {
    for (const CatalogueEntry& entry : DiveCatalogue) {
        if (std::string_view(entry.DD3m) == "0.0" || std::string_view(entry.DD10m) == "0.0")
            continue;
        EXPECT_LE(std::abs(Tenths(entry.DD3m) - Tenths(entry.DD10m)), 2) << entry.Code;
    }
}

struct LookupCase {
    std::string_view code;
    int eventIndex;
    std::optional<std::string_view> dd;
};

TEST(CatalogueDD, TakesTheColumnOfTheEventsApparatusAndMatchesExactly) {
    const LookupCase cases[] = {
        {"105B", 1, "2.4"},        {"105B", 2, "2.4"},         {"105B", 3, "2.3"},
        {"105B", 4, "2.3"},        {"612B", 3, "1.9"},         {"612B", 1, "0.0"},
        {"999D", 1, "1.0"},        {"999D", 2, "1.0"},         {"999D", 3, "1.0"},
        {"999D", 4, "1.0"},        {"001A", 1, "1.0"},         {"5271B", 2, "0.0"},
        {"5271B", 4, "3.2"},       {"109B", 1, "4.2"},         {"109B", 4, "4.1"},
        {"105b", 1, std::nullopt}, {" 105B", 1, std::nullopt}, {"105B ", 3, std::nullopt},
        {"5111", 1, std::nullopt}, {"5111A", 1, "2.0"},        {"", 1, std::nullopt},
        {"105", 1, std::nullopt},  {"0105B", 1, std::nullopt},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE("'" + std::string(c.code) + "' in event " + std::to_string(c.eventIndex));
        EXPECT_EQ(CatalogueDD(c.code, c.eventIndex), c.dd);
    }
}

TEST(CatalogueDD, FindsEveryRowByItsOwnCode) {
    for (const CatalogueEntry& entry : DiveCatalogue) {
        EXPECT_EQ(CatalogueDD(entry.Code, 2), std::string_view(entry.DD3m)) << entry.Code;
        EXPECT_EQ(CatalogueDD(entry.Code, 4), std::string_view(entry.DD10m)) << entry.Code;
    }
}

} // namespace
} // namespace corvane
