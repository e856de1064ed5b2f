#include "storage/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <vector>

namespace mdb::cp932 {

namespace {

// ICU's name for Microsoft's variant of Shift_JIS, with the NEC and IBM extensions.
constexpr const char* CodecName = "windows-31j";

bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

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

std::optional<QString> decode(QByteArrayView bytes, qsizetype* badOffset) {
    QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError()) return text;
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
