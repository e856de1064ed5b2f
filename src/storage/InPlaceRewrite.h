#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <optional>

#include "storage/FileIdentity.h"
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
// With `expected`, a file that holds anything else than it says is not touched
// (ChangedWhileSaving); nor is one that another program renames or replaces while it is
// rewritten: the file that was written to gets its old bytes back, and the save stops there.
std::optional<StorageError> rewriteInPlace(const QDir& dir, const QByteArray& path,
                                           const QString& fileName, const QByteArray& bytes,
                                           int folderError, const FileIdentity* expected = nullptr);

// A failed write of `fileName` with the system's reason.
StorageError writeError(const QString& fileName, int error);
// A save stopped at `fileName` because another program changed it while the save ran.
StorageError changedWhileSaving(const QString& fileName);
// Whether a file found as `now` is the one a save expected to find (`expected`): there or not
// alike, and with the same bytes when there.
bool holdsExpected(const FileIdentity& now, const FileIdentity& expected);

}  // namespace mdb
