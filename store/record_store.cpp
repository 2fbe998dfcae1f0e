// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_store.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

namespace corvane {

namespace {

// Shared by the const and non-const accessors; Store is RecordStore or const RecordStore.
template <typename Store> auto DivesOf(Store& store, int eventIndex) {
    using Record = std::remove_reference_t<decltype(store.M3MDives[0])>;
    switch (eventIndex) {
    case 1:
        return std::span<Record>(store.M3MDives);
    case 2:
        return std::span<Record>(store.W3MDives);
    case 3:
        return std::span<Record>(store.M10MDives);
    case 4:
        return std::span<Record>(store.W10MDives);
    default:
        throw std::out_of_range("event index out of range");
    }
}

} // namespace

std::span<DiveRecord> RecordStore::Dives(int eventIndex) {
    return DivesOf(*this, eventIndex);
}

std::span<const DiveRecord> RecordStore::Dives(int eventIndex) const {
    return DivesOf(*this, eventIndex);
}

std::span<const DiveRecord> RecordStore::Filled(int eventIndex) const {
    const std::span<const DiveRecord> slots = Dives(eventIndex);
    return slots.first(std::min(filled.at(static_cast<std::size_t>(eventIndex - 1)), slots.size()));
}

} // namespace corvane
