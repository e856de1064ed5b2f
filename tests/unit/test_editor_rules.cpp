// The rules the emotion and count boxes apply to their text: plain functions of the text, with
// no window.
#include <gtest/gtest.h>

#include "model/ValueRules.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST(EmotionRule, SettlesOnANumberFrom0To47AndThePictureThatAgreesWithIt) {
    const struct {
        QString typed, text;
        std::optional<int> picture;
    } cases[] = {
        {u"60"_s, u"47"_s, 47},     {u"-"_s, u"0"_s, 0},      {u"-3"_s, u"0"_s, 0},
        {u"abc"_s, u"0"_s, 0},      {QString(), u"0"_s, 0},   {u" 12 "_s, u"12"_s, 12},
        {u"47.0"_s, u"47.0"_s, 47}, {u"2.5"_s, u"2.5"_s, {}}, {u"47.5"_s, u"47"_s, 47},
        {u"0"_s, u"0"_s, 0},        {u"１２"_s, u"0"_s, 0},
    };
    for (const auto& c : cases) {
        const EmotionText result = NormalizeEmotion(c.typed);
        EXPECT_EQ(result.text, c.text) << c.typed.toStdString();
        EXPECT_EQ(result.picture, c.picture) << c.typed.toStdString();
        // the box's handler runs again on the text it set: nothing may change any more
        EXPECT_EQ(NormalizeEmotion(result.text).text, result.text) << c.typed.toStdString();
    }
}

TEST(CountRules, MorphCountIsNeverEmptyOrZeroAndLimitedCountsStopAt20) {
    for (const auto& [typed, text] : {std::pair{u""_s, u"1"_s},
                                      {u"0"_s, u"1"_s},
                                      {u"0.0"_s, u"1"_s},
                                      {u"x"_s, u"1"_s},
                                      {u" 3 "_s, u"3"_s},
                                      {u"-2"_s, u"-2"_s},
                                      {u"250"_s, u"250"_s}}) {
        EXPECT_EQ(NormalizeMorphCount(typed), text) << typed.toStdString();
    }
    const struct {
        QString typed, text;
        bool limited;
    } limited[] = {{u"25"_s, u"20"_s, true}, {u" 21 "_s, u"20"_s, true}, {u"20"_s, u"20"_s, false},
                   {u""_s, u"0"_s, false},   {u"x"_s, u"0"_s, false},    {u"-4"_s, u"-4"_s, false},
                   {u"0"_s, u"0"_s, false}};
    for (const auto& c : limited) {
        const LimitedCount result = NormalizeLimitedCount(c.typed);
        EXPECT_EQ(result.text, c.text) << c.typed.toStdString();
        EXPECT_EQ(result.limited, c.limited) << c.typed.toStdString();
        EXPECT_FALSE(NormalizeLimitedCount(result.text).limited) << c.typed.toStdString();
    }
    // a count read from the file keeps what was set there on purpose
    EXPECT_EQ(NormalizeLimitedCount(u"25"_s, false).text, u"25"_s);
    EXPECT_FALSE(NormalizeLimitedCount(u"25"_s, false).limited);
}

}  // namespace mdb::test
