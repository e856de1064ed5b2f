#pragma once

#include <QtGlobal>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mdb::cp932 {

// Plain bytes are printable ASCII, the tab and the line ends: the code page spells each of these
// characters as its own byte, and no double-byte character begins with one. (Some other control
// codes it moves.) The readers and writers take runs of them sixteen bytes at a time.

// Whether one byte, or one character of decoded text, is plain.
constexpr bool isPlain(char16_t c) {
    return (c >= 0x20 && c < 0x7F) || c == u'\t' || c == u'\r' || c == u'\n';
}

#if defined(__SSE2__)
// A bit for each of the sixteen bytes that is not plain.
inline unsigned notPlain(__m128i b) {
    // signed: the bytes from 0x80 up count as below 0x20 too
    const __m128i control = _mm_cmplt_epi8(b, _mm_set1_epi8(0x20));
    const __m128i allowed = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\t')),
                                                      _mm_cmpeq_epi8(b, _mm_set1_epi8('\r'))),
                                         _mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
    const __m128i other =
        _mm_or_si128(_mm_andnot_si128(allowed, control), _mm_cmpeq_epi8(b, _mm_set1_epi8(0x7F)));
    return unsigned(_mm_movemask_epi8(other));
}
#endif

// Widens the plain bytes from p[i] on into `out` (where p[i] goes), sixteen at a time, while
// sixteen are left; returns where that stopped: at the first byte that is not plain, or where
// fewer than sixteen bytes are left. Each unit written lies before p + n's counterpart in `out`.
inline qsizetype widenPlainBlocks(const uchar* p, qsizetype n, qsizetype i, char16_t* out) {
#if defined(__SSE2__)
    const qsizetype start = i;
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        auto* to = reinterpret_cast<__m128i*>(out + (i - start));
        _mm_storeu_si128(to, _mm_unpacklo_epi8(b, zero));
        _mm_storeu_si128(to + 1, _mm_unpackhi_epi8(b, zero));
        if (const unsigned mask = notPlain(b)) return i + __builtin_ctz(mask);
        i += 16;
    }
#else
    Q_UNUSED(p);
    Q_UNUSED(n);
    Q_UNUSED(out);
#endif
    return i;
}

}  // namespace mdb::cp932
