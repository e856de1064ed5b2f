#include "storage/Cp932.h"

#include <QStringDecoder>

#include "storage/PlainRuns.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <QStringEncoder>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace mdb::cp932 {

namespace {

// ICU's name for Microsoft's variant of Shift_JIS, with the NEC and IBM extensions.
constexpr const char* CodecName = "windows-31j";

bool decodesCleanly(QByteArrayView bytes) {
    // A fresh decoder per call: the error flag of a converter never resets.
    QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);  // decode() is lazy: materialise first
    return !decoder.hasError();
}

// The decoder reports only that something failed, not where. Decode chunks that end on
// character boundaries, each alone (the code page is stateless, so a prefix of clean chunks
// decodes cleanly), and bisect only inside the first chunk that fails: time proportional to the
// file and memory to one chunk, however long its lines.
qsizetype locateBadSequence(QByteArrayView bytes) {
    constexpr qsizetype ChunkSize = 64 * 1024;
    std::vector<qsizetype> starts;  // character starts of the current chunk
    starts.reserve(size_t(ChunkSize));
    for (qsizetype chunk = 0; chunk < bytes.size();) {
        starts.clear();
        qsizetype end = chunk;
        while (end < bytes.size() && end - chunk < ChunkSize) {
            starts.push_back(end);
            end += isLeadByte(uchar(bytes[end])) ? 2 : 1;
        }
        end = std::min(end, bytes.size());
        if (decodesCleanly(bytes.sliced(chunk, end - chunk))) {
            chunk = end;
            continue;
        }
        // the first character whose inclusion makes the chunk's prefix fail
        size_t lo = 0, hi = starts.size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            const qsizetype upTo = mid + 1 < starts.size() ? starts[mid + 1] : end;
            if (decodesCleanly(bytes.sliced(chunk, upTo - chunk))) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        return lo < starts.size() ? starts[lo] : end;
    }
    return bytes.size();
}

// `distinct` holds every character of `text` from U+0080 up, once.
bool roundTrips(QStringView text, const QString& distinct, QByteArray* bytesOut) {
    QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return false;
    // A character the encoder maps to a look-alike would come back changed on the next load.
    // The code page is stateless, so checking every distinct character once checks the text.
    if (!distinct.isEmpty()) {
        QStringEncoder charEncoder(CodecName, QStringConverter::Flag::Stateless);
        const QByteArray charBytes = charEncoder.encode(distinct);
        QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
        const QString back = decoder.decode(charBytes);
        if (charEncoder.hasError() || decoder.hasError() || back != distinct) return false;
    }
    if (bytesOut) *bytesOut = std::move(bytes);
    return true;
}

QString firstUnencodable(QStringView text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        const QStringView ch = text.sliced(i, len);
        if (!roundTrips(ch, ch.toString(), nullptr)) return ch.toString();
        i += len;
    }
    return {};
}

}  // namespace

namespace {

// Where the run of characters that are not plain ASCII starting at `i` ends: at the first
// plain ASCII byte that begins a character (a double-byte character's second byte may look
// like ASCII).
qsizetype endOfOtherRun(const uchar* p, qsizetype n, qsizetype i) {
    while (i < n && !isPlain(p[i])) i += isLeadByte(p[i]) && i + 1 < n ? 2 : 1;
    return i;
}

// Eight bytes at once: none has its high bit set, none lies below 0x20, none is 0x7F.
inline bool allPrintable(quint64 w) {
    constexpr quint64 ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    const quint64 below20 = (w - 0x20 * ones) & ~w;
    const quint64 x7f = w ^ (0x7F * ones);
    const quint64 is7f = (x7f - ones) & ~x7f;
    return ((w | below20 | is7f) & highs) == 0;
}

// The first byte from `i` on with its high bit set, or `n`.
qsizetype firstHighByte(const uchar* p, qsizetype n, qsizetype i) {
#if defined(__SSE2__)
    while (i + 16 <= n) {
        const int mask =
            _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        if (mask != 0) return i + __builtin_ctz(unsigned(mask));
        i += 16;
    }
#endif
    while (i < n && p[i] < 0x80) ++i;
    return i;
}

// Copies the plain ASCII run starting at `i` into `out`, widened; returns where it ends.
qsizetype widenAsciiRun(const uchar* p, qsizetype n, qsizetype i, char16_t* out) {
    const qsizetype start = i;
    i = widenPlainBlocks(p, n, i, out);
    while (i < n) {
        quint64 w;
        if (i + 8 <= n && (std::memcpy(&w, p + i, 8), allPrintable(w))) {
            for (int k = 0; k < 8; ++k) out[i - start + k] = p[i + k];
            i += 8;
        } else if (isPlain(p[i])) {  // a tab or line end, or the last few bytes
            out[i - start] = p[i];
            ++i;
        } else {
            break;
        }
    }
    return i;
}

}  // namespace

// Plain ASCII is widened byte by byte, the rest decoded run by run through the code page's
// decoder. Every run starts on a character boundary and the code page keeps no state, so the
// text and the verdict are those of decoding the bytes whole. Each byte gives at most one
// UTF-16 unit, so the text grows by the number of bytes and is cut to its size.
bool RunDecoder::append(QByteArrayView bytes, QString& out) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    const qsizetype base = out.size();
    out.resize(base + n);
    char16_t* to = reinterpret_cast<char16_t*>(out.data()) + base;
    qsizetype written = 0;
    for (qsizetype i = 0; i < n;) {
        const qsizetype asciiEnd = widenAsciiRun(p, n, i, to + written);
        written += asciiEnd - i;
        i = asciiEnd;
        if (i == n) break;
        const qsizetype otherEnd = endOfOtherRun(p, n, i);
        const qsizetype produced = decodeRun(bytes.sliced(i, otherEnd - i));
        if (produced < 0 || produced > n - written) {
            out.truncate(base);
            return false;
        }
        std::copy_n(reinterpret_cast<const char16_t*>(scratch_.data()), produced, to + written);
        written += produced;
        i = otherEnd;
    }
    out.truncate(base + written);
    return true;
}

bool RunDecoder::check(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        i = firstHighByte(p, n, i);
        if (i == n) break;
        // a byte below 0x80 is a character of its own wherever a character may begin
        qsizetype end = i;
        while (end < n && p[end] >= 0x80) end += isLeadByte(p[end]) && end + 1 < n ? 2 : 1;
        end = std::min(end, n);
        if (decodeRun(bytes.sliced(i, end - i)) < 0) return false;
        i = end;
    }
    return true;
}

qsizetype RunDecoder::decodeRun(QByteArrayView run) {
    // One decoder for every run: its error flag never resets, but the first error ends the
    // read, and the code page is stateless, so nothing of one run carries into the next.
    if (!decoder_) decoder_.emplace(CodecName, QStringConverter::Flag::Stateless);
    scratch_.resize(size_t(decoder_->requiredSpace(run.size())));
    const qsizetype produced = decoder_->appendToBuffer(scratch_.data(), run) - scratch_.data();
    return decoder_->hasError() ? -1 : produced;
}

namespace {

std::optional<QString> decodeByRuns(QByteArrayView bytes) {
    QString text;
    if (!RunDecoder().append(bytes, text)) return std::nullopt;
    text.squeeze();  // shrinks in place: the double-byte characters took a unit for two bytes
    return text;
}

}  // namespace

std::optional<QString> decode(QByteArrayView bytes, qsizetype* badOffset) {
    if (std::optional<QString> text = decodeByRuns(bytes)) return text;
    if (badOffset) *badOffset = locateBadSequence(bytes);
    return std::nullopt;
}

QString toCp932Forms(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        switch (c.unicode()) {
            case 0x301C:
                c = QChar(0xFF5E);
                break;  // wave dash
            case 0x2016:
                c = QChar(0x2225);
                break;  // double vertical line
            case 0x2212:
                c = QChar(0xFF0D);
                break;  // minus sign
            case 0x00A2:
                c = QChar(0xFFE0);
                break;  // cent
            case 0x00A3:
                c = QChar(0xFFE1);
                break;  // pound
            case 0x00AC:
                c = QChar(0xFFE2);
                break;  // not sign
            case 0x2014:
                c = QChar(0x2015);
                break;  // em dash
            default:
                break;
        }
    }
    return out;
}

std::optional<QByteArray> encode(QStringView text, QString* badCharacter) {
    TextTraits traits;
    for (const QChar c : text) traits.see(c.unicode());
    return encode(text, traits, badCharacter);
}

std::optional<QByteArray> encode(QStringView text, const TextTraits& traits,
                                 QString* badCharacter) {
    // the code page spells printable ASCII as its own bytes (some control codes it moves)
    if (traits.printableAscii) return text.toLatin1();
    const QString mapped = traits.jisForms ? toCp932Forms(text) : text.toString();
    const QString distinct = traits.jisForms ? toCp932Forms(traits.distinct) : traits.distinct;
    QByteArray bytes;
    if (roundTrips(mapped, distinct, &bytes)) return bytes;
    if (badCharacter) *badCharacter = firstUnencodable(mapped);
    return std::nullopt;
}

}  // namespace mdb::cp932
