// The record line an add command appends (declared in RecordWriter.h), and the lines a save
// writes again after the records.
#include <QByteArray>

#include "storage/FieldScan.h"
#include "storage/RecordWriter.h"
#include "storage/SafeWrite.h"

namespace mdb {

namespace {

bool endsWithLineEnd(const QByteArray& bytes) {
    return bytes.endsWith('\n') || bytes.endsWith('\r');
}

}  // namespace

std::optional<StorageError> planRecordAppend(const QString& fileName, const QStringList& fields,
                                             const QByteArray& content, QByteArray& append) {
    QByteArray line;
    for (int i = 0; i < fields.size(); ++i) {
        QByteArray bytes;
        if (auto error = encodeField(fields[i], false, bytes)) {
            error->fileName = fileName;
            error->field = i + 1;
            return error;
        }
        if (i > 0) line += ',';
        line += bytes;
    }
    line += "\r\n";
    // Count the fields as the reader will: the new line must start a record of its own.
    const qsizetype width = fields.size();
    const char* data = content.constData();
    qint64 count = 0;
    FieldSpan last;
    for (qsizetype pos = 0; pos < content.size(); pos = last.next) {
        last = scanField(data, content.size(), pos);
        ++count;
    }
    const bool endsAfterComma = last.next > last.end && data[last.end] == ',';
    if (count % width != 0 || last.openQuote || endsAfterComma) {
        StorageError e;
        e.kind = ErrorKind::NotRecordBoundary;
        e.fileName = fileName;
        e.record = qint32(count / width + 1);
        e.field = int(count % width + 1);
        return e;
    }
    append = content.isEmpty() || endsWithLineEnd(content) ? line : "\r\n" + line;
    return std::nullopt;
}

std::optional<StorageError> appendRecordLine(const QDir& dir, const QString& fileName,
                                             const QStringList& fields, QByteArray* written,
                                             AppendDigests* digests) {
    // fields the line cannot hold are refused before the file is opened
    QByteArray line;
    if (auto error = planRecordAppend(fileName, fields, {}, line)) return error;
    auto error = appendToFile(
        dir, fileName,
        [&](const QByteArray& content, QByteArray& append) {
            return planRecordAppend(fileName, fields, content, append);
        },
        digests);
    if (!error && written) *written = line;
    return error;
}

void followWithAppendedLines(ChunkedOutput& records, const QByteArray& lines) {
    if (lines.isEmpty()) return;
    if (records.size() > 0 && !records.endsWithLineEnd()) records.append("\r\n");
    records.append(lines);
}

}  // namespace mdb
