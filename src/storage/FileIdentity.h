#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QString>

namespace mdb {

// What a database file was when the editor read or last wrote it: its size, when it was last
// modified and a hash of its bytes. Another program's change shows as a different size or
// hash; a file merely touched, or written again with the same bytes, is the same file.
struct FileIdentity {
    QString fileName;          // bare file name
    qint64 size = -1;          // -1: there was no such file (or it could not be read)
    qint64 modifiedMsecs = 0;  // milliseconds since the epoch, UTC
    QByteArray hash;

    bool exists() const { return size >= 0; }
    bool sameContent(const FileIdentity& other) const {
        return size == other.size && hash == other.hash;
    }
};

// A 128-bit hash of the bytes (XXH3). It tells another program's change from the editor's own
// bytes, which is all an identity is for: no one is expected to forge a file against it, and a
// cryptographic hash would cost the start-up more than reading the files does.
QByteArray contentHash(QByteArrayView bytes);

// contentHash of bytes handed over piece by piece.
class ContentHasher {
public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher&) = delete;
    ContentHasher& operator=(const ContentHasher&) = delete;

    void add(QByteArrayView bytes);
    QByteArray result() const;

private:
    void* state_;  // XXH3_state_t, kept out of this header
};

// The identity of a file whose bytes the editor read or wrote (`size` of them, hashed to `hash`),
// with the file's modification time now.
FileIdentity identityOf(const QDir& dir, const QString& fileName, qint64 size, QByteArray hash);
// The identity of bytes the editor holds of a file, with the file's modification time now.
FileIdentity identityOfBytes(const QDir& dir, const QString& fileName, QByteArrayView bytes);
// The identity of the file as it is on disk now (read in pieces, never held whole).
FileIdentity identityOnDisk(const QDir& dir, const QString& fileName);

}  // namespace mdb
