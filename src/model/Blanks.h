#pragma once

#include <QChar>

namespace mdb {

// The blanks of the text format: the reader skips them before a field, the writer quotes a
// field that begins or ends with one, and the editors trim them.
constexpr bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
constexpr bool isBlank(QChar c) {
    return isBlank(c.unicode());
}

}  // namespace mdb
