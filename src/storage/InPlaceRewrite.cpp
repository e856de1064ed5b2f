#include "storage/InPlaceRewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include <QFile>

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

std::optional<StorageError> rewriteInPlace(const QDir& dir, const QByteArray& path,
                                           const QString& fileName, const QByteArray& bytes,
                                           int folderError) {
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

    const KeptCopy kept = keepRecoveryCopy(dir, path, old, bytes);
    if (kept.error != 0) {
        StorageError e = giveUp(kept.error);
        e.noRecoveryCopy = true;
        e.recoveryCopy = kept.folder;
        return e;
    }
    // A full disk refuses here, before the first byte is overwritten.
    if (bytes.size() > old.size() && fileio::allocate(fd, off_t(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) {
        const int error = errno;
        dropRecoveryCopy(kept.path);
        return giveUp(error);
    }
    const bool written = fileio::writeAll(fd, bytes.constData(), bytes.size(), 0) &&
                         fileio::resize(fd, off_t(bytes.size())) == 0 && fileio::sync(fd) == 0;
    int error = errno;
    if (written) {
        if (fileio::close(fd) == 0) {
            dropRecoveryCopy(kept.path);
            return std::nullopt;
        }
        error = errno;
    } else {
        fileio::discard(fd);
    }
    StorageError e = failed(error);
    e.damaged = !fileio::restoreContent(path, kept.old);
    if (e.damaged) {
        e.recoveryCopy = QFile::decodeName(kept.path);
    } else {
        dropRecoveryCopy(kept.path);
    }
    return e;
}

}  // namespace mdb
