// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder's own Catalogue.tsv: when it replaces the built-in DDs, and every way a line
// of it is refused.
#include "rawdata/catalogue.h"
#include "rawdata/roster.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::TempDir;

constexpr std::string_view kHeader = "Code\tDD3m\tDD10m\n";

std::optional<std::string> FillFrom(const TempDir& dir, std::string_view text,
                                    DDCatalogue& catalogue) {
    dir.Write(kCatalogueFileName, text);
    return FillCatalogue(catalogue, dir.Path().string());
}

TEST(CatalogueFile, WithoutOneTheBuiltInCatalogueIsUsed) {
    const TempDir dir;
    DDCatalogue catalogue;
    EXPECT_EQ(FillCatalogue(catalogue, dir.Path().string()), std::nullopt);
    ASSERT_EQ(catalogue.Size(), kCatalogueSize);
    for (const CatalogueEntry& entry : DiveCatalogue) {
        EXPECT_EQ(catalogue.DD(entry.Code, 1), CatalogueDD(entry.Code, 1)) << entry.Code;
        EXPECT_EQ(catalogue.DD(entry.Code, 3), CatalogueDD(entry.Code, 3)) << entry.Code;
    }
}

TEST(CatalogueFile, ReplacesTheBuiltInOneKeepingTheFirstRowOfARepeatedCode) {
    const TempDir dir;
    DDCatalogue catalogue;
    const auto error = FillFrom(dir,
                                "\xEF\xBB\xBF"
                                "Code\tDD3m\tDD10m\r\n207C\t3.6\t3.3\r\n\r\n  \n5271B\t0.0\t3.2\r"
                                "207C\t9.9\t9.9\n12345\t1.0\t4.8",
                                catalogue);
    ASSERT_EQ(error, std::nullopt) << *error;
    EXPECT_EQ(catalogue.Size(), 4);
    EXPECT_EQ(catalogue.DD("207C", 1), "3.6");
    EXPECT_EQ(catalogue.DD("207C", 4), "3.3");
    EXPECT_EQ(catalogue.DD("5271B", 2), "0.0");
    EXPECT_EQ(catalogue.DD("12345", 3), "4.8");
    ASSERT_NE(catalogue.FindDDs("207C"), nullptr);
    EXPECT_EQ(*catalogue.FindDDs("207C"), (DDCatalogue::DDs{3.6, 3.3}));
    // A built-in code the file leaves out is not there.
    EXPECT_EQ(catalogue.DD("101B", 1), std::nullopt);
    EXPECT_EQ(catalogue.FindDDs("101B"), nullptr);
}

TEST(CatalogueFile, ABrokenRuleIsReportedWithLineAndReasonAndNoCatalogueIsLeft) {
    const std::string good = std::string(kHeader) + "101B\t1.5\t1.5\n";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {good + "207C\t3,6\t3.3\n",
         "Catalogue.tsv line 3: the 3 m DD '3,6' of 207C is not a number such as 2.8 (0.0 for "
         "none)"},
        {good + "207C\t3.6\t3.30\n",
         "Catalogue.tsv line 3: the 10 m DD '3.30' of 207C is not a number such as 2.8 (0.0 for "
         "none)"},
        {"207C\t\t3.3", "Catalogue.tsv line 1: the 3 m DD '' of 207C is not a number such as 2.8 "
                        "(0.0 for none)"},
        {"207C\t36\t3.3", "Catalogue.tsv line 1: the 3 m DD '36' of 207C is not a number such as "
                          "2.8 (0.0 for none)"},
        {"\t3.6\t3.3", "Catalogue.tsv line 1: the dive code '' is not 1 to 5 letters and digits"},
        {"5132DD\t3.6\t3.3",
         "Catalogue.tsv line 1: the dive code '5132DD' is not 1 to 5 letters and digits"},
        {"207 C\t3.6\t3.3",
         "Catalogue.tsv line 1: the dive code '207 C' is not 1 to 5 letters and digits"},
        {good + "\n207C 3.6 3.3\n",
         "Catalogue.tsv line 4: expected 3 tab-separated fields (Code, DD3m, DD10m), found 1"},
        {"207C\t3.6\t3.3\t\n",
         "Catalogue.tsv line 1: expected 3 tab-separated fields (Code, DD3m, DD10m), found 4"},
        // A header is only the first line: anywhere else it is a bad row.
        {good + std::string(kHeader),
         "Catalogue.tsv line 3: the 3 m DD 'DD3m' of Code is not a number such as 2.8 (0.0 for "
         "none)"},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        DDCatalogue catalogue = BuiltInCatalogue();
        EXPECT_EQ(FillFrom(dir, c.text, catalogue), c.message);
        EXPECT_EQ(catalogue.Size(), 0) << c.message;
    }
}

TEST(CatalogueFile, AtMostTenThousandCodes) {
    std::string text(kHeader);
    for (std::size_t code = 1; code <= kMaxCatalogueRows; ++code)
        text += std::to_string(code) + "\t1.0\t1.0\n";
    const TempDir dir;
    DDCatalogue catalogue;
    EXPECT_EQ(FillFrom(dir, text, catalogue), std::nullopt);
    EXPECT_EQ(catalogue.Size(), 10000);
    EXPECT_EQ(FillFrom(dir, text + "99999\t1.0\t1.0\n", catalogue),
              "Catalogue.tsv line 10002: more than 10000 dive codes");
}

// Either table broken: its reason, and neither table is left to work on.
TEST(CatalogueFile, StartUpFillsBothTablesOrNeither) {
    const TempDir dir;
    DiverRoster roster;
    DDCatalogue catalogue;
    ASSERT_EQ(FillReferenceTables(roster, catalogue, dir.Path().string()), std::nullopt);
    EXPECT_EQ(roster.Size(), BuiltInRoster().Size());
    EXPECT_EQ(catalogue.Size(), kCatalogueSize);

    dir.Write(kCatalogueFileName, "207C\t3.6\n");
    EXPECT_EQ(FillReferenceTables(roster, catalogue, dir.Path().string()),
              "Catalogue.tsv line 1: expected 3 tab-separated fields (Code, DD3m, DD10m), found 2");
    EXPECT_EQ(roster.Size(), 0);
    EXPECT_EQ(catalogue.Size(), 0);

    dir.Write(kRosterFileName, "1\tA\tB\tCan\n");
    EXPECT_EQ(FillReferenceTables(roster, catalogue, dir.Path().string()),
              "Divers.tsv line 1: the nation 'Can' is not three capital letters");
    EXPECT_EQ(catalogue.Size(), 0);

    dir.Write(kRosterFileName, "1\tA\tB\tCAN\n");
    dir.Write(kCatalogueFileName, "207C\t3.6\t3.3\n");
    ASSERT_EQ(FillReferenceTables(roster, catalogue, dir.Path().string()), std::nullopt);
    EXPECT_EQ(roster.Size(), 1);
    EXPECT_EQ(catalogue.DD("207C", 2), "3.6");
}

} // namespace
} // namespace corvane
