#include <QAbstractButton>
#include <QPushButton>
#include <QToolButton>

#include "EditorFixture.h"
#include "ui/editors/EmoteEditor.h"
#include "ui/editors/EmotePictures.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class EmoteEditorTest : public EditorFixture {
protected:
    QToolButton* picture(int n) const { return control<QToolButton>(u"Option1(%1)"_s.arg(n)); }
    int checkedPicture() const {
        for (int n = 0; n < 48; ++n) {
            if (picture(n)->isChecked()) return n;
        }
        return -1;
    }
    bool picturesEnabled(bool enabled) const {
        for (int n = 0; n < 48; ++n) {
            if (picture(n)->isEnabled() != enabled) return false;
        }
        return true;
    }
    bool hidden(const char* button) const {
        return control<QPushButton>(QString::fromLatin1(button))->isHidden();
    }
};

TEST_F(EmoteEditorTest, ShowsTheFirstRecordOrDisablesItselfWithThePicturesOnRequest) {
    startSample();
    enableFrame(u"Frame1A"_s);
    // KAPPA has two emotion records: the first in file order is shown, and it is editable
    show(u"KAPPA"_s);
    EXPECT_EQ(list(u"List14A"_s)->listIndex(), 0);
    EXPECT_EQ(combo(u"Combo14"_s)->currentIndex(), statusRecord(u"KAPPA"_s) - 1);
    EXPECT_EQ(combo(u"Combo14"_s)->currentText(), u"沼河童"_s);
    EXPECT_EQ(combo(u"Combo14B"_s)->currentText(), u"待機時"_s);
    EXPECT_EQ(list(u"List14B"_s)->text(), u"IDLE_ST"_s);
    EXPECT_EQ(text(u"Text14"_s), u"2"_s);
    EXPECT_EQ(checkedPicture(), 2);
    EXPECT_TRUE(combo(u"Combo14"_s)->isEnabled());
    EXPECT_TRUE(control<QLineEdit>(u"Text14"_s)->isEnabled());
    EXPECT_TRUE(picturesEnabled(true));
    EXPECT_TRUE(hidden("Command5"));
    EXPECT_FALSE(hidden("Command7"));

    // CHOCHIN has none: everything is disabled and "表示するエモーション" offers the pictures
    show(u"CHOCHIN"_s);
    EXPECT_EQ(list(u"List14A"_s)->listIndex(), -1);
    EXPECT_EQ(caption(u"Label14A"_s), QString());
    EXPECT_EQ(combo(u"Combo14B"_s)->currentIndex(), -1);
    EXPECT_FALSE(combo(u"Combo14"_s)->isEnabled());
    EXPECT_FALSE(combo(u"Combo14B"_s)->isEnabled());
    EXPECT_FALSE(control<QLineEdit>(u"Text14"_s)->isEnabled());
    EXPECT_TRUE(picturesEnabled(false));
    EXPECT_FALSE(hidden("Command5"));
    EXPECT_TRUE(hidden("Command7"));

    control<QPushButton>(u"Command5"_s)->click();
    EXPECT_TRUE(picturesEnabled(true));
    EXPECT_TRUE(hidden("Command5"));
    EXPECT_FALSE(hidden("Command7"));
    EXPECT_FALSE(combo(u"Combo14"_s)->isEnabled());
    EXPECT_FALSE(control<QLineEdit>(u"Text14"_s)->isEnabled());
    control<QPushButton>(u"Command7"_s)->click();
    EXPECT_TRUE(picturesEnabled(false));

    show(u"TANUKI"_s);
    EXPECT_EQ(combo(u"Combo14B"_s)->currentText(), u"戦闘終了時"_s);
    EXPECT_EQ(checkedPicture(), 30);
    EXPECT_TRUE(combo(u"Combo14"_s)->isEnabled());
    EXPECT_TRUE(picturesEnabled(true));
}

TEST_F(EmoteEditorTest, TheBoxAndThePicturesAlwaysAgree) {
    startSample();
    enableFrame(u"Frame1A"_s);
    show(u"KAPPA"_s);
    for (int n = 0; n < 48; ++n) {
        EXPECT_EQ(picture(n)->toolTip(), QString::number(n));
        EXPECT_FALSE(picture(n)->icon().isNull()) << n;
        // drawn when first shown, the button's picture is its own emotion's, at both densities
        for (qreal scale : {1.0, 2.0}) {
            const QImage shown = picture(n)
                                     ->icon()
                                     .pixmap(emotionPictureSize(), scale)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            EXPECT_EQ(shown, emotionPicture(n, scale)) << n << " at " << scale;
        }
    }

    typeInto(u"Text14"_s, u"60"_s);
    EXPECT_EQ(text(u"Text14"_s), u"47"_s);
    EXPECT_EQ(checkedPicture(), 47);
    typeInto(u"Text14"_s, u"-"_s);
    EXPECT_EQ(text(u"Text14"_s), u"0"_s);
    EXPECT_EQ(checkedPicture(), 0);

    QTest::mouseClick(picture(12), Qt::LeftButton);
    EXPECT_EQ(text(u"Text14"_s), u"12"_s);
    EXPECT_EQ(checkedPicture(), 12);

    // a fraction names no emotion: it stays in the box and no picture claims it
    typeInto(u"Text14"_s, u"2.5"_s);
    EXPECT_EQ(text(u"Text14"_s), u"2.5"_s);
    EXPECT_EQ(checkedPicture(), -1);
    QTest::mouseClick(picture(3), Qt::LeftButton);
    EXPECT_EQ(text(u"Text14"_s), u"3"_s);
}

TEST_F(EmoteEditorTest, StateListsFollowEachOtherAndTheFirstRowClearsTheRecord) {
    startSample();
    show(u"KAPPA"_s);
    combo(u"Combo14B"_s)->setCurrentIndex(5);
    EXPECT_EQ(combo(u"Combo14B"_s)->currentText(), u"戦闘終了時"_s);
    EXPECT_EQ(list(u"List14B"_s)->text(), u"RMOVE_ST"_s);
    list(u"List14B"_s)->setListIndex(7);
    EXPECT_EQ(combo(u"Combo14B"_s)->currentText(), u"怒り時"_s);

    combo(u"Combo14"_s)->setCurrentIndex(0);  // "モンスターを選択してね"
    EXPECT_EQ(list(u"List14A"_s)->listIndex(), -1);
    EXPECT_EQ(caption(u"Label14A"_s), QString());
    EXPECT_FALSE(combo(u"Combo14"_s)->isEnabled());
    EXPECT_EQ(editor(TableId::Emote).shownRecord(), 0);

    // another monster picked here shows its record, for the record's own monster
    show(u"KAPPA"_s);
    combo(u"Combo14"_s)->setCurrentIndex(statusRecord(u"TENGU"_s) - 1);
    EXPECT_EQ(caption(u"Label14A"_s), u"TENGU"_s);
    EXPECT_EQ(combo(u"Combo14B"_s)->currentText(), u"戦闘時"_s);
    EXPECT_EQ(text(u"Text14"_s), u"1"_s);
}

TEST_F(EmoteEditorTest, CommitWritesTheControlsAndKeepsWhatTheUserDidNotChange) {
    copySample();
    // a state outside the nine, and a key spelled unlike the monster's Name
    writeFile(u"mob_emote_db.txt"_s,
              u"KAPPA,WALK_ST,2\r\nNekomata,IDLE_ST,3\r\nTENGU,RUSH_ST,1\r\n"_s);
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    DependentEditor* emote = &editor(TableId::Emote);
    Table& table = window->database().EmoteTable;

    show(u"KAPPA"_s);
    EXPECT_EQ(combo(u"Combo14B"_s)->currentIndex(), -1);
    EXPECT_FALSE(emote->hasUncommittedEdits());
    emote->commitInto(window->database());
    EXPECT_EQ(table.field(1, 2), u"WALK_ST"_s);

    combo(u"Combo14B"_s)->setCurrentIndex(1);
    control<QLineEdit>(u"Text14"_s)->setText(u"40"_s);
    EXPECT_TRUE(emote->hasUncommittedEdits());
    emote->commitInto(window->database());
    EXPECT_EQ(table.field(1, 1), u"KAPPA"_s);
    EXPECT_EQ(table.field(1, 2), u"BERSERK_ST"_s);
    EXPECT_EQ(table.field(1, 3), u"40"_s);
    EXPECT_FALSE(emote->hasUncommittedEdits());

    show(u"NEKOMATA"_s);
    EXPECT_EQ(list(u"List14"_s)->text(), u"NEKOMATA"_s);
    EXPECT_FALSE(emote->hasUncommittedEdits());
    emote->commitInto(window->database());
    EXPECT_EQ(table.field(2, 1), u"Nekomata"_s);

    // without a record nothing is written anywhere
    show(u"CHOCHIN"_s);
    const QStringList before = table.column(3);
    control<QLineEdit>(u"Text14"_s)->setText(u"9"_s);
    emote->commitInto(window->database());
    EXPECT_EQ(table.column(3), before);
}

}  // namespace mdb::test
