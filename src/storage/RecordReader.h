#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <array>
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
    // Reads the next record into `fields` (resized to the width). EndInsideRecord when the
    // text ends before the record's last field could be read.
    Step next(QStringList& fields);

    // Fields of the current record read before the text ended (after EndInsideRecord).
    int fieldsRead() const { return fieldsRead_; }

    // Bit k - 1 set: field k is wanted. Unwanted fields are still read, so that the record
    // keeps its width, but come out empty. Fields past 64 are always wanted.
    void keepOnly(quint64 fieldMask) { keptMask_ = fieldMask; }

private:
    QString readField(bool keep);
    QString shortText(const char16_t* data, qsizetype size);

    struct CachedText {
        quint64 key = 0;
        QString text;
    };

    QStringView text_;
    qsizetype pos_ = 0;
    int width_;
    int fieldsRead_ = 0;
    quint64 keptMask_ = ~quint64(0);
    // Most fields are short numbers that repeat thousands of times; sharing one text per value
    // saves an allocation each.
    std::array<CachedText, 1024> shortTexts_;
};

// Receives each complete record; returns false to stop reading with TooManyRecords.
using RecordSink = std::function<bool(QStringList& fields)>;

// Reads a whole file of `width`-field records: opens it (FileNotFound, OpenFailed), decodes
// it (BadEncoding), and hands every complete record to `sink` in file order. Records handed
// over before a failure stay with the caller. `keptFieldMask` as in RecordReader::keepOnly.
std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           const RecordSink& sink,
                                           quint64 keptFieldMask = ~quint64(0));

}  // namespace mdb
