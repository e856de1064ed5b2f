#include "storage/FileMetadata.h"

#include <errno.h>
#include <sys/xattr.h>

#include <QList>
#include <optional>

#include "storage/FileIo.h"

namespace mdb {

namespace {

// A file system without extended attributes has none to keep.
bool noAttributes(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// Reads a list or a value whose size the system tells first; the size can change between the
// two calls, so the read is tried again while it grows.
template <typename Call>
std::optional<QByteArray> readSized(Call call) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) return std::nullopt;
        QByteArray buffer(qsizetype(size), Qt::Uninitialized);
        const ssize_t got = call(buffer.data(), size_t(buffer.size()));
        if (got >= 0) {
            buffer.truncate(got);
            return buffer;
        }
        if (errno != ERANGE) return std::nullopt;
    }
    errno = ERANGE;
    return std::nullopt;
}

QList<QByteArray> splitNames(const QByteArray& list) {
    QList<QByteArray> names = list.split('\0');
    names.removeAll(QByteArray());
    return names;
}

// Makes the attributes of `fd` those of `from`: extra ones (such as an access list inherited
// from the folder's default) go, the old file's are copied.
int copyAttributes(int fd, const QByteArray& from) {
    const auto wanted = readSized(
        [&](char* buffer, size_t size) { return ::listxattr(from.constData(), buffer, size); });
    if (!wanted && !noAttributes(errno)) return errno;
    const auto present =
        readSized([&](char* buffer, size_t size) { return ::flistxattr(fd, buffer, size); });
    if (!present && !noAttributes(errno)) return errno;
    const QList<QByteArray> keep = wanted ? splitNames(*wanted) : QList<QByteArray>();
    for (const QByteArray& name : present ? splitNames(*present) : QList<QByteArray>()) {
        if (!keep.contains(name) && fileio::setAttribute(fd, name, nullptr) != 0) return errno;
    }
    for (const QByteArray& name : keep) {
        const auto value = readSized([&](char* buffer, size_t size) {
            return ::getxattr(from.constData(), name.constData(), buffer, size);
        });
        if (!value) {
            if (errno == ENODATA) continue;  // removed since it was listed
            return errno;
        }
        if (fileio::setAttribute(fd, name, &*value) != 0) return errno;
    }
    return 0;
}

}  // namespace

int giveMetadata(int fd, const QByteArray& from, const struct stat& old) {
    struct stat now {};
    if (fileio::fstat(fd, &now) != 0) return errno;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        fileio::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return errno;
    }
    if (const int error = copyAttributes(fd, from)) return error;
    if (fileio::fchmod(fd, old.st_mode & 07777) != 0) return errno;
    if (fileio::fstat(fd, &now) != 0) return errno;
    const bool same = now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
                      (now.st_mode & 07777) == (old.st_mode & 07777);
    return same ? 0 : EPERM;
}

}  // namespace mdb
