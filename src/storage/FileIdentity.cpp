#include "storage/FileIdentity.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <new>

// header-only: nothing is added to what the program needs at run time
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace mdb {

namespace {

QByteArray canonical(XXH128_hash_t hash) {
    XXH128_canonical_t bytes;
    XXH128_canonicalFromHash(&bytes, hash);
    return QByteArray(reinterpret_cast<const char*>(bytes.digest), sizeof bytes.digest);
}

qint64 modifiedOf(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0;
}

}  // namespace

QByteArray contentHash(QByteArrayView bytes) {
    return canonical(XXH3_128bits(bytes.data(), size_t(bytes.size())));
}

ContentHasher::ContentHasher() : state_(XXH3_createState()) {
    if (!state_) throw std::bad_alloc();
    XXH3_128bits_reset(static_cast<XXH3_state_t*>(state_));
}

ContentHasher::~ContentHasher() {
    XXH3_freeState(static_cast<XXH3_state_t*>(state_));
}

void ContentHasher::add(QByteArrayView bytes) {
    XXH3_128bits_update(static_cast<XXH3_state_t*>(state_), bytes.data(), size_t(bytes.size()));
}

QByteArray ContentHasher::result() const {
    return canonical(XXH3_128bits_digest(static_cast<const XXH3_state_t*>(state_)));
}

FileIdentity identityOf(const QDir& dir, const QString& fileName, qint64 size, QByteArray hash) {
    return {fileName, size, modifiedOf(dir.filePath(fileName)), std::move(hash)};
}

FileIdentity identityOfBytes(const QDir& dir, const QString& fileName, QByteArrayView bytes) {
    return identityOf(dir, fileName, bytes.size(), contentHash(bytes));
}

FileIdentity identityOnDisk(const QDir& dir, const QString& fileName) {
    QFile file(dir.filePath(fileName));
    FileIdentity identity;
    identity.fileName = fileName;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return identity;
    // the time first: a change while the bytes are read then shows as a later time too
    identity.modifiedMsecs = modifiedOf(file.fileName());
    // in pieces: a check before a save must not hold another copy of the largest file
    ContentHasher hasher;
    QByteArray piece(256 * 1024, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const qint64 n = file.read(piece.data(), piece.size());
        if (n < 0) return identity;
        if (n == 0) break;
        hasher.add(QByteArrayView(piece.constData(), n));
        size += n;
    }
    if (file.error() != QFileDevice::NoError) return identity;
    identity.size = size;
    identity.hash = hasher.result();
    return identity;
}

}  // namespace mdb
