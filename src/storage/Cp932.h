#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace mdb::cp932 {

// Decodes code page 932 bytes. Returns nothing when a byte sequence does not decode (an
// invalid byte, a lead byte cut off at the end); `badOffset` then receives the byte offset of
// the first bad sequence as well as it can be told.
std::optional<QString> decode(QByteArrayView bytes, qsizetype* badOffset = nullptr);

// Maps the JIS forms an input method may produce (U+301C, U+2016, U+2212, U+00A2, U+00A3,
// U+00AC, U+2014) to the characters code page 932 spells them with.
QString toCp932Forms(QStringView text);

// Encodes text (after toCp932Forms). Returns nothing when a character cannot be encoded;
// `badCharacter` then receives the first such character (a surrogate pair stays whole).
std::optional<QByteArray> encode(QStringView text, QString* badCharacter = nullptr);

}  // namespace mdb::cp932
