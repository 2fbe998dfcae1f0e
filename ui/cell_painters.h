// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/string_grid.h"
#include "analysis/thresholds.h"

#include <cstdint>
#include <string>

namespace corvane {

// Colours as 0xRRGGBB.
namespace colours {
inline constexpr std::uint32_t kHeaderBlue = 0x5EAAF7;
inline constexpr std::uint32_t kGridBackground = 0xB3D7FB;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kPink = 0xFF99FF;
inline constexpr std::uint32_t kBlue = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kYellow = 0xFFFF00;
inline constexpr std::uint32_t kBlack = 0x000000;
} // namespace colours

// What one cell looks like, decided apart from drawing it.
struct CellLook {
    std::uint32_t background = colours::kBlack;
    std::uint32_t textColour = colours::kBlack;
    bool bold = false;
    bool drawText = true;
    std::string text;         // what is drawn ("%" and "...dbl click..." included)
    bool frame = false;       // the green frame of the current cell
    bool leftAligned = false; // column 0: left at 2 px; otherwise centred
};

// The event grids. `sortCol` is the sort column of the shown event.
CellLook EventCellLook(const StringGrid& grid, int col, int row, const Thresholds& t, int sortCol,
                       bool isCurrent);
// The one-row summary grid of the breakdown window.
CellLook SummaryCellLook(const StringGrid& grid, int col, int row, const Thresholds& t,
                         bool isCurrent);
// The per-diver grid of the breakdown window. `statsSortCol` -1 marks no header bold.
CellLook DiverCellLook(const StringGrid& grid, int col, int row, const Thresholds& t,
                       int statsSortCol, bool isCurrent);

} // namespace corvane
