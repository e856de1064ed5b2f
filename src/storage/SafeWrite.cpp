#include "storage/SafeWrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "storage/FileIdentity.h"
#include "storage/FileIo.h"
#include "storage/FileMetadata.h"
#include "storage/FileRead.h"
#include "storage/InPlaceRewrite.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Only a regular file of a sane size is read before it is changed: a FIFO or a device put in
// a database file's place could otherwise block the program or fill its memory.
std::optional<StorageError> refuseOpenFile(int fd, const QString& fileName) {
    struct stat st {};
    if (fileio::fstat(fd, &st) != 0) return writeError(fileName, errno);
    return refuseToRead(st, fileName);
}

// When this process started: a temporary file older than that cannot belong to a save running
// in it.
const struct timespec kProcessStart = [] {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}();

bool olderThanThisProcess(const struct stat& st) {
    return st.st_mtim.tv_sec < kProcessStart.tv_sec || (st.st_mtim.tv_sec == kProcessStart.tv_sec &&
                                                        st.st_mtim.tv_nsec < kProcessStart.tv_nsec);
}

QString tempNameFor(const QString& fileName, quint32 tag) {
    return u".%1.%2.tmp"_s.arg(fileName).arg(tag, 8, 16, QLatin1Char('0'));
}

// Whether `name` is one that tempNameFor gives `fileName`. Matched by hand: a regular
// expression would bring its whole engine into memory for one comparison a save.
bool isTempNameOf(QStringView name, QStringView fileName) {
    const qsizetype n = fileName.size();
    if (name.size() != n + 14 || name[0] != u'.' || name.sliced(1, n) != fileName ||
        name[n + 1] != u'.' || !name.endsWith(u".tmp")) {
        return false;
    }
    for (const QChar c : name.sliced(n + 2, 8)) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
    }
    return true;
}

// Removes the temporary files that earlier saves of `fileName` left when they were cut short:
// named as a save names them and older than this process, so that no save running now loses
// its own. Those that stay are added to `strays`.
void removeStrays(const QDir& folder, const QString& fileName, QStringList* strays) {
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!isTempNameOf(name, fileName)) continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            !olderThanThisProcess(st)) {
            continue;
        }
        if (fileio::removeStray(path) != 0 && errno != ENOENT && strays) {
            *strays << folder.filePath(name);
        }
    }
}

// Where a save puts the file: a linked file is replaced where it lies, so that the link stays a
// link.
QFileInfo targetOf(const QDir& dir, const QString& fileName) {
    const QFileInfo named(dir.filePath(fileName));
    return QFileInfo(named.isSymLink() && named.exists() ? named.canonicalFilePath()
                                                         : named.absoluteFilePath());
}

}  // namespace

void removeStrayTemporaries(const QDir& dir, const QString& fileName, QStringList* strays) {
    const QFileInfo target = targetOf(dir, fileName);
    removeStrays(target.absoluteDir(), target.fileName(), strays);
}

std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const QByteArray& bytes, QStringList* strays) {
    return writeWholeFile(
        dir, fileName,
        [&bytes](ChunkedOutput& out) {
            out.append(bytes);
            return std::optional<StorageError>();
        },
        strays, nullptr);
}

std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const ByteProducer& produce, QStringList* strays,
                                           WrittenDigest* digest, const FileIdentity* expected) {
    const QFileInfo target = targetOf(dir, fileName);
    const QDir folder = target.absoluteDir();
    const QByteArray path = QFile::encodeName(target.absoluteFilePath());
    // A rewrite in place compares the new bytes with the old ones: they are gathered whole.
    auto inPlace = [&](int folderError) -> std::optional<StorageError> {
        QByteArray bytes;
        ChunkedOutput gather([&bytes](QByteArrayView piece) {
            bytes.append(piece.data(), piece.size());
            return true;
        });
        if (auto error = produce(gather)) return error;
        gather.finish();
        auto error = rewriteInPlace(dir, path, fileName, bytes, folderError, expected);
        if (!error && digest) *digest = {bytes.size(), contentHash(bytes)};
        return error;
    };
    struct stat old {};
    const bool exists = ::stat(path.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return writeError(fileName, EISDIR);
    // The rename would replace a file the user has made read-only; respect the mark.
    if (exists && ::access(path.constData(), W_OK) != 0) return writeError(fileName, errno);
    removeStrays(folder, target.fileName(), strays);
    // A new file in its place would leave the other names of the file with the old bytes.
    if (exists && old.st_nlink > 1) return inPlace(0);

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = QFile::encodeName(folder.filePath(
            tempNameFor(target.fileName(), QRandomGenerator::global()->generate())));
        // readable by its owner only until it has the old file's owner and permissions; a new
        // file gets what the user's umask allows
        fd = fileio::openTemp(temp, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM)) return inPlace(error);
        StorageError e = writeError(fileName, error);
        if (error == EACCES || error == EPERM || error == ENOENT) e.folderError = error;
        return e;
    }

    // Removes the temporary file; one that stays is named, in the failure or among `strays`.
    auto dropTemp = [&]() -> QString {
        fileio::discard(fd);
        fd = -1;
        if (fileio::removeFile(temp) == 0 || errno == ENOENT) return {};
        return QFile::decodeName(temp);
    };
    auto abandon = [&](StorageError e) {
        e.leftover = dropTemp();
        return e;
    };
    // A file that cannot be given back its owner, group, attributes or permissions keeps its
    // inode instead, and with it all of them.
    if (exists && giveMetadata(fd, path, old) != 0) {
        const QString leftover = dropTemp();
        if (!leftover.isEmpty() && strays) *strays << leftover;
        return inPlace(0);
    }
    // Each piece is written as it is made, and hashed once it is in the file.
    ContentHasher hasher;
    off_t offset = 0;
    ChunkedOutput out([&](QByteArrayView piece) {
        if (!fileio::writeAll(fd, piece.data(), piece.size(), offset)) return false;
        hasher.add(piece);
        offset += off_t(piece.size());
        return true;
    });
    if (auto error = produce(out)) return abandon(*error);
    if (!out.finish()) return abandon(writeError(fileName, out.error()));
    if (fileio::sync(fd) != 0) return abandon(writeError(fileName, errno));
    const int closed = fileio::close(fd);
    fd = -1;
    if (closed != 0) return abandon(writeError(fileName, errno));
    // The question before the save looked at the file; another program may have written it
    // since, and the rename would throw that away.
    if (expected && !holdsExpected(identityOnDisk(dir, fileName), *expected)) {
        return abandon(changedWhileSaving(fileName));
    }
    if (fileio::rename(temp, path) != 0) return abandon(writeError(fileName, errno));
    if (digest) *digest = {qint64(offset), hasher.result()};
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
                                         const AppendPlan& prepare, AppendDigests* digests) {
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
    if (digests) {
        ContentHasher hasher;
        hasher.add(content);
        digests->before = created ? WrittenDigest{} : WrittenDigest{oldSize, contentHash(content)};
        hasher.add(line);
        digests->after = {qint64(oldSize) + line.size(), hasher.result()};
    }
    return std::nullopt;
}

}  // namespace mdb
