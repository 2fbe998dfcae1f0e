// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace corvane {

// Hashes text of any string type, so that a map keyed by strings is searched with a view.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};
template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

// The event index (1..4) of an event cell: an id (M3M, W3M, M10M, W10M) or a name made of
// its parts in any order, case and spacing, with other words (a round) around them: men,
// male, women, female, ladies, W or M; 3m, 3 metre, springboard; 10 m, platform, high
// board ("Men's 3m Springboard - Final", "Women's Platform 10m", "3m springboard men").
// Nothing for any other event (1 m, synchronised, team, mixed) and for a name that says
// two things (men and women, 3 m and platform).
std::optional<int> EventOfCell(std::string_view cell);

// Reduces UTF-8 text to plain ASCII with ICU's transliteration (accents dropped, other
// scripts romanised), keeping letter case; blanks and control characters become single
// spaces, and nothing is left at the ends. Remembers every text it reduced, since a
// spreadsheet names each diver many times.
class AsciiFolder {
public:
    AsciiFolder();
    ~AsciiFolder();
    AsciiFolder(const AsciiFolder&) = delete;
    AsciiFolder& operator=(const AsciiFolder&) = delete;

    const std::string& Fold(std::string_view text);

private:
    std::string Transliterate(std::string_view text);

    struct Rules; // ICU's transliterator, made at the first text beyond ASCII
    std::unique_ptr<Rules> rules_;
    TextMap<std::string> folded_;
};

// A diver's name as the roster keeps it.
struct PersonName {
    std::string surname;
    std::string given;
};

// Splits a full name (plain ASCII, blanks single): "SURNAME, Given" at its first comma;
// else the leading words in capitals are the surname and the rest the given name; when
// every word is in capitals, the last word is the given name; when the first word is not in
// capitals, the trailing words in capitals (or else the last word) are the surname. A word
// is in capitals when it holds more capital letters than small ones. Particles before a
// surname belong to it: van, von, de, del, della, di, da, dos, das, du, le, la, ten, ter,
// der, den, des in small letters, and Mc, Mac, St. before a word in capitals ("van DUIJN
// Celine", "Mc GING Ciara", "Anna van DUIJN").
PersonName SplitFullName(std::string_view name);

// Whether every letter of UTF-8 text is Chinese, Japanese or Korean: scripts that write
// the family name first. False for text without letters.
bool IsSurnameFirstScript(std::string_view text);

// Splits a full name as written (UTF-8) and reduces it to plain ASCII with `folder`: a
// name in a surname-first script keeps its order (the first word, or the first character
// of a Chinese or Korean name written without a blank, is the surname; each word's
// syllables are joined: "山田 太郎" gives "shantian", "tailang"); any other name is folded and
// split by SplitFullName.
PersonName SplitWrittenName(std::string_view written, AsciiFolder& folder);

// ASCII letters in capitals.
std::string Capitals(std::string_view text);

// Cuts a name to what the roster holds (25 characters of surname, 20 of given name), dropping
// a blank left at the end of a part. Returns whether either part was cut.
bool CutToRosterWidths(std::string& surname, std::string& given);

} // namespace corvane
