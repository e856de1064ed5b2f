#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <optional>

#include "storage/StorageError.h"

namespace mdb {

// No database file comes near this; a larger one is refused before a byte of it is read, so
// that a runaway file cannot take all memory.
constexpr qint64 kMaxDatabaseFileSize = qint64(1) << 30;

// Reads a whole database file into `out`, following links. Anything but a regular file (a
// FIFO, a socket, a device: NotRegularFile; a folder: OpenFailed) and a file larger than
// kMaxDatabaseFileSize (FileTooLarge) is refused before it is read, and nothing is ever waited
// for. FileNotFound only when nothing of that name exists; a link to nothing, a link loop or a
// file that cannot be opened give OpenFailed with the system's reason.
std::optional<StorageError> readDatabaseFile(const QDir& dir, const QString& fileName,
                                             QByteArray& out);

// The refusal for a file of this type and size, or nothing when it may be read.
std::optional<StorageError> refuseToRead(const struct stat& st, const QString& fileName);

}  // namespace mdb
