#pragma once

#include <QString>
#include <array>
#include <vector>

#include "model/TableDescriptor.h"

namespace mdb {

// The three optional item tables. Only ItemId and ItemName (ItemField) are used; the
// other fields are read so that each record consumes its full width, and are not kept. The IDs
// and names are copied, one after the other, into one text of their own, so that the decoded
// file need not be kept for them.
class ItemTable {
public:
    explicit ItemTable(const TableDescriptor& descriptor)
        : fileName_(descriptor.fileName), width_(descriptor.width) {}

    const QString& fileName() const { return fileName_; }
    int width() const { return width_; }
    qint32 Count() const { return static_cast<qint32>(items_.size()); }
    QString ItemId(qint32 record) const { return ItemIdView(record).toString(); }
    QString ItemName(qint32 record) const { return ItemNameView(record).toString(); }
    // The same without a copy; valid until the table is cleared, or for as long as a copy of
    // text() is kept.
    QStringView ItemIdView(qint32 record) const {
        const Item& item = items_[size_t(record - 1)];
        return QStringView(text_).sliced(item.id, item.idSize);
    }
    QStringView ItemNameView(qint32 record) const {
        const Item& item = items_[size_t(record - 1)];
        return QStringView(text_).sliced(item.id + item.idSize, item.nameSize);
    }
    // The IDs and names of all items, which the views point into.
    const QString& text() const { return text_; }

    // Room for `chars` characters of IDs and names.
    void reserve(qsizetype chars) { text_.reserve(chars); }
    void append(QStringView id, QStringView name) {
        items_.push_back({text_.size(), id.size(), name.size()});
        text_.append(id);
        text_.append(name);
    }
    // For a reader that decodes straight into the text: it appends an item's ID and then its
    // name to growingText(), then calls addLast with their sizes.
    QString& growingText() { return text_; }
    void addLast(qsizetype idSize, qsizetype nameSize) {
        items_.push_back({text_.size() - idSize - nameSize, idSize, nameSize});
    }
    // Gives back the room kept for further items.
    void finish() {
        text_.squeeze();
        items_.shrink_to_fit();
    }
    void clear() {
        text_ = QString();
        items_.clear();
    }

private:
    struct Item {
        qsizetype id;  // where the ID begins in text_; the name follows it
        qsizetype idSize;
        qsizetype nameSize;
    };

    QString fileName_;
    int width_;
    QString text_;
    std::vector<Item> items_;
};

class ItemDatabase {
public:
    ItemTable ConsumeItemTable{Tables::consumeItems()};
    ItemTable DropItemTable{Tables::dropItems()};
    ItemTable EquipItemTable{Tables::equipItems()};

    // The tables in the order they are read.
    std::array<ItemTable*, 3> loadOrder() {
        return {&ConsumeItemTable, &DropItemTable, &EquipItemTable};
    }
    std::array<const ItemTable*, 3> loadOrder() const {
        return {&ConsumeItemTable, &DropItemTable, &EquipItemTable};
    }
    qint32 totalCount() const {
        return ConsumeItemTable.Count() + DropItemTable.Count() + EquipItemTable.Count();
    }
};

}  // namespace mdb
