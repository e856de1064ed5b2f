#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <limits>
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
    // The IDs and names of all items, which the views point into (once the table is finished).
    const QString& text() const { return text_; }

    // Room for `chars` characters of IDs and names.
    void reserve(qsizetype chars) {
        if (chars > text_.size()) text_.resize(chars);
    }
    void append(QStringView id, QStringView name) {
        char16_t* to = room(id.size() + name.size());
        std::copy_n(id.utf16(), id.size(), to);
        std::copy_n(name.utf16(), name.size(), to + id.size());
        addLast(id.size(), name.size());
    }
    // For a reader that decodes straight into the text: room for `chars` more characters after
    // the items there are, into which it writes an item's ID and then its name, and then calls
    // addLast with their sizes.
    char16_t* room(qsizetype chars) {
        if (used_ + chars > text_.size()) text_.resize(std::max(used_ + chars, 2 * text_.size()));
        return reinterpret_cast<char16_t*>(text_.data()) + used_;
    }
    void addLast(qsizetype idSize, qsizetype nameSize) {
        // a file holds at most kMaxDatabaseFileSize bytes: every offset fits
        items_.push_back({qint32(used_), qint32(idSize), qint32(nameSize)});
        used_ += idSize + nameSize;
    }
    // Puts the items of `other`, read from the bytes that follow this table's, behind this
    // table's own; false, with nothing moved, when the two together would hold more records
    // than a table counts.
    bool appendItemsOf(const ItemTable& other) {
        if (qint64(Count()) + other.Count() > std::numeric_limits<qint32>::max()) return false;
        std::copy_n(other.text_.utf16(), other.used_, room(other.used_));
        items_.reserve(items_.size() + other.items_.size());
        for (Item item : other.items_) {
            item.id += qint32(used_);
            items_.push_back(item);
        }
        used_ += other.used_;
        return true;
    }
    // Gives back the room kept for further items.
    void finish() {
        text_.truncate(used_);
        text_.squeeze();
        items_.shrink_to_fit();
    }
    void clear() {
        text_ = QString();
        used_ = 0;
        items_.clear();
    }

private:
    struct Item {
        qint32 id;  // where the ID begins in text_; the name follows it
        qint32 idSize;
        qint32 nameSize;
    };

    QString fileName_;
    int width_;
    QString text_;        // the IDs and names, then (while items are added) room for more
    qsizetype used_ = 0;  // how much of text_ the items use
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
