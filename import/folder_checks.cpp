// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_checks.h"

#include "rawdata/catalogue.h"
#include "store/number_text.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace corvane {

namespace {

// How often one DD occurs for a code on one apparatus, and where it last did.
struct DDCount {
    std::size_t dives = 0;
    std::size_t lastSource = 0;
    std::size_t lastDive = 0;
};

using DDCounts = std::map<std::string, DDCount>; // by DD text
// By code, then apparatus (0: 3 m, 1: 10 m).
using CodeCounts = std::map<std::string, std::array<DDCounts, 2>>;

// A DD as the catalogue writes it, one digit, a point and one digit ("3.50" and "3.5" are
// one DD); nothing for a DD the catalogue cannot hold (a typo such as "35"), which a
// Catalogue.tsv must not carry, or the window would refuse the whole file.
std::optional<std::string> CatalogueText(const std::string& dd) {
    const std::optional<double> value = ParseNumber(dd);
    if (!value || *value < 0 || *value >= 9.95)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *value);
    return text;
}

// Whether a code can stand in Catalogue.tsv: 1 to 5 letters and digits.
bool IsCatalogueCode(const std::string& code) {
    return !code.empty() && code.size() < sizeof(CatalogueEntry::Code) &&
           std::all_of(code.begin(), code.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

std::string Majority(const DDCounts& counts) {
    const auto best = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
        const DDCount& x = a.second;
        const DDCount& y = b.second;
        return std::tie(x.dives, x.lastSource, x.lastDive) <
               std::tie(y.dives, y.lastSource, y.lastDive);
    });
    return best->first;
}

std::string MixedLine(const std::string& code, int apparatus, const DDCounts& counts) {
    std::vector<std::pair<std::string, std::size_t>> order;
    for (const auto& [dd, count] : counts)
        order.emplace_back(dd, count.dives);
    std::stable_sort(order.begin(), order.end(),
                     [](auto& a, auto& b) { return a.second > b.second; });
    std::string line = code + (apparatus == 0 ? " on 3 m: " : " on 10 m: ");
    for (std::size_t i = 0; i < order.size(); ++i)
        line += (i > 0 ? ", " : "") + order[i].first + " in " + std::to_string(order[i].second) +
                (i > 0                  ? ""
                 : order[i].second == 1 ? " dive"
                                        : " dives");
    return line;
}

} // namespace

FolderCatalogue BuildCatalogue(const DataFolder& folder) {
    CodeCounts codes;
    for (const CatalogueEntry& entry : DiveCatalogue)
        codes.try_emplace(entry.Code);
    const std::vector<FolderDive>& dives = folder.Dives();
    for (std::size_t i = 0; i < dives.size(); ++i) {
        const int apparatus =
            EventByIndex(dives[i].event).apparatus == Apparatus::Springboard3m ? 0 : 1;
        const std::optional<std::string> dd = CatalogueText(dives[i].dd);
        if (!dd || !IsCatalogueCode(dives[i].code))
            continue;
        DDCount& count = codes[dives[i].code][apparatus][*dd];
        ++count.dives;
        count.lastSource = dives[i].source;
        count.lastDive = i;
    }
    FolderCatalogue catalogue;
    catalogue.text = "Code\tDD3m\tDD10m\n";
    for (const auto& [code, counts] : codes) {
        catalogue.text += code;
        for (int apparatus = 0; apparatus < 2; ++apparatus) {
            const int event = apparatus == 0 ? 1 : 3;
            std::string dd = counts[apparatus].empty()
                                 ? std::string(CatalogueDD(code, event).value_or("0.0"))
                                 : Majority(counts[apparatus]);
            catalogue.text += '\t' + dd;
            if (counts[apparatus].size() > 1)
                catalogue.mixed.push_back(MixedLine(code, apparatus, counts[apparatus]));
        }
        catalogue.text += '\n';
    }
    return catalogue;
}

namespace {

// Whether two texts are at most `most` insertions, deletions or changes of a letter apart.
bool WithinEdits(const std::string& a, const std::string& b, std::size_t most) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap > most)
        return false;
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()] <= most;
}

std::string Label(const FolderDiver& diver) {
    return diver.id + " " + diver.surname + ", " + diver.given + " [" + diver.nation + "]";
}

// Why two divers of one surname are probably one, or nothing.
const char* Likeness(const FolderDiver& a, const FolderDiver& b) {
    if (a.given == b.given)
        return a.nation == b.nation ? "same name and nation, two ids" : "same name, two nations";
    if (a.nation != b.nation || a.given.empty() || b.given.empty())
        return nullptr;
    const std::size_t shorter = std::min(a.given.size(), b.given.size());
    return WithinEdits(a.given, b.given, shorter >= 5 ? 2 : 1) ? "given names a letter or two apart"
                                                               : nullptr;
}

} // namespace

std::vector<std::string> ProbablySameDivers(const DataFolder& folder) {
    std::map<std::string, std::vector<const FolderDiver*>> bySurname;
    for (const FolderDiver& diver : folder.Divers()) {
        if (!diver.surname.empty())
            bySurname[diver.surname].push_back(&diver);
    }
    std::vector<std::string> lines;
    for (const auto& [surname, divers] : bySurname) {
        for (std::size_t i = 0; i < divers.size(); ++i) {
            for (std::size_t j = i + 1; j < divers.size(); ++j) {
                if (const char* why = Likeness(*divers[i], *divers[j]))
                    lines.push_back(Label(*divers[i]) + " and " + Label(*divers[j]) + " (" + why +
                                    ")");
            }
        }
    }
    return lines;
}

} // namespace corvane
