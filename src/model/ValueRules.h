#pragma once

#include <QString>
#include <optional>

namespace mdb {

// The rules the editors apply to the text of a box, as plain functions of the text, shared by
// the forms, the checker and the grid. Each gives the text the box settles on (the rule applied
// to its own result changes nothing more); the limits are those of ValueLimits.h.

// A number box left by the user: anything that is not one number (an empty text included)
// becomes "0", then the blanks around it go. No range: the value stays as typed.
QString SettledNumber(const QString& text);
// The same, and a negative number becomes "0" too: the status form's boxes.
QString SettledNonNegative(const QString& text);
// A chance: a number, and above kRateLimit the limit.
QString SettledRate(const QString& text);

// The rules that the emotion and count boxes apply to their text on every change.

// Emotion number: anything that is not a number becomes "0", then below 0 "0" and above
// kLastEmotion the last. `picture` is the emotion whose picture agrees with the text, none for a
// fraction.
struct EmotionText {
    QString text;
    std::optional<int> picture;
};
EmotionText NormalizeEmotion(const QString& text);

// Number of forms of a metamorphosis: empty, non-numeric or zero becomes "1"; no upper limit.
QString NormalizeMorphCount(const QString& text);

// Number of slaves or summons: empty or non-numeric becomes "0", and above kRelationCountLimit
// the limit, with `limited` set so that the user can be told once.
struct LimitedCount {
    QString text;
    bool limited = false;
};
LimitedCount NormalizeLimitedCount(const QString& text, bool enforceLimit = true);

// The text a monster key or state field commits from a list row: the record's own text until
// the user picks another row (`chosen`), and also then while the row holds the same text in
// another letter case. So a key spelled differently from the monster's, a key that names no
// monster and a state outside the nine are written back unchanged unless the user changes them.
QString keptUnlessChosen(const QString& stored, const QString& shown, bool chosen);

}  // namespace mdb
