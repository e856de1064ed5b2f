#include "storage/DatabaseFiles.h"

#include <array>
#include <limits>

#include "storage/ExactBytes.h"
#include "storage/FileIdentity.h"
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
        std::optional<QByteArray> bytes(std::in_place);
        if (auto error = readDatabaseFile(dir, table->name(), *bytes)) return error;
        bool encodesBack = false;
        if (auto error = decodeRecordText(*bytes, table->name(), text, &encodesBack)) {
            return error;
        }
        // the file's identity is taken while its bytes are at hand: they may not be kept
        table->noteSourceDigest(bytes->size(), contentHash(*bytes));
        table->reserveFor(*bytes);
        if (encodesBack) bytes.reset();
        // kept before the records are read, so that their fields can be views into it
        table->keepSource(std::move(text), std::move(bytes));
        const QString& kept = table->sourceText();
        if (auto error = parseRecords(
                kept, table->name(), table->fieldCount(),
                [table](const QStringView* fields) { return table->appendRecord(fields); })) {
            return error;
        }
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
                                                QStringList* strays,
                                                std::vector<FileIdentity>* written,
                                                const std::vector<FileIdentity>* expected) {
    if (written) written->clear();
    // Every table is checked before the first file is touched, so that a value the format cannot
    // hold writes nothing; each file's bytes are made only as they are written, a piece at a
    // time, so that a save never holds a whole encoded file.
    for (const TableId id : kSaveOrder) {
        if (auto error = checkTableFaithfully(db.table(id), Tables::of(id))) return error;
    }
    for (const TableId id : kSaveOrder) {
        const Table* table = &db.table(id);
        auto produce = [&](ChunkedOutput& out) -> std::optional<StorageError> {
            if (auto error = writeTableFaithfully(*table, Tables::of(id), out)) {
                return error;
            }
            followWithAppendedLines(out, db.appendedLines(*table));
            return std::nullopt;
        };
        const FileIdentity* expectedHere = nullptr;
        for (size_t i = 0; expected && i < expected->size(); ++i) {
            if ((*expected)[i].fileName == table->name()) expectedHere = &(*expected)[i];
        }
        WrittenDigest digest;
        auto error = writeWholeFile(dir, table->name(), produce, strays, &digest, expectedHere);
        // a file replaced before its folder sync failed holds what was written all the same
        if (written && (!error || error->replaced) && digest.size >= 0) {
            written->push_back(identityOf(dir, table->name(), digest.size, digest.hash));
        }
        if (error) return error;
    }
    return std::nullopt;
}

std::optional<StorageError> appendDatabaseEntry(const QDir& dir, MonsterDatabase& db,
                                                const Table& table, const QStringList& fields,
                                                FileIdentity* before, FileIdentity* after) {
    // a line of another width would read back as the wrong fields of every record after it
    if (fields.size() != table.fieldCount()) {
        StorageError e;
        e.kind = ErrorKind::WrongFieldCount;
        e.fileName = table.name();
        e.field = int(fields.size());
        return e;
    }
    QByteArray line;
    AppendDigests digests;
    if (auto error = appendRecordLine(dir, table.name(), fields, &line, &digests)) {
        if (error->kind == ErrorKind::Unencodable || error->kind == ErrorKind::UnwritableField) {
            error->fieldName = table.fieldNames().value(error->field - 1);
        }
        return error;
    }
    db.keepAppendedLine(table, line);
    if (before) *before = {table.name(), digests.before.size, 0, digests.before.hash};
    if (after) *after = identityOf(dir, table.name(), digests.after.size, digests.after.hash);
    return std::nullopt;
}

}  // namespace mdb
