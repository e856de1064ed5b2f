#include "ui/grid/TableGridModel.h"

#include <numeric>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"

namespace mdb {

using namespace Qt::StringLiterals;

TableGridModel::TableGridModel(const MonsterDatabase& db, TableId id, QObject* parent)
    : GridModel(parent), db_(db), id_(id), table_(db.table(id)), columns_(gridColumnsOf(id)) {
    const Table& table = table_;
    const qint32 first = firstShownRecord(id);
    if (id != TableId::Status) {
        const Table& status = db.StatusTable;
        const auto nameOf = [&status](int record) {
            return status.fieldView(record, StatusField::Name);
        };
        KeyIndex index;
        // the monster a key names is the first status record with it, as in the forms
        index.add(2, status.Count() + 1, nameOf);
        monsterOf_.assign(size_t(table.Count()) + 1, 0);
        for (qint32 r = 1; r <= table.Count(); ++r) {
            const int found = index.find(table.fieldView(r, 1), nameOf);
            monsterOf_[size_t(r)] = found < 0 ? 0 : found;
        }
    }
    std::vector<qint32> records(size_t(std::max(0, table.Count() - first + 1)));
    std::iota(records.begin(), records.end(), first);
    setRecords(std::move(records));
}

qint32 TableGridModel::monsterOf(qint32 record) const {
    if (monsterOf_.empty()) return record;
    return record >= 0 && size_t(record) < monsterOf_.size() ? monsterOf_[size_t(record)] : 0;
}

QStringView TableGridModel::cell(qint32 record, int column) const {
    const int field = columns_[size_t(column)].field;
    if (field > 0) return table_.fieldView(record, field);
    const qint32 monster = monsterOf(record);
    return monster ? db_.StatusTable.fieldView(monster, StatusField::DisplayName) : QStringView();
}

int TableGridModel::columnOf(int field) const {
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].field == field) return int(c);
    }
    return -1;
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = GridModel::flags(index);
    if (index.isValid() && edit_ && columns_[size_t(index.column())].rule != CellRule::ReadOnly) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool TableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !edit_) return false;
    const GridColumn& column = columns_[size_t(index.column())];
    if (column.rule == CellRule::ReadOnly) return false;
    return edit_(recordAt(index.row()), column.field, value.toString());
}

void TableGridModel::recordsChanged(const std::vector<qint32>& records) {
    if (records.empty() || shownCount() == 0) return;
    // one signal over the span of rows concerned: a view repaints only what it shows of it
    int top = shownCount(), bottom = -1;
    if (records.size() > 64) {
        top = 0;
        bottom = shownCount() - 1;
    } else {
        for (qint32 record : records) {
            const int row = rowOf(record);
            if (row < 0) continue;
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    }
    if (bottom >= top) emit dataChanged(index(top, 0), index(bottom, columnCount() - 1));
}

ItemGridModel::ItemGridModel(const ItemTable& table, QObject* parent)
    : GridModel(parent), table_(table) {
    std::vector<qint32> records(size_t(table.Count()));
    std::iota(records.begin(), records.end(), 1);
    setRecords(std::move(records));
}

QStringView ItemGridModel::cell(qint32 record, int column) const {
    return column == 0 ? table_.ItemIdView(record) : table_.ItemNameView(record);
}

QString ItemGridModel::captionOf(int column) const {
    return column == 0 ? u"ID"_s : u"名前"_s;
}

}  // namespace mdb
