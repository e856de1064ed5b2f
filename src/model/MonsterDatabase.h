#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <array>

#include "model/Table.h"
#include "model/TableDescriptor.h"

namespace mdb {

// The seven monster tables. Every field is text exactly as read; records keep file order.
class MonsterDatabase {
public:
    MonsterDatabase();

    Table StatusTable;
    Table DropTable;
    Table MvpTable;
    Table MorphTable;
    Table EmoteTable;
    Table SummonTable;
    Table SlaveTable;

    Table& table(TableId id);
    const Table& table(TableId id) const;

    // The tables in the order they are read at start (kTableIds).
    std::array<Table*, kTableCount> loadOrder();
    // The tables in the order the save writes them (kSaveOrder).
    std::array<const Table*, kTableCount> saveOrder() const;

    // Lines appended to a table's file since the load, exactly as written (each ended by its
    // line end). The tables never see them; every save writes them after the table's records,
    // so that an added entry outlives the saves until a restart reads it as a record.
    void keepAppendedLine(const Table& table, const QByteArray& line);
    QByteArray appendedLines(const Table& table) const { return appended_.value(table.name()); }
    // A load reads them as records.
    void forgetAppendedLines() { appended_.clear(); }

    void clear();

    // Takes the tables and appended lines of `loaded`, a database loaded elsewhere (on another
    // thread while the window was built), and leaves `loaded` empty. The tables stay the
    // objects they are, so whatever refers to them goes on doing so; the views of their records
    // stay valid, as the texts they point into move without their characters moving.
    void takeLoaded(MonsterDatabase& loaded);

private:
    QHash<QString, QByteArray> appended_;  // by file name
};

}  // namespace mdb
