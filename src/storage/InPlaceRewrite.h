#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <optional>

#include "storage/StorageError.h"

namespace mdb {

// Rewrites the existing file at `path` in place, so that its inode, its links, its owner and
// everything else but its bytes stay. Used where the folder takes no temporary file
// (`folderError`, an errno) or a replacement could not be the same file to the system.
//
// A crash at any point leaves the old or the new bytes: the old ones are first kept in a
// recovery copy (RecoveryCopy.h), the space is reserved without changing the file's size,
// and the copy goes once the new bytes are written, cut to length and synced. A failure on the
// way puts the old bytes back (`damaged` when even that fails; the copy then stays for the next
// start). A file that already holds `bytes` is not touched.
std::optional<StorageError> rewriteInPlace(const QDir& dir, const QByteArray& path,
                                           const QString& fileName, const QByteArray& bytes,
                                           int folderError);

// A failed write of `fileName` with the system's reason.
StorageError writeError(const QString& fileName, int error);

}  // namespace mdb
