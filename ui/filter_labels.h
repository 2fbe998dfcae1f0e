// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/filter_lists.h"
#include "ui/filter_combo_model.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The items of the country list: the nations of the filter lists, in their order.
PackedTexts NationLabels(const std::vector<std::string>& countryItems);
// The items of the diver list: the labels of the diver grid's rows 1.., of one nation's
// divers or of all.
PackedTexts DiverLabels(const DiverGrid& diverGrid, std::optional<std::string_view> nation);

} // namespace corvane
