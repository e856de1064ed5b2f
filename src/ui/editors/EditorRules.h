#pragma once

#include <QString>
#include <optional>

namespace mdb {

// The rules that the emotion and count boxes apply to their text on every change. Each gives
// the text the box settles on (the rule applied to its own result changes nothing more).

// Emotion number: anything that is not a number becomes "0", then below 0 "0" and above 47
// "47". `picture` is the emotion whose picture agrees with the text, none for a fraction.
struct EmotionText {
    QString text;
    std::optional<int> picture;
};
EmotionText NormalizeEmotion(const QString& text);

// Number of forms of a metamorphosis: empty, non-numeric or zero becomes "1"; no upper limit.
QString NormalizeMorphCount(const QString& text);

// Number of slaves or summons: empty or non-numeric becomes "0", and above the limit the
// limit, with `limited` set so that the user can be told once.
constexpr int RelationCountLimit = 20;
struct LimitedCount {
    QString text;
    bool limited = false;
};
LimitedCount NormalizeLimitedCount(const QString& text, bool enforceLimit = true);

// What the user is told when a count was brought down to the limit.
QString limitedCountMessage();

// The text a monster key or state field commits from a list row: the record's own text until
// the user picks another row (`chosen`), and also then while the row holds the same text in
// another letter case. So a key spelled differently from the monster's, a key that names no
// monster and a state outside the nine are written back unchanged unless the user changes them.
QString keptUnlessChosen(const QString& stored, const QString& shown, bool chosen);

}  // namespace mdb
