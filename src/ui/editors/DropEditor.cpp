#include "ui/editors/DropEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/FieldText.h"
#include "model/NumericText.h"
#include "model/ValueRules.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/FocusEvents.h"
#include "ui/controls/FormGrid.h"
#include "ui/controls/Widgets.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

constexpr int Slots = DropField::Slots;

}  // namespace

DropEditor::DropEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : DependentEditor(u"drop"_s, TableId::Drop,
                      {u"既にこのモンスターにはドロップデータが存在します"_s, QString(),
                       u"この[NameID]モンスターのドロップデータを追加しました"_s,
                       u"このデータを編集するにはプログラムを再起動して下さい"_s},
                      db, window) {
    buildFrame(models, window);
    connectSlots();
}

void DropEditor::buildFrame(MirrorModels& models, QWidget* window) {
    QGroupBox* Frame2 = makeFrame(u"Frame2"_s, descriptor().frameTitle, window);
    QFont small = Frame2->font();
    small.setPixelSize(11);
    Frame2->setFont(small);

    Text13 = new QLineEdit(Frame2);
    Text13->setObjectName(u"Text13"_s);
    Text13->setReadOnly(true);
    for (int i = 0; i < Slots; ++i) {
        Combo1[i] = makeComboBox(indexed(u"Combo1"_s, i), models.itemNames, Frame2, 10);
        Text5[i] = new QLineEdit(Frame2);
        Text5[i]->setObjectName(indexed(u"Text5"_s, i));
        Text6[i] = new QLineEdit(Frame2);
        Text6[i]->setObjectName(indexed(u"Text6"_s, i));
    }
    auto* Command6 = new QPushButton(u"このMobをDropData項目に追加"_s, Frame2);
    Command6->setObjectName(u"Command6"_s);
    Command6->hide();

    // Slots 1 to 4 on the left, 5 to 8 on the right: number, name, ID, rate.
    FormGrid grid(Frame2);
    grid.layout()->setVerticalSpacing(0);
    grid.caption(u"NameID"_s, 0, 0);
    grid.place(Text13, 0, 1);
    // beside the name it adds, in room the frame has to spare, so that showing it covers nothing
    grid.place(Command6, 0, 2, 1, 2);
    grid.heading(u"ドロップ率は１／１００００計算です"_s, 0, 5, 4);
    const QStringList digits{u"１"_s, u"２"_s, u"３"_s, u"４"_s,
                             u"５"_s, u"６"_s, u"７"_s, u"８"_s};
    for (int half = 0; half < 2; ++half) {
        const int c = half * 5;
        grid.heading(u"ドロップアイテム"_s, 1, c + 1);
        grid.heading(u"ID"_s, 1, c + 2);
        grid.heading(u"確率"_s, 1, c + 3);
        for (int k = 0; k < 4; ++k) {
            const int i = half * 4 + k;
            grid.rowAt(2 + k, c, {digits[i], Combo1[i], Text5[i], Text6[i]});
            FormGrid::fitChars(Text5[i], 5);
            FormGrid::fitChars(Text6[i], 5);
        }
        grid.stretchColumn(c + 1, 3);
        grid.stretchColumn(c + 2, 1);
        grid.stretchColumn(c + 3, 1);
    }
    grid.layout()->setColumnMinimumWidth(4, 12);
    grid.finish();

    // Which box holds which field, in the order a record is shown: item before rate, slot by
    // slot (an item of 0 zeroes its rate, and the rate read then puts the record's back). The
    // monster is never written by this editor; a new line takes the shown monster's key.
    for (int i = 0; i < Slots; ++i) {
        addBoxRow(DropField::Item(i), Role::Value, Text5[i], {Combo1[i]});
        addBoxRow(DropField::Rate(i), Role::Value, Text6[i]);
    }
    addControls(Combo1);
    addControls(Text5);
    addControls(Text6);

    auto* Frame3 = makeFrame(u"Frame3"_s, u"Frame3"_s, window);  // debug panel, never shown
    Frame3->hide();
    auto* List1 = new HiddenList(u"List1"_s, Frame3, models.keysOf(TableId::Drop));
    for (int i = 0; i < Slots; ++i) {
        List2[i] = new HiddenList(indexed(u"List2"_s, i), Frame3, models.itemIds);
        Label5[i] = new HiddenLabel(indexed(u"Label5"_s, i), Frame3);
    }
    setParts(Frame2, Command6, List1, new HiddenLabel(u"Label3"_s, Frame3));
}

void DropEditor::connectSlots() {
    for (int i = 0; i < Slots; ++i) {
        connect(Text5[i], &QLineEdit::textChanged, this, [this, i] { ResolveDropItem(i); });
        connect(Text6[i], &QLineEdit::textChanged, this, [this, i] { onText6Change(i); });
        connect(Combo1[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onCombo1Click(i, index); });
        // Choosing the clear row again changes no row, so it raises no Click: the slot is
        // cleared all the same, as the user asked.
        connect(Combo1[i], &QComboBox::activated, this, [this, i](int index) {
            if (index != 0) return;
            Text5[i]->setText(u"0"_s);
            Text6[i]->setText(u"0"_s);
        });
        connect(List2[i], &HiddenList::Click, this, [this, i] { onList2Click(i); });
        connect(Label5[i], &HiddenLabel::Change, this, [this, i] { onLabel5Change(i); });
        FocusEvents::watch(
            Text5[i], [this, i] { SelectAllText(Text5[i]); }, [this, i] { onText5LostFocus(i); });
        FocusEvents::watch(
            Text6[i], [this, i] { SelectAllText(Text6[i]); }, [this, i] { onText6LostFocus(i); });
    }
    connectKeyControls();
}

void DropEditor::showMonsterName(const QString& displayName) {
    Text13->setText(displayName);
}

void DropEditor::ResolveDropItem(int i) {
    MDB_CHAIN_ON(Text5[i], "Change ResolveDropItem");
    QLineEdit* id = Text5[i];
    if (id->text().isEmpty()) id->setText(u"0"_s);
    const int row = FindListEntry(*List2[i], id->text(), MatchMode::WholeText);
    Label5[i]->setCaption(List2[i]->list(row));
    // row 0 is the clear entry of its own; an item's ID always finds the item's own row
    if (Combo1[i]->currentIndex() == 0) id->setText(u"0"_s);
    // an ID being typed counts by its leading number, so that "12a" keeps its rate and the
    // typed text stays as it is
    if (numericValue(id->text()) == 0) Text6[i]->setText(u"0"_s);
}

void DropEditor::onCombo1Click(int i, int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(Combo1[i], "Click");
    List2[i]->setListIndex(index);
    Text5[i]->setText(List2[i]->text());
}

void DropEditor::onList2Click(int i) {
    MDB_CHAIN_ON(List2[i], "Click");
    // only the name follows: the drop record being edited (List1) never moves from here
    Combo1[i]->setCurrentIndex(List2[i]->listIndex());
}

void DropEditor::onLabel5Change(int i) {
    MDB_CHAIN_ON(Label5[i], "Change");
    if (Label5[i]->caption().isEmpty()) Combo1[i]->setCurrentIndex(-1);
}

void DropEditor::onText5LostFocus(int i) {
    MDB_CHAIN_ON(Text5[i], "LostFocus");
    Text5[i]->setText(SettledNumber(Text5[i]->text()));
}

void DropEditor::onText6Change(int i) {
    MDB_CHAIN_ON(Text6[i], "Change");
    if (Text6[i]->text().isEmpty()) Text6[i]->setText(u"0"_s);
}

void DropEditor::onText6LostFocus(int i) {
    MDB_CHAIN_ON(Text6[i], "LostFocus");
    Text6[i]->setText(SettledRate(Text6[i]->text()));
}

}  // namespace mdb
