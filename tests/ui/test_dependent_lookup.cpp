#include <QLineEdit>

#include "EditorFixture.h"
#include "ui/controls/Widgets.h"
#include "ui/editors/DropEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class DependentLookup : public EditorFixture {
protected:
    using EditorFixture::caption;
    QString caption(const char* label) const {
        return control<HiddenLabel>(QString::fromLatin1(label))->caption();
    }
    int index(const char* list) const {
        return control<HiddenList>(QString::fromLatin1(list))->listIndex();
    }
};

TEST_F(DependentLookup, EachTableShowsTheMonstersFirstRecordOrNone) {
    startSample();
    const MonsterDatabase& db = window->database();

    // KAPPA_KING has a drop, an MVP and an emotion record, but no metamorphosis
    show(u"KAPPA_KING"_s);
    EXPECT_EQ(caption("Label3"), u"KAPPA_KING"_s);
    EXPECT_EQ(caption("Label8A"), u"KAPPA_KING"_s);
    EXPECT_EQ(caption("Label14A"), u"KAPPA_KING"_s);
    EXPECT_EQ(index("List9A"), -1);
    EXPECT_EQ(caption("Label9A"), QString());
    const qint32 drop = index("List1") + 1;
    EXPECT_EQ(db.DropTable.field(drop, 1), u"KAPPA_KING"_s);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(text(indexed(u"Text5"_s, i)), db.DropTable.field(drop, DropField::Item(i)));
        EXPECT_EQ(text(indexed(u"Text6"_s, i)), db.DropTable.field(drop, DropField::Rate(i)));
    }

    // a monster without a drop record shows no record instead of keeping the last one: the
    // emptied boxes read "0" as every emptied slot box does
    show(u"CHOCHIN"_s);
    EXPECT_EQ(index("List1"), -1);
    EXPECT_EQ(caption("Label3"), QString());
    EXPECT_EQ(caption("Label8A"), QString());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(text(indexed(u"Text5"_s, i)), u"0"_s);
        EXPECT_EQ(text(indexed(u"Text6"_s, i)), u"0"_s);
    }

    // KAPPA has two emotion records: the first in file order is the one found
    show(u"KAPPA"_s);
    EXPECT_EQ(index("List14A"), 0);
    EXPECT_EQ(db.EmoteTable.field(index("List14A") + 1, 2), u"IDLE_ST"_s);

    // keys match whatever their letter case; the label takes the key as the table spells it
    show(u"NEKOMATA"_s);
    EXPECT_EQ(caption("Label14A"), u"Nekomata"_s);
}

TEST_F(DependentLookup, TypingAnotherNameShowsItsEntriesWhileTheFormStays) {
    startSample();
    show(u"KAPPA"_s);
    const QString hp = control<QLineEdit>(u"Text1(2)"_s)->text();
    control<QLineEdit>(u"Text2A"_s)->setText(u"yuki_queen"_s);
    EXPECT_EQ(caption("Label3"), u"YUKI_QUEEN"_s);
    EXPECT_EQ(caption("Label8A"), u"YUKI_QUEEN"_s);
    EXPECT_EQ(control<QLineEdit>(u"Text1(2)"_s)->text(), hp);
    EXPECT_EQ(control<QLineEdit>(u"Text0"_s)->text(), u"1"_s);
}

TEST_F(DependentLookup, EveryEditableBoxSelectsItsWholeTextOnFocus) {
    startSample();
    QStringList boxes{u"Text0"_s, u"Text2"_s,  u"Text2A"_s, u"Text4"_s,  u"Text7"_s,
                      u"Text9"_s, u"Text10"_s, u"Text11"_s, u"Text12"_s, u"Text14"_s};
    for (int i = 1; i <= 25; ++i) {
        if (i != 19 && i != 20 && i != 21) boxes << u"Text1(%1)"_s.arg(i);
    }
    for (int i = 0; i < 8; ++i) boxes << u"Text5(%1)"_s.arg(i) << u"Text6(%1)"_s.arg(i);
    for (int i = 0; i < 5; ++i) boxes << u"Text8(%1)"_s.arg(i) << u"Text8A(%1)"_s.arg(i);
    for (const QString& name : boxes) {
        QLineEdit* box = control<QLineEdit>(name);
        ASSERT_NE(box, nullptr);
        box->setText(u"12"_s);  // whatever its handlers make of it, it is not empty
        const QString text = box->text();
        ASSERT_FALSE(text.isEmpty()) << name.toStdString();
        box->deselect();
        focusIn(box);
        EXPECT_EQ(box->selectedText(), text) << name.toStdString();
        EXPECT_EQ(box->cursorPosition(), 0) << name.toStdString();
    }
}

}  // namespace mdb::test
