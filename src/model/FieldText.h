#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace mdb {

// The text without the blanks (spaces and tabs) around it. Other white space, such as the
// full-width space, can be part of a name and is kept.
QString trimBlanks(const QString& text);

// The whole number a code box holds, when its text is nothing but one: blanks around it, an
// optional sign, digits, and at most a decimal point followed by zeros ("03", " 3 ", "3.0").
// A fraction, an exponent, trailing letters or an empty text hold no code.
std::optional<qint64> wholeNumberText(QStringView text);

// The same for a non-negative number of up to 64 bits, as a mode value is stored.
std::optional<quint64> unsignedWholeNumberText(QStringView text);

}  // namespace mdb
