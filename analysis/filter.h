// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rawdata/roster.h"
#include "store/dive_record.h"

#include <string>
#include <string_view>

namespace corvane {

// What the two filter lists show: index 0 ("***ALL***") restricts nothing.
struct FilterSelection {
    int countryIndex = 0;
    std::string country;
    int diverIndex = 0;
    std::string diver;
};

// Whether a roster entry passes the country and diver selection.
bool PassesFilter(const DiverEntry& diver, const FilterSelection& filter);

// The same, plus a nation that is not blank: the rule of the breakdown and the diver count.
bool PassesBreakdownFilter(const DiverEntry& diver, const FilterSelection& filter);

// Whether `text` is the diver's label ("SURNAME, GIVEN [NAT]"), compared piece by piece so
// that a filtered run builds no label per record.
bool IsDiverLabel(std::string_view text, const DiverEntry& diver);

} // namespace corvane
