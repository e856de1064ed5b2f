// The drop and MVP editors on the sample database, driven through their controls by name.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>

#include "EditorFixture.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/Widgets.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kClearRow = u"設 定 解 除"_s;
// The first item of item_consume_db.txt: it must stay an item, not the clear entry.
const QString kFirstItemId = u"501"_s;
const QString kFirstItemName = u"傷薬"_s;

}  // namespace

class DropAndMvp : public EditorFixture {
protected:
    using EditorFixture::combo;
    // Starts afresh on the sample, with the item files loaded or not.
    void startWithItems(bool items) {
        window.reset();
        messages.messages.clear();
        startSample();
        if (items) {
            trigger(u"mnuIdbLoad"_s);
            ASSERT_TRUE(messages.messages.empty());
        }
    }
    QLineEdit* box(const QString& name, int i) const {
        return control<QLineEdit>(indexed(name, i));
    }
    QComboBox* combo(const QString& name, int i) const {
        return control<QComboBox>(indexed(name, i));
    }
    // The 24 slot controls, all enabled or all disabled; nullopt when they disagree.
    std::optional<bool> slotsEnabled() const {
        std::vector<QWidget*> slotControls;
        for (int i = 0; i < 8; ++i) {
            slotControls.insert(slotControls.end(),
                                {combo(u"Combo1"_s, i), box(u"Text5"_s, i), box(u"Text6"_s, i)});
        }
        return allEnabled(slotControls);
    }
    // The 16 MVP controls, Combo8A included.
    std::optional<bool> mvpEnabled() const {
        std::vector<QWidget*> controls{control<QComboBox>(u"Combo8A"_s)};
        for (int i = 0; i < 5; ++i) {
            controls.insert(controls.end(),
                            {box(u"Text8A"_s, i), box(u"Text8"_s, i), combo(u"Combo8"_s, i)});
        }
        return allEnabled(controls);
    }
    static std::optional<bool> allEnabled(const std::vector<QWidget*>& widgets) {
        // isEnabled() also reflects the frame, which the view modes keep disabled here
        const auto own = [](QWidget* w) { return w->isEnabledTo(w->parentWidget()); };
        const bool first = own(widgets.front());
        for (QWidget* w : widgets) {
            if (own(w) != first) return std::nullopt;
        }
        return first;
    }
    QString fileText(const QString& name) const {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        return decoder.decode(readBytes(name));
    }
    void updateAndSave() {
        trigger(u"mnuRenw"_s);
        trigger(u"MunFileSave"_s);
        ASSERT_TRUE(messages.messages.empty());
    }
};

TEST_F(DropAndMvp, SlotsFollowTheShownMonsterWithAndWithoutItems) {
    for (const bool items : {false, true}) {
        SCOPED_TRACE(items ? "items loaded" : "no items");
        startWithItems(items);
        const Table& drops = window->database().DropTable;

        // KAPPA_KING has a drop record (the second): 24 controls enabled, its 16 values shown
        show(u"KAPPA_KING"_s);
        EXPECT_EQ(slotsEnabled(), true);
        EXPECT_EQ(control<HiddenList>(u"List1"_s)->listIndex(), 1);
        EXPECT_EQ(control<QLineEdit>(u"Text13"_s)->text(), u"河童,大将"_s);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(box(u"Text5"_s, i)->text(), drops.field(2, 2 + 2 * i)) << i;
            EXPECT_EQ(box(u"Text6"_s, i)->text(), drops.field(2, 3 + 2 * i)) << i;
        }
        // slot 4 holds 503 (霊薬①): its name, when there are names
        EXPECT_EQ(combo(u"Combo1"_s, 3)->currentText(), items ? u"霊薬①"_s : QString());

        // CHOCHIN has none: everything disabled, no drop record selected
        show(u"CHOCHIN"_s);
        EXPECT_EQ(slotsEnabled(), false);
        EXPECT_EQ(control<HiddenList>(u"List1"_s)->listIndex(), -1);
    }
}

TEST_F(DropAndMvp, SlotBoxesAndNamePickersFollowEachOther) {
    startWithItems(true);
    show(u"KAPPA_KING"_s);  // names are looked up when the IDs change
    show(u"KAPPA"_s);       // the first drop record: 901/3000, 512/1500, 501/800, 1103/5
    QLineEdit* id = box(u"Text5"_s, 1);
    QLineEdit* rate = box(u"Text6"_s, 1);

    // the first consume item is an item like any other: name shown, ID and rate kept
    EXPECT_EQ(box(u"Text5"_s, 2)->text(), kFirstItemId);
    EXPECT_EQ(combo(u"Combo1"_s, 2)->currentText(), kFirstItemName);
    EXPECT_EQ(box(u"Text6"_s, 2)->text(), u"800"_s);

    // an ID the item files hold selects its name in that slot only
    const QString otherName = combo(u"Combo1"_s, 0)->currentText();
    id->setText(u"504"_s);
    EXPECT_EQ(combo(u"Combo1"_s, 1)->currentText(), u"甘露"_s);
    EXPECT_EQ(combo(u"Combo1"_s, 0)->currentText(), otherName);
    EXPECT_EQ(rate->text(), u"1500"_s);
    // one the files lack blanks the name and stays as typed
    id->setText(u"77777"_s);
    EXPECT_EQ(combo(u"Combo1"_s, 1)->currentIndex(), -1);
    EXPECT_EQ(id->text(), u"77777"_s);

    // a name chosen writes its ID; the drop record being edited stays the same
    combo(u"Combo1"_s, 1)->setCurrentIndex(2);
    EXPECT_EQ(id->text(), u"502"_s);
    EXPECT_EQ(control<HiddenList>(u"List1"_s)->listIndex(), 0);
    EXPECT_EQ(box(u"Text5"_s, 0)->text(), u"901"_s);

    // an ID being typed keeps the text; only an ID worth 0 resets the rate
    id->setText(u"12a"_s);
    EXPECT_EQ(id->text(), u"12a"_s);
    EXPECT_EQ(rate->text(), u"1500"_s);
    id->setText(u"abc"_s);
    EXPECT_EQ(id->text(), u"abc"_s);
    EXPECT_EQ(rate->text(), u"0"_s);
    focusOut(id);
    EXPECT_EQ(id->text(), u"0"_s);

    // clearing the ID box gives ID and rate "0"
    rate->setText(u"1500"_s);
    id->setText(u"504"_s);
    id->setText(QString());
    EXPECT_EQ(id->text(), u"0"_s);
    EXPECT_EQ(rate->text(), u"0"_s);

    // the clear entry in the drop-down does the same
    id->setText(u"504"_s);
    rate->setText(u"25"_s);
    combo(u"Combo1"_s, 1)->setCurrentIndex(0);
    EXPECT_EQ(combo(u"Combo1"_s, 1)->currentText(), kClearRow);
    EXPECT_EQ(id->text(), u"0"_s);
    EXPECT_EQ(rate->text(), u"0"_s);
    // and chosen again while the slot shows it (no row changes, so no Click), it clears again
    rate->setText(u"25"_s);
    emit combo(u"Combo1"_s, 1)->activated(0);
    EXPECT_EQ(id->text(), u"0"_s);
    EXPECT_EQ(rate->text(), u"0"_s);

    // a rate above 10000 stays while typing and is capped on leaving; 10000 itself stays
    rate->setText(u"25000"_s);
    EXPECT_EQ(rate->text(), u"25000"_s);
    focusOut(rate);
    EXPECT_EQ(rate->text(), u"10000"_s);
    rate->setText(u" 9999 "_s);
    focusOut(rate);
    EXPECT_EQ(rate->text(), u"9999"_s);
    rate->setText(QString());
    EXPECT_EQ(rate->text(), u"0"_s);
}

TEST_F(DropAndMvp, MvpRecordOfTheShownOrAPickedMonster) {
    for (const bool items : {false, true}) {
        SCOPED_TRACE(items ? "items loaded" : "no items");
        startWithItems(items);
        const Table& mvps = window->database().MvpTable;
        auto* picker = control<QComboBox>(u"Combo8A"_s);
        auto* keys = control<HiddenList>(u"List8A"_s);
        auto* key = control<HiddenLabel>(u"Label8A"_s);
        const auto expectRecord = [&](qint32 r) {
            const int itemBoxes[] = {2, 3, 6, 8, 10};
            const int numberBoxes[] = {4, 5, 7, 9, 11};
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(box(u"Text8A"_s, i)->text(), mvps.field(r, itemBoxes[i])) << i;
                EXPECT_EQ(box(u"Text8"_s, i)->text(), mvps.field(r, numberBoxes[i])) << i;
            }
        };

        // TENGU_LORD (the second record): its display name, its ten values, all enabled
        show(u"TENGU_LORD"_s);
        EXPECT_EQ(mvpEnabled(), true);
        EXPECT_EQ(keys->listIndex(), 1);
        EXPECT_EQ(picker->currentText(), u"大天狗ソウゲン"_s);
        expectRecord(2);
        EXPECT_EQ(control<HiddenList>(u"List8(2)"_s)->text(), items ? u"1102"_s : QString());
        EXPECT_EQ(combo(u"Combo8"_s, 2)->currentIndex() > 0, items);

        // another monster picked in Combo8A shows its record; the editor stays enabled
        picker->setCurrentIndex(picker->findText(u"氷柱姫"_s));
        EXPECT_EQ(key->caption(), u"YUKI_QUEEN"_s);
        EXPECT_EQ(keys->listIndex(), 3);
        expectRecord(4);
        EXPECT_EQ(mvpEnabled(), true);
        // "選 択 解 除" selects no record and disables the editor, the picker included
        picker->setCurrentIndex(0);
        EXPECT_EQ(keys->listIndex(), -1);
        EXPECT_EQ(key->caption(), QString());
        EXPECT_EQ(mvpEnabled(), false);

        // KAPPA has no MVP record; back at TENGU_LORD the editor is enabled again
        show(u"KAPPA"_s);
        EXPECT_EQ(keys->listIndex(), -1);
        EXPECT_EQ(key->caption(), QString());
        EXPECT_EQ(mvpEnabled(), false);
        show(u"TENGU_LORD"_s);
        EXPECT_EQ(mvpEnabled(), true);
        expectRecord(2);
    }
}

TEST_F(DropAndMvp, MvpBoxesAndItemPickers) {
    startWithItems(true);
    show(u"KAPPA_KING"_s);
    // an emptied number box reads "0" at once, letters become "0" when the box is left
    box(u"Text8"_s, 1)->setText(QString());
    EXPECT_EQ(box(u"Text8"_s, 1)->text(), u"0"_s);
    box(u"Text8"_s, 3)->setText(u"abc"_s);
    EXPECT_EQ(box(u"Text8"_s, 3)->text(), u"abc"_s);
    focusOut(box(u"Text8"_s, 3));
    EXPECT_EQ(box(u"Text8"_s, 3)->text(), u"0"_s);
    // no upper bound anywhere
    box(u"Text8"_s, 2)->setText(u"99999999"_s);
    focusOut(box(u"Text8"_s, 2));
    EXPECT_EQ(box(u"Text8"_s, 2)->text(), u"99999999"_s);

    // the clear entry writes "0"; an item writes its ID, the first consume item included
    QLineEdit* special = box(u"Text8A"_s, 2);
    EXPECT_EQ(special->text(), u"1103"_s);
    combo(u"Combo8"_s, 2)->setCurrentIndex(0);
    EXPECT_EQ(special->text(), u"0"_s);
    combo(u"Combo8"_s, 2)->setCurrentIndex(1);
    EXPECT_EQ(special->text(), kFirstItemId);
    EXPECT_EQ(combo(u"Combo8"_s, 2)->currentText(), kFirstItemName);
    // an ID typed selects the item whose text is exactly that ID
    box(u"Text8A"_s, 0)->setText(u"504"_s);
    EXPECT_EQ(combo(u"Combo8"_s, 0)->currentText(), u"甘露"_s);
    box(u"Text8A"_s, 0)->setText(u"504 "_s);
    EXPECT_EQ(combo(u"Combo8"_s, 0)->currentIndex(), -1);
    focusOut(box(u"Text8A"_s, 0));
    EXPECT_EQ(box(u"Text8A"_s, 0)->text(), u"504"_s);
    EXPECT_EQ(combo(u"Combo8"_s, 0)->currentText(), u"甘露"_s);
}

// An ID equal to the first consume item's survives showing, an update and a save in both
// editors, with the item database loaded or not.
TEST_F(DropAndMvp, FirstConsumeItemKeepsItsIdThroughUpdateAndSave) {
    for (const bool items : {false, true}) {
        SCOPED_TRACE(items ? "items loaded" : "no items");
        startWithItems(items);
        show(u"KAPPA"_s);
        EXPECT_EQ(box(u"Text5"_s, 2)->text(), kFirstItemId);
        show(u"KAPPA_KING"_s);
        box(u"Text8A"_s, 3)->setText(kFirstItemId);
        show(u"KAPPA"_s);  // the edit is dropped: nothing was updated
        show(u"KAPPA_KING"_s);
        EXPECT_EQ(box(u"Text8A"_s, 3)->text(), u"504"_s);
        box(u"Text8A"_s, 3)->setText(kFirstItemId);
        EXPECT_EQ(combo(u"Combo8"_s, 3)->currentText(), items ? kFirstItemName : QString());
        updateAndSave();
        EXPECT_TRUE(fileText(u"mob_mvp_db.txt"_s)
                        .startsWith(u"KAPPA_KING,0,0,45000,0,1103,3000,501,5000,0,0\r\n"_s));
        show(u"KAPPA"_s);
        updateAndSave();
        EXPECT_TRUE(
            fileText(u"mob_drop_db.txt"_s)
                .startsWith(u"KAPPA,901,3000,512,1500,501,800,1103,5,0,0,0,0,0,0,0,0\r\n"_s));
    }
}

}  // namespace mdb::test
