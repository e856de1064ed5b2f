#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <optional>

#include "storage/StorageError.h"

namespace mdb {

// While a database file is rewritten in place, its old bytes wait in the user's state folder
// ("recovery"), in a copy that also names the file and the sizes and digests of its old and new
// content. The copy is whole and synced before the file's first byte changes and is removed once
// the new content is written, cut and synced; a copy found at the next start means the rewrite
// was cut short, and restoreInterruptedRewrites puts the old bytes back unless the file already
// holds all of its old or all of its new content.

struct KeptCopy {
    QByteArray path;  // the copy, to be dropped once the file is whole again
    QByteArray old;   // the bytes it keeps: those a failed rewrite puts back
    int error = 0;    // the errno when no copy could be made
    QString folder;   // where the copy was to go
    QString problem;  // why the state folder could not be used, in words for the user
};

// Writes, syncs and puts in place the copy of `old` for the file at `path` (in the database
// folder `dir`), which is about to get `next`. A copy that an earlier rewrite of the file left,
// because it could not put the old bytes back, holds the last whole content and is kept as it
// is.
KeptCopy keepRecoveryCopy(const QDir& dir, const QByteArray& path, const QByteArray& old,
                          const QByteArray& next);
void dropRecoveryCopy(const QByteArray& copyPath);

struct RestoreReport {
    QStringList restored;  // files of the folder put back to their old content
    // what those files held instead, neither old nor new: kept in the state folder first
    QStringList keptAside;
    // copies that name no file of the folder being opened: left alone, nothing applied
    QStringList refused;
    // RecoveryFailed: a file that could not be put back (fileName is its path, detail the
    // reason, recoveryCopy where its old bytes still are); the files after it were not tried.
    std::optional<StorageError> failure;
};

// Puts back every file of the database folder `dir` whose rewrite in place a crash cut short,
// and removes what such a crash left in the state folder.
RestoreReport restoreInterruptedRewrites(const QDir& dir);

}  // namespace mdb
