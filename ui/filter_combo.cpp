// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_combo.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

namespace corvane {

namespace {

constexpr auto kAllEntry = "***ALL***";

// Plain entries of one fixed height, as the classic list draws them.
class FlatEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), FilterCombo::kEntryHeight};
    }
};

} // namespace

FilterCombo::FilterCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setMaxVisibleItems(kVisibleEntries);
    setItemDelegate(new FlatEntryDelegate(this));
    view()->setMinimumWidth(kListWidth);
    // Keep the popup a list below the box: the menu-like popup of some styles ignores the
    // number of visible entries.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
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

void FilterCombo::ResetToAll() {
    clear();
    addItem(QString::fromLatin1(kAllEntry));
    setCurrentIndex(0);
}

} // namespace corvane
