#pragma once

#include <QDir>
#include <optional>
#include <vector>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "storage/FileIdentity.h"
#include "storage/StorageError.h"

namespace mdb {

// Reads the seven monster files in their load order (status, drop, MVP, morph, emotion,
// summon, slave), each completely before the next; stops at the first failure.
std::optional<StorageError> loadMonsterDatabase(const QDir& dir, MonsterDatabase& db);

// Reads the three item files (consume, drop, equipment) into fresh tables; on a failure the
// records completed so far stay in the tables.
std::optional<StorageError> loadItemDatabase(const QDir& dir, ItemDatabase& items);

// Writes the seven monster files in the save order (status, drop, MVP, emotion, morph, summon,
// slave). Every field not written since the load keeps the bytes it was read with. Every table is
// encoded before the first file is touched, so a changed value the format cannot hold writes
// nothing. The first file that cannot be written completely keeps its old content (or holds the
// whole new one, `replaced`), and the files after it in the order are not touched.
// The lines appended since the load (appendDatabaseEntry) follow each table's records.
// Each file keeps its owner, group, permissions, attributes and links (writeWholeFile);
// `strays`, when given, receives the temporary files of earlier saves that could not be removed.
// `written`, when given, receives the identity of every file that holds what this save wrote,
// taken from the bytes as they were written, in save order.
// `expected`, when given, holds what each file is to hold when the save comes to it (a file not
// named there is not looked at): a file that holds anything else by then stops the save
// there, untouched (ChangedWhileSaving).
std::optional<StorageError> saveMonsterDatabase(
    const QDir& dir, const MonsterDatabase& db, QStringList* strays = nullptr,
    std::vector<FileIdentity>* written = nullptr,
    const std::vector<FileIdentity>* expected = nullptr);

// Appends one record line to the file of `table` (appendRecordLine) and keeps it in `db`, so
// that the saves to come write it again. The table itself is not touched. A refused field is
// named by its field name; a line that is not as wide as the table (WrongFieldCount, `field`
// its count) writes nothing. `before` and `after`, when given, receive the file's identity right
// before the append (not existing when there was no file) and right after it.
std::optional<StorageError> appendDatabaseEntry(const QDir& dir, MonsterDatabase& db,
                                                const Table& table, const QStringList& fields,
                                                FileIdentity* before = nullptr,
                                                FileIdentity* after = nullptr);

}  // namespace mdb
