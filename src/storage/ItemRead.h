#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <optional>

#include "model/ItemDatabase.h"
#include "storage/StorageError.h"

namespace mdb {

// Reads the records of an item file (its bytes as read, `table`'s width) into `table`, which
// must be empty, keeping only the IDs and names. Every byte is checked as the full reader
// checks it, but only the ID and name fields are decoded: the rest of an item line (long
// scripts, mostly) is found on the raw bytes and dropped. A file the full reader would refuse
// is handed to it, so that the refusal, and the records a table keeps before it, are exactly
// the full reader's.
std::optional<StorageError> readItemRecords(const QByteArray& bytes, ItemTable& table);

// The size from which readItemFile reads a file with two threads: -1 on a single core.
qint64 itemFileSplitSize();

// Reads the item file of `table` from `dir` into `table`, with the same result as reading its
// bytes with readDatabaseFile and giving them to readItemRecords, but without holding the whole
// file in memory when its records are whole and its bytes valid.
// A file of `splitFrom` bytes or more (never with -1) is read by two threads, each reading about
// half of it; the result is the same.
std::optional<StorageError> readItemFile(const QDir& dir, ItemTable& table,
                                         qint64 splitFrom = itemFileSplitSize());

}  // namespace mdb
