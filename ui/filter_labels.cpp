// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filter_labels.h"

#include "rawdata/roster.h"

namespace corvane {

PackedTexts NationLabels(const std::vector<std::string>& countryItems) {
    PackedTexts nations;
    for (const std::string& nation : countryItems) {
        nations.Append(nation);
    }
    return nations;
}

PackedTexts DiverLabels(const DiverGrid& diverGrid, std::optional<std::string_view> nation) {
    const auto listed = [nation](const DiverEntry& diver) {
        return !nation || diver.Nation == *nation;
    };
    // Sized first: grown by doubling, the block of 100,000 labels would take a third more.
    std::size_t count = 0;
    std::size_t bytes = 0;
    for (int row = 1; row < diverGrid.RowCount(); ++row) {
        if (listed(diverGrid.Diver(row))) {
            ++count;
            bytes += DiverLabelSize(diverGrid.Diver(row));
        }
    }
    PackedTexts labels;
    labels.Reserve(count, bytes);
    for (int row = 1; row < diverGrid.RowCount(); ++row) {
        if (listed(diverGrid.Diver(row))) {
            labels.Append(DiverLabel(diverGrid.Diver(row)));
        }
    }
    return labels;
}

} // namespace corvane
