// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_combo_model.h"

#include <algorithm>
#include <numeric>

namespace corvane {

void PackedTexts::Append(std::string_view text) {
    bytes_ += text;
    starts_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

void PackedTexts::Reserve(std::size_t texts, std::size_t bytes) {
    starts_.reserve(texts + 1);
    bytes_.reserve(bytes);
}

void PackedTexts::InsertEmpty(std::size_t i, std::size_t count) {
    starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(i), count, starts_[i]);
}

void PackedTexts::Erase(std::size_t i, std::size_t count) {
    const std::uint32_t from = starts_[i];
    const std::uint32_t length = starts_[i + count] - from;
    bytes_.erase(from, length);
    starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(i),
                  starts_.begin() + static_cast<std::ptrdiff_t>(i + count));
    for (std::size_t k = i; k < starts_.size(); ++k)
        starts_[k] -= length;
}

void PackedTexts::Replace(std::size_t i, std::string_view text) {
    const std::uint32_t from = starts_[i];
    const std::uint32_t length = starts_[i + 1] - from;
    bytes_.replace(from, length, text);
    const std::uint32_t newLength = static_cast<std::uint32_t>(text.size());
    for (std::size_t k = i + 1; k < starts_.size(); ++k)
        starts_[k] = starts_[k] - length + newLength;
}

int FilterEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.Size());
}

QVariant FilterEntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const std::string_view entry = Entry(index.row());
    return QString::fromLatin1(entry.data(), static_cast<qsizetype>(entry.size()));
}

Qt::ItemFlags FilterEntryModel::flags(const QModelIndex& index) const {
    // As the string list model that held the entries before marks them.
    if (!index.isValid())
        return QAbstractListModel::flags(index) | Qt::ItemIsDropEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

bool FilterEntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    const QByteArray text = value.toString().toLatin1();
    const std::string_view bytes(text.constData(), static_cast<std::size_t>(text.size()));
    // Writing the text an entry already holds is no change.
    if (Entry(index.row()) == bytes)
        return true;
    entries_.Replace(static_cast<std::size_t>(index.row()), bytes);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool FilterEntryModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (count < 1 || row < 0 || row > rowCount(parent) || parent.isValid())
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    entries_.InsertEmpty(static_cast<std::size_t>(row), static_cast<std::size_t>(count));
    endInsertRows();
    return true;
}

bool FilterEntryModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (count <= 0 || row < 0 || row + count > rowCount(parent) || parent.isValid())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    entries_.Erase(static_cast<std::size_t>(row), static_cast<std::size_t>(count));
    endRemoveRows();
    return true;
}

void FilterEntryModel::MergeSorted(const PackedTexts& added) {
    // Numbers below the entry count stand for entries, the rest for added texts: a stable
    // sort of the numbers by their texts keeps equal texts in that order.
    const std::size_t entryCount = entries_.Size();
    const auto text = [&](std::uint32_t i) {
        return i < entryCount ? entries_.At(i) : added.At(i - entryCount);
    };
    std::vector<std::uint32_t> order(entryCount + added.Size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return text(a) < text(b); });
    PackedTexts merged;
    std::size_t bytes = 0;
    for (const std::uint32_t i : order)
        bytes += text(i).size();
    merged.Reserve(order.size(), bytes);
    for (const std::uint32_t i : order)
        merged.Append(text(i));
    std::vector<std::uint32_t>().swap(order);
    beginResetModel();
    entries_ = std::move(merged);
    endResetModel();
}

} // namespace corvane
