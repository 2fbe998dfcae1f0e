// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_combo.h"

#include "analysis/event_table.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <algorithm>
#include <chrono>
#include <utility>

namespace corvane {

namespace {

// Plain entries of one fixed height, as the classic list draws them.
class FlatEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), FilterCombo::kEntryHeight};
    }
};

char16_t FoldAscii(QChar c) {
    const char16_t unit = c.unicode();
    return (unit >= u'A' && unit <= u'Z') ? char16_t(unit - u'A' + u'a') : unit;
}

// Users type "mex" for MEX: ASCII letters match in either case, every other character exactly.
// The entry is Latin-1, whose bytes are the first 256 characters.
bool BeginsWith(std::string_view entry, const QString& prefix) {
    if (entry.size() < static_cast<std::size_t>(prefix.size())) {
        return false;
    }
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        const QChar c(static_cast<unsigned char>(entry[static_cast<std::size_t>(i)]));
        if (FoldAscii(c) != FoldAscii(prefix.at(i))) {
            return false;
        }
    }
    return true;
}

// Printable text typed without Ctrl, Alt or Meta (those are commands, not letters).
bool TypesText(const QKeyEvent& event) {
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const QString text = event.text();
    if (text.isEmpty() || (event.modifiers() & commands)) {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

qint64 SteadyClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

FilterCombo::FilterCombo(QWidget* parent) : QComboBox(parent), clock_(SteadyClockMs) {
    setEditable(false);
    setMaxVisibleItems(kVisibleEntries);
    // Packed Latin-1 texts: a roster of 100,000 divers costs a fraction of the memory that
    // the default model's items take.
    setModel(new FilterEntryModel(this));
    setItemDelegate(new FlatEntryDelegate(this));
    view()->setMinimumWidth(kListWidth);
    // Keep the popup a list below the box: the menu-like popup of some styles ignores the
    // number of visible entries.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    // The toolkit's own search starts after the current entry and walks on with a repeated
    // letter; the open list searches through ours instead.
    view()->installEventFilter(this);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { changedSinceInput_ = true; });
    connect(this, &QComboBox::activated, this, &FilterCombo::OnActivated);
}

void FilterCombo::SetClock(Clock clock) {
    clock_ = std::move(clock);
    lastKeyAt_.reset();
}

void FilterCombo::AddSorted(const QString& text) {
    // Entries are Latin-1 text, so comparing UTF-16 code units is comparing the bytes.
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(itemText(middle), text, Qt::CaseSensitive) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    insertItem(low, text);
}

void FilterCombo::AddAllSorted(PackedTexts texts) {
    const QString selected = currentText();
    const int selectedIndex = currentIndex();
    Entries().MergeSorted(std::move(texts));
    // The selection follows its entry; an empty list selects its first new entry.
    int index = std::max(selectedIndex, 0);
    while (selectedIndex >= 0 && index < count() && itemText(index) != selected) {
        ++index;
    }
    setCurrentIndex(index < count() ? index : -1);
}

void FilterCombo::ResetToAll() {
    clear();
    addItem(QString::fromLatin1(kAllEntry.data(), static_cast<qsizetype>(kAllEntry.size())));
    setCurrentIndex(0);
}

void FilterCombo::showPopup() {
    changedSinceInput_ = false;
    QComboBox::showPopup();
}

void FilterCombo::keyPressEvent(QKeyEvent* event) {
    changedSinceInput_ = false;
    if (SearchTyped(*event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void FilterCombo::wheelEvent(QWheelEvent* event) {
    changedSinceInput_ = false;
    QComboBox::wheelEvent(event);
}

bool FilterCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && event->type() == QEvent::KeyPress &&
        SearchTyped(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

bool FilterCombo::SearchTyped(const QKeyEvent& event) {
    const qint64 now = clock_();
    const bool continues =
        lastKeyAt_ && now - *lastKeyAt_ < kSearchPauseMs && !searchText_.isEmpty();
    // A blank continues a search; on its own it opens the list, as it always did.
    if (!TypesText(event) || (!continues && event.text().front() == u' ')) {
        return false;
    }
    if (!continues) {
        searchText_.clear();
    }
    searchText_ += event.text();
    lastKeyAt_ = now;
    int match = 0;
    while (match < count() && !BeginsWith(Entries().Entry(match), searchText_)) {
        ++match;
    }
    // No entry begins with it, or the one that does is already selected: nothing changes.
    if (match == count() || match == currentIndex()) {
        return true;
    }
    changedSinceInput_ = false;
    setCurrentIndex(match);
    if (view()->isVisible()) {
        view()->setCurrentIndex(model()->index(match, modelColumn(), rootModelIndex()));
    }
    // The search chose it for the user: it counts as the user's choice.
    emit activated(match);
    emit textActivated(itemText(match));
    return true;
}

FilterEntryModel& FilterCombo::Entries() const {
    return *static_cast<FilterEntryModel*>(model());
}

void FilterCombo::OnActivated(int index) {
    if (std::exchange(changedSinceInput_, false)) {
        emit userChangedSelection(index);
    }
}

} // namespace corvane
