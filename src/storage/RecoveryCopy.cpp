#include "storage/RecoveryCopy.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "storage/FileIo.h"
#include "storage/StateFolder.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QByteArray kMagic = "monster-db-editor recovery 1\n";

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray describe(const QByteArray& bytes) {
    return QByteArray::number(bytes.size()) + ' ' + digest(bytes);
}

// Every copy of one database folder starts with the folder's own name, so that a start looks
// only at its own.
QString prefixFor(const QDir& dir) {
    return stateNameFor(dir.absolutePath()) + u'-';
}

struct Parsed {
    QByteArray path;
    QByteArray oldLine;  // size and digest of the old content
    QByteArray newLine;
    QByteArray old;
};

std::optional<Parsed> parse(const QByteArray& bytes) {
    if (!bytes.startsWith(kMagic)) return std::nullopt;
    const qsizetype end = bytes.indexOf("\n\n", kMagic.size() - 1);
    if (end < 0) return std::nullopt;
    const QList<QByteArray> lines = bytes.mid(kMagic.size(), end - kMagic.size()).split('\n');
    if (lines.size() != 3 || !lines[0].startsWith("path ") || !lines[1].startsWith("old ") ||
        !lines[2].startsWith("new ")) {
        return std::nullopt;
    }
    Parsed p{QByteArray::fromHex(lines[0].mid(5)), lines[1].mid(4), lines[2].mid(4),
             bytes.mid(end + 2)};
    // a copy that is not whole must not be written over anything
    if (p.path.isEmpty() || describe(p.old) != p.oldLine) return std::nullopt;
    return p;
}

StorageError recoveryError(const QString& file, int error, const QString& copy) {
    StorageError e;
    e.kind = ErrorKind::RecoveryFailed;
    e.fileName = file;
    e.systemError = error;
    e.detail = QString::fromLocal8Bit(::strerror(error));
    e.recoveryCopy = copy;
    return e;
}

// The whole content of a regular file, never read through a symlink (nor, with `own`, a file
// of another user); nullopt with errno set otherwise.
std::optional<QByteArray> readRegular(const QByteArray& path, bool own = false) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    QByteArray content;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && (!S_ISREG(st.st_mode) || (own && st.st_uid != ::geteuid()))) {
        errno = EINVAL;
        ok = false;
    }
    ok = ok && fileio::readAll(fd, content);
    const int error = errno;
    fileio::discard(fd);
    errno = error;
    return ok ? std::optional(content) : std::nullopt;
}

}  // namespace

KeptCopy keepRecoveryCopy(const QDir& dir, const QByteArray& path, const QByteArray& old,
                          const QByteArray& next) {
    KeptCopy kept;
    errno = 0;
    kept.folder = stateFolder(u"recovery"_s, &kept.problem);
    if (kept.folder.isEmpty()) {
        kept.error = errno ? errno : EACCES;
        // named even when it is not the user's own: the message says where and why
        kept.folder = stateFolderPath(u"recovery"_s);
        return kept;
    }
    const QString name = prefixFor(dir) + QString::fromLatin1(digest(path).left(32));
    const QByteArray final = QFile::encodeName(QDir(kept.folder).filePath(name + u".recovery"_s));
    const QByteArray temp =
        final + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
    // A copy left by an earlier rewrite of this file that could not put the old bytes back
    // holds the file's last whole content: it stays, rather than the damaged one now read.
    if (const std::optional<QByteArray> earlier = readRegular(final, true)) {
        const std::optional<Parsed> parsed = parse(*earlier);
        if (parsed && parsed->path == path) {
            kept.path = final;
            kept.old = parsed->old;
            return kept;
        }
    }
    const QByteArray header = kMagic + "path " + path.toHex() + "\nold " + describe(old) +
                              "\nnew " + describe(next) + "\n\n";
    const int fd = fileio::openCopy(temp);
    if (fd < 0) {
        kept.error = errno;
        return kept;
    }
    const bool written = fileio::writeAll(fd, header.constData(), header.size(), 0) &&
                         fileio::writeAll(fd, old.constData(), old.size(), header.size()) &&
                         fileio::sync(fd) == 0;
    int error = errno;
    const bool closed = fileio::close(fd) == 0;
    if (written && !closed) error = errno;
    if (!written || !closed || fileio::rename(temp, final) != 0 ||
        fileio::syncFolder(QFile::encodeName(kept.folder)) != 0) {
        kept.error = written && closed ? errno : error;
        fileio::removeFile(temp);
        fileio::removeFile(final);
        return kept;
    }
    kept.path = final;
    kept.old = old;
    return kept;
}

void dropRecoveryCopy(const QByteArray& copyPath) {
    if (!copyPath.isEmpty()) fileio::remove(copyPath);
}

namespace {

// Whether `path` names a file right inside the database folder `dir`: its folder, resolved, is
// the folder being opened, and its own name is a plain name that is not a symlink.
bool isFileOf(const QDir& dir, const QByteArray& path) {
    const QString file = QFile::decodeName(path);
    const qsizetype slash = file.lastIndexOf(u'/');
    if (slash < 0) return false;
    const QString name = file.sliced(slash + 1);
    if (name.isEmpty() || name == u"."_s || name == u".."_s) return false;
    const QString folder = QFileInfo(file.left(qMax(slash, qsizetype(1)))).canonicalFilePath();
    if (folder.isEmpty() || folder != QFileInfo(dir.absolutePath()).canonicalFilePath()) {
        return false;
    }
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Keeps what a file holds that is neither its old nor its new content (another program may
// have written it after the crash) in the state folder before the old bytes go over it;
// returns where, empty when it could not be kept.
QString keepAside(const QString& file, const QByteArray& bytes) {
    const QString folder = stateFolder(u"aside"_s);
    if (folder.isEmpty()) return {};
    const QString stamp = QDateTime::currentDateTimeUtc().toString(u"yyyyMMddHHmmss"_s);
    // a new name beside every earlier one: O_EXCL never replaces (nor follows) anything
    QString aside;
    QByteArray name;
    int fd = -1;
    for (int n = 0; fd < 0 && n < 1000; ++n) {
        aside = QDir(folder).filePath(
            u"%1.%2-%3.found"_s.arg(QFileInfo(file).fileName(), stamp).arg(n));
        name = QFile::encodeName(aside);
        fd = fileio::openCopy(name);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return {};
    const bool ok =
        fileio::writeAll(fd, bytes.constData(), bytes.size(), 0) && fileio::sync(fd) == 0;
    if (fileio::close(fd) != 0 || !ok || fileio::syncFolder(QFile::encodeName(folder)) != 0) {
        fileio::removeFile(name);
        return {};
    }
    return aside;
}

}  // namespace

RestoreReport restoreInterruptedRewrites(const QDir& dir) {
    RestoreReport report;
    const QString folder = existingStateFolder(u"recovery"_s);
    if (folder.isEmpty()) return report;  // no copy was ever kept, or none that can be trusted
    const QDir copies(folder);
    const QString prefix = prefixFor(dir);
    // a copy that was never put in place: its file was not touched yet
    for (const QString& name : copies.entryList({prefix + u"*.tmp"_s}, QDir::Files)) {
        fileio::removeFile(QFile::encodeName(copies.filePath(name)));
    }
    for (const QString& name :
         copies.entryList({prefix + u"*.recovery"_s}, QDir::Files | QDir::System, QDir::Name)) {
        const QString copyPath = copies.filePath(name);
        const std::optional<QByteArray> bytes = readRegular(QFile::encodeName(copyPath), true);
        const std::optional<Parsed> parsed = bytes ? parse(*bytes) : std::nullopt;
        if (!parsed) {
            report.failure = recoveryError(QString(), EBADMSG, copyPath);
            return report;
        }
        // nothing read from the state folder names a file the editor would not touch anyway
        if (!isFileOf(dir, parsed->path)) {
            report.refused << copyPath;
            continue;
        }
        const QString file = QFile::decodeName(parsed->path);
        const std::optional<QByteArray> now = readRegular(parsed->path);
        if (!now) {
            report.failure = recoveryError(file, errno, copyPath);
            return report;
        }
        // A file that holds all of its old or all of its new content is whole.
        const QByteArray nowLine = describe(*now);
        if (nowLine != parsed->oldLine && nowLine != parsed->newLine) {
            const QString aside = keepAside(file, *now);
            if (aside.isEmpty()) {
                report.failure = recoveryError(file, errno ? errno : EIO, copyPath);
                return report;
            }
            report.keptAside << aside;
            if (!fileio::restoreContent(parsed->path, parsed->old)) {
                report.failure = recoveryError(file, errno ? errno : EIO, copyPath);
                return report;
            }
            report.restored << file;
        }
        dropRecoveryCopy(QFile::encodeName(copyPath));
    }
    return report;
}

}  // namespace mdb
