// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "string_grid.h"

#include <string>

namespace corvane {

// A grid as tab-separated text for a spreadsheet: rows 0..last, columns 0..columnCount-1,
// every field followed by a tab, lines joined by CR LF, none after the last line.
std::string TableText(const StringGrid& grid, int columnCount);

} // namespace corvane
