// The bytes of the recovery journal: a magic line, then entries, each its length, its check and
// its payload, so that a write cut short is recognised and costs only itself.
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QFile>
#include <QtEndian>

#include "storage/Journal.h"

namespace mdb {

namespace {

// Version 3 names the folder by device and inode too and keeps each changed record's key.
// Version 2 (no keys, the folder by path) is still read; a version 1 journal (SHA-1
// identities) cannot vouch for the files as this build identifies them, so it is only
// recognised, never applied.
constexpr QByteArrayView kMagic = "MDB-JOURNAL 3\n";
constexpr QByteArrayView kMagic2 = "MDB-JOURNAL 2\n";
constexpr QByteArrayView kOlderMagic = "MDB-JOURNAL 1\n";
// An entry's length, then its check, then its bytes.
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

// One entry's payload, read into `out`; false when it is not what this build writes.
bool readEntry(Reader& r, char kind, bool current, bool& headerSeen, JournalContents& out) {
    if (!headerSeen && kind != Header) return false;
    if (kind == Header) {
        JournalFolder folder;
        folder.path = r.text();
        if (current) {
            folder.device = quint64(r.i64());
            folder.inode = quint64(r.i64());
        }
        // a later run's part of the journal belongs to the same folder, or is not read
        if (headerSeen && !(folder == out.folder)) return false;
        std::vector<FileIdentity> files;
        const quint32 n = r.u32();
        for (quint32 i = 0; i < n && r.ok; ++i) putIdentity(files, r.identity());
        if (!r.atEnd()) return false;
        out.folder = folder;
        out.folderKnown = current;
        for (const FileIdentity& id : files) putIdentity(out.files, id);
        out.partStarts.push_back(out.updates.size());
        headerSeen = true;
    } else if (kind == Identity) {
        const FileIdentity id = r.identity();
        if (!r.atEnd()) return false;
        putIdentity(out.files, id);
    } else if (kind == Update) {
        JournalUpdate update;
        const quint32 n = r.u32();
        for (quint32 i = 0; i < n && r.ok; ++i) {
            JournalChange c;
            c.fileName = r.text();
            c.record = qint32(r.u32());
            c.field = qint32(r.u32());
            if (current) {
                c.key = r.text();
                c.keyed = true;
            }
            c.before = r.text();
            c.after = r.text();
            update.push_back(std::move(c));
        }
        if (!r.atEnd()) return false;
        out.updates.push_back(std::move(update));
    } else {
        return false;
    }
    return true;
}

}  // namespace

JournalFolder JournalFolder::of(const QString& path) {
    JournalFolder folder{path};
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        folder.device = quint64(st.st_dev);
        folder.inode = quint64(st.st_ino);
    }
    return folder;
}

JournalContents readJournal(QByteArrayView bytes) {
    JournalContents out;
    out.damaged = true;
    if (bytes.startsWith(kOlderMagic)) {
        out.olderFormat = true;
        return out;
    }
    const bool current = bytes.startsWith(kMagic);
    if (!current && !bytes.startsWith(kMagic2)) return out;
    qsizetype pos = kMagic.size();
    bool headerSeen = false;
    while (pos < bytes.size()) {
        Reader framing{bytes, pos};
        const quint32 length = framing.u32();
        if (!framing.need(kCheckBytes) || length > kMaxEntry) break;
        const QByteArrayView check = bytes.sliced(framing.pos, kCheckBytes);
        framing.pos += kCheckBytes;
        if (!framing.need(qsizetype(length))) break;
        const QByteArrayView payload = bytes.sliced(framing.pos, qsizetype(length));
        if (payload.isEmpty() || check != checkOf(payload)) break;
        Reader r{payload, 1};
        if (!readEntry(r, payload[0], current, headerSeen, out)) break;
        pos = framing.pos + qsizetype(length);
    }
    out.damaged = !headerSeen;
    out.torn = headerSeen && pos < bytes.size();
    out.wholeBytes = headerSeen ? pos : 0;
    return out;
}

QByteArray Journal::headerBytes(const QString& folder, const std::vector<FileIdentity>& files) {
    const JournalFolder where = JournalFolder::of(folder);
    Writer w;
    w.out += char(Header);
    w.text(where.path);
    w.i64(qint64(where.device));
    w.i64(qint64(where.inode));
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
        w.text(c.key);
        w.text(c.before);
        w.text(c.after);
    }
    return frame(w.out);
}

QByteArray Journal::entryBytes(const QByteArray& payload) {
    return frame(payload);
}

QByteArray identityEntryBytes(const FileIdentity& identity) {
    Writer w;
    w.out += char(Identity);
    w.identity(identity);
    return frame(w.out);
}

}  // namespace mdb
