#include "ui/controls/KeyIndex.h"

#include <QChar>
#include <algorithm>

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

quint32 KeyIndex::foldedHash(QStringView text) {
    quint32 hash = 2166136261u;  // FNV-1a
    for (qsizetype i = 0; i < text.size();) hash = (hash ^ nextFolded(text, i)) * 16777619u;
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
