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

void PackedTexts::Replace(std::size_t i, std::string_view text) {
    const std::uint32_t from = starts_[i];
    const std::uint32_t length = starts_[i + 1] - from;
    bytes_.replace(from, length, text);
    const auto newLength = static_cast<std::uint32_t>(text.size());
    for (std::size_t k = i + 1; k < starts_.size(); ++k)
        starts_[k] = starts_[k] - length + newLength;
}

std::string_view FilterEntryModel::Text(std::uint32_t text) const {
    for (const PackedTexts& block : blocks_) {
        if (text < block.Size())
            return block.At(text);
        text -= static_cast<std::uint32_t>(block.Size());
    }
    return {};
}

PackedTexts& FilterEntryModel::BlockOf(std::uint32_t& text) {
    for (PackedTexts& block : blocks_) {
        if (text < block.Size())
            return block;
        text -= static_cast<std::uint32_t>(block.Size());
    }
    return blocks_.back(); // not reached: every entry's number is below TextCount()
}

std::uint32_t FilterEntryModel::TextCount() const {
    std::size_t count = 0;
    for (const PackedTexts& block : blocks_)
        count += block.Size();
    return static_cast<std::uint32_t>(count);
}

int FilterEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
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
    std::uint32_t inBlock = rows_[static_cast<std::size_t>(index.row())];
    PackedTexts& block = BlockOf(inBlock);
    block.Replace(inBlock, bytes);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool FilterEntryModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (count < 1 || row < 0 || row > rowCount(parent) || parent.isValid())
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    // The new empty texts get a block of their own, so no other entry's text moves.
    const std::uint32_t first = TextCount();
    PackedTexts& block = blocks_.emplace_back();
    std::vector<std::uint32_t> added(static_cast<std::size_t>(count));
    for (std::uint32_t& text : added) {
        text = first + static_cast<std::uint32_t>(block.Size());
        block.Append({});
    }
    rows_.insert(rows_.begin() + row, added.begin(), added.end());
    endInsertRows();
    return true;
}

bool FilterEntryModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (count <= 0 || row < 0 || row + count > rowCount(parent) || parent.isValid())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    if (rows_.empty()) {
        std::vector<PackedTexts>().swap(blocks_);
        std::vector<std::uint32_t>().swap(rows_);
    }
    endRemoveRows();
    return true;
}

void FilterEntryModel::MergeSorted(PackedTexts added) {
    // The added texts are numbered after the entries' texts, in their order: a stable sort
    // of the entries' numbers followed by theirs keeps equal texts in that order.
    const std::uint32_t first = TextCount();
    const std::size_t addedCount = added.Size();
    std::vector<std::uint32_t> order;
    order.reserve(rows_.size() + addedCount);
    order.assign(rows_.begin(), rows_.end());
    order.resize(rows_.size() + addedCount);
    std::iota(order.begin() + static_cast<std::ptrdiff_t>(rows_.size()), order.end(), first);
    blocks_.push_back(std::move(added));
    std::stable_sort(order.begin(), order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return Text(a) < Text(b); });
    beginResetModel();
    rows_ = std::move(order);
    endResetModel();
}

} // namespace corvane
