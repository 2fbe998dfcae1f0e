// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter.h"

#include "store/number_text.h"

namespace corvane {

namespace {

// Consumes `piece` from the front of `text`; false when `text` does not start with it.
bool TakePrefix(std::string_view& text, std::string_view piece) {
    if (!text.starts_with(piece))
        return false;
    text.remove_prefix(piece.size());
    return true;
}

// Consumes "SURNAME, GIVEN" from the front of `text`.
bool TakeName(std::string_view& text, const DiverEntry& diver) {
    return TakePrefix(text, diver.Surname.view()) && TakePrefix(text, ", ") &&
           TakePrefix(text, diver.GivenName.view());
}

} // namespace

bool IsDiverLabel(std::string_view text, const DiverEntry& diver) {
    return TakeName(text, diver) && TakePrefix(text, " [") &&
           TakePrefix(text, diver.Nation.view()) && text == "]";
}

bool PassesFilter(const DiverEntry& diver, const FilterSelection& filter) {
    if (filter.countryIndex != 0 && diver.Nation.view() != filter.country)
        return false;
    return filter.diverIndex == 0 || IsDiverLabel(filter.diver, diver);
}

bool PassesBreakdownFilter(const DiverEntry& diver, const FilterSelection& filter) {
    return PassesFilter(diver, filter) && !IsBlank(diver.Nation.view());
}

} // namespace corvane
