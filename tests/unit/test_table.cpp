#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/CodeTables.h"
#include "model/MonsterDatabase.h"
#include "model/NumericText.h"

using namespace mdb;

TEST(Table, RecordsAreNumberedFromOneWithEmptyPositionZero) {
    MonsterDatabase db;
    Table& t = db.EmoteTable;
    EXPECT_EQ(t.Count(), 0);
    ASSERT_TRUE(
        t.appendRecord({QStringLiteral("PORING"), QStringLiteral("IDLE_ST"), QStringLiteral("2")}));
    ASSERT_TRUE(t.appendRecord(
        {QStringLiteral("LUNATIC"), QStringLiteral("DEAD_ST"), QStringLiteral("5")}));
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.field(0, 1), QString());
    EXPECT_EQ(t.field(2, QStringLiteral("State")), QStringLiteral("DEAD_ST"));
    EXPECT_TRUE(t.setField(1, QStringLiteral("Emotion"), QStringLiteral("9")));
    EXPECT_EQ(t.field(1, 3), QStringLiteral("9"));
    // outside records 1..Count or the fields nothing is written
    EXPECT_FALSE(t.setField(0, 1, QStringLiteral("x")));
    EXPECT_FALSE(t.setField(3, 1, QStringLiteral("x")));
    EXPECT_FALSE(t.setField(1, 4, QStringLiteral("x")));
    EXPECT_EQ(t.field(3, 1), QString());
    EXPECT_EQ(t.column(1),
              (QStringList{QString(), QStringLiteral("PORING"), QStringLiteral("LUNATIC")}));
}

TEST(Table, WidthsAndOrdersOfTheSevenTables) {
    MonsterDatabase db;
    EXPECT_EQ(db.StatusTable.fieldCount(), 29);
    EXPECT_EQ(db.DropTable.fieldCount(), 17);
    EXPECT_EQ(db.MvpTable.fieldCount(), 11);
    EXPECT_EQ(db.MorphTable.fieldCount(), 7);
    EXPECT_EQ(db.EmoteTable.fieldCount(), 3);
    EXPECT_EQ(db.SummonTable.fieldCount(), 7);
    EXPECT_EQ(db.SlaveTable.fieldCount(), 7);
    EXPECT_EQ(db.StatusTable.fieldNumber(u"Mode"), StatusField::Mode);
    EXPECT_EQ(db.DropTable.fieldNumber(u"Rate8"), 17);
    EXPECT_EQ(db.loadOrder()[3]->name(), QStringLiteral("mob_morph_db.txt"));
    EXPECT_EQ(db.saveOrder()[3]->name(), QStringLiteral("mob_emote_db.txt"));
    EXPECT_EQ(Tables::status().quotedField, 3);
    EXPECT_EQ(Tables::drop().quotedField, 0);
}

TEST(CodeTables, ElementRowsAndCodesMapBothWays) {
    EXPECT_EQ(ElementNames().size(), 40);
    EXPECT_EQ(ElementNames()[6], QStringLiteral("水３"));
    EXPECT_EQ(ElementNames()[39], QStringLiteral("不死４"));
    for (int row = 0; row < ElementRows; ++row) {
        ASSERT_EQ(elementRowForCode(elementCodeForRow(row)), row);
    }
    EXPECT_EQ(elementCodeForRow(0), 20);
    EXPECT_EQ(elementCodeForRow(1), 40);
    EXPECT_EQ(elementCodeForRow(4), 21);
    EXPECT_EQ(elementRowForCode(49), 37);
    EXPECT_EQ(elementRowForCode(61), 6);
    EXPECT_EQ(elementRowForCode(27), 28);
    for (qint64 bad : {0, 10, 19, 30, 39, 90, 100, -21})
        EXPECT_FALSE(elementRowForCode(bad)) << bad;
}

TEST(CodeTables, ModePatternsOfListedValues) {
    EXPECT_TRUE(isListedModeValue(53));
    EXPECT_FALSE(isListedModeValue(6));
    EXPECT_FALSE(isListedModeValue(129));
    EXPECT_FALSE(isListedModeValue(1.5));
    const auto p13 = modeBoxPattern(13);
    EXPECT_EQ(p13, (std::array<bool, 7>{false, true, false, true, true, false, false}));
    EXPECT_EQ(modeBoxPattern(0),
              (std::array<bool, 7>{true, false, false, false, false, false, false}));
    // every listed value is the sum of the weights of its pattern
    const auto weights = ModeBitValues();
    for (int v : ListedModeValues()) {
        const auto p = modeBoxPattern(v);
        int sum = 0;
        for (size_t k = 0; k < 7; ++k) sum += p[k] ? weights[k] : 0;
        EXPECT_EQ(sum, v);
    }
}

TEST(NumericText, LeadingNumberAndWholeNumberTests) {
    EXPECT_EQ(numericValue(u"5x"), 5);
    EXPECT_EQ(numericValue(u"  -3"), -3);
    EXPECT_EQ(numericValue(u"abc"), 0);
    EXPECT_EQ(numericValue(u""), 0);
    EXPECT_EQ(numericValue(u"2.5e3"), 2.5);
    EXPECT_GT(numericValue(u"1234567890123456789012345678901234567890"), 1e39);
    EXPECT_TRUE(isValidNumber(u" 250 "));
    EXPECT_TRUE(isValidNumber(u"1.5"));
    EXPECT_TRUE(isValidNumber(u"2e3"));
    EXPECT_TRUE(isValidNumber(u"-.5"));
    EXPECT_TRUE(isValidNumber(u"1e999"));
    EXPECT_FALSE(isValidNumber(u"12a"));
    EXPECT_FALSE(isValidNumber(u""));
    EXPECT_FALSE(isValidNumber(u"0x10"));
    EXPECT_FALSE(isValidNumber(u"1e"));
    EXPECT_FALSE(isValidNumber(u"."));
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<qint64>::max());
    EXPECT_EQ(roundHalfEvenClamped(7.6, 1, 5), 5);
}

TEST(Table, FieldsViewedInAKeptBufferSurviveEditsAndGrowth) {
    Table t(QStringLiteral("t.txt"), {QStringLiteral("A"), QStringLiteral("B")});
    QString buffer = QStringLiteral("alpha,beta,gamma,delta");
    const QStringView all(buffer);
    const QStringView first[] = {all.sliced(0, 5), all.sliced(6, 4)};
    const QStringView second[] = {all.sliced(11, 5), all.sliced(17, 5)};
    ASSERT_TRUE(t.appendRecord(first));
    t.keepBuffer(std::move(buffer));
    buffer = QStringLiteral("overwritten");  // the table's copy must not follow
    ASSERT_TRUE(t.appendRecord(second));
    // many edits: the stores behind the views grow and move, the views must not dangle
    for (int i = 0; i < 1000; ++i) t.setField(1, 2, QString::number(i));
    QString edited = QStringLiteral("edited");
    t.setField(2, 1, edited);
    edited[0] = u'E';  // a later change of the caller's text does not reach the table
    EXPECT_EQ(t.field(1, 1), QStringLiteral("alpha"));
    EXPECT_EQ(t.field(1, 2), QStringLiteral("999"));
    EXPECT_EQ(t.field(2, 1), QStringLiteral("edited"));
    EXPECT_EQ(t.fieldView(2, 2), u"delta");
    t.clear();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.field(1, 1), QString());
}

// A written field no longer counts as read from the file (the save encodes it), while the
// mirror lists go on showing the text it was loaded with; a field written again keeps both.
TEST(Table, WrittenFieldsKeepTheirLoadedTextAndLoseTheirSourceMark) {
    Table t(QStringLiteral("t.txt"), {QStringLiteral("A"), QStringLiteral("B")});
    t.keepSource(QStringLiteral("alpha,,gamma,delta"), QByteArray("alpha,,gamma,delta"));
    const QStringView all(t.sourceText());
    const QStringView first[] = {all.sliced(0, 5), all.sliced(6, 0)};
    const QStringView second[] = {all.sliced(7, 5), all.sliced(13, 5)};
    ASSERT_TRUE(t.appendRecord(first));
    ASSERT_TRUE(t.appendRecord(second));
    ASSERT_TRUE(t.appendRecord({QStringLiteral("added"), QStringLiteral("x")}));
    EXPECT_TRUE(t.fieldFromSource(1, 2));
    EXPECT_TRUE(t.fieldFromSource(2, 1));
    EXPECT_FALSE(t.fieldFromSource(3, 1));  // not in the file

    t.setField(2, 1, QStringLiteral("GAMMA"));
    t.setField(2, 1, QStringLiteral("Gamma"));
    t.setField(3, 1, QStringLiteral("changed"));
    t.setField(3, 1, QStringLiteral("again"));
    EXPECT_FALSE(t.fieldFromSource(2, 1));
    EXPECT_TRUE(t.fieldFromSource(2, 2));
    EXPECT_EQ(t.fieldView(2, 1), u"Gamma");
    EXPECT_EQ(t.loadedView(2, 1), u"gamma");
    EXPECT_EQ(t.fieldView(3, 1), u"again");
    EXPECT_EQ(t.loadedView(3, 1), u"added");
    EXPECT_EQ(t.loadedView(1, 1), u"alpha");
    EXPECT_TRUE(t.loadedView(1, 2).isEmpty());
    EXPECT_EQ(t.column(1), QStringList({QString(), QStringLiteral("alpha"), QStringLiteral("Gamma"),
                                        QStringLiteral("again")}));
}

// Views into the source are kept as where they begin only when the file's rule finds exactly
// them again from there; fields that lie one after another are checked a run at a time, so a
// run must be refused as soon as one of its views is not such a field.
TEST(Table, ViewsThatTheRuleWouldNotGiveBackAreKeptAsCopies) {
    struct Case {
        const char* source;
        std::vector<std::pair<int, int>> views;  // start, length
        std::vector<bool> fromSource;
    };
    const Case cases[] = {
        // plain fields, a comma between each two: all kept as views
        {"ab,cd,ef\r\n", {{0, 2}, {3, 2}, {6, 2}}, {true, true, true}},
        // a view holding a comma, followed by one past the next comma
        {"ab,cd,ef", {{0, 5}, {6, 2}, {8, 0}}, {false, true, true}},
        // a view holding a line end
        {"a\rb,cd", {{0, 3}, {4, 2}}, {false, true}},
        // the last view of a run ends before its field does
        {"ab,cd,ef", {{0, 2}, {3, 1}}, {true, false}},
        // the first view of a run follows a double quote: its text would run to the next one
        {"x\"ab,cd", {{2, 2}, {5, 2}}, {false, true}},
        // runs long enough to be counted eight characters at a time: a comma hidden among
        // the first eight, past them, and among the last few
        {"abcdefghij,klmnopq,rstuvw\r\n", {{0, 18}, {19, 6}}, {false, true}},
        {"abcdefghijklmnopqrstuvw,x,yz\n", {{0, 23}, {24, 4}}, {true, false}},
        {"abcdefghijklmnopqrstuvw,xyz\n", {{0, 23}, {24, 3}}, {true, true}},
        // a quoted value and the fields after it
        {"\"a,b\",c,d\n", {{1, 3}, {6, 1}, {8, 1}}, {true, true, true}},
    };
    for (const Case& c : cases) {
        const QString source = QString::fromLatin1(c.source);
        const int width = int(c.views.size());
        QStringList names;
        for (int f = 0; f < width; ++f) names << QString::number(f);
        Table t(QStringLiteral("t.txt"), names);
        t.keepSource(source, std::nullopt);
        const QStringView all(t.sourceText());
        std::vector<QStringView> views;
        for (const auto& [start, length] : c.views) views.push_back(all.sliced(start, length));
        ASSERT_TRUE(t.appendRecord(views.data()));
        for (int f = 0; f < width; ++f) {
            SCOPED_TRACE(std::string(c.source) + " field " + std::to_string(f + 1));
            EXPECT_EQ(t.fieldView(1, f + 1), views[size_t(f)]);
            EXPECT_EQ(t.fieldFromSource(1, f + 1), c.fromSource[size_t(f)]);
        }
    }
}
