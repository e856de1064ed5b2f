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
        QByteArray bytes;
        if (auto error = readDatabaseFile(dir, table->fileName(), bytes)) return error;
        if (auto error = readItemRecords(bytes, *table)) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> saveMonsterDatabase(const QDir& dir, const MonsterDatabase& db) {
    const auto order = db.saveOrder();
    std::array<QByteArray, order.size()> contents;
    for (size_t i = 0; i < order.size(); ++i) {
        if (auto error = encodeTableFaithfully(*order[i], MonsterDatabase::layoutOf(*order[i]),
                                               contents[i])) {
            return error;
        }
        followWithAppendedLines(contents[i], db.appendedLines(*order[i]));
    }
    for (size_t i = 0; i < order.size(); ++i) {
        if (auto error = writeWholeFile(dir, order[i]->name(), contents[i])) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> appendDatabaseEntry(const QDir& dir, MonsterDatabase& db,
                                                const Table& table, const QStringList& fields) {
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
