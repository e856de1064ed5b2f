#include "storage/SafeWrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "storage/FileIo.h"
#include "storage/FileRead.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

StorageError writeError(const QString& fileName, int error) {
    StorageError e;
    e.kind = ErrorKind::WriteFailed;
    e.fileName = fileName;
    e.systemError = error;
    e.detail = QString::fromLocal8Bit(::strerror(error));
    return e;
}

// Only a regular file of a sane size is read before it is changed: a FIFO or a device put in
// a database file's place could otherwise block the program or fill its memory.
std::optional<StorageError> refuseOpenFile(int fd, const QString& fileName) {
    struct stat st {};
    if (fileio::fstat(fd, &st) != 0) return writeError(fileName, errno);
    return refuseToRead(st, fileName);
}

// Rewrites an existing file in place, for a folder that takes no new file. The space is
// reserved before the first byte is overwritten, so that a full disk refuses up front; a
// failure later puts the old content back.
std::optional<StorageError> rewriteInPlace(const QByteArray& path, const QString& fileName,
                                           const QByteArray& bytes, int folderError) {
    auto failed = [&](int error, bool damaged = false) {
        StorageError e = writeError(fileName, error);
        e.folderError = folderError;
        e.inPlace = true;
        e.damaged = damaged;
        return e;
    };
    const int fd = fileio::open(path, O_RDWR | O_NONBLOCK);
    if (fd < 0) return failed(errno);
    QByteArray old;
    if (auto refused = refuseOpenFile(fd, fileName)) {
        fileio::discard(fd);
        return refused;
    }
    if (!fileio::readAll(fd, old)) {
        const int error = errno;
        fileio::discard(fd);
        return failed(error);
    }
    if (bytes.size() > old.size() && fileio::allocate(fd, off_t(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) {
        const int error = errno;
        fileio::discard(fd);
        return failed(error);
    }
    const bool written = fileio::writeAll(fd, bytes.constData(), bytes.size(), 0) &&
                         fileio::resize(fd, off_t(bytes.size())) == 0 && fileio::sync(fd) == 0;
    int error = errno;
    if (written) {
        if (fileio::close(fd) == 0) return std::nullopt;
        error = errno;
    } else {
        fileio::discard(fd);
    }
    return failed(error, !fileio::restoreContent(path, old));
}

}  // namespace

std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const QByteArray& bytes) {
    // A linked file is replaced where it lies, so that the link stays a link.
    const QFileInfo named(dir.filePath(fileName));
    const QFileInfo target(named.isSymLink() && named.exists() ? named.canonicalFilePath()
                                                               : named.absoluteFilePath());
    const QDir folder = target.absoluteDir();
    const QByteArray path = QFile::encodeName(target.absoluteFilePath());
    struct stat old {};
    const bool exists = ::stat(path.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return writeError(fileName, EISDIR);
    // The rename would replace a file the user has made read-only; respect the mark.
    if (exists && ::access(path.constData(), W_OK) != 0) return writeError(fileName, errno);

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = QFile::encodeName(folder.filePath(
            u".%1.%2.tmp"_s.arg(target.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        fd = fileio::openTemp(temp, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM)) {
            return rewriteInPlace(path, fileName, bytes, error);
        }
        StorageError e = writeError(fileName, error);
        if (error == EACCES || error == EPERM || error == ENOENT) e.folderError = error;
        return e;
    }

    auto abandon = [&](int error) {
        fileio::discard(fd);
        fileio::removeFile(temp);
        return writeError(fileName, error);
    };
    if (exists && fileio::fchmod(fd, old.st_mode & 07777) != 0) return abandon(errno);
    if (!fileio::writeAll(fd, bytes.constData(), bytes.size(), 0)) return abandon(errno);
    if (fileio::sync(fd) != 0) return abandon(errno);
    const int closed = fileio::close(fd);
    fd = -1;
    if (closed != 0) return abandon(errno);
    if (fileio::rename(temp, path) != 0) return abandon(errno);
    // Makes the rename itself durable, so that a power cut right after a save does not bring
    // the old file back.
    if (fileio::syncFolder(QFile::encodeName(folder.absolutePath())) != 0) {
        StorageError e = writeError(fileName, errno);
        e.replaced = true;
        return e;
    }
    return std::nullopt;
}

std::optional<StorageError> appendToFile(const QDir& dir, const QString& fileName,
                                         const AppendPlan& prepare) {
    const QByteArray path = QFile::encodeName(dir.filePath(fileName));
    int fd = fileio::open(path, O_RDWR | O_NONBLOCK);
    // a file created here is removed again when the append fails
    const bool created = fd < 0 && errno == ENOENT;
    if (created) fd = fileio::open(path, O_RDWR | O_CREAT | O_EXCL);
    if (fd < 0) return writeError(fileName, errno);
    auto undoCreate = [&] {
        if (created) fileio::removeFile(path);
    };
    if (auto refused = refuseOpenFile(fd, fileName)) {
        fileio::discard(fd);
        undoCreate();
        return refused;
    }
    QByteArray content;
    if (!fileio::readAll(fd, content)) {
        const int error = errno;
        fileio::discard(fd);
        undoCreate();
        return writeError(fileName, error);
    }
    QByteArray line;
    if (auto refused = prepare(content, line)) {
        fileio::discard(fd);
        undoCreate();
        return refused;
    }
    const off_t oldSize = off_t(content.size());
    if (!fileio::writeAll(fd, line.constData(), line.size(), oldSize) || fileio::sync(fd) != 0) {
        // Cut straight back on the descriptor: nothing buffered stands between it and the file.
        StorageError e = writeError(fileName, errno);
        e.damaged = !fileio::cutBack(fd, oldSize);
        fileio::discard(fd);
        undoCreate();
        return e;
    }
    if (fileio::close(fd) != 0) {
        StorageError e = writeError(fileName, errno);
        const int again = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        e.damaged = again < 0 || !fileio::cutBack(again, oldSize);
        fileio::discard(again);
        undoCreate();
        return e;
    }
    return std::nullopt;
}

}  // namespace mdb
