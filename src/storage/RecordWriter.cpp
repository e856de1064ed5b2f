#include "storage/RecordWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "storage/Cp932.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// The first character that would make the field read back differently, or null. The reader
// ends an unquoted field at a comma and a quoted one at a double quote, and any line end
// splits a record, so none of them survives a reload where it stands.
QChar firstUnwritable(QStringView text, bool quoted) {
    for (QChar c : text) {
        if (c == u'"' || c == u'\r' || c == u'\n') return c;
        if (c == u',' && !quoted) return c;
    }
    return {};
}

StorageError fieldError(ErrorKind kind, const QString& fileName, qint32 record, int field,
                        QString fieldName, QString character) {
    StorageError e;
    e.kind = kind;
    e.fileName = fileName;
    e.record = record;
    e.field = field;
    e.fieldName = std::move(fieldName);
    e.character = std::move(character);
    return e;
}

StorageError writeError(const QString& fileName, QString detail) {
    StorageError e;
    e.kind = ErrorKind::WriteFailed;
    e.fileName = fileName;
    e.detail = std::move(detail);
    return e;
}

// Makes the rename itself durable, so that a power cut right after a save does not bring the
// old file back.
void syncFolder(const QDir& dir) {
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(dir.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(dir);
#endif
}

}  // namespace

std::optional<StorageError> encodeTable(const Table& table, const TableLayout& layout,
                                        QByteArray& out) {
    out.clear();
    const int width = table.fieldCount();
    qsizetype length = 0;
    for (qint32 r = 1; r <= table.Count(); ++r) {
        for (int f = 1; f <= width; ++f) length += table.fieldView(r, f).size() + 1;
        length += layout.quotedField ? 3 : 1;  // the quotes and CR LF, less the last comma
    }
    // Written straight into a buffer of the final size; the characters are checked on the way.
    QString text(length, Qt::Uninitialized);
    char16_t* out16 = reinterpret_cast<char16_t*>(text.data());
    cp932::TextTraits traits;
    for (qint32 r = 1; r <= table.Count(); ++r) {
        for (int f = 1; f <= width; ++f) {
            const QStringView value = table.fieldView(r, f);
            const bool quoted = f == layout.quotedField;
            if (f > 1) *out16++ = u',';
            if (quoted) *out16++ = u'"';
            const char16_t* src = value.utf16();
            for (qsizetype i = 0; i < value.size(); ++i) {
                const char16_t c = src[i];
                *out16++ = c;
                // printable ASCII other than the two separators needs no second look
                if (c >= 0x20 && c < 0x7F && c != u'"' && c != u',') continue;
                if (c == u'"' || c == u'\r' || c == u'\n' || (c == u',' && !quoted)) {
                    return fieldError(ErrorKind::UnwritableField, layout.fileName, r, f,
                                      table.fieldNames().value(f - 1), QString(QChar(c)));
                }
                traits.see(c);
            }
            if (quoted) *out16++ = u'"';
        }
        *out16++ = u'\r';
        *out16++ = u'\n';
    }
    Q_ASSERT(out16 == reinterpret_cast<char16_t*>(text.data()) + text.size());

    // One conversion for the whole table; only when it fails is the culprit looked for
    // field by field, so that the message can name the record.
    if (std::optional<QByteArray> bytes = cp932::encode(text, traits)) {
        out = std::move(*bytes);
        return std::nullopt;
    }
    for (qint32 r = 1; r <= table.Count(); ++r) {
        for (int f = 1; f <= width; ++f) {
            QString bad;
            if (!cp932::encode(table.field(r, f), &bad)) {
                return fieldError(ErrorKind::Unencodable, layout.fileName, r, f,
                                  table.fieldNames().value(f - 1), bad);
            }
        }
    }
    // Every field encodes alone, so the joined text must too; report it rather than assume.
    return fieldError(ErrorKind::Unencodable, layout.fileName, 0, 0, {}, {});
}

std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const QByteArray& bytes) {
    const QString path = dir.filePath(fileName);
    const QFileInfo existing(path);
    if (existing.isDir()) return writeError(fileName, u"Is a directory"_s);
    // The rename would replace a file the user has made read-only; respect the mark.
    if (existing.exists() && !existing.isWritable()) {
        return writeError(fileName, u"The file is read-only"_s);
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return writeError(fileName, file.errorString());
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        // Without the cancel, commit() would still rename a truncated file into place.
        QString reason = file.errorString();
        if (file.error() == QFileDevice::NoError) {
            reason = u"Only %1 of %2 bytes were written"_s.arg(written).arg(bytes.size());
        }
        file.cancelWriting();
        file.commit();
        return writeError(fileName, reason);
    }
    if (!file.commit()) return writeError(fileName, file.errorString());
    syncFolder(dir);
    return std::nullopt;
}

std::optional<StorageError> appendRecordLine(const QDir& dir, const QString& fileName,
                                             const QStringList& fields) {
    for (int i = 0; i < fields.size(); ++i) {
        if (const QChar bad = firstUnwritable(fields[i], false); !bad.isNull()) {
            return fieldError(ErrorKind::UnwritableField, fileName, 0, i + 1, {}, QString(bad));
        }
    }
    const std::optional<QByteArray> line = cp932::encode(fields.join(u',') + u"\r\n"_s);
    if (!line) {
        for (int i = 0; i < fields.size(); ++i) {
            QString bad;
            if (!cp932::encode(fields[i], &bad)) {
                return fieldError(ErrorKind::Unencodable, fileName, 0, i + 1, {}, bad);
            }
        }
        return fieldError(ErrorKind::Unencodable, fileName, 0, 0, {}, {});
    }

    QFile file(dir.filePath(fileName));
    if (!file.open(QIODevice::ReadWrite)) return writeError(fileName, file.errorString());
    const qint64 oldSize = file.size();
    QByteArray bytes;
    if (oldSize > 0) {
        // A last line without its line end would otherwise swallow the new record's first
        // field into its last one.
        char last = 0;
        if (!file.seek(oldSize - 1) || !file.getChar(&last)) {
            return writeError(fileName, file.errorString());
        }
        if (last != '\n' && last != '\r') bytes += "\r\n";
    }
    bytes += *line;
    if (!file.seek(oldSize)) return writeError(fileName, file.errorString());
    const qint64 written = file.write(bytes);
    const bool flushed = written == bytes.size() && file.flush();
    if (!flushed) {
        // Take back a partial line so that the file still divides into whole records.
        const QString reason = file.errorString();
        file.resize(oldSize);
        return writeError(fileName, reason);
    }
    file.close();
    return std::nullopt;
}

}  // namespace mdb
