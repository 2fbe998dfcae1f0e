// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace corvane {

inline constexpr int kWindowFontPixels = 11; // 8 pt
inline constexpr int kLargeFontPixels = 13;  // 10 pt

// The font of both windows: the classic dialog face where it is installed, else the nearest
// plain sans-serif.
QFont WindowFont(int pixelSize, bool bold = false);

} // namespace corvane
