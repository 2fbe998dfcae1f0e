// SPDX-License-Identifier: GPL-3.0-or-later
// The importer's events and names: event cells as people write them, names in capitals.

#include "import/names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <utility>

namespace corvane {
namespace {

TEST(Events, IdsAndDescriptiveNamesInAnyCaseAndSpacing) {
    const std::pair<std::string_view, std::optional<int>> cases[] = {
        {"M3M", 1},
        {"Men's 3m Springboard", 1},
        {"MEN 3 M", 1},
        {"w3m", 2},
        {"Women's 3 metre springboard", 2},
        {"M10M", 3},
        {"men  10m  platform", 3},
        {"W 10M", 4},
        {"women 10m platform", 4},
        {"Men's 1m Springboard", std::nullopt},
        {"Men's 3m Synchronised", std::nullopt},
        {"Women's 10m Synchro Platform", std::nullopt},
        {"Mixed 3m", std::nullopt},
        {"Team event", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [cell, event] : cases)
        EXPECT_EQ(EventOfCell(cell), event) << cell;
}

TEST(Names, BothStylesAndEveryWordInCapitals) {
    const struct {
        std::string_view written, surname, given;
    } cases[] = {
        {"SMITH, John", "SMITH", "John"},
        {"van der Berg , Anna Maria", "van der Berg", "Anna Maria"},
        {"SMITH John", "SMITH", "John"},
        {"LOPEZ GARCIA Jose Luis", "LOPEZ GARCIA", "Jose Luis"},
        {"McDONALD Ewan", "McDONALD", "Ewan"},
        {"CHEN YI HAO", "CHEN YI", "HAO"},
        {"PELE", "PELE", ""},
        {"Anna SMITH", "SMITH", "Anna"},
        {"Anna Maria Smith", "Smith", "Anna Maria"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const PersonName name = SplitFullName(c.written);
        EXPECT_EQ(name.surname, c.surname) << c.written;
        EXPECT_EQ(name.given, c.given) << c.written;
    }
}

TEST(Events, NamesAsPeopleWriteThem) {
    const std::pair<std::string_view, std::optional<int>> cases[] = {
        // The parts in any order and form, a round or other words around them.
        {"men's 3m springboard - Final", 1},
        {"Men 3 m Springboard (Semifinal)", 1},
        {"3m springboard men", 1},
        {"Male 3 metre", 1},
        {"Springboard 3 Meter Men Preliminary", 1},
        {"M 3m", 1},
        {"Women's Platform 10m", 4},
        {"women\xE2\x80\x99s 10 m platform final", 4},
        {"Platform - Women", 4},
        {"Female High Board", 4},
        {"Women's Springboard", 2},
        {"10M MEN", 3},
        {"Men 10m Platform Final", 3},
        {"Ladies 3m Springboard", 2},
        // Other events and names that say two things.
        {"Men's 3m Synchronized", std::nullopt},
        {"Women 10m synchro platform final", std::nullopt},
        {"Team Event 3m/10m", std::nullopt},
        {"Mixed 3m Springboard", std::nullopt},
        {"Men 1 m Springboard", std::nullopt},
        {"Men 1m", std::nullopt},
        {"Women 5m Platform", std::nullopt},
        {"Women 7.5m Platform", std::nullopt},
        {"Men Women 3m", std::nullopt},
        {"Men 3m Platform", std::nullopt},
        {"Women 10m Springboard", std::nullopt},
        {"Men 3m 10m", std::nullopt},
        {"Springboard Platform Men", std::nullopt},
        {"3m Springboard", std::nullopt},
        {"Men's Final", std::nullopt},
        {"Boys 3m Springboard", std::nullopt},
    };
    for (const auto& [cell, event] : cases)
        EXPECT_EQ(EventOfCell(cell), event) << cell;
}

TEST(Names, ParticlesBelongToTheSurname) {
    const struct {
        std::string_view written, surname, given;
    } cases[] = {
        {"van DUIJN Celine", "van DUIJN", "Celine"},
        {"dos SANTOS Anna", "dos SANTOS", "Anna"},
        {"Mc GING Ciara", "Mc GING", "Ciara"},
        {"St. CYR Jean", "St. CYR", "Jean"},
        {"del ANGEL PENICHE Viviana", "del ANGEL PENICHE", "Viviana"},
        {"DEL ANGEL PENICHE Viviana", "DEL ANGEL PENICHE", "Viviana"},
        {"de la CRUZ Ana", "de la CRUZ", "Ana"},
        {"van DUIJN CELINE", "van DUIJN", "CELINE"},
        {"van DUIJN", "van DUIJN", ""},
        {"Celine van DUIJN", "van DUIJN", "Celine"},
        {"Ciara Mc GING", "Mc GING", "Ciara"},
        {"Maria da Silva", "da Silva", "Maria"},
        // Not particles: not before a surname, or a capitals word of its own.
        {"van Duijn Celine", "Celine", "van Duijn"},
        {"LE Thi Anh", "LE", "Thi Anh"},
        {"Mac Anna Smith", "Smith", "Mac Anna"},
    };
    for (const auto& c : cases) {
        const PersonName name = SplitFullName(c.written);
        EXPECT_EQ(name.surname, c.surname) << c.written;
        EXPECT_EQ(name.given, c.given) << c.written;
    }
}

TEST(Names, SurnameFirstScriptsKeepTheirOrder) {
    const struct {
        std::string_view written, surname, given;
    } cases[] = {
        {"\xE5\xBC\xB5 \xE5\x81\x89", "zhang", "wei"},                   // 張 偉
        {"\xE5\xBC\xB5\xE5\x81\x89", "zhang", "wei"},                    // 張偉
        {"\xE9\x99\x88\xE8\x89\xBE\xE6\xA3\xAE", "chen", "aisen"},       // 陈艾森
        {"\xE5\xB1\xB1\xE7\x94\xB0\xE3\x80\x80\xE5\xA4\xAA\xE9\x83\x8E", // 山田　太郎
         "shantian", "tailang"},
        {"\xEA\xB9\x80\xEC\x97\xB0\xEC\x95\x84", "gim", "yeon-a"}, // 김연아
        {"\xE3\x82\x84\xE3\x81\xBE\xE3\x81\xA0", "yamada", ""},    // やまだ
        // Latin letters, alone or mixed in, follow the usual rules.
        {"ZHANG Wei", "ZHANG", "Wei"},
        {"Wei \xE5\xBC\xB5", "zhang", "Wei"},
        {"M\xC3\x9CLLER J\xC3\xBCrgen", "MULLER", "Jurgen"},
    };
    AsciiFolder folder;
    for (const auto& c : cases) {
        const PersonName name = SplitWrittenName(c.written, folder);
        EXPECT_EQ(name.surname, c.surname) << c.written;
        EXPECT_EQ(name.given, c.given) << c.written;
    }
    EXPECT_FALSE(IsSurnameFirstScript("123 -"));
}

TEST(Names, ReducedToPlainAsciiByTransliteration) {
    AsciiFolder folder;
    EXPECT_EQ(folder.Fold("  M\xC3\x9CLLER \t J\xC3\xBCrgen "), "MULLER Jurgen");
    EXPECT_EQ(folder.Fold("\xC3\x98"
                          "deg\xC3\xA5rd Stra\xC3\x9F"
                          "e"),
              "Odegard Strasse");
    EXPECT_EQ(folder.Fold("Dvo\xC5\x99\xC3\xA1kov\xC3\xA1 \xC3\x87"
                          "elik"),
              "Dvorakova Celik");
    // A combining accent, Cyrillic, and a symbol that has no ASCII form.
    EXPECT_EQ(folder.Fold("Jose\xCC\x81 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD \xE2\x98\x85"),
              "Jose Ivan");
    EXPECT_EQ(Capitals("O'brien-smith"), "O'BRIEN-SMITH");
}

} // namespace
} // namespace corvane
