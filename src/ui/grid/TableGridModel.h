#pragma once

#include <functional>

#include "ui/controls/KeyIndex.h"
#include "ui/grid/GridColumns.h"
#include "ui/grid/GridModel.h"

namespace mdb {

class ItemTable;
class MonsterDatabase;
class Table;

// The grid of one monster table. The display name of a dependent table's monster is read
// from the status record its key names, looked up once when the grid is made.
class TableGridModel : public GridModel {
    Q_OBJECT
public:
    TableGridModel(const MonsterDatabase& db, TableId id, QObject* parent = nullptr);

    QStringView cell(qint32 record, int column) const override;
    CellKind kindOf(int column) const override { return columns_[size_t(column)].kind; }
    QString captionOf(int column) const override { return columns_[size_t(column)].caption; }
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const Table& table() const { return table_; }
    TableId tableId() const { return id_; }
    const GridColumn& column(int c) const { return columns_[size_t(c)]; }
    // The column showing `field`, -1 for none.
    int columnOf(int field) const;
    // The status record of a record's monster, 0 when its key names none.
    qint32 monsterOf(qint32 record) const;

    // Who applies a typed text to a cell (the rules, the update, the undo history).
    using CellEdit = std::function<bool(qint32 record, int field, const QString& text)>;
    void setCellEdit(CellEdit edit) { edit_ = std::move(edit); }
    // The fields of these records changed: their rows are drawn again.
    void recordsChanged(const std::vector<qint32>& records);

protected:
    int columns() const override { return int(columns_.size()); }

private:
    const MonsterDatabase& db_;
    TableId id_;
    const Table& table_;
    std::vector<GridColumn> columns_;
    std::vector<qint32> monsterOf_;  // by record; empty for the status table
    CellEdit edit_;
};

// The grid of one item table, read-only: ID and name.
class ItemGridModel : public GridModel {
    Q_OBJECT
public:
    explicit ItemGridModel(const ItemTable& table, QObject* parent = nullptr);
    QStringView cell(qint32 record, int column) const override;
    CellKind kindOf(int column) const override {
        return column == 0 ? CellKind::Number : CellKind::Text;
    }
    QString captionOf(int column) const override;

protected:
    int columns() const override { return 2; }

private:
    const ItemTable& table_;
};

}  // namespace mdb
