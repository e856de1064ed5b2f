#include "storage/FileIdentity.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <new>

#include "storage/ContentHashWide.h"

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

// Whether the hash may take its 32-byte steps (ContentHashWide): asked once.
bool wideSteps() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}

qint64 modifiedOf(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0;
}

}  // namespace

QByteArray contentHash(QByteArrayView bytes) {
    if (wideSteps()) {
        unsigned char digest[16];
        wide::hash128(bytes.data(), size_t(bytes.size()), digest);
        return QByteArray(reinterpret_cast<const char*>(digest), sizeof digest);
    }
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
    if (wideSteps()) {
        wide::update128(state_, bytes.data(), size_t(bytes.size()));
        return;
    }
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
    FileIdentity identity;
    identity.fileName = fileName;
    // O_NONBLOCK: a FIFO put in the file's place must not make the check wait
    const int fd = ::open(QFile::encodeName(dir.filePath(fileName)).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return identity;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // the time first: a change while the bytes are read then shows as a later time too
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return identity;
    identity.modifiedMsecs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    // in small pieces: a check before a save must not hold another copy of the largest file
    ContentHasher hasher;
    constexpr size_t kPiece = 64 * 1024;
    const std::unique_ptr<char[]> piece(new char[kPiece]);
    qint64 size = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, piece.get(), kPiece, off_t(size));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return identity;
        if (n == 0) break;
        hasher.add(QByteArrayView(piece.get(), n));
        size += n;
    }
    identity.size = size;
    identity.hash = hasher.result();
    return identity;
}

}  // namespace mdb
