#include "storage/ItemRead.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstring>
#include <limits>
#include <memory>

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
    // IDs and names are a small part of an item line
    table.reserve(bytes.size() / 8);
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

// The fast read of a whole item file through one buffer of a fixed size: the bytes are checked
// and their records read while they are in the processor's cache, and no memory the size of
// the file is ever touched. False whenever the file is not plainly a regular file that reads
// and holds whole records of valid bytes: the caller then reads it as every database file is
// read, for the errors and the full reader's verdict.
bool streamFast(const QDir& dir, ItemTable& table) {
    const cp932::CharTable* chars = cp932::CharTable::instance();
    if (!chars || table.width() < ItemField::ItemName) return false;
    const QByteArray path = QFile::encodeName(dir.filePath(table.fileName()));
    // the type is looked at before the file is opened: opening a device can have effects
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !readableRegularFile(st)) return false;
    Descriptor file{::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !readableRegularFile(st)) return false;
    // IDs and names are a small part of an item line
    table.reserve(qsizetype(st.st_size) / 8);

    qsizetype capacity = 256 * 1024;
    std::unique_ptr<char[]> buffer(new char[size_t(capacity)]);
    qsizetype start = 0, checked = 0, filled = 0;  // records read up to start
    qint64 total = 0;
    for (;;) {
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
                start = 0;
            }
        }
        const ssize_t n = ::read(file.fd, buffer.get() + filled, size_t(capacity - filled));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || (total += n) > kMaxDatabaseFileSize) return false;
        const bool end = n == 0;
        filled += n;
        const auto* bytes = reinterpret_cast<const uchar*>(buffer.get());
        checked += chars->wholeCharacters(bytes + checked, filled - checked);
        // only a lead byte whose second byte is yet to be read may wait
        if (checked < filled &&
            (end || checked + 1 < filled || !chars->beginsPair(bytes[checked]))) {
            return false;
        }
        start = scanItemRecords(*chars, buffer.get(), checked, end, start, table);
        if (start < 0) return false;
        if (end) return start == filled;
    }
}

}  // namespace

std::optional<StorageError> readItemFile(const QDir& dir, ItemTable& table) {
    table.clear();
    if (streamFast(dir, table)) {
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
            if (table.Count() == 0) table.reserve(text.size() / 8);
            table.append(fields[ItemField::ItemId - 1], fields[ItemField::ItemName - 1]);
            return true;
        });
    table.finish();
    return error;
}

}  // namespace mdb
