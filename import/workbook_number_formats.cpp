// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbook_number_formats.h"

#include "workbook_reader.h"

namespace corvane {

namespace {

// The built-in formats of Office Open XML that show decimals: 0.00, #,##0.00 and the
// accounting forms of #,##0.00.
int BuiltInDecimals(std::size_t id) {
    return (id == 2 || id == 4 || id == 39 || id == 40) ? 2 : 0;
}

// The first section of a format code (the one for positive numbers), with quoted text,
// escaped characters and bracketed parts ([Red], [$-409]) taken out.
std::string PositiveSection(std::string_view code) {
    std::string section;
    for (std::size_t at = 0; at < code.size(); ++at) {
        const char c = code[at];
        if (c == ';')
            break;
        if (c == '"')
            at = std::min(code.size(), code.find('"', at + 1));
        else if (c == '[')
            at = std::min(code.size(), code.find(']', at + 1));
        else if (c == '\\' || c == '_' || c == '*')
            ++at;
        else
            section += c;
    }
    return section;
}

} // namespace

int MinDecimalsOf(std::string_view code) {
    const std::string section = PositiveSection(code);
    // Percentages, scientific, date and time formats show the number otherwise.
    if (section.find_first_of("%Ee@yYmMdDhHsS") != std::string::npos)
        return 0;
    const std::size_t point = section.find('.');
    if (point == std::string::npos)
        return 0;
    int decimals = 0;
    for (std::size_t at = point + 1; at < section.size() && section[at] == '0'; ++at)
        ++decimals;
    return decimals;
}

int NumberFormats::MinDecimals(std::size_t xf) const {
    if (xf >= xfFormats_.size())
        return 0;
    const std::size_t id = xfFormats_[xf];
    const auto code = codes_.find(id);
    return code != codes_.end() ? MinDecimalsOf(code->second) : BuiltInDecimals(id);
}

std::size_t NumberFormats::commit_number_format() {
    // An XLSX format names its id; an ODS one is referred to by the number returned here,
    // kept apart from the built-in ids.
    constexpr std::size_t kFirstUnnamed = 1 << 20;
    const std::size_t id = formatId_ != kNoId ? formatId_ : kFirstUnnamed + codes_.size();
    codes_[id] = code_;
    formatId_ = kNoId;
    code_.clear();
    return id;
}

std::size_t NumberFormats::commit_cell_xf() {
    xfFormats_.push_back(xfFormat_);
    xfFormat_ = 0;
    return xfFormats_.size() - 1;
}

std::size_t NumberFormats::commit_cell_style_xf() {
    xfFormat_ = 0;
    return styleXfs_++;
}

std::size_t NumberFormats::commit_dxf() {
    xfFormat_ = 0;
    return dxfs_++;
}

} // namespace corvane
