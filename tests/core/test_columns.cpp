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
    ColumnMap columns;
    const auto error = FindColumns(
        {"EVENT", "Athlete_Name", "Country", "Dive No.", "Degree of Difficulty", "Score", "ID"}, {},
        columns);
    ASSERT_FALSE(error.has_value()) << *error;
    EXPECT_EQ(columns, (ColumnMap{0, 1, -1, -1, 2, 3, 4, 5, 6}));

    const Fields header{"Event", "Last Name", "First Name", "NOC", "Dive", "DD", "Total", "Pts"};
    ColumnMap chosen;
    const auto chosenError = FindColumns(header, {{Field::Points, "total"}}, chosen);
    ASSERT_FALSE(chosenError.has_value()) << *chosenError;
    EXPECT_EQ(ColumnOf(chosen, Field::Points), 6);
    EXPECT_EQ(ColumnOf(chosen, Field::Surname), 1);
    EXPECT_EQ(ColumnOf(chosen, Field::GivenName), 2);
    EXPECT_EQ(ColumnOf(chosen, Field::Name), -1);
    EXPECT_EQ(FieldByName("Given-Name"), Field::GivenName);
    EXPECT_EQ(FieldByName("height"), std::nullopt);
}

TEST(Columns, AMissingColumnIsNamedWithTheHeadersFound) {
    ColumnMap columns;
    EXPECT_EQ(FindColumns({"Event", "Diver", "Dive", "Difficulty"}, {}, columns),
              "no column for nation, points (name them with --column FIELD=HEADER); the "
              "headers found are 'Event', 'Diver', 'Dive', 'Difficulty'");
    const std::string noName =
        FindColumns({"Event", "Nation", "Dive", "DD", "Points"}, {}, columns).value_or("");
    EXPECT_NE(noName.find("no column for name "), std::string::npos) << noName;
    EXPECT_EQ(
        FindColumns({"Event", "Name", "Nation", "Dive", "DD"}, {{Field::Points, "Marks"}}, columns),
        "no column 'Marks' for points; the headers found are 'Event', 'Name', "
        "'Nation', 'Dive', 'DD'");
}

} // namespace
} // namespace corvane
