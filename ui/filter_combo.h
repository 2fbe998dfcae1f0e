// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/filter_combo_model.h"

#include <QComboBox>

#include <functional>
#include <optional>

namespace corvane {

// A filter list (countries or diver labels): selection only, entries kept in byte order so
// that "***ALL***" stays first, 20 flat 16-pixel entries visible in a list wider than the box,
// and an incremental search of its own by typed letters, with the list open or closed.
class FilterCombo : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kVisibleEntries = 20;
    static constexpr int kListWidth = 260;
    static constexpr int kEntryHeight = 16;
    // A pause this long without a key starts a new search.
    static constexpr qint64 kSearchPauseMs = 500;

    // Milliseconds on a clock that never goes back; the search measures its pause with it.
    using Clock = std::function<qint64()>;

    explicit FilterCombo(QWidget* parent = nullptr);

    // Measures the pause between typed keys with `clock` instead of the system's steady clock,
    // so that a test moves time on rather than waiting for it.
    void SetClock(Clock clock);

    // Inserts `text` at its sorted place, after any equal entries.
    void AddSorted(const QString& text);
    // AddSorted for each of `texts` (Latin-1) in turn, with the work of one merge: a list of
    // 100,000 divers must not cost an insertion in the middle of the list per diver.
    void AddAllSorted(PackedTexts texts);
    // Leaves the single entry "***ALL***", selected.
    void ResetToAll();

    void showPopup() override;

signals:
    // The user changed the selection: in the list, by a key, the wheel or typing. Choosing
    // the entry that is already selected is no change and raises nothing.
    void userChangedSelection(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // Typed letters in the open list search as in the closed box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Extends the search text by the typed text (starting anew after a pause) and selects the
    // first entry that begins with it; false when `event` types no search text.
    bool SearchTyped(const QKeyEvent& event);
    void OnActivated(int index);
    FilterEntryModel& Entries() const;

    QString searchText_;
    Clock clock_;
    std::optional<qint64> lastKeyAt_;
    // Set by every change of the current entry and cleared when a user action begins, so
    // that a user's choice tells a new entry from the one already selected.
    bool changedSinceInput_ = false;
};

} // namespace corvane
