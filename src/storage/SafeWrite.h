#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <functional>
#include <optional>

#include "storage/StorageError.h"

namespace mdb {

// Replaces a file whole. The bytes go to a temporary file beside it, which is written, synced
// and closed, each step checked, before it is renamed over the old file and the folder is
// synced. Until the rename the old file keeps its old content; on any failure the temporary
// file is removed and WriteFailed gives the system's reason. When the folder cannot take a new
// file but the file itself is writable, the file is rewritten in place instead (space reserved
// first, then written, cut to length and synced); should that fail part way, the old content is
// written back (`damaged` when even that fails).
std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const QByteArray& bytes);

// Appends bytes to a file (created when missing), all or nothing: after any failure the file is
// cut back to its old length. `prepare` sees the file's current content and returns the bytes to
// append, or an error to refuse with before anything is written.
using AppendPlan =
    std::function<std::optional<StorageError>(const QByteArray& content, QByteArray& append)>;
std::optional<StorageError> appendToFile(const QDir& dir, const QString& fileName,
                                         const AppendPlan& prepare);

}  // namespace mdb
