#include "storage/InPlaceRewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include <QFile>

#include "storage/FileIdentity.h"
#include "storage/FileIo.h"
#include "storage/FileRead.h"
#include "storage/RecoveryCopy.h"

namespace mdb {

StorageError writeError(const QString& fileName, int error) {
    StorageError e;
    e.kind = ErrorKind::WriteFailed;
    e.fileName = fileName;
    e.systemError = error;
    e.detail = QString::fromLocal8Bit(::strerror(error));
    return e;
}

StorageError changedWhileSaving(const QString& fileName) {
    StorageError e;
    e.kind = ErrorKind::ChangedWhileSaving;
    e.fileName = fileName;
    return e;
}

bool holdsExpected(const FileIdentity& now, const FileIdentity& expected) {
    return now.exists() == expected.exists() && (!now.exists() || now.sameContent(expected));
}

namespace {

// Whether `path` still names the file open as `fd`: another program may rename it away, or put
// another file in its place, while it is rewritten.
bool stillNamed(int fd, const QByteArray& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

std::optional<StorageError> rewriteInPlace(const QDir& dir, const QByteArray& path,
                                           const QString& fileName, const QByteArray& bytes,
                                           int folderError, const FileIdentity* expected) {
    auto failed = [&](int error) {
        StorageError e = writeError(fileName, error);
        e.folderError = folderError;
        e.inPlace = true;
        return e;
    };
    const int fd = fileio::open(path, O_RDWR | O_NONBLOCK);
    if (fd < 0) return failed(errno);
    auto giveUp = [&](int error) {
        fileio::discard(fd);
        return failed(error);
    };
    // Only a regular file of a sane size is read before it is changed: a FIFO or a device put
    // in a database file's place could otherwise block the program or fill its memory.
    struct stat st {};
    if (fileio::fstat(fd, &st) != 0) return giveUp(errno);
    if (auto refused = refuseToRead(st, fileName)) {
        fileio::discard(fd);
        return refused;
    }
    QByteArray old;
    if (!fileio::readAll(fd, old)) return giveUp(errno);
    if (old == bytes) {
        fileio::discard(fd);
        return std::nullopt;
    }
    // the bytes about to be overwritten are those the save expected, or another program's
    if (expected && !holdsExpected({fileName, old.size(), 0, contentHash(old)}, *expected)) {
        fileio::discard(fd);
        return changedWhileSaving(fileName);
    }

    const KeptCopy kept = keepRecoveryCopy(dir, path, old, bytes);
    if (kept.error != 0) {
        StorageError e = giveUp(kept.error);
        e.noRecoveryCopy = true;
        e.recoveryCopy = kept.folder;
        e.stateProblem = kept.problem;
        return e;
    }
    auto stop = [&](StorageError e) {
        dropRecoveryCopy(kept.path);
        fileio::discard(fd);
        return e;
    };
    // Making the copy took time (it is synced): the file must still be the one read, under its
    // name and with the bytes that were read and kept.
    if (!stillNamed(fd, path)) return stop(changedWhileSaving(fileName));
    if (expected) {
        QByteArray now;
        if (!fileio::readAll(fd, now)) return stop(failed(errno));
        if (now != old) return stop(changedWhileSaving(fileName));
    }
    // A full disk refuses here, before the first byte is overwritten.
    if (bytes.size() > old.size() && fileio::allocate(fd, off_t(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) {
        return stop(failed(errno));
    }
    const bool written = fileio::writeAll(fd, bytes.constData(), bytes.size(), 0) &&
                         fileio::resize(fd, off_t(bytes.size())) == 0 && fileio::sync(fd) == 0;
    const int error = errno;
    // The old bytes go back after a failure; when even that fails, the copy stays for the next
    // start to put them back.
    auto putBack = [&](StorageError e, bool back) {
        e.inPlace = true;
        e.damaged = !back;
        if (e.damaged) {
            e.recoveryCopy = QFile::decodeName(kept.path);
        } else {
            dropRecoveryCopy(kept.path);
        }
        return e;
    };
    // A file renamed or replaced under the write is no longer the database's: it gets its old
    // bytes back, wherever it lies, and the file that now has the name is left alone.
    const bool moved = !stillNamed(fd, path);
    if (written && !moved) {
        if (fileio::close(fd) == 0) {
            dropRecoveryCopy(kept.path);
            return std::nullopt;
        }
        StorageError e = failed(errno);
        return putBack(e, fileio::restoreContent(path, kept.old));
    }
    const bool back = fileio::restoreContent(fd, kept.old);
    fileio::discard(fd);
    return putBack(moved ? changedWhileSaving(fileName) : failed(error), back);
}

}  // namespace mdb
