#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "model/TableDescriptor.h"

namespace mdb {

// The IDs and names of the items of one read, one after the other in one text, so that the
// decoded file need not be kept for them. A table shares them with the lists that show them: a
// later read gives the table new ones and leaves those of the lists as they are.
struct ItemTexts {
    struct Item {
        qint32 id;  // where the ID begins in text; the name follows it
        qint32 idSize;
        qint32 nameSize;
    };
    QString text;  // the IDs and names, then (while items are added) room for more
    std::vector<Item> items;

    qsizetype size() const { return qsizetype(items.size()); }
    // Item i, from 0.
    QStringView id(qsizetype i) const {
        const Item& item = items[size_t(i)];
        return QStringView(text).sliced(item.id, item.idSize);
    }
    QStringView name(qsizetype i) const {
        const Item& item = items[size_t(i)];
        return QStringView(text).sliced(item.id + item.idSize, item.nameSize);
    }
};

// The three optional item tables. Only ItemId and ItemName (ItemField) are used; the
// other fields are read so that each record consumes its full width, and are not kept.
class ItemTable {
public:
    explicit ItemTable(const TableDescriptor& descriptor)
        : fileName_(descriptor.fileName), width_(descriptor.width) {}
    // A copy would share the texts it adds to.
    ItemTable(const ItemTable&) = delete;
    ItemTable& operator=(const ItemTable&) = delete;
    // An empty table for the same file.
    ItemTable emptyCopy() const { return ItemTable(fileName_, width_); }

    const QString& fileName() const { return fileName_; }
    int width() const { return width_; }
    qint32 Count() const { return qint32(earlierCount_ + texts_->size()); }
    QString ItemId(qint32 record) const { return ItemIdView(record).toString(); }
    QString ItemName(qint32 record) const { return ItemNameView(record).toString(); }
    // The same without a copy; valid until the table is cleared, or for as long as texts()
    // is kept.
    QStringView ItemIdView(qint32 record) const {
        const auto [texts, i] = locate(record);
        return texts->id(i);
    }
    QStringView ItemNameView(qint32 record) const {
        const auto [texts, i] = locate(record);
        return texts->name(i);
    }
    // The IDs and names of all items, in one text or (read in parts) a few, in record order
    // (once the table is finished).
    std::vector<std::shared_ptr<const ItemTexts>> texts() const {
        std::vector<std::shared_ptr<const ItemTexts>> all(earlier_.begin(), earlier_.end());
        all.push_back(texts_);
        return all;
    }

    // Room for the IDs and names of `bytes` of an item file, more than they ever take: the
    // room is only address space until it is written, and a text or list that grows is moved
    // to fresh memory, whose every page costs a fault, each time it does.
    void reserveFor(qint64 bytes) {
        // an ID and a name are a small part of their line, and no line is as short as 16 bytes
        if (bytes / 4 > texts_->text.size()) texts_->text.resize(qsizetype(bytes / 4));
        texts_->items.reserve(size_t(bytes / 16));
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
        QString& text = texts_->text;
        if (used_ + chars > text.size()) text.resize(std::max(used_ + chars, 2 * text.size()));
        return reinterpret_cast<char16_t*>(text.data()) + used_;
    }
    void addLast(qsizetype idSize, qsizetype nameSize) {
        // a file holds at most kMaxDatabaseFileSize bytes: every offset fits
        texts_->items.push_back({qint32(used_), qint32(idSize), qint32(nameSize)});
        used_ += idSize + nameSize;
    }
    // Puts the items of `other`, read from the bytes that follow this table's, behind this
    // table's own, taking over its texts rather than copying them; false, with nothing moved,
    // when the two together would hold more records than a table counts.
    bool appendItemsOf(ItemTable& other) {
        if (qint64(Count()) + other.Count() > std::numeric_limits<qint32>::max()) return false;
        finish();
        earlier_.push_back(std::move(texts_));
        earlierCount_ += earlier_.back()->size();
        texts_ = std::exchange(other.texts_, std::make_shared<ItemTexts>());
        used_ = std::exchange(other.used_, 0);
        return true;
    }
    // Gives back the room kept for further characters; that of the list of items is pages
    // never written, which cost no memory, and a copy of the list would write as many anew.
    void finish() {
        texts_->text.truncate(used_);
        texts_->text.squeeze();
    }
    // Starts on new texts: whoever keeps the old ones keeps them as they are.
    void clear() {
        earlier_.clear();
        earlierCount_ = 0;
        texts_ = std::make_shared<ItemTexts>();
        used_ = 0;
    }

private:
    ItemTable(const QString& fileName, int width) : fileName_(fileName), width_(width) {}

    // The texts that hold a record, and its place in them.
    std::pair<const ItemTexts*, qsizetype> locate(qint32 record) const {
        qsizetype i = record - 1;
        for (const auto& texts : earlier_) {
            if (i < texts->size()) return {texts.get(), i};
            i -= texts->size();
        }
        return {texts_.get(), i};
    }

    QString fileName_;
    int width_;
    std::vector<std::shared_ptr<const ItemTexts>> earlier_;  // parts read before texts_
    qsizetype earlierCount_ = 0;
    std::shared_ptr<ItemTexts> texts_ = std::make_shared<ItemTexts>();  // the part being read
    qsizetype used_ = 0;  // how much of its text the items use
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
