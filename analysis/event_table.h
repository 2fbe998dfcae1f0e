// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The vocabulary of the tables: the columns every step addresses by number, the score bands
// and the filter entry that stands for no restriction.
namespace corvane {

// An event table: one row per dive code under a header row.
inline constexpr int kDiveCol = 0;
inline constexpr int kCountCol = 1;
inline constexpr int kDDCol = 2;
inline constexpr int kAvgPtsCol = 3;
inline constexpr int kAvgScoreCol = 4;
inline constexpr int kBandCount = 10;
inline constexpr int kFirstBandCol = 5;                             // 0 to 1
inline constexpr int kLastBandCol = kFirstBandCol + kBandCount - 1; // >9 to 10
inline constexpr int kDiversCol = 15;
inline constexpr int kEventTableCols = 17; // column 16 is empty and hidden

// The per-diver grid of a breakdown shares the averages and bands of the event table; its
// name, nation and count come first, and two hidden columns keep running totals.
inline constexpr int kDiverNameCol = 0;
inline constexpr int kDiverNationCol = 1;
inline constexpr int kDiverCountCol = 2;
inline constexpr int kRunningPointsCol = 15;
inline constexpr int kRunningDivesCol = 16;

// Entry 0 of both filter lists: no restriction.
inline constexpr std::string_view kAllEntry = "***ALL***";

// The band (0..9) of a score: the first of the limits 1..9 that the score does not exceed,
// else the band above 9. A score that is not a number exceeds no limit and takes band 0.
// Worked out from the whole part of the score held to [1, 10] (a NaN to 1), without a branch
// on the score: this runs for every record of a pass, and scores jump between bands.
constexpr int ScoreBand(double score) {
    const double held = score > 1 ? (score < kBandCount ? score : kBandCount) : 1.0;
    // 1 <= held <= 10: limit L takes (L - 1, L], and above 9 everything takes band 9.
    const int whole = static_cast<int>(held);
    return whole - (whole == held ? 1 : 0);
}

} // namespace corvane
