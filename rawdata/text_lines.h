// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lines of the data folder's tab-separated tables (Divers.tsv, Catalogue.tsv).

#include <cstddef>
#include <string_view>

namespace corvane {

// How many lines NextLine takes off `text`: the most rows it can hold, so that rows can be
// reserved once instead of grown by doubling.
std::size_t CountLines(std::string_view text);

// Takes the next line off `text`; CR, LF and CRLF each end a line.
std::string_view NextLine(std::string_view& text);

// `text` without a leading UTF-8 byte-order mark, which a spreadsheet may save.
std::string_view WithoutByteOrderMark(std::string_view text);

} // namespace corvane
