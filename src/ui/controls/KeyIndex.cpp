#include "ui/controls/KeyIndex.h"

#include <QChar>
#include <algorithm>
#include <cstring>
#include <string>

namespace mdb {

namespace {

// The next code point of `text` from `i` on, case-folded; moves `i` past it.
inline char32_t nextFolded(QStringView text, qsizetype& i) {
    const char16_t c = text[i++].unicode();
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? char32_t(c + 0x20) : char32_t(c);
    char32_t ucs = c;
    if (QChar::isHighSurrogate(c) && i < text.size() && QChar::isLowSurrogate(text[i].unicode())) {
        ucs = QChar::surrogateToUcs4(c, text[i++].unicode());
    }
    return QChar::toCaseFolded(ucs);
}

}  // namespace

namespace {

constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15u;
constexpr quint64 kNotAscii = 0xFF80FF80FF80FF80u;  // four UTF-16 units, bits from 0x80 up

// Four ASCII units with the letters A..Z made small, all four at once: a unit's bit 7 after
// adding 0x3F tells it is at least 'A', after adding 0x25 that it is beyond 'Z'.
inline quint64 foldAsciiBlock(quint64 w) {
    constexpr quint64 ones = 0x0001000100010001u;
    const quint64 upper = (w + 0x3F * ones) & ~(w + 0x25 * ones) & (0x80 * ones);
    return w | upper >> 2;
}

// Hashes the units four at a time, ASCII letters folded; false when a unit is not ASCII and
// `asciiOnly`. Blocks that are not all ASCII are taken as they are.
bool hashBlocks(const char16_t* p, qsizetype n, bool asciiOnly, quint32& hash) {
    quint64 h = quint64(n) * kMultiplier;
    for (qsizetype i = 0; i < n; i += 4) {
        quint64 w = 0;
        if (i + 4 <= n) {
            std::memcpy(&w, p + i, 8);
        } else {
            for (qsizetype k = i; k < n; ++k) w |= quint64(p[k]) << (16 * (k - i));
        }
        if ((w & kNotAscii) == 0) {
            w = foldAsciiBlock(w);
        } else if (asciiOnly) {
            return false;
        }
        h = (h ^ w) * kMultiplier;
        h ^= h >> 29;
    }
    hash = quint32((h * kMultiplier) >> 32);
    return true;
}

}  // namespace

quint32 KeyIndex::foldedHash(QStringView text) {
    quint32 hash = 0;
    if (hashBlocks(text.utf16(), text.size(), true, hash)) return hash;
    // Fold every code point first, then hash the folded units as an ASCII text is hashed: the
    // same folded text, however it was spelled, gives the same units and the same hash.
    std::u16string folded;
    folded.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = nextFolded(text, i);
        if (QChar::requiresSurrogates(c)) {
            folded += QChar::highSurrogate(c);
            folded += QChar::lowSurrogate(c);
        } else {
            folded += char16_t(c);
        }
    }
    hashBlocks(folded.data(), qsizetype(folded.size()), false, hash);
    return hash;
}

bool KeyIndex::equalFolded(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (nextFolded(a, i) != nextFolded(b, j)) return false;
    }
    return i == a.size() && j == b.size();
}

void KeyIndex::grow(size_t keys) {
    size_t size = std::max<size_t>(slots_.size(), 64);
    while (keys * 2 > size) size *= 2;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    for (const Slot& slot : old) {
        if (slot.row < 0) continue;
        size_t s = slot.hash & (slots_.size() - 1);
        while (slots_[s].row >= 0) s = (s + 1) & (slots_.size() - 1);
        slots_[s] = slot;
    }
}

}  // namespace mdb
