#pragma once

#include <QStringView>
#include <QtGlobal>

namespace mdb {

// The numeric value of a text: its leading number (blanks before it allowed, optional sign,
// digits, decimal point and fraction); 0 when the text does not begin with a number.
// Never fails: a number too long for a double reads as a very large value, not as an error.
double numericValue(QStringView text);

// Whether the whole text is one number: blanks around it allowed, optional sign, digits with
// an optional decimal point and fraction (or a fraction alone), optional exponent.
bool isValidNumber(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour, clamped into the range
// of a 64-bit integer (NaN gives 0).
qint64 roundHalfEven(double value);

// The same, clamped into [lo, hi].
qint64 roundHalfEvenClamped(double value, qint64 lo, qint64 hi);

}  // namespace mdb
