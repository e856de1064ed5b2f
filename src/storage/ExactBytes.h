#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace mdb::cp932 {

// Whether the code page 932 bytes of a file are those its decoded text encodes back to, so
// that the text alone can give them again. The code page spells some characters twice (the NEC
// and IBM extensions share rows with each other and with JIS X 0208, lead bytes 0x87, 0xED,
// 0xEE and 0xFA to 0xFC), and the encoder writes one of the spellings: bytes with a character
// of those rows that the encoder spells otherwise (not ① or ⅰ, which come back), a single byte
// that is no half-width katakana above 0x7F, or a control code the code page moves are kept
// instead. Call only for bytes that decode.
bool encodesBackExactly(QByteArrayView bytes);
// The same for one double-byte character that decodes.
bool pairEncodesBack(uchar lead, uchar trail);

// Appends the bytes of `text`, decoded from bytes for which encodesBackExactly held, to `out`:
// printable ASCII as its own bytes, every other run of characters through the code page's
// encoder in one call for the whole text. False (and `out` as it was) when a character does not
// encode, or encodes to bytes that would read back as another character.
bool encodeExactly(QStringView text, QByteArray& out);

}  // namespace mdb::cp932
