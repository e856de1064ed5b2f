#pragma once

#include <QString>
#include <array>

#include "model/TextCells.h"

namespace mdb {

// The three optional item tables. Only ItemId (field 1) and ItemName (field 3) are used; the
// other fields are read so that each record consumes its full width, and are not kept.
class ItemTable {
public:
    ItemTable(QString fileName, int width) : fileName_(std::move(fileName)), width_(width) {}

    const QString& fileName() const { return fileName_; }
    int width() const { return width_; }
    qint32 Count() const { return static_cast<qint32>(ids_.size()); }
    QString ItemId(qint32 record) const { return ids_.text(size_t(record - 1)); }
    QString ItemName(qint32 record) const { return names_.text(size_t(record - 1)); }

    void append(const QString& id, const QString& name) {
        ids_.pushCopy(id);
        names_.pushCopy(name);
    }
    // The same for views into a buffer handed to keepBuffer().
    void append(QStringView id, QStringView name) {
        ids_.push(id);
        names_.push(name);
    }
    void keepBuffer(QString buffer) { ids_.keep(std::move(buffer)); }
    void clear() {
        ids_.clear();
        names_.clear();
    }

private:
    QString fileName_;
    int width_;
    TextCells ids_;
    TextCells names_;
};

class ItemDatabase {
public:
    ItemTable ConsumeItemTable{QStringLiteral("item_consume_db.txt"), 12};
    ItemTable DropItemTable{QStringLiteral("item_drop_db.txt"), 7};
    ItemTable EquipItemTable{QStringLiteral("item_equip_db.txt"), 21};

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
