// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_lines.h"

#include <algorithm>

namespace corvane {

std::size_t CountLines(std::string_view text) {
    std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos;
         cr = text.find('\r', cr + 1)) {
        if (cr + 1 == text.size() || text[cr + 1] != '\n')
            ++lines;
    }
    return lines;
}

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == '\r' && text.substr(end + 1).starts_with('\n');
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

} // namespace corvane
