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

// The event index (1..4) of an event cell: an id (M3M, W3M, M10M, W10M) or a descriptive
// name in any case and spacing ("Men's 3m Springboard", "women 10m platform", "W 10M").
// Nothing for any other event (1 m, synchro, team, ...).
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
// is in capitals when it holds more capital letters than small ones.
PersonName SplitFullName(std::string_view name);

// ASCII letters in capitals.
std::string Capitals(std::string_view text);

} // namespace corvane
