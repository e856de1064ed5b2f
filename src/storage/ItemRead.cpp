#include "storage/ItemRead.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>

#include "storage/Cp932Table.h"
#include "storage/FileRead.h"
#include "storage/ItemScan.h"
#include "storage/RecordReader.h"

namespace mdb {

namespace {

// The whole read on the raw bytes; false when the full reader must have its say. Every byte
// is checked first, as the full decode checks it; a failure anywhere sends the whole file to
// the full reader, which starts again from an empty table.
bool readFast(const QByteArray& bytes, ItemTable& table) {
    const cp932::CharTable* chars = cp932::CharTable::instance();
    if (!chars || table.width() < ItemField::ItemName) return false;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    if (chars->wholeCharacters(data, bytes.size()) != bytes.size()) return false;
    table.reserveFor(bytes.size());
    return scanItemRecords(*chars, bytes.constData(), bytes.size(), true, 0, table) == bytes.size();
}

// Closes a file descriptor when it goes.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool readableRegularFile(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_size <= kMaxDatabaseFileSize;
}

// Reads the records of the file from `begin`, a record's start, through one buffer of a fixed
// size: the bytes are checked and their records read while they are in the processor's cache,
// and no memory the size of the file is ever touched. With a `limit` the bytes stop there and a
// record it cuts is left unread; without one (-1) they run to the end of the file, which must
// end the last record. Returns where the records read end, or -1 whenever the bytes are not
// plainly valid and whole records, a read fails, or `stop` is set.
qint64 streamRecords(int fd, qint64 begin, qint64 limit, const cp932::CharTable& chars,
                     ItemTable& table, const std::atomic<bool>* stop) {
    qsizetype capacity = 256 * 1024;
    std::unique_ptr<char[]> buffer(new char[size_t(capacity)]);
    qsizetype start = 0, checked = 0, filled = 0;  // records read up to start
    qint64 base = begin;                           // where the buffer's first byte lies
    for (;;) {
        if (stop && stop->load(std::memory_order_relaxed)) return -1;
        const qint64 at = base + filled;
        if (at == limit) return base + start;
        if (filled == capacity) {
            if (start == 0) {  // one record fills the buffer
                capacity *= 2;
                std::unique_ptr<char[]> larger(new char[size_t(capacity)]);
                std::memcpy(larger.get(), buffer.get(), size_t(filled));
                buffer = std::move(larger);
            } else {
                std::memmove(buffer.get(), buffer.get() + start, size_t(filled - start));
                filled -= start;
                checked -= start;
                base += start;
                start = 0;
            }
        }
        qint64 wanted = capacity - filled;
        if (limit >= 0) wanted = std::min(wanted, limit - (base + filled));
        const ssize_t n = ::pread(fd, buffer.get() + filled, size_t(wanted), base + filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || base + filled + n > kMaxDatabaseFileSize) return -1;
        if (n == 0 && limit >= 0) return -1;  // the file is shorter than it was
        const bool end = n == 0;
        filled += n;
        const auto* bytes = reinterpret_cast<const uchar*>(buffer.get());
        checked += chars.wholeCharacters(bytes + checked, filled - checked);
        // only a lead byte whose second byte is yet to be read may wait
        if (checked < filled &&
            (end || checked + 1 < filled || !chars.beginsPair(bytes[checked]))) {
            return -1;
        }
        start = scanItemRecords(chars, buffer.get(), checked, end, start, table);
        if (start < 0) return -1;
        if (end) return start == filled ? base + filled : -1;
    }
}

// Where a second thread may begin to read: just after the first LF from `from` on, which in a
// valid file ends a character, and ends a record unless it lies in a quoted value; -1 when
// there is none near. Whether it ends a record is known only once the records before it have
// been read up to it.
qint64 cutAfterLineEnd(int fd, qint64 from, qint64 size) {
    char window[64 * 1024];
    const ssize_t n = ::pread(fd, window, sizeof window, from);
    if (n <= 0) return -1;
    const void* lf = std::memchr(window, '\n', size_t(n));
    if (!lf) return -1;
    const qint64 cut = from + (static_cast<const char*>(lf) - window) + 1;
    return cut < size ? cut : -1;
}

// The records of the file in two halves, the second read by a thread of its own from a cut
// near the middle, while this one reads up to the cut. The halves are joined only when the
// records of the first end exactly at the cut: the second then began where a read from the
// start finds a record's start, and read what that read would have. Otherwise (the cut lay in
// a quoted value) its work is dropped and the first half is read on to the end of the file.
bool streamInTwo(int fd, qint64 cut, const cp932::CharTable& chars, ItemTable& table, qint64 size) {
    ItemTable tail = table.emptyCopy();
    tail.reserveFor(size - cut);
    std::atomic<bool> stop{false};
    qint64 tailEnd = -1;
    bool tailFailed = false;  // not for the bytes: no memory for the second half
    std::optional<std::thread> worker;
    try {
        worker.emplace([&] {
            try {
                tailEnd = streamRecords(fd, cut, -1, chars, tail, &stop);
            } catch (...) {
                tailFailed = true;
            }
        });
    } catch (const std::system_error&) {
        return streamRecords(fd, 0, -1, chars, table, nullptr) >= 0;
    }
    table.reserveFor(cut);
    qint64 headEnd = -1;
    try {
        headEnd = streamRecords(fd, 0, cut, chars, table, nullptr);
    } catch (...) {
        stop = true;
        worker->join();
        throw;
    }
    if (headEnd != cut) stop = true;
    worker->join();
    if (headEnd < 0) return false;
    if (headEnd == cut && !tailFailed) return tailEnd >= 0 && table.appendItemsOf(tail);
    return streamRecords(fd, headEnd, -1, chars, table, nullptr) >= 0;
}

// The fast read of a whole item file. False whenever the file is not plainly a regular file
// that reads and holds whole records of valid bytes: the caller then reads it as every
// database file is read, for the errors and the full reader's verdict.
bool streamFast(const QDir& dir, ItemTable& table, qint64 splitFrom) {
    const cp932::CharTable* chars = cp932::CharTable::instance();
    if (!chars || table.width() < ItemField::ItemName) return false;
    const QByteArray path = QFile::encodeName(dir.filePath(table.fileName()));
    // the type is looked at before the file is opened: opening a device can have effects
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !readableRegularFile(st)) return false;
    Descriptor file{::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !readableRegularFile(st)) return false;
    const qint64 size = st.st_size;
    const qint64 cut =
        splitFrom >= 0 && size >= splitFrom ? cutAfterLineEnd(file.fd, size / 2, size) : -1;
    if (cut > 0) return streamInTwo(file.fd, cut, *chars, table, size);
    table.reserveFor(size);
    return streamRecords(file.fd, 0, -1, *chars, table, nullptr) >= 0;
}

}  // namespace

qint64 itemFileSplitSize() {
    // one core would read the halves one after the other, for nothing
    static const qint64 size = std::thread::hardware_concurrency() > 1 ? 512 * 1024 : -1;
    return size;
}

std::optional<StorageError> readItemFile(const QDir& dir, ItemTable& table, qint64 splitFrom) {
    table.clear();
    if (streamFast(dir, table, splitFrom)) {
        table.finish();
        return std::nullopt;
    }
    table.clear();
    QByteArray bytes;
    if (auto error = readDatabaseFile(dir, table.fileName(), bytes)) return error;
    return readItemRecords(bytes, table);
}

std::optional<StorageError> readItemRecords(const QByteArray& bytes, ItemTable& table) {
    if (readFast(bytes, table)) {
        table.finish();
        return std::nullopt;
    }
    table.clear();
    QString text;
    auto error = readRecords(
        bytes, table.fileName(), table.width(), text, [&table, &text](const QStringView* fields) {
            if (table.Count() == std::numeric_limits<qint32>::max()) {
                return false;
            }
            if (table.Count() == 0) table.reserveFor(text.size());
            table.append(fields[ItemField::ItemId - 1], fields[ItemField::ItemName - 1]);
            return true;
        });
    table.finish();
    return error;
}

}  // namespace mdb
