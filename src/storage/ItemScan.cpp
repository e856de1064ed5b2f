#include "storage/ItemScan.h"

#include <algorithm>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mdb {

namespace {

// The comma, the double quote, the blanks and the line ends are single bytes below 0x40, and the
// second byte of a double-byte character never is: on the raw bytes of a valid file, fields
// split exactly where they split in its text.

// Finds the commas, line ends and double quotes of the bytes 64 at a time: the masks of one
// block serve every field in it, however short the fields.
class Separators {
public:
    Separators(const char* data, qsizetype size) : data_(data), size_(size) {}
    // The first comma, CR or LF from `p` on, or the size.
    Q_ALWAYS_INLINE qsizetype fieldEnd(qsizetype p) {
        // most fields end in the block the last one ended in
        const quint64 offset = quint64(p - block_);
        if (offset < 64) {
            const quint64 bits = ends_ >> offset;
            if (bits != 0) return p + __builtin_ctzll(bits);
        }
        return next(p, false);
    }
    // The first double quote from `p` on, or the size.
    qsizetype quote(qsizetype p) { return next(p, true); }
    // Moves `fieldStart` past up to n commas, none of them after a double quote or a line end,
    // and returns how many: the fields ended by those commas hold neither and end there, so
    // that the many short fields of an item line are passed a block at a time.
    int skipCommas(qsizetype& fieldStart, int n) {
        int skipped = 0;
        for (qsizetype p = fieldStart; skipped < n && p < size_;) {
            const qsizetype block = p & ~qsizetype(63);
            if (block != block_) load(block);
            quint64 commas = (ends_ & ~lineEnds_) >> (p - block);
            const quint64 stops = (quotes_ | lineEnds_) >> (p - block);
            if (stops != 0) commas &= (stops & (0 - stops)) - 1;  // those before the first
            // one comma at a time: a few per block, and no population count on every processor
            for (; commas != 0; commas &= commas - 1) {
                fieldStart = p + __builtin_ctzll(commas) + 1;
                if (++skipped == n) return n;
            }
            if (stops != 0) break;
            p = block + 64;
        }
        return skipped;
    }

private:
    qsizetype next(qsizetype p, bool quote) {
        while (p < size_) {
            const qsizetype block = p & ~qsizetype(63);
            if (block != block_) load(block);
            const quint64 bits = (quote ? quotes_ : ends_) >> (p - block);
            if (bits != 0) return p + __builtin_ctzll(bits);
            p = block + 64;
        }
        return size_;
    }
    void load(qsizetype block) {
        block_ = block;
        ends_ = quotes_ = lineEnds_ = 0;
#if defined(__SSE2__)
        if (block + 64 <= size_) {
            for (int k = 0; k < 4; ++k) {
                const __m128i b =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + block + 16 * k));
                const __m128i lineEnds = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r')),
                                                      _mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
                const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(',')), lineEnds);
                const __m128i quotes = _mm_cmpeq_epi8(b, _mm_set1_epi8('"'));
                lineEnds_ |= quint64(unsigned(_mm_movemask_epi8(lineEnds))) << (16 * k);
                ends_ |= quint64(unsigned(_mm_movemask_epi8(ends))) << (16 * k);
                quotes_ |= quint64(unsigned(_mm_movemask_epi8(quotes))) << (16 * k);
            }
            return;
        }
#endif
        for (qsizetype i = block; i < std::min(block + 64, size_); ++i) {
            const char c = data_[i];
            if (c == ',' || c == '\r' || c == '\n') ends_ |= quint64(1) << (i - block);
            if (c == '\r' || c == '\n') lineEnds_ |= quint64(1) << (i - block);
            if (c == '"') quotes_ |= quint64(1) << (i - block);
        }
    }

    const char* data_;
    qsizetype size_;
    qsizetype block_ = -64;
    quint64 ends_ = 0, quotes_ = 0, lineEnds_ = 0;  // one bit per byte of the block
};

struct Span {
    qsizetype start = 0, end = 0;
};

enum class Scan { Record, NeedMore, Malformed };

// A field that begins with blanks or a quote, from `p` (blanks before it skipped, a quoted
// value running to the next quote, whatever trails it dropped); moves `p` to where it ends.
// False when the bytes end inside the quotes.
bool scanUncommonField(Separators& separators, const char* data, qsizetype size, qsizetype& p,
                       Span& value) {
    while (p < size && (data[p] == ' ' || data[p] == '\t')) ++p;
    if (p < size && data[p] == '"') {
        const qsizetype close = separators.quote(p + 1);
        if (close >= size) return false;
        value = {p + 1, close};
        p = separators.fieldEnd(close + 1);
    } else {
        value.start = p;
        p = separators.fieldEnd(p);
        value.end = p;
    }
    return true;
}

// Reads one record from `pos` as the full reader does (the last field ending the line and no
// other) and moves `pos` past it; `fields` receives the first three values. Malformed when the
// record is not whole: the full reader then says why. When the bytes do not end where the
// file ends (`whole` false), a record they cut off needs more of them.
Scan scanRecord(Separators& separators, const char* data, qsizetype size, bool whole, int width,
                qsizetype& pos, Span (&fields)[3]) {
    const Scan cut = whole ? Scan::Malformed : Scan::NeedMore;
    qsizetype p = pos;
    for (int i = 0;; ++i) {
        if (p >= size) return cut;
        Span value;
        // one test for the three bytes that make a field uncommon
        constexpr quint64 uncommon = quint64(1) << ' ' | quint64(1) << '\t' | quint64(1) << '"';
        const uchar c = uchar(data[p]);
        if (c < 64 && (uncommon >> c & 1) != 0) {
            if (!scanUncommonField(separators, data, size, p, value)) return cut;
        } else {
            value.start = p;
            p = separators.fieldEnd(p);
            value.end = p;
        }
        if (i < 3) fields[i] = value;
        const bool last = i + 1 == width;
        if (p >= size) {
            if (!whole) return Scan::NeedMore;
            if (!last) return Scan::Malformed;  // the file ends inside the record
            break;
        }
        if (!last) {
            if (data[p] != ',') return Scan::Malformed;
            ++p;
            // past the ID and the name, the fields before the last matter only as commas
            if (i >= 2) i += separators.skipCommas(p, width - 2 - i);
            continue;
        }
        if (data[p] == ',') return Scan::Malformed;
        if (data[p] == '\r' && p + 1 >= size && !whole) return Scan::NeedMore;  // CR LF cut off?
        p += data[p] == '\r' && p + 1 < size && data[p + 1] == '\n' ? 2 : 1;
        break;
    }
    pos = p;
    return Scan::Record;
}

}  // namespace

qsizetype scanItemRecords(const cp932::CharTable& chars, const char* data, qsizetype size,
                          bool whole, qsizetype pos, ItemTable& table) {
    Separators separators(data, size);
    const auto* bytes = reinterpret_cast<const uchar*>(data);
    while (pos < size) {
        Span fields[3];
        qsizetype next = pos;
        const Scan scan = scanRecord(separators, data, size, whole, table.width(), next, fields);
        static_assert(ItemField::ItemId <= 3 && ItemField::ItemName <= 3);
        const Span& id = fields[ItemField::ItemId - 1];
        const Span& name = fields[ItemField::ItemName - 1];
        if (scan == Scan::NeedMore) break;
        if (scan == Scan::Malformed || table.Count() == std::numeric_limits<qint32>::max()) {
            return -1;
        }
        char16_t* to =
            table.room((id.end - id.start) + (name.end - name.start) + cp932::CharTable::kSlack);
        const qsizetype idSize =
            chars.decode(bytes + id.start, id.end - id.start, size - id.start, to);
        const qsizetype nameSize =
            chars.decode(bytes + name.start, name.end - name.start, size - name.start, to + idSize);
        table.addLast(idSize, nameSize);
        pos = next;
    }
    return pos;
}

}  // namespace mdb
