#include "storage/RecordWriter.h"

#include <errno.h>

#include "storage/ChunkedOutput.h"
#include "storage/Cp932.h"
#include "storage/FieldScan.h"
#include "storage/InPlaceRewrite.h"
#include "storage/RecordReader.h"
#include "storage/SafeWrite.h"
#include "storage/WrittenFields.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

bool quotedInNormalForm(QStringView value, bool layoutQuoted) {
    return layoutQuoted || (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
}

// The first character that would make the field read back differently where it stands, or
// nothing. A line end splits any record; a quoted field ends at the next double quote; a bare
// one ends at a comma, and is taken for a quoted one when it begins with a double quote; a
// character the reader refuses would make the whole file unreadable.
std::optional<QChar> firstUnwritable(QStringView text, bool quoted) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n' || isRefusedByReader(c.unicode())) return c;
        if (c == u'"' && (quoted || i == 0)) return c;
        if (c == u',' && !quoted) return c;
    }
    return std::nullopt;
}

StorageError fieldError(ErrorKind kind, QString character) {
    StorageError e;
    e.kind = kind;
    e.character = std::move(character);
    return e;
}

// Names the place of a refusal.
StorageError placed(StorageError e, const Table& table, const QString& fileName, qint32 record,
                    int field) {
    e.fileName = fileName;
    e.record = record;
    e.field = field;
    e.fieldName = table.fieldNames().value(field - 1);
    return e;
}

// Whether bytes read from a file decode to `value`; printable ASCII is compared as it stands,
// as the code page spells it with its own bytes.
bool spells(const char* data, qsizetype size, QStringView value) {
    const QByteArrayView raw(data, size);
    for (const char b : raw) {
        if (uchar(b) < 0x20 || uchar(b) > 0x7E) {
            const std::optional<QString> text = cp932::decode(raw);
            return text && *text == value;
        }
    }
    if (raw.size() != value.size()) return false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (value[i].unicode() != char16_t(uchar(raw[i]))) return false;
    }
    return true;
}
// The same for the decoded text of a file whose bytes that text encodes back to.
bool spells(const char16_t* data, qsizetype size, QStringView value) {
    return QStringView(data, size) == value;
}

bool endsWithLineEnd(const QByteArray& bytes) {
    return bytes.endsWith('\n') || bytes.endsWith('\r');
}

// Appends records first..Count in their normal form to `out` (with no `out`, only looks for the
// refusals), some records at a time: each batch is built as one text and converted once, its
// characters checked on the way, so that a whole table is never held twice.
std::optional<StorageError> encodeRecords(const Table& table, const TableDescriptor& layout,
                                          qint32 first, ChunkedOutput* out) {
    constexpr qsizetype kBatch = ChunkedOutput::kChunk / 2;  // characters
    const int width = table.fieldCount();
    QString text;
    for (qint32 r = first; r <= table.Count();) {
        const qint32 batchFirst = r;
        text.clear();
        cp932::TextTraits traits;
        for (; r <= table.Count() && text.size() < kBatch; ++r) {
            for (int f = 1; f <= width; ++f) {
                const QStringView value = table.fieldView(r, f);
                const bool quoted = quotedInNormalForm(value, f == layout.quotedField);
                if (const auto bad = firstUnwritable(value, quoted)) {
                    return placed(fieldError(ErrorKind::UnwritableField, QString(*bad)), table,
                                  layout.fileName, r, f);
                }
                if (f > 1) text += u',';
                if (quoted) text += u'"';
                text += value;
                if (quoted) text += u'"';
                for (const QChar c : value) {
                    if (c.unicode() >= 0x7F || c.unicode() < 0x20) traits.see(c.unicode());
                }
            }
            text += u"\r\n"_s;
        }
        if (std::optional<QByteArray> bytes = cp932::encode(text, traits)) {
            if (out) out->append(*bytes);
            continue;
        }
        // Only when a batch fails is the culprit looked for field by field, to name the record.
        for (qint32 b = batchFirst; b < r; ++b) {
            for (int f = 1; f <= width; ++f) {
                QString bad;
                if (!cp932::encode(table.fieldView(b, f), &bad)) {
                    return placed(fieldError(ErrorKind::Unencodable, bad), table, layout.fileName,
                                  b, f);
                }
            }
        }
        // Every field encodes alone, so the joined text must too; report it rather than assume.
        return fieldError(ErrorKind::Unencodable, {});
    }
    return std::nullopt;
}

// Collects what an output hands on into one array.
ChunkedOutput collectInto(QByteArray& bytes) {
    return ChunkedOutput([&bytes](QByteArrayView piece) {
        bytes.append(piece.data(), piece.size());
        return true;
    });
}

}  // namespace

std::optional<StorageError> encodeField(QStringView value, bool layoutQuoted, QByteArray& out) {
    const bool quoted = quotedInNormalForm(value, layoutQuoted);
    if (const auto bad = firstUnwritable(value, quoted)) {
        return fieldError(ErrorKind::UnwritableField, QString(*bad));
    }
    QString bad;
    std::optional<QByteArray> bytes = cp932::encode(value, &bad);
    if (!bytes) return fieldError(ErrorKind::Unencodable, bad);
    out = quoted ? '"' + *bytes + '"' : std::move(*bytes);
    return std::nullopt;
}

std::optional<StorageError> encodeTable(const Table& table, const TableDescriptor& layout,
                                        QByteArray& out) {
    out.clear();
    QByteArray bytes;
    ChunkedOutput collect = collectInto(bytes);
    if (auto error = encodeRecords(table, layout, 1, &collect)) return error;
    collect.finish();
    out = std::move(bytes);
    return std::nullopt;
}

namespace {

// Walks the source of a table (its bytes, or its decoded text) field by field beside the records
// and puts into `out` the source's own bytes for every field not written since, and for every
// written field whose value the source spells already; only the others take their normal form.
// `sourceBytes(from, to, out)` appends the bytes of the source from..to. With no `out`, only the
// refusals are looked for.
template <typename Ch, typename SourceBytes>
std::optional<StorageError> rewriteSource(const Table& table, const TableDescriptor& layout,
                                          const Ch* data, qsizetype size, ChunkedOutput* out,
                                          SourceBytes&& sourceBytes) {
    const int width = table.fieldCount();
    qsizetype pos = 0;
    qsizetype copied = 0;  // the source up to here is in `out` or replaced
    bool ok = true;
    qint32 r = 1;
    for (; r <= table.Count() && pos < size; ++r) {
        for (int f = 1; f <= width && pos < size; ++f) {
            const FieldSpan span = scanField(data, size, pos);
            if (!table.fieldFromSource(r, f)) {
                const QStringView value = table.fieldView(r, f);
                if (!spells(data + span.valueStart, span.valueEnd - span.valueStart, value)) {
                    QByteArray bytes;
                    if (auto error = encodeField(value, f == layout.quotedField, bytes)) {
                        return placed(*error, table, layout.fileName, r, f);
                    }
                    // the field's own bytes give way; its comma or line end stays
                    if (out) {
                        ok = ok && sourceBytes(copied, pos, *out);
                        out->append(bytes);
                    }
                    copied = span.end;
                }
            }
            pos = span.next;
        }
    }
    if (out) {
        ok = ok && sourceBytes(copied, pos, *out);
        // the text of a file whose bytes were not kept encodes back to them; should it not,
        // this file is not written (the files before it in the save may have been)
        if (!ok) return writeError(layout.fileName, EILSEQ);
        // An emptied last field of a file without a final line end would leave the file ending
        // in a comma, which reads as a record one field short: the line end closes it.
        if (out->last() == ',') out->append("\r\n");
    }
    if (r <= table.Count()) {
        // records the file did not hold start on a line of their own
        if (out && out->size() > 0 && !out->endsWithLineEnd()) out->append("\r\n");
        if (auto error = encodeRecords(table, layout, r, out)) return error;
    }
    return std::nullopt;
}

// writeTableFaithfully into `out`, or, with no `out`, only its refusals: the same walk, with
// no bytes made.
std::optional<StorageError> faithfully(const Table& table, const TableDescriptor& layout,
                                       ChunkedOutput* out) {
    if (!table.hasSource()) return encodeRecords(table, layout, 1, out);
    const std::optional<QByteArray>& kept = table.sourceBytes();
    const QString& text = table.sourceText();
    if (table.untouchedSinceLoad()) {
        if (!out) return std::nullopt;
        if (kept) {
            out->append(*kept);  // handed on from where it lies, not copied
            return std::nullopt;
        }
        if (!encodeExactlyInPieces(text, *out)) return writeError(layout.fileName, EILSEQ);
        return std::nullopt;
    }
    if (kept) {
        const QByteArray source = *kept;
        return rewriteSource(table, layout, source.constData(), source.size(), out,
                             [&source](qsizetype from, qsizetype to, ChunkedOutput& into) {
                                 into.append(QByteArrayView(source).sliced(from, to - from));
                                 return true;
                             });
    }
    if (auto done = rewriteWrittenFields(table, layout, out)) return *done;
    return rewriteSource(
        table, layout, reinterpret_cast<const char16_t*>(text.utf16()), text.size(), out,
        [&text](qsizetype from, qsizetype to, ChunkedOutput& into) {
            return encodeExactlyInPieces(QStringView(text).sliced(from, to - from), into);
        });
}

}  // namespace

std::optional<StorageError> writeTableFaithfully(const Table& table, const TableDescriptor& layout,
                                                 ChunkedOutput& out) {
    return faithfully(table, layout, &out);
}

std::optional<StorageError> encodeTableFaithfully(const Table& table, const TableDescriptor& layout,
                                                  QByteArray& out) {
    QByteArray bytes;
    ChunkedOutput collect = collectInto(bytes);
    if (auto error = faithfully(table, layout, &collect)) return error;
    collect.finish();
    out = std::move(bytes);
    return std::nullopt;
}

std::optional<StorageError> checkTableFaithfully(const Table& table,
                                                 const TableDescriptor& layout) {
    return faithfully(table, layout, nullptr);
}

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
