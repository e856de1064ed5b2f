#include "storage/ExactBytes.h"

#include <QStringEncoder>
#include <algorithm>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "storage/Cp932.h"
#include "storage/PlainRuns.h"

namespace mdb::cp932 {

namespace {

// Lead bytes of the rows the code page holds twice (NEC row 13, the NEC-selected IBM extensions
// and the IBM extensions): the encoder may write another spelling than the file's.
inline int duplicatedRow(uchar lead) {
    switch (lead) {
        case 0x87:
            return 0;
        case 0xED:
            return 1;
        case 0xEE:
            return 2;
        case 0xFA:
            return 3;
        case 0xFB:
            return 4;
        case 0xFC:
            return 5;
        default:
            return -1;
    }
}

// For each of those rows, a bit per second byte: set where the code page's converter decodes
// the pair and encodes the character back to the very same pair (① 0x87 0x40, ⅰ 0xFA 0x40,
// most of the IBM extensions). The pairs left out come back as another spelling, or do not
// decode: the NEC copies of JIS X 0208 symbols (≒ 0x87 0x90 is written 0x81 0xE0), the whole
// NEC-selected rows 0xED and 0xEE (written as their 0xFA..0xFC twins), and the Roman numerals,
// ￢, ㈱, №, ℡ and ∵ of row 0xFA (written as their row 0x87 or JIS X 0208 twins). Taken from the
// converter pair by pair; the ExactBytes test checks every bit against it.
constexpr quint64 kPairComesBack[6][4] = {
    {0, 0x403FFFFFBFFFFFFFu, 0x000000000318FFFFu, 0},                    // 0x87
    {0, 0, 0, 0},                                                        // 0xED
    {0, 0, 0, 0},                                                        // 0xEE
    {0, 0x7FFFFFFFF0E003FFu, 0xFFFFFFFFFFFFFFFFu, 0x1FFFFFFFFFFFFFFFu},  // 0xFA
    {0, 0x7FFFFFFFFFFFFFFFu, 0xFFFFFFFFFFFFFFFFu, 0x1FFFFFFFFFFFFFFFu},  // 0xFB
    {0, 0x0000000000000FFFu, 0, 0},                                      // 0xFC
};

// Whether the double-byte character `lead` `trail` encodes back to these two bytes.
inline bool pairComesBack(uchar lead, uchar trail) {
    const int row = duplicatedRow(lead);
    return row < 0 || (kPairComesBack[row][trail / 64] >> (trail % 64)) & 1u;
}

// Where the run of plain ASCII characters from `i` on ends.
qsizetype endOfPlainRun(const char16_t* p, qsizetype n, qsizetype i) {
#if defined(__SSE2__)
    // sixteen characters at once, packed to bytes with signed saturation: from 0x80 up they
    // become 0x7F or less than 0x20, so that one test of the bytes finds every character that
    // is not printable; a block with one then looks at tabs and line ends
    const __m128i low = _mm_set1_epi8(0x20), high = _mm_set1_epi8(0x7E);
    while (i + 16 <= n) {
        const __m128i bytes =
            _mm_packs_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 8)));
        const __m128i below = _mm_cmplt_epi8(bytes, low);
        const __m128i other = _mm_or_si128(below, _mm_cmpgt_epi8(bytes, high));
        if (_mm_movemask_epi8(other) != 0) {
            const __m128i allowed =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')),
                                          _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))),
                             _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
            // a character from 0x8000 up saturates to -128, never to a tab or line end
            if (const int mask = _mm_movemask_epi8(_mm_andnot_si128(allowed, other))) {
                return i + __builtin_ctz(unsigned(mask));
            }
        }
        i += 16;
    }
#endif
    while (i < n && isPlain(p[i])) ++i;
    return i;
}

// Writes the plain ASCII characters from..end as their own bytes.
char* narrow(const char16_t* p, qsizetype from, qsizetype end, char* to) {
    qsizetype k = from;
#if defined(__SSE2__)
    // sixteen at once: every one is below 0x80, so packing them keeps them as they are
    for (; k + 16 <= end; k += 16, to += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_packus_epi16(a, b));
    }
#endif
    for (; k < end; ++k) *to++ = char(p[k]);
    return to;
}

}  // namespace

bool pairEncodesBack(uchar lead, uchar trail) {
    return pairComesBack(lead, trail);
}

bool encodesBackExactly(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
#if defined(__SSE2__)
        // sixteen plain bytes at a time: none below 0x20 but tab and line ends, none from 0x7F up
        while (n - i >= 16) {
            const unsigned mask =
                notPlain(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
            if (mask != 0) {
                i += __builtin_ctz(mask);
                break;
            }
            i += 16;
        }
        if (i >= n) break;
#endif
        const uchar b = p[i];
        if (b < 0x80) {
            if (b < 0x20 && b != '\t' && b != '\r' && b != '\n') return false;
            if (b == 0x7F) return false;
            ++i;
            continue;
        }
        if (isLeadByte(b)) {
            if (i + 1 >= n || !pairComesBack(b, p[i + 1])) return false;
            i += 2;
            continue;
        }
        // single bytes above 0x7F: only the half-width katakana are plain characters
        if (b < 0xA1 || b > 0xDF) return false;
        ++i;
    }
    return true;
}

bool encodeExactly(QStringView text, QByteArray& out) {
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    // The runs of other characters, joined by line feeds, go to the encoder in one call: the
    // code page keeps no state and spells the line feed as 0x0A, which no double-byte character
    // holds, so the runs' bytes are found again between the line feeds.
    QString others;
    std::vector<qsizetype> runs;  // start and end of each run in `text`
    for (qsizetype i = endOfPlainRun(p, n, 0); i < n; i = endOfPlainRun(p, n, i)) {
        const qsizetype start = i;
        while (i < n && !isPlain(p[i])) ++i;
        if (!others.isEmpty()) others += u'\n';
        others += text.sliced(start, i - start);
        runs.push_back(start);
        runs.push_back(i);
    }
    QByteArray encoded;
    if (!others.isEmpty()) {
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        encoded = encoder.encode(others);  // encode() is lazy: materialise before asking
        if (encoder.hasError()) return false;
        // the encoder writes some characters as the bytes of a look-alike without an error:
        // what it wrote must read back as the very text
        if (decode(encoded) != others) return false;
    }
    const qsizetype runCount = qsizetype(runs.size() / 2);
    qsizetype plain = n;
    for (size_t r = 0; r < runs.size(); r += 2) plain -= runs[r + 1] - runs[r];
    const qsizetype runBytes = encoded.size() - std::max<qsizetype>(runCount - 1, 0);
    if (runBytes < 0) return false;
    const qsizetype base = out.size();
    out.resize(base + plain + runBytes);
    char* to = out.data() + base;
    qsizetype at = 0;    // in `text`
    qsizetype from = 0;  // in `encoded`
    for (size_t r = 0; r < runs.size(); r += 2) {
        to = narrow(p, at, runs[r], to);
        const qsizetype end = r + 2 < runs.size() ? encoded.indexOf('\n', from) : encoded.size();
        if (end < 0 || (to - out.constData()) + (end - from) > out.size()) {
            out.truncate(base);
            return false;
        }
        to = std::copy(encoded.constData() + from, encoded.constData() + end, to);
        from = end + 1;
        at = runs[r + 1];
    }
    to = narrow(p, at, n, to);
    // every run's bytes where they belong, and nothing of the encoder's output left over
    if (to != out.constData() + out.size() || (runCount > 0 && from != encoded.size() + 1)) {
        out.truncate(base);
        return false;
    }
    return true;
}

}  // namespace mdb::cp932
