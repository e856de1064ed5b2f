#include "model/FieldText.h"

#include "model/Blanks.h"

namespace mdb {

namespace {

// Splits a plain whole-number text into its sign and digit run; nullopt for anything else.
struct WholeParts {
    bool negative = false;
    QStringView digits;
};

std::optional<WholeParts> splitWhole(QStringView text) {
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    while (n > i && isBlank(text[n - 1])) --n;
    WholeParts parts;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        parts.negative = text[i] == u'-';
        ++i;
    }
    const qsizetype start = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i;
    if (i == start) return std::nullopt;
    parts.digits = text.sliced(start, i - start);
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i] == u'0') ++i;
    }
    if (i != n) return std::nullopt;
    return parts;
}

}  // namespace

QString trimBlanks(const QString& text) {
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    while (n > i && isBlank(text[n - 1])) --n;
    return text.sliced(i, n - i);
}

std::optional<qint64> wholeNumberText(QStringView text) {
    const auto parts = splitWhole(text);
    if (!parts) return std::nullopt;
    bool ok = false;
    const qint64 magnitude = parts->digits.toLongLong(&ok);
    if (!ok) return std::nullopt;  // more digits than any code can have
    return parts->negative ? -magnitude : magnitude;
}

std::optional<quint64> unsignedWholeNumberText(QStringView text) {
    const auto parts = splitWhole(text);
    if (!parts) return std::nullopt;
    bool ok = false;
    const quint64 value = parts->digits.toULongLong(&ok);
    if (!ok) return std::nullopt;
    if (parts->negative && value != 0) return std::nullopt;
    return value;
}

}  // namespace mdb
