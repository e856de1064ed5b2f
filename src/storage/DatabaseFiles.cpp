#include "storage/DatabaseFiles.h"

#include <array>
#include <limits>

#include "storage/FileRead.h"
#include "storage/ItemRead.h"
#include "storage/RecordReader.h"
#include "storage/RecordWriter.h"
#include "storage/SafeWrite.h"

namespace mdb {

std::optional<StorageError> loadMonsterDatabase(const QDir& dir, MonsterDatabase& db) {
    db.forgetAppendedLines();
    for (Table* table : db.loadOrder()) {
        table->clear();
        QString text;
        QByteArray bytes;
        auto error = readRecordFile(dir, table->name(), table->fieldCount(), text, bytes,
                                    [table, &bytes](const QStringView* fields) {
                                        // the file is read by now: room for all its records
                                        if (table->Count() == 0) table->reserveFor(bytes);
                                        return table->appendRecord(fields);
                                    });
        // the records read so far point into the file's text
        table->keepSource(std::move(bytes), std::move(text));
        if (error) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> loadItemDatabase(const QDir& dir, ItemDatabase& items) {
    // Clear all three first: after a failed reload no table may still hold the previous
    // load's records next to the new ones.
    for (ItemTable* table : items.loadOrder()) table->clear();
    for (ItemTable* table : items.loadOrder()) {
        if (auto error = readItemFile(dir, *table)) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> saveMonsterDatabase(const QDir& dir, const MonsterDatabase& db,
                                                QStringList* strays) {
    // Every table is checked before the first file is touched, so that a value the format cannot
    // hold writes nothing; each file's bytes are made only as it is written, so that a save holds
    // one encoded file at a time, not seven.
    const auto order = db.saveOrder();
    for (const Table* table : order) {
        if (auto error = checkTableFaithfully(*table, MonsterDatabase::layoutOf(*table))) {
            return error;
        }
    }
    for (const Table* table : order) {
        QByteArray content;
        if (auto error =
                encodeTableFaithfully(*table, MonsterDatabase::layoutOf(*table), content)) {
            return error;
        }
        followWithAppendedLines(content, db.appendedLines(*table));
        if (auto error = writeWholeFile(dir, table->name(), content, strays)) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> appendDatabaseEntry(const QDir& dir, MonsterDatabase& db,
                                                const Table& table, const QStringList& fields) {
    // a line of another width would read back as the wrong fields of every record after it
    if (fields.size() != table.fieldCount()) {
        StorageError e;
        e.kind = ErrorKind::WrongFieldCount;
        e.fileName = table.name();
        e.field = int(fields.size());
        return e;
    }
    QByteArray line;
    if (auto error = appendRecordLine(dir, table.name(), fields, &line)) {
        if (error->kind == ErrorKind::Unencodable || error->kind == ErrorKind::UnwritableField) {
            error->fieldName = table.fieldNames().value(error->field - 1);
        }
        return error;
    }
    db.keepAppendedLine(table, line);
    return std::nullopt;
}

}  // namespace mdb
