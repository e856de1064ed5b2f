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
    QGroupBox* Frame5 = makeFrame(u"Frame5"_s, descriptor().frameTitle, window);
    Combo8A = makeComboBox(u"Combo8A"_s, models.statusDisplayNamesClear, Frame5, 12);
    for (int i = 0; i < Items; ++i) {
        Text8A[i] = new QLineEdit(Frame5);
        Text8A[i]->setObjectName(indexed(u"Text8A"_s, i));
        Combo8[i] = makeComboBox(indexed(u"Combo8"_s, i), models.itemNames, Frame5, 10);
        Text8[i] = new QLineEdit(Frame5);
        Text8[i]->setObjectName(indexed(u"Text8"_s, i));
    }
    auto* Command9 = new QPushButton(u"新しい項目を追加"_s, Frame5);
    Command9->setObjectName(u"Command9"_s);
    Command9->hide();

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
        {MvpItem1, Text8A[0], Combo8[0], {}},
        {MvpItem2, Text8A[1], Combo8[1], {}},
        {MvpExp, Text8[0], nullptr, {}},
        {MvpExpRate, Text8[1], nullptr, u"/100000 ?"_s},
        {SpecialItem(0), Text8A[2], Combo8[2], {}},
        {SpecialRate(0), Text8[2], nullptr, perRate},
        {SpecialItem(1), Text8A[3], Combo8[3], {}},
        {SpecialRate(1), Text8[3], nullptr, perRate},
        {SpecialItem(2), Text8A[4], Combo8[4], {}},
        {SpecialRate(2), Text8[4], nullptr, perRate},
    }};
    QGroupBox* Frame6 = makeFrame(u"Frame6"_s, u"Frame6"_s, window);  // debug panel, never shown
    Frame6->hide();
    List8B = new HiddenList(u"List8B"_s, Frame6, models.statusNames);
    // A record is shown monster first: the picker follows the record's monster, which also
    // re-reads the key label. The monster is never written back, but a new line takes it.
    addListRow(MvpField::Name, Role::Key, List8B, {Combo8A}, false);
    FormGrid grid(Frame5);
    grid.row({descriptor().caption(MvpField::Name), {Combo8A, 2}});
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
    addControls(Text8A);
    addControls(Text8);
    addControl(Combo8A);
    addControls(Combo8);
    // The frame is full to its designed height: a row of its own for the add button would
    // squeeze every row when it shows, so it takes the one place with nothing beside its box.
    grid.place(Command9, freeRow, 2);
    grid.stretchColumn(1, 1);
    grid.stretchColumn(2, 2);
    grid.finish();

    for (int i = 0; i < Items; ++i)
        List8[i] = new HiddenList(indexed(u"List8"_s, i), Frame6, models.itemIds);
    setParts(Frame5, Command9, new HiddenList(u"List8A"_s, Frame6, models.keysOf(TableId::Mvp)),
             new HiddenLabel(u"Label8A"_s, Frame6));
}

void MvpEditor::connectControls() {
    connect(Combo8A, &QComboBox::currentIndexChanged, this, &MvpEditor::onCombo8AClick);
    connect(List8B, &HiddenList::Click, this, &MvpEditor::onList8BClick);
    for (int i = 0; i < Items; ++i) {
        connect(Text8A[i], &QLineEdit::textChanged, this, [this, i] { onText8AChange(i); });
        connect(List8[i], &HiddenList::Click, this, [this, i] { onList8Click(i); });
        connect(Combo8[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { onCombo8Click(i, index); });
        connect(Text8[i], &QLineEdit::textChanged, this, [this, i] {
            MDB_CHAIN_ON(Text8[i], "Change");
            emptyAsZero(Text8[i]);
        });
        for (QLineEdit* box : {Text8A[i], Text8[i]}) {
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

void MvpEditor::onCombo8AClick(int index) {
    if (index < 0) return;  // clearing a drop-down is no choice of the user's
    MDB_CHAIN_ON(Combo8A, "Click");
    List8B->setListIndex(index);
    // row 0 is "選 択 解 除": no MVP record at all
    if (index == 0) keyList_->setListIndex(-1);
}

void MvpEditor::onList8BClick() {
    MDB_CHAIN_ON(List8B, "Click");
    const int row = FindListEntry(*keyList_, List8B->text(), MatchMode::WholeText);
    keyLabel_->setCaption(keyList_->list(row));
    Combo8A->setCurrentIndex(List8B->listIndex());
}

void MvpEditor::onText8AChange(int i) {
    MDB_CHAIN_ON(Text8A[i], "Change");
    emptyAsZero(Text8A[i]);
    List8[i]->setListIndex(exactRow(*List8[i]->model(), Text8A[i]->text()));
}

void MvpEditor::onList8Click(int i) {
    MDB_CHAIN_ON(List8[i], "Click");
    const int index = List8[i]->listIndex();
    // row 0 is the clear entry of its own; every item's row writes the item's ID
    if (index > 0) Text8A[i]->setText(List8[i]->text());
    if (index == 0) Text8A[i]->setText(u"0"_s);
    Combo8[i]->setCurrentIndex(index);
}

void MvpEditor::onCombo8Click(int i, int index) {
    if (index < 0) return;
    MDB_CHAIN_ON(Combo8[i], "Click");
    List8[i]->setListIndex(index);
}

}  // namespace mdb
