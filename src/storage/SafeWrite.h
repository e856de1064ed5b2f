#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "storage/ChunkedOutput.h"
#include "storage/FileIdentity.h"
#include "storage/StorageError.h"

namespace mdb {

// Replaces a file whole, changing nothing about it but its bytes. The bytes go to a temporary
// file beside it, which takes the old file's owner, group, extended attributes (ACLs among
// them) and permissions, and is written, synced and closed, each step checked, before it is
// renamed over the old file and the folder is synced. Until the rename the old file keeps its
// old content; on any failure the temporary file is removed (`leftover` names it when it
// cannot be) and WriteFailed gives the system's reason.
// The file is rewritten in place instead (InPlaceRewrite.h), safe against a crash through a
// recovery copy, when the folder takes no new file, when the file has other hard links, or when
// the temporary file cannot be given the old one's owner, group or attributes.
// Temporary files that earlier saves of the file left behind are removed first; those that
// cannot be are added to `strays`.
std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const QByteArray& bytes, QStringList* strays = nullptr);

// Removes the temporary files that saves of `fileName` cut short by a crash left behind (named
// as a save names them, regular files, older than this process; a symlink is never followed nor
// removed), as the start does before anything is saved. Those that stay are added to `strays`.
void removeStrayTemporaries(const QDir& dir, const QString& fileName, QStringList* strays);

// The size and content hash (FileIdentity.h) of the bytes a write put into a file, taken as they
// were written, so that no one need read the file back to know what it holds.
struct WrittenDigest {
    qint64 size = -1;
    QByteArray hash;
};
// Makes a file's bytes into `out` as they are written; an error stops the write, and the old
// file keeps its content.
using ByteProducer = std::function<std::optional<StorageError>(ChunkedOutput& out)>;
// The same as writeWholeFile of the bytes `produce` makes, written to the temporary file a piece
// at a time as they are made, every write checked. `digest` receives their size and hash once
// all of them are written (also when the folder sync then fails, `replaced`). A rewrite in
// place gathers them first: it compares them with the old content.
// With `expected`, the file is looked at once more right before it is replaced or rewritten:
// when it no longer holds what `expected` says (or is gone, or has come to be), another program
// changed it while the save ran, and nothing is written (ChangedWhileSaving).
std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const ByteProducer& produce, QStringList* strays,
                                           WrittenDigest* digest,
                                           const FileIdentity* expected = nullptr);

// Appends bytes to a file (created when missing), all or nothing: after any failure the file is
// cut back to its old length. `prepare` sees the file's current content and returns the bytes to
// append, or an error to refuse with before anything is written.
using AppendPlan =
    std::function<std::optional<StorageError>(const QByteArray& content, QByteArray& append)>;
// What a file held right before an append (size -1: there was no file) and what it holds after
// it, taken from the bytes the append read and wrote: whoever knew the file before can tell
// whether the append was the only change since.
struct AppendDigests {
    WrittenDigest before;
    WrittenDigest after;
};
std::optional<StorageError> appendToFile(const QDir& dir, const QString& fileName,
                                         const AppendPlan& prepare,
                                         AppendDigests* digests = nullptr);

}  // namespace mdb
