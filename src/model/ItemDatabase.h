#pragma once

#include <QString>
#include <array>

#include "model/Table.h"

namespace mdb {

// The three optional item tables. Only ItemId (field 1) and ItemName (field 3) are used; the
// other fields are read so that each record consumes its full width, and are not kept.
class ItemTable {
public:
    ItemTable(QString fileName, int width) : fileName_(std::move(fileName)), width_(width) {}

    const QString& fileName() const { return fileName_; }
    int width() const { return width_; }
    qint32 Count() const { return static_cast<qint32>(ids_.size()); }
    const QString& ItemId(qint32 record) const { return ids_[size_t(record - 1)]; }
    const QString& ItemName(qint32 record) const { return names_[size_t(record - 1)]; }

    void append(QString id, QString name) {
        ids_.push_back(std::move(id));
        names_.push_back(std::move(name));
    }
    void clear() {
        ids_.clear();
        names_.clear();
    }

private:
    QString fileName_;
    int width_;
    std::vector<QString> ids_;
    std::vector<QString> names_;
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
