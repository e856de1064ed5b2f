#include "storage/Journal.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstring>

#include "storage/StateFolder.h"

namespace mdb {

namespace {

// Version 2 identifies files by XXH3-128. A version 1 journal (SHA-1 identities) cannot vouch
// for the files as this build identifies them, so it is only recognised, never applied.
constexpr QByteArrayView kMagic = "MDB-JOURNAL 2\n";
constexpr QByteArrayView kOlderMagic = "MDB-JOURNAL 1\n";
// An entry's length, then its check, then its bytes.
constexpr qsizetype kLengthBytes = 4;
constexpr qsizetype kCheckBytes = 8;
// No update of a form comes near this; a length beyond it is damage, not an entry.
constexpr quint32 kMaxEntry = 64u << 20;

enum Kind : char { Header = 'H', Update = 'U', Identity = 'I' };

QByteArray checkOf(QByteArrayView payload) {
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha1).left(kCheckBytes);
}

struct Writer {
    QByteArray out;
    void u32(quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    }
    void i64(qint64 v) {
        char b[8];
        qToLittleEndian(v, b);
        out.append(b, 8);
    }
    void bytes(QByteArrayView v) {
        u32(quint32(v.size()));
        out.append(v.data(), v.size());
    }
    void text(const QString& v) { bytes(v.toUtf8()); }
    void identity(const FileIdentity& id) {
        text(id.fileName);
        i64(id.size);
        i64(id.modifiedMsecs);
        bytes(id.hash);
    }
};

// Reads what Writer wrote; any read past the end or a text that is not UTF-8 fails for good.
struct Reader {
    QByteArrayView in;
    qsizetype pos = 0;
    bool ok = true;

    bool need(qsizetype n) {
        if (!ok || n < 0 || in.size() - pos < n) ok = false;
        return ok;
    }
    quint32 u32() {
        if (!need(4)) return 0;
        const quint32 v = qFromLittleEndian<quint32>(in.data() + pos);
        pos += 4;
        return v;
    }
    qint64 i64() {
        if (!need(8)) return 0;
        const qint64 v = qFromLittleEndian<qint64>(in.data() + pos);
        pos += 8;
        return v;
    }
    QByteArrayView bytes() {
        const quint32 n = u32();
        if (!need(qsizetype(n))) return {};
        const QByteArrayView v = in.sliced(pos, qsizetype(n));
        pos += qsizetype(n);
        return v;
    }
    QString text() {
        const QByteArrayView v = bytes();
        QString s = QString::fromUtf8(v);
        // a lone byte of a broken sequence reads as U+FFFD: the entry is not what was written
        if (s.toUtf8() != v) ok = false;
        return s;
    }
    FileIdentity identity() {
        FileIdentity id;
        id.fileName = text();
        id.size = i64();
        id.modifiedMsecs = i64();
        id.hash = bytes().toByteArray();
        return id;
    }
    bool atEnd() const { return ok && pos == in.size(); }
};

QByteArray frame(const QByteArray& payload) {
    Writer w;
    w.u32(quint32(payload.size()));
    w.out += checkOf(payload);
    w.out += payload;
    return w.out;
}

void putIdentity(std::vector<FileIdentity>& files, const FileIdentity& id) {
    for (FileIdentity& known : files) {
        if (known.fileName == id.fileName) {
            known = id;
            return;
        }
    }
    files.push_back(id);
}

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes all of `bytes`, continuing after short writes; false with errno set on failure.
bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

}  // namespace

JournalContents readJournal(QByteArrayView bytes) {
    JournalContents out;
    out.damaged = true;
    if (bytes.startsWith(kOlderMagic)) {
        out.olderFormat = true;
        return out;
    }
    if (!bytes.startsWith(kMagic)) return out;
    qsizetype pos = kMagic.size();
    bool headerSeen = false;
    while (pos < bytes.size()) {
        Reader framing{bytes, pos};
        const quint32 length = framing.u32();
        if (!framing.need(kCheckBytes) || length > kMaxEntry) return out;
        const QByteArrayView check = bytes.sliced(framing.pos, kCheckBytes);
        framing.pos += kCheckBytes;
        if (!framing.need(qsizetype(length))) return out;
        const QByteArrayView payload = bytes.sliced(framing.pos, qsizetype(length));
        if (payload.isEmpty() || check != checkOf(payload)) return out;
        pos = framing.pos + qsizetype(length);

        Reader r{payload, 1};
        const char kind = payload[0];
        if (!headerSeen && kind != Header) return out;
        if (kind == Header) {
            if (headerSeen) return out;
            headerSeen = true;
            out.folder = r.text();
            const quint32 n = r.u32();
            for (quint32 i = 0; i < n && r.ok; ++i) putIdentity(out.files, r.identity());
        } else if (kind == Identity) {
            putIdentity(out.files, r.identity());
        } else if (kind == Update) {
            JournalUpdate update;
            const quint32 n = r.u32();
            for (quint32 i = 0; i < n && r.ok; ++i) {
                JournalChange c;
                c.fileName = r.text();
                c.record = qint32(r.u32());
                c.field = qint32(r.u32());
                c.before = r.text();
                c.after = r.text();
                update.push_back(std::move(c));
            }
            out.updates.push_back(std::move(update));
        } else {
            return out;
        }
        if (!r.atEnd()) return out;
    }
    out.damaged = !headerSeen;
    return out;
}

QString Journal::pathFor(const QString& databaseFolder) {
    const QString folder = stateFolder(QStringLiteral("journal"));
    if (folder.isEmpty()) return {};
    return folder + QLatin1Char('/') + stateNameFor(databaseFolder) + QStringLiteral(".journal");
}

bool Journal::exists() const {
    return !path_.isEmpty() && QFile::exists(path_);
}

QByteArray Journal::headerBytes(const QString& folder, const std::vector<FileIdentity>& files) {
    Writer w;
    w.out += char(Header);
    w.text(folder);
    w.u32(quint32(files.size()));
    for (const FileIdentity& id : files) w.identity(id);
    return kMagic.toByteArray() + frame(w.out);
}

QByteArray Journal::updateBytes(const JournalUpdate& update) {
    Writer w;
    w.out += char(Update);
    w.u32(quint32(update.size()));
    for (const JournalChange& c : update) {
        w.text(c.fileName);
        w.u32(quint32(c.record));
        w.u32(quint32(c.field));
        w.text(c.before);
        w.text(c.after);
    }
    return frame(w.out);
}

QByteArray Journal::entryBytes(const QByteArray& payload) {
    return frame(payload);
}

std::optional<QString> Journal::start(const QString& folder,
                                      const std::vector<FileIdentity>& files) {
    started_ = false;
    if (path_.isEmpty()) return QStringLiteral("no state folder");
    // the header goes in whole or not at all: written beside, then renamed into place
    if (auto error = append(headerBytes(folder, files), true)) return error;
    const QByteArray temp = QFile::encodeName(path_ + QStringLiteral(".new"));
    if (::rename(temp.constData(), QFile::encodeName(path_).constData()) != 0) {
        const int e = errno;
        ::unlink(temp.constData());
        return reasonOf(e);
    }
    const int dirFd = ::open(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    started_ = true;
    return std::nullopt;
}

std::optional<QString> Journal::appendUpdate(const JournalUpdate& update) {
    return append(updateBytes(update), false);
}

std::optional<QString> Journal::appendIdentity(const FileIdentity& identity) {
    Writer w;
    w.out += char(Identity);
    w.identity(identity);
    return append(frame(w.out), false);
}

std::optional<QString> Journal::append(const QByteArray& bytes, bool create) {
    const QByteArray path = QFile::encodeName(create ? path_ + QStringLiteral(".new") : path_);
    const int flags =
        create ? O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC : O_WRONLY | O_APPEND | O_CLOEXEC;
    const int fd = ::open(path.constData(), flags, 0600);
    if (fd < 0) return reasonOf(errno);
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && !S_ISREG(st.st_mode)) {
        ok = false;
        errno = EINVAL;
    }
    // owner-only whatever the umask or an older file said
    ok = ok && ::fchmod(fd, 0600) == 0 && writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    const int e = errno;
    if (!ok && !create) {
        // a half-written entry would make every later one unreadable: cut it off again
        if (::ftruncate(fd, st.st_size) == 0) ::fdatasync(fd);
    }
    if (::close(fd) != 0 && ok) return reasonOf(errno);
    if (!ok) {
        if (create) ::unlink(path.constData());
        return reasonOf(e);
    }
    return std::nullopt;
}

void Journal::remove() {
    if (!path_.isEmpty()) QFile::remove(path_);
    started_ = false;
}

QString Journal::setAside(const QString& why) {
    const QString aside =
        path_ + QLatin1Char('.') + why + QLatin1Char('-') +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    started_ = false;
    return QFile::rename(path_, aside) ? aside : QString();
}

}  // namespace mdb
