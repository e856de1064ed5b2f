#include "model/NumericText.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/Blanks.h"

namespace mdb {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

double numericValue(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate in long double digit by digit; a 40-digit number stays finite and exact
    // enough, and a fraction of any length cannot overflow.
    long double value = 0;
    bool any = false;
    while (i < n && isDigit(text[i])) {
        value = value * 10 + (text[i].unicode() - u'0');
        any = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        long double scale = 0.1L;
        while (i < n && isDigit(text[i])) {
            value += (text[i].unicode() - u'0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any) return 0.0;
    const double result = static_cast<double>(value);
    return negative ? -result : result;
}

bool isValidNumber(QStringView text) {
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    while (n > i && isBlank(text[n - 1])) --n;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
        qsizetype expDigits = 0;
        while (i < n && isDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == n;
}

qint64 roundHalfEven(double value) {
    return roundHalfEvenClamped(value, std::numeric_limits<qint64>::min(),
                                std::numeric_limits<qint64>::max());
}

qint64 roundHalfEvenClamped(double value, qint64 lo, qint64 hi) {
    if (std::isnan(value)) return std::clamp<qint64>(0, lo, hi);
    const double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (r <= double(lo)) return lo;
    if (r >= double(hi)) return hi;
    return static_cast<qint64>(r);
}

}  // namespace mdb
