#include "storage/WrittenFields.h"

#include <errno.h>

#include <vector>

#include "storage/FieldScan.h"
#include "storage/InPlaceRewrite.h"
#include "storage/RecordWriter.h"

namespace mdb {

std::optional<std::optional<StorageError>> rewriteWrittenFields(const Table& table,
                                                                const TableDescriptor& layout,
                                                                ChunkedOutput* out) {
    using Result = std::optional<std::optional<StorageError>>;
    std::vector<Table::SourceField> written;
    if (!table.writtenSourceFields(written)) return std::nullopt;
    const QStringView text(table.sourceText());
    const char16_t* data = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    qsizetype copied = 0;  // the text up to here is in `out` or replaced
    bool ok = true;
    for (const Table::SourceField& w : written) {
        const qsizetype valueStart = w.offset;
        const qsizetype valueEnd = valueStart + table.loadedView(w.record, w.field).size();
        const QStringView value = table.fieldView(w.record, w.field);
        // the field as the reader split it: blanks and an opening quote before its value, what
        // trails a closing quote after it; it must begin right after a comma or line end
        const bool quoted = valueStart > 0 && data[valueStart - 1] == u'"';
        qsizetype start = quoted ? valueStart - 1 : valueStart;
        while (start > 0 && isBlank(data[start - 1])) --start;
        if (start < copied || (start > 0 && !endsField(data[start - 1]))) return std::nullopt;
        if (QStringView(data + valueStart, valueEnd - valueStart) == value) continue;
        qsizetype end = valueEnd;
        if (quoted && end < size) {
            ++end;
            while (end < size && !endsField(data[end])) ++end;
        }
        QByteArray bytes;
        if (auto error = encodeField(value, w.field == layout.quotedField, bytes)) {
            error->fileName = layout.fileName;
            error->record = w.record;
            error->field = w.field;
            error->fieldName = table.fieldNames().value(w.field - 1);
            return Result(std::move(error));
        }
        if (out) {
            ok = ok && encodeExactlyInPieces(text.sliced(copied, start - copied), *out);
            out->append(bytes);
        }
        copied = end;
    }
    if (out) {
        ok = ok && encodeExactlyInPieces(text.sliced(copied), *out);
        // the text encodes back to the file's bytes; should it not, this file is not written
        if (!ok) return Result(writeError(layout.fileName, EILSEQ));
        // An emptied last field of a file without a final line end would leave the file ending
        // in a comma, which reads as a record one field short: the line end closes it.
        if (out->last() == ',') out->append("\r\n");
    }
    return Result(std::optional<StorageError>());
}

}  // namespace mdb
