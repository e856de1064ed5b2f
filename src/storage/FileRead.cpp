#include "storage/FileRead.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <QFile>

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

StorageError readError(ErrorKind kind, const QString& fileName, int error) {
    StorageError e;
    e.kind = kind;
    e.fileName = fileName;
    e.systemError = error;
    if (error) e.detail = QString::fromLocal8Bit(::strerror(error));
    return e;
}

QString typeName(mode_t mode) {
    if (S_ISFIFO(mode)) return u"FIFO"_s;
    if (S_ISSOCK(mode)) return u"socket"_s;
    if (S_ISCHR(mode)) return u"character device"_s;
    if (S_ISBLK(mode)) return u"block device"_s;
    return u"special file"_s;
}

}  // namespace

std::optional<StorageError> refuseToRead(const struct stat& st, const QString& fileName) {
    if (S_ISDIR(st.st_mode)) return readError(ErrorKind::OpenFailed, fileName, EISDIR);
    if (!S_ISREG(st.st_mode)) {
        StorageError e = readError(ErrorKind::NotRegularFile, fileName, 0);
        e.detail = typeName(st.st_mode);
        return e;
    }
    if (st.st_size > kMaxDatabaseFileSize) {
        StorageError e = readError(ErrorKind::FileTooLarge, fileName, EFBIG);
        e.byteOffset = qint64(st.st_size);
        return e;
    }
    return std::nullopt;
}

std::optional<StorageError> readDatabaseFile(const QDir& dir, const QString& fileName,
                                             QByteArray& out) {
    out.clear();
    const QByteArray path = QFile::encodeName(dir.filePath(fileName));
    // The type is looked at before the file is opened: opening a device can have effects of its
    // own, and reading a FIFO would wait for a writer that never comes.
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(path.constData(), &link) != 0) {
            return readError(ErrorKind::FileNotFound, fileName, ENOENT);
        }
        return readError(ErrorKind::OpenFailed, fileName, error);
    }
    if (auto refused = refuseToRead(st, fileName)) return refused;

    // O_NONBLOCK: should the name have become a FIFO since, the open must not wait either.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return readError(ErrorKind::OpenFailed, fileName, errno);
    auto fail = [fd](StorageError e) {
        ::close(fd);
        return std::optional<StorageError>(std::move(e));
    };
    if (::fstat(fd, &st) != 0) return fail(readError(ErrorKind::ReadFailed, fileName, errno));
    if (auto refused = refuseToRead(st, fileName)) return fail(*refused);

    // Read straight into the array, with room for one byte more than the file holds, so that
    // the read that finds its end needs no larger array. The size can change while the file is
    // read: the array then grows in steps, and the bound holds whatever the file grows to.
    out.reserve(qsizetype(st.st_size) + 1);
    out.resize(qsizetype(st.st_size) + 1);
    qsizetype got = 0;
    for (;;) {
        if (got == out.size()) out.resize(out.size() + 65536);
        const ssize_t n = ::read(fd, out.data() + got, size_t(out.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.clear();
            return fail(readError(ErrorKind::ReadFailed, fileName, errno));
        }
        if (n == 0) break;
        got += n;
        if (got > kMaxDatabaseFileSize) {
            out.clear();
            StorageError e = readError(ErrorKind::FileTooLarge, fileName, EFBIG);
            e.byteOffset = kMaxDatabaseFileSize + 1;
            return fail(e);
        }
    }
    out.resize(got);
    ::close(fd);
    return std::nullopt;
}

}  // namespace mdb
