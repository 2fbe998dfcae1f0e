// SPDX-License-Identifier: GPL-3.0-or-later
#include "names.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <vector>

namespace corvane {

namespace {

// Any script to Latin, accents split off and dropped, then Latin letters to ASCII
// (ß to ss, Ø to O, Æ to AE, ...).
constexpr const char* kToAscii = "Any-Latin; NFD; [:Nonspacing Mark:] Remove; NFC; Latin-ASCII";

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Single spaces for runs of blanks and control characters, none at the ends; bytes beyond
// ASCII that transliteration left (symbols, emoji) are dropped.
std::string TidyAscii(std::string_view text) {
    std::string tidy;
    tidy.reserve(text.size());
    bool space = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || byte == 0x7F)
            continue;
        if (byte <= ' ') {
            space = !tidy.empty();
            continue;
        }
        if (space)
            tidy += ' ';
        space = false;
        tidy += c;
    }
    return tidy;
}

// Letters and digits of a small-case copy; what an event name comes down to.
std::string Squeezed(std::string_view cell) {
    std::string squeezed;
    for (const char c : cell) {
        if (c >= 'A' && c <= 'Z')
            squeezed += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            squeezed += c;
    }
    return squeezed;
}

// The apparatus part of an event name after the men's or women's part: 0 for 3 m
// springboard, 1 for 10 m platform.
std::optional<int> ApparatusOf(std::string_view rest) {
    constexpr std::array<std::string_view, 4> kUnits{"m", "metre", "meter", "metres"};
    const struct {
        std::string_view height, apparatus;
        int index;
    } kApparatus[] = {{"3", "springboard", 0}, {"10", "platform", 1}};
    for (const auto& entry : kApparatus) {
        for (const std::string_view unit : kUnits) {
            const std::string bare = std::string(entry.height) + std::string(unit);
            if (rest == bare || rest == bare + std::string(entry.apparatus))
                return entry.index;
        }
    }
    return std::nullopt;
}

bool IsCapitalsWord(std::string_view word) {
    int capitals = 0, small = 0;
    for (const char c : word) {
        capitals += c >= 'A' && c <= 'Z';
        small += c >= 'a' && c <= 'z';
    }
    return capitals > small;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t space = std::min(text.find(' ', start), text.size());
        if (space > start)
            words.push_back(text.substr(start, space - start));
        start = space + 1;
    }
    return words;
}

std::string Joined(const std::vector<std::string_view>& words, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i)
        text += (i == from ? "" : " ") + std::string(words[i]);
    return text;
}

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

} // namespace

std::optional<int> EventOfCell(std::string_view cell) {
    const std::string squeezed = Squeezed(cell);
    constexpr std::array<std::string_view, 5> kMen{"m", "men", "mens", "man", "male"};
    constexpr std::array<std::string_view, 6> kWomen{"w",     "women",  "womens",
                                                     "woman", "female", "ladies"};
    const auto withPrefixes = [&](const auto& prefixes, int first) -> std::optional<int> {
        for (const std::string_view prefix : prefixes) {
            if (!squeezed.starts_with(prefix))
                continue;
            if (const auto apparatus =
                    ApparatusOf(std::string_view(squeezed).substr(prefix.size())))
                return first + 2 * *apparatus;
        }
        return std::nullopt;
    };
    // Event indexes: M3M 1, W3M 2, M10M 3, W10M 4.
    if (const auto men = withPrefixes(kMen, 1))
        return men;
    return withPrefixes(kWomen, 2);
}

struct AsciiFolder::Rules {
    std::unique_ptr<icu::Transliterator> transliterator;
};

AsciiFolder::AsciiFolder() = default;
AsciiFolder::~AsciiFolder() = default;

const std::string& AsciiFolder::Fold(std::string_view text) {
    const auto known = folded_.find(text);
    if (known != folded_.end())
        return known->second;
    std::string folded = TidyAscii(IsAscii(text) ? text : Transliterate(text));
    return folded_.emplace(std::string(text), std::move(folded)).first->second;
}

std::string AsciiFolder::Transliterate(std::string_view text) {
    if (!rules_) {
        // Costly to make (ICU loads its rules), so only once and only when needed.
        rules_ = std::make_unique<Rules>();
        UErrorCode status = U_ZERO_ERROR;
        rules_->transliterator.reset(
            icu::Transliterator::createInstance(kToAscii, UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            rules_->transliterator.reset();
    }
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    if (rules_->transliterator)
        rules_->transliterator->transliterate(unicode);
    std::string ascii;
    unicode.toUTF8String(ascii);
    return ascii;
}

PersonName SplitFullName(std::string_view name) {
    if (const std::size_t comma = name.find(','); comma != std::string_view::npos)
        return {Trimmed(name.substr(0, comma)), Trimmed(name.substr(comma + 1))};
    const std::vector<std::string_view> words = Words(name);
    const std::size_t n = words.size();
    std::size_t leading = 0;
    while (leading < n && IsCapitalsWord(words[leading]))
        ++leading;
    if (n == 0)
        return {};
    if (leading == n)
        return n == 1 ? PersonName{Joined(words, 0, 1), {}}
                      : PersonName{Joined(words, 0, n - 1), Joined(words, n - 1, n)};
    if (leading > 0)
        return {Joined(words, 0, leading), Joined(words, leading, n)};
    std::size_t trailing = 0;
    while (trailing < n && IsCapitalsWord(words[n - 1 - trailing]))
        ++trailing;
    const std::size_t surnameFrom = n - std::max<std::size_t>(trailing, 1);
    return {Joined(words, surnameFrom, n), Joined(words, 0, surnameFrom)};
}

std::string Capitals(std::string_view text) {
    std::string capitals(text);
    for (char& c : capitals) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return capitals;
}

} // namespace corvane
