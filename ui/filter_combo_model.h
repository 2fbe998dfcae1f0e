// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Latin-1 texts packed in one block: a list of 100,000 diver labels costs its bytes and four
// more per text, where a QString each costs about four times as much.
class PackedTexts {
public:
    void Append(std::string_view text);
    void Reserve(std::size_t texts, std::size_t bytes);
    std::size_t Size() const { return starts_.size() - 1; }
    std::string_view At(std::size_t i) const {
        return std::string_view(bytes_).substr(starts_[i], starts_[i + 1] - starts_[i]);
    }
    void Replace(std::size_t i, std::string_view text);

private:
    std::string bytes_;
    std::vector<std::uint32_t> starts_{0}; // text i is bytes_[starts_[i], starts_[i + 1])
};

// The entries of a filter list, as the string list model holds them but packed: the texts
// stay in the blocks they were handed in, and the list is an order of text numbers, so a
// merge of 100,000 labels sorts numbers and copies no text.
class FilterEntryModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool insertRows(int row, int count, const QModelIndex& parent) override;
    bool removeRows(int row, int count, const QModelIndex& parent) override;

    std::string_view Entry(int row) const { return Text(rows_[static_cast<std::size_t>(row)]); }
    // The entries and `added` in byte order, equal texts in their order with the entries
    // first: what inserting each of `added` after its equals would give. Resets the model.
    void MergeSorted(PackedTexts added);

private:
    // Text number `text` counts through the blocks in turn.
    std::string_view Text(std::uint32_t text) const;
    PackedTexts& BlockOf(std::uint32_t& text);
    std::uint32_t TextCount() const;

    // A removed entry's text stays in its block until the list is empty.
    std::vector<PackedTexts> blocks_;
    std::vector<std::uint32_t> rows_; // the text number of each entry
};

} // namespace corvane
