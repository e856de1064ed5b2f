#pragma once

#include <QtGlobal>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mdb {

// What ends a field that is not quoted: a comma or a line end.
constexpr bool endsField(char16_t c) {
    return c == u',' || c == u'\r' || c == u'\n';
}

// The commas, CRs and LFs in [p, end).
inline qsizetype countFieldEnds(const char16_t* p, const char16_t* end) {
    qsizetype count = 0;
#if defined(__SSE2__)
    if (end - p >= 8) {
        const __m128i comma = _mm_set1_epi16(u','), cr = _mm_set1_epi16(u'\r'),
                      lf = _mm_set1_epi16(u'\n');
        auto ends = [&](const char16_t* at) {
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(c, comma), _mm_cmpeq_epi16(c, cr)),
                                _mm_cmpeq_epi16(c, lf));
        };
        // each lane counts down by one for every end it sees, up to 4096 of them
        __m128i lanes = _mm_setzero_si128();
        auto sum = [&] {
            __m128i s = _mm_madd_epi16(lanes, _mm_set1_epi16(1));  // four sums of two
            s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
            s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
            count -= _mm_cvtsi128_si32(s);
            lanes = _mm_setzero_si128();
        };
        for (int step = 0; end - p >= 8; p += 8) {
            lanes = _mm_add_epi16(lanes, ends(p));
            if (++step == 4096) {
                sum();
                step = 0;
            }
        }
        // the last few: the eight characters up to the end again, the lanes of those
        // already counted cleared
        if (p < end) {
            alignas(16) static constexpr quint16 kFrom[16] = {
                0,      0,      0,      0,      0,      0,      0,      0,
                0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
            const __m128i keep =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(kFrom + (end - p)));
            lanes = _mm_add_epi16(lanes, _mm_and_si128(ends(end - 8), keep));
            p = end;
        }
        sum();
    }
#endif
    for (; p < end; ++p) count += endsField(*p);
    return count;
}

}  // namespace mdb
