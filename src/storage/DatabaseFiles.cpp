#include "storage/DatabaseFiles.h"

#include <array>
#include <limits>

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
        QString text;
        QByteArray bytes;
        auto error = readRecordFile(dir, table->fileName(), table->width(), text, bytes,
                                    [table, &text](const QStringView* fields) {
                                        if (table->Count() == std::numeric_limits<qint32>::max()) {
                                            return false;
                                        }
                                        // IDs and names are a small part of an item line
                                        if (table->Count() == 0) table->reserve(text.size() / 8);
                                        table->append(fields[ItemField::ItemId - 1],
                                                      fields[ItemField::ItemName - 1]);
                                        return true;
                                    });
        table->finish();
        if (error) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> saveMonsterDatabase(const QDir& dir, const MonsterDatabase& db,
                                                QStringList* strays) {
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
        if (auto error = writeWholeFile(dir, order[i]->name(), contents[i], strays)) return error;
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
