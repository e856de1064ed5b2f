#include "ui/editors/MvpEditor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "model/FieldText.h"
#include "model/NumericText.h"
#include "model/ValueLimits.h"
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

// The first row whose text is exactly `text` (an ID is matched as typed, letter case too).
int exactRow(const ColumnModel& model, const QString& text) {
    const int row = findRow(model, text, MatchMode::WholeText);
    if (row < 0 || model.view(row) == text) return row;
    for (int r = row + 1; r < model.count(); ++r) {
        if (model.view(r) == text) return r;
    }
    return -1;
}

// The leave-the-box rule of every box of this editor: no range, only a number.
void normaliseOnLeave(QLineEdit* box) {
    box->setText(SettledNumber(box->text()));
}

void emptyAsZero(QLineEdit* box) {
    if (box->text().isEmpty()) box->setText(u"0"_s);
}

}  // namespace

MvpEditor::MvpEditor(MonsterDatabase& db, MirrorModels& models, QWidget* window)
    : DependentEditor(u"mvp"_s, TableId::Mvp,
                      {u"既にこのモンスターにはＭＶＰデータが存在します"_s,
                       u"最低 ＭＶＰモンスターと特別アイテム＃１を設定して下さい"_s,
                       u"モンスターのＭＶＰデータを追加しました"_s,
                       u"このデータを編集するにはプログラムを再起動して下さい"_s},
                      db, window) {
    buildFrame(models, window);
    connectControls();
}

void MvpEditor::buildFrame(MirrorModels& models, QWidget* window) {
    QGroupBox* frame = makeFrame(u"Frame5"_s, descriptor().frameTitle, window);
    monsterCombo_ = makeComboBox(u"Combo8A"_s, models.statusDisplayNamesClear, frame, 12);
    for (int i = 0; i < Items; ++i) {
        itemIdBoxes_[i] = new QLineEdit(frame);
        itemIdBoxes_[i]->setObjectName(indexed(u"Text8A"_s, i));
        itemNameCombos_[i] = makeComboBox(indexed(u"Combo8"_s, i), models.itemNames, frame, 10);
        numberBoxes_[i] = new QLineEdit(frame);
        numberBoxes_[i]->setObjectName(indexed(u"Text8"_s, i));
    }
    auto* addCommand = new QPushButton(u"新しい項目を追加"_s, frame);
    addCommand->setObjectName(u"Command9"_s);
    addCommand->hide();

    // Rows top to bottom in the field order of the record: caption, box, then the item's name
    // or the number's unit. A rate's unit is its limit.
    struct Row {
        int field;
        QLineEdit* box;
        QWidget* beside;
        QString unit;
    };
    using namespace MvpField;
    const QString perRate = u"/"_s + QString::number(kRateLimit);
    const std::array<Row, 10> rows{{
        {MvpItem1, itemIdBoxes_[0], itemNameCombos_[0], {}},
        {MvpItem2, itemIdBoxes_[1], itemNameCombos_[1], {}},
        {MvpExp, numberBoxes_[0], nullptr, {}},
        {MvpExpRate, numberBoxes_[1], nullptr, u"/100000 ?"_s},
        {SpecialItem(0), itemIdBoxes_[2], itemNameCombos_[2], {}},
        {SpecialRate(0), numberBoxes_[2], nullptr, perRate},
        {SpecialItem(1), itemIdBoxes_[3], itemNameCombos_[3], {}},
        {SpecialRate(1), numberBoxes_[3], nullptr, perRate},
        {SpecialItem(2), itemIdBoxes_[4], itemNameCombos_[4], {}},
        {SpecialRate(2), numberBoxes_[4], nullptr, perRate},
    }};
    QGroupBox* debugFrame =
        makeFrame(u"Frame6"_s, u"Frame6"_s, window);  // debug panel, never shown
    debugFrame->hide();
    monsterNames_ = new HiddenList(u"List8B"_s, debugFrame, models.statusNames);
    // A record is shown monster first: the picker follows the record's monster, which also
    // re-reads the key label. The monster is never written back, but a new line takes it.
    addListRow(MvpField::Name, Role::Key, monsterNames_, {monsterCombo_}, false);
    FormGrid grid(frame);
    grid.row({descriptor().caption(MvpField::Name), {monsterCombo_, 2}});
    int freeRow = 0;
    for (const Row& row : rows) {
        const int r = grid.row({descriptor().caption(row.field), row.box});
        if (row.beside) grid.place(row.beside, r, 2);
        if (!row.unit.isEmpty()) grid.heading(row.unit, r, 2);
        if (!row.beside && row.unit.isEmpty()) freeRow = r;
        addBoxRow(row.field, Role::Value, row.box,
                  row.beside ? std::vector<QWidget*>{row.beside} : std::vector<QWidget*>{});
    }
    // the order the unlock command reaches them
    addControls(itemIdBoxes_);
    addControls(numberBoxes_);
    addControl(monsterCombo_);
    addControls(itemNameCombos_);
    // The frame is full to its designed height: a row of its own for the add button would
    // squeeze every row when it shows, so it takes the one place with nothing beside its box.
    grid.place(addCommand, freeRow, 2);
    grid.stretchColumn(1, 1);
    grid.stretchColumn(2, 2);
    grid.finish();

    for (int i = 0; i < Items; ++i)
        itemIdLists_[i] = new HiddenList(indexed(u"List8"_s, i), debugFrame, models.itemIds);
    setParts(frame, addCommand,
             new HiddenList(u"List8A"_s, debugFrame, models.keysOf(TableId::Mvp)),
             new HiddenLabel(u"Label8A"_s, debugFrame));
}

void MvpEditor::connectControls() {
    connect(monsterCombo_, &QComboBox::currentIndexChanged, this, &MvpEditor::onMonsterChosen);
    connect(monsterNames_, &HiddenList::Click, this, &MvpEditor::onMonsterRowFound);
    for (int i = 0; i < Items; ++i) {
        connect(itemIdBoxes_[i], &QLineEdit::textChanged, this, [this, i] { onItemIdChanged(i); });
        connect(itemIdLists_[i], &HiddenList::Click, this, [this, i] { onItemRowFound(i); });
        connect(itemNameCombos_[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onItemNameChosen(i, index); });
        connect(numberBoxes_[i], &QLineEdit::textChanged, this, [this, i] {
            MDB_CHAIN_ON(numberBoxes_[i], "Change");
            emptyAsZero(numberBoxes_[i]);
        });
        for (QLineEdit* box : {itemIdBoxes_[i], numberBoxes_[i]}) {
            FocusEvents::watch(
                box, [box] { SelectAllText(box); },
                [box] {
                    MDB_CHAIN_ON(box, "LostFocus");
                    normaliseOnLeave(box);
                });
        }
    }
    connectKeyControls();
}

void MvpEditor::onMonsterChosen(int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(monsterCombo_, "Click");
    monsterNames_->setListIndex(index);
    // row 0 is "選 択 解 除": no MVP record at all
    if (index == 0) keyList_->setListIndex(-1);
}

void MvpEditor::onMonsterRowFound() {
    MDB_CHAIN_ON(monsterNames_, "Click");
    const int row = FindListEntry(*keyList_, monsterNames_->text(), MatchMode::WholeText);
    keyLabel_->setCaption(keyList_->list(row));
    monsterCombo_->setCurrentIndex(monsterNames_->listIndex());
}

void MvpEditor::onItemIdChanged(int i) {
    MDB_CHAIN_ON(itemIdBoxes_[i], "Change");
    emptyAsZero(itemIdBoxes_[i]);
    itemIdLists_[i]->setListIndex(exactRow(*itemIdLists_[i]->model(), itemIdBoxes_[i]->text()));
}

void MvpEditor::onItemRowFound(int i) {
    MDB_CHAIN_ON(itemIdLists_[i], "Click");
    const int index = itemIdLists_[i]->listIndex();
    // row 0 is the clear entry of its own; every item's row writes the item's ID
    if (index > 0) itemIdBoxes_[i]->setText(itemIdLists_[i]->text());
    if (index == 0) itemIdBoxes_[i]->setText(u"0"_s);
    itemNameCombos_[i]->setCurrentIndex(index);
}

void MvpEditor::onItemNameChosen(int i, int index) {
    if (index < 0) return;
    MDB_CHAIN_ON(itemNameCombos_[i], "Click");
    itemIdLists_[i]->setListIndex(index);
}

}  // namespace mdb
