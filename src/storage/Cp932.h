#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace mdb::cp932 {

// The first byte of a double-byte character.
constexpr bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes code page 932 bytes. Returns nothing when a byte sequence does not decode (an
// invalid byte, a lead byte cut off at the end); `badOffset` then receives the byte offset of
// the first bad sequence as well as it can be told.
std::optional<QString> decode(QByteArrayView bytes, qsizetype* badOffset = nullptr);

// Decodes many pieces of one file's bytes, each beginning on a character boundary, with one
// decoder and one scratch buffer. Gives the same text and the same verdict as decode(); after a
// piece that does not decode the decoder must not be used again.
class RunDecoder {
public:
    // Appends the decoded bytes to `out`; false (and `out` as it was) when they do not decode.
    bool append(QByteArrayView bytes, QString& out);
    // Whether the bytes decode, without keeping the text: only the bytes from 0x80 up are
    // given to the code page's decoder.
    bool check(QByteArrayView bytes);

private:
    // Decodes into scratch_; the number of UTF-16 units, or -1 when the run does not decode.
    qsizetype decodeRun(QByteArrayView run);

    std::optional<QStringDecoder> decoder_;
    std::vector<QChar> scratch_;
};

// Maps the JIS forms an input method may produce (U+301C, U+2016, U+2212, U+00A2, U+00A3,
// U+00AC, U+2014) to the characters code page 932 spells them with.
QString toCp932Forms(QStringView text);

// Encodes text (after toCp932Forms). Returns nothing when a character cannot be encoded;
// `badCharacter` then receives the first such character (a surrogate pair stays whole).
std::optional<QByteArray> encode(QStringView text, QString* badCharacter = nullptr);

// What a writer learns about its text while it builds it, so that encoding need not look
// at every character again.
struct TextTraits {
    bool printableAscii = true;  // only U+0020..U+007E, tab, CR and LF
    bool jisForms = false;       // holds a character toCp932Forms changes
    QString distinct;            // every character from U+0080 up, once
    void see(char16_t c) {
        printableAscii =
            printableAscii && ((c >= 0x20 && c < 0x7F) || c == u'\t' || c == u'\r' || c == u'\n');
        jisForms = jisForms || isJisForm(c);
        if (c >= 0x80) {
            if (seen_.empty()) seen_.resize(0x10000 / 64);
            quint64& word = seen_[c / 64];
            const quint64 bit = quint64(1) << (c % 64);
            if (!(word & bit)) {
                word |= bit;
                distinct += QChar(c);
            }
        }
    }
    static bool isJisForm(char16_t c) {
        return c == 0x301C || c == 0x2016 || c == 0x2212 || c == 0x00A2 || c == 0x00A3 ||
               c == 0x00AC || c == 0x2014;
    }

private:
    std::vector<quint64> seen_;
};
// encode() for a text whose traits the caller has collected.
std::optional<QByteArray> encode(QStringView text, const TextTraits& traits,
                                 QString* badCharacter = nullptr);

}  // namespace mdb::cp932
