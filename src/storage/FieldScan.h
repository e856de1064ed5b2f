#pragma once

#include <QtGlobal>
#include <type_traits>

#include "model/Blanks.h"
#include "model/FieldEnds.h"

namespace mdb {

// Where one field lies in a file, as the reader splits it: blanks before it skipped, a quoted
// value running to the next double quote (line ends included) with whatever trails the closing
// quote dropped, an unquoted value running to the next comma or line end.
struct FieldSpan {
    qsizetype valueStart = 0;  // the value, without blanks or quotes
    qsizetype valueEnd = 0;
    qsizetype end = 0;       // where the field's own bytes end and its terminator begins
    qsizetype next = 0;      // after the terminator (a comma, CR LF, a lone CR or LF, or nothing)
    bool openQuote = false;  // a quote that the end of the text closed
};

// Works on decoded text and on raw code page 932 bytes alike: the comma, the double quote,
// the blanks and the line ends are single bytes below 0x40, and the second byte of a double-byte
// character never is, so the raw bytes split exactly where their text does.
template <typename Ch>
Q_ALWAYS_INLINE FieldSpan scanField(const Ch* data, qsizetype size, qsizetype pos) {
    auto at = [data](qsizetype i) { return char16_t(std::make_unsigned_t<Ch>(data[i])); };
    FieldSpan s;
    qsizetype p = pos;
    while (p < size && isBlank(char16_t(at(p)))) ++p;
    if (p < size && at(p) == u'"') {
        s.valueStart = p + 1;
        qsizetype close = s.valueStart;
        while (close < size && at(close) != u'"') ++close;
        s.valueEnd = close;
        s.openQuote = close >= size;
        p = close < size ? close + 1 : size;
        while (p < size && !endsField(at(p))) ++p;
    } else {
        s.valueStart = p;
        while (p < size && !endsField(at(p))) ++p;
        s.valueEnd = p;
    }
    s.end = p;
    if (p < size) {
        if (at(p) == u'\r' && p + 1 < size && at(p + 1) == u'\n') ++p;
        ++p;
    }
    s.next = p;
    return s;
}

}  // namespace mdb
