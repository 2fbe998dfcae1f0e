// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace corvane {

enum class Apparatus { Springboard3m, Platform10m };

// One of the four events. Event indexes run 1..4 in this fixed order everywhere:
// loading, tabs, passes and settings keys.
struct EventInfo {
    std::string_view id;
    int capacity;
    Apparatus apparatus;
};

inline constexpr int kEventCount = 4;

inline constexpr std::array<EventInfo, kEventCount> kEvents{{
    {"M3M", 10081, Apparatus::Springboard3m},
    {"W3M", 7358, Apparatus::Springboard3m},
    {"M10M", 8317, Apparatus::Platform10m},
    {"W10M", 6741, Apparatus::Platform10m},
}};

// eventIndex is 1..4.
constexpr const EventInfo& EventByIndex(int eventIndex) {
    return kEvents.at(eventIndex - 1);
}

} // namespace corvane
