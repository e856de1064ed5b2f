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
    QGroupBox* frame = makeFrame(u"Frame2"_s, descriptor().frameTitle, window);
    QFont small = frame->font();
    small.setPixelSize(11);
    frame->setFont(small);

    displayNameBox_ = new QLineEdit(frame);
    displayNameBox_->setObjectName(u"Text13"_s);
    displayNameBox_->setReadOnly(true);
    for (int i = 0; i < Slots; ++i) {
        itemNameCombos_[i] = makeComboBox(indexed(u"Combo1"_s, i), models.itemNames, frame, 10);
        itemIdBoxes_[i] = new QLineEdit(frame);
        itemIdBoxes_[i]->setObjectName(indexed(u"Text5"_s, i));
        rateBoxes_[i] = new QLineEdit(frame);
        rateBoxes_[i]->setObjectName(indexed(u"Text6"_s, i));
    }
    auto* addCommand = new QPushButton(u"このMobをDropData項目に追加"_s, frame);
    addCommand->setObjectName(u"Command6"_s);
    addCommand->hide();

    // Slots 1 to 4 on the left, 5 to 8 on the right: number, name, ID, rate.
    FormGrid grid(frame);
    grid.layout()->setVerticalSpacing(0);
    grid.caption(u"NameID"_s, 0, 0);
    grid.place(displayNameBox_, 0, 1);
    // beside the name it adds, in room the frame has to spare, so that showing it covers nothing
    grid.place(addCommand, 0, 2, 1, 2);
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
            grid.rowAt(2 + k, c, {digits[i], itemNameCombos_[i], itemIdBoxes_[i], rateBoxes_[i]});
            FormGrid::fitChars(itemIdBoxes_[i], 5);
            FormGrid::fitChars(rateBoxes_[i], 5);
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
        addBoxRow(DropField::Item(i), Role::Value, itemIdBoxes_[i], {itemNameCombos_[i]});
        addBoxRow(DropField::Rate(i), Role::Value, rateBoxes_[i]);
    }
    addControls(itemNameCombos_);
    addControls(itemIdBoxes_);
    addControls(rateBoxes_);

    auto* debugFrame = makeFrame(u"Frame3"_s, u"Frame3"_s, window);  // debug panel, never shown
    debugFrame->hide();
    auto* keyList = new HiddenList(u"List1"_s, debugFrame, models.keysOf(TableId::Drop));
    for (int i = 0; i < Slots; ++i) {
        itemIdLists_[i] = new HiddenList(indexed(u"List2"_s, i), debugFrame, models.itemIds);
        itemFoundLabels_[i] = new HiddenLabel(indexed(u"Label5"_s, i), debugFrame);
    }
    setParts(frame, addCommand, keyList, new HiddenLabel(u"Label3"_s, debugFrame));
}

void DropEditor::connectSlots() {
    for (int i = 0; i < Slots; ++i) {
        connect(itemIdBoxes_[i], &QLineEdit::textChanged, this, [this, i] { ResolveDropItem(i); });
        connect(rateBoxes_[i], &QLineEdit::textChanged, this, [this, i] { onRateChanged(i); });
        connect(itemNameCombos_[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onItemNameChosen(i, index); });
        // Choosing the clear row again changes no row, so it raises no Click: the slot is
        // cleared all the same, as the user asked.
        connect(itemNameCombos_[i], &QComboBox::activated, this, [this, i](int index) {
            if (index != 0) return;
            itemIdBoxes_[i]->setText(u"0"_s);
            rateBoxes_[i]->setText(u"0"_s);
        });
        connect(itemIdLists_[i], &HiddenList::Click, this, [this, i] { onItemRowFound(i); });
        connect(itemFoundLabels_[i], &HiddenLabel::Change, this,
                [this, i] { onItemFoundChanged(i); });
        FocusEvents::watch(
            itemIdBoxes_[i], [this, i] { SelectAllText(itemIdBoxes_[i]); },
            [this, i] { onItemIdLeft(i); });
        FocusEvents::watch(
            rateBoxes_[i], [this, i] { SelectAllText(rateBoxes_[i]); },
            [this, i] { onRateLeft(i); });
    }
    connectKeyControls();
}

void DropEditor::showMonsterName(const QString& displayName) {
    displayNameBox_->setText(displayName);
}

void DropEditor::ResolveDropItem(int i) {
    MDB_CHAIN_ON(itemIdBoxes_[i], "Change ResolveDropItem");
    QLineEdit* id = itemIdBoxes_[i];
    if (id->text().isEmpty()) id->setText(u"0"_s);
    const int row = FindListEntry(*itemIdLists_[i], id->text(), MatchMode::WholeText);
    itemFoundLabels_[i]->setCaption(itemIdLists_[i]->list(row));
    // row 0 is the clear entry of its own; an item's ID always finds the item's own row
    if (itemNameCombos_[i]->currentIndex() == 0) id->setText(u"0"_s);
    // an ID being typed counts by its leading number, so that "12a" keeps its rate and the
    // typed text stays as it is
    if (numericValue(id->text()) == 0) rateBoxes_[i]->setText(u"0"_s);
}

void DropEditor::onItemNameChosen(int i, int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(itemNameCombos_[i], "Click");
    itemIdLists_[i]->setListIndex(index);
    itemIdBoxes_[i]->setText(itemIdLists_[i]->text());
}

void DropEditor::onItemRowFound(int i) {
    MDB_CHAIN_ON(itemIdLists_[i], "Click");
    // only the name follows: the drop record being edited (keyList) never moves from here
    itemNameCombos_[i]->setCurrentIndex(itemIdLists_[i]->listIndex());
}

void DropEditor::onItemFoundChanged(int i) {
    MDB_CHAIN_ON(itemFoundLabels_[i], "Change");
    if (itemFoundLabels_[i]->caption().isEmpty()) itemNameCombos_[i]->setCurrentIndex(-1);
}

void DropEditor::onItemIdLeft(int i) {
    MDB_CHAIN_ON(itemIdBoxes_[i], "LostFocus");
    itemIdBoxes_[i]->setText(SettledNumber(itemIdBoxes_[i]->text()));
}

void DropEditor::onRateChanged(int i) {
    MDB_CHAIN_ON(rateBoxes_[i], "Change");
    if (rateBoxes_[i]->text().isEmpty()) rateBoxes_[i]->setText(u"0"_s);
}

void DropEditor::onRateLeft(int i) {
    MDB_CHAIN_ON(rateBoxes_[i], "LostFocus");
    rateBoxes_[i]->setText(SettledRate(rateBoxes_[i]->text()));
}

}  // namespace mdb
