#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <array>

#include "model/Table.h"
#include "model/TableDescriptor.h"

namespace mdb {

// How one database file is laid out: its bare file name and the one field (1-based) written in
// double quotes, 0 when none is.
struct TableLayout {
    QString fileName;
    int quotedField = 0;
};

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

    // The tables in the order they are read at start.
    std::array<Table*, 7> loadOrder();
    // The tables in the order the save writes them.
    std::array<const Table*, 7> saveOrder() const;

    // Layout of a table of this database (file name, quoted field).
    static TableLayout layoutOf(const Table& table);

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
