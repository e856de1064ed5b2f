#include "storage/RecordReader.h"

#include <bit>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "storage/Cp932.h"
#include "storage/Cp932Table.h"
#include "storage/ExactBytes.h"
#include "storage/FieldScan.h"

namespace mdb {

namespace {

// 1-based line of an offset. CR and LF never occur as the second byte of a double-byte
// character, so raw bytes can be counted as well as decoded text.
template <typename Ch>
qint32 lineOfOffset(const Ch* data, qsizetype size, qsizetype offset) {
    qint32 line = 1;
    for (qsizetype i = 0; i < offset && i < size; ++i) {
        if (data[i] == '\n') {
            ++line;
        } else if (data[i] == '\r') {
            if (i + 1 < offset && data[i + 1] == '\n') ++i;
            ++line;
        }
    }
    return line;
}

bool isSpecial(char16_t c) {
    return c <= u',';
}

// Bit k set when the character at `block` + k is special (see isSpecial) or lies past the end.
quint64 specialMask(const char16_t* data, qsizetype size, qsizetype block) {
#if defined(__SSE2__)
    if (size - block >= 64) {
        const __m128i comma = _mm_set1_epi16(u',');
        const __m128i zero = _mm_setzero_si128();
        quint64 mask = 0;
        for (int k = 0; k < 64; k += 16) {
            const auto* at = reinterpret_cast<const __m128i*>(data + block + k);
            // at or below the comma: nothing is left after subtracting it, saturated
            const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_loadu_si128(at), comma), zero);
            const __m128i high =
                _mm_cmpeq_epi16(_mm_subs_epu16(_mm_loadu_si128(at + 1), comma), zero);
            mask |= quint64(uint(_mm_movemask_epi8(_mm_packs_epi16(low, high)))) << k;
        }
        return mask;
    }
#endif
    quint64 mask = 0;
    for (int k = 0; k < 64; ++k) {
        if (block + k >= size || isSpecial(data[block + k])) mask |= quint64(1) << k;
    }
    return mask;
}

StorageError errorFor(ErrorKind kind, const QString& fileName) {
    StorageError e;
    e.kind = kind;
    e.fileName = fileName;
    return e;
}

}  // namespace

bool looksLikeUtf8(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return true;
    bool multiByte = false;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int length = b >= 0xC2 && b <= 0xDF   ? 2
                           : b >= 0xE0 && b <= 0xEF ? 3
                           : b >= 0xF0 && b <= 0xF4 ? 4
                                                    : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (int k = 1; k < length; ++k) {
            if ((uchar(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        // no overlong forms, surrogates or code points beyond U+10FFFF
        const uchar second = uchar(bytes[i + 1]);
        if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) ||
            (b == 0xF0 && second < 0x90) || (b == 0xF4 && second > 0x8F)) {
            return false;
        }
        multiByte = true;
        i += length;
    }
    return multiByte;
}

RecordReader::Step RecordReader::next(QStringView* fields) {
    fieldsRead_ = 0;
    recordStart_ = pos_;
    const qsizetype size = text_.size();
    if (pos_ >= size) return Step::End;
    if (width_ <= 0) return Step::Record;
    const char16_t* const data = text_.utf16();
    // In locals: to the compiler, a store through `fields` could change the members.
    qsizetype pos = pos_;
    qsizetype base = specialBase_;
    quint64 specials = specials_;
    quint64 ahead = 0;  // the special characters from `pos` on, within the block at `base`
    auto seek = [&](qsizetype at) {
        const qsizetype block = at & ~qsizetype(63);
        if (block != base) {
            base = block;
            specials = specialMask(data, size, block);
        }
        ahead = specials & (~quint64(0) << (at - block));
    };
    auto nextSpecial = [&] {
        while (ahead == 0) {
            base += 64;  // the bits past the end are set: this stops at the end
            specials = specialMask(data, size, base);
            ahead = specials;
        }
        return base + std::countr_zero(ahead);
    };
    auto finish = [&](Step step) {
        pos_ = pos;
        specialBase_ = base;
        specials_ = specials;
        return step;
    };
    // The common field is plain text with nothing special up to the comma that ends it (the
    // line end, for the last field): no blanks to skip, no quotes, nothing to refuse.
    seek(pos);
    const int lastField = width_ - 1;
    for (int i = 0; i < lastField; ++i) {
        const qsizetype stop = nextSpecial();
        if (stop > pos && stop < size && data[stop] == u',') {
            fields[i] = QStringView(data + pos, stop - pos);
            pos = stop + 1;
            ahead &= ahead - 1;
            continue;
        }
        // A quoted field, its comma right after the closing quote; whatever special lies
        // inside (blanks, brackets, line ends) is text up to the next double quote
        if (stop == pos && data[pos] == u'"') {
            ahead &= ahead - 1;
            qsizetype close = nextSpecial();
            while (close < size && data[close] != u'"') {
                ahead &= ahead - 1;
                close = nextSpecial();
            }
            if (close < size) {
                ahead &= ahead - 1;
                const qsizetype comma = nextSpecial();
                if (comma == close + 1 && comma < size && data[comma] == u',') {
                    fields[i] = QStringView(data + pos + 1, close - pos - 1);
                    pos = comma + 1;
                    ahead &= ahead - 1;
                    continue;
                }
            }
        }
        const FieldEnd end = fullField(fields, i, pos);
        pos = end.next;
        if (end.step) return finish(*end.step);
        seek(pos);
    }
    const qsizetype stop = nextSpecial();
    if (stop > pos && stop < size && (data[stop] == u'\r' || data[stop] == u'\n')) {
        fields[lastField] = QStringView(data + pos, stop - pos);
        pos =
            data[stop] == u'\r' && stop + 1 < size && data[stop + 1] == u'\n' ? stop + 2 : stop + 1;
        fieldsRead_ = width_;
        return finish(Step::Record);
    }
    const FieldEnd end = fullField(fields, lastField, pos);
    pos = end.next;
    return finish(end.step.value_or(Step::Record));
}

RecordReader::FieldEnd RecordReader::fullField(QStringView* fields, int i, qsizetype pos) {
    const qsizetype size = text_.size();
    fieldsRead_ = i;
    // Only a field asked for at the very end fails; blanks before the end still make an
    // (empty) field.
    if (pos >= size) return {pos, Step::EndInsideRecord};
    const FieldSpan span = scanField(text_.utf16(), size, pos);
    fields[i] = QStringView(text_.utf16() + span.valueStart, span.valueEnd - span.valueStart);
    // a quote the end of the file closes would swallow every line after it unnoticed
    if (span.openQuote) return {span.next, Step::EndInsideRecord};
    fieldsRead_ = i + 1;
    const bool lineEnds = span.end < size && text_[span.end] != u',';
    const bool last = i + 1 == width_;
    if (last ? span.end < size && !lineEnds : lineEnds) return {span.next, Step::Misaligned};
    return {span.next, last ? std::optional(Step::Record) : std::nullopt};
}

RecordReader::Step RecordReader::next(QStringList& fields) {
    std::vector<QStringView> views(static_cast<size_t>(width_));
    const Step step = next(views.data());
    fields.resize(width_);
    for (int i = 0; i < width_; ++i) fields[i] = views[size_t(i)].toString();
    return step;
}

std::optional<StorageError> decodeRecordText(const QByteArray& bytes, const QString& fileName,
                                             QString& text, bool* encodesBack) {
    // Bytes that are whole characters, none a NUL, decode through the code page's table, which
    // gives the decoder's own text; anything else is left to the decoder, which also finds
    // where it goes wrong. The table is built for a file whose text alone outweighs what
    // building it keeps resident; a smaller one uses it once it is there.
    constexpr qsizetype kWorthTheTable = qsizetype(1) << 20;
    const cp932::CharTable* chars =
        bytes.size() >= kWorthTheTable ? cp932::CharTable::instance() : cp932::CharTable::ifBuilt();
    if (chars) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
        QString decoded;
        decoded.resize(bytes.size());
        bool exact = false;
        const qsizetype units =
            chars->decodeWhole(p, bytes.size(), reinterpret_cast<char16_t*>(decoded.data()), exact);
        if (units >= 0) {
            decoded.resize(units);
            decoded.squeeze();  // shrinks in place: a double-byte character took one unit
            text = std::move(decoded);
            if (encodesBack) *encodesBack = exact;
            return std::nullopt;
        }
    }
    // No text file holds a NUL byte: the game server would cut the field there, and a file cut
    // short by a crash is often padded with them.
    const qsizetype nul = bytes.indexOf('\0');
    qsizetype badOffset = -1;
    std::optional<QString> decoded = cp932::decode(
        nul < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(nul), &badOffset);
    if (decoded && nul >= 0) {
        decoded.reset();
        badOffset = nul;
    }
    if (!decoded) {
        // Only a file that is no code page 932 is told to be UTF-8: a few half-width katakana
        // in a row are valid UTF-8 as well.
        if (looksLikeUtf8(bytes)) return errorFor(ErrorKind::Utf8Text, fileName);
        StorageError e = errorFor(ErrorKind::BadEncoding, fileName);
        e.byteOffset = badOffset;
        e.record = lineOfOffset(bytes.constData(), bytes.size(), badOffset);
        if (badOffset < bytes.size() && bytes[badOffset] == '\0') e.character = QString(QChar());
        return e;
    }
    text = std::move(*decoded);
    if (encodesBack) *encodesBack = cp932::encodesBackExactly(bytes);
    return std::nullopt;
}

StorageError recordError(RecordReader::Step step, const RecordReader& reader, QStringView text,
                         const QString& fileName, qint32 count) {
    switch (step) {
        case RecordReader::Step::EndInsideRecord: {
            StorageError e = errorFor(ErrorKind::EndOfFileInRecord, fileName);
            e.record = count + 1;
            e.field = reader.fieldsRead() + 1;
            return e;
        }
        case RecordReader::Step::Misaligned: {
            StorageError e = errorFor(ErrorKind::MisalignedRecord, fileName);
            e.record = count + 1;
            e.field = reader.fieldsRead() + 1;  // the first field missing or to spare
            e.line = lineOfOffset(text.utf16(), text.size(), reader.recordStart());
            return e;
        }
        default: {
            StorageError e = errorFor(ErrorKind::TooManyRecords, fileName);
            e.record = count;  // the last record that still fitted
            return e;
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
