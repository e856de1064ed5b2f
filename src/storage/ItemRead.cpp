#include "storage/ItemRead.h"

#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "storage/Cp932.h"
#include "storage/RecordReader.h"

namespace mdb {

namespace {

// The comma, the double quote, the blanks and the line ends are single bytes below 0x40, and the
// second byte of a double-byte character never is: on the raw bytes of a valid file, fields
// split exactly where they split in its text.

// The first comma, CR or LF from `p` on, or `size`.
qsizetype fieldEnd(const char* data, qsizetype size, qsizetype p) {
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(','), cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    while (p + 16 <= size) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, comma), _mm_cmpeq_epi8(b, cr)), _mm_cmpeq_epi8(b, lf)));
        if (mask != 0) return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
#endif
    while (p < size && data[p] != ',' && data[p] != '\r' && data[p] != '\n') ++p;
    return p;
}

struct Span {
    qsizetype start = 0, end = 0;
};

// Reads one record from `pos` as the full reader does (blanks before a field skipped, a quoted
// value running to the next quote, whatever trails it dropped, the last field ending the line
// and no other). Nothing when the record is not whole: the full reader then says why.
std::optional<qsizetype> scanRecord(const char* data, qsizetype size, qsizetype pos, int width,
                                    Span& id, Span& name) {
    for (int i = 0; i < width; ++i) {
        if (pos >= size) return std::nullopt;
        qsizetype p = pos;
        while (p < size && (data[p] == ' ' || data[p] == '\t')) ++p;
        Span value{p, p};
        if (p < size && data[p] == '"') {
            const void* close = std::memchr(data + p + 1, '"', size_t(size - p - 1));
            if (!close) return std::nullopt;  // a quote the end of the file closes
            value = {p + 1, static_cast<const char*>(close) - data};
            p = fieldEnd(data, size, value.end + 1);
        } else {
            p = fieldEnd(data, size, p);
            value.end = p;
        }
        const bool lineEnds = p < size && data[p] != ',';
        const bool last = i + 1 == width;
        if (last ? p < size && !lineEnds : lineEnds) return std::nullopt;
        if (i == ItemField::ItemId - 1) id = value;
        if (i == ItemField::ItemName - 1) name = value;
        if (p < size) p += data[p] == '\r' && p + 1 < size && data[p + 1] == '\n' ? 2 : 1;
        pos = p;
    }
    return pos;
}

// The whole read on the raw bytes; false when the full reader must have its say. Every byte is
// checked as the full decode checks it: the ID and the name by their own decoding, the rest of
// each record by RunDecoder::check. Each piece begins at a field boundary, which in a valid
// file is a character boundary, and the code page keeps no state, so the pieces pass exactly
// when the whole file decodes. A failure anywhere sends the whole file to the full reader,
// which starts again from an empty table.
bool readFast(const QByteArray& bytes, ItemTable& table) {
    if (table.width() < ItemField::ItemName || bytes.contains('\0')) return false;
    cp932::RunDecoder decoder;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    auto piece = [data](qsizetype from, qsizetype to) {
        return QByteArrayView(data + from, to - from);
    };
    // IDs and names are a small part of an item line
    table.reserve(size / 8);
    QString& text = table.growingText();
    for (qsizetype pos = 0; pos < size;) {
        Span id, name;
        const std::optional<qsizetype> next = scanRecord(data, size, pos, table.width(), id, name);
        if (!next || table.Count() == std::numeric_limits<qint32>::max()) return false;
        if (!decoder.check(piece(pos, id.start)) || !decoder.check(piece(id.end, name.start)) ||
            !decoder.check(piece(name.end, *next))) {
            return false;
        }
        const qsizetype before = text.size();
        if (!decoder.append(piece(id.start, id.end), text)) return false;
        const qsizetype idSize = text.size() - before;
        if (!decoder.append(piece(name.start, name.end), text)) return false;
        table.addLast(idSize, text.size() - before - idSize);
        pos = *next;
    }
    return true;
}

}  // namespace

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
