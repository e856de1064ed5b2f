#pragma once

#include <QDir>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include "model/MonsterDatabase.h"
#include "storage/FileIdentity.h"

namespace mdb {

class MessageSink;

// The six add commands of advanced mode. Each appends one line, built from what its editor
// shows, to the end of its table's file and confirms it; the tables, lists and editors in memory
// stay as they are, so the new record shows after a restart. The line is also kept in the
// database, so that the saves until then write it again after the table's records.
class AddEntryCommands : public QObject {
    Q_OBJECT
public:
    AddEntryCommands(const QDir& dir, MonsterDatabase& db, MessageSink& messages,
                     QObject* parent = nullptr);

    // The Click of an add button for `table`. `currentKey` is the shown monster's key (Text2A),
    // `keyCaption` the editor's key label (the key of the record it shows, empty for none), and
    // `fields` the new line in the table's field order. Refuses, with the table's message, a
    // monster that already has a record and (all but the drop command) a line without its
    // monster or first entry, and a second line for a monster added this run (an emotion: for
    // the same state). Returns whether the line was appended.
    bool add(const TableDescriptor& table, const QString& currentKey, const QString& keyCaption,
             const QStringList& fields);

signals:
    // One line was appended to the file `fileName`, which held `before` right before the append
    // and holds `after` now.
    void lineAdded(const QString& fileName, const mdb::FileIdentity& before,
                   const mdb::FileIdentity& after);

private:
    QDir dir_;
    MonsterDatabase& db_;
    MessageSink& messages_;
    // The records appended since the load, by file: the tables do not hold them, so without
    // this a second click would append a copy that no editor can ever reach.
    QHash<QString, QSet<QString>> added_;
};

}  // namespace mdb
