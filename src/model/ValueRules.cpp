#include "model/ValueRules.h"

#include "model/FieldText.h"
#include "model/NumericText.h"
#include "model/ValueLimits.h"

namespace mdb {

using namespace Qt::StringLiterals;

QString SettledNumber(const QString& text) {
    return isValidNumber(text) ? trimBlanks(text) : u"0"_s;
}

QString SettledNonNegative(const QString& text) {
    return numericValue(text) < 0 ? u"0"_s : SettledNumber(text);
}

QString SettledRate(const QString& text) {
    const QString number = SettledNumber(text);
    return numericValue(number) > kRateLimit ? QString::number(kRateLimit) : number;
}

EmotionText NormalizeEmotion(const QString& text) {
    constexpr int last = kLastEmotion;
    QString result = isValidNumber(text) ? trimBlanks(text) : u"0"_s;
    if (result.isEmpty()) result = u"0"_s;
    const double value = numericValue(result);
    if (value < 0) result = u"0"_s;
    if (value > last) result = QString::number(last);
    const double shown = numericValue(result);
    const int whole = int(shown);
    if (whole == shown && whole >= 0 && whole <= last) return {result, whole};
    return {result, std::nullopt};
}

QString NormalizeMorphCount(const QString& text) {
    const QString result = trimBlanks(text);
    if (!isValidNumber(result)) return u"1"_s;
    if (numericValue(result) == 0) return u"1"_s;
    return result;
}

LimitedCount NormalizeLimitedCount(const QString& text, bool enforceLimit) {
    const QString result = trimBlanks(text);
    if (!isValidNumber(result)) return {u"0"_s, false};
    if (enforceLimit && numericValue(result) > kRelationCountLimit)
        return {QString::number(kRelationCountLimit), true};
    return {result, false};
}

QString keptUnlessChosen(const QString& stored, const QString& shown, bool chosen) {
    if (!chosen || shown.compare(stored, Qt::CaseInsensitive) == 0) return stored;
    return shown;
}

}  // namespace mdb
