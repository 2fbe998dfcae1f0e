// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

namespace corvane {

// A filter list (countries or diver labels): selection only, entries kept in byte order so
// that "***ALL***" stays first, 20 flat 16-pixel entries visible in a list wider than the box.
class FilterCombo : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kVisibleEntries = 20;
    static constexpr int kListWidth = 260;
    static constexpr int kEntryHeight = 16;

    explicit FilterCombo(QWidget* parent = nullptr);

    // Inserts `text` at its sorted place, after any equal entries.
    void AddSorted(const QString& text);
    // Leaves the single entry "***ALL***", selected.
    void ResetToAll();
};

} // namespace corvane
