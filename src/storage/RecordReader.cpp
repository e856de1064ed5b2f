#include "storage/RecordReader.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

#include "storage/Cp932.h"
#include "storage/FieldScan.h"

namespace mdb {

namespace {

// 1-based line of a byte offset. CR and LF never occur as the second byte of a double-byte
// character, so the raw bytes can be counted without decoding.
qint32 lineOfOffset(QByteArrayView bytes, qsizetype offset) {
    qint32 line = 1;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
        } else if (bytes[i] == '\r') {
            if (i + 1 < offset && bytes[i + 1] == '\n') ++i;
            ++line;
        }
    }
    return line;
}

StorageError errorFor(ErrorKind kind, const QString& fileName) {
    StorageError e;
    e.kind = kind;
    e.fileName = fileName;
    return e;
}

}  // namespace

RecordReader::Step RecordReader::next(QStringView* fields) {
    fieldsRead_ = 0;
    if (pos_ >= text_.size()) return Step::End;
    for (int i = 0; i < width_; ++i) {
        // Only a field asked for at the very end fails; blanks before the end still make an
        // (empty) field.
        if (pos_ >= text_.size()) return Step::EndInsideRecord;
        fields[i] = readField();
        fieldsRead_ = i + 1;
    }
    return Step::Record;
}

RecordReader::Step RecordReader::next(QStringList& fields) {
    std::vector<QStringView> views(static_cast<size_t>(width_));
    const Step step = next(views.data());
    fields.resize(width_);
    for (int i = 0; i < width_; ++i) fields[i] = views[size_t(i)].toString();
    return step;
}

QStringView RecordReader::readField() {
    const FieldSpan span = scanField(text_.utf16(), text_.size(), pos_);
    pos_ = span.next;
    return QStringView(text_.utf16() + span.valueStart, span.valueEnd - span.valueStart);
}

std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           QString& text, QByteArray& bytes,
                                           const RecordViewSink& sink) {
    const QString path = dir.filePath(fileName);
    const QFileInfo info(path);
    if (!info.exists()) return errorFor(ErrorKind::FileNotFound, fileName);
    if (info.isDir()) {
        StorageError e = errorFor(ErrorKind::OpenFailed, fileName);
        e.detail = QStringLiteral("Is a directory");
        return e;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        StorageError e = errorFor(ErrorKind::OpenFailed, fileName);
        e.detail = file.errorString();
        return e;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        StorageError e = errorFor(ErrorKind::ReadFailed, fileName);
        e.detail = file.errorString();
        return e;
    }
    file.close();

    qsizetype badOffset = -1;
    std::optional<QString> decoded = cp932::decode(bytes, &badOffset);
    if (!decoded) {
        StorageError e = errorFor(ErrorKind::BadEncoding, fileName);
        e.byteOffset = badOffset;
        e.record = lineOfOffset(bytes, badOffset);
        return e;
    }
    text = std::move(*decoded);

    RecordReader reader(text, width);
    std::vector<QStringView> fields(static_cast<size_t>(width));
    qint32 count = 0;
    for (;;) {
        switch (reader.next(fields.data())) {
            case RecordReader::Step::End:
                return std::nullopt;
            case RecordReader::Step::EndInsideRecord: {
                StorageError e = errorFor(ErrorKind::EndOfFileInRecord, fileName);
                e.record = count + 1;
                e.field = reader.fieldsRead() + 1;
                return e;
            }
            case RecordReader::Step::Record:
                if (count == std::numeric_limits<qint32>::max() || !sink(fields.data())) {
                    StorageError e = errorFor(ErrorKind::TooManyRecords, fileName);
                    e.record = count;  // the last record that still fitted
                    return e;
                }
                ++count;
                break;
        }
    }
}

std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           const RecordSink& sink) {
    QString text;
    QByteArray bytes;
    QStringList copies;
    return readRecordFile(dir, fileName, width, text, bytes, [&](const QStringView* fields) {
        copies.resize(width);
        for (int i = 0; i < width; ++i) copies[i] = fields[i].toString();
        return sink(copies);
    });
}

}  // namespace mdb
