// SPDX-License-Identifier: GPL-3.0-or-later
// The importer's columns: found by their headers and their aliases, or chosen by name.

#include "import/columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using Fields = std::vector<std::string>;

TEST(Columns, AliasesInAnyCaseAndChosenColumns) {
    std::string error;
    const auto columns = FindColumns(
        {"EVENT", "Athlete_Name", "Country", "Dive No.", "Degree of Difficulty", "Score", "ID"}, {},
        error);
    ASSERT_TRUE(columns.has_value()) << error;
    EXPECT_EQ(*columns, (ColumnMap{0, 1, -1, -1, 2, 3, 4, 5, 6}));

    const Fields header{"Event", "Last Name", "First Name", "NOC", "Dive", "DD", "Total", "Pts"};
    const auto chosen = FindColumns(header, {{Field::Points, "total"}}, error);
    ASSERT_TRUE(chosen.has_value()) << error;
    EXPECT_EQ(ColumnOf(*chosen, Field::Points), 6);
    EXPECT_EQ(ColumnOf(*chosen, Field::Surname), 1);
    EXPECT_EQ(ColumnOf(*chosen, Field::GivenName), 2);
    EXPECT_EQ(ColumnOf(*chosen, Field::Name), -1);
    EXPECT_EQ(FieldByName("Given-Name"), Field::GivenName);
    EXPECT_EQ(FieldByName("height"), std::nullopt);
}

TEST(Columns, AMissingColumnIsNamedWithTheHeadersFound) {
    std::string error;
    EXPECT_FALSE(FindColumns({"Event", "Diver", "Dive", "Difficulty"}, {}, error));
    EXPECT_EQ(error, "no column for nation, points (name them with --column FIELD=HEADER); the "
                     "headers found are 'Event', 'Diver', 'Dive', 'Difficulty'");
    EXPECT_FALSE(FindColumns({"Event", "Nation", "Dive", "DD", "Points"}, {}, error));
    EXPECT_NE(error.find("no column for name "), std::string::npos) << error;
    EXPECT_FALSE(
        FindColumns({"Event", "Name", "Nation", "Dive", "DD"}, {{Field::Points, "Marks"}}, error));
    EXPECT_EQ(error, "no column 'Marks' for points; the headers found are 'Event', 'Name', "
                     "'Nation', 'Dive', 'DD'");
}

} // namespace
} // namespace corvane
