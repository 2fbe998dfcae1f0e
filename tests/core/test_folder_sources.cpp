// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/folder_sources.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr std::string_view kHeader = "Name\tSHA256\tTitle\tDates\tM3M\tW3M\tM10M\tW10M\n";

std::string Row(std::string_view name, std::string_view title) {
    return std::string(name) + "\t" + std::string(64, 'a') + "\t" + std::string(title) +
           "\t\t1\t0\t0\t0\n";
}

TEST(SourcesCaption, TitlesInOrderOnceEachElseNamesElseTheFolder) {
    const struct {
        std::string text;
        std::string caption;
    } cases[] = {
        {"", "worlds"},
        {std::string(kHeader), "worlds"},
        {std::string(kHeader) + Row("book2019", "FINA World Championships 2019"),
         "FINA World Championships 2019"},
        // Each title once, a source without one by its name, blank lines and spaces ignored.
        {"\xEF\xBB\xBF" + std::string(kHeader) + Row("a", " Cup A ") + "\r\n" + Row("b", "Cup B") +
             Row("c", "Cup A") + Row("results", ""),
         "Cup A; Cup B; results"},
        // The Title column found by its header wherever it stands.
        {"Title\tName\nCup C\tc\n\tnamed\n", "Cup C; named"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SourcesCaption(c.text, "worlds"), c.caption) << c.text;
}

} // namespace
} // namespace corvane
