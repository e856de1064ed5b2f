#include "model/TableDescriptor.h"

namespace mdb::Tables {

using namespace Qt::StringLiterals;

const TableDescriptor& status() {
    return of(TableId::Status);
}
const TableDescriptor& drop() {
    return of(TableId::Drop);
}
const TableDescriptor& mvp() {
    return of(TableId::Mvp);
}
const TableDescriptor& morph() {
    return of(TableId::Morph);
}
const TableDescriptor& emote() {
    return of(TableId::Emote);
}
const TableDescriptor& summon() {
    return of(TableId::Summon);
}
const TableDescriptor& slave() {
    return of(TableId::Slave);
}

std::optional<TableId> idOf(const TableDescriptor& descriptor) {
    for (const TableId id : kTableIds) {
        if (&of(id) == &descriptor) return id;
    }
    return std::nullopt;
}

namespace {

// An item file: only its width is known, and only its ID and name are read.
TableDescriptor itemFile(const QString& fileName, int width) {
    TableDescriptor d;
    d.fileName = fileName;
    d.width = width;
    return d;
}

}  // namespace

const TableDescriptor& consumeItems() {
    static const TableDescriptor d = itemFile(u"item_consume_db.txt"_s, 12);
    return d;
}

const TableDescriptor& dropItems() {
    static const TableDescriptor d = itemFile(u"item_drop_db.txt"_s, 7);
    return d;
}

const TableDescriptor& equipItems() {
    static const TableDescriptor d = itemFile(u"item_equip_db.txt"_s, 21);
    return d;
}

std::array<const TableDescriptor*, kTableCount> monsterTables() {
    std::array<const TableDescriptor*, kTableCount> tables{};
    for (const TableId id : kTableIds) tables[indexOf(id)] = &of(id);
    return tables;
}

std::array<const TableDescriptor*, 3> itemTables() {
    return {&consumeItems(), &dropItems(), &equipItems()};
}

const TableDescriptor* byFileName(const QString& fileName) {
    for (const TableDescriptor* d : monsterTables()) {
        if (d->fileName == fileName) return d;
    }
    for (const TableDescriptor* d : itemTables()) {
        if (d->fileName == fileName) return d;
    }
    return nullptr;
}

}  // namespace mdb::Tables

namespace mdb {

std::vector<int> TableDescriptor::fieldsOf(FieldRole wanted) const {
    std::vector<int> numbers;
    for (int n = 1; n <= int(fields.size()); ++n) {
        if (field(n).role == wanted) numbers.push_back(n);
    }
    return numbers;
}

}  // namespace mdb
