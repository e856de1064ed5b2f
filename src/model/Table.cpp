#include "model/Table.h"

#include <algorithm>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/ChangeList.h"

namespace mdb {

Table::Table(const TableDescriptor& descriptor)
    : Table(descriptor.fileName, descriptor.fieldNames) {}

Table::Table(QString name, QStringList fieldNames)
    : name_(std::move(name)), fieldNames_(std::move(fieldNames)) {
    clear();
}

int Table::fieldNumber(QStringView fieldName) const {
    for (int i = 0; i < fieldNames_.size(); ++i) {
        if (fieldNames_[i] == fieldName) return i + 1;
    }
    return 0;
}

QString Table::field(qint32 record, int field) const {
    return fieldView(record, field).toString();
}

QString Table::field(qint32 record, QStringView fieldName) const {
    return field(record, fieldNumber(fieldName));
}

bool Table::setField(qint32 record, int field, const QString& text) {
    if (record < 1 || !inRange(record, field)) return false;
    written_ = true;
    const size_t index = cellIndex(record, field);
    if (cells_.view(index) != text) {
        ++changedWrites_;
        if (changes_) changes_->push_back({this, record, field, cells_.text(index), text});
    }
    cells_.set(index, text);
    return true;
}

bool Table::restoreField(qint32 record, int field, const QString& text) {
    if (record < 1 || !inRange(record, field)) return false;
    const size_t index = cellIndex(record, field);
    if (cells_.loadedView(index) == text) {
        cells_.revert(index);
    } else {
        written_ = true;
        cells_.set(index, text);
    }
    return true;
}

bool Table::setField(qint32 record, QStringView fieldName, const QString& text) {
    return setField(record, fieldNumber(fieldName), text);
}

bool Table::appendRecord(const QStringList& fields) {
    Q_ASSERT(fields.size() == fieldCount());
    if (count_ == std::numeric_limits<qint32>::max()) return false;
    for (int f = 0; f < fieldCount(); ++f) cells_.pushCopy(fields.value(f));
    ++count_;
    written_ = true;
    return true;
}

bool Table::appendRecord(const QStringView* fields) {
    if (count_ == std::numeric_limits<qint32>::max()) return false;
    cells_.push(fields, size_t(fieldCount()));
    ++count_;
    // records read from the kept source are what the file holds, not a change to it
    if (!hasSource_) written_ = true;
    return true;
}

QStringList Table::column(int field) const {
    QStringList out;
    if (field < 1 || field > fieldCount()) return out;
    out.reserve(count_ + 1);
    for (qint32 r = 0; r <= count_; ++r) {
        out.push_back(cells_.text(cellIndex(r, field)));
    }
    return out;
}

void Table::keepSource(QString text, std::optional<QByteArray> bytes) {
    cells_.keep(std::move(text));  // a move keeps the characters where the views will point
    sourceBytes_ = std::move(bytes);
    hasSource_ = true;
    written_ = false;
}

bool Table::writtenSourceFields(std::vector<SourceField>& out) const {
    out.clear();
    std::vector<TextCells::SourceCell> cells;
    if (!cells_.setSourceCells(cells)) return false;
    const size_t width = size_t(fieldCount());
    out.reserve(cells.size());
    for (const TextCells::SourceCell& c : cells) {
        out.push_back({qint32(c.index / width), int(c.index % width) + 1, c.offset});
    }
    return true;
}

void Table::clear() {
    count_ = 0;
    sourceBytes_.reset();
    sourceSize_ = -1;
    sourceHash_.clear();
    hasSource_ = false;
    written_ = false;
    cells_.clear();
    cells_.resize(static_cast<size_t>(fieldCount()));  // position 0: empty views
}

void Table::reserve(qint32 records) {
    cells_.reserve((static_cast<size_t>(records) + 1) * fieldCount());
}

void Table::reserveFor(QByteArrayView bytes) {
    if (fieldCount() == 0 || bytes.isEmpty()) return;
    auto count = [bytes](char c) {
        size_t n = 0;
        const char* p = bytes.data();
        const char* const end = bytes.data() + bytes.size();
#if defined(__SSE2__)
        // each byte lane counts its matches, up to 255 of them, before they are summed
        const __m128i wanted = _mm_set1_epi8(c), zero = _mm_setzero_si128();
        while (end - p >= 16) {
            __m128i lanes = zero;
            for (int step = 0; step < 255 && end - p >= 16; ++step, p += 16) {
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(b, wanted));
            }
            const __m128i sums = _mm_sad_epu8(lanes, zero);
            n += size_t(_mm_cvtsi128_si32(sums)) + size_t(_mm_extract_epi16(sums, 4));
        }
#endif
        for (; p < end; ++p) n += *p == c ? 1 : 0;
        return n;
    };
    // one record a line, CR LF or a lone LF; a file of lone CRs counts its CRs
    size_t lines = count('\n') + 1;
    if (lines == 1) lines = count('\r') + 1;
    // each field takes at least its separator: never room for more fields than bytes
    const size_t records = std::min(lines, size_t(bytes.size()) / size_t(fieldCount()) + 1);
    cells_.reserve(cells_.size() + records * size_t(fieldCount()));
}

}  // namespace mdb
