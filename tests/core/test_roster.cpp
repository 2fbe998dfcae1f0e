// SPDX-License-Identifier: GPL-3.0-or-later
#include "rawdata/roster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
extern const char kRosterText[];

namespace {

DiverEntry Row(std::string_view id, std::string_view surname, std::string_view given,
               std::string_view nation) {
    DiverEntry row;
    row.Id.assign(id);
    row.Surname.assign(surname);
    row.GivenName.assign(given);
    row.Nation.assign(nation);
    return row;
}

// The shipped roster as the program's own parser reads it; parse errors fail the test.
class ShippedRoster : public testing::Test {
protected:
    static void SetUpTestSuite() {
        DiverRoster parsed;
        const std::optional<std::string> error = ParseRoster(kRosterText, parsed);
        ASSERT_FALSE(error.has_value()) << *error;
        roster_ = std::make_unique<DiverRoster>(std::move(parsed));
    }
    static void TearDownTestSuite() { roster_.reset(); }

    static std::unique_ptr<DiverRoster> roster_;
};

std::unique_ptr<DiverRoster> ShippedRoster::roster_;

bool IsCapitalName(std::string_view name) {
    const bool allowed = std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || c == ' ' || c == '-';
    });
    return allowed && !name.empty() && name.front() >= 'A' && name.front() <= 'Z' &&
           name.back() >= 'A' && name.back() <= 'Z';
}

TEST_F(ShippedRoster, Has658RowsAndTheBuiltInRosterIsTheSame) {
    ASSERT_EQ(roster_->Size(), 658);
    const DiverRoster builtIn = BuiltInRoster();
    ASSERT_EQ(builtIn.Size(), 658);
    EXPECT_TRUE(std::equal(builtIn.Rows().begin(), builtIn.Rows().end(), roster_->Rows().begin(),
                           [](const DiverEntry& a, const DiverEntry& b) {
                               return DiverLabel(a) == DiverLabel(b) && a.Id == b.Id;
                           }));
}

TEST_F(ShippedRoster, IdsAreTwoToSixDigitsUniqueAndAscending) {
    long previous = -1;
    std::set<std::string> ids;
    for (const DiverEntry& diver : roster_->Rows()) {
        const std::string id = diver.Id.str();
        SCOPED_TRACE(id);
        ASSERT_GE(id.size(), 2u);
        ASSERT_LE(id.size(), 6u);
        ASSERT_TRUE(std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }));
        EXPECT_NE(id.front(), '0');
        EXPECT_GT(std::stol(id), previous);
        previous = std::stol(id);
        EXPECT_TRUE(ids.insert(id).second);
        EXPECT_EQ(roster_->FindDiver(id), &diver);
    }
}

TEST_F(ShippedRoster, NamesAreCapitalAsciiAndNationsThreeCapitals) {
    std::set<std::string> nations;
    for (const DiverEntry& diver : roster_->Rows()) {
        SCOPED_TRACE(DiverLabel(diver));
        EXPECT_TRUE(IsCapitalName(diver.Surname.view()));
        EXPECT_TRUE(IsCapitalName(diver.GivenName.view()));
        const std::string_view nation = diver.Nation.view();
        EXPECT_EQ(nation.size(), 3u);
        EXPECT_TRUE(
            std::all_of(nation.begin(), nation.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
        nations.insert(std::string(nation));
    }
    EXPECT_EQ(nations.size(), 61u);
}

TEST_F(ShippedRoster, ExactlyOneNameAndNationIsListedTwice) {
    std::map<std::string, std::vector<std::string>> idsByLabel;
    for (const DiverEntry& diver : roster_->Rows())
        idsByLabel[DiverLabel(diver)].push_back(diver.Id.str());
    std::vector<std::vector<std::string>> repeated;
    for (const auto& [label, ids] : idsByLabel) {
        if (ids.size() > 1)
            repeated.push_back(ids);
    }
    ASSERT_EQ(repeated.size(), 1u);
    ASSERT_EQ(repeated[0].size(), 2u);
    EXPECT_NE(repeated[0][0], repeated[0][1]);
}

TEST_F(ShippedRoster, TheLongestNameFillsBothCapacitiesUnshortened) {
    const auto longest =
        std::find_if(roster_->Rows().begin(), roster_->Rows().end(), [](const DiverEntry& d) {
            return d.Surname.size() == 25 && d.GivenName.size() == 20;
        });
    ASSERT_NE(longest, roster_->Rows().end());
    EXPECT_EQ(DiverName(*longest).size(), 47u);
    EXPECT_EQ(DiverLabel(*longest).size(), 53u);
    EXPECT_EQ(DiverLabel(*longest), longest->Surname.str() + ", " + longest->GivenName.str() +
                                        " [" + longest->Nation.str() + "]");
}

TEST(DiverText, NameAndLabelJoinTheFields) {
    const DiverEntry diver = Row("12", "SAMPLE", "EXAMPLE", "XYZ");
    EXPECT_EQ(DiverName(diver), "SAMPLE, EXAMPLE");
    EXPECT_EQ(DiverLabel(diver), "SAMPLE, EXAMPLE [XYZ]");
    for (const DiverEntry& any : {diver, Row("1", "X", "", "")})
        EXPECT_EQ(DiverLabelSize(any), DiverLabel(any).size());
}

TEST(FindDiver, ReturnsTheFirstRowOfAnIdAndComparesIdsAsText) {
    const DiverRoster roster({Row("123", "FIRST", "A", "AAA"), Row("0123", "PADDED", "B", "BBB"),
                              Row("123", "SECOND", "C", "CCC"), Row("77", "OTHER", "D", "DDD")});
    ASSERT_NE(roster.FindDiver("123"), nullptr);
    EXPECT_EQ(roster.FindDiver("123")->Surname, "FIRST");
    EXPECT_EQ(roster.FindDiver("0123")->Surname, "PADDED");
    EXPECT_EQ(roster.FindDiver("77")->Surname, "OTHER");
    for (std::string_view missing : {"00123", " 123", "123 ", "12", "077", ""})
        EXPECT_EQ(roster.FindDiver(missing), nullptr) << "'" << missing << "'";
    EXPECT_EQ(DiverRoster().FindDiver("123"), nullptr);
}

TEST(FindDiver, IdsOfEveryLengthAndReusedRecordTextsFindTheirOwnRow) {
    // A row whose id has a stale tail: the bytes a longer id left behind are no part of it.
    DiverEntry reused = Row("1234567890", "REUSED", "E", "EEE");
    reused.Id.assign("12");
    const DiverRoster roster({Row("12345678", "EIGHT", "A", "AAA"),
                              Row("123456789", "NINE", "B", "BBB"),
                              Row("1234567890", "TEN", "C", "CCC"), reused});
    for (const auto& [id, surname] : {std::pair{"12345678", "EIGHT"},
                                      {"123456789", "NINE"},
                                      {"1234567890", "TEN"},
                                      {"12", "REUSED"}}) {
        FixedText<10> recordId("9999999999"); // a record slot filled before, then reused
        recordId.assign(id);
        ASSERT_NE(roster.FindDiver(recordId), nullptr) << id;
        EXPECT_EQ(roster.FindDiver(recordId)->Surname, surname);
        EXPECT_EQ(roster.FindDiver(std::string_view(id))->Surname, surname);
    }
    // Longer than any id: not the row its first ten bytes would name.
    EXPECT_EQ(roster.FindDiver("12345678901"), nullptr);
    EXPECT_EQ(roster.FindDiver(FixedText<10>("1")), nullptr);
}

TEST(FindDiver, ACopyStillFindsIdsAfterTheOriginalIsGone) {
    auto original = std::make_unique<DiverRoster>(
        std::vector<DiverEntry>{Row("10", "ONE", "A", "AAA"), Row("20", "TWO", "B", "BBB")});
    DiverRoster copied(*original);
    DiverRoster assigned;
    assigned = *original;
    DiverRoster moved(std::move(*original));
    original.reset();
    for (const DiverRoster* roster : {&copied, &assigned, &moved}) {
        ASSERT_NE(roster->FindDiver("20"), nullptr);
        EXPECT_EQ(roster->FindDiver("20")->Surname, "TWO");
        // The hit lies inside this roster, not in a freed one.
        EXPECT_EQ(roster->FindDiver("20"), &roster->Rows()[1]);
    }
}

TEST(ParseRoster, ReadsRowsInOrderWithOrWithoutHeaderAndCrlf) {
    const std::string_view texts[] = {
        "Id\tSurname\tGivenName\tNation\n10\tONE\tA B\tAAA\n5\tTWO\tC-D\tBBB\n",
        "10\tONE\tA B\tAAA\r\n5\tTWO\tC-D\tBBB",
        "Id\tSurname\tGivenName\tNation\r\n\r\n10\tONE\tA B\tAAA\r\n5\tTWO\tC-D\tBBB\r\n\r\n",
    };
    for (std::string_view text : texts) {
        DiverRoster roster;
        const std::optional<std::string> error = ParseRoster(text, roster);
        ASSERT_FALSE(error.has_value()) << *error;
        ASSERT_EQ(roster.Size(), 2);
        EXPECT_EQ(DiverLabel(roster.Rows()[0]), "ONE, A B [AAA]");
        EXPECT_EQ(roster.Rows()[1].Id, "5");
        EXPECT_EQ(DiverLabel(roster.Rows()[1]), "TWO, C-D [BBB]");
    }
}

struct BadRoster {
    const char* what;
    std::string_view text;
    std::string_view lineNo;
};

TEST(ParseRoster, RejectsALineOfTheWrongShapeAndSaysWhichLine) {
    const BadRoster cases[] = {
        {"three fields", "10\tONE\tA\tAAA\n11\tTWO\tB\n", "line 2"},
        {"five fields", "10\tONE\tA\tAAA\tX\n", "line 1"},
        {"long surname", "Id\tSurname\tGivenName\tNation\n10\tABCDEFGHIJKLMNOPQRSTUVWXYZ\tA\tAAA\n",
         "line 2"},
        {"long given name", "10\tONE\tABCDEFGHIJKLMNOPQRSTU\tAAA\n", "line 1"},
        {"long id", "12345678901\tONE\tA\tAAA\n", "line 1"},
        {"long nation", "10\tONE\tA\tAAAA\n", "line 1"},
    };
    for (const BadRoster& c : cases) {
        SCOPED_TRACE(c.what);
        DiverRoster roster = BuiltInRoster();
        const std::optional<std::string> error = ParseRoster(c.text, roster);
        ASSERT_TRUE(error.has_value());
        EXPECT_NE(error->find(c.lineNo), std::string::npos) << *error;
        EXPECT_EQ(roster.Size(), 0) << "no rows of a refused text, nor of before";
    }
}

TEST(ParseRoster, FieldsAtTheirCapacitiesAreKept) {
    const std::string_view text =
        "1234567890\tABCDEFGHIJKLMNOPQRSTUVWXY\tABCDEFGHIJKLMNOPQRST\tXYZ";
    DiverRoster roster;
    const std::optional<std::string> error = ParseRoster(text, roster);
    ASSERT_FALSE(error.has_value()) << *error;
    EXPECT_EQ(DiverLabel(roster.Rows()[0]),
              "ABCDEFGHIJKLMNOPQRSTUVWXY, ABCDEFGHIJKLMNOPQRST [XYZ]");
    EXPECT_NE(roster.FindDiver("1234567890"), nullptr);
}

} // namespace
} // namespace corvane
