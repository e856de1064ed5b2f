#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "storage/StorageError.h"

namespace mdb {

// Splits decoded file text into records of a fixed number of fields. Fields end at a comma or
// a line end (CR LF, a lone CR or a lone LF); blanks before a field are skipped; a field that
// begins with a double quote runs to the next double quote and whatever follows the closing
// quote up to the end of the field is dropped; blanks at the end of an unquoted field are
// kept. Records are counted in fields, not in lines, so a line end separates fields exactly
// as a comma does.
class RecordReader {
public:
    RecordReader(QStringView text, int width) : text_(text), width_(width) {}

    enum class Step { Record, End, EndInsideRecord };
    // Reads the next record into `fields`, an array of the width; the views point into the
    // text. EndInsideRecord when the text ends before the record's last field could be read.
    Step next(QStringView* fields);
    // The same into copies (`fields` is resized to the width).
    Step next(QStringList& fields);

    // Fields of the current record read before the text ended (after EndInsideRecord).
    int fieldsRead() const { return fieldsRead_; }

private:
    QStringView readField();

    QStringView text_;
    qsizetype pos_ = 0;
    int width_;
    int fieldsRead_ = 0;
};

// Receive each complete record; return false to stop reading with TooManyRecords.
using RecordSink = std::function<bool(QStringList& fields)>;
using RecordViewSink = std::function<bool(const QStringView* fields)>;

// Reads a whole file of `width`-field records: opens it (FileNotFound, OpenFailed), decodes
// it (BadEncoding), and hands every complete record to `sink` in file order. Records handed
// over before a failure stay with the caller.
std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           const RecordSink& sink);

// The same without a copy of each field: the views handed to `sink` point into `text`, which
// receives the decoded file and must outlive them (even after a failure, for the records
// handed over before it). `bytes` receives the file as read.
std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           QString& text, QByteArray& bytes,
                                           const RecordViewSink& sink);

}  // namespace mdb
