#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "storage/FileRead.h"
#include "storage/StorageError.h"

namespace mdb {

// Splits decoded file text into records of a fixed number of fields, one record to a line.
// Fields end at a comma or a line end (CR LF, a lone CR or a lone LF); blanks before a field are
// skipped; a field that begins with a double quote runs to the next double quote (line ends
// included; the end of the text is no closing quote) and whatever follows the closing quote up
// to the end of the field is dropped; blanks at the end of an unquoted field are kept. A record's
// last field must end the line and no other field may: a line with fields to spare or too few
// would otherwise shift every later record into the wrong fields.
class RecordReader {
public:
    RecordReader(QStringView text, int width) : text_(text), width_(width) {}

    enum class Step {
        Record,           // a complete record
        End,              // no more records
        EndInsideRecord,  // the text ends before the record's last field, or inside quotes
        Misaligned,       // the line ends before the last field, or goes on after it
    };
    // Reads the next record into `fields`, an array of the width; the views point into the
    // text. After EndInsideRecord and Misaligned the fields read so far are in `fields`.
    Step next(QStringView* fields);
    // The same into copies (`fields` is resized to the width).
    Step next(QStringList& fields);

    // Fields of the current record read before the text ended (after EndInsideRecord), or
    // before its line ended (after Misaligned; the width when the line goes on after it).
    int fieldsRead() const { return fieldsRead_; }
    // Where the current record begins in the text.
    qsizetype recordStart() const { return recordStart_; }

private:
    struct FieldEnd {
        qsizetype next;            // where the next field begins
        std::optional<Step> step;  // how the record ends there; nothing when more fields follow
    };
    // Reads field `i` at `pos` by the full rules.
    FieldEnd fullField(QStringView* fields, int i, qsizetype pos);

    QStringView text_;
    qsizetype pos_ = 0;
    // Which of the 64 characters from specialBase_ on may begin anything but plain field text
    // (see next()): a field of a few digits then costs a bit search, not a loop per character.
    qsizetype specialBase_ = -1;
    quint64 specials_ = 0;
    qsizetype recordStart_ = 0;
    int width_;
    int fieldsRead_ = 0;
};

// The characters no database file may hold, wherever they stand: a NUL, which the game server
// would take for the end of the text and which a file cut short by a crash is often padded with.
// decodeRecordText refuses their bytes; the writers refuse to write them.
constexpr bool isRefusedByReader(char16_t c) {
    return c == 0;
}

// Receive each complete record; return false to stop reading with TooManyRecords.
using RecordSink = std::function<bool(QStringList& fields)>;

// Decodes the bytes of a file named `fileName` into `text`. Refuses bytes that do not decode and
// NUL bytes (BadEncoding, with the offset and line of the first one; `character` holds the NUL;
// Utf8Text instead when the bytes that do not decode as code page 932 are UTF-8).
// `encodesBack`, when given, receives cp932::encodesBackExactly of bytes that decode.
std::optional<StorageError> decodeRecordText(const QByteArray& bytes, const QString& fileName,
                                             QString& text, bool* encodesBack = nullptr);

// The refusal for a record the reader could not complete (EndInsideRecord, Misaligned) as
// record `count` + 1 of `text`, or for one too many (TooManyRecords after `count`).
StorageError recordError(RecordReader::Step step, const RecordReader& reader, QStringView text,
                         const QString& fileName, qint32 count);

// Hands every complete record of decoded text to `sink`, a callable taking the fields as
// `const QStringView*` (views into `text`) and returning false to stop with TooManyRecords.
// Refuses records that do not fill their line (EndInsideRecord, MisalignedRecord with the
// record's line), and TooManyRecords. A template, so that a record costs no indirect call.
template <typename Sink>
std::optional<StorageError> parseRecords(QStringView text, const QString& fileName, int width,
                                         Sink&& sink) {
    RecordReader reader(text, width);
    std::vector<QStringView> fields(static_cast<size_t>(std::max(width, 1)));
    qint32 count = 0;
    for (;;) {
        const RecordReader::Step step = reader.next(fields.data());
        if (Q_LIKELY(step == RecordReader::Step::Record)) {
            if (Q_UNLIKELY(count == std::numeric_limits<qint32>::max() || !sink(fields.data()))) {
                return recordError(step, reader, text, fileName, count);
            }
            ++count;
            continue;
        }
        if (step == RecordReader::Step::End) return std::nullopt;
        return recordError(step, reader, text, fileName, count);
    }
}

// decodeRecordText, then parseRecords of the text.
template <typename Sink>
std::optional<StorageError> readRecords(const QByteArray& bytes, const QString& fileName, int width,
                                        QString& text, Sink&& sink) {
    if (auto error = decodeRecordText(bytes, fileName, text)) return error;
    return parseRecords(text, fileName, width, std::forward<Sink>(sink));
}

// Reads a whole file of `width`-field records: reads it as readDatabaseFile does (FileNotFound,
// OpenFailed, NotRegularFile, FileTooLarge, ReadFailed), then as readRecords does. The views
// handed to `sink` point into `text`, which receives the decoded file and must outlive them (even
// after a failure, for the records handed over before it). `bytes` receives the file as read.
// Records handed over before a failure stay with the caller.
template <typename Sink>
std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           QString& text, QByteArray& bytes, Sink&& sink) {
    if (auto error = readDatabaseFile(dir, fileName, bytes)) return error;
    return readRecords(bytes, fileName, width, text, std::forward<Sink>(sink));
}

// The same into copies of each field.
std::optional<StorageError> readRecordFile(const QDir& dir, const QString& fileName, int width,
                                           const RecordSink& sink);

// Whether bytes are UTF-8: they begin with its byte-order mark, or hold multi-byte sequences
// and all of them are valid UTF-8. A few half-width katakana in a row are valid UTF-8 too, so
// the reader asks this only of bytes that are no code page 932.
bool looksLikeUtf8(QByteArrayView bytes);

}  // namespace mdb
