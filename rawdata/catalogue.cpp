// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"

#include "folder_table.h"
#include "store/events.h"
#include "store/file_text.h"
#include "store/number_text.h"
#include "text_lines.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace corvane {

const std::array<CatalogueEntry, kCatalogueSize> DiveCatalogue{{
    {"001A", "1.0", "1.0"},  {"001B", "1.0", "1.0"},  {"001C", "1.0", "1.0"},
    {"002A", "1.0", "1.0"},  {"002B", "1.0", "1.0"},  {"002C", "1.0", "1.0"},
    {"100A", "1.0", "1.0"},  {"100B", "1.0", "1.0"},  {"100C", "1.0", "1.0"},
    {"101A", "1.6", "1.6"},  {"101B", "1.5", "1.5"},  {"101C", "1.4", "1.4"},
    {"102A", "1.7", "1.8"},  {"102B", "1.6", "1.7"},  {"102C", "1.5", "1.6"},
    {"103A", "1.9", "1.9"},  {"103B", "1.6", "1.6"},  {"103C", "1.5", "1.5"},
    {"104A", "2.4", "2.5"},  {"104B", "2.1", "2.2"},  {"104C", "2.0", "2.1"},
    {"105A", "2.8", "2.7"},  {"105B", "2.4", "2.3"},  {"105C", "2.2", "2.1"},
    {"106B", "2.8", "3.0"},  {"106C", "2.5", "2.7"},  {"107B", "3.1", "3.0"},
    {"107C", "2.8", "2.7"},  {"109B", "4.2", "4.1"},  {"109C", "3.8", "3.7"},
    {"112B", "1.8", "1.9"},  {"112C", "1.7", "1.8"},  {"113B", "1.8", "1.8"},
    {"113C", "1.7", "1.7"},  {"114B", "2.3", "2.4"},  {"114C", "2.2", "2.3"},
    {"115B", "2.7", "2.6"},  {"115C", "2.5", "2.4"},  {"116B", "3.2", "3.4"},
    {"116C", "2.9", "3.1"},  {"117B", "3.5", "3.4"},  {"117C", "3.2", "3.1"},
    {"200A", "1.0", "1.0"},  {"200B", "1.0", "1.0"},  {"200C", "1.0", "1.0"},
    {"201A", "1.9", "1.9"},  {"201B", "1.8", "1.8"},  {"201C", "1.7", "1.7"},
    {"202A", "1.8", "1.9"},  {"202B", "1.7", "1.8"},  {"202C", "1.6", "1.7"},
    {"203A", "2.4", "2.4"},  {"203B", "2.2", "2.2"},  {"203C", "1.9", "1.9"},
    {"204A", "2.5", "2.6"},  {"204B", "2.3", "2.4"},  {"204C", "2.0", "2.1"},
    {"205A", "3.4", "3.3"},  {"205B", "3.0", "2.9"},  {"205C", "2.8", "2.7"},
    {"206B", "2.8", "3.0"},  {"206C", "2.5", "2.7"},  {"207B", "3.8", "3.6"},
    {"207C", "3.5", "3.3"},  {"209B", "4.6", "4.5"},  {"209C", "4.3", "4.2"},
    {"212B", "1.8", "1.9"},  {"212C", "1.7", "1.8"},  {"213B", "2.4", "2.4"},
    {"213C", "2.1", "2.1"},  {"214B", "2.5", "2.6"},  {"214C", "2.2", "2.3"},
    {"215B", "3.3", "3.2"},  {"215C", "3.1", "3.0"},  {"301A", "2.0", "2.0"},
    {"301B", "1.9", "1.9"},  {"301C", "1.8", "1.8"},  {"302A", "1.9", "2.0"},
    {"302B", "1.8", "1.9"},  {"302C", "1.7", "1.8"},  {"303A", "2.6", "2.6"},
    {"303B", "2.3", "2.3"},  {"303C", "2.0", "2.0"},  {"304A", "2.7", "2.8"},
    {"304B", "2.4", "2.5"},  {"304C", "2.1", "2.2"},  {"305A", "3.4", "3.3"},
    {"305B", "3.0", "2.9"},  {"305C", "2.8", "2.7"},  {"306B", "2.9", "3.1"},
    {"306C", "2.6", "2.8"},  {"307B", "3.8", "3.6"},  {"307C", "3.5", "3.3"},
    {"309B", "4.8", "4.7"},  {"309C", "4.5", "4.4"},  {"312B", "1.9", "2.0"},
    {"312C", "1.8", "1.9"},  {"313B", "2.5", "2.5"},  {"313C", "2.2", "2.2"},
    {"314B", "2.6", "2.7"},  {"314C", "2.3", "2.4"},  {"315B", "3.3", "3.2"},
    {"315C", "3.1", "3.0"},  {"401A", "1.7", "1.7"},  {"401B", "1.4", "1.4"},
    {"401C", "1.3", "1.3"},  {"402A", "1.8", "1.9"},  {"402B", "1.5", "1.6"},
    {"402C", "1.4", "1.5"},  {"403A", "2.6", "2.5"},  {"403B", "2.1", "2.0"},
    {"403C", "1.9", "1.8"},  {"404A", "3.1", "3.1"},  {"404B", "2.6", "2.6"},
    {"404C", "2.4", "2.4"},  {"405B", "3.0", "2.8"},  {"405C", "2.7", "2.5"},
    {"406B", "3.4", "3.5"},  {"406C", "3.1", "3.2"},  {"407B", "3.7", "3.5"},
    {"407C", "3.4", "3.2"},  {"409B", "4.5", "4.4"},  {"409C", "4.2", "4.1"},
    {"412B", "1.9", "2.0"},  {"412C", "1.8", "1.9"},  {"413B", "2.6", "2.5"},
    {"413C", "2.4", "2.3"},  {"414B", "3.1", "3.1"},  {"414C", "2.9", "2.9"},
    {"415B", "3.7", "3.5"},  {"415C", "3.4", "3.2"},  {"5111A", "2.0", "2.0"},
    {"5111B", "1.9", "1.9"}, {"5111C", "1.8", "1.8"}, {"5112A", "2.2", "2.2"},
    {"5112B", "2.1", "2.1"}, {"5112C", "2.0", "2.0"}, {"5113A", "2.4", "2.4"},
    {"5113B", "2.3", "2.3"}, {"5113C", "2.2", "2.2"}, {"5114A", "2.6", "2.6"},
    {"5114B", "2.5", "2.5"}, {"5114C", "2.4", "2.4"}, {"5121D", "1.8", "1.9"},
    {"5122D", "2.0", "2.1"}, {"5123D", "2.2", "2.3"}, {"5124D", "2.4", "2.5"},
    {"5125D", "2.6", "2.7"}, {"5126D", "2.9", "2.9"}, {"5131D", "1.9", "1.9"},
    {"5132D", "2.1", "2.1"}, {"5133D", "2.3", "2.3"}, {"5134D", "2.5", "2.5"},
    {"5135D", "2.7", "2.7"}, {"5136D", "3.0", "3.0"}, {"5137D", "3.1", "3.1"},
    {"5138D", "3.4", "3.4"}, {"5142D", "2.4", "2.5"}, {"5143D", "2.6", "2.7"},
    {"5144D", "2.8", "2.9"}, {"5145D", "3.0", "3.1"}, {"5146D", "3.2", "3.3"},
    {"5147D", "3.4", "3.5"}, {"5151B", "2.8", "0.0"}, {"5151C", "2.6", "0.0"},
    {"5152B", "3.0", "2.9"}, {"5152C", "2.8", "2.7"}, {"5153B", "3.2", "3.1"},
    {"5153C", "3.0", "2.9"}, {"5154B", "3.4", "3.3"}, {"5154C", "3.2", "3.1"},
    {"5155B", "3.6", "3.5"}, {"5155C", "3.4", "3.3"}, {"5156B", "3.9", "3.8"},
    {"5156C", "3.7", "3.6"}, {"5157B", "4.0", "3.9"}, {"5157C", "3.8", "3.7"},
    {"5158C", "4.0", "3.9"}, {"5162B", "3.2", "3.4"}, {"5162C", "2.9", "3.1"},
    {"5163B", "3.4", "3.6"}, {"5163C", "3.1", "3.3"}, {"5164B", "3.6", "3.8"},
    {"5164C", "3.3", "3.5"}, {"5165B", "3.8", "4.0"}, {"5165C", "3.5", "3.7"},
    {"5166B", "4.0", "4.2"}, {"5166C", "3.7", "3.9"}, {"5172B", "3.7", "3.6"},
    {"5172C", "3.4", "3.3"}, {"5211A", "2.0", "2.0"}, {"5211B", "1.9", "1.9"},
    {"5211C", "1.8", "1.8"}, {"5212A", "2.2", "2.2"}, {"5221D", "1.8", "1.9"},
    {"5222D", "2.0", "2.1"}, {"5223D", "2.4", "2.5"}, {"5225D", "2.8", "2.9"},
    {"5227D", "3.3", "0.0"}, {"5231D", "2.0", "2.0"}, {"5233D", "2.4", "2.4"},
    {"5235D", "2.8", "2.8"}, {"5237D", "3.3", "3.3"}, {"5239D", "3.7", "3.7"},
    {"5251B", "2.7", "2.6"}, {"5251C", "2.5", "2.4"}, {"5253B", "3.3", "3.2"},
    {"5253C", "3.1", "3.0"}, {"5255B", "3.7", "3.6"}, {"5255C", "3.5", "3.4"},
    {"5271B", "0.0", "3.2"}, {"5271C", "0.0", "2.9"}, {"5311A", "2.1", "2.1"},
    {"5311B", "2.0", "2.0"}, {"5311C", "1.9", "1.9"}, {"5312A", "2.3", "2.3"},
    {"5321D", "1.9", "2.0"}, {"5322D", "2.1", "2.2"}, {"5323D", "2.5", "2.6"},
    {"5325D", "2.9", "3.0"}, {"5331D", "2.1", "2.1"}, {"5333D", "2.5", "2.5"},
    {"5335D", "2.9", "2.9"}, {"5337D", "3.4", "3.4"}, {"5339D", "3.8", "3.8"},
    {"5343B", "3.4", "3.4"}, {"5351B", "2.7", "2.6"}, {"5351C", "2.5", "2.4"},
    {"5353B", "3.3", "3.2"}, {"5353C", "3.1", "3.0"}, {"5355B", "3.7", "3.6"},
    {"5355C", "3.5", "3.4"}, {"5371B", "3.4", "3.3"}, {"5371C", "3.1", "3.0"},
    {"5411A", "1.9", "1.9"}, {"5411B", "1.6", "1.6"}, {"5411C", "1.5", "1.5"},
    {"5412A", "2.1", "2.1"}, {"5412B", "1.8", "1.8"}, {"5412C", "1.7", "1.7"},
    {"5421D", "1.7", "1.8"}, {"5422D", "1.9", "2.0"}, {"5432D", "2.4", "2.3"},
    {"5434D", "2.8", "2.7"}, {"5436D", "3.5", "3.4"}, {"600A", "0.0", "1.6"},
    {"611A", "0.0", "2.0"},  {"611B", "0.0", "1.9"},  {"611C", "0.0", "1.7"},
    {"6122D", "0.0", "2.6"}, {"6124D", "0.0", "2.9"}, {"612A", "0.0", "2.0"},
    {"612B", "0.0", "1.9"},  {"612C", "0.0", "1.7"},  {"6142D", "0.0", "3.1"},
    {"6144D", "0.0", "3.4"}, {"614B", "0.0", "2.4"},  {"614C", "0.0", "2.1"},
    {"6162C", "0.0", "3.9"}, {"616B", "0.0", "3.3"},  {"616C", "0.0", "3.1"},
    {"621A", "0.0", "1.9"},  {"621B", "0.0", "1.8"},  {"621C", "0.0", "1.6"},
    {"6221D", "0.0", "1.8"}, {"622A", "0.0", "2.3"},  {"622B", "0.0", "2.2"},
    {"622C", "0.0", "2.0"},  {"623B", "0.0", "2.2"},  {"623C", "0.0", "1.9"},
    {"6241B", "0.0", "2.7"}, {"6241C", "0.0", "2.4"}, {"6243D", "0.0", "3.2"},
    {"6245D", "0.0", "3.6"}, {"624A", "0.0", "3.0"},  {"624B", "0.0", "2.8"},
    {"624C", "0.0", "2.5"},  {"6261B", "0.0", "3.4"}, {"6261C", "0.0", "3.2"},
    {"626B", "0.0", "3.5"},  {"626C", "0.0", "3.3"},  {"631A", "0.0", "2.0"},
    {"631B", "0.0", "1.9"},  {"631C", "0.0", "1.7"},  {"632B", "0.0", "2.3"},
    {"632C", "0.0", "2.1"},  {"633B", "0.0", "2.3"},  {"633C", "0.0", "2.0"},
    {"634B", "0.0", "2.9"},  {"634C", "0.0", "2.6"},  {"636C", "0.0", "3.4"},
    {"888D", "1.0", "1.0"},  {"999D", "1.0", "1.0"},
}};

std::optional<std::string_view> CatalogueDD(std::string_view code, int eventIndex) {
    for (const CatalogueEntry& entry : DiveCatalogue) {
        if (code == entry.Code)
            return std::string_view(EventByIndex(eventIndex).apparatus == Apparatus::Springboard3m
                                        ? entry.DD3m
                                        : entry.DD10m);
    }
    return std::nullopt;
}

DDCatalogue::DDCatalogue(std::vector<CatalogueEntry> rows) : rows_(std::move(rows)) {
    BuildIndex();
}

DDCatalogue::DDCatalogue(const DDCatalogue& other) : rows_(other.rows_) {
    BuildIndex();
}

DDCatalogue& DDCatalogue::operator=(const DDCatalogue& other) {
    if (this != &other) {
        rows_ = other.rows_;
        BuildIndex();
    }
    return *this;
}

void DDCatalogue::BuildIndex() {
    index_.clear();
    index_.reserve(rows_.size());
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const CatalogueEntry& entry = rows_[row];
        // emplace keeps the first row of a code met again.
        index_.emplace(entry.Code,
                       std::pair{row, DDs{CellNumber(entry.DD3m), CellNumber(entry.DD10m)}});
    }
}

const DDCatalogue::DDs* DDCatalogue::FindDDs(std::string_view code) const {
    const auto found = index_.find(code);
    return found == index_.end() ? nullptr : &found->second.second;
}

std::optional<std::string_view> DDCatalogue::DD(std::string_view code, int eventIndex) const {
    const auto found = index_.find(code);
    if (found == index_.end())
        return std::nullopt;
    const CatalogueEntry& entry = rows_[found->second.first];
    return std::string_view(
        EventByIndex(eventIndex).apparatus == Apparatus::Springboard3m ? entry.DD3m : entry.DD10m);
}

const DDCatalogue& BuiltInCatalogue() {
    static const DDCatalogue builtIn(
        std::vector<CatalogueEntry>(DiveCatalogue.begin(), DiveCatalogue.end()));
    return builtIn;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsDiveCode(std::string_view code) {
    return !code.empty() && code.size() < sizeof(CatalogueEntry::Code) &&
           std::all_of(code.begin(), code.end(), [](char c) {
               return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

// "3.5", "0.0": the form of every DD of the built-in catalogue.
bool IsDDText(std::string_view dd) {
    return dd.size() == 3 && IsDigit(dd[0]) && dd[1] == '.' && IsDigit(dd[2]);
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// The row of a line, or what is wrong with it.
std::optional<std::string> ParseCatalogueRow(std::string_view line, CatalogueEntry& entry) {
    const std::size_t tabs = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t'));
    if (tabs != 2)
        return "expected 3 tab-separated fields (Code, DD3m, DD10m), found " +
               std::to_string(tabs + 1);
    const std::size_t first = line.find('\t');
    const std::size_t second = line.find('\t', first + 1);
    const std::string_view code = line.substr(0, first);
    const std::array<std::string_view, 2> dds{line.substr(first + 1, second - first - 1),
                                              line.substr(second + 1)};
    if (!IsDiveCode(code))
        return "the dive code " + Quoted(code) + " is not 1 to 5 letters and digits";
    for (std::size_t i = 0; i < dds.size(); ++i) {
        if (!IsDDText(dds[i]))
            return std::string("the ") + (i == 0 ? "3 m" : "10 m") + " DD " + Quoted(dds[i]) +
                   " of " + std::string(code) + " is not a number such as 2.8 (0.0 for none)";
    }
    entry = CatalogueEntry{};
    std::memcpy(entry.Code, code.data(), code.size());
    std::memcpy(entry.DD3m, dds[0].data(), dds[0].size());
    std::memcpy(entry.DD10m, dds[1].data(), dds[1].size());
    return std::nullopt;
}

std::string LineProblem(int lineNo, const std::string& problem) {
    return "line " + std::to_string(lineNo) + ": " + problem;
}

} // namespace

std::optional<std::string> ParseCatalogue(std::string_view text, DDCatalogue& catalogue) {
    catalogue = DDCatalogue();
    text = WithoutByteOrderMark(text);
    std::vector<CatalogueEntry> rows;
    rows.reserve(std::min(CountLines(text), kMaxCatalogueRows));
    int lineNo = 0;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        ++lineNo;
        if (IsBlank(line) || (lineNo == 1 && line.starts_with("Code\t")))
            continue;
        if (rows.size() == kMaxCatalogueRows)
            return LineProblem(lineNo,
                               "more than " + std::to_string(kMaxCatalogueRows) + " dive codes");
        CatalogueEntry entry;
        if (const auto problem = ParseCatalogueRow(line, entry))
            return LineProblem(lineNo, *problem);
        rows.push_back(entry);
    }
    catalogue = DDCatalogue(std::move(rows));
    return std::nullopt;
}

std::optional<std::string> FillCatalogue(DDCatalogue& catalogue, const std::string& dataDir) {
    return FillFromFolderFile(catalogue, dataDir, kCatalogueFileName, BuiltInCatalogue,
                              ParseCatalogue);
}

} // namespace corvane
