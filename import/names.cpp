// SPDX-License-Identifier: GPL-3.0-or-later
#include "names.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

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

// An event written as one run of its parts, blanks and signs aside: "M3M", "Men's 3m
// Springboard", "women10metreplatform".
std::optional<int> CompactEventOf(std::string_view squeezed) {
    constexpr std::array<std::string_view, 5> kMen{"m", "men", "mens", "man", "male"};
    constexpr std::array<std::string_view, 6> kWomen{"w",     "women",  "womens",
                                                     "woman", "female", "ladies"};
    const auto withPrefixes = [&](const auto& prefixes, int first) -> std::optional<int> {
        for (const std::string_view prefix : prefixes) {
            if (!squeezed.starts_with(prefix))
                continue;
            if (const auto apparatus = ApparatusOf(squeezed.substr(prefix.size())))
                return first + 2 * *apparatus;
        }
        return std::nullopt;
    };
    // Event indexes: M3M 1, W3M 2, M10M 3, W10M 4.
    if (const auto men = withPrefixes(kMen, 1))
        return men;
    return withPrefixes(kWomen, 2);
}

// The words of an event name in small case: runs of letters and runs of digits, so that
// "3m" and "3 m" are alike; every other character parts words.
std::vector<std::string> EventWords(std::string_view cell) {
    std::vector<std::string> words;
    char last = ' ';
    for (char c : cell) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        const bool letter = c >= 'a' && c <= 'z';
        const bool digit = c >= '0' && c <= '9';
        const bool lastLetter = last >= 'a' && last <= 'z';
        const bool lastDigit = last >= '0' && last <= '9';
        if ((letter && !lastLetter) || (digit && !lastDigit))
            words.emplace_back();
        if (letter || digit)
            words.back() += c;
        last = c;
    }
    return words;
}

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& forms) {
    return std::find(forms.begin(), forms.end(), word) != forms.end();
}

// What the words of an event name say, each part as often as it is said.
struct EventParts {
    int men = 0, women = 0;
    int springboard = 0, platform = 0; // by the apparatus' name
    std::vector<std::string_view> heights;
    bool otherKind = false; // synchronised, team or mixed
};

// Reads a height ("3 m", "10 metre", "3 springboard") at `at`; the unit is passed over.
bool ReadHeight(const std::vector<std::string>& words, std::size_t& at, EventParts& parts) {
    constexpr std::array<std::string_view, 7> kUnits{"m",      "metre",  "meter", "metres",
                                                     "meters", "metros", "mtr"};
    constexpr std::array<std::string_view, 3> kApparatus{"springboard", "platform", "highboard"};
    if (at + 1 >= words.size() || words[at].front() < '0' || words[at].front() > '9')
        return false;
    const std::string_view next = words[at + 1];
    if (!OneOf(next, kUnits) && !OneOf(next, kApparatus))
        return false;
    parts.heights.push_back(words[at]);
    at += OneOf(next, kUnits) ? 1 : 0;
    return true;
}

EventParts PartsOf(const std::vector<std::string>& words) {
    constexpr std::array<std::string_view, 6> kMen{"m", "men", "mens", "man", "male", "males"};
    constexpr std::array<std::string_view, 8> kWomen{"w",      "women",   "womens", "woman",
                                                     "female", "females", "ladies", "lady"};
    constexpr std::array<std::string_view, 10> kOtherKinds{
        "synchronised", "synchronized", "synchro", "synchron", "synch",
        "sync",         "team",         "teams",   "mixed",    "pairs"};
    EventParts parts;
    for (std::size_t at = 0; at < words.size(); ++at) {
        const std::string_view word = words[at];
        if (ReadHeight(words, at, parts))
            continue;
        parts.men += OneOf(word, kMen);
        parts.women += OneOf(word, kWomen);
        parts.springboard += word == "springboard";
        parts.platform += word == "platform" || word == "highboard" ||
                          (word == "high" && at + 1 < words.size() && words[at + 1] == "board");
        parts.otherKind |= OneOf(word, kOtherKinds);
    }
    return parts;
}

// One event when the parts name exactly one men's or women's event and one apparatus, at
// 3 m or 10 m, without contradiction.
std::optional<int> EventOfParts(const EventParts& parts) {
    if (parts.otherKind || (parts.men > 0) == (parts.women > 0))
        return std::nullopt;
    const bool atThree =
        std::find(parts.heights.begin(), parts.heights.end(), "3") != parts.heights.end();
    const bool atTen =
        std::find(parts.heights.begin(), parts.heights.end(), "10") != parts.heights.end();
    const bool otherHeight = std::any_of(parts.heights.begin(), parts.heights.end(),
                                         [](std::string_view h) { return h != "3" && h != "10"; });
    const bool springboard = atThree || parts.springboard > 0;
    const bool platform = atTen || parts.platform > 0;
    if (otherHeight || springboard == platform)
        return std::nullopt;
    // Event indexes: M3M 1, W3M 2, M10M 3, W10M 4.
    return (parts.men > 0 ? 1 : 2) + (platform ? 2 : 0);
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

// Small-case particles that belong to the surname written after them ("van DUIJN",
// "de la CRUZ"), and the prefixes written apart ("Mc GING", "St. CYR").
bool IsParticle(std::string_view word) {
    constexpr std::array<std::string_view, 17> kSmall{"van", "von", "de",  "del", "della", "di",
                                                      "da",  "dos", "das", "du",  "le",    "la",
                                                      "ten", "ter", "der", "den", "des"};
    constexpr std::array<std::string_view, 7> kPrefixes{"Mc", "Mac", "St.", "St",
                                                        "mc", "mac", "st."};
    return std::find(kSmall.begin(), kSmall.end(), word) != kSmall.end() ||
           std::find(kPrefixes.begin(), kPrefixes.end(), word) != kPrefixes.end();
}

bool IsSmallParticle(std::string_view word) {
    return IsParticle(word) &&
           std::none_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// How many words from the first make a surname in capitals: words in capitals, and
// particles that stand before one.
std::size_t LeadingSurname(const std::vector<std::string_view>& words) {
    std::size_t taken = 0;
    for (std::size_t at = 0; at < words.size();) {
        std::size_t word = at;
        while (word < words.size() && IsParticle(words[word]))
            ++word;
        if (word == words.size() || !IsCapitalsWord(words[word]))
            break;
        at = taken = word + 1;
    }
    return taken;
}

// Where the surname starts when the given name comes first: at the trailing words in
// capitals (else the last word), with the particles before it ("Anna van DUIJN", "Maria
// da Silva"); one word at least is left for the given name.
std::size_t TrailingSurnameFrom(const std::vector<std::string_view>& words) {
    std::size_t trailing = 0;
    while (trailing < words.size() && IsCapitalsWord(words[words.size() - 1 - trailing]))
        ++trailing;
    std::size_t from = words.size() - std::max<std::size_t>(trailing, 1);
    while (from > 1 &&
           (trailing > 0 ? IsParticle(words[from - 1]) : IsSmallParticle(words[from - 1])))
        --from;
    return from;
}

// The code points of UTF-8 text, each with its bytes; a byte that starts no valid
// sequence gives a negative code point. Stops when `visit` returns false.
template <typename Visit> void ForEachCodePoint(std::string_view text, Visit visit) {
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t at = 0; at < length;) {
        const int32_t start = at;
        UChar32 c = 0;
        U8_NEXT(text.data(), at, length, c);
        if (!visit(c, text.substr(static_cast<std::size_t>(start),
                                  static_cast<std::size_t>(at - start))))
            return;
    }
}

bool IsKana(UChar32 c) {
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(c, &status);
    return script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA;
}

bool HasKana(std::string_view text) {
    bool kana = false;
    ForEachCodePoint(text, [&](UChar32 c, std::string_view) { return !(kana = IsKana(c)); });
    return kana;
}

std::size_t FirstCharacterSize(std::string_view text) {
    std::size_t size = 0;
    ForEachCodePoint(text, [&](UChar32, std::string_view character) {
        size = character.size();
        return false;
    });
    return size;
}

// The words of a name in a surname-first script: blanks, the ideographic space and commas
// part them.
std::vector<std::string> ScriptWords(std::string_view text) {
    std::vector<std::string> words(1);
    ForEachCodePoint(text, [&](UChar32 c, std::string_view character) {
        if (c == ' ' || c == '\t' || c == ',' || c == 0x3000 || c == 0xFF0C || c == 0x3001) {
            if (!words.back().empty())
                words.emplace_back();
        } else {
            words.back().append(character);
        }
        return true;
    });
    if (words.back().empty())
        words.pop_back();
    return words;
}

// A name word romanised syllable by syllable ("shan tian") as one word ("shantian").
std::string Unspaced(std::string_view text) {
    std::string word;
    std::copy_if(text.begin(), text.end(), std::back_inserter(word),
                 [](char c) { return c != ' '; });
    return word;
}

} // namespace

std::optional<int> EventOfCell(std::string_view cell) {
    if (const auto compact = CompactEventOf(Squeezed(cell)))
        return compact;
    return EventOfParts(PartsOf(EventWords(cell)));
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
    const std::size_t leading = LeadingSurname(words);
    if (n == 0)
        return {};
    if (leading == n) {
        // Every word in capitals: the last one is the given name, unless that would leave
        // the surname nothing but particles ("van DUIJN").
        const bool lastIsGiven =
            n > 1 && std::any_of(words.begin(), words.end() - 1,
                                 [](std::string_view word) { return !IsParticle(word); });
        const std::size_t surnameTo = lastIsGiven ? n - 1 : n;
        return {Joined(words, 0, surnameTo), Joined(words, surnameTo, n)};
    }
    if (leading > 0)
        return {Joined(words, 0, leading), Joined(words, leading, n)};
    const std::size_t surnameFrom = TrailingSurnameFrom(words);
    return {Joined(words, surnameFrom, n), Joined(words, 0, surnameFrom)};
}

bool IsSurnameFirstScript(std::string_view text) {
    bool any = false;
    bool all = true;
    ForEachCodePoint(text, [&](UChar32 c, std::string_view) {
        if (c < 0 || !u_isalpha(c))
            return (all = c >= 0);
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(c, &status);
        all = script == USCRIPT_HAN || script == USCRIPT_HANGUL || IsKana(c);
        any = true;
        return all;
    });
    return any && all;
}

PersonName SplitWrittenName(std::string_view written, AsciiFolder& folder) {
    if (!IsSurnameFirstScript(written))
        return SplitFullName(folder.Fold(written));
    const std::vector<std::string> words = ScriptWords(written);
    if (words.empty())
        return {};
    if (words.size() > 1) {
        std::string given;
        for (std::size_t i = 1; i < words.size(); ++i)
            given += (i == 1 ? "" : " ") + Unspaced(folder.Fold(words[i]));
        return {Unspaced(folder.Fold(words[0])), given};
    }
    // Written without a blank: the first character is the surname, in Chinese and Korean
    // alike; Japanese (with kana) cannot be split so and stays whole.
    const std::string& word = words.front();
    const std::size_t first = FirstCharacterSize(word);
    if (HasKana(word) || first >= word.size())
        return {Unspaced(folder.Fold(word)), {}};
    return {Unspaced(folder.Fold(std::string_view(word).substr(0, first))),
            Unspaced(folder.Fold(std::string_view(word).substr(first)))};
}

std::string Capitals(std::string_view text) {
    std::string capitals(text);
    for (char& c : capitals) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return capitals;
}

namespace {

// Cuts `text` to `capacity` characters, dropping a blank left at the end; true if it cut.
bool CutTo(std::string& text, std::size_t capacity) {
    if (text.size() <= capacity)
        return false;
    text.resize(capacity);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return true;
}

} // namespace

bool CutToRosterWidths(std::string& surname, std::string& given) {
    constexpr std::size_t kSurnameCapacity = 25;
    constexpr std::size_t kGivenNameCapacity = 20;
    const bool cutSurname = CutTo(surname, kSurnameCapacity);
    return CutTo(given, kGivenNameCapacity) || cutSurname;
}

} // namespace corvane
