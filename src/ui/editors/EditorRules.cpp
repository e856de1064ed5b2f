#include "ui/editors/EditorRules.h"

#include "model/NumericText.h"
#include "ui/controls/FieldText.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

EmotionText NormalizeEmotion(const QString& text) {
    constexpr int last = 47;
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
    if (enforceLimit && numericValue(result) > RelationCountLimit)
        return {QString::number(RelationCountLimit), true};
    return {result, false};
}

QString limitedCountMessage() {
    return MessageSink::joinLines(
        {u"サーバーの安全動作のため 最大数は２０に設定してあります"_s,
         u"危険を承知でこれ以上の数値に設定したいならテキストエディタなどで編集して下さい"_s});
}

QString keptUnlessChosen(const QString& stored, const QString& shown, bool chosen) {
    if (!chosen || shown.compare(stored, Qt::CaseInsensitive) == 0) return stored;
    return shown;
}

}  // namespace mdb
