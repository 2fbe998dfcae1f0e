// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dive_record.h"
#include "events.h"

#include <array>
#include <span>

namespace corvane {

// The four fixed record arrays. Slot k of an event (1-based) is element k - 1 of its span.
// Every slot starts as an empty record; the loader fills them once, from the front.
struct RecordStore {
    std::array<DiveRecord, kEvents[0].capacity> M3MDives{};
    std::array<DiveRecord, kEvents[1].capacity> W3MDives{};
    std::array<DiveRecord, kEvents[2].capacity> M10MDives{};
    std::array<DiveRecord, kEvents[3].capacity> W10MDives{};

    // How many slots of each event the loader filled. A real line may hold an empty id and
    // an empty code, so an unfilled slot cannot be told apart by its content.
    std::array<std::size_t, kEventCount> filled{};

    // eventIndex is 1..4; the span covers every slot, filled or not (the loader's view).
    std::span<DiveRecord> Dives(int eventIndex);
    std::span<const DiveRecord> Dives(int eventIndex) const;
    // The slots the loader filled, in slot order: what every pass over the records visits.
    std::span<const DiveRecord> Filled(int eventIndex) const;
};

} // namespace corvane
