#include "storage/Cp932Table.h"

#include <QStringDecoder>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>

#include "storage/ExactBytes.h"
#include "storage/PlainRuns.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mdb::cp932 {

namespace {

// The byte pairs the decoder of "windows-31j" takes: JIS X 0208 with the NEC and IBM
// extensions and the user-defined area. Lead bytes 0x85, 0x86, 0xEB, 0xEC and 0xEF begin no
// character at all; the other single bytes from 0x80 up that are characters are the
// half-width katakana 0xA1..0xDF.
struct PairRange {
    uchar firstLead, lastLead, firstTrail, lastTrail;
};
constexpr PairRange kPairs[] = {
    {0x81, 0x81, 0x40, 0x7E}, {0x81, 0x81, 0x80, 0xAC}, {0x81, 0x81, 0xB8, 0xBF},
    {0x81, 0x81, 0xC8, 0xCE}, {0x81, 0x81, 0xDA, 0xE8}, {0x81, 0x81, 0xF0, 0xF7},
    {0x81, 0x81, 0xFC, 0xFC}, {0x82, 0x82, 0x4F, 0x58}, {0x82, 0x82, 0x60, 0x79},
    {0x82, 0x82, 0x81, 0x9A}, {0x82, 0x82, 0x9F, 0xF1}, {0x83, 0x83, 0x40, 0x7E},
    {0x83, 0x83, 0x80, 0x96}, {0x83, 0x83, 0x9F, 0xB6}, {0x83, 0x83, 0xBF, 0xD6},
    {0x84, 0x84, 0x40, 0x60}, {0x84, 0x84, 0x70, 0x7E}, {0x84, 0x84, 0x80, 0x91},
    {0x84, 0x84, 0x9F, 0xBE}, {0x87, 0x87, 0x40, 0x5D}, {0x87, 0x87, 0x5F, 0x75},
    {0x87, 0x87, 0x7E, 0x7E}, {0x87, 0x87, 0x80, 0x9C}, {0x88, 0x88, 0x9F, 0xFC},
    {0x89, 0x97, 0x40, 0x7E}, {0x89, 0x97, 0x80, 0xFC}, {0x98, 0x98, 0x40, 0x72},
    {0x98, 0x98, 0x9F, 0xFC}, {0x99, 0x9F, 0x40, 0x7E}, {0x99, 0x9F, 0x80, 0xFC},
    {0xE0, 0xE9, 0x40, 0x7E}, {0xE0, 0xE9, 0x80, 0xFC}, {0xEA, 0xEA, 0x40, 0x7E},
    {0xEA, 0xEA, 0x80, 0xA4}, {0xED, 0xED, 0x40, 0x7E}, {0xED, 0xED, 0x80, 0xFC},
    {0xEE, 0xEE, 0x40, 0x7E}, {0xEE, 0xEE, 0x80, 0xEC}, {0xEE, 0xEE, 0xEF, 0xFC},
    {0xF0, 0xFB, 0x40, 0x7E}, {0xF0, 0xFB, 0x80, 0xFC}, {0xFC, 0xFC, 0x40, 0x4B},
};

bool isSingleCharacter(int b) {
    return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
}

// Decodes `bytes` whole, expecting one UTF-16 unit per character: nothing when the decoder
// refuses them or gives another number of units.
std::optional<QString> decodeExpecting(const QByteArray& bytes, qsizetype characters) {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.size() != characters) return std::nullopt;
    return text;
}

}  // namespace

namespace {
std::atomic<const CharTable*> built{nullptr};
}  // namespace

const CharTable* CharTable::instance() {
    static const std::unique_ptr<const CharTable> table = [] {
        std::unique_ptr<CharTable> t(new CharTable);
        if (!t->build()) t.reset();
        built.store(t.get(), std::memory_order_release);
        return std::unique_ptr<const CharTable>(std::move(t));
    }();
    return table.get();
}

const CharTable* CharTable::ifBuilt() {
    return built.load(std::memory_order_acquire);
}

bool CharTable::build() {
    // every character written down, decoded in one call: the code page keeps no state, so
    // each decodes as it would alone
    QByteArray singles, pairs;
    for (int b = 0; b < 256; ++b) {
        if (isSingleCharacter(b)) singles += char(b);
    }
    // written in place: built on the start's reading thread, byte by byte appends would cost
    // a good part of reading the real monster files
    qsizetype pairCount = 0;
    for (const PairRange& r : kPairs) {
        pairCount += (r.lastLead - r.firstLead + 1) * (r.lastTrail - r.firstTrail + 1);
    }
    pairs.resize(2 * pairCount);
    char* to = pairs.data();
    int rows = 0;
    for (const PairRange& r : kPairs) {
        for (int lead = r.firstLead; lead <= r.lastLead; ++lead) {
            if (row_[lead] == 0) row_[lead] = quint8(++rows);
            for (int trail = r.firstTrail; trail <= r.lastTrail; ++trail) {
                *to++ = char(lead);
                *to++ = char(trail);
            }
        }
    }
    const std::optional<QString> singleText = decodeExpecting(singles, singles.size());
    const std::optional<QString> pairText = decodeExpecting(pairs, pairs.size() / 2);
    if (!singleText || !pairText) return false;

    single_.fill(kNone);
    for (qsizetype i = 0; i < singles.size(); ++i) {
        single_[uchar(singles[i])] = singleText->at(i).unicode();
    }
    pairs_.assign(size_t(rows) * 256, kNone);
    const auto* pair = reinterpret_cast<const uchar*>(pairs.constData());
    const char16_t* unit = reinterpret_cast<const char16_t*>(pairText->constData());
    for (qsizetype i = 0; i < pairText->size(); ++i, pair += 2) {
        // a surrogate would be half a character; U+FFFF marks no character
        if (unit[i] == kNone || QChar::isSurrogate(unit[i])) return false;
        pairs_[rowStart(pair[0]) + pair[1]] = unit[i];
    }
    return true;
}

qsizetype CharTable::wholeCharacters(const uchar* p, qsizetype n) const {
#if defined(__SSE2__)
    constexpr qsizetype kRun = 16;
#else
    constexpr qsizetype kRun = 8;
#endif
    qsizetype i = 0;
    while (i < n) {
        // runs of ASCII without a NUL, the bulk of every file, many bytes at a time
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        while (i + 16 <= n) {
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const int stop = _mm_movemask_epi8(_mm_or_si128(b, _mm_cmpeq_epi8(b, zero)));
            if (stop != 0) {
                i += __builtin_ctz(unsigned(stop));
                break;
            }
            i += 16;
        }
#else
        constexpr quint64 ones = 0x0101010101010101u, highs = 0x8080808080808080u;
        for (quint64 w;
             i + 8 <= n && (std::memcpy(&w, p + i, 8), ((w | ((w - ones) & ~w)) & highs) == 0);) {
            i += 8;
        }
#endif
        // then character by character, at least one, up to the next run of ASCII the loop
        // above can take
        for (const qsizetype from = i; i < n; ++i) {
            const uchar b = p[i];
            if (b < 0x80) {
                if (b == 0) return i;
                if (i != from && i + kRun <= n) break;
            } else if (row_[b] != 0) {
                if (i + 1 == n) return i;
                if (pairs_[rowStart(b) + p[i + 1]] == kNone) return i;
                ++i;
            } else if (single_[b] == kNone) {
                return i;
            }
        }
    }
    return n;
}

qsizetype CharTable::decode(const uchar* p, qsizetype n, qsizetype readable, char16_t* out) const {
    char16_t* to = out;
    qsizetype i = 0;
    // printable ASCII, which the code page spells as itself, sixteen bytes at a time: all
    // sixteen are widened, those up to the first that is not printable ASCII are kept
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (i < n && i + 16 <= readable) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // signed: the bytes from 0x80 up are below 0x20 too
        const __m128i printable = _mm_andnot_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(0x7F)),
                                                   _mm_cmpgt_epi8(b, _mm_set1_epi8(0x1F)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(b, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_unpackhi_epi8(b, zero));
        const unsigned other = ~unsigned(_mm_movemask_epi8(printable)) & 0xFFFF;
        const qsizetype kept = std::min<qsizetype>(other ? __builtin_ctz(other) : 16, n - i);
        i += kept;
        to += kept;
        if (kept < 16) break;
    }
#else
    Q_UNUSED(readable);
#endif
    for (; i < n; ++i) {
        const uchar b = p[i];
        if (row_[b] != 0 && i + 1 < n) {
            *to++ = pairs_[rowStart(b) + p[++i]];
        } else {
            *to++ = single_[b];
        }
    }
    return to - out;
}

qsizetype CharTable::decodeWhole(const uchar* p, qsizetype n, char16_t* out,
                                 bool& encodesBack) const {
    char16_t* to = out;
    bool exact = true;
    qsizetype i = 0;
    while (i < n) {
        // runs of plain bytes, the bulk of every file, sixteen at a time
        const qsizetype plainEnd = widenPlainBlocks(p, n, i, to);
        to += plainEnd - i;
        i = plainEnd;
        // then character by character, at least one, up to the next plain byte
        for (const qsizetype from = i; i < n;) {
            const uchar b = p[i];
            const bool plain = isPlain(b);
            if (plain && i != from) break;
            if (row_[b] != 0) {
                if (i + 1 == n) return -1;
                const char16_t unit = pairs_[rowStart(b) + p[i + 1]];
                if (unit == kNone) return -1;
                exact = exact && pairEncodesBack(b, p[i + 1]);
                *to++ = unit;
                i += 2;
                continue;
            }
            if (b == 0 || single_[b] == kNone) return -1;
            // of the other single bytes only the half-width katakana come back as themselves
            exact = exact && (plain || (b >= 0xA1 && b <= 0xDF));
            *to++ = single_[b];
            ++i;
        }
    }
    encodesBack = exact;
    return to - out;
}

}  // namespace mdb::cp932
